#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "eval/card.h"

namespace holdem {

// The betting rounds of a deal; the counter runs 1..5. The rating knows the
// pre-flop (its hole cards may be connected) and the river (nothing is left
// to draw to).
enum BettingRound : int32_t { kPreFlop = 1, kFlop = 2, kTurn = 3, kRiver = 4, kDealOver = 5 };

// Where each category of hand starts on the scale of hand values. Below a
// pair, a hand is worth the rank of its highest card (0 Two .. 12 Ace); a
// category's value is its base plus the rank that names it (one pair of
// Kings is 111). A flush adds its highest rank to 450; every straight flush
// is 1000.
inline constexpr int32_t kOnePair = 100;
inline constexpr int32_t kTwoPairs = 200;
inline constexpr int32_t kThreeOfAKind = 300;
inline constexpr int32_t kStraight = 400;
inline constexpr int32_t kFlush = 450;
inline constexpr int32_t kFullHouse = 500;
inline constexpr int32_t kFourOfAKind = 800;
inline constexpr int32_t kStraightFlush = 1000;

// The seven slots the evaluator rates: slots 0-1 the hole cards of one seat,
// slots 2-6 the flop, turn and river (or placeholders for cards not dealt).
using EvalSlots = std::array<Card, 7>;

// What a rating gives: the category value, its tie-break sum and the four
// flags the opponents read.
struct HandRating {
  int32_t handValue = 0;
  int32_t handKicker = 0;
  bool straightDraw = false;
  bool flushDraw = false;
  bool connectedHoleCards = false;
  bool suitedHoleCards = false;
  friend bool operator==(const HandRating&, const HandRating&) = default;
};

// Rates whatever stands in the seven slots during the given betting round
// (1 pre-flop .. 4 river; 5 behaves like the other rounds past the flop).
HandRating evaluateHand(const EvalSlots& slots, int32_t bettingRound);

// Fills slots 2-6 with the community cards the round shows and placeholders
// for the rest (round 1: -12 -33 -27 -23 -17; round 2: flop, -23, -17;
// round 3: four cards, -10; round 4: all five). Other rounds leave slots 2-6.
void fillBoardSlots(EvalSlots& slots, const std::array<Card, 5>& board, int32_t bettingRound);

// Placeholders of the board-only rating's hole-card slots.
inline constexpr int32_t kBoardOnlyHole0 = -45;
inline constexpr int32_t kBoardOnlyHole1 = -55;

// The showdown score: handValue * 130 + handKicker, in wrapping 32-bit
// arithmetic. With real cards the kicker stays below 130, so the score
// orders by value first.
inline constexpr int32_t kScorePerHandValue = 130;
constexpr int32_t showdownScore(int32_t handValue, int32_t handKicker) {
  return static_cast<int32_t>(static_cast<uint32_t>(handValue) * static_cast<uint32_t>(kScorePerHandValue) +
                              static_cast<uint32_t>(handKicker));
}

// The name of a hand value as the table shows it ("One pair Kings",
// "Straight flush"), or the empty text for a value that has no name.
std::string_view handName(int32_t handValue);

}  // namespace holdem
