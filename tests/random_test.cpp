#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "game/random.h"
#include "test_support.h"

namespace holdem {
namespace {

TEST(Random, SeedZeroStartsFromOneAndFirstDrawIs346) {
  Random r;
  r.seed(0);
  EXPECT_EQ(r.state(), 1u);
  EXPECT_EQ(r.nextRandom(), 346);
}

TEST(Random, SeedAdvancesTheLowHalfOnceAndLeavesTheHighHalfZero) {
  Random r;
  r.seed(0xFFFFFFFFu);
  // low = 0xFFFFFFFF * 22695477 + 1 (mod 2^32)
  EXPECT_EQ(r.state(), static_cast<uint32_t>(0xFFFFFFFFu * 22695477u + 1u));
  EXPECT_LT(r.state(), 1ull << 32);
}

TEST(Random, DrawIsTheHighHalfOfTheNextStateWithoutItsTopBit) {
  Random r;
  r.seed(12345);
  uint64_t s = r.state();
  for (int i = 0; i < 1000; ++i) {
    s = s * 1486058704437ull + 1;
    const int32_t want = static_cast<int32_t>((s >> 32) & 0x7FFFFFFF);
    ASSERT_EQ(r.nextRandom(), want) << "draw " << i;
  }
}

TEST(Random, SameSeedGivesSameSequenceAndOtherSeedsDiffer) {
  Random a, b, c;
  a.seed(1700000000);
  b.seed(1700000000);
  c.seed(1700000001);
  bool differs = false;
  for (int i = 0; i < 100; ++i) {
    const int32_t x = a.nextRandom();
    EXPECT_EQ(x, b.nextRandom());
    differs = differs || x != c.nextRandom();
  }
  EXPECT_TRUE(differs);
}

TEST(Deck, BuildDeckIsSuitMajor) {
  const Deck d = buildDeck();
  EXPECT_EQ(d[0], (Card{0, 0}));
  EXPECT_EQ(d[12], (Card{0, 12}));
  EXPECT_EQ(d[13], (Card{1, 0}));
  EXPECT_EQ(d[51], (Card{3, 12}));
  for (int i = 0; i < kDeckSize; ++i) EXPECT_EQ(d[i].imageIndex(), i);
}

TEST(Deck, ShufflesKeepEveryCardOnceAndDrawExactly40002Numbers) {
  Deck d = buildDeck();
  Random r, shadow;
  r.seed(42);
  shadow.seed(42);
  for (int round = 0; round < 50; ++round) {
    shuffleDeck(d, r);
    std::set<int> seen;
    for (Card c : d) seen.insert(c.imageIndex());
    ASSERT_EQ(seen.size(), 52u);
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), 51);
    for (int i = 0; i < 40002; ++i) shadow.nextRandom();
    ASSERT_EQ(r.state(), shadow.state());
  }
}

TEST(Deck, ShuffleSwapsThePositionsDrawnInPairs) {
  // The same swaps done by hand from the same draws.
  Deck d = buildDeck();
  Deck expected = d;
  Random r, shadow;
  r.seed(7);
  shadow.seed(7);
  shuffleDeck(d, r);
  for (int i = 0; i < kShuffleSwaps; ++i) {
    const int a = shadow.nextRandom() % 52;
    const int b = shadow.nextRandom() % 52;
    std::swap(expected[a], expected[b]);
  }
  EXPECT_EQ(d, expected);
}

TEST(Deck, DealGivesEachSeatItsFixedDeckPositions) {
  testing::Table table(1234);
  ASSERT_TRUE(table.start());
  const TableState& t = table.game->state();
  const std::pair<Seat, int> positions[] = {{Seat::Freak, 0},   {Seat::Player, 2}, {Seat::Geek, 4},
                                            {Seat::Master, 6},  {Seat::Champ, 8},  {Seat::Pinhead, 10},
                                            {Seat::Expert, 12}, {Seat::Robot, 14}};
  for (auto [seat, first] : positions) {
    EXPECT_EQ(t.hole[index(seat)][0], t.deck[first]) << info(seat).name;
    EXPECT_EQ(t.hole[index(seat)][1], t.deck[first + 1]) << info(seat).name;
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(t.board[i], t.deck[20 + i]);
}

TEST(Deck, StartUpDealsFromTheDeckBuiltAndShuffledOnceFromTheClock) {
  testing::Table table(987654321);
  ASSERT_TRUE(table.start());
  Deck expected = buildDeck();
  Random r;
  r.seed(987654321);
  shuffleDeck(expected, r);
  EXPECT_EQ(table.game->state().deck, expected);
}

}  // namespace
}  // namespace holdem
