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

#include "game/settings_file.h"
#include "test_support.h"

namespace holdem {
namespace {

namespace fs = std::filesystem;
using testing::listing;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// The game over the settings file at a path, with a writer that can be told
// the disk is full.
struct FileGame {
  explicit FileGame(const fs::path& path)
      : file(path,
             [this](int fd, std::string_view bytes) {
               while (!diskFull && !bytes.empty()) {
                 const ssize_t n = ::write(fd, bytes.data(), bytes.size());
                 if (n <= 0) return false;
                 bytes.remove_prefix(static_cast<size_t>(n));
               }
               return !diskFull;
             }),
        clock(424242),
        game(file, dialogs, canvas, clock) {}

  bool diskFull = false;
  SettingsFile file;
  testing::RecordingDialogs dialogs;
  NullCanvas canvas;
  FixedClock clock;
  Game game;
};

// The twelve values the file holds, in the order the game writes them.
std::array<std::optional<int32_t>, 12> valuesIn(const fs::path& path) {
  constexpr std::pair<std::string_view, std::string_view> kKeys[] = {
      {"Background", "Color"}, {"Cash", "freak"},   {"Cash", "player"}, {"Cash", "geek"},
      {"Cash", "master"},      {"Cash", "champ"},   {"Cash", "pinhead"}, {"Cash", "expert"},
      {"Cash", "robot"},       {"Cash", "until"},   {"Cash", "initial"}, {"Card", "back"}};
  const std::string file = readBytes(path).value_or("");
  std::array<std::optional<int32_t>, 12> out;
  for (size_t i = 0; i < out.size(); ++i) out[i] = lookupSettingsInt(file, kKeys[i].first, kKeys[i].second);
  return out;
}

// What the file should hold: the table's settings and the chips given.
std::array<std::optional<int32_t>, 12> savedValues(const TableState& t, const PerSeat<int32_t>& cash) {
  const auto of = [&cash](Seat s) { return cash[index(s)]; };
  return {t.backgroundColor, of(Seat::Freak),  of(Seat::Player), of(Seat::Geek),  of(Seat::Master),
          of(Seat::Champ),   of(Seat::Pinhead), of(Seat::Expert), of(Seat::Robot), t.untilTarget,
          t.initialCash,     t.cardBackIndex};
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
      {"a device", [](const TempDir& d) { ::mknod((d / "tavlor.ini").c_str(), S_IFCHR | 0666, makedev(1, 3)); }},
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
    EXPECT_EQ(g.dialogs.boxes, (std::vector<testing::Box>{{"Unable to write to " + path.string(), "Error",
                                                            BoxButtons::Ok}}));
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

}  // namespace
}  // namespace holdem
