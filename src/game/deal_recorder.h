#pragma once

// Keeps the record of the deal in progress. The handlers call it where
// chips move, cards come into view and the opponents decide; it writes down
// what the table shows at that moment and changes nothing of the game.

#include "game/hand_record.h"
#include "game/table_state.h"

namespace holdem {

class DealRecorder {
 public:
  // A new deal, with the table as it stands before the blinds: every seat's
  // chips, the limits and the pot the rules begin it with.
  void begin(const TableState& t, int64_t startedAt, int64_t utcOffset);
  // The hole cards and the board, after each shuffle of the deal.
  void cardsDealt(const TableState& t);
  // A blind: `paid` is what the seat gave, nothing for a seat without chips.
  void blind(const TableState& t, Seat s, StepKind kind, int32_t paid);
  // A check, call, bet or raise (given as Raise; the first bet of a round
  // after the pre-flop is written as a bet) or a fold, after its chips moved.
  void act(const TableState& t, Seat s, StepKind kind, int32_t paid, const std::optional<Reason>& why = {});
  // The table was painted: community cards may have come into view.
  void painted(const TableState& t);
  // The options panel set every seat's chips; `before` holds them as they were.
  void chipsSet(const TableState& t, const std::array<int32_t, kSeatCount>& before);
  // The end of the deal: the showdown (each seat's hand value, whether it
  // took part and whether it won, in showdown order; whether the pot was
  // paid, and each winner's share), or the human's win by folds. The first
  // ends the deal; later showdowns of the same deal repeat it and pay
  // nothing, except where the rules pay twice.
  void showdown(const TableState& t, const std::array<int32_t, kSeatCount>& handValues,
                const std::array<bool, kSeatCount>& tookPart, const std::array<bool, kSeatCount>& won,
                bool paid, int32_t share);
  void winByFolds(const TableState& t);

  // The deal once it is over (ended, and the human's betting buttons are
  // off) at the end of a click, exactly once; nothing before and after.
  const HandRecord* takeFinished(const TableState& t, bool bettingOpen);

  // The deal in progress, or the last one.
  const HandRecord& record() const { return r_; }

 private:
  bool recording() const { return open_ && !delivered_; }
  Step& add(const TableState& t, StepKind kind, Seat s, int32_t paid);

  HandRecord r_;
  int64_t serial_ = 0;
  bool open_ = false;
  bool delivered_ = false;
};

}  // namespace holdem
