// The showdown from set-up tables: who takes part, who wins, what is paid,
// and the boxes of a game that ends.
#include <gtest/gtest.h>

#include <map>

#include "test_support.h"

namespace holdem {
namespace {

constexpr std::array<Card, 2> kAces{Card{1, kAce}, Card{2, kAce}};
constexpr std::array<Card, 2> kKings{Card{1, kKing}, Card{2, kKing}};
constexpr std::array<Card, 2> kJunk{Card{1, kThree}, Card{2, kFive}};

// A table at the end of the river: a dry board, junk in every hand but the
// ones given, everybody still in with 1000 chips.
struct ShowdownTable : testing::Table {
  explicit ShowdownTable(std::map<Seat, std::array<Card, 2>> hands, int32_t pot = 100) : Table(7) {
    EXPECT_TRUE(start());
    TableState& t = state();
    t.board = {Card{0, kTwo}, Card{1, kSeven}, Card{2, kNine}, Card{3, kJack}, Card{0, kFour}};
    for (int s = 0; s < kSeatCount; ++s) {
      t.hole[s] = kJunk;
      setCash(static_cast<Seat>(s), 1000);
    }
    for (auto [seat, cards] : hands) t.hole[index(seat)] = cards;
    t.folded.fill(false);
    t.raised.fill(false);
    t.foldCount = 0;
    t.pot = pot;
    t.bettingRound = kDealOver;
  }
  bool yellow(Seat s) const { return view().statusColor[index(s)] == LabelColor::Yellow; }
};

TEST(Showdown, BestHandsShareThePotAndTheResultLineNamesThemInSeatOrder) {
  const struct {
    std::map<Seat, std::array<Card, 2>> hands;
    int32_t pot;
    std::string result;
    std::map<Seat, int32_t> cash;  // the winners' chips afterwards; what does not divide is lost
  } cases[] = {
      {{{Seat::Player, kAces}}, 100, "You win", {{Seat::Player, 1100}}},
      {{{Seat::Geek, kAces}}, 100, "Geek wins", {{Seat::Geek, 1100}}},
      {{{Seat::Player, kAces}, {Seat::Freak, kAces}},
       25,
       "You , Freak win",
       {{Seat::Player, 1012}, {Seat::Freak, 1012}}},
      {{{Seat::Champ, kKings}, {Seat::Robot, kKings}, {Seat::Pinhead, kKings}},
       100,
       "Champ , Pinhead , Robot win",
       {{Seat::Champ, 1033}, {Seat::Pinhead, 1033}, {Seat::Robot, 1033}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    ShowdownTable table(c.hands, c.pot);
    table.showdown();
    const TableState& t = table.game->state();
    EXPECT_EQ(table.view().result, c.result);
    EXPECT_EQ(t.showdown.winnerCount, static_cast<int>(c.cash.size()));
    for (int s = 0; s < kSeatCount; ++s) {
      const auto won = c.cash.find(static_cast<Seat>(s));
      EXPECT_EQ(t.cash[s], won == c.cash.end() ? 1000 : won->second) << s;
      EXPECT_EQ(table.view().cashText[s], std::to_string(t.cash[s]));
      EXPECT_EQ(table.yellow(static_cast<Seat>(s)), won != c.cash.end()) << s;
    }
    EXPECT_EQ(table.status(Seat::Player), c.hands.count(Seat::Player) ? "One pair Aces" : "Jack");
    EXPECT_EQ(t.handsPlayed, 1);
    EXPECT_EQ(t.handsWon, c.cash.count(Seat::Player) ? 1 : 0);
    EXPECT_TRUE(t.potAwarded);
    EXPECT_EQ(table.view().enabled, (std::array<bool, kButtonCount>{true, false, false, false}));
  }
}

// The human folded and one opponent is left: it wins unseen, its cards stay
// down, the late board hidden, and no hand is named. With three opponents
// left, every hand in is shown and named.
TEST(Showdown, FoldedHumanWithOneOpponentLeftShowsNothingWithThreeShowsAll) {
  for (const int left : {1, 3}) {
    ShowdownTable table({{Seat::Master, kKings}});
    TableState& t = table.state();
    t.folded.fill(true);
    for (Seat s : {Seat::Master, Seat::Pinhead, Seat::Expert})
      t.folded[index(s)] = !(left == 3 || s == Seat::Master);
    t.foldCount = kOpponentCount - left;
    table.showdown();
    EXPECT_EQ(t.foldedOutHidden, left == 1);
    EXPECT_EQ(table.status(Seat::Master), left == 1 ? "" : "One pair Kings");
    EXPECT_EQ(table.status(Seat::Pinhead), left == 1 ? "" : "Jack");
    EXPECT_EQ(table.view().result, "Master wins");
    EXPECT_EQ(t.cashOf(Seat::Master), 1100);
    EXPECT_EQ(t.handsPlayed, 0);
    EXPECT_EQ(cardsShown(t, Seat::Master), left == 1 ? CardsShown::Back : CardsShown::Up);
    EXPECT_EQ(boardCardsShown(t), left == 1 ? 0 : 5);
    EXPECT_EQ(testing::cardsMissing(table.onTable, t), std::vector<std::string>{});
  }
}

TEST(Showdown, SeatThatWentBrokeDuringTheDealTakesNoPart) {
  ShowdownTable table({{Seat::Freak, kAces}, {Seat::Geek, kKings}});
  table.setCash(Seat::Freak, 0);
  table.showdown();
  EXPECT_EQ(table.view().result, "Geek wins");
  EXPECT_EQ(table.game->state().cashOf(Seat::Freak), 0);
  EXPECT_EQ(table.game->state().showdown.showdownValue[index(Seat::Freak)], info(Seat::Freak).outMarker);
}

}  // namespace
}  // namespace holdem
