#pragma once

// The opponents' playing rules: the facts of the table and the seat's rating
// in, a decision out. One procedure for all seven opponents; the game draws
// the random numbers and hands them in, one per decision.

#include <array>
#include <cstdint>

#include "eval/evaluator.h"

namespace holdem {

// The look at the human's cards that each AI level allows: a responder peeks
// when its draw is above the threshold (Amateur, Expert, Master, Genius).
inline constexpr std::array<int32_t, 4> kPeekThresholdByLevel{100, 70, 50, 20};

// The value an opponent judges its hand by: a hand that its hole cards do
// not improve over the board alone counts as nothing.
constexpr int32_t judgedHandValue(int32_t handValue, int32_t boardValue) {
  return handValue == boardValue ? 0 : handValue;
}

// Percentage chance (plus one) that an opponent raises on its own turn. The
// rating's handValue is the judged one.
int32_t raiseChance(int32_t bettingRound, const HandRating& rating);

// Percentage chance (plus one) from which an opponent answering a bet folds,
// before the size of the bet is taken into account.
int32_t foldChance(int32_t bettingRound, const HandRating& rating, bool playerIsAggressive);

// An opponent's own turn.
struct TurnFacts {
  int32_t bettingRound = 1;
  HandRating rating;  // with the judged hand value
  int32_t smallBet = 2;
  int32_t bigBet = 4;
};
struct RaiseDecision {
  int32_t decisionChance = 0;
  int32_t draw = 0;         // the random number mod 100
  int32_t raiseAmount = 0;  // 0 is a check
};
// Raises one bet of the round (small on the pre-flop and flop, big later)
// when the draw is above 100 less the chance.
RaiseDecision decideRaise(const TurnFacts& facts, int32_t randomNumber);

// An opponent answering the bet that stands.
struct CallFacts {
  int32_t bettingRound = 1;
  HandRating rating;  // with the judged hand value
  bool playerIsAggressive = false;
  int32_t currentBet = 0;
};
struct CallDecision {
  int32_t decisionChance = 0;  // the fold chance, bet included
  int32_t draw = 0;
  bool willCall = true;
};
// Folds when the draw is above 100 less the fold chance, which the bet to
// match raises and a fixed 20 lowers.
CallDecision decideCall(const CallFacts& facts, int32_t randomNumber);

// The responder's look at the human's cards.
struct PeekFacts {
  int32_t handValue = 0;    // the responder's judged value
  int32_t playerValue = 0;  // the human's hand value less the board's
  int32_t peekThreshold = 100;
};
struct PeekDecision {
  int32_t draw = 0;
  bool knowsPlayerBeaten = false;
};
// Knows the human beaten when the draw is above the level's threshold and
// its own value is above the human's.
PeekDecision peekAtPlayer(const PeekFacts& facts, int32_t randomNumber);

}  // namespace holdem
