#include "ai/rules.h"

namespace holdem {

namespace {

// Hand values the rules compare with. Hands without a pair are worth their
// highest rank, so "above Jack-high" means Queen-high or better.
constexpr int32_t kJackHigh = kJack;
constexpr int32_t kTenHigh = kTen;
constexpr int32_t kPairOfTwos = kOnePair + kTwo;
constexpr int32_t kPairOfTens = kOnePair + kTen;
constexpr int32_t kThreeTwos = kThreeOfAKind + kTwo;

}  // namespace

int32_t raiseChance(int32_t round, const HandRating& r) {
  const int32_t v = r.handValue;
  // The last rule that holds sets the chance.
  struct Rule {
    int32_t round;
    int32_t above;  // the hand value must be above this
    int32_t chance;
  };
  static constexpr Rule kByValue[] = {
      {kPreFlop, kPairOfTwos, 35}, {kPreFlop, kPairOfTens, 55}, {kRiver, kPairOfTwos, 5},
      {kTurn, kPairOfTwos, 5},     {kFlop, kPairOfTwos, 10},    {kRiver, kPairOfTens, 15},
      {kTurn, kPairOfTens, 20},    {kFlop, kPairOfTens, 20},    {kRiver, kTwoPairs, 30},
      {kTurn, kTwoPairs, 40},      {kFlop, kTwoPairs, 40},      {kRiver, kThreeTwos, 90},
      {kTurn, kThreeTwos, 80},     {kFlop, kThreeTwos, 80},     {kRiver, kStraight, 100},
      {kTurn, kStraight, 100},     {kFlop, kStraight, 100},
  };
  int32_t chance = 0;
  if (r.straightDraw || r.flushDraw) chance = 15;
  if (round == kPreFlop && r.suitedHoleCards && v > kJackHigh) chance = 20;
  if (round == kPreFlop && r.connectedHoleCards && v > kJackHigh) chance = 15;
  for (const Rule& rule : kByValue) {
    if (round == rule.round && v > rule.above) chance = rule.chance;
  }
  return chance;
}

int32_t foldChance(int32_t round, const HandRating& r, bool aggressive) {
  const int32_t v = r.handValue;
  const bool draw = r.straightDraw || r.flushDraw;
  // Columns: not aggressive without a draw, aggressive without, not
  // aggressive with a draw, aggressive with.
  const int column = (aggressive ? 1 : 0) + (draw ? 2 : 0);
  switch (round) {
    case kPreFlop:
      if (v > kPairOfTwos) return 0;
      if (v == kPairOfTwos || v >= kJackHigh) return 50;
      if (v == kTenHigh && (r.suitedHoleCards || r.connectedHoleCards)) return 10;
      return 100;
    case kFlop: {
      static constexpr int32_t kByRow[4][4] = {
          {0, 0, 0, 0}, {30, 10, 5, 0}, {60, 50, 20, 10}, {100, 100, 20, 10}};
      const int row = v >= kTwoPairs ? 0 : v >= kPairOfTens ? 1 : v >= kPairOfTwos ? 2 : 3;
      return kByRow[row][column];
    }
    case kTurn: {
      static constexpr int32_t kByRow[5][4] = {
          {0, 0, 0, 0}, {0, 0, 5, 0}, {10, 10, 10, 0}, {50, 20, 30, 5}, {50, 60, 30, 5}};
      const int row = v >= kThreeTwos    ? 0
                      : v >= kTwoPairs   ? 1
                      : v >= kPairOfTens ? 2
                      : v >= kPairOfTwos ? 3
                                         : 4;
      return kByRow[row][column];
    }
    default: {
      // The river and the showdown: draws no longer count.
      if (v >= kTwoPairs) return 0;
      if (v >= kPairOfTens) return aggressive ? 0 : 10;
      if (v >= kPairOfTwos) return 90;
      return 100;
    }
  }
}

RaiseDecision decideRaise(const TurnFacts& f, int32_t randomNumber) {
  RaiseDecision d;
  d.decisionChance = raiseChance(f.bettingRound, f.rating);
  d.draw = randomNumber % 100;
  if (d.draw > 100 - d.decisionChance) d.raiseAmount = f.bettingRound <= kFlop ? f.smallBet : f.bigBet;
  return d;
}

CallDecision decideCall(const CallFacts& f, int32_t randomNumber) {
  CallDecision d;
  // In wrapping 32-bit arithmetic, as the bet may be anything a hand-edited
  // file leads to.
  d.decisionChance =
      static_cast<int32_t>(static_cast<uint32_t>(foldChance(f.bettingRound, f.rating, f.playerIsAggressive)) -
                           20u + static_cast<uint32_t>(f.currentBet));
  d.draw = randomNumber % 100;
  d.willCall = !(d.draw > static_cast<int32_t>(100u - static_cast<uint32_t>(d.decisionChance)));
  return d;
}

PeekDecision peekAtPlayer(const PeekFacts& f, int32_t randomNumber) {
  PeekDecision d;
  d.draw = randomNumber % 100;
  d.knowsPlayerBeaten = d.draw > f.peekThreshold && f.handValue > f.playerValue;
  return d;
}

}  // namespace holdem
