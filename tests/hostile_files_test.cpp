// The game over a real settings file that it cannot save: start-up stops
// with "Unable to write to %s" and leaves the file as it was; a Deal that
// cannot save stops with it, and play goes on once there is room again.
// The byte rules of odd files, and every way a write can fail, are the
// settings file's own tests.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <set>

#include "game/settings_file.h"
#include "test_support.h"

namespace holdem {
namespace {

namespace fs = std::filesystem;
using testing::listing;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// The game over the settings file at a path, whose system calls can be made
// to fail: every write while the disk is full, every rename of a file that
// is a mount point, and the one call that `failing` names by its number
// (counted from 1 over all the calls).
struct FileGame {
  explicit FileGame(const fs::path& path)
      : file(path,
             [this](std::string_view call) {
               calls.emplace_back(call);
               if (calls.size() == failing) return failure;
               if (mountPoint && call == "rename") return EBUSY;
               return diskFull && call == "write" ? ENOSPC : 0;
             }),
        clock(424242),
        game(file, dialogs, canvas, clock) {}

  bool diskFull = false;
  bool mountPoint = false;
  size_t failing = 0;
  int failure = EIO;
  std::vector<std::string> calls;
  SettingsFile file;
  testing::RecordingDialogs dialogs;
  NullCanvas canvas;
  FixedClock clock;
  Game game;
};

// The twelve values the file holds, in the order the game writes them.
std::array<std::optional<int32_t>, 12> valuesIn(const fs::path& path) {
  constexpr std::pair<std::string_view, std::string_view> kKeys[] = {
      {"Background", "Color"}, {"Cash", "freak"}, {"Cash", "player"},  {"Cash", "geek"},
      {"Cash", "master"},      {"Cash", "champ"}, {"Cash", "pinhead"}, {"Cash", "expert"},
      {"Cash", "robot"},       {"Cash", "until"}, {"Cash", "initial"}, {"Card", "back"}};
  const std::string file = readBytes(path).value_or("");
  std::array<std::optional<int32_t>, 12> out;
  for (size_t i = 0; i < out.size(); ++i) out[i] = lookupSettingsInt(file, kKeys[i].first, kKeys[i].second);
  return out;
}

// What the file should hold: the table's settings and the chips given.
std::array<std::optional<int32_t>, 12> savedValues(const TableState& t, const PerSeat<int32_t>& cash) {
  const auto of = [&cash](Seat s) { return cash[index(s)]; };
  return {t.backgroundColor, of(Seat::Freak), of(Seat::Player),  of(Seat::Geek),
          of(Seat::Master),  of(Seat::Champ), of(Seat::Pinhead), of(Seat::Expert),
          of(Seat::Robot),   t.untilTarget,   t.initialCash,     t.cardBackIndex};
}

const std::string kOldFile = "; the player's own\r\n[Cash]\r\nplayer=4321\r\n";

TEST(HostileSettings, StartUpThatCannotSaveShowsTheErrorAndLeavesEverythingAsItWas) {
  const struct {
    const char* what;
    void (*prepare)(const TempDir&);
    const char* settings = "tavlor.ini";
    bool diskFull = false;
    bool byPermission = false;  // root writes regardless of permission bits
  } cases[] = {
      {"a folder", [](const TempDir& d) { fs::create_directory(d / "tavlor.ini"); }},
      // A FIFO would block a read; a device (like /dev/null) as root would be
      // replaced by a file. Neither is read nor replaced.
      {"a FIFO", [](const TempDir& d) { ASSERT_EQ(::mkfifo((d / "tavlor.ini").c_str(), 0644), 0); }},
      {"a device",
       [](const TempDir& d) { ::mknod((d / "tavlor.ini").c_str(), S_IFCHR | 0666, makedev(1, 3)); }},
      {"a full disk", [](const TempDir& d) { writeBytes(d / "tavlor.ini", kOldFile); }, "tavlor.ini", true},
      {"a read-only folder",
       [](const TempDir& d) {
         fs::create_directory(d / "ro");
         writeBytes(d / "ro" / "tavlor.ini", kOldFile);
         fs::permissions(d / "ro", fs::perms::owner_read | fs::perms::owner_exec);
       },
       "ro/tavlor.ini", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.byPermission && ::geteuid() == 0) {
      std::cout << "not tried as root, who writes regardless of permission bits: " << c.what << "\n";
      continue;
    }
    TempDir dir;
    c.prepare(dir);
    const fs::path path = dir / c.settings;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
      std::cout << "only root can make a device node here: " << c.what << "\n";
      continue;
    }
    const auto before = listing(dir.path());
    FileGame g(path);
    g.diskFull = c.diskFull;
    EXPECT_FALSE(g.game.startUp());
    EXPECT_EQ(g.dialogs.boxes,
              (std::vector<testing::Box>{{"Unable to write to " + path.string(), "Error", BoxButtons::Ok}}));
    EXPECT_EQ(g.game.state().deck, Deck{});  // nothing dealt
    EXPECT_EQ(listing(dir.path()), before);
    struct stat now {};
    ASSERT_EQ(::lstat(path.c_str(), &now), 0);
    EXPECT_EQ(now.st_mode, st.st_mode);
    EXPECT_EQ(now.st_ino, st.st_ino);
    if (S_ISREG(st.st_mode)) {
      EXPECT_EQ(readBytes(path), kOldFile);
    }
  }
}

// A disk that fills up during play: the Deal that cannot save stops with the
// error, deals nothing and leaves the last good file; once there is room,
// play goes on.
TEST(HostileSettings, DiskFullDuringPlayKeepsTheLastGoodSave) {
  TempDir dir;
  const fs::path path = dir / "tavlor.ini";
  FileGame g(path);
  ASSERT_TRUE(g.game.startUp());
  g.game.click(Button::Fold);
  PerSeat<int32_t> cash = g.game.state().cash;
  g.game.click(Button::Deal);
  ASSERT_TRUE(g.game.view().isEnabled(Button::CheckCall));
  EXPECT_EQ(valuesIn(path), savedValues(g.game.state(), cash));
  const auto lastGood = readBytes(path);

  g.diskFull = true;
  g.game.click(Button::Fold);
  const TableState folded = g.game.state();
  g.game.click(Button::Deal);
  EXPECT_EQ(g.dialogs.texts(), std::vector<std::string>{"Unable to write to " + path.string()});
  EXPECT_EQ(readBytes(path), lastGood);
  EXPECT_EQ(g.game.state().deck, folded.deck);
  EXPECT_EQ(g.game.state().dealsCount, folded.dealsCount + 1);
  EXPECT_EQ(g.game.state().bettingRound, kDealOver);
  EXPECT_TRUE(g.game.view().isEnabled(Button::Deal));
  // The card back chosen meanwhile is not saved either, and no Deal saves it.
  g.game.chooseCardBack(2);
  EXPECT_EQ(readBytes(path), lastGood);
  EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"tavlor.ini"});

  g.diskFull = false;
  g.dialogs.boxes.clear();
  cash = g.game.state().cash;
  g.game.click(Button::Deal);
  EXPECT_TRUE(g.dialogs.boxes.empty());
  EXPECT_TRUE(g.game.view().isEnabled(Button::CheckCall));
  auto expected = savedValues(g.game.state(), cash);
  expected.back() = kFirstBackImage;
  EXPECT_EQ(valuesIn(path), expected);
}

// Each system call of a save fails in turn, as a disk or a filesystem may
// make any of them fail: the save is then reported ("Unable to write to
// %s"), the file is the one from before, with its mode, and nothing is left
// beside it. A call whose failure the save can do without (keeping the
// owner, the lock that guards the temporary file) lets it succeed instead.
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
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
      }
      const auto before = listing(dir.path());
      const auto modeBefore = fs::status(path).permissions();
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
        EXPECT_TRUE(g.dialogs.boxes.empty());
        EXPECT_NE(readBytes(path), kOldFile);
        continue;
      }
      failedTheSave.insert(call);
      EXPECT_EQ(g.dialogs.texts(), std::vector<std::string>{"Unable to write to " + path.string()});
      EXPECT_EQ(listing(dir.path()), before);
      if (!before.empty()) {
        EXPECT_EQ(readBytes(path), kOldFile);
        EXPECT_EQ(fs::status(path).permissions(), modeBefore);
      }
    }
    // The calls that must be checked were all made, and each failure of
    // them was reported.
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
