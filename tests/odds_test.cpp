#include "eval/odds.h"

#include <gtest/gtest.h>

#include <numeric>

namespace holdem {
namespace {

constexpr Card c(int suit, int rank) { return Card{suit, rank}; }
constexpr int kClubs = 0, kDiamonds = 1, kHearts = 2, kSpades = 3;

double sum(const WinningChances& w) { return std::accumulate(w.chance.begin(), w.chance.end(), 0.0); }

// On the turn, a pair of Aces against a club draw: the draw wins with each
// of the nine clubs left and the three other Tens, 12 of the 44 cards.
TEST(Odds, CountsEveryRiverCardOnTheTurn) {
  const HoleCards hands[] = {{c(kSpades, kAce), c(kDiamonds, kAce)}, {c(kClubs, kQueen), c(kClubs, kJack)}};
  const Card board[] = {c(kClubs, kTwo), c(kDiamonds, kSeven), c(kHearts, kNine), c(kClubs, kKing)};
  const WinningChances w = winningChances(hands, board, {});
  EXPECT_TRUE(w.exact);
  EXPECT_EQ(w.boards, 44);
  EXPECT_DOUBLE_EQ(w.chance[1], 12.0 / 44);
  EXPECT_DOUBLE_EQ(w.chance[0], 32.0 / 44);
  // A card out of play can come no more: with the Ten of clubs dead, 11 of 43.
  const Card dead[] = {c(kClubs, kTen)};
  EXPECT_DOUBLE_EQ(winningChances(hands, board, dead).chance[1], 11.0 / 43);
  // With the whole deck counted out of play, no river can come: no board is
  // counted and no hand has a chance.
  std::vector<Card> deck;
  for (int i = 0; i < 52; ++i) deck.push_back(c(i / 13, i % 13));
  const WinningChances none = winningChances(hands, board, deck);
  EXPECT_EQ(none.boards, 0);
  EXPECT_EQ(none.chance, (std::vector<double>{0.0, 0.0}));
}

// On the river the hands are settled: a win is 1, a shared pot shares it.
TEST(Odds, SettledHandsOnTheRiverWinOrShare) {
  const Card board[] = {c(kClubs, kTwo), c(kDiamonds, kSeven), c(kHearts, kNine), c(kClubs, kKing),
                        c(kSpades, kThree)};
  const HoleCards kings[] = {{c(kHearts, kKing), c(kDiamonds, kFour)},
                             {c(kSpades, kKing), c(kClubs, kFour)},
                             {c(kHearts, kQueen), c(kHearts, kJack)}};
  const WinningChances w = winningChances(kings, board, {});
  EXPECT_EQ(w.boards, 1);
  EXPECT_EQ(w.chance, (std::vector<double>{0.5, 0.5, 0.0}));
}

// Before the flop there are too many boards to count: random boards give
// what counting all of them gives, to within a hundredth.
TEST(Odds, RandomBoardsAgreeWithCountingThemAll) {
  const HoleCards hands[] = {{c(kSpades, kAce), c(kHearts, kAce)},
                             {c(kDiamonds, kKing), c(kClubs, kKing)},
                             {c(kHearts, kEight), c(kHearts, kNine)}};
  const WinningChances drawn = winningChances(hands, {}, {});
  EXPECT_FALSE(drawn.exact);
  EXPECT_GE(drawn.boards, 20'000);
  const WinningChances counted = winningChances(hands, {}, {}, /*exactLimit=*/2'000'000);
  EXPECT_TRUE(counted.exact);
  EXPECT_EQ(counted.boards, 1'370'754);  // 46 cards choose 5
  for (size_t h = 0; h < 3; ++h) EXPECT_NEAR(drawn.chance[h], counted.chance[h], 0.01) << h;
  EXPECT_NEAR(sum(counted), 1.0, 1e-9);
  EXPECT_GT(counted.chance[0], counted.chance[2]);
  EXPECT_GT(counted.chance[2], counted.chance[1]);  // suited connectors run over the Kings
  // The same point always gives the same figures.
  EXPECT_EQ(winningChances(hands, {}, {}).chance, drawn.chance);
}

}  // namespace
}  // namespace holdem
