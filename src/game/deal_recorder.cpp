#include "game/deal_recorder.h"

#include <algorithm>

#include "game/amount.h"

namespace holdem {

void DealRecorder::begin(const TableState& t, int64_t startedAt, int64_t utcOffset) {
  r_.serial = ++serial_;
  r_.number = t.dealsCount;
  r_.startedAt = startedAt;
  r_.utcOffset = utcOffset;
  r_.smallBet = t.smallBet;
  r_.bigBet = t.bigBet;
  r_.smallBlind = t.smallBlind;
  r_.bigBlind = t.bigBlind;
  r_.peekThreshold = t.peekThreshold;
  r_.bigBlindSeat = t.bigBlindSeat;
  for (int s = 0; s < kSeatCount; ++s) r_.seats[s] = {t.cash[s], t.cash[s] > 0, t.hole[s]};
  r_.board = t.board;
  r_.boardShown = 0;
  r_.potAtStart = t.pot;
  r_.steps.clear();
  r_.end.reset();
  r_.chipsAtEnd = t.cash;
  open_ = true;
  delivered_ = false;
}

void DealRecorder::cardsDealt(const TableState& t) {
  if (!recording()) return;
  for (int s = 0; s < kSeatCount; ++s) r_.seats[s].hole = t.hole[s];
  r_.board = t.board;
}

Step& DealRecorder::add(const TableState& t, StepKind kind, Seat s, int32_t paid) {
  Step& step = r_.steps.emplace_back();
  step.kind = kind;
  step.seat = s;
  step.round = t.bettingRound;
  step.paid = paid;
  step.chipsAfter = t.cashOf(s);
  step.potAfter = t.pot;
  step.boardShown = r_.boardShown;
  return step;
}

void DealRecorder::blind(const TableState& t, Seat s, StepKind kind, int32_t paid) {
  if (recording()) add(t, kind, s, paid);
}

void DealRecorder::act(const TableState& t, Seat s, StepKind kind, int32_t paid,
                       const std::optional<Reason>& why) {
  if (!recording()) return;
  if (kind == StepKind::Raise && t.bettingRound != kPreFlop) {
    bool opened = false;
    for (const Step& step : r_.steps) {
      opened = opened ||
               (step.round == t.bettingRound && (step.kind == StepKind::Bet || step.kind == StepKind::Raise));
    }
    if (!opened) kind = StepKind::Bet;
  }
  add(t, kind, s, paid).why = why;
}

void DealRecorder::painted(const TableState& t) {
  if (!recording()) return;
  const int shown = boardCardsShown(t);
  if (shown <= r_.boardShown) return;
  r_.boardShown = shown;
  add(t, StepKind::Board, Seat::Player, 0);
}

void DealRecorder::chipsSet(const TableState& t, const std::array<int32_t, kSeatCount>& before) {
  if (!recording() || r_.finished()) return;
  for (int s = 0; s < kSeatCount; ++s)
    add(t, StepKind::ChipsSet, static_cast<Seat>(s), subChips(before[s], t.cash[s]));
}

void DealRecorder::showdown(const TableState& t, const std::array<int32_t, kSeatCount>& handValues,
                            const std::array<bool, kSeatCount>& tookPart,
                            const std::array<bool, kSeatCount>& won, bool paid, int32_t share) {
  if (!recording()) return;
  // The first showdown ends the deal; a later one counts only when it pays
  // after all, which a deal won by folds can come to when seats counted out
  // at its start were given chips in the middle of it.
  const bool first = !r_.end;
  DealEnd& end = first ? r_.end.emplace() : *r_.end;
  if (!first && !(paid && end.byFolds && end.hands.empty())) return;
  end.namesHidden = t.foldedOutHidden;
  end.hands.clear();
  for (Seat s : kTakePartOrder) {
    if (tookPart[index(s)]) end.hands.push_back({s, handValues[index(s)], handName(handValues[index(s)])});
  }
  if (first) end.winners.clear();
  for (int s = 0; s < kSeatCount; ++s) {
    if (!won[s]) continue;
    if (std::find(end.winners.begin(), end.winners.end(), static_cast<Seat>(s)) == end.winners.end())
      end.winners.push_back(static_cast<Seat>(s));
    if (paid) end.won[s] = addChips(end.won[s], share);
  }
  end.potPaid = end.potPaid || paid;
}

void DealRecorder::winByFolds(const TableState& t) {
  if (!recording()) return;
  DealEnd& end = r_.end ? *r_.end : r_.end.emplace();
  end.byFolds = true;
  end.potPaid = true;
  if (std::find(end.winners.begin(), end.winners.end(), Seat::Player) == end.winners.end())
    end.winners.push_back(Seat::Player);
  end.won[index(Seat::Player)] = addChips(end.won[index(Seat::Player)], t.pot);
}

const HandRecord* DealRecorder::takeFinished(const TableState& t, bool bettingOpen) {
  if (!recording() || !r_.end || bettingOpen) return nullptr;
  delivered_ = true;
  r_.chipsAtEnd = t.cash;
  DealEnd& end = *r_.end;
  end.pot = t.pot;
  int64_t given = 0;
  for (int32_t w : end.won) given += w;
  end.lost = static_cast<int32_t>(t.pot - given);
  return &r_;
}

}  // namespace holdem
