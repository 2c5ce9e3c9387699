#pragma once

// The record of one deal, as the table played it: who sat with what, the
// cards, every step in order and the end. Plain data, written by the
// handlers as they play; it says what happened, the table's quirks
// included (chips below zero, a blind that a seat without chips did not
// pay, a pot split unevenly), and re-derives nothing.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "eval/card.h"
#include "game/seats.h"

namespace holdem {

// What happened at one step of a deal.
enum class StepKind : uint8_t {
  SmallBlind,  // a blind; a seat without chips is named and pays nothing
  BigBlind,
  Check,
  Call,
  Bet,    // the first bet of a round after the pre-flop
  Raise,  // any other bet or raise
  Fold,
  Board,     // community cards came into view
  ChipsSet,  // the options panel set the seat's chips to the initial cash
};

// Why an opponent acted as it did: what its rules judged and drew.
struct Reason {
  int32_t handValue = 0;  // as judged: 0 when the hole cards add nothing to the board
  int32_t chance = 0;     // its own turn: the raise chance; an answer: the fold chance, the bet included
  int32_t draw = 0;       // the number drawn for that chance, 0..99
  // An answer to a bet also looks at the human's cards, as the AI level allows.
  bool answering = false;
  bool willCall = false;        // what the fold chance decided
  int32_t playerValue = 0;      // the human's hand value less the board's
  int32_t peekThreshold = 100;  // the AI level: the look needs a draw above it
  int32_t peekDraw = 0;
  bool knowsPlayerBeaten = false;
  bool shortOfChips = false;  // it would call but cannot pay the whole bet, so it folds
  friend bool operator==(const Reason&, const Reason&) = default;
};

struct Step {
  StepKind kind = StepKind::Check;
  Seat seat = Seat::Player;  // not for Board
  int32_t round = 1;         // the betting round it happened in; 5 once the deal is over
  int32_t paid = 0;          // chips from the seat into the pot; ChipsSet: chips taken (negative when given)
  int32_t chipsAfter = 0;    // the seat's chips right after the step
  int32_t potAfter = 0;
  int boardShown = 0;         // the community cards in view after the step (Board: 3, 4 or 5)
  std::optional<Reason> why;  // an opponent's check, bet, raise, call or fold
  friend bool operator==(const Step&, const Step&) = default;
};

struct SeatAtStart {
  int32_t chips = 0;     // before the blinds
  bool dealtIn = false;  // held chips, so takes part in the deal
  std::array<Card, 2> hole{};
  friend bool operator==(const SeatAtStart&, const SeatAtStart&) = default;
};

// A hand shown at the showdown.
struct ShownHand {
  Seat seat = Seat::Player;
  int32_t handValue = 0;
  std::string_view name;  // as the table names it; empty for a value without a name
  friend bool operator==(const ShownHand&, const ShownHand&) = default;
};

// How the deal ended.
struct DealEnd {
  bool byFolds = false;  // every opponent folded and the human took the pot
  // The pot was paid out. Not so when the deal began with every opponent
  // counted out: the showdown then names the best hand and pays nothing.
  bool potPaid = false;
  int32_t pot = 0;  // the pot once the deal is over
  // The seats that took part in the showdown, in the order the table
  // decides it, with their hands; none for a win by folds.
  std::vector<ShownHand> hands;
  // The human folded and one opponent was left: the table names no hand.
  bool namesHidden = false;
  std::vector<Seat> winners;  // in showdown order; none when nobody took part
  std::array<int32_t, kSeatCount> won{};
  // Chips of the pot that nobody received: the remainder of an uneven
  // split, or the whole pot when nobody took part. Below zero when the
  // rules paid more than the pot holds (a pot paid twice).
  int32_t lost = 0;
  friend bool operator==(const DealEnd&, const DealEnd&) = default;
};

struct HandRecord {
  int64_t serial = 0;     // deals recorded since the game began, from 1
  int32_t number = 0;     // the deal's number as the statistics count it
  int64_t startedAt = 0;  // the game's clock at the deal's start: local wall-clock seconds
  int64_t utcOffset = 0;  // seconds the local clock is ahead of UTC
  int32_t smallBet = 2;
  int32_t bigBet = 4;
  int32_t smallBlind = 1;
  int32_t bigBlind = 2;
  int32_t peekThreshold = 100;  // the AI level in force
  int32_t bigBlindSeat = 1;     // seat number of the big blind; the small blind sits one above
  std::array<SeatAtStart, kSeatCount> seats{};
  std::array<Card, 5> board{};
  int boardShown = 0;      // how many community cards came into view
  int32_t potAtStart = 0;  // the pot the deal starts with: both blinds, paid or not
  std::vector<Step> steps;
  std::optional<DealEnd> end;
  std::array<int32_t, kSeatCount> chipsAtEnd{};  // after the event that ended it

  bool finished() const { return end.has_value(); }
  friend bool operator==(const HandRecord&, const HandRecord&) = default;
};

// The seat that posts the small blind when `bigBlindSeat` posts the big one.
constexpr int smallBlindSeatOf(int bigBlindSeat) {
  return bigBlindSeat == kPlayerSeatNumber ? 1 : bigBlindSeat + 1;
}

}  // namespace holdem
