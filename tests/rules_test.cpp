// The opponents' rules as tables of facts and decisions.
#include "ai/rules.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace holdem {
namespace {

// A rating by its value and the flags that are set: s(traight draw),
// f(lush draw), c(onnected), u (suited).
HandRating hand(int32_t value, std::string_view flags = "") {
  const auto has = [flags](char f) { return flags.find(f) != std::string_view::npos; };
  return {value, 0, has('s'), has('f'), has('c'), has('u')};
}

TEST(RaiseChance, ByRoundAndHand) {
  const struct {
    int32_t round;
    HandRating rating;
    int32_t chance;
  } cases[] = {
      // clang-format off
      // Pre-flop: suited or connected above Jack-high; a pair.
      {1, hand(12), 0}, {1, hand(12, "u"), 20}, {1, hand(12, "cu"), 15}, {1, hand(9, "cu"), 0},
      {1, hand(100, "cu"), 15}, {1, hand(101), 35}, {1, hand(108), 35}, {1, hand(109), 55},
      // Flop, turn and river by hand class; a made pair outranks a draw.
      {2, hand(401), 100}, {3, hand(401), 100}, {4, hand(401), 100}, {2, hand(400), 80}, {3, hand(400), 80},
      {4, hand(400), 90}, {2, hand(301), 80}, {4, hand(301), 90}, {2, hand(300), 40}, {3, hand(201), 40},
      {4, hand(201), 30}, {2, hand(200), 20}, {3, hand(109), 20}, {4, hand(109), 15}, {2, hand(108), 10},
      {3, hand(101), 5}, {4, hand(101), 5}, {2, hand(100), 0}, {3, hand(0), 0}, {2, hand(100, "s"), 15},
      {3, hand(0, "f"), 15}, {2, hand(105, "s"), 10},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(raiseChance(c.round, c.rating), c.chance)
        << "round " << c.round << " value " << c.rating.handValue;
}

TEST(FoldChance, ByRoundHandDrawAndAggression) {
  const struct {
    int32_t round;
    HandRating rating;
    bool aggressive;
    int32_t chance;
  } cases[] = {
      // clang-format off
      {1, hand(101), false, 0}, {1, hand(100), false, 50}, {1, hand(9), true, 50}, {1, hand(12), false, 50},
      {1, hand(8), false, 100}, {1, hand(8, "c"), false, 10}, {1, hand(8, "u"), true, 10}, {1, hand(7, "cu"), false, 100},
      // Flop: the four columns, without and with a draw, calm and aggressive.
      {2, hand(200), false, 0}, {2, hand(108), false, 30}, {2, hand(108), true, 10}, {2, hand(199, "s"), false, 5},
      {2, hand(150, "f"), true, 0}, {2, hand(100), false, 60}, {2, hand(107), true, 50}, {2, hand(100, "s"), false, 20},
      {2, hand(107, "s"), true, 10}, {2, hand(99), false, 100}, {2, hand(0), true, 100}, {2, hand(0, "s"), false, 20},
      {2, hand(0, "f"), true, 10},
      // Turn.
      {3, hand(300), false, 0}, {3, hand(299, "s"), false, 5}, {3, hand(200), true, 0}, {3, hand(108), false, 10},
      {3, hand(108, "s"), true, 0}, {3, hand(100), false, 50}, {3, hand(100), true, 20}, {3, hand(100, "s"), false, 30},
      {3, hand(107, "s"), true, 5}, {3, hand(99), false, 50}, {3, hand(0), true, 60}, {3, hand(0, "s"), false, 30},
      {3, hand(0, "s"), true, 5},
      // River and after: draws no longer count.
      {4, hand(200), false, 0}, {4, hand(108), false, 10}, {4, hand(108), true, 0}, {4, hand(100), true, 90},
      {4, hand(99, "s"), false, 100}, {5, hand(100), false, 90},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(foldChance(c.round, c.rating, c.aggressive), c.chance)
        << "round " << c.round << " value " << c.rating.handValue << " aggressive " << c.aggressive;
}

// Each decision acts when its draw (the random number mod 100) is above 100
// less its chance. A raise is one bet of the round; an answer's chance is
// the fold chance less 20 plus the bet, in wrapping 32-bit arithmetic; a
// peek above the level's threshold sees whether the human is beaten.
TEST(Decisions, ActWhenTheDrawIsAbove100LessTheChance) {
  const TurnFacts preFlop{1, hand(101), 2, 4}, turn{3, hand(401), 2, 4};
  EXPECT_EQ(decideRaise(preFlop, 765).raiseAmount, 0);  // draw 65, chance 35
  EXPECT_EQ(decideRaise(preFlop, 766).raiseAmount, 2);
  EXPECT_EQ(decideRaise(turn, 200).raiseAmount, 0);  // a chance of 100 misses a draw of 0
  EXPECT_EQ(decideRaise(turn, 201).raiseAmount, 4);
  EXPECT_EQ(decideRaise(turn, 201).decisionChance, 100);

  const CallFacts river{4, hand(100), false, 4};  // 90 - 20 + 4 = 74
  EXPECT_TRUE(decideCall(river, 126).willCall);
  EXPECT_FALSE(decideCall(river, 127).willCall);
  EXPECT_EQ(decideCall(river, 127).decisionChance, 74);
  EXPECT_FALSE(decideCall({4, hand(0), false, INT32_MAX}, 0).willCall);
  EXPECT_EQ(decideCall({4, hand(0), false, INT32_MAX}, 0).decisionChance, INT32_MIN + 79);

  EXPECT_FALSE(peekAtPlayer({100, 92, 20}, 20).knowsPlayerBeaten);
  EXPECT_TRUE(peekAtPlayer({100, 92, 20}, 21).knowsPlayerBeaten);
  EXPECT_FALSE(peekAtPlayer({92, 92, 20}, 99).knowsPlayerBeaten);
  EXPECT_FALSE(peekAtPlayer({100, 92, 100}, 99).knowsPlayerBeaten);  // Amateur never sees
}

// A responder draws its answer, then its peek; the human's hand counts less
// the board's value: on a King-high board the human's pair of Fives is 92,
// so a responder with a pair of Twos (100) knows it is ahead when it peeks.
TEST(Opponents, PeekComparesWithTheHumansHandLessTheBoard) {
  testing::StartedTable table(5);
  TableState& t = table.state();
  t.bettingRound = kFlop;
  t.board = {Card{0, kKing}, Card{1, kEight}, Card{2, kThree}, Card{3, kJack}, Card{0, kNine}};
  t.hole[index(Seat::Player)] = {Card{1, kFive}, Card{2, kFive}};
  t.hole[index(Seat::Geek)] = {Card{1, kTwo}, Card{3, kTwo}};
  t.peekThreshold = 20;
  int knows = 0;
  for (int i = 0; i < 200; ++i) {
    t.folded[index(Seat::Geek)] = false;
    table.setCash(Seat::Geek, 1000);
    t.currentBet = 2;
    Random shadow = table.random();
    const int32_t answer = shadow.nextRandom() % 100, peek = shadow.nextRandom() % 100;
    table.opponentRespond(seatNumber(Seat::Geek));
    ASSERT_EQ(table.random().state(), shadow.state());
    ASSERT_EQ(t.decision.knowsPlayerBeaten, peek > 20);
    // A pair of Twos on the flop against an aggressive human folds at
    // 50 - 20 + 2 = 32, unless it has seen the human beaten.
    ASSERT_EQ(t.folded[index(Seat::Geek)], answer > 68 && peek <= 20);
    EXPECT_EQ(t.decision.handValue, 100);
    knows += t.decision.knowsPlayerBeaten;
  }
  EXPECT_GT(knows, 100);
}

}  // namespace
}  // namespace holdem
