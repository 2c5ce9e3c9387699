#include "game/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace holdem {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// --- Helpers ----------------------------------------------------------------

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::path(testing::TempDir()) / "holdem-settings-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed for " << pattern;
    path_ = pattern;
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(path_, error); !error && it != fs::end(it);
         it.increment(error)) {
      if (it->is_directory(error) && !it->is_symlink(error))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(path_, error);
  }
  const fs::path& path() const { return path_; }
  fs::path operator/(const fs::path& name) const { return path_ / name; }

 private:
  fs::path path_;
};

void writeBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::optional<std::string> readBytes(const fs::path& path) {
  std::error_code error;
  if (fs::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Everything under a folder, as relative paths, sorted.
std::vector<std::string> listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    names.push_back(entry.path().lexically_relative(folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

// The twelve keys the game reads at start-up, in its order, with defaults.
struct StartupKey {
  std::string_view section;
  std::string_view key;
  int32_t fallback;
};
constexpr std::array<StartupKey, 12> kStartupKeys{{
    {"Background", "Color", 0},
    {"Cash", "freak", 1200},
    {"Cash", "player", 1200},
    {"Cash", "geek", 1200},
    {"Cash", "master", 1200},
    {"Cash", "champ", 1200},
    {"Cash", "pinhead", 1200},
    {"Cash", "expert", 1200},
    {"Cash", "robot", 1200},
    {"Cash", "until", 600},
    {"Cash", "initial", 1200},
    {"Card", "back", 52},
}};

// What start-up does with the file: read the twelve keys, write them back in
// one go. Returns the values read, or nothing when the write failed.
std::optional<std::array<SettingsEntry, 12>> startUp(SettingsFile& file) {
  std::array<SettingsEntry, 12> entries;
  for (size_t i = 0; i < kStartupKeys.size(); ++i) {
    const StartupKey& k = kStartupKeys[i];
    entries[i] = {k.section, k.key, file.readInt(k.section, k.key, k.fallback)};
  }
  if (!file.writeInts(entries)) return std::nullopt;
  return entries;
}

fs::path goldenDir() {
  if (const char* dir = std::getenv("HOLDEM_GOLDEN_DIR"); dir != nullptr && *dir != '\0') return dir;
  return fs::path(__FILE__).parent_path() / "golden";
}

// Shows control bytes, so that a failing comparison says where CR and LF went.
std::string visible(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n\n";
    } else if (c == '\0') {
      out += "\\0";
    } else {
      out += c;
    }
  }
  return out;
}

// --- Value texts ------------------------------------------------------------

TEST(SettingsText, ParsesIntegerValueTexts) {
  struct Case {
    std::string text;
    std::optional<int32_t> expected;
  };
  const Case cases[] = {
      {"0", 0},
      {"1200", 1200},
      {"+7", 7},
      {"-5", -5},
      {"-0", 0},
      {"007", 7},
      {"000000000000000000000042", 42},
      {"2147483647", kMax},
      {"-2147483648", kMin},
      {"+2147483647", kMax},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"4294967295", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"0x10", 16},
      {"0X4B0", 1200},
      {"0x4b0", 1200},
      {"0xaBcD", 0xabcd},
      {"0x37", 55},
      {"0XFFFFFFFF", -1},
      {"0x80000000", kMin},
      {"0x7fffffff", kMax},
      {"0x00000001", 1},
      {"0x100000000", std::nullopt},
      {"0x000000001", std::nullopt},
      {"0x", std::nullopt},
      {"0X", std::nullopt},
      {"0xG1", std::nullopt},
      {"0x1 2", std::nullopt},
      {"-0x10", std::nullopt},
      {"+0x10", std::nullopt},
      {"x10", std::nullopt},
      {"", std::nullopt},
      {" \t ", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"+-5", std::nullopt},
      {"--5", std::nullopt},
      {"12abc", std::nullopt},
      {"1 2", std::nullopt},
      {"1.5", std::nullopt},
      {"1e3", std::nullopt},
      {"- 5", std::nullopt},
      {" \t42\t ", 42},
      {"42\r", 42},
      {" -42 \r", -42},
      {"\t0x10\t\r", 16},
      {"\r", std::nullopt},
      {"4\r2", std::nullopt},
      {"12\0"s, std::nullopt},
      {"\0"s
       "12",
       std::nullopt},
      {"\xEF\xBB\xBF"
       "12",
       std::nullopt},
      {"\xD9\xA3", std::nullopt},  // a non-ASCII digit
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parseSettingsInt(c.text), c.expected) << "text \"" << visible(c.text) << "\"";
  }
}

// --- Finding a key ----------------------------------------------------------

TEST(SettingsText, FindsTheFirstKeyOfTheFirstMatchingSection) {
  struct Case {
    const char* what;
    std::string file;
    std::string_view section;
    std::string_view key;
    std::optional<std::string> value;  // the value text, when the key is there
    std::optional<int32_t> number;
  };
  const std::string longLine(1 << 20, 'z');
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 167 + 13) % 256);
  const Case cases[] = {
      {"empty file", "", "Cash", "player", std::nullopt, std::nullopt},
      {"plain", "[Cash]\nplayer=1147\n", "Cash", "player", "1147", 1147},
      {"last line without line end", "[Cash]\nplayer=12", "Cash", "player", "12", 12},
      {"missing section", "[Card]\nback=53\n", "Cash", "player", std::nullopt, std::nullopt},
      {"missing key", "[Cash]\ngeek=1\n", "Cash", "player", std::nullopt, std::nullopt},
      {"key of another section", "[Cash]\ngeek=1\n[Card]\nplayer=5\n", "Cash", "player", std::nullopt,
       std::nullopt},
      {"key before the first header", "player=5\n[Cash]\ngeek=1\n", "Cash", "player", std::nullopt,
       std::nullopt},
      {"empty value", "[Cash]\nplayer=\n", "Cash", "player", "", std::nullopt},
      {"text value", "[Cash]\nplayer=lots\n", "Cash", "player", "lots", std::nullopt},
      {"hex value", "[Card]\nback=0x37\n", "Card", "back", "0x37", 55},
      {"value holding '='", "[Cash]\nplayer=1=2\n", "Cash", "player", "1=2", std::nullopt},
      {"mixed-case names", "[cASH]\nPlAyEr=3\n", "Cash", "player", "3", 3},
      {"non-ASCII letters do not fold", "[Cash]\nplay\xC9r=3\n", "Cash", "play\xE9r", std::nullopt,
       std::nullopt},
      {"blanks and tabs around names and value", " \t[ \tCash\t ] \t\n \tplayer \t= \t-7 \t\n", "Cash",
       "player", "-7", -7},
      {"blanks inside a name still count", "[Ca sh]\nplayer=1\n", "Cash", "player", std::nullopt,
       std::nullopt},
      {"CR LF file", "[Cash]\r\nplayer=1147\r\ngeek=3\r\n", "Cash", "player", "1147", 1147},
      {"CR LF with blanks before the CR", "[Cash] \r\nplayer= 8 \t\r\n", "Cash", "player", "8", 8},
      {"CR as the last byte", "[Cash]\r\nplayer=9\r", "Cash", "player", "9", 9},
      {"a lone CR does not split lines", "[Cash]\nplayer=1\rgeek=2\n", "Cash", "geek", std::nullopt,
       std::nullopt},
      {"first of two keys", "[Cash]\nplayer=1\nplayer=2\n", "Cash", "player", "1", 1},
      {"first key counts even when not a number", "[Cash]\nplayer=x\nplayer=2\n", "Cash", "player", "x",
       std::nullopt},
      {"first of two sections", "[Cash]\nplayer=1\n[cash]\nplayer=2\n", "Cash", "player", "1", 1},
      {"key only in a later section of the same name", "[Cash]\ngeek=1\n[ CASH ]\nplayer=2\n", "Cash",
       "player", std::nullopt, std::nullopt},
      {"key only in a later section, another between", "[Cash]\ngeek=1\n[Card]\n[cash]\nplayer=2\n", "Cash",
       "player", std::nullopt, std::nullopt},
      {"header with '=' is a header", "[Cash]\nplayer=1\n[a=b]\nplayer=2\n", "a=b", "player", "2", 2},
      {"line not ending in ']' is no header", "[Cash]\n[Card] x\nplayer=4\n", "Cash", "player", "4", 4},
      {"empty section name", "[]\nplayer=6\n", "", "player", "6", 6},
      {"lines without '=' are skipped", "[Cash]\ngarbage text\n;player=5\nplayer=6\n", "Cash", "player", "6",
       6},
      {"key line with empty key", "[Cash]\n=5\nplayer=6\n", "Cash", "", "5", 5},
      {"NUL bytes in other lines",
       "[Cash]\n\0\0=\0\nplayer=6\0\n"s
       "player=7\n",
       "Cash", "player", "6\0"s, std::nullopt},
      {"NUL inside a name", "[Ca\0sh]\nplayer=1\n"s, "Cash", "player", std::nullopt, std::nullopt},
      // A byte-order mark is three bytes like any other: the first line does
      // not start with '[' and so is no header.
      {"byte-order mark hides the first header", "\xEF\xBB\xBF[Cash]\nplayer=1\n", "Cash", "player",
       std::nullopt, std::nullopt},
      {"byte-order mark before a comment", "\xEF\xBB\xBF;x\n[Cash]\nplayer=1\n", "Cash", "player", "1", 1},
      {"very long line", "[Cash]\n" + longLine + "\nplayer=" + longLine + "\nplayer=2\n", "Cash", "player",
       longLine, std::nullopt},
      {"very long line before the key", "[Cash]\nx=" + longLine + "\nplayer=2\n", "Cash", "player", "2", 2},
      {"garbage bytes", garbage, "Cash", "player", std::nullopt, std::nullopt},
      {"garbage bytes then a section", garbage + "\n[Cash]\nplayer=3\n", "Cash", "player", "3", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(findSettingsValue(c.file, c.section, c.key), c.value);
    EXPECT_EQ(lookupSettingsInt(c.file, c.section, c.key), c.number);
  }
}

// --- Setting a key ----------------------------------------------------------

TEST(SettingsText, SetsAValueKeepingEveryOtherLine) {
  struct Case {
    const char* what;
    std::string before;
    std::string_view section;
    std::string_view key;
    int32_t value;
    std::string after;
  };
  const Case cases[] = {
      {"new file", "", "Cash", "freak", 1200, "[Cash]\nfreak=1200\n"},
      {"same value rewritten", "[Cash]\nfreak=1200\n", "Cash", "freak", 1200, "[Cash]\nfreak=1200\n"},
      {"value replaced, the rest kept",
       "; the game's file\n[Cash]\n# note\nfreak=5\n  odd line  \nzz=0x10\n[Other]\nfreak=9\n", "Cash",
       "freak", 77, "; the game's file\n[Cash]\n# note\nfreak=77\n  odd line  \nzz=0x10\n[Other]\nfreak=9\n"},
      {"key respelled, blanks dropped", "[CASH]\n \tFREAK \t= \t5 \t\n", "Cash", "freak", 6,
       "[CASH]\nfreak=6\n"},
      {"negative values", "[Cash]\nfreak=1\n", "Cash", "freak", -1, "[Cash]\nfreak=-1\n"},
      {"extreme values", "[Cash]\nfreak=1\n", "Cash", "freak", kMin, "[Cash]\nfreak=-2147483648\n"},
      {"first of two keys", "[Cash]\nfreak=1\nfreak=2\n", "Cash", "freak", 3, "[Cash]\nfreak=3\nfreak=2\n"},
      {"first of two sections", "[Cash]\nfreak=1\n[Cash]\nfreak=2\n", "Cash", "freak", 3,
       "[Cash]\nfreak=3\n[Cash]\nfreak=2\n"},
      {"key only in a later section goes into the first", "[Cash]\ngeek=1\n\n[cash]\nfreak=2\n", "Cash",
       "freak", 3, "[Cash]\ngeek=1\nfreak=3\n\n[cash]\nfreak=2\n"},
      {"key only in a later section, another between", "[Cash]\ngeek=1\n[Card]\n[Cash]\nfreak=2\n", "Cash",
       "freak", 3, "[Cash]\ngeek=1\nfreak=3\n[Card]\n[Cash]\nfreak=2\n"},
      {"inserted after the last non-blank line", "[Cash]\ngeek=1\n\n \t\n[Card]\nback=52\n", "Cash", "freak",
       3, "[Cash]\ngeek=1\nfreak=3\n\n \t\n[Card]\nback=52\n"},
      {"a comment is non-blank", "[Cash]\ngeek=1\n; end of cash\n\n[Card]\n", "Cash", "freak", 3,
       "[Cash]\ngeek=1\n; end of cash\nfreak=3\n\n[Card]\n"},
      {"section of blank lines only", "[Cash]\n\n\n[Card]\nback=52\n", "Cash", "freak", 3,
       "[Cash]\nfreak=3\n\n\n[Card]\nback=52\n"},
      {"header at the end without line end", "x=1\n[Cash]", "Cash", "freak", 3, "x=1\n[Cash]\nfreak=3\n"},
      {"last line replaced gets a line end", "[Cash]\nfreak=1", "Cash", "freak", 3, "[Cash]\nfreak=3\n"},
      {"last line ended before insertion", "[Cash]\ngeek=1", "Cash", "freak", 3, "[Cash]\ngeek=1\nfreak=3\n"},
      {"last line ended before a new section", "[Card]\nback=52", "Cash", "freak", 3,
       "[Card]\nback=52\n[Cash]\nfreak=3\n"},
      {"new section after trailing blank lines", "[Card]\nback=52\n\n\n", "Cash", "freak", 3,
       "[Card]\nback=52\n\n\n[Cash]\nfreak=3\n"},
      {"same key before the first header is not the section's", "freak=1\n", "Cash", "freak", 3,
       "freak=1\n[Cash]\nfreak=3\n"},
      {"CR LF file: replaced line", "[Cash]\r\nfreak=1\r\ngeek=2\r\n", "Cash", "freak", 3,
       "[Cash]\r\nfreak=3\r\ngeek=2\r\n"},
      {"CR LF file: inserted line", "[Cash]\r\ngeek=2\r\n\r\n", "Cash", "freak", 3,
       "[Cash]\r\ngeek=2\r\nfreak=3\r\n\r\n"},
      {"CR LF file: new section", "[Card]\r\nback=52\r\n", "Cash", "freak", 3,
       "[Card]\r\nback=52\r\n[Cash]\r\nfreak=3\r\n"},
      {"CR LF file: last line without line end", "[Cash]\r\ngeek=2", "Cash", "freak", 3,
       "[Cash]\r\ngeek=2\r\nfreak=3\r\n"},
      {"CR LF file: last line ending in a bare CR", "[Cash]\r\ngeek=2\r", "Cash", "freak", 3,
       "[Cash]\r\ngeek=2\r\nfreak=3\r\n"},
      {"the first line decides: CR LF", "[Cash]\r\ngeek=2\nx=1\n", "Cash", "freak", 3,
       "[Cash]\r\ngeek=2\nx=1\nfreak=3\r\n"},
      {"the first line decides: LF", "[Cash]\ngeek=2\r\nfreak=1\r\n", "Cash", "freak", 3,
       "[Cash]\ngeek=2\r\nfreak=3\n"},
      {"blank first line decides too", "\r\n[Card]\n", "Cash", "freak", 3,
       "\r\n[Card]\n[Cash]\r\nfreak=3\r\n"},
      {"byte-order mark kept", "\xEF\xBB\xBF;x\n[Cash]\nfreak=1\n", "Cash", "freak", 3,
       "\xEF\xBB\xBF;x\n[Cash]\nfreak=3\n"},
      {"NUL and high bytes kept", "\0\xFF\n[Cash]\nfreak=1\n\x80=\0\n"s, "Cash", "freak", 3,
       "\0\xFF\n[Cash]\nfreak=3\n\x80=\0\n"s},
      {"section spelled as given", "[Card]\n", "Background", "Color", 0, "[Card]\n[Background]\nColor=0\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(visible(withSettingsValue(c.before, c.section, c.key, c.value)), visible(c.after)) << c.what;
  }
}

// Whatever the file looks like, a value set reads back as set, and no other
// key of the game changes what it reads.
TEST(SettingsText, SetValueReadsBackAndLeavesOtherKeysAlone) {
  const std::string files[] = {
      "",
      "[Cash]\ngeek=1\n",
      "[Card]\r\nback=53\r\n[cash]\r\n\r\nplayer=7\r\n[CASH]\r\nfreak=9\r\n",
      "player=5\n[ Background ]\ncolor = 0x10\n\n[Cash]\n; x\nmaster=-3\nuntil=\n[Extra]\nback=1",
      "\xEF\xBB\xBF[Card]\nback=55\n[Card]\nback=54\n[Cash]\ngarbage\n\n",
  };
  for (const std::string& file : files) {
    for (const StartupKey& target : kStartupKeys) {
      const std::string changed = withSettingsValue(file, target.section, target.key, -31);
      SCOPED_TRACE(visible(file) + " with " + std::string(target.key));
      EXPECT_EQ(lookupSettingsInt(changed, target.section, target.key), -31);
      for (const StartupKey& other : kStartupKeys) {
        if (&other == &target) continue;
        EXPECT_EQ(lookupSettingsInt(changed, other.section, other.key),
                  lookupSettingsInt(file, other.section, other.key))
            << other.key;
      }
    }
  }
}

// --- Start-up against files on disk --------------------------------------------

// The recorded start-ups: each begins from a prepared file (or none) and ends
// with the file the twelve write-backs leave.
TEST(SettingsFile, StartUpLeavesTheRecordedFiles) {
  const fs::path golden = goldenDir();
  int checked = 0;
  for (const auto& entry : fs::directory_iterator(golden)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("startup-", 0) != 0 || !name.ends_with(".final.ini")) continue;
    const std::string caseName = name.substr(0, name.size() - std::string_view(".final.ini").size());
    SCOPED_TRACE(caseName);
    const auto expected = readBytes(entry.path());
    ASSERT_TRUE(expected);
    const auto start = readBytes(golden / (caseName + ".ini"));

    TempDir dir;
    const fs::path path = dir / "tavlor.ini";
    if (start) writeBytes(path, *start);
    SettingsFile file(path);
    const auto values = startUp(file);
    ASSERT_TRUE(values);
    EXPECT_EQ(visible(*readBytes(path)), visible(*expected));
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"tavlor.ini"});

    // The values read are the ones the recording lists.
    std::ifstream record(golden / (caseName + ".jsonl"));
    std::string firstLine;
    ASSERT_TRUE(std::getline(record, firstLine));
    for (const SettingsEntry& e : *values) {
      const std::regex pattern("\"" + std::string(e.section) + "/" + std::string(e.key) + "\":(-?[0-9]+)");
      std::smatch match;
      ASSERT_TRUE(std::regex_search(firstLine, match, pattern)) << e.key;
      EXPECT_EQ(std::to_string(e.value), match[1].str()) << e.section << "/" << e.key;
    }

    // Twelve writes one by one end in the same file as the twelve in one go.
    TempDir slow;
    const fs::path slowPath = slow / "tavlor.ini";
    if (start) writeBytes(slowPath, *start);
    SettingsFile slowFile(slowPath);
    for (const SettingsEntry& e : *values) ASSERT_TRUE(slowFile.writeInts({&e, 1}));
    EXPECT_EQ(readBytes(slowPath), readBytes(path));
    ++checked;
  }
  EXPECT_GE(checked, 4) << "recorded start-ups in " << golden;
}

TEST(SettingsFile, StartUpFillsInMissingKeysAndSections) {
  struct Case {
    const char* what;
    std::optional<std::string> before;
    std::string after;
  };
  const std::string fresh =
      "[Background]\nColor=0\n[Cash]\nfreak=1200\nplayer=1200\ngeek=1200\nmaster=1200\nchamp=1200\n"
      "pinhead=1200\nexpert=1200\nrobot=1200\nuntil=600\ninitial=1200\n[Card]\nback=52\n";
  const Case cases[] = {
      {"no file", std::nullopt, fresh},
      {"empty file", "", fresh},
      {"a hand-edited file",
       "[background]\n[ Cash ]\nplayer=1147\ngeek=1200\nmaster=0xFFFFFFFF\nchamp=1200\npinhead=1180\n"
       "expert=0X4B0\ninitial=500\n\n[Card]\nback=0x37\n[cash2]\nleft=10\nplayer=99\n",
       "[background]\nColor=0\n[ Cash ]\nplayer=1147\ngeek=1200\nmaster=-1\nchamp=1200\npinhead=1180\n"
       "expert=1200\ninitial=500\nfreak=1200\nrobot=1200\nuntil=600\n\n[Card]\nback=55\n[cash2]\nleft=10\n"
       "player=99\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const fs::path path = dir / "tavlor.ini";
    if (c.before) writeBytes(path, *c.before);
    SettingsFile file(path);
    ASSERT_TRUE(startUp(file));
    EXPECT_EQ(visible(*readBytes(path)), visible(c.after));
  }
}

// --- The file on disk ---------------------------------------------------------

TEST(SettingsFile, ReadsBytesAsTheyAre) {
  TempDir dir;
  const std::string bytes = "\xEF\xBB\xBF[Cash]\r\n\0player=5\r\n\xFF"s;
  writeBytes(dir / "tavlor.ini", bytes);
  EXPECT_EQ(SettingsFile(dir / "tavlor.ini").readAll(), bytes);
}

TEST(SettingsFile, MissingFileOrFolderReadsAsDefaults) {
  TempDir dir;
  fs::create_directory(dir / "folder");
  fs::create_directory(dir / "folder" / "tavlor.ini");
  writeBytes(dir / "plain", "[Cash]\nplayer=5\n");
  const fs::path paths[] = {
      dir / "missing.ini", dir / "no" / "such" / "folder" / "tavlor.ini", dir / "folder" / "tavlor.ini",
      dir / "plain" / "tavlor.ini",  // under a regular file
  };
  for (const fs::path& path : paths) {
    SettingsFile file(path);
    EXPECT_FALSE(file.readAll()) << path;
    EXPECT_EQ(file.readInt("Cash", "player", 1234), 1234) << path;
  }
}

TEST(SettingsFile, CreatesMissingFolders) {
  TempDir dir;
  const fs::path path = dir / "config" / "holdem" / "tavlor.ini";
  SettingsFile file(path);
  const SettingsEntry entry{"Cash", "player", 99};
  ASSERT_TRUE(file.writeInts({&entry, 1}));
  EXPECT_EQ(readBytes(path), "[Cash]\nplayer=99\n");
  EXPECT_EQ(file.readInt("Cash", "player", 0), 99);
  EXPECT_EQ(listing(dir.path()),
            (std::vector<std::string>{"config", "config/holdem", "config/holdem/tavlor.ini"}));
}

TEST(SettingsFile, WritesThroughSymlinksKeepingThem) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> links;  // link, what it names
    std::string settings;                                    // the path the game is given
    std::string target;                                      // the file finally written
    bool targetExists;
  };
  const Case cases[] = {
      {"relative link", {{"tavlor.ini", "real/file.ini"}}, "tavlor.ini", "real/file.ini", true},
      {"absolute link", {{"tavlor.ini", "@/real/file.ini"}}, "tavlor.ini", "real/file.ini", true},
      {"chain of links",
       {{"tavlor.ini", "hop.ini"}, {"real/hop2.ini", "file.ini"}, {"hop.ini", "real/hop2.ini"}},
       "tavlor.ini",
       "real/file.ini",
       true},
      {"link to a missing file", {{"tavlor.ini", "real/file.ini"}}, "tavlor.ini", "real/file.ini", false},
      {"link to a missing folder", {{"tavlor.ini", "made/here.ini"}}, "tavlor.ini", "made/here.ini", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    fs::create_directory(dir / "real");
    if (c.targetExists) writeBytes(dir / c.target, "; kept\n[Cash]\nplayer=1\n");
    for (const auto& [link, names] : c.links) {
      const fs::path to = names[0] == '@' ? dir.path() / names.substr(2) : fs::path(names);
      fs::create_symlink(to, dir / link);
    }
    SettingsFile file(dir / c.settings);
    const SettingsEntry entries[] = {{"Cash", "player", 7}, {"Cash", "geek", 8}};
    ASSERT_TRUE(file.writeInts(entries));
    for (const auto& [link, names] : c.links) EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    EXPECT_EQ(readBytes(dir / c.target),
              c.targetExists ? "; kept\n[Cash]\nplayer=7\ngeek=8\n" : "[Cash]\nplayer=7\ngeek=8\n");
    EXPECT_EQ(file.readInt("Cash", "geek", 0), 8);
    // Nothing left behind: only the links, the file written and folders.
    for (const std::string& name : listing(dir.path())) {
      const bool isLink =
          std::any_of(c.links.begin(), c.links.end(), [&](const auto& l) { return l.first == name; });
      EXPECT_TRUE(isLink || name == c.target || fs::is_directory(fs::symlink_status(dir / name))) << name;
    }
  }
}

// A failure to provoke: what to put in the test's folder, the path the game
// is given and the writer it uses.
struct FailingWrite {
  const char* what;
  std::function<void(const TempDir&)> prepare;
  std::string settings;
  SettingsFile::Writer writer;
};

// Every file in the folder, with its bytes (nothing for folders).
std::vector<std::pair<std::string, std::optional<std::string>>> snapshot(const TempDir& dir) {
  std::vector<std::pair<std::string, std::optional<std::string>>> files;
  for (const std::string& name : listing(dir.path())) files.emplace_back(name, readBytes(dir / name));
  return files;
}

// The write fails, and the file, its folder and everything else are as before.
void expectWriteFailsChangingNothing(const FailingWrite& c) {
  SCOPED_TRACE(c.what);
  TempDir dir;
  c.prepare(dir);
  const auto before = snapshot(dir);
  SettingsFile file(dir / c.settings, c.writer);
  const SettingsEntry entries[] = {{"Cash", "player", 5}, {"Card", "back", 52}};
  EXPECT_FALSE(file.writeInts(entries));
  EXPECT_EQ(snapshot(dir), before);
}

const std::string kOldFile = "[Cash]\r\nplayer=1147\r\n; comment\r\n";

TEST(SettingsFile, FailedWriteChangesNothing) {
  const SettingsFile::Writer fullDisk = [](int, std::string_view) { return false; };
  const SettingsFile::Writer fullHalfway = [](int fd, std::string_view bytes) {
    const auto written = ::write(fd, bytes.data(), bytes.size() / 2);
    (void)written;
    return false;
  };
  const auto oldFileAt = [](std::string name) {
    return [name](const TempDir& d) { writeBytes(d / name, kOldFile); };
  };
  const FailingWrite cases[] = {
      {"full disk", oldFileAt("tavlor.ini"), "tavlor.ini", fullDisk},
      {"disk full halfway", oldFileAt("tavlor.ini"), "tavlor.ini", fullHalfway},
      {"full disk, no file yet", [](const TempDir&) {}, "tavlor.ini", fullDisk},
      {"full disk, folder still to make", [](const TempDir&) {}, "new/tavlor.ini", fullDisk},
      {"full disk through a link",
       [](const TempDir& d) {
         writeBytes(d / "real.ini", kOldFile);
         fs::create_symlink("real.ini", d / "tavlor.ini");
       },
       "tavlor.ini", fullDisk},
      {"settings path is a folder",
       [](const TempDir& d) { fs::create_directory(d / "tavlor.ini"); },
       "tavlor.ini",
       {}},
      {"a folder on the path is a file", oldFileAt("holdem"), "holdem/tavlor.ini", {}},
      {"loop of links",
       [](const TempDir& d) {
         fs::create_symlink("b.ini", d / "tavlor.ini");
         fs::create_symlink("tavlor.ini", d / "b.ini");
       },
       "tavlor.ini",
       {}},
  };
  for (const FailingWrite& c : cases) expectWriteFailsChangingNothing(c);
}

// Permission bits stop only an unprivileged player.
TEST(SettingsFile, FailedWriteForLackOfPermissionChangesNothing) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads and writes regardless of permission bits";
  const FailingWrite cases[] = {
      {"read-only folder",
       [](const TempDir& d) {
         fs::create_directory(d / "ro");
         writeBytes(d / "ro" / "tavlor.ini", kOldFile);
         fs::permissions(d / "ro", fs::perms::owner_read | fs::perms::owner_exec);
       },
       "ro/tavlor.ini",
       {}},
      {"unreadable file",
       [](const TempDir& d) {
         writeBytes(d / "tavlor.ini", kOldFile);
         fs::permissions(d / "tavlor.ini", fs::perms::owner_write);
       },
       "tavlor.ini",
       {}},
  };
  for (const FailingWrite& c : cases) expectWriteFailsChangingNothing(c);
}

// Many values go to disk as one replace: the writer sees the finished bytes
// once, and the old file is swapped out, never rewritten in place.
TEST(SettingsFile, WritesManyValuesAsOneReplace) {
  TempDir dir;
  const fs::path path = dir / "tavlor.ini";
  writeBytes(path, "[Cash]\nplayer=1\n");
  fs::create_hard_link(path, dir / "old.ini");
  std::vector<std::string> seen;
  SettingsFile file(path, [&seen](int fd, std::string_view bytes) {
    seen.emplace_back(bytes);
    return ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  });
  const SettingsEntry entries[] = {{"Cash", "player", 2}, {"Card", "back", 53}, {"Cash", "geek", 4}};
  ASSERT_TRUE(file.writeInts(entries));
  EXPECT_EQ(seen, std::vector<std::string>{"[Cash]\nplayer=2\ngeek=4\n[Card]\nback=53\n"});
  EXPECT_EQ(readBytes(path), seen.at(0));
  EXPECT_EQ(readBytes(dir / "old.ini"), "[Cash]\nplayer=1\n");
  EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"old.ini", "tavlor.ini"}));
}

TEST(SettingsFile, KeepsTheFilesPermissions) {
  TempDir dir;
  const fs::path path = dir / "tavlor.ini";
  writeBytes(path, "[Cash]\nplayer=1\n");
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, mode);
  const SettingsEntry entry{"Cash", "player", 2};
  ASSERT_TRUE(SettingsFile(path).writeInts({&entry, 1}));
  EXPECT_EQ(fs::status(path).permissions(), mode);
}

TEST(SettingsFile, DisplayPathIsAbsoluteWithLinksUnresolved) {
  TempDir dir;
  fs::create_directory(dir / "real");
  fs::create_directory_symlink("real", dir / "link");
  fs::create_symlink("real/tavlor.ini", dir / "tavlor.ini");
  const fs::path previous = fs::current_path();
  fs::current_path(dir.path());
  const fs::path here = fs::current_path();
  struct Case {
    fs::path given;
    fs::path shown;
  };
  const Case cases[] = {
      {"tavlor.ini", here / "tavlor.ini"},
      {"link/tavlor.ini", here / "link" / "tavlor.ini"},
      {dir / "link" / "tavlor.ini", dir / "link" / "tavlor.ini"},
      {"/etc/holdem/tavlor.ini", "/etc/holdem/tavlor.ini"},
  };
  for (const Case& c : cases) EXPECT_EQ(SettingsFile(c.given).displayPath(), c.shown.string()) << c.given;
  fs::current_path(previous);
}

TEST(SettingsFile, DefaultPathFollowsXdgConfigHome) {
  struct Case {
    const char* xdg;  // nullptr: unset
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/x/conf", "/home/ann", "/x/conf/holdem/tavlor.ini"},
      {"/x/conf/", "/home/ann", "/x/conf/holdem/tavlor.ini"},
      {"", "/home/ann", "/home/ann/.config/holdem/tavlor.ini"},
      {nullptr, "/home/ann", "/home/ann/.config/holdem/tavlor.ini"},
  };
  const auto saved = [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  };
  const auto restore = [](const char* name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  };
  const auto oldXdg = saved("XDG_CONFIG_HOME");
  const auto oldHome = saved("HOME");
  for (const Case& c : cases) {
    restore("XDG_CONFIG_HOME", c.xdg ? std::optional<std::string>(c.xdg) : std::nullopt);
    ::setenv("HOME", c.home, 1);
    EXPECT_EQ(defaultSettingsPath().lexically_normal(), fs::path(c.expected)) << (c.xdg ? c.xdg : "(unset)");
  }
  restore("XDG_CONFIG_HOME", oldXdg);
  restore("HOME", oldHome);
}

}  // namespace
}  // namespace holdem
