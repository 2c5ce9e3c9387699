// The game over a real settings file that is odd, broken or in the way: it
// starts and plays, or shows "Unable to write to %s"; it never hangs or
// crashes, and never throws away bytes it could not make sense of.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "test_support.h"

namespace holdem {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A fresh folder for one test, removed with everything in it afterwards.
// `under` picks the file system (a memory one for the big files).
class Folder {
 public:
  explicit Folder(const fs::path& under = fs::temp_directory_path()) {
    std::string pattern = (under / "holdem-hostile-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed for " << pattern;
    path_ = pattern;
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  ~Folder() {
    std::error_code error;
    for (const fs::path& p : {path_, path_ / "ro"}) fs::permissions(p, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(path_, error);
  }
  fs::path operator/(const fs::path& name) const { return path_ / name; }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void writeBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    names.push_back(entry.path().lexically_relative(folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

// The twelve keys of the settings file, in the order the game writes them.
struct Key {
  std::string_view section;
  std::string_view key;
};
constexpr std::array<Key, 12> kKeys{{{"Background", "Color"},
                                     {"Cash", "freak"},
                                     {"Cash", "player"},
                                     {"Cash", "geek"},
                                     {"Cash", "master"},
                                     {"Cash", "champ"},
                                     {"Cash", "pinhead"},
                                     {"Cash", "expert"},
                                     {"Cash", "robot"},
                                     {"Cash", "until"},
                                     {"Cash", "initial"},
                                     {"Card", "back"}}};

// What the twelve keys should read: the table's settings and the chips.
std::array<int32_t, 12> savedValues(const TableState& t, const PerSeat<int32_t>& cash) {
  const auto of = [&cash](Seat s) { return cash[index(s)]; };
  return {t.backgroundColor, of(Seat::Freak),  of(Seat::Player),  of(Seat::Geek),
          of(Seat::Master),  of(Seat::Champ),  of(Seat::Pinhead), of(Seat::Expert),
          of(Seat::Robot),   t.untilTarget,    t.initialCash,     t.cardBackIndex};
}

std::array<std::optional<int32_t>, 12> valuesIn(std::string_view file) {
  std::array<std::optional<int32_t>, 12> out;
  for (size_t i = 0; i < kKeys.size(); ++i) out[i] = lookupSettingsInt(file, kKeys[i].section, kKeys[i].key);
  return out;
}

void expectFileHolds(const fs::path& path, const std::array<int32_t, 12>& values) {
  const auto read = valuesIn(readBytes(path));
  for (size_t i = 0; i < kKeys.size(); ++i) {
    EXPECT_EQ(read[i], values[i]) << kKeys[i].section << "/" << kKeys[i].key;
  }
}

// The game over the settings file at a path, with a writer that can be told
// the disk is full.
struct FileGame {
  explicit FileGame(const fs::path& path)
      : file(path, [this](int fd, std::string_view bytes) {
          if (diskFull) return false;
          while (!bytes.empty()) {
            const ssize_t n = ::write(fd, bytes.data(), bytes.size());
            if (n <= 0) return false;
            bytes.remove_prefix(static_cast<size_t>(n));
          }
          return true;
        }),
        clock(424242),
        game(file, dialogs, canvas, clock) {}

  // Folds the running deal and deals the next one; the file must then hold
  // the chips as they stood at the click.
  void foldAndDeal() {
    game.click(Button::Fold);
    const PerSeat<int32_t> cash = game.state().cash;
    game.click(Button::Deal);
    ASSERT_TRUE(game.view().isEnabled(Button::CheckCall)) << "the next deal did not start";
    expectFileHolds(path(), savedValues(game.state(), cash));
  }
  fs::path path() const { return fs::path(file.displayPath()); }

  bool diskFull = false;
  SettingsFile file;
  testing::RecordingDialogs dialogs;
  NullCanvas canvas;
  FixedClock clock;
  Game game;
};

// --- Files the game cannot use -----------------------------------------------

// A start-up that cannot save: what to put at the path, and whether it needs
// an unprivileged player to fail.
struct Unusable {
  const char* what;
  void (*prepare)(const Folder&);
  bool onlyUnprivileged = false;
  bool diskFull = false;
};

const std::string kOldFile = "; the player's own\r\n[Cash]\r\nplayer=4321\r\n";

const Unusable kUnusable[] = {
    {"a folder", [](const Folder& d) { fs::create_directory(d / "tavlor.ini"); }},
    {"a FIFO", [](const Folder& d) { ASSERT_EQ(::mkfifo((d / "tavlor.ini").c_str(), 0644), 0); }},
    {"a loop of links",
     [](const Folder& d) {
       fs::create_symlink("other.ini", d / "tavlor.ini");
       fs::create_symlink("tavlor.ini", d / "other.ini");
     }},
    {"a full disk", [](const Folder& d) { writeBytes(d / "tavlor.ini", kOldFile); }, false, true},
    {"a full disk and no file yet", [](const Folder&) {}, false, true},
    {"an unreadable file",
     [](const Folder& d) {
       writeBytes(d / "tavlor.ini", kOldFile);
       fs::permissions(d / "tavlor.ini", fs::perms::none);
     },
     true},
};

TEST(HostileSettings, StartUpThatCannotSaveShowsTheErrorAndLeavesEverythingAsItWas) {
  for (const Unusable& c : kUnusable) {
    SCOPED_TRACE(c.what);
    if (c.onlyUnprivileged && ::geteuid() == 0) {
      std::cout << "not tried as root, who reads and writes regardless of permission bits: " << c.what << "\n";
      continue;
    }
    Folder dir;
    c.prepare(dir);
    const auto before = listing(dir.path());
    struct stat st {};
    const bool existed = ::lstat((dir / "tavlor.ini").c_str(), &st) == 0;
    FileGame g(dir / "tavlor.ini");
    g.diskFull = c.diskFull;
    EXPECT_FALSE(g.game.startUp());
    ASSERT_EQ(g.dialogs.boxes.size(), 1u);
    EXPECT_EQ(g.dialogs.boxes[0].text, "Unable to write to " + (dir / "tavlor.ini").string());
    EXPECT_EQ(g.dialogs.boxes[0].caption, "Error");
    EXPECT_EQ(listing(dir.path()), before);
    struct stat now {};
    EXPECT_EQ(::lstat((dir / "tavlor.ini").c_str(), &now) == 0, existed);
    if (existed) {
      EXPECT_EQ(now.st_mode, st.st_mode);
      EXPECT_EQ(now.st_ino, st.st_ino);
    }
    if (S_ISREG(st.st_mode)) {
      fs::permissions(dir / "tavlor.ini", fs::perms::owner_read, fs::perm_options::add);
      EXPECT_EQ(readBytes(dir / "tavlor.ini"), kOldFile);
    }
  }
}

// A device (here one like /dev/null) is no file of settings: the game must
// neither read it nor put a file in its place, which as root would replace
// the device itself.
TEST(HostileSettings, DeviceIsNeitherReadNorReplaced) {
  Folder dir;
  const fs::path device = dir / "tavlor.ini";
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "only root can make a device node here";
  }
  FileGame g(device);
  EXPECT_FALSE(g.game.startUp());
  ASSERT_EQ(g.dialogs.boxes.size(), 1u);
  EXPECT_EQ(g.dialogs.boxes[0].text, "Unable to write to " + device.string());
  struct stat st {};
  ASSERT_EQ(::lstat(device.c_str(), &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"tavlor.ini"});
}

TEST(HostileSettings, ReadOnlyFolderShowsTheErrorAndKeepsTheFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders regardless";
  Folder dir;
  fs::create_directory(dir / "ro");
  writeBytes(dir / "ro" / "tavlor.ini", kOldFile);
  fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
  FileGame g(dir / "ro" / "tavlor.ini");
  EXPECT_FALSE(g.game.startUp());
  ASSERT_EQ(g.dialogs.texts(), std::vector<std::string>{"Unable to write to " + (dir / "ro" / "tavlor.ini").string()});
  EXPECT_EQ(readBytes(dir / "ro" / "tavlor.ini"), kOldFile);
  EXPECT_EQ(listing(dir / "ro"), std::vector<std::string>{"tavlor.ini"});
}

// --- Files the game plays on -------------------------------------------------

TEST(HostileSettings, SymlinkIsWrittenThroughAndStaysALink) {
  Folder dir;
  fs::create_directory(dir / "dotfiles");
  writeBytes(dir / "dotfiles" / "holdem.ini", "; kept in my dotfiles\n[Cash]\nplayer=900\n");
  fs::create_symlink("dotfiles/holdem.ini", dir / "tavlor.ini");
  FileGame g(dir / "tavlor.ini");
  ASSERT_TRUE(g.game.startUp());
  EXPECT_EQ(g.game.state().cashOf(Seat::Player), 900);
  for (int i = 0; i < 5; ++i) g.foldAndDeal();
  EXPECT_TRUE(fs::is_symlink(dir / "tavlor.ini"));
  EXPECT_EQ(fs::read_symlink(dir / "tavlor.ini"), "dotfiles/holdem.ini");
  EXPECT_EQ(readBytes(dir / "dotfiles" / "holdem.ini").rfind("; kept in my dotfiles\n[Cash]\nplayer=", 0), 0u);
  EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"dotfiles", "dotfiles/holdem.ini", "tavlor.ini"}));
  EXPECT_TRUE(g.dialogs.boxes.empty());
}

// A disk that fills up during play: the Deal that cannot save stops with the
// error and leaves the last good file; once there is room, play goes on.
TEST(HostileSettings, DiskFullDuringPlayKeepsTheLastGoodSave) {
  Folder dir;
  FileGame g(dir / "tavlor.ini");
  ASSERT_TRUE(g.game.startUp());
  g.foldAndDeal();
  const std::string lastGood = readBytes(dir / "tavlor.ini");
  g.diskFull = true;
  g.game.click(Button::Fold);
  g.game.click(Button::Deal);
  EXPECT_EQ(g.dialogs.texts(), std::vector<std::string>{"Unable to write to " + (dir / "tavlor.ini").string()});
  EXPECT_EQ(readBytes(dir / "tavlor.ini"), lastGood);
  EXPECT_TRUE(g.game.view().isEnabled(Button::Deal));
  // The card back chosen meanwhile is not saved either, and no Deal saves it.
  g.game.Changeback(2);
  EXPECT_EQ(readBytes(dir / "tavlor.ini"), lastGood);
  EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"tavlor.ini"});

  g.diskFull = false;
  g.dialogs.boxes.clear();
  const PerSeat<int32_t> cash = g.game.state().cash;
  g.game.click(Button::Deal);
  EXPECT_TRUE(g.dialogs.boxes.empty());
  EXPECT_TRUE(g.game.view().isEnabled(Button::CheckCall));
  auto expected = savedValues(g.game.state(), cash);
  expected.back() = kFirstBackImage;
  expectFileHolds(dir / "tavlor.ini", expected);
}

// Files as editors and accidents leave them. The game starts on each, plays a
// few deals, and keeps every byte that is not one of its own values.
struct OddFile {
  const char* what;
  std::string bytes;
  Key probe;            // a key the file sets
  int32_t probeValue;   // what the game reads for it
  std::string keptHead; // bytes the file must still begin with
  std::string keptTail; // bytes the file must still hold later on
};

TEST(HostileSettings, OddFilesStartPlayAndKeepWhatTheGameDoesNotOwn) {
  const OddFile cases[] = {
      {"no line end at the end", "; mine\n[Cash]\nplayer=321", {"Cash", "player"}, 321, "; mine\n[Cash]\nplayer=",
       ""},
      {"NUL bytes", "\0\0[ju\0nk]\n[Cash]\nplayer=5\0\ngeek=77\n\0=\0\n"s, {"Cash", "geek"}, 77,
       "\0\0[ju\0nk]\n[Cash]\n"s, "\0=\0\n"s},
      // A byte-order mark is no blank: the header after it is no header, and
      // the game's values go into a section of their own.
      {"a UTF-8 byte-order mark", "\xEF\xBB\xBF[Cash]\r\nplayer=5\r\n", {"Cash", "player"}, 1200,
       "\xEF\xBB\xBF[Cash]\r\nplayer=5\r\n", ""},
      // Lines end at LF alone: a file with CR line ends is one long line.
      {"CR line ends", "[Cash]\rplayer=5\r[Card]\rback=53\r", {"Card", "back"}, 52,
       "[Cash]\rplayer=5\r[Card]\rback=53\r\n", ""},
      {"CR LF line ends", "[Cash]\r\nplayer=77\r\n[Other]\r\nx=1\r\n", {"Cash", "player"}, 77, "[Cash]\r\nplayer=",
       "[Other]\r\nx=1\r\n"},
      {"a value too large and hex", "[Cash]\nplayer=99999999999\ngeek=0x10\n", {"Cash", "geek"}, 16, "[Cash]\n", ""},
  };
  for (const OddFile& c : cases) {
    SCOPED_TRACE(c.what);
    Folder dir;
    writeBytes(dir / "tavlor.ini", c.bytes);
    FileGame g(dir / "tavlor.ini");
    ASSERT_TRUE(g.game.startUp());
    EXPECT_TRUE(g.dialogs.boxes.empty());
    const TableState& t = g.game.state();
    for (size_t i = 0; i < kKeys.size(); ++i) {
      if (kKeys[i].section == c.probe.section && kKeys[i].key == c.probe.key) {
        EXPECT_EQ(savedValues(t, t.cash)[i], c.probeValue) << "as read at the start";
      }
    }
    for (int i = 0; i < 3; ++i) g.foldAndDeal();
    const std::string now = readBytes(dir / "tavlor.ini");
    EXPECT_EQ(now.substr(0, c.keptHead.size()), c.keptHead);
    if (!c.keptTail.empty()) {
      EXPECT_NE(now.find(c.keptTail), std::string::npos);
    }
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"tavlor.ini"});
  }
}

// A file of 50 MB, the game's section in the middle of it: read and saved in
// full at every write.
TEST(HostileSettings, FiftyMegabyteFileIsKeptWhole) {
  const fs::path memory = "/dev/shm";
  std::error_code error;
  Folder dir(fs::is_directory(memory, error) && ::access(memory.c_str(), W_OK) == 0 ? memory
                                                                                    : fs::temp_directory_path());
  const std::string filler(200, '.');
  std::string head;
  std::string tail;
  for (int i = 0; head.size() < 25'000'000; ++i) head += "; note " + std::to_string(i) + " " + filler + "\n";
  for (int i = 0; tail.size() < 25'000'000; ++i) tail += "; later " + std::to_string(i) + " " + filler + "\n";
  writeBytes(dir / "tavlor.ini", head + "[Cash]\nplayer=777\n" + tail);
  FileGame g(dir / "tavlor.ini");
  ASSERT_TRUE(g.game.startUp());
  EXPECT_EQ(g.game.state().cashOf(Seat::Player), 777);
  g.foldAndDeal();
  const std::string now = readBytes(dir / "tavlor.ini");
  EXPECT_EQ(now.compare(0, head.size(), head), 0) << "the first half was changed";
  EXPECT_EQ(now.compare(head.size(), 14, "[Cash]\nplayer="), 0);
  const size_t tailAt = now.find(tail, head.size());
  EXPECT_NE(tailAt, std::string::npos) << "the second half was changed";
  EXPECT_LT(now.size(), head.size() + tail.size() + 400);
  EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"tavlor.ini"});
}

}  // namespace
}  // namespace holdem
