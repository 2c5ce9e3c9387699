#pragma once

#include <cstdint>

namespace holdem {

// The ranks, Two to Ace.
enum Rank : int32_t {
  kTwo,
  kThree,
  kFour,
  kFive,
  kSix,
  kSeven,
  kEight,
  kNine,
  kTen,
  kJack,
  kQueen,
  kKing,
  kAce
};
inline constexpr int kRankCount = 13;
inline constexpr int kSuitCount = 4;  // 0 clubs, 1 diamonds, 2 hearts, 3 spades
inline constexpr int kDeckSize = kSuitCount * kRankCount;

// A playing card. The evaluator also rates negative "placeholder" cards for
// slots whose card is not dealt yet: the same negative number in both fields.
struct Card {
  int32_t suit = 0;
  int32_t rank = 0;

  // Index of the card's face in the card pictures: 13 * suit + rank.
  constexpr int imageIndex() const { return kRankCount * suit + rank; }
  static constexpr Card placeholder(int32_t p) { return Card{p, p}; }
  friend constexpr bool operator==(Card, Card) = default;
};

}  // namespace holdem
