#include <gtest/gtest.h>

#include <algorithm>

#include "game/random.h"
#include "test_support.h"

namespace holdem {
namespace {

TEST(Random, SeedAndDraws) {
  Random r;
  r.seed(0);
  EXPECT_EQ(r.state(), 1u);  // seed 0 starts from 1
  EXPECT_EQ(r.nextRandom(), 346);
  // A seed advances the low half once and leaves the high half zero.
  r.seed(0xFFFFFFFFu);
  EXPECT_EQ(r.state(), static_cast<uint32_t>(0xFFFFFFFFu * 22695477u + 1u));
  // A draw is the high half of the next state without its top bit.
  r.seed(12345);
  uint64_t s = r.state();
  for (int i = 0; i < 1000; ++i) {
    s = s * 1486058704437ull + 1;
    ASSERT_EQ(r.nextRandom(), static_cast<int32_t>((s >> 32) & 0x7FFFFFFF)) << "draw " << i;
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
  for (int i = 0; i < kDeckSize; ++i) EXPECT_EQ(d[i], (Card{i / 13, i % 13}));
}

// A shuffle swaps the positions drawn, in pairs, 20001 times: the deck stays
// a permutation of the 52 cards, and exactly 40002 numbers are drawn.
TEST(Deck, ShuffleSwapsThePositionsDrawnInPairs) {
  Deck d = buildDeck();
  Deck expected = d;
  Random r, shadow;
  r.seed(7);
  shadow.seed(7);
  for (int round = 0; round < 50; ++round) {
    shuffleDeck(d, r);
    for (int i = 0; i < kShuffleSwaps; ++i) {
      const int a = shadow.nextRandom() % 52;
      const int b = shadow.nextRandom() % 52;
      std::swap(expected[a], expected[b]);
    }
    ASSERT_EQ(d, expected);
    ASSERT_EQ(r.state(), shadow.state());
    Deck sorted = d;
    std::sort(sorted.begin(), sorted.end(), [](Card x, Card y) { return x.imageIndex() < y.imageIndex(); });
    ASSERT_EQ(sorted, buildDeck());
  }
  EXPECT_EQ(kShuffleSwaps * 2, 40002);
}

// Start-up deals from the deck built and shuffled once from the clock, each
// seat from its fixed positions.
TEST(Deck, StartUpDealsEachSeatItsFixedDeckPositions) {
  testing::StartedTable table(987654321);
  const TableState& t = table.game->state();
  Deck expected = buildDeck();
  Random r;
  r.seed(987654321);
  shuffleDeck(expected, r);
  EXPECT_EQ(t.deck, expected);
  const std::pair<Seat, int> positions[] = {{Seat::Freak, 0},   {Seat::Player, 2}, {Seat::Geek, 4},
                                            {Seat::Master, 6},  {Seat::Champ, 8},  {Seat::Pinhead, 10},
                                            {Seat::Expert, 12}, {Seat::Robot, 14}};
  for (auto [seat, first] : positions) {
    EXPECT_EQ(t.hole[index(seat)][0], t.deck[first]) << info(seat).name;
    EXPECT_EQ(t.hole[index(seat)][1], t.deck[first + 1]) << info(seat).name;
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(t.board[i], t.deck[20 + i]);
}

}  // namespace
}  // namespace holdem
