#pragma once

#include <array>
#include <cstdint>

#include "eval/card.h"

namespace holdem {

// The game's one source of chance: a 64-bit linear congruential generator.
// Every shuffle and every opponent decision draws from it, so a fixed seed
// and a fixed sequence of clicks always play the same game.
class Random {
 public:
  // Restarts the sequence from a calendar time in seconds.
  void seed(uint32_t seconds) { state_ = static_cast<uint32_t>(seconds * 22695477u + 1u); }
  // The next number, 0 .. 2147483647.
  int32_t nextRandom() {
    state_ = state_ * kMultiplier + 1u;
    return static_cast<int32_t>((state_ >> 32) & 0x7FFFFFFFu);
  }
  uint64_t state() const { return state_; }

 private:
  static constexpr uint64_t kMultiplier = 0x15A00004E35ull;  // high half 0x15A, low half 0x4E35
  uint64_t state_ = 0;
};

using Deck = std::array<Card, kDeckSize>;

// The deck in suit-major order: position 13 * suit + rank holds that card.
Deck buildDeck();

// The shuffle: 20001 swaps of two positions drawn mod 52 (40002 draws).
void shuffleDeck(Deck& deck, Random& random);

inline constexpr int kShuffleSwaps = 20001;

// Where each seat's two cards lie in the shuffled deck, in showdown order:
// Freak takes positions 0 and 1, the human 2 and 3, then Geek on to Robot.
inline constexpr std::array<int, 8> kFirstDeckPosition{2, 0, 4, 6, 8, 10, 12, 14};
// The board is positions 20 to 24; positions 16 to 19 go to nobody.
inline constexpr int kFirstBoardPosition = 20;

}  // namespace holdem
