#include <gtest/gtest.h>

#include "game/settings_file.h"
#include "test_support.h"

namespace holdem {
namespace {

using testing::StartedTable;

TEST(StartUp, FirstRunWritesEveryKeyAndDealsWithExpertAndRobotOnTheBlinds) {
  const testing::TempDir dir;
  SettingsFile file(dir / "holdem" / "tavlor.ini");
  testing::RecordingDialogs dialogs;
  NullCanvas canvas;
  FixedClock clock(1);
  Game game(file, dialogs, canvas, clock);
  ASSERT_TRUE(game.startUp());

  EXPECT_EQ(testing::readBytes(dir / "holdem" / "tavlor.ini"),
            "[Background]\nColor=0\n[Cash]\nfreak=1200\nplayer=1200\ngeek=1200\nmaster=1200\nchamp=1200\n"
            "pinhead=1200\nexpert=1200\nrobot=1200\nuntil=600\ninitial=1200\n[Card]\nback=52\n");
  const TableState& t = game.state();
  const TableView& v = game.view();
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(t.cash, (PerSeat<int32_t>{1200, 1200, 1200, 1200, 1200, 1200, 1199, 1198}));
  EXPECT_EQ(v.cashText, (PerSeat<std::string>{"1200", "1200", "1200", "1200", "1200", "1200", "1199", "1198"}));
  EXPECT_EQ(t.pot, 3);
  EXPECT_EQ(v.potText, "3");
  EXPECT_EQ(v.money, "1200");
  EXPECT_EQ(v.until, "600");
  EXPECT_EQ(v.status, (PerSeat<std::string>{"", "", "", "", "", "", "small blind", "big blind"}));
  EXPECT_EQ(v.enabled, (std::array<bool, kButtonCount>{false, true, true, true}));
  EXPECT_EQ(v.stayCaption, "Call");
  EXPECT_EQ(v.backItem, 0);
  EXPECT_EQ(v.level, 0);
  EXPECT_FALSE(v.panelVisible);
  EXPECT_EQ(t.bettingRound, kPreFlop);
  EXPECT_EQ(t.bigBlindSeat, 1);
  EXPECT_EQ(t.closingSeat, 1);
  EXPECT_EQ(t.currentBet, 2);
  EXPECT_TRUE(t.raised[index(Seat::Robot)]);
  EXPECT_EQ(t.peekThreshold, 100);
  EXPECT_TRUE(t.playerIsAggressive);
  EXPECT_EQ(t.dealsCount, 1);
}

TEST(StartUp, ValuesAreTakenAsTheyStandAndWrittenBack) {
  StartedTable table(5, {{"Cash/player", 0}, {"Cash/expert", 0}, {"Cash/robot", -7}, {"Cash/initial", 50},
                  {"Cash/until", 3}, {"Card/back", 54}, {"Background/Color", 77}});
  const TableState& t = table.game->state();
  // The human and Robot are broke: both count as out of the first deal.
  EXPECT_EQ(t.foldCount, 3);
  // A broke Expert is named for the small blind but pays nothing.
  EXPECT_EQ(table.view().status[index(Seat::Expert)], "small blind");
  EXPECT_EQ(t.cashOf(Seat::Expert), 0);
  EXPECT_EQ(t.cashOf(Seat::Robot), -7);
  EXPECT_EQ(t.pot, 3);
  EXPECT_EQ(t.initialCash, 50);
  EXPECT_EQ(t.untilTarget, 3);
  EXPECT_EQ(table.view().backItem, 2);
  EXPECT_EQ(table.settings.values.at("Background/Color"), 77);
  EXPECT_EQ(table.settings.values.at("Cash/player"), 0);
  const std::vector<std::string> order = {"Background/Color", "Cash/freak",   "Cash/player", "Cash/geek",
                                          "Cash/master",      "Cash/champ",   "Cash/pinhead", "Cash/expert",
                                          "Cash/robot",       "Cash/until",   "Cash/initial", "Card/back"};
  EXPECT_EQ(table.settings.written, order);
}

TEST(StartUp, CardBackThatIsNoBackSelectsNothingAndDrawsTheFirstBack) {
  StartedTable table(5, {{"Card/back", 99}});
  EXPECT_EQ(table.view().backItem, -1);
  EXPECT_EQ(table.game->state().cardBackIndex, 99);
  EXPECT_EQ(table.settings.values.at("Card/back"), 99);
  table.game->paintTable();
  int backs = 0;
  for (const auto& c : table.canvas.cards) {
    EXPECT_LT(c.image, 53);
    backs += c.image == 52;
  }
  EXPECT_EQ(backs, 14);
}

}  // namespace
}  // namespace holdem
