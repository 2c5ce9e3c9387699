// The seven opponents at the table: one routine for all, told apart by the
// seat tables. What they decide comes from the rules in ai/; here the table
// changes as they decide.
#include "ai/rules.h"
#include "game/amount.h"
#include "game/game.h"

namespace holdem {

// An opponent's own turn: it checks, or raises and has the seats after it
// answer at once. The closing seat's turn first opens the next round, even
// for a seat that can no longer act.
void Game::opponentTurn(int n) {
  TableState& t = state_;
  DecisionRegisters& d = t.decision;
  const Seat seat = seatAt(n);
  d.raiseAmount = 0;
  advanceRoundIfClosing(n);
  if (t.bettingRound == kDealOver) {
    showdown();
    return;
  }
  t.raised[index(seat)] = false;
  if (t.cashOf(seat) < 1 || t.folded[index(seat)]) return;

  newMomentOfPlay();
  t.currentBet = 0;
  const TurnFacts facts{t.bettingRound, judgeHand(seat), t.smallBet, t.bigBet};
  const RaiseDecision decision = decideRaise(facts, random_.nextRandom());
  d.decisionChance = decision.decisionChance;
  d.raiseAmount = decision.raiseAmount;
  Reason why;
  why.handValue = facts.rating.handValue;
  why.chance = decision.decisionChance;
  why.draw = decision.draw;

  if (d.raiseAmount == 0) {
    // A check; on the pre-flop the label keeps its text.
    if (t.bettingRound >= kFlop && t.bettingRound <= kRiver) setStatus(seat, "Check");
    payIntoPot(seat, t.currentBet);
    record_.act(t, seat, StepKind::Check, t.currentBet, why);
    showCash(seat);
    showPot();
    return;
  }
  // A raise, answered at once by the seats after this one; the human can
  // then only call or fold.
  setStatus(seat, "Raises");
  view_.statusColor[index(seat)] = LabelColor::Yellow;
  t.currentBet = addChips(t.currentBet, d.raiseAmount);
  payIntoPot(seat, t.currentBet);
  record_.act(t, seat, StepKind::Raise, t.currentBet, why);
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

// An opponent answers the bet that stands: it calls when it will and can pay
// the whole bet, or when it has seen the human beaten; else it folds.
void Game::opponentRespond(int n) {
  TableState& t = state_;
  DecisionRegisters& d = t.decision;
  const Seat seat = seatAt(n);
  newMomentOfPlay();
  const CallFacts facts{t.bettingRound, judgeHand(seat), t.playerIsAggressive, t.currentBet};
  const CallDecision call = decideCall(facts, random_.nextRandom());
  d.willCall = call.willCall;
  d.decisionChance = call.decisionChance;

  // The look at the human's cards that the AI level allows: the human's hand
  // counts less the board's value.
  d.savedHandValue = d.handValue;
  const int32_t playerValue = subChips(rateSeat(Seat::Player).handValue, d.boardValue);
  const PeekDecision peek =
      peekAtPlayer({d.savedHandValue, playerValue, t.peekThreshold}, random_.nextRandom());
  d.knowsPlayerBeaten = peek.knowsPlayerBeaten;
  d.handValue = d.savedHandValue;
  Reason why;
  why.handValue = facts.rating.handValue;
  why.chance = call.decisionChance;
  why.draw = call.draw;
  why.answering = true;
  why.willCall = call.willCall;
  why.playerValue = playerValue;
  why.peekThreshold = t.peekThreshold;
  why.peekDraw = peek.draw;
  why.knowsPlayerBeaten = peek.knowsPlayerBeaten;

  const bool wantsToCall = d.willCall || d.knowsPlayerBeaten;
  if (wantsToCall && subChips(t.cashOf(seat), t.currentBet) >= 0) {
    setStatus(seat, "Calls");
    payIntoPot(seat, t.currentBet);
    record_.act(t, seat, StepKind::Call, t.currentBet, why);
    showCash(seat);
    showPot();
    return;
  }
  canvas_.fillTable(info(seat).cardArea);
  setStatus(seat, "Folds");
  t.folded[index(seat)] = true;
  ++t.foldCount;
  why.shortOfChips = wantsToCall;
  record_.act(t, seat, StepKind::Fold, 0, why);
  if (t.foldCount == kOpponentCount) playerWinsByFolds();
  passClosingOn(n);
}

// Every opponent is out: the pot goes to the human.
void Game::playerWinsByFolds() {
  TableState& t = state_;
  enable(Button::Deal, true);
  enableBetting(false);
  view_.result = "you win    ";
  t.cashOf(Seat::Player) = addChips(t.cashOf(Seat::Player), t.pot);
  record_.winByFolds(t);
  showCash(Seat::Player);
  if (addChips(t.initialCash, t.untilTarget) <= t.cashOf(Seat::Player)) {
    dialogs_.showMessage("You win!", "Game over", BoxButtons::Ok);
    enable(Button::Deal, false);
  }
  ++t.handsPlayed;
  ++t.handsWon;
}

}  // namespace holdem
