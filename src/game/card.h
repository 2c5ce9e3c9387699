#pragma once

#include <cstdint>

namespace holdem {

// A playing card. Suits run 0 clubs, 1 diamonds, 2 hearts, 3 spades; ranks
// 0 Two .. 12 Ace. The evaluator also uses negative "placeholder" cards for
// slots whose card is not dealt yet: the same negative number in both fields.
struct Card {
  int32_t suit = 0;
  int32_t rank = 0;

  // Index of the card's face in the card pictures: 13 * suit + rank.
  constexpr int imageIndex() const { return 13 * suit + rank; }
  static constexpr Card placeholder(int32_t p) { return Card{p, p}; }
  friend constexpr bool operator==(Card, Card) = default;
};

inline constexpr int kDeckSize = 52;
inline constexpr int kFirstBackImage = 52;  // pictures 52..55 are the backs
inline constexpr int kCardWidth = 71;
inline constexpr int kCardHeight = 96;

}  // namespace holdem
