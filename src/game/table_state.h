#pragma once

#include <array>
#include <cstdint>

#include "eval/evaluator.h"
#include "game/pictures.h"
#include "game/random.h"
#include "game/seats.h"

namespace holdem {

template <typename T>
using PerSeat = std::array<T, kSeatCount>;

// The betting limit: levels 1 to 5 of the options panel's arrows. The small
// bet (pre-flop and flop) is twice the level, the big bet four times it.
inline constexpr int kLowestLimit = 1;
inline constexpr int kHighestLimit = 5;
constexpr int32_t smallBetOfLimit(int level) { return 2 * level; }
constexpr int32_t bigBetOfLimit(int level) { return 4 * level; }

// The opponents' working registers: the latest rating and the latest
// decision. They carry nothing from one decision to the next; a reader may
// skip them to see the table itself.
struct DecisionRegisters {
  EvalSlots evalCards{};  // the cards being rated: two hole cards, then the board
  int32_t handValue = 0;
  int32_t handKicker = 0;
  int32_t boardValue = 0;
  int32_t savedHandValue = 0;
  bool straightDraw = false;
  bool flushDraw = false;
  bool connectedHoleCards = false;
  bool suitedHoleCards = false;
  int32_t decisionChance = 0;
  int32_t raiseAmount = 0;  // chips an opponent chose to raise on its turn; 0 is a check
  bool knowsPlayerBeaten = false;
  bool willCall = false;

  friend bool operator==(const DecisionRegisters&, const DecisionRegisters&) = default;
};

// The showdown's working registers.
struct ShowdownRegisters {
  PerSeat<int32_t> showdownValue{};  // hand value, then the score or the seat's out marker
  PerSeat<int32_t> seatScore{};
  int32_t winnerCount = 0;

  friend bool operator==(const ShowdownRegisters&, const ShowdownRegisters&) = default;
};

// The whole non-visual state of the game. Per-seat arrays are indexed by
// Seat (showdown order); `raised` is never set for the human.
struct TableState {
  // Settings and limits.
  int32_t initialCash = 1200;
  int32_t untilTarget = 600;
  int32_t smallBet = smallBetOfLimit(kLowestLimit);
  int32_t bigBet = bigBetOfLimit(kLowestLimit);
  int32_t peekThreshold = 100;
  int32_t cardBackIndex = kFirstBackImage;
  int32_t backgroundColor = 0;

  // The seats.
  PerSeat<int32_t> cash{};
  PerSeat<bool> folded{};
  PerSeat<bool> raised{};
  PerSeat<std::array<Card, 2>> hole{};

  // The deal and its betting.
  int32_t bettingRound = kPreFlop;
  int32_t bigBlindSeat = 1;
  int32_t closingSeat = 1;
  int32_t smallBlind = 1;
  int32_t bigBlind = 2;
  int32_t pot = 3;
  int32_t currentBet = 2;
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

  DecisionRegisters decision;
  ShowdownRegisters showdown;

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
