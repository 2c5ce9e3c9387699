#include <gtest/gtest.h>

#include "test_support.h"

namespace holdem {
namespace {

using testing::Table;

constexpr std::array<Card, 2> kAces{Card{1, 12}, Card{2, 12}};
constexpr std::array<Card, 2> kKings{Card{1, 11}, Card{2, 11}};
constexpr std::array<Card, 2> kJunk{Card{1, 1}, Card{2, 3}};  // Three and Five

// A table at the end of the river: a dry board, junk in every hand but the
// ones given, everybody still in with 1000 chips.
struct ShowdownTable : Table {
  explicit ShowdownTable(std::map<Seat, std::array<Card, 2>> hands, int32_t pot = 100) : Table(7) {
    EXPECT_TRUE(start());
    dialogs.boxes.clear();
    TableState& t = state();
    t.board = {Card{0, 0}, Card{1, 5}, Card{2, 7}, Card{3, 9}, Card{0, 2}};
    for (int s = 0; s < kSeatCount; ++s) {
      t.hole[s] = kJunk;
      t.cash[s] = 1000;
    }
    for (auto [seat, cards] : hands) t.hole[index(seat)] = cards;
    t.folded.fill(false);
    t.raised.fill(false);
    t.foldCount = 0;
    t.pot = pot;
    t.potAwarded = false;
    t.bettingRound = kDealOver;
  }
  const std::string& status(Seat s) const { return view().status[index(s)]; }
  bool yellow(Seat s) const { return view().statusColor[index(s)] == LabelColor::Yellow; }
};

TEST(Showdown, HumanAloneWinsTheWholePot) {
  ShowdownTable table({{Seat::Player, kAces}});
  table.showdown();
  const TableState& t = table.game->state();
  EXPECT_EQ(table.view().result, "You win");
  EXPECT_EQ(t.cashOf(Seat::Player), 1100);
  EXPECT_EQ(t.handsPlayed, 1);
  EXPECT_EQ(t.handsWon, 1);
  EXPECT_TRUE(t.potAwarded);
  EXPECT_EQ(table.status(Seat::Player), "One pair Aces");
  EXPECT_EQ(table.status(Seat::Freak), "Jack");
  EXPECT_TRUE(table.yellow(Seat::Player));
  EXPECT_FALSE(table.yellow(Seat::Freak));
  EXPECT_TRUE(table.view().isEnabled(Button::Deal));
  EXPECT_FALSE(table.view().isEnabled(Button::CheckCall));
  EXPECT_EQ(table.view().cashText[index(Seat::Player)], "1100");
}

TEST(Showdown, ResultLineNamesTheWinnersInSeatOrder) {
  const struct {
    std::map<Seat, std::array<Card, 2>> hands;
    int32_t pot;
    std::string result;
    std::map<Seat, int32_t> cash;  // winners' cash afterwards
  } cases[] = {
      {{{Seat::Geek, kAces}}, 100, "Geek wins", {{Seat::Geek, 1100}}},
      {{{Seat::Player, kAces}, {Seat::Freak, kAces}}, 25, "You , Freak win", {{Seat::Player, 1012}, {Seat::Freak, 1012}}},
      {{{Seat::Freak, kKings}, {Seat::Geek, kKings}}, 25, "Freak , Geek win", {{Seat::Freak, 1012}, {Seat::Geek, 1012}}},
      {{{Seat::Champ, kKings}, {Seat::Robot, kKings}, {Seat::Pinhead, kKings}},
       100,
       "Champ , Pinhead , Robot win",
       {{Seat::Champ, 1033}, {Seat::Pinhead, 1033}, {Seat::Robot, 1033}}},
  };
  for (const auto& c : cases) {
    ShowdownTable table(c.hands, c.pot);
    table.showdown();
    EXPECT_EQ(table.view().result, c.result);
    EXPECT_EQ(table.game->state().showdown.winnerCount, static_cast<int>(c.cash.size()));
    for (auto [seat, cash] : c.cash) {
      EXPECT_EQ(table.game->state().cashOf(seat), cash) << c.result;
      EXPECT_TRUE(table.yellow(seat)) << c.result;
    }
  }
}

TEST(Showdown, FoldedHumanWithOneOpponentLeftShowsNoNames) {
  ShowdownTable table({{Seat::Player, kAces}});
  TableState& t = table.state();
  for (Seat s : kOpponents) t.folded[index(s)] = s != Seat::Geek;
  t.folded[index(Seat::Player)] = true;
  t.foldCount = 6;
  table.showdown();
  EXPECT_TRUE(t.foldedOutHidden);
  for (int s = 0; s < kSeatCount; ++s) EXPECT_EQ(table.view().status[s], "") << s;
  EXPECT_TRUE(table.yellow(Seat::Geek));
  EXPECT_EQ(table.view().result, "Geek wins");
  EXPECT_EQ(t.handsPlayed, 0);
  EXPECT_EQ(t.cashOf(Seat::Geek), 1100);
  // The last opponent's cards stay face down, the late board hidden.
  EXPECT_EQ(cardsShown(t, Seat::Geek), CardsShown::Back);
  EXPECT_EQ(boardCardsShown(t), 0);
}

TEST(Showdown, FoldedHumanWithThreeOpponentsLeftNamesTheirHands) {
  ShowdownTable table({{Seat::Master, kKings}});
  TableState& t = table.state();
  t.folded[index(Seat::Player)] = true;
  for (Seat s : {Seat::Freak, Seat::Geek, Seat::Champ, Seat::Robot}) t.folded[index(s)] = true;
  t.foldCount = 4;
  table.showdown();
  EXPECT_EQ(table.status(Seat::Master), "One pair Kings");
  EXPECT_EQ(table.status(Seat::Pinhead), "Jack");
  EXPECT_EQ(table.view().result, "Master wins");
  EXPECT_EQ(boardCardsShown(t), 5);
  EXPECT_EQ(cardsShown(t, Seat::Master), CardsShown::Up);
}

TEST(Showdown, SeatThatWentBrokeDuringTheDealTakesNoPart) {
  ShowdownTable table({{Seat::Freak, kAces}, {Seat::Geek, kKings}});
  table.setCash(Seat::Freak, 0);
  table.showdown();
  EXPECT_EQ(table.view().result, "Geek wins");
  EXPECT_EQ(table.game->state().cashOf(Seat::Freak), 0);
  EXPECT_EQ(table.game->state().showdown.showdownValue[index(Seat::Freak)], -150);
}

TEST(Showdown, SecondRunPaysNothingAndShowsNoBox) {
  ShowdownTable table({{Seat::Player, kAces}});
  table.state().untilTarget = 0;
  table.state().initialCash = 1000;
  table.showdown();
  EXPECT_FALSE(table.dialogs.boxes.empty());
  const TableState first = table.game->state();
  const TableView firstView = table.view();
  table.dialogs.boxes.clear();
  table.showdown();
  EXPECT_TRUE(table.dialogs.boxes.empty());
  EXPECT_EQ(table.game->state().cash, first.cash);
  EXPECT_EQ(table.game->state().handsPlayed, 1);
  EXPECT_EQ(table.game->state().handsWon, 1);
  EXPECT_EQ(table.view().status, firstView.status);
  EXPECT_EQ(table.view().result, firstView.result);
  EXPECT_FALSE(table.view().isEnabled(Button::Deal));
}

TEST(Showdown, ReachingTheTargetExactlyEndsTheGameOneChipLessDoesNot) {
  for (const int32_t start : {1700, 1699}) {
    ShowdownTable table({{Seat::Player, kAces}});
    table.setCash(Seat::Player, start);
    table.showdown();
    const bool ended = start == 1700;  // 1700 + 100 = 1200 + 600
    EXPECT_EQ(table.dialogs.texts(), ended ? std::vector<std::string>{"You win!"} : std::vector<std::string>{});
    EXPECT_EQ(table.view().isEnabled(Button::Deal), !ended);
  }
}

TEST(Showdown, EverySeatAtTheTargetGetsItsBoxInSeatOrder) {
  ShowdownTable table({{Seat::Robot, kAces}});
  table.setCash(Seat::Champ, 5000);
  table.setCash(Seat::Player, 1800);
  table.setCash(Seat::Robot, 1750);
  table.showdown();
  EXPECT_EQ(table.dialogs.texts(), (std::vector<std::string>{"You win!", "Champ wins", "Robot wins"}));
  for (const auto& box : table.dialogs.boxes) EXPECT_EQ(box.caption, "Game over");
}

TEST(Showdown, NobodyTakingPartMeansNobodyWins) {
  ShowdownTable table({});
  TableState& t = table.state();
  t.folded.fill(true);
  t.foldCount = 6;  // six folds counted; the seventh seat went broke in play
  t.folded[index(Seat::Champ)] = false;
  table.setCash(Seat::Champ, -3);
  const PerSeat<int32_t> cash = t.cash;
  table.showdown();
  EXPECT_EQ(table.view().result, "");
  EXPECT_EQ(t.showdown.winnerCount, 0);
  EXPECT_EQ(t.cash, cash);
  EXPECT_EQ(t.handsPlayed, 0);
  EXPECT_EQ(t.handsWon, 0);
  EXPECT_TRUE(t.potAwarded);
  for (int s = 0; s < kSeatCount; ++s) EXPECT_FALSE(table.yellow(static_cast<Seat>(s)));
  EXPECT_TRUE(table.view().isEnabled(Button::Deal));
}

}  // namespace
}  // namespace holdem
