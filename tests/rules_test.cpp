#include <gtest/gtest.h>

#include "ai/rules.h"
#include "test_support.h"

namespace holdem {
namespace {

HandRating hand(int32_t value, bool straightDraw = false, bool flushDraw = false, bool connected = false,
                bool suited = false) {
  return {value, 0, straightDraw, flushDraw, connected, suited};
}

TEST(RaiseChance, ByRoundAndHand) {
  const struct {
    int32_t round;
    HandRating rating;
    int32_t chance;
  } cases[] = {
      // Pre-flop.
      {1, hand(12), 0},
      {1, hand(12, false, false, false, true), 20},
      {1, hand(12, false, false, true, true), 15},  // connected wins over suited
      {1, hand(9, false, false, true, true), 0},    // Jack-high is not above 9
      {1, hand(100, false, false, true, true), 15},
      {1, hand(101), 35},
      {1, hand(108), 35},
      {1, hand(109), 55},
      // Flop, turn and river by hand class.
      {2, hand(401), 100}, {3, hand(401), 100}, {4, hand(401), 100},
      {2, hand(400), 80},  {3, hand(400), 80},  {4, hand(400), 90},
      {2, hand(301), 80},  {4, hand(301), 90},
      {2, hand(300), 40},  {3, hand(201), 40},  {4, hand(201), 30},
      {2, hand(200), 20},  {3, hand(109), 20},  {4, hand(109), 15},
      {2, hand(108), 10},  {3, hand(101), 5},   {4, hand(101), 5},
      {2, hand(100), 0},   {3, hand(0), 0},
      {2, hand(100, true), 15}, {3, hand(0, false, true), 15},
      {2, hand(105, true), 10},  // a made pair outranks the draw
  };
  for (const auto& c : cases) {
    EXPECT_EQ(raiseChance(c.round, c.rating), c.chance) << "round " << c.round << " value " << c.rating.handValue;
  }
}

TEST(FoldChance, ByRoundHandDrawAndAggression) {
  const struct {
    int32_t round;
    HandRating rating;
    bool aggressive;
    int32_t chance;
  } cases[] = {
      {1, hand(101), false, 0},   {1, hand(100), false, 50},  {1, hand(9), true, 50},
      {1, hand(12), false, 50},   {1, hand(8), false, 100},   {1, hand(8, false, false, true), false, 10},
      {1, hand(8, false, false, false, true), true, 10},      {1, hand(7, false, false, true, true), false, 100},
      // Flop: the four columns.
      {2, hand(200), false, 0},   {2, hand(108), false, 30},  {2, hand(108), true, 10},
      {2, hand(199, true), false, 5}, {2, hand(150, false, true), true, 0},
      {2, hand(100), false, 60},  {2, hand(107), true, 50},   {2, hand(100, true), false, 20},
      {2, hand(107, true), true, 10}, {2, hand(99), false, 100}, {2, hand(0), true, 100},
      {2, hand(0, true), false, 20}, {2, hand(0, false, true), true, 10},
      // Turn.
      {3, hand(300), false, 0},   {3, hand(299, true), false, 5}, {3, hand(200), true, 0},
      {3, hand(108), false, 10},  {3, hand(108, true), true, 0},  {3, hand(100), false, 50},
      {3, hand(100), true, 20},   {3, hand(100, true), false, 30}, {3, hand(107, true), true, 5},
      {3, hand(99), false, 50},   {3, hand(0), true, 60},     {3, hand(0, true), false, 30},
      {3, hand(0, true), true, 5},
      // River and showdown: draws do not count.
      {4, hand(200), false, 0},   {4, hand(108), false, 10},  {4, hand(108), true, 0},
      {4, hand(100), true, 90},   {4, hand(99, true), false, 100}, {5, hand(100), false, 90},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(foldChance(c.round, c.rating, c.aggressive), c.chance)
        << "round " << c.round << " value " << c.rating.handValue << " aggressive " << c.aggressive;
  }
}

// A responder's fold: table chance - 20 + bet, then a draw above 100 minus it.
TEST(Opponents, PairOfTwosOnTheRiverFoldsSeventyThreePercentAgainstABetOfFour) {
  testing::StartedTable table(5);
  TableState& t = table.state();
  t.bettingRound = kRiver;
  t.board = {Card{0, 12}, Card{1, 10}, Card{2, 8}, Card{3, 6}, Card{0, 4}};
  t.hole[index(Seat::Freak)] = {Card{1, 0}, Card{2, 0}};
  t.currentBet = 4;
  int folds = 0;
  const int trials = 2000;
  for (int i = 0; i < trials; ++i) {
    t.folded[index(Seat::Freak)] = false;
    table.setCash(Seat::Freak, 1000);
    t.foldCount = 0;
    Random shadow = table.random();
    const int32_t draw = shadow.nextRandom() % 100;
    table.opponentRespond(seatNumber(Seat::Freak));
    EXPECT_EQ(t.decision.decisionChance, 90 - 20 + 4);
    // At Amateur level only the call decision counts.
    ASSERT_EQ(t.folded[index(Seat::Freak)], draw > 100 - 74);
    folds += t.folded[index(Seat::Freak)];
  }
  EXPECT_NEAR(folds / static_cast<double>(trials), 0.73, 0.04);
}

TEST(Opponents, EveryResponseDrawsTwoNumbersAndEveryTurnOne) {
  testing::StartedTable table(5);
  for (int level = 0; level < 4; ++level) {
    table.game->selectLevel(level);
    Random shadow = table.random();
    table.state().currentBet = 2;
    table.state().folded[index(Seat::Master)] = false;
    table.setCash(Seat::Master, 500);
    table.opponentRespond(seatNumber(Seat::Master));
    shadow.nextRandom();
    shadow.nextRandom();
    EXPECT_EQ(table.random().state(), shadow.state()) << "level " << level;
  }
  table.state().folded[index(Seat::Master)] = false;
  table.setCash(Seat::Master, 500);
  table.state().bettingRound = kFlop;
  table.state().closingSeat = 8;
  Random shadow = table.random();
  table.opponentTurn(seatNumber(Seat::Master));
  shadow.nextRandom();
  // A raise makes the later seats answer; count only a check.
  if (table.view().status[index(Seat::Master)] == "Check") {
    EXPECT_EQ(table.random().state(), shadow.state());
  }
}

TEST(Opponents, PeekComparesWithTheHumansHandLessTheBoard) {
  // King-high board: the human's pair of Fives counts 103 - 11 = 92, so a
  // responder with a pair of Twos (100) knows it is ahead when it peeks.
  testing::StartedTable table(5);
  TableState& t = table.state();
  t.bettingRound = kFlop;
  t.board = {Card{0, 11}, Card{1, 6}, Card{2, 1}, Card{3, 9}, Card{0, 7}};
  t.hole[index(Seat::Player)] = {Card{1, 3}, Card{2, 3}};
  t.hole[index(Seat::Geek)] = {Card{1, 0}, Card{3, 0}};
  t.peekThreshold = 20;
  int knows = 0;
  for (int i = 0; i < 400; ++i) {
    t.folded[index(Seat::Geek)] = false;
    table.setCash(Seat::Geek, 1000);
    Random shadow = table.random();
    shadow.nextRandom();
    const int32_t peekDraw = shadow.nextRandom() % 100;
    t.currentBet = 2;
    table.opponentRespond(seatNumber(Seat::Geek));
    ASSERT_EQ(t.decision.knowsPlayerBeaten, peekDraw > 20);
    EXPECT_EQ(t.decision.handValue, 100);
    knows += t.decision.knowsPlayerBeaten;
  }
  EXPECT_GT(knows, 250);
}

}  // namespace
}  // namespace holdem
