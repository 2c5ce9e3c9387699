// The showdown: every hand rated and named, the best one paid.
#include "game/amount.h"
#include "game/game.h"

namespace holdem {

void Game::showdown() {
  TableState& t = state_;
  // Only the first run of a deal not already won by folds pays and counts.
  const bool paying = !t.potAwarded && t.foldCount != kOpponentCount;
  // Steps 1 to 3: rate every seat over the whole board, folded or not.
  setAllStatusWhite();
  DecisionRegisters& d = t.decision;
  ShowdownRegisters& r = t.showdown;
  for (int i = 0; i < 5; ++i) d.evalCards[2 + i] = t.board[i];
  for (int s = 0; s < kSeatCount; ++s) {
    d.evalCards[0] = t.hole[s][0];
    d.evalCards[1] = t.hole[s][1];
    evaluateHand();
    r.showdownValue[s] = d.handValue;
    r.seatScore[s] = showdownScore(d.handValue, d.handKicker);
  }
  // Step 4: the paint works out whether the last opponent's cards stay down.
  paintTable();
  // Step 5: who takes part.
  int takingPart = 0;
  for (Seat s : kTakePartOrder) {
    if (t.inDeal(s)) {
      ++takingPart;
      setStatus(s, handName(r.showdownValue[index(s)]));
      if (s == Seat::Player && paying) ++t.handsPlayed;
    } else {
      r.showdownValue[index(s)] = info(s).outMarker;
    }
  }
  // Step 6: the human folded and one opponent is left; nothing is shown.
  if (t.foldedOutHidden) {
    for (int s = 0; s < kSeatCount; ++s) view_.status[s].clear();
  }
  // Steps 7 and 8: the scores of the seats that take part, and the best.
  int32_t best = INT32_MIN;
  for (int s = 0; s < kSeatCount; ++s) {
    if (r.showdownValue[s] > 0) r.showdownValue[s] = r.seatScore[s];
    best = std::max(best, r.showdownValue[s]);
  }
  // Step 9: the winners and the result line. When nobody takes part,
  // nobody wins.
  r.winnerCount = 0;
  std::string result;
  bool opponentWon = false;
  if (takingPart > 0) {
    for (int s = 0; s < kSeatCount; ++s) {
      if (r.showdownValue[s] != best) continue;
      const Seat seat = static_cast<Seat>(s);
      view_.statusColor[s] = LabelColor::Yellow;
      if (seat == Seat::Player) {
        result += "You ";
        if (paying) ++t.handsWon;
      } else {
        result += r.winnerCount == 0 ? "" : ", ";
        result += info(seat).name;
        result += ' ';
        opponentWon = true;
      }
      ++r.winnerCount;
    }
    result += r.winnerCount == 1 && opponentWon ? "wins" : "win";
  }
  view_.result = result;
  // Step 10: the pot is shared; what does not divide evenly is lost.
  if (paying) {
    t.potAwarded = true;
    if (r.winnerCount > 0) {
      const int32_t share = static_cast<int32_t>(static_cast<int64_t>(t.pot) / r.winnerCount);
      for (int s = 0; s < kSeatCount; ++s) {
        if (r.showdownValue[s] == best) t.cash[s] = addChips(t.cash[s], share);
      }
    }
  }
  // Steps 11 and 12: the chips shown, and only Deal left.
  showAllCash();
  enable(Button::Deal, true);
  enableBetting(false);
  // Step 13: whoever reached the target ends the game.
  const int32_t target = addChips(t.initialCash, t.untilTarget);
  for (int s = 0; s < kSeatCount; ++s) {
    if (target > t.cash[s]) continue;
    if (paying) dialogs_.showMessage(kSeats[s].gameOverText, "Game over", BoxButtons::Ok);
    enable(Button::Deal, false);
  }
}

}  // namespace holdem
