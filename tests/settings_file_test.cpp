#include "game/settings_file.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <functional>
#include <limits>
#include <map>
#include <random>

#include "game/settings_keys.h"
#include "test_support.h"

namespace holdem {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::listing;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr std::nullopt_t no = std::nullopt;

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
  std::array<SettingsKey, 12> keys;
  for (size_t i = 0; i < kStartupKeys.size(); ++i) keys[i] = {kStartupKeys[i].section, kStartupKeys[i].key};
  const auto values = file.readInts(keys);
  std::array<SettingsEntry, 12> entries;
  for (size_t i = 0; i < kStartupKeys.size(); ++i) {
    entries[i] = {keys[i].section, keys[i].key, values[i].value_or(kStartupKeys[i].fallback)};
  }
  if (!file.writeInts(entries)) return std::nullopt;
  return entries;
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

// --- The bytes ----------------------------------------------------------------

TEST(SettingsText, ParsesIntegerValueTexts) {
  const std::pair<std::string, std::optional<int32_t>> cases[] = {
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
      {"2147483648", no},
      {"-2147483649", no},
      {"4294967295", no},
      {"99999999999999999999999", no},
      {"0x10", 16},
      {"0X4B0", 1200},
      {"0x4b0", 1200},
      {"0xaBcD", 0xabcd},
      {"0x37", 55},
      {"0XFFFFFFFF", -1},
      {"0x80000000", kMin},
      {"0x7fffffff", kMax},
      {"0x00000001", 1},
      {"0x100000000", no},
      {"0x000000001", no},
      {"0x", no},
      {"0X", no},
      {"0xG1", no},
      {"0x1 2", no},
      {"-0x10", no},
      {"+0x10", no},
      {"x10", no},
      {"", no},
      {" \t ", no},
      {"+", no},
      {"-", no},
      {"+-5", no},
      {"--5", no},
      {"12abc", no},
      {"1 2", no},
      {"1.5", no},
      {"1e3", no},
      {"- 5", no},
      {" \t42\t ", 42},
      {"42\r", 42},
      {" -42 \r", -42},
      {"\t0x10\t\r", 16},
      {"\r", no},
      {"4\r2", no},
      {"12\0"s, no},
      {"\0"s + "12", no},
      {"\xEF\xBB\xBF"
       "12",
       no},
      {"\xD9\xA3", no},  // a byte-order mark; a non-ASCII digit
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(parseSettingsInt(text), expected) << "text \"" << visible(text) << "\"";
  }
}

TEST(SettingsText, FindsTheFirstKeyOfTheFirstMatchingSection) {
  struct Case {
    const char* what;
    std::string file;
    std::optional<std::string> value;  // the value text, when the key is there
    std::string_view section = "Cash";
    std::string_view key = "player";
  };
  const std::string longLine(1 << 20, 'z');
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 167 + 13) % 256);
  const Case cases[] = {
      {"empty file", "", no},
      {"plain", "[Cash]\nplayer=1147\n", "1147"},
      {"last line without line end", "[Cash]\nplayer=12", "12"},
      {"missing section", "[Card]\nback=53\n", no},
      {"missing key", "[Cash]\ngeek=1\n", no},
      {"key of another section", "[Cash]\ngeek=1\n[Card]\nplayer=5\n", no},
      {"key before the first header", "player=5\n[Cash]\ngeek=1\n", no},
      {"empty value", "[Cash]\nplayer=\n", ""},
      {"text value", "[Cash]\nplayer=lots\n", "lots"},
      {"hex value", "[Card]\nback=0x37\n", "0x37", "Card", "back"},
      {"value holding '='", "[Cash]\nplayer=1=2\n", "1=2"},
      {"mixed-case names", "[cASH]\nPlAyEr=3\n", "3"},
      {"non-ASCII letters do not fold", "[Cash]\nplay\xC9r=3\n", no, "Cash", "play\xE9r"},
      {"blanks and tabs around names and value", " \t[ \tCash\t ] \t\n \tplayer \t= \t-7 \t\n", "-7"},
      {"blanks inside a name still count", "[Ca sh]\nplayer=1\n", no},
      {"CR LF file", "[Cash]\r\nplayer=1147\r\ngeek=3\r\n", "1147"},
      {"CR LF with blanks before the CR", "[Cash] \r\nplayer= 8 \t\r\n", "8"},
      {"CR as the last byte", "[Cash]\r\nplayer=9\r", "9"},
      {"a lone CR does not split lines", "[Cash]\nplayer=1\rgeek=2\n", no, "Cash", "geek"},
      {"first of two keys", "[Cash]\nplayer=1\nplayer=2\n", "1"},
      {"first key counts even when not a number", "[Cash]\nplayer=x\nplayer=2\n", "x"},
      {"first of two sections", "[Cash]\nplayer=1\n[cash]\nplayer=2\n", "1"},
      {"key only in a later section of the same name", "[Cash]\ngeek=1\n[ CASH ]\nplayer=2\n", no},
      {"key only in a later section, another between", "[Cash]\ngeek=1\n[Card]\n[cash]\nplayer=2\n", no},
      {"header with '=' is a header", "[Cash]\nplayer=1\n[a=b]\nplayer=2\n", "2", "a=b"},
      {"line not ending in ']' is no header", "[Cash]\n[Card] x\nplayer=4\n", "4"},
      {"empty section name", "[]\nplayer=6\n", "6", ""},
      {"lines without '=' are skipped", "[Cash]\ngarbage text\n;player=5\nplayer=6\n", "6"},
      {"key line with empty key", "[Cash]\n=5\nplayer=6\n", "5", "Cash", ""},
      {"NUL bytes in other lines", "[Cash]\n\0\0=\0\nplayer=6\0\nplayer=7\n"s, "6\0"s},
      {"NUL inside a name", "[Ca\0sh]\nplayer=1\n"s, no},
      // A byte-order mark is three bytes like any other: the first line does
      // not start with '[' and so is no header.
      {"byte-order mark hides the first header", "\xEF\xBB\xBF[Cash]\nplayer=1\n", no},
      {"byte-order mark before a comment", "\xEF\xBB\xBF;x\n[Cash]\nplayer=1\n", "1"},
      {"very long line", "[Cash]\n" + longLine + "\nplayer=" + longLine + "\nplayer=2\n", longLine},
      {"very long line before the key", "[Cash]\nx=" + longLine + "\nplayer=2\n", "2"},
      {"garbage bytes", garbage, no},
      {"garbage bytes then a section", garbage + "\n[Cash]\nplayer=3\n", "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(findSettingsValue(c.file, c.section, c.key), c.value);
    EXPECT_EQ(lookupSettingsInt(c.file, c.section, c.key), c.value ? parseSettingsInt(*c.value) : no);
  }
}

TEST(SettingsText, SetsAValueKeepingEveryOtherLine) {
  struct Case {
    const char* what;
    std::string before;
    std::string after;
    int32_t value = 3;
    std::string_view section = "Cash";
    std::string_view key = "freak";
  };
  const Case cases[] = {
      {"new file", "", "[Cash]\nfreak=1200\n", 1200},
      {"same value rewritten", "[Cash]\nfreak=1200\n", "[Cash]\nfreak=1200\n", 1200},
      {"value replaced, the rest kept",
       "; the game's file\n[Cash]\n# note\nfreak=5\n  odd line  \nzz=0x10\n[Other]\nfreak=9\n",
       "; the game's file\n[Cash]\n# note\nfreak=77\n  odd line  \nzz=0x10\n[Other]\nfreak=9\n", 77},
      {"key respelled, blanks dropped", "[CASH]\n \tFREAK \t= \t5 \t\n", "[CASH]\nfreak=6\n", 6},
      {"negative values", "[Cash]\nfreak=1\n", "[Cash]\nfreak=-1\n", -1},
      {"extreme values", "[Cash]\nfreak=1\n", "[Cash]\nfreak=-2147483648\n", kMin},
      {"first of two keys", "[Cash]\nfreak=1\nfreak=2\n", "[Cash]\nfreak=3\nfreak=2\n"},
      {"first of two sections", "[Cash]\nfreak=1\n[Cash]\nfreak=2\n", "[Cash]\nfreak=3\n[Cash]\nfreak=2\n"},
      {"key only in a later section goes into the first", "[Cash]\ngeek=1\n\n[cash]\nfreak=2\n",
       "[Cash]\ngeek=1\nfreak=3\n\n[cash]\nfreak=2\n"},
      {"key only in a later section, another between", "[Cash]\ngeek=1\n[Card]\n[Cash]\nfreak=2\n",
       "[Cash]\ngeek=1\nfreak=3\n[Card]\n[Cash]\nfreak=2\n"},
      {"inserted after the last non-blank line", "[Cash]\ngeek=1\n\n \t\n[Card]\nback=52\n",
       "[Cash]\ngeek=1\nfreak=3\n\n \t\n[Card]\nback=52\n"},
      {"a comment is non-blank", "[Cash]\ngeek=1\n; end of cash\n\n[Card]\n",
       "[Cash]\ngeek=1\n; end of cash\nfreak=3\n\n[Card]\n"},
      {"section of blank lines only", "[Cash]\n\n\n[Card]\nback=52\n",
       "[Cash]\nfreak=3\n\n\n[Card]\nback=52\n"},
      {"header at the end without line end", "x=1\n[Cash]", "x=1\n[Cash]\nfreak=3\n"},
      {"last line replaced gets a line end", "[Cash]\nfreak=1", "[Cash]\nfreak=3\n"},
      {"last line ended before insertion", "[Cash]\ngeek=1", "[Cash]\ngeek=1\nfreak=3\n"},
      {"last line ended before a new section", "[Card]\nback=52", "[Card]\nback=52\n[Cash]\nfreak=3\n"},
      {"new section after trailing blank lines", "[Card]\nback=52\n\n\n",
       "[Card]\nback=52\n\n\n[Cash]\nfreak=3\n"},
      {"same key before the first header is not the section's", "freak=1\n", "freak=1\n[Cash]\nfreak=3\n"},
      {"CR LF file: replaced line", "[Cash]\r\nfreak=1\r\ngeek=2\r\n", "[Cash]\r\nfreak=3\r\ngeek=2\r\n"},
      {"CR LF file: inserted line", "[Cash]\r\ngeek=2\r\n\r\n", "[Cash]\r\ngeek=2\r\nfreak=3\r\n\r\n"},
      {"CR LF file: new section", "[Card]\r\nback=52\r\n", "[Card]\r\nback=52\r\n[Cash]\r\nfreak=3\r\n"},
      {"CR LF file: last line without line end", "[Cash]\r\ngeek=2", "[Cash]\r\ngeek=2\r\nfreak=3\r\n"},
      {"CR LF file: last line ending in a bare CR", "[Cash]\r\ngeek=2\r", "[Cash]\r\ngeek=2\r\nfreak=3\r\n"},
      {"the first line decides: CR LF", "[Cash]\r\ngeek=2\nx=1\n", "[Cash]\r\ngeek=2\nx=1\nfreak=3\r\n"},
      {"the first line decides: LF", "[Cash]\ngeek=2\r\nfreak=1\r\n", "[Cash]\ngeek=2\r\nfreak=3\n"},
      {"blank first line decides too", "\r\n[Card]\n", "\r\n[Card]\n[Cash]\r\nfreak=3\r\n"},
      // Lines end at LF alone: a file of CR line ends is one line, no header.
      {"CR line ends", "[Cash]\rfreak=5\r", "[Cash]\rfreak=5\r\n[Cash]\nfreak=3\n"},
      {"byte-order mark kept", "\xEF\xBB\xBF;x\n[Cash]\nfreak=1\n", "\xEF\xBB\xBF;x\n[Cash]\nfreak=3\n"},
      {"byte-order mark hides the header: a section of its own", "\xEF\xBB\xBF[Cash]\r\nfreak=5\r\n",
       "\xEF\xBB\xBF[Cash]\r\nfreak=5\r\n[Cash]\r\nfreak=3\r\n"},
      {"NUL and high bytes kept", "\0\xFF\n[Cash]\nfreak=1\n\x80=\0\n"s,
       "\0\xFF\n[Cash]\nfreak=3\n\x80=\0\n"s},
      {"section spelled as given", "[Card]\n", "[Card]\n[Background]\nColor=0\n", 0, "Background", "Color"},
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

// Many keys at once, in one pass, give the very bytes and values of the keys
// set and read one by one, over files made of every kind of line that
// changes where a key goes: headers spelled in other cases or repeated,
// blank and comment lines, CR LF and bare CR line ends, a last line without
// a line end, files without any LF.
TEST(SettingsText, ManyKeysInOnePassAreTheKeysOneByOne) {
  const std::vector<std::string> pieces = {"[Cash]",  "[cash]",   " [ CASH ] ", "[Card]",      "[Background]",
                                           "[Other]", "[Cash] x", "player=1",   " PLAYER = 2", "geek=0x10",
                                           "back=53", "Color=",   "freak=x",    "=5",          "a=b=c",
                                           "",        "  ",       "\t",         "; note",      "# x"};
  const std::vector<std::string> ends = {"\n", "\r\n", "\r\r\n"};
  const SettingsKey keys[] = {{"Cash", "player"}, {"Cash", "geek"},        {"cash", "PLAYER"},
                              {"Card", "back"},   {"Background", "Color"}, {"Cash", "freak"},
                              {"Other", "x"},     {"New", "key"}};
  std::mt19937 random(20240611);
  const auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  for (int round = 0; round < 20000; ++round) {
    std::string file;
    const size_t lines = pick(7);
    for (size_t i = 0; i < lines; ++i) file += pieces[pick(pieces.size())] + ends[pick(ends.size())];
    switch (pick(4)) {
      case 0:
        file += pieces[pick(pieces.size())];
        break;  // a last line without line end
      case 1:
        file += pieces[pick(pieces.size())] + "\r";
        break;  // ... ending in CR
      default:
        break;
    }
    std::vector<SettingsEntry> entries(1 + pick(6));
    for (SettingsEntry& e : entries) {
      const SettingsKey& k = keys[pick(std::size(keys))];
      e = {k.section, k.key, static_cast<int32_t>(random())};
    }
    std::string oneByOne = file;
    for (const SettingsEntry& e : entries) oneByOne = withSettingsValue(oneByOne, e.section, e.key, e.value);
    ASSERT_EQ(visible(withSettingsValues(file, entries)), visible(oneByOne)) << "file:\n" << visible(file);

    const auto values = lookupSettingsInts(oneByOne, keys);
    for (size_t i = 0; i < std::size(keys); ++i) {
      ASSERT_EQ(values[i], lookupSettingsInt(oneByOne, keys[i].section, keys[i].key)) << visible(oneByOne);
    }
  }
}

// --- The file on disk ---------------------------------------------------------

// The recorded start-ups (the game's own run of them is replayed by the
// golden check): the twelve write-backs in one go leave the recorded file and
// nothing else, and so do twelve writes one by one. An empty file starts as
// no file does.
TEST(SettingsFile, StartUpLeavesTheRecordedFiles) {
  const fs::path golden = testing::goldenDir();
  std::vector<std::pair<std::string, std::optional<std::string>>> cases{{"startup-900003", ""}};
  for (const auto& entry : fs::directory_iterator(golden)) {
    const std::string name = entry.path().filename().string();
    const std::string stem = name.substr(0, name.size() - std::min<size_t>(name.size(), 10));
    if (name.starts_with("startup-") && name.ends_with(".final.ini"))
      cases.emplace_back(stem, readBytes(golden / (stem + ".ini")));
  }
  ASSERT_GE(cases.size(), 5u) << "recorded start-ups in " << golden;
  for (const auto& [name, start] : cases) {
    SCOPED_TRACE(name + (start && start->empty() ? " from an empty file" : ""));
    const auto expected = readBytes(golden / (name + ".final.ini"));
    ASSERT_TRUE(expected);
    TempDir oneGo, oneByOne;
    if (start) writeBytes(oneGo / "tavlor.ini", *start);
    if (start) writeBytes(oneByOne / "tavlor.ini", *start);
    SettingsFile file(oneGo / "tavlor.ini");
    const auto values = startUp(file);
    ASSERT_TRUE(values);
    EXPECT_EQ(visible(*readBytes(oneGo / "tavlor.ini")), visible(*expected));
    EXPECT_EQ(listing(oneGo.path()), std::vector<std::string>{"tavlor.ini"});
    SettingsFile slowFile(oneByOne / "tavlor.ini");
    for (const SettingsEntry& e : *values) ASSERT_TRUE(slowFile.writeInts({&e, 1}));
    EXPECT_EQ(readBytes(oneByOne / "tavlor.ini"), expected);
  }
}

// A file of 50 MB, the game's section in the middle of it: read, and saved
// in full at every write.
TEST(SettingsFile, FiftyMegabyteFileIsKeptWhole) {
  const fs::path memory = "/dev/shm";
  std::error_code error;
  TempDir dir(fs::is_directory(memory, error) && ::access(memory.c_str(), W_OK) == 0
                  ? memory
                  : fs::temp_directory_path());
  const std::string filler(200, '.');
  std::string head, tail;
  for (int i = 0; head.size() < 25'000'000; ++i) head += "; note " + std::to_string(i) + " " + filler + "\n";
  for (int i = 0; tail.size() < 25'000'000; ++i) tail += "; later " + std::to_string(i) + " " + filler + "\n";
  writeBytes(dir / "tavlor.ini", head + "[Cash]\nplayer=777\n" + tail);
  SettingsFile file(dir / "tavlor.ini");
  const auto values = startUp(file);
  ASSERT_TRUE(values);
  EXPECT_EQ((*values)[2].value, 777);
  const std::string now = *readBytes(dir / "tavlor.ini");
  EXPECT_EQ(now.compare(0, head.size(), head), 0) << "the first half was changed";
  EXPECT_EQ(now.compare(head.size(), 18, "[Cash]\nplayer=777\n"), 0);
  EXPECT_NE(now.find(tail, head.size()), std::string::npos) << "the second half was changed";
  EXPECT_LT(now.size(), head.size() + tail.size() + 400);
  EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"tavlor.ini"});
}

TEST(SettingsFile, ReadsBytesAsTheyAre) {
  TempDir dir;
  const std::string bytes = "\xEF\xBB\xBF[Cash]\r\n\0player=5\r\n\xFF"s;
  writeBytes(dir / "tavlor.ini", bytes);
  EXPECT_EQ(SettingsFile(dir / "tavlor.ini").readAll(), bytes);
}

TEST(SettingsFile, MissingFileOrFolderReadsAsDefaults) {
  TempDir dir;
  fs::create_directories(dir / "folder" / "tavlor.ini");
  writeBytes(dir / "plain", "[Cash]\nplayer=5\n");
  for (const fs::path& path :
       {dir / "missing.ini", dir / "no" / "such" / "folder" / "tavlor.ini", dir / "folder" / "tavlor.ini",
        dir / "plain" / "tavlor.ini" /* under a file */}) {
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
    std::vector<std::pair<std::string, std::string>> links;  // link, what it names ('@' for absolute)
    std::string target;                                      // the file finally written
    bool targetExists;
  };
  const Case cases[] = {
      {"relative link", {{"tavlor.ini", "real/file.ini"}}, "real/file.ini", true},
      {"absolute link", {{"tavlor.ini", "@/real/file.ini"}}, "real/file.ini", true},
      {"chain of links",
       {{"tavlor.ini", "hop.ini"}, {"real/hop2.ini", "file.ini"}, {"hop.ini", "real/hop2.ini"}},
       "real/file.ini",
       true},
      {"link to a missing file", {{"tavlor.ini", "real/file.ini"}}, "real/file.ini", false},
      {"link to a missing folder", {{"tavlor.ini", "made/here.ini"}}, "made/here.ini", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    fs::create_directory(dir / "real");
    if (c.targetExists) writeBytes(dir / c.target, "; kept\n[Cash]\nplayer=1\n");
    for (const auto& [link, names] : c.links) {
      fs::create_symlink(names[0] == '@' ? dir.path() / names.substr(2) : fs::path(names), dir / link);
    }
    SettingsFile file(dir / "tavlor.ini");
    EXPECT_EQ(file.readInt("Cash", "player", 0), c.targetExists ? 1 : 0);
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
// is given, the system calls that fail, and whether permission bits must
// stop it (they do not stop root).
struct FailingWrite {
  const char* what;
  std::function<void(const TempDir&)> prepare;
  std::string settings = "tavlor.ini";
  SettingsFile::FaultHook faults = {};
  bool byPermission = false;
};

const std::string kOldFile = "[Cash]\r\nplayer=1147\r\n; comment\r\n";

// The write fails, and the file, its folder and everything else are as before.
TEST(SettingsFile, FailedWriteChangesNothing) {
  const SettingsFile::FaultHook fullDisk = [](std::string_view call) { return call == "write" ? ENOSPC : 0; };
  const auto oldFileAt = [](std::string name) {
    return [name](const TempDir& d) { writeBytes(d / name, kOldFile); };
  };
  const FailingWrite cases[] = {
      {"full disk", oldFileAt("tavlor.ini"), "tavlor.ini", fullDisk},
      {"full disk, no file yet", [](const TempDir&) {}, "tavlor.ini", fullDisk},
      {"full disk, folder still to make", [](const TempDir&) {}, "new/tavlor.ini", fullDisk},
      {"full disk through a link",
       [](const TempDir& d) {
         writeBytes(d / "real.ini", kOldFile);
         fs::create_symlink("real.ini", d / "tavlor.ini");
       },
       "tavlor.ini", fullDisk},
      {"settings path is a folder", [](const TempDir& d) { fs::create_directory(d / "tavlor.ini"); }},
      {"a folder on the path is a file", oldFileAt("holdem"), "holdem/tavlor.ini"},
      {"loop of links",
       [](const TempDir& d) {
         fs::create_symlink("b.ini", d / "tavlor.ini");
         fs::create_symlink("tavlor.ini", d / "b.ini");
       }},
      {"read-only folder",
       [](const TempDir& d) {
         fs::create_directory(d / "ro");
         writeBytes(d / "ro" / "tavlor.ini", kOldFile);
         fs::permissions(d / "ro", fs::perms::owner_read | fs::perms::owner_exec);
       },
       "ro/tavlor.ini",
       {},
       true},
      {"unreadable file",
       [](const TempDir& d) {
         writeBytes(d / "tavlor.ini", kOldFile);
         fs::permissions(d / "tavlor.ini", fs::perms::owner_write);
       },
       "tavlor.ini",
       {},
       true},
  };
  for (const FailingWrite& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.byPermission && ::geteuid() == 0) {
      std::cout << "not tried as root, who reads and writes regardless of permission bits: " << c.what
                << "\n";
      continue;
    }
    TempDir dir;
    c.prepare(dir);
    const auto snapshot = [&dir] {
      std::vector<std::pair<std::string, std::optional<std::string>>> files;
      for (const std::string& name : listing(dir.path())) files.emplace_back(name, readBytes(dir / name));
      return files;
    };
    const auto before = snapshot();
    SettingsFile file(dir / c.settings, c.faults);
    const SettingsEntry entries[] = {{"Cash", "player", 5}, {"Card", "back", 52}};
    EXPECT_FALSE(file.writeInts(entries));
    EXPECT_EQ(snapshot(), before);
  }
}

// Many values go to disk as one replace: one rename of a file written once,
// never a rewrite in place; its permission bits carry over. A second hard
// link to the file keeps the old bytes.
TEST(SettingsFile, WritesManyValuesAsOneReplaceKeepingThePermissions) {
  TempDir dir;
  const fs::path path = dir / "tavlor.ini";
  writeBytes(path, "[Cash]\nplayer=1\n");
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, mode);
  fs::create_hard_link(path, dir / "old.ini");
  std::map<std::string, int, std::less<>> calls;
  SettingsFile file(path, [&calls](std::string_view call) {
    ++calls[std::string(call)];
    return 0;
  });
  const SettingsEntry entries[] = {{"Cash", "player", 2}, {"Card", "back", 53}, {"Cash", "geek", 4}};
  ASSERT_TRUE(file.writeInts(entries));
  EXPECT_EQ(calls["rename"], 1);
  EXPECT_EQ(calls["write"], 1);
  EXPECT_EQ(readBytes(path), "[Cash]\nplayer=2\ngeek=4\n[Card]\nback=53\n");
  EXPECT_EQ(readBytes(dir / "old.ini"), "[Cash]\nplayer=1\n");
  EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"old.ini", "tavlor.ini"}));
  EXPECT_EQ(fs::status(path).permissions(), mode);
}

// --- What a save keeps, and where it may not go --------------------------------

enum class ChildOutcome { Passed, Failed, Skipped };
constexpr int kSkipped = 77;

// Runs the body in a child process, which reports its own failures; a body
// that cannot run there exits with kSkipped.
ChildOutcome inChild(const std::function<void()>& body) {
  std::fflush(stdout);
  const pid_t pid = ::fork();
  if (pid == 0) {
    body();
    std::fflush(stdout);
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return ChildOutcome::Failed;
  if (WEXITSTATUS(status) == kSkipped) return ChildOutcome::Skipped;
  return WEXITSTATUS(status) == 0 ? ChildOutcome::Passed : ChildOutcome::Failed;
}

constexpr uid_t kNobody = 65534;

// Runs the body as a user without privileges: as it is, or, under root, in a
// child process that has become user and group 65534 (the folder is handed
// to that user first).
void asPlayer(const TempDir& dir, const std::function<void()>& body) {
  if (::geteuid() != 0) {
    body();
    return;
  }
  ASSERT_EQ(::chown(dir.path().c_str(), kNobody, kNobody), 0);
  EXPECT_EQ(inChild([&body] {
              if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
                ADD_FAILURE() << "cannot become user " << kNobody;
                return;
              }
              body();
            }),
            ChildOutcome::Passed);
}

// The temporary files beside a settings file, by name.
std::vector<std::string> temporaryFiles(const fs::path& folder) {
  std::vector<std::string> names;
  for (const std::string& name : listing(folder)) {
    if (name.find(".tmp.") != std::string::npos) names.push_back(name);
  }
  return names;
}

// The first save of a run removes the temporary files of writers that were
// killed, whatever their number, and leaves alone the file of a writer that
// is still at work (it holds a lock on it) and every other file.
TEST(SettingsFile, FirstSaveRemovesWhatKilledWritersLeftButNoLiveWritersFile) {
  TempDir dir;
  writeBytes(dir / "tavlor.ini", "[Cash]\nplayer=5\n");
  const std::vector<std::string> dead = {".tavlor.ini.tmp.4242.0", ".tavlor.ini.tmp.4242.1",
                                         ".tavlor.ini.tmp.77.3"};
  for (const std::string& name : dead) writeBytes(dir / name, "[Cash]\nplayer=");
  const std::vector<std::string> others = {".tavlor.ini.tmp.notes", "tavlor.ini.tmp.1.1",
                                           ".other.ini.tmp.5.5", ".tavlor.ini.bak"};
  for (const std::string& name : others) writeBytes(dir / name, "mine");
  writeBytes(dir / ".tavlor.ini.tmp.99.0", "[Cash]\n");
  const int live = ::open((dir / ".tavlor.ini.tmp.99.0").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(live, 0);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);

  SettingsFile file(dir / "tavlor.ini");
  const SettingsEntry entry{"Cash", "player", 6};
  ASSERT_TRUE(file.writeInts({&entry, 1}));
  std::vector<std::string> expected = others;
  expected.push_back(".tavlor.ini.tmp.99.0");
  expected.push_back("tavlor.ini");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listing(dir.path()), expected);
  EXPECT_EQ(readBytes(dir / "tavlor.ini"), "[Cash]\nplayer=6\n");
  ::close(live);
}

// No copy of a private file is ever readable by others: when the first byte
// goes into the temporary file, it already has the file's mode (and, for a
// new file, the mode the umask gives).
TEST(SettingsFile, TemporaryFileHasTheFinalModeBeforeAByteIsWritten) {
  for (const mode_t mode : {0600, 0640, 0604, 0660}) {
    SCOPED_TRACE(mode);
    TempDir dir;
    const fs::path path = dir / "tavlor.ini";
    writeBytes(path, "; private notes\n[Cash]\nplayer=5\n");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    const mode_t oldUmask = ::umask(022);
    std::vector<mode_t> seen;
    SettingsFile file(path, [&](std::string_view call) {
      if (call != "write") return 0;
      for (const std::string& name : temporaryFiles(dir.path())) {
        struct stat st {};
        if (::stat((dir / name).c_str(), &st) == 0) seen.push_back(st.st_mode & 07777);
      }
      return 0;
    });
    const SettingsEntry entry{"Cash", "player", 6};
    EXPECT_TRUE(file.writeInts({&entry, 1}));
    ::umask(oldUmask);
    EXPECT_EQ(seen, std::vector<mode_t>{mode});
    EXPECT_EQ(fs::status(path).permissions(), static_cast<fs::perms>(mode));
  }
}

// Root saving a player's file (a game run once with sudo) leaves it the
// player's: owner, group and mode as they were, from the first byte on.
TEST(SettingsFile, RootSavingAPlayersFileKeepsItsOwnerGroupAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  TempDir dir;
  const fs::path path = dir / "tavlor.ini";
  writeBytes(path, "[Cash]\nplayer=5\n");
  ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  std::vector<std::pair<uid_t, gid_t>> owners;
  SettingsFile file(path, [&](std::string_view call) {
    struct stat st {};
    for (const std::string& name : temporaryFiles(dir.path()))
      if (call == "write" && ::stat((dir / name).c_str(), &st) == 0)
        owners.emplace_back(st.st_uid, st.st_gid);
    return 0;
  });
  const SettingsEntry entry{"Cash", "player", 6};
  ASSERT_TRUE(file.writeInts({&entry, 1}));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kNobody);
  EXPECT_EQ(st.st_gid, kNobody);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(owners, (std::vector<std::pair<uid_t, gid_t>>{{kNobody, kNobody}}));
  EXPECT_EQ(readBytes(path), "[Cash]\nplayer=6\n");
}

// An access control list as the kernel keeps it: the owner rw, user 65534
// r, the owning group nothing, mask r, others nothing.
std::string aclGivingNobodyRead() {
  std::string acl;
  const auto put = [&acl](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) acl += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put(2, 4);  // version
  const uint32_t anyone = 0xFFFFFFFF;
  const uint32_t entries[][3] = {
      {0x01, 6, anyone}, {0x02, 4, kNobody}, {0x04, 0, anyone}, {0x10, 4, anyone}, {0x20, 0, anyone}};
  for (const auto& e : entries) {
    put(e[0], 2);
    put(e[1], 2);
    put(e[2], 4);
  }
  return acl;
}

std::optional<std::string> attribute(const fs::path& path, const char* name) {
  std::string value(4096, '\0');
  const ssize_t n = ::getxattr(path.c_str(), name, value.data(), value.size());
  if (n < 0) return std::nullopt;
  value.resize(static_cast<size_t>(n));
  return value;
}

// A save keeps the file's extended attributes, its access control list among
// them (without it, the mode alone would widen or narrow who may read).
TEST(SettingsFile, SavingKeepsExtendedAttributesAndTheAccessControlList) {
  TempDir dir;
  const fs::path path = dir / "tavlor.ini";
  writeBytes(path, "[Cash]\nplayer=5\n");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  const std::string acl = aclGivingNobodyRead();
  std::vector<std::pair<const char*, std::string>> attributes;
  if (::setxattr(path.c_str(), "user.holdem.note", "kept", 4, 0) == 0)
    attributes.emplace_back("user.holdem.note", "kept");
  if (::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0)
    attributes.emplace_back("system.posix_acl_access", *attribute(path, "system.posix_acl_access"));
  if (attributes.empty())
    GTEST_SKIP() << "the filesystem of " << dir.path() << " keeps no extended attributes";
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);

  SettingsFile file(path);
  const SettingsEntry entry{"Cash", "player", 6};
  ASSERT_TRUE(file.writeInts({&entry, 1}));
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino) << "replaced, not rewritten";
  EXPECT_EQ(after.st_mode, before.st_mode);
  for (const auto& [name, value] : attributes) EXPECT_EQ(attribute(path, name), value) << name;
  EXPECT_EQ(readBytes(path), "[Cash]\nplayer=6\n");
}

// A file the player may not write (0444) is not replaced through its
// writable folder: the save fails and the file stays as it was.
TEST(SettingsFile, FileThePlayerMayNotWriteIsNotReplaced) {
  TempDir dir;
  asPlayer(dir, [&dir] {
    const fs::path path = dir / "tavlor.ini";
    writeBytes(path, "[Cash]\nplayer=5\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    SettingsFile file(path);
    const SettingsEntry entry{"Cash", "player", 6};
    EXPECT_FALSE(file.writeInts({&entry, 1}));
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(readBytes(path), "[Cash]\nplayer=5\n");
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"tavlor.ini"});
  });
}

// A file that cannot be renamed over (a mount point says EBUSY) is written
// in place: the same file, the new bytes, nothing left beside it.
TEST(SettingsFile, FileThatCannotBeRenamedOverIsWrittenInPlace) {
  for (const std::string& before :
       {std::string("[Cash]\nplayer=5\n; a long comment that the new file lacks\n"),
        std::string("[Cash]\nplayer=5\n")}) {
    TempDir dir;
    const fs::path path = dir / "tavlor.ini";
    writeBytes(path, before);
    struct stat old {};
    ASSERT_EQ(::stat(path.c_str(), &old), 0);
    SettingsFile file(path, [](std::string_view call) { return call == "rename" ? EBUSY : 0; });
    const SettingsEntry entries[] = {{"Cash", "player", 123456}, {"Card", "back", 53}};
    ASSERT_TRUE(file.writeInts(entries));
    EXPECT_EQ(readBytes(path), withSettingsValues(before, entries));
    struct stat now {};
    ASSERT_EQ(::stat(path.c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, old.st_ino);
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"tavlor.ini"});
  }
}

// The same with a real bind mount, where this process may make one.
TEST(SettingsFile, BindMountedFileIsSaved) {
  TempDir dir;
  writeBytes(dir / "elsewhere.ini", "[Cash]\nplayer=5\n");
  writeBytes(dir / "tavlor.ini", "");
  const ChildOutcome outcome = inChild([&dir] {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount((dir / "elsewhere.ini").c_str(), (dir / "tavlor.ini").c_str(), nullptr, MS_BIND, nullptr) !=
            0) {
      ::_exit(kSkipped);
    }
    SettingsFile file(dir / "tavlor.ini");
    const SettingsEntry entry{"Cash", "player", 6};
    EXPECT_TRUE(file.writeInts({&entry, 1}));
    EXPECT_EQ(readBytes(dir / "tavlor.ini"), "[Cash]\nplayer=6\n");
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"elsewhere.ini", "tavlor.ini"}));
  });
  if (outcome == ChildOutcome::Skipped) GTEST_SKIP() << "this process may not bind-mount a file";
  EXPECT_EQ(outcome, ChildOutcome::Passed);
  EXPECT_EQ(readBytes(dir / "elsewhere.ini"), "[Cash]\nplayer=6\n");
}

// Names up to the longest a folder holds save: the temporary name is short
// whatever the file's name.
TEST(SettingsFile, LongFileNamesSave) {
  for (const size_t length : {234, 235, 249, 255}) {
    SCOPED_TRACE(length);
    TempDir dir;
    const std::string name = std::string(length - 4, 'n') + ".ini";
    SettingsFile file(dir / name);
    const SettingsEntry entry{"Cash", "player", 6};
    EXPECT_TRUE(file.writeInts({&entry, 1}));
    EXPECT_TRUE(file.writeInts({&entry, 1}));
    EXPECT_EQ(readBytes(dir / name), "[Cash]\nplayer=6\n");
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{name});
  }
}

// Counts the reads of one file of a folder, as the kernel reports them: a
// read is one or more read calls in a row after an open.
class ReadCounter {
 public:
  ReadCounter(const fs::path& folder, std::string name) : name_(std::move(name)) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ >= 0) ::inotify_add_watch(fd_, folder.c_str(), IN_OPEN | IN_ACCESS);
  }
  ~ReadCounter() { ::close(fd_); }
  bool works() const { return fd_ >= 0; }

  // The reads since the last call.
  int reads() {
    int count = 0;
    alignas(inotify_event) char buffer[1 << 16];
    ssize_t n;
    while ((n = ::read(fd_, buffer, sizeof buffer)) > 0) {
      for (char* at = buffer; at < buffer + n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        if (event->len > 0 && name_ == event->name && (event->mask & IN_ACCESS)) ++count;
        at += sizeof(inotify_event) + event->len;
      }
    }
    return count;
  }

 private:
  int fd_ = -1;
  std::string name_;
};

// A handler reads the file once at most: the start-up reads the twelve keys
// and writes them back, a Deal saves nine, and what was just saved is known
// without reading it again.
TEST(SettingsFile, EachHandlerReadsTheFileOnceAtMost) {
  TempDir dir;
  const fs::path path = dir / "tavlor.ini";
  writeBytes(path, "; notes\n" + std::string(1 << 20, ';') + "\n[Cash]\nplayer=5\n");
  ReadCounter counter(dir.path(), "tavlor.ini");
  if (!counter.works()) GTEST_SKIP() << "no inotify here";
  SettingsFile file(path);
  std::array<SettingsKey, kSettingCount> keys;
  for (int i = 0; i < kSettingCount; ++i) keys[i] = kSettings[i].name;

  const auto values = file.readInts(keys);
  std::array<SettingsEntry, kSettingCount> entries;
  for (int i = 0; i < kSettingCount; ++i)
    entries[i] = {keys[i].section, keys[i].key, values[i].value_or(kSettings[i].fallback)};
  ASSERT_TRUE(file.writeInts(entries));
  EXPECT_EQ(counter.reads(), 1) << "start-up";

  for (SettingsEntry& e : entries) e.value += 1;
  ASSERT_TRUE(file.writeInts(std::span(entries).first(kSavedAtEachDeal)));
  EXPECT_LE(counter.reads(), 1) << "a Deal";
  EXPECT_EQ(file.readInts(keys)[2], 6);
  EXPECT_EQ(counter.reads(), 0) << "reading back what was just saved";

  // A file changed by someone else is read anew.
  writeBytes(path, "[Cash]\nplayer=77\n");
  counter.reads();
  EXPECT_EQ(file.readInts(keys)[2], 77);
  EXPECT_EQ(counter.reads(), 1);
}

TEST(SettingsFile, DisplayPathIsAbsoluteWithLinksUnresolved) {
  TempDir dir;
  fs::create_directory(dir / "real");
  fs::create_directory_symlink("real", dir / "link");
  fs::create_symlink("real/tavlor.ini", dir / "tavlor.ini");
  const fs::path previous = fs::current_path();
  fs::current_path(dir.path());
  const fs::path here = fs::current_path();
  const std::pair<fs::path, fs::path> cases[] = {
      {"tavlor.ini", here / "tavlor.ini"},
      {"link/tavlor.ini", here / "link" / "tavlor.ini"},
      {dir / "link" / "tavlor.ini", dir / "link" / "tavlor.ini"},
      {"/etc/holdem/tavlor.ini", "/etc/holdem/tavlor.ini"},
  };
  for (const auto& [given, shown] : cases)
    EXPECT_EQ(SettingsFile(given).displayPath(), shown.string()) << given;
  fs::current_path(previous);
}

TEST(SettingsFile, DefaultPathFollowsXdgConfigHome) {
  const struct {
    const char* xdg;  // nullptr: unset
    const char* expected;
  } cases[] = {
      {"/x/conf", "/x/conf/holdem/tavlor.ini"},
      {"/x/conf/", "/x/conf/holdem/tavlor.ini"},
      {"", "/home/ann/.config/holdem/tavlor.ini"},
      {nullptr, "/home/ann/.config/holdem/tavlor.ini"},
      // A relative path is no valid XDG_CONFIG_HOME.
      {"conf", "/home/ann/.config/holdem/tavlor.ini"},
      {"./x/conf", "/home/ann/.config/holdem/tavlor.ini"},
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
  ::setenv("HOME", "/home/ann", 1);
  for (const auto& c : cases) {
    restore("XDG_CONFIG_HOME", c.xdg ? std::optional<std::string>(c.xdg) : std::nullopt);
    EXPECT_EQ(defaultSettingsPath().lexically_normal(), fs::path(c.expected)) << (c.xdg ? c.xdg : "(unset)");
  }
  restore("XDG_CONFIG_HOME", oldXdg);
  restore("HOME", oldHome);
}

}  // namespace
}  // namespace holdem
