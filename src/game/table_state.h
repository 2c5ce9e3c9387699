#pragma once

#include <array>
#include <cstdint>

#include "eval/evaluator.h"
#include "game/pictures.h"
#include "game/random.h"
#include "game/seats.h"

namespace holdem {

// The betting rounds of a deal; the counter runs 1..5.
enum BettingRound : int32_t { kPreFlop = 1, kFlop = 2, kTurn = 3, kRiver = 4, kDealOver = 5 };

template <typename T>
using PerSeat = std::array<T, kSeatCount>;

// The whole non-visual state of the game. Per-seat arrays are indexed by
// Seat (showdown order); `raised` is never set for the human.
struct TableState {
  // Settings and limits.
  int32_t initialCash = 1200;
  int32_t untilTarget = 600;
  int32_t smallBet = 2;
  int32_t bigBet = 4;
  int32_t peekThreshold = 100;
  int32_t cardBackIndex = 52;
  int32_t backgroundColor = 0;

  // The seats.
  PerSeat<int32_t> cash{};
  PerSeat<bool> folded{};
  PerSeat<bool> raised{};
  PerSeat<std::array<Card, 2>> hole{};
  PerSeat<int32_t> showdownValue{};
  PerSeat<int32_t> seatScore{};

  // The deal and its betting.
  int32_t bettingRound = kPreFlop;
  int32_t bigBlindSeat = 1;
  int32_t closingSeat = 1;
  int32_t smallBlind = 1;
  int32_t bigBlind = 2;
  int32_t pot = 3;
  int32_t currentBet = 2;
  int32_t raiseAmount = 0;
  int32_t foldCount = 0;
  bool potAwarded = false;
  bool foldedOutHidden = false;
  Deck deck{};
  std::array<Card, 5> board{};

  // Statistics and the estimate of how hard the human raises.
  int32_t dealsCount = 1;
  int32_t handsPlayed = 0;
  int32_t handsWon = 0;
  int32_t dealsDealt = 0;
  int32_t playerRaiseTotal = 0;
  bool playerIsAggressive = true;

  // The latest rating and the opponents' latest decision.
  EvalSlots evalCards{};
  int32_t handValue = 0;
  int32_t handKicker = 0;
  int32_t boardValue = 0;
  int32_t savedHandValue = 0;
  bool straightDraw = false;
  bool flushDraw = false;
  bool connectedHoleCards = false;
  bool suitedHoleCards = false;
  int32_t decisionChance = 0;
  bool knowsPlayerBeaten = false;
  bool willCall = false;
  int32_t winnerCount = 0;

  int32_t& cashOf(Seat s) { return cash[index(s)]; }
  int32_t cashOf(Seat s) const { return cash[index(s)]; }
  // A seat still in the deal: not folded and holding chips.
  bool inDeal(Seat s) const { return !folded[index(s)] && cash[index(s)] > 0; }

  friend bool operator==(const TableState&, const TableState&) = default;
};

// What a table paint shows of a seat's cards.
enum class CardsShown : uint8_t { None, Back, Up };

// Whether a paint now would keep the last opponent's cards down and the
// late board hidden: the human has folded and six opponents are out.
bool foldedOutHiddenNow(const TableState& t);
CardsShown cardsShown(const TableState& t, Seat s);
// How many community cards a paint now would draw (0, 3, 4 or 5).
int boardCardsShown(const TableState& t);
// The picture used for face-down cards: the chosen back, or the first back
// when the settings file holds a number that is not a back.
int backPicture(const TableState& t);

}  // namespace holdem
