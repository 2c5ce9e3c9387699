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
  for (int i = 0; i < 5; ++i) t.evalCards[2 + i] = t.board[i];
  for (int s = 0; s < kSeatCount; ++s) {
    t.evalCards[0] = t.hole[s][0];
    t.evalCards[1] = t.hole[s][1];
    evaluateHand();
    t.showdownValue[s] = t.handValue;
    t.seatScore[s] = showdownScore(t.handValue, t.handKicker);
  }
  // Step 4.
  paintTable();
  // Step 5: who takes part.
  int takingPart = 0;
  for (Seat s : kTakePartOrder) {
    if (t.inDeal(s)) {
      ++takingPart;
      setStatus(s, handName(t.showdownValue[index(s)]));
      if (s == Seat::Player && paying) ++t.handsPlayed;
    } else {
      t.showdownValue[index(s)] = info(s).outMarker;
    }
  }
  // Step 6: the human folded and one opponent is left; nothing is shown.
  if (t.foldedOutHidden) {
    for (int s = 0; s < kSeatCount; ++s) view_.status[s].clear();
  }
  // Steps 7 and 8.
  int32_t best = INT32_MIN;
  for (int s = 0; s < kSeatCount; ++s) {
    if (t.showdownValue[s] > 0) t.showdownValue[s] = t.seatScore[s];
    best = std::max(best, t.showdownValue[s]);
  }
  // Step 9: the winners and the result line. When nobody takes part,
  // nobody wins.
  t.winnerCount = 0;
  std::string result;
  bool opponentWon = false;
  if (takingPart > 0) {
    for (int s = 0; s < kSeatCount; ++s) {
      if (t.showdownValue[s] != best) continue;
      const Seat seat = static_cast<Seat>(s);
      view_.statusColor[s] = LabelColor::Yellow;
      if (seat == Seat::Player) {
        result += "You ";
        if (paying) ++t.handsWon;
      } else {
        result += t.winnerCount == 0 ? "" : ", ";
        result += info(seat).name;
        result += ' ';
        opponentWon = true;
      }
      ++t.winnerCount;
    }
    result += t.winnerCount == 1 && opponentWon ? "wins" : "win";
  }
  view_.result = result;
  // Step 10: the pot is shared; what does not divide evenly is lost.
  if (paying) {
    t.potAwarded = true;
    if (t.winnerCount > 0) {
      const int32_t share = static_cast<int32_t>(static_cast<int64_t>(t.pot) / t.winnerCount);
      for (int s = 0; s < kSeatCount; ++s) {
        if (t.showdownValue[s] == best) t.cash[s] = addChips(t.cash[s], share);
      }
    }
  }
  // Steps 11 and 12.
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
