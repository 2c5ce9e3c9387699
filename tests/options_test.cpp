#include <gtest/gtest.h>

#include "test_support.h"

namespace holdem {
namespace {

using testing::StartedTable;

TEST(WholeNumber, OnlySignAndDigitsWithin32Bits) {
  const struct {
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {"100", 100},      {"+100", 100},       {"-5", -5},          {"0", 0},
      {"007", 7},        {"2147483647", 2147483647},               {"-2147483648", INT32_MIN},
      {"2147483648", {}}, {"-2147483649", {}}, {"", {}},            {"+", {}},
      {"-", {}},         {" 100", {}},        {"100 ", {}},         {"1.5", {}},
      {"0x64", {}},      {"abc", {}},         {"1e3", {}},          {"+-1", {}},
      {"99999999999999999999", {}},           {"\xd9\xa1", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(parseWholeNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(Options, InitialCashAndTargetWithinLimitsAreTakenAndSaved) {
  const struct {
    const char* text;
    const char* box;  // what the player is told
    bool taken;
  } cases[] = {
      {"100", nullptr, true},
      {"1000000", nullptr, true},
      {"99", "the value is off limits", false},
      {"1000001", "the value is off limits", false},
      {"-100", "the value is off limits", false},
      {"abc", "Invalid value", false},
      {"", "Invalid value", false},
      {"12 ", "Invalid value", false},
  };
  for (const bool target : {false, true}) {
    for (const auto& c : cases) {
      StartedTable table(3);
      table.settings.written.clear();
      const TableState before = table.game->state();
      if (target) {
        table.game->setUntilText(c.text);
        table.game->enterTarget();
      } else {
        table.game->setMoneyText(c.text);
        table.game->enterInitialCash();
      }
      const std::string key = target ? "Cash/until" : "Cash/initial";
      const TableState& t = table.game->state();
      if (c.taken) {
        const int32_t value = std::stoi(c.text);
        EXPECT_EQ(table.dialogs.texts(), std::vector<std::string>{target ? "New until value confirmation"
                                                                          : "New initial cash value confirmation"});
        EXPECT_EQ(table.dialogs.boxes[0].caption, "");
        EXPECT_EQ(table.settings.values.at(key), value);
        EXPECT_EQ(table.settings.written, std::vector<std::string>{key});
        EXPECT_EQ(target ? t.untilTarget : t.initialCash, value);
      } else {
        EXPECT_EQ(table.dialogs.texts(), std::vector<std::string>{c.box}) << c.text;
        EXPECT_TRUE(table.settings.written.empty());
        EXPECT_EQ(t.initialCash, before.initialCash);
        EXPECT_EQ(t.untilTarget, before.untilTarget);
        EXPECT_EQ(t.cash, before.cash);
      }
    }
  }
}

TEST(Options, NewInitialCashDuringADealSetsEveryStackAndLeavesThePot) {
  StartedTable table(4);
  table.game->click(Button::CheckCall);
  const TableState before = table.game->state();
  table.game->setMoneyText("5000");
  table.game->enterInitialCash();
  const TableState& t = table.game->state();
  for (int s = 0; s < kSeatCount; ++s) {
    EXPECT_EQ(t.cash[s], 5000);
    EXPECT_EQ(table.view().cashText[s], "5000");
  }
  EXPECT_EQ(t.pot, before.pot);
  EXPECT_EQ(t.currentBet, before.currentBet);
  EXPECT_EQ(t.bettingRound, before.bettingRound);
  EXPECT_EQ(t.dealsCount, before.dealsCount);
}

TEST(Options, FailedSaveOfTheInitialCashLeavesTheStacks) {
  StartedTable table(4);
  table.settings.failWrites = true;
  table.game->setMoneyText("5000");
  table.game->enterInitialCash();
  EXPECT_EQ(table.dialogs.texts(), (std::vector<std::string>{"New initial cash value confirmation",
                                                             "Unable to write to /somewhere/tavlor.ini"}));
  EXPECT_EQ(table.game->state().cashOf(Seat::Freak), 1200);
}

TEST(Options, BettingLimitStaysWithinOneToFive) {
  StartedTable table(4);
  Game& g = *table.game;
  const struct {
    int step;
    const char* small;
    const char* big;
  } clicks[] = {{-1, "2", "4"}, {+1, "4", "8"}, {+1, "6", "12"}, {+1, "8", "16"}, {+1, "10", "20"},
                {+1, "10", "20"}, {-1, "8", "16"}, {-1, "6", "12"}, {-1, "4", "8"}, {-1, "2", "4"}, {-1, "2", "4"}};
  for (const auto& c : clicks) {
    g.changeBettingLimit(c.step);
    EXPECT_EQ(g.view().smallBetText, c.small);
    EXPECT_EQ(g.view().bigBetText, c.big);
    EXPECT_EQ(std::to_string(g.state().smallBet), c.small);
    EXPECT_EQ(std::to_string(g.state().bigBet), c.big);
  }
  EXPECT_TRUE(table.settings.written.size() == 12);  // nothing saved beyond start-up
}

TEST(Options, CardBackRepaintsTheBacksAtOnceAndIsSaved) {
  StartedTable table(4);
  table.canvas.clear();
  table.game->chooseCardBack(2);
  EXPECT_EQ(table.settings.values.at("Card/back"), 54);
  EXPECT_EQ(table.game->state().cardBackIndex, 54);
  EXPECT_EQ(table.view().backItem, 2);
  int backs = 0;
  for (const auto& c : table.canvas.cards) backs += c.image == 54;
  EXPECT_EQ(backs, 14);  // two for each opponent
  EXPECT_EQ(table.canvas.pixels.size(), 16u * 12u);
}

TEST(Options, LevelTakesEffectAtTheNextDealOnly) {
  StartedTable table(4);
  Game& g = *table.game;
  g.selectLevel(3);
  EXPECT_EQ(g.state().peekThreshold, 100);
  g.click(Button::Fold);
  g.click(Button::Deal);
  EXPECT_EQ(g.state().peekThreshold, 20);
  g.selectLevel(1);
  table.dialogs.answerYes = true;
  g.newGame();
  EXPECT_EQ(g.state().peekThreshold, 20);  // the new game's first deal keeps the old level
  g.click(Button::Fold);
  g.click(Button::Deal);
  EXPECT_EQ(g.state().peekThreshold, 70);
  for (int level : {0, 2}) {
    g.selectLevel(level);
    g.click(Button::Fold);
    g.click(Button::Deal);
    EXPECT_EQ(g.state().peekThreshold, level == 0 ? 100 : 50);
  }
}

// New game answered No, or with an initial cash that is no whole number,
// changes nothing.
TEST(NewGame, AnsweredNoOrWithoutAWholeNumberChangesNothing) {
  const struct {
    bool yes;
    const char* money;
    std::vector<std::string> boxes;
  } cases[] = {{false, "1200", {"Are you sure?"}}, {true, "12.5", {"Are you sure?", "Invalid value"}}};
  for (const auto& c : cases) {
    StartedTable table(4);
    Game& g = *table.game;
    g.click(Button::Fold);
    g.click(Button::Deal);
    const TableState before = g.state();
    const TableView viewBefore = g.view();
    table.dialogs.answerYes = c.yes;
    g.setMoneyText(c.money);
    g.newGame();
    EXPECT_EQ(table.dialogs.texts(), c.boxes);
    EXPECT_EQ(table.dialogs.boxes[0].caption, "New game");
    EXPECT_EQ(table.dialogs.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(g.state().dealsCount, before.dealsCount);
    EXPECT_EQ(g.state().cash, before.cash);
    EXPECT_EQ(g.state().deck, before.deck);
    EXPECT_EQ(g.view().status, viewBefore.status);
  }
}

// New game starts every seat from the edit box, without its limits, and
// deals twice from the clock: the first deal is dealt over at once.
TEST(NewGame, StartsEverySeatFromTheEditBoxAndPlaysTheSecondDealOfTheClock) {
  StartedTable table(4);
  Game& g = *table.game;
  g.click(Button::CheckCall);
  g.setMoneyText("50");
  g.newGame();
  const TableState& t = g.state();
  EXPECT_EQ(t.initialCash, 50);
  for (Seat s : {Seat::Player, Seat::Freak, Seat::Geek, Seat::Master, Seat::Champ, Seat::Pinhead}) {
    EXPECT_EQ(t.cashOf(s), 50);
  }
  EXPECT_EQ(t.cashOf(Seat::Expert), 49);
  EXPECT_EQ(t.cashOf(Seat::Robot), 48);
  EXPECT_EQ(t.dealsCount, 1);
  EXPECT_EQ(t.handsPlayed, 0);
  EXPECT_EQ(t.dealsDealt, 3);
  EXPECT_EQ(t.bigBlindSeat, 1);
  EXPECT_EQ(t.bettingRound, kPreFlop);
  EXPECT_TRUE(t.raised[index(Seat::Robot)]);
  EXPECT_EQ(g.view().stayCaption, "Call");
  EXPECT_FALSE(g.view().isEnabled(Button::Deal));
  EXPECT_TRUE(table.settings.written.size() == 12);  // a new game saves nothing
  Random check;
  check.seed(4);
  for (int i = 0; i < 4 * kShuffleSwaps; ++i) check.nextRandom();
  EXPECT_EQ(GameTesting::random(g).state(), check.state());
  EXPECT_EQ(t.hole[index(Seat::Freak)][0], t.deck[0]);  // the deck as the second shuffle left it
}

TEST(Menu, OptionsTogglesThePanelAndCloseHidesIt) {
  StartedTable table(4);
  Game& g = *table.game;
  EXPECT_FALSE(g.view().panelVisible);
  g.toggleOptions();
  EXPECT_TRUE(g.view().panelVisible);
  g.toggleOptions();
  EXPECT_FALSE(g.view().panelVisible);
  g.toggleOptions();
  g.closeOptions();
  EXPECT_FALSE(g.view().panelVisible);
}

}  // namespace
}  // namespace holdem
