// The settings file: its bytes as the game reads and writes them, and the
// file on disk, through every way a save can fail. The fuzz target checks the
// byte rules over any file as properties; here stand representative cases.
#include "game/settings_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <set>

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

constexpr std::nullopt_t no = std::nullopt;
constexpr int32_t kMin = INT32_MIN;
constexpr int32_t kMax = INT32_MAX;

// Shows line ends, so that a failing comparison says where CR and LF went.
std::string visible(std::string_view bytes) {
  std::string out;
  for (const char c : bytes)
    out += c == '\r' ? "\\r"s : c == '\n' ? "\\n\n"s : c == '\0' ? "\\0"s : std::string(1, c);
  return out;
}

// --- The bytes ------------------------------------------------------------------

TEST(SettingsText, ReadsDecimalAndHexNumbersWithin32BitsAndNothingElse) {
  // clang-format off
  const std::pair<std::string, std::optional<int32_t>> cases[] = {
      {"1200", 1200}, {"+7", 7}, {"-5", -5}, {"007", 7}, {"2147483647", kMax}, {"-2147483648", kMin},
      {"2147483648", no}, {"-2147483649", no}, {"0X4b0", 1200}, {"0xFFFFFFFF", -1}, {"0x80000000", kMin},
      {"0x100000000", no}, {"0x", no}, {"0xG1", no}, {"-0x10", no}, {"", no}, {"+", no}, {"--5", no},
      {"12abc", no}, {"1 2", no}, {" \t42\t ", 42}, {" -42 \r", -42}, {"\r", no}, {"4\r2", no},
      {"12\0"s, no}, {"\xEF\xBB\xBF" "12", no},
  };
  // clang-format on
  for (const auto& [text, expected] : cases) EXPECT_EQ(parseSettingsInt(text), expected) << visible(text);
}

TEST(SettingsText, FindsTheFirstKeyOfTheFirstMatchingSection) {
  struct Case {
    const char* what;
    std::string file;
    std::optional<std::string> value;
    std::string_view section = "Cash";
  };
  const std::string longLine(1 << 20, 'z');
  const Case cases[] = {
      {"plain", "[Cash]\nplayer=1147\n", "1147"},
      {"last line without line end", "[Cash]\nplayer=12", "12"},
      {"last line ending in a lone CR", "[Cash]\nplayer=12\r", "12"},
      {"a line ending in ']' that is no header", "[Cash]\nnote=a]\nplayer=4\n", "4"},
      {"missing key", "[Cash]\ngeek=1\n", no},
      {"key of another section", "[Cash]\ngeek=1\n[Card]\nplayer=5\n", no},
      {"key before the first header", "player=5\n[Cash]\ngeek=1\n", no},
      {"value holding '='", "[Cash]\nplayer=1=2\n", "1=2"},
      {"names in any ASCII case, blanks and tabs around", " \t[ \tcASH\t ] \t\n \tPlAyEr \t= \t-7 \t\n",
       "-7"},
      {"CR LF file", "[Cash]\r\nplayer=1147\r\ngeek=3\r\n", "1147"},
      {"a lone CR does not end a line", "[Cash]\ngeek=1\rplayer=2\n", no},
      {"first of two keys, even when not a number", "[Cash]\nplayer=x\nplayer=2\n", "x"},
      {"first of two sections", "[Cash]\nplayer=1\n[cash]\nplayer=2\n", "1"},
      {"key only in a later section of the same name", "[Cash]\ngeek=1\n[ CASH ]\nplayer=2\n", no},
      {"header holding '='", "[Cash]\nplayer=1\n[a=b]\nplayer=2\n", "2", "a=b"},
      {"a line not ending in ']' is no header", "[Cash]\n[Card] x\nplayer=4\n", "4"},
      {"a line without '=' is no key", "[Cash]\nplayer\nplayer=4\n", "4"},
      {"NUL bytes are bytes", "[Cash]\n\0\0=\0\nplayer=6\0\n"s, "6\0"s},
      {"a byte-order mark hides the first header", "\xEF\xBB\xBF[Cash]\nplayer=1\n", no},
      {"very long lines", "[Cash]\nx=" + longLine + "\nplayer=" + longLine + "\n", longLine},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(findSettingsValue(c.file, c.section, "player"), c.value);
    const std::optional<int32_t> number = c.value ? parseSettingsInt(*c.value) : no;
    EXPECT_EQ(lookupSettingsInt(c.file, c.section, "player"), number);
    EXPECT_EQ(lookupSettingsInts(c.file, std::array{SettingsKey{c.section, "player"}})[0], number);
  }
}

TEST(SettingsText, SetsAValueKeepingEveryOtherByte) {
  struct Case {
    const char* what;
    std::string before;
    std::string after;
    std::string_view section = "Cash";
  };
  const Case cases[] = {
      {"new file", "", "[Cash]\nfreak=3\n"},
      {"value replaced, the rest kept", "; mine\n[Cash]\n# note\nfreak=5\n odd \n[Other]\nfreak=9\n",
       "; mine\n[Cash]\n# note\nfreak=3\n odd \n[Other]\nfreak=9\n"},
      {"key respelled, blanks dropped", "[CASH]\n \tFREAK \t= \t5 \t\n", "[CASH]\nfreak=3\n"},
      {"first of two sections", "[Cash]\nfreak=1\n[Cash]\nfreak=2\n", "[Cash]\nfreak=3\n[Cash]\nfreak=2\n"},
      {"key only in a later section goes into the first", "[Cash]\ngeek=1\n\n[cash]\nfreak=2\n",
       "[Cash]\ngeek=1\nfreak=3\n\n[cash]\nfreak=2\n"},
      {"inserted after the last non-blank line", "[Cash]\ngeek=1\n; end\n\n \t\n[Card]\n",
       "[Cash]\ngeek=1\n; end\nfreak=3\n\n \t\n[Card]\n"},
      {"a section of blank lines only", "[Cash]\n\n\n[Card]\n", "[Cash]\nfreak=3\n\n\n[Card]\n"},
      {"header at the end without line end", "x=1\n[Cash]", "x=1\n[Cash]\nfreak=3\n"},
      {"last line replaced gets a line end", "[Cash]\nfreak=1", "[Cash]\nfreak=3\n"},
      {"last line ended before a new section", "[Card]\nback=52", "[Card]\nback=52\n[Cash]\nfreak=3\n"},
      {"CR LF file", "[Cash]\r\ngeek=2\r\n\r\n", "[Cash]\r\ngeek=2\r\nfreak=3\r\n\r\n"},
      {"CR LF file beginning with a blank line", "\r\n[Cash]\r\n", "\r\n[Cash]\r\nfreak=3\r\n"},
      {"CR LF file ending in a bare CR", "[Card]\r\nback=2\r", "[Card]\r\nback=2\r\n[Cash]\r\nfreak=3\r\n"},
      {"the section's last line ends in a bare CR", "[Cash]\r\ngeek=2\r", "[Cash]\r\ngeek=2\r\nfreak=3\r\n"},
      {"the first line decides the line end", "[Cash]\ngeek=2\r\nfreak=1\r\n", "[Cash]\ngeek=2\r\nfreak=3\n"},
      {"a file of CR line ends is one line", "[Cash]\rfreak=5\r", "[Cash]\rfreak=5\r\n[Cash]\nfreak=3\n"},
      {"other bytes kept", "\xEF\xBB\xBF\0\xFF\n[Cash]\nfreak=1\n\x80=\0\n"s,
       "\xEF\xBB\xBF\0\xFF\n[Cash]\nfreak=3\n\x80=\0\n"s},
      {"section spelled as given", "[Card]\n", "[Card]\n[Background]\nfreak=3\n", "Background"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(visible(withSettingsValue(c.before, c.section, "freak", 3)), visible(c.after)) << c.what;
    EXPECT_EQ(visible(withSettingsValues(c.before, std::array{SettingsEntry{c.section, "freak", 3}})),
              visible(c.after))
        << c.what << ", in one pass";
  }
}

// --- The file on disk --------------------------------------------------------------

const SettingsEntry kPlayer6{"Cash", "player", 6};

bool save(SettingsFile& file, const SettingsEntry& entry = kPlayer6) { return file.writeInts({&entry, 1}); }

TEST(SettingsFile, MissingFilesFoldersAndOtherThingsReadAsMissingKeys) {
  TempDir dir;
  fs::create_directories(dir / "folder.ini");
  writeBytes(dir / "plain", "[Cash]\nplayer=5\n");
  ASSERT_EQ(::mkfifo((dir / "fifo.ini").c_str(), 0644), 0);  // a read there would wait for a writer
  for (const fs::path& path :
       {dir / "missing.ini", dir / "no" / "folder" / "tavlor.ini", dir / "folder.ini", dir / "fifo.ini",
        dir / "plain" / "tavlor.ini", fs::path("/dev/zero"), fs::path("/proc/self/mem")}) {
    SettingsFile file(path);
    EXPECT_FALSE(file.readAll()) << path;
    EXPECT_EQ(file.readInt("Cash", "player", 1234), 1234) << path;
  }
  const std::string bytes = "\xEF\xBB\xBF[Cash]\r\n\0player=5\r\n\xFF"s;
  writeBytes(dir / "odd.ini", bytes);
  EXPECT_EQ(SettingsFile(dir / "odd.ini").readAll(), bytes);
}

// A read that a signal interrupts is made again; a read that fails for any
// other reason reads as missing keys, and the next save is refused, so that
// values the game could not read never replace those in the file.
TEST(SettingsFile, InterruptedReadIsRetriedAndAFailedOneGivesUpAndRefusesTheSave) {
  for (const int error : {EINTR, EIO}) {
    SCOPED_TRACE(error);
    TempDir dir;
    writeBytes(dir / "tavlor.ini", "[Cash]\nplayer=5\n");
    int reads = 0;
    SettingsFile file(dir / "tavlor.ini",
                      [&](std::string_view call) { return call == "read" && ++reads == 1 ? error : 0; });
    EXPECT_EQ(file.readInt("Cash", "player", 1234), error == EINTR ? 5 : 1234);
    EXPECT_EQ(reads, error == EINTR ? 3 : 1);  // the retry, and the read that finds the end
    EXPECT_EQ(save(file), error == EINTR);
    EXPECT_EQ(readBytes(dir / "tavlor.ini"), error == EINTR ? "[Cash]\nplayer=6\n" : "[Cash]\nplayer=5\n");
  }
}

// Where the temporary file cannot be made, nothing is written anywhere: not
// into a descriptor that happens to be open, such as standard input.
TEST(SettingsFile, TemporaryFileThatCannotBeMadeWritesNothingAnywhere) {
  const struct {
    const char* what;
    const char* settings;
    std::function<int(std::string_view, int)> fault;  // the call, and how many opens came before it
  } cases[] = {
      {"its open fails", "tavlor.ini",
       [](std::string_view call, int opens) { return call == "open" && opens == 2 ? EACCES : 0; }},
      {"its folder cannot be made", "new/tavlor.ini",
       [](std::string_view call, int) { return call == "mkdir" ? EACCES : 0; }},
      {"every name is taken", "tavlor.ini",
       [](std::string_view call, int) { return call == "flock" ? EWOULDBLOCK : 0; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::optional<std::string> old =
        c.settings == std::string_view("tavlor.ini") ? std::optional<std::string>("[Cash]\nplayer=5\n") : no;
    if (old) writeBytes(dir / c.settings, *old);
    const int input = ::dup(0);
    const int stand = ::open((dir / "stdin").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::dup2(stand, 0), 0);
    int opens = 0;
    SettingsFile file(dir / c.settings, [&](std::string_view call) {
      opens += call == "open";
      return c.fault(call, opens);
    });
    EXPECT_FALSE(save(file));
    ::dup2(input, 0);
    ::close(input);
    ::close(stand);
    EXPECT_EQ(readBytes(dir / "stdin"), "");
    EXPECT_EQ(readBytes(dir / c.settings), old);
  }
}

std::vector<std::string> temporaryFiles(const fs::path& folder) {
  std::vector<std::string> names;
  for (const std::string& name : listing(folder))
    if (name.find(".tmp.") != std::string::npos) names.push_back(name);
  return names;
}

// The first save of a run removes the temporary files of killed writers,
// and leaves the one of a writer at work (it holds a lock) and every other file.
TEST(SettingsFile, FirstSaveRemovesWhatKilledWritersLeftButNoLiveWritersFile) {
  TempDir dir;
  writeBytes(dir / "tavlor.ini", "[Cash]\nplayer=5\n");
  for (const char* dead : {".tavlor.ini.tmp.4242.0", ".tavlor.ini.tmp.4242.1", ".tavlor.ini.tmp.77.3"})
    writeBytes(dir / dead, "[Cash]\nplayer=");
  std::vector<std::string> expected = {".tavlor.ini.tmp.notes", "tavlor.ini.tmp.1.1", ".other.ini.tmp.5.5",
                                       ".tavlor.ini.tmp.99.0"};
  for (const std::string& name : expected) writeBytes(dir / name, "mine");
  const int live = ::open((dir / ".tavlor.ini.tmp.99.0").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);
  SettingsFile file(dir / "tavlor.ini");
  ASSERT_TRUE(save(file));
  expected.push_back("tavlor.ini");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listing(dir.path()), expected);
  EXPECT_EQ(readBytes(dir / "tavlor.ini"), "[Cash]\nplayer=6\n");
  ::close(live);
}

// Many values go to disk as one replace: one rename of a file written once.
// From its first byte on, the new file has the old one's mode, owner and
// group (root saving a player's file, a game once run with sudo, leaves it
// the player's), and it keeps every extended attribute (an access control
// list is one of them), empty ones too; a second hard link keeps the old
// bytes.
TEST(SettingsFile, SaveIsOneReplaceKeepingModeOwnerAndAttributesFromTheFirstByte) {
  constexpr uid_t kNobody = 65534;
  const bool root = ::geteuid() == 0;
  for (const mode_t mode : {0600, 0604}) {
    SCOPED_TRACE(mode);
    TempDir dir;
    const fs::path path = dir / "tavlor.ini";
    writeBytes(path, "; private\n[Cash]\nplayer=1\n");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    if (root) {
      ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    }
    const auto attribute = [&path](const char* name) {
      std::string value(4096, '\0');
      const ssize_t n = ::getxattr(path.c_str(), name, value.data(), value.size());
      return n < 0 ? std::nullopt : std::optional<std::string>(value.substr(0, static_cast<size_t>(n)));
    };
    std::vector<std::pair<const char*, std::optional<std::string>>> kept;
    for (const auto& [name, value] : {std::pair{"user.holdem.note", "kept"}, {"user.holdem.empty", ""}})
      if (mode == 0600 && ::setxattr(path.c_str(), name, value, std::strlen(value), 0) == 0)
        kept.emplace_back(name, attribute(name));
    fs::create_hard_link(path, dir / "old.ini");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    std::map<std::string, int, std::less<>> calls;
    std::vector<struct stat> seen;  // the temporary file's status at each write
    SettingsFile file(path, [&](std::string_view call) {
      ++calls[std::string(call)];
      struct stat st {};
      for (const std::string& name : temporaryFiles(dir.path()))
        if (call == "write" && ::stat((dir / name).c_str(), &st) == 0) seen.push_back(st);
      return 0;
    });
    // A key given twice, in another case, is saved once, with the later value.
    const SettingsEntry entries[] = {
        {"Cash", "player", 2}, {"CASH", "Geek", 3}, {"Card", "back", 53}, {"Cash", "geek", 4}};
    ASSERT_TRUE(file.writeInts(entries));
    EXPECT_EQ(calls["rename"], 1);
    EXPECT_EQ(calls["write"], 1);
    EXPECT_EQ(readBytes(path), "; private\n[Cash]\nplayer=2\ngeek=4\n[Card]\nback=53\n");
    EXPECT_EQ(readBytes(dir / "old.ini"), "; private\n[Cash]\nplayer=1\n");
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"old.ini", "tavlor.ini"}));
    struct stat now {};
    ASSERT_EQ(::stat(path.c_str(), &now), 0);
    ASSERT_EQ(seen.size(), 1u);
    for (const struct stat& st : {seen[0], now})
      EXPECT_EQ(std::make_tuple(st.st_mode, st.st_uid, st.st_gid),
                std::make_tuple(before.st_mode, before.st_uid, before.st_gid));
    for (const auto& [name, value] : kept) EXPECT_EQ(attribute(name), value) << name;
  }
}

// Where the owner cannot be given back, the group still is; an attribute
// that goes away while the file is read is not carried over, the next one
// is, and the save goes on.
TEST(SettingsFile, SaveKeepsTheGroupWhenTheOwnerCannotBeKeptAndSkipsAnAttributeGoneMeanwhile) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving the file to another owner needs root";
  constexpr uid_t kNobody = 65534;
  TempDir dir;
  const fs::path path = dir / "tavlor.ini";
  writeBytes(path, "[Cash]\nplayer=1\n");
  ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
  const bool attributes = ::setxattr(path.c_str(), "user.holdem.a", "1", 1, 0) == 0 &&
                          ::setxattr(path.c_str(), "user.holdem.b", "2", 1, 0) == 0;
  int fchowns = 0, getxattrs = 0;
  SettingsFile file(path, [&](std::string_view call) {
    if (call == "fchown" && ++fchowns == 1) return EPERM;
    return call == "getxattr" && ++getxattrs == 1 ? ENODATA : 0;  // the first attribute read is gone
  });
  ASSERT_TRUE(save(file));
  EXPECT_EQ(readBytes(path), "[Cash]\nplayer=6\n");
  struct stat now {};
  ASSERT_EQ(::stat(path.c_str(), &now), 0);
  EXPECT_EQ(std::make_pair(now.st_uid, now.st_gid), std::make_pair(uid_t{0}, gid_t{kNobody}));
  EXPECT_EQ(getxattrs > 0, attributes);
  if (attributes) {
    const bool keptA = ::getxattr(path.c_str(), "user.holdem.a", nullptr, 0) == 1;
    const bool keptB = ::getxattr(path.c_str(), "user.holdem.b", nullptr, 0) == 1;
    EXPECT_NE(keptA, keptB) << "the attribute gone is dropped, and only it";
  }
}

// A handler reads the file once at most: the start-up reads the twelve keys
// and writes them back, a Deal saves nine, and what was just saved is known
// without reading it again; a file changed by someone else is read anew,
// also when its size stays.
TEST(SettingsFile, EachHandlerReadsTheFileOnceAtMost) {
  TempDir dir;
  const fs::path path = dir / "tavlor.ini";
  writeBytes(path, "; notes\n" + std::string(1 << 20, ';') + "\n[Cash]\nplayer=5\n");
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch < 0 || ::inotify_add_watch(watch, dir.path().c_str(), IN_OPEN | IN_ACCESS) < 0)
    GTEST_SKIP() << "no inotify";
  const auto reads = [watch] {
    int count = 0;
    alignas(inotify_event) char buffer[1 << 16];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;)
      for (char* at = buffer; at < buffer + n;
           at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len)
        count += (reinterpret_cast<inotify_event*>(at)->mask & IN_ACCESS) &&
                 std::string_view(reinterpret_cast<inotify_event*>(at)->name) == "tavlor.ini";
    return count;
  };
  SettingsFile file(path);
  std::array<SettingsKey, kSettingCount> keys;
  std::array<SettingsEntry, kSettingCount> entries;
  for (int i = 0; i < kSettingCount; ++i) keys[i] = kSettings[i].name;
  const auto values = file.readInts(keys);
  for (int i = 0; i < kSettingCount; ++i)
    entries[i] = {keys[i].section, keys[i].key, values[i].value_or(kSettings[i].fallback) + 1};
  ASSERT_TRUE(file.writeInts(entries));
  EXPECT_EQ(reads(), 1) << "start-up";
  ASSERT_TRUE(file.writeInts(std::span(entries).first(kSavedAtEachDeal)));
  EXPECT_LE(reads(), 1) << "a Deal";
  EXPECT_EQ(file.readInts(keys)[2], 6);
  EXPECT_EQ(reads(), 0) << "reading back what was just saved";
  writeBytes(path, "[Cash]\nplayer=77\n");
  reads();
  EXPECT_EQ(file.readInts(keys)[2], 77);
  EXPECT_EQ(reads(), 1);
  // The same size, and the time set apart from the last write's (which may
  // share its clock tick): only the time tells.
  writeBytes(path, "[Cash]\nplayer=78\n");
  fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
  EXPECT_EQ(file.readInts(keys)[2], 78);
  ::close(watch);
}

TEST(SettingsFile, DefaultPathFollowsAnAbsoluteXdgConfigHome) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const char* oldHome = std::getenv("HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";
  ::setenv("HOME", "/home/ann", 1);
  const std::pair<const char*, const char*> cases[] = {
      {"/x/conf", "/x/conf/holdem/tavlor.ini"},
      {"", "/home/ann/.config/holdem/tavlor.ini"},
      {nullptr, "/home/ann/.config/holdem/tavlor.ini"},
      {"./x/conf", "/home/ann/.config/holdem/tavlor.ini"},  // a relative path is no valid XDG_CONFIG_HOME
  };
  for (const auto& [xdg, expected] : cases) {
    xdg ? ::setenv("XDG_CONFIG_HOME", xdg, 1) : ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(defaultSettingsPath(), fs::path(expected)) << (xdg ? xdg : "(unset)");
  }
  oldXdg ? ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
  oldHome ? ::setenv("HOME", savedHome.c_str(), 1) : ::unsetenv("HOME");
}

// --- The game over a file it cannot save ------------------------------------------

// The game over the settings file at a path, whose system calls can be made
// to fail: every rename when the file is a mount point, and the call that
// `failing` numbers (from 1, over all calls).
struct FileGame {
  explicit FileGame(const fs::path& path)
      : file(path, [this](std::string_view call) {
          calls.emplace_back(call);
          if (calls.size() == failing) return EIO;
          return mountPoint && call == "rename" ? EBUSY : 0;
        }) {}

  bool mountPoint = false;
  size_t failing = 0;
  std::vector<std::string> calls;
  SettingsFile file;
  testing::RecordingDialogs dialogs;
  NullCanvas canvas;
  FixedClock clock{424242};
  Game game{file, dialogs, canvas, clock};
};

const std::string kOldFile = "; the player's own\r\n[Cash]\r\nplayer=4321\r\n";

// Everything in the folder: each name, its type and mode, and the bytes of
// each regular file.
std::vector<std::string> snapshot(const TempDir& dir) {
  std::vector<std::string> files;
  for (const std::string& name : listing(dir.path())) {
    struct stat st {};
    ::lstat((dir / name).c_str(), &st);
    files.push_back(name + " " + std::to_string(st.st_mode) + " " +
                    (S_ISREG(st.st_mode) ? readBytes(dir / name).value_or("?") : ""));
  }
  return files;
}

// Each system call of a save fails in turn, as a disk or a filesystem may
// make any of them fail: the save is then reported, the file is the one from
// before, with its mode, and nothing is left beside it. A call whose failure
// the save can do without (keeping the owner, the lock that guards the
// temporary file) lets it succeed instead.
TEST(HostileSettings, EachSystemCallOfASaveThatFailsLeavesTheFileAsItWas) {
  const struct {
    const char* what;
    const char* settings;
    bool mountPoint;  // every rename says EBUSY: the file is written in place
  } cases[] = {
      {"a file of the player's", "tavlor.ini", false},
      {"no file yet, nor its folders", "config/holdem/tavlor.ini", false},
      {"a mount point", "tavlor.ini", true},
  };
  const std::set<std::string> mayFail = {"fchown", "flock", "fstat"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::set<std::string> failedTheSave;
    for (size_t failing = 1;; ++failing) {
      SCOPED_TRACE(failing);
      TempDir dir;
      const fs::path path = dir / c.settings;
      if (c.settings == std::string_view("tavlor.ini")) {
        writeBytes(path, kOldFile);
        ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
      }
      const auto before = snapshot(dir);
      FileGame g(path);
      g.failing = failing;
      g.mountPoint = c.mountPoint;
      const bool started = g.game.startUp();
      if (g.calls.size() < failing) {
        ASSERT_TRUE(started) << "no call failed, yet the start-up did";
        break;  // every call has had its turn
      }
      const std::string call = g.calls[failing - 1];
      SCOPED_TRACE(call);
      if (started) {
        EXPECT_TRUE(mayFail.count(call)) << "the save went on after a failed " << call;
        EXPECT_EQ(listing(dir.path()).size(), before.empty() ? 3u : before.size())
            << "something left beside the file";
        EXPECT_NE(readBytes(path), kOldFile);
        continue;
      }
      failedTheSave.insert(call);
      EXPECT_EQ(g.dialogs.texts(), std::vector<std::string>{"Unable to write to " + path.string()});
      EXPECT_EQ(snapshot(dir), before);
    }
    // The calls that must be checked were all made, and each failure of them reported.
    std::set<std::string> expected = {"open", "write", "fsync", "close"};
    if (c.settings == std::string_view("tavlor.ini"))
      expected.insert({"read", "access", "fchmod", "listxattr"});
    if (c.mountPoint) {
      expected.insert("ftruncate");
    } else {
      expected.insert({"rename", "open folder", "fsync folder", "close folder"});
    }
    for (const std::string& call : expected) EXPECT_TRUE(failedTheSave.count(call)) << call;
  }
}

}  // namespace
}  // namespace holdem
