#pragma once

#include <cstdint>

#include "eval/evaluator.h"

namespace holdem {

// The opponents' two rule tables. Both read the seat's rating after a hand
// that the hole cards do not improve has been counted as 0.

// Percentage chance (plus one) that an opponent raises on its own turn.
int32_t raiseChance(int32_t bettingRound, const HandRating& rating);

// Percentage chance (plus one) from which an opponent answering a bet folds,
// before the size of the bet is taken into account.
int32_t foldChance(int32_t bettingRound, const HandRating& rating, bool playerIsAggressive);

}  // namespace holdem
