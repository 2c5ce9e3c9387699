// The seven opponents: one routine for all, told apart by the seat tables.
#include "ai/rules.h"
#include "game/amount.h"
#include "game/game.h"

namespace holdem {

namespace {

HandRating ratingOf(const TableState& t) {
  return {t.handValue, t.handKicker, t.straightDraw, t.flushDraw, t.connectedHoleCards, t.suitedHoleCards};
}

}  // namespace

void Game::opponentTurn(int n) {
  TableState& t = state_;
  const Seat seat = seatAt(n);
  // Steps 1 to 3: the closing seat's turn opens the next round, even for a
  // seat that can no longer act.
  t.raiseAmount = 0;
  if (t.closingSeat == n) {
    ++t.bettingRound;
    paintTable();
  }
  if (t.bettingRound == kDealOver) {
    showdown();
    return;
  }
  // Step 4.
  evaluateBoard();
  t.raised[index(seat)] = false;
  t.evalCards[0] = t.hole[index(seat)][0];
  t.evalCards[1] = t.hole[index(seat)][1];
  // Step 5.
  if (t.cashOf(seat) < 1 || t.folded[index(seat)]) return;
  // Step 6: a hand the hole cards do not improve counts as nothing.
  t.currentBet = 0;
  evaluateHand();
  if (t.handValue == t.boardValue) t.handValue = 0;
  // Step 7.
  decideRaise();
  if (t.raiseAmount == 0) {
    // Step 8: a check; on the pre-flop the label keeps its text.
    if (t.bettingRound >= kFlop && t.bettingRound <= kRiver) setStatus(seat, "Check");
    t.cashOf(seat) = subChips(t.cashOf(seat), t.currentBet);
    t.pot = addChips(t.pot, t.currentBet);
    showCash(seat);
    showPot();
    return;
  }
  // Step 9: a raise, answered at once by the seats after this one.
  setStatus(seat, "Raises");
  view_.statusColor[index(seat)] = LabelColor::Yellow;
  t.currentBet = addChips(t.currentBet, t.raiseAmount);
  t.cashOf(seat) = subChips(t.cashOf(seat), t.currentBet);
  t.pot = addChips(t.pot, t.currentBet);
  showCash(seat);
  showPot();
  t.raised.fill(false);
  t.raised[index(seat)] = true;
  for (int earlier = n + 1; earlier <= seatNumber(Seat::Freak); ++earlier) {
    if (t.inDeal(seatAt(earlier))) setStatus(seatAt(earlier), "");
  }
  for (int later = n - 1; later >= 1; --later) {
    if (t.inDeal(seatAt(later))) opponentRespond(later);
  }
  view_.stayCaption = "Call";
  enable(Button::Raise, false);
}

void Game::decideRaise() {
  TableState& t = state_;
  t.decisionChance = raiseChance(t.bettingRound, ratingOf(t));
  t.raiseAmount = 0;
  const int32_t draw = random_.nextRandom() % 100;
  if (draw > subChips(100, t.decisionChance)) t.raiseAmount = t.bettingRound <= kFlop ? t.smallBet : t.bigBet;
}

void Game::opponentRespond(int n) {
  TableState& t = state_;
  const Seat seat = seatAt(n);
  // Steps 1 and 2.
  evaluateBoard();
  t.evalCards[0] = t.hole[index(seat)][0];
  t.evalCards[1] = t.hole[index(seat)][1];
  evaluateHand();
  if (t.handValue == t.boardValue) t.handValue = 0;
  // Step 3.
  decideCall();
  peekAtPlayer();
  // Step 4: a call, when the seat can pay the whole bet.
  if ((t.willCall || t.knowsPlayerBeaten) && subChips(t.cashOf(seat), t.currentBet) >= 0) {
    setStatus(seat, "Calls");
    t.cashOf(seat) = subChips(t.cashOf(seat), t.currentBet);
    t.pot = addChips(t.pot, t.currentBet);
    showCash(seat);
    showPot();
    return;
  }
  // Step 5: a fold.
  canvas_.fillTable(info(seat).cardArea);
  setStatus(seat, "Folds");
  t.folded[index(seat)] = true;
  ++t.foldCount;
  if (t.foldCount == kOpponentCount) playerWinsByFolds();
  if (t.closingSeat == n) {
    // The closing passes to the next seat still in, or to the human.
    t.closingSeat = kPlayerSeatNumber;
    for (int next = n - 1; next >= 1; --next) {
      if (t.inDeal(seatAt(next))) {
        t.closingSeat = next;
        break;
      }
    }
  }
}

void Game::decideCall() {
  TableState& t = state_;
  t.willCall = true;
  t.decisionChance = foldChance(t.bettingRound, ratingOf(t), t.playerIsAggressive);
  t.decisionChance = addChips(subChips(t.decisionChance, 20), t.currentBet);
  const int32_t draw = random_.nextRandom() % 100;
  t.willCall = !(draw > subChips(100, t.decisionChance));
}

// The look at the human's cards that the AI level allows: the human's hand
// counts less the board's value.
void Game::peekAtPlayer() {
  TableState& t = state_;
  t.savedHandValue = t.handValue;
  evaluateBoard();
  t.evalCards[0] = t.hole[index(Seat::Player)][0];
  t.evalCards[1] = t.hole[index(Seat::Player)][1];
  evaluateHand();
  const int32_t playerValue = subChips(t.handValue, t.boardValue);
  const int32_t draw = random_.nextRandom() % 100;
  t.knowsPlayerBeaten = draw > t.peekThreshold && t.savedHandValue > playerValue;
  t.handValue = t.savedHandValue;
}

void Game::playerWinsByFolds() {
  TableState& t = state_;
  enable(Button::Deal, true);
  enableBetting(false);
  view_.result = "you win    ";
  t.cashOf(Seat::Player) = addChips(t.cashOf(Seat::Player), t.pot);
  showCash(Seat::Player);
  if (addChips(t.initialCash, t.untilTarget) <= t.cashOf(Seat::Player)) {
    dialogs_.showMessage("You win!", "Game over", BoxButtons::Ok);
    enable(Button::Deal, false);
  }
  ++t.handsPlayed;
  ++t.handsWon;
}

}  // namespace holdem
