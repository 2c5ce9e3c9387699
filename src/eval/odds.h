#pragma once

// Each hand's chance to win from a point of a deal: the community cards not
// shown yet are unknown, every one of the cards left equally likely, and the
// hands are rated and compared as the showdown does (the evaluator's score,
// a tie shares the win).

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "eval/card.h"

namespace holdem {

using HoleCards = std::array<Card, 2>;

struct WinningChances {
  std::vector<double> chance;  // per hand, 0..1; a shared win counts in equal parts
  bool exact = false;          // every way the board can end was counted
  int64_t boards = 0;          // the boards counted, or drawn at random
};

// Chances of the `hands` still in the deal, with `board` the community cards
// shown so far (0 to 5) and `dead` cards known to be out of play (the hands
// of seats that left the deal). When the boards to come are at most
// `exactLimit`, every one of them is counted; otherwise `samples` boards are
// drawn at random with a generator seeded by `seed`, so that the same point
// always gives the same figures.
WinningChances winningChances(std::span<const HoleCards> hands, std::span<const Card> board,
                              std::span<const Card> dead, int64_t exactLimit = 50'000,
                              int64_t samples = 40'000, uint64_t seed = 1);

}  // namespace holdem
