// The human's three betting buttons and the passes of play they start.
#include "game/amount.h"
#include "game/game.h"

namespace holdem {

namespace {

// The opponent whose bet or raise is open, or nothing. At most one is.
std::optional<int> openRaiser(const TableState& t) {
  for (Seat s : kOpponents) {
    if (t.raised[index(s)]) return seatNumber(s);
  }
  return std::nullopt;
}

}  // namespace

// Gives the opponents from `firstSeat` down to Robot their turns, until one
// raises or the deal is over.
void Game::turnChain(int firstSeat) {
  opponentTurn(firstSeat);
  for (int n = firstSeat - 1; n >= 1; --n) {
    if (state_.bettingRound == kDealOver || state_.raised[index(seatAt(n + 1))]) return;
    opponentTurn(n);
  }
}

void Game::updatePlayerAggression() {
  TableState& t = state_;
  t.playerRaiseTotal = addChips(t.playerRaiseTotal, t.currentBet);
  // Whole-number division in 64 bits, so that no wrapped value can trap.
  const int64_t divisor = addChips(t.dealsDealt, 1);
  const int64_t average = divisor == 0 ? 0 : t.playerRaiseTotal / divisor;
  t.playerIsAggressive = average > 3;
}

void Game::checkOrCall() {
  TableState& t = state_;
  t.potAwarded = false;
  setStatus(Seat::Player, "");
  view_.stayCaption = "Check";
  setAllStatusWhite();
  if (t.bettingRound == kPreFlop) t.currentBet = t.smallBet;
  // A check lets every opponent take a turn; a call settles the open raise.
  if (!openRaiser(t)) {
    for (Seat s : kOpponents) setStatus(s, "");
    t.currentBet = 0;
    updatePlayerAggression();
    record_.act(t, Seat::Player, StepKind::Check, 0);
    turnChain(seatNumber(Seat::Freak));
  } else {
    callOpenRaise();
  }
  t.decision.raiseAmount = 0;
  advanceRoundIfClosing(kPlayerSeatNumber);
  if (t.bettingRound == kDealOver) showdown();
  // The pre-flop never outlasts the human's first Check/Call.
  if (t.bettingRound == kPreFlop) {
    newMomentOfPlay();
    t.bettingRound = kFlop;
    paintTable();
  }
}

// The human calls the open raise; the seats between the human and the
// raiser answer it (on the pre-flop the raiser too), and the seats after the
// raiser take their turns.
void Game::callOpenRaise() {
  TableState& t = state_;
  const int j = *openRaiser(t);
  t.raised[index(seatAt(j))] = false;
  payIntoPot(Seat::Player, t.currentBet);
  record_.act(t, Seat::Player, StepKind::Call, t.currentBet);
  showCash(Seat::Player);
  // Later rounds: the seats after the raiser have answered within the raise.
  const int last = t.bettingRound == kPreFlop ? j : j + 1;
  for (int n = seatNumber(Seat::Freak); n >= last; --n) {
    if (t.inDeal(seatAt(n))) opponentRespond(n);
  }
  showPot();
  // No Raise once the answers have paid the deal to the human.
  if (t.foldCount != kOpponentCount) enable(Button::Raise, true);
  t.currentBet = 0;
  if (t.bettingRound >= kFlop && t.bettingRound <= kRiver) {
    for (Seat s : kOpponents) {
      if (t.inDeal(s)) setStatus(s, "");
    }
  }
  if (j != 1) turnChain(j - 1);
}

void Game::betOrRaise() {
  TableState& t = state_;
  setAllStatusWhite();
  t.potAwarded = false;
  // No raise with one chip or less.
  if (t.cashOf(Seat::Player) <= 1) return;
  view_.stayCaption = "Check";
  // One bet of the round; on the pre-flop the call of the bet on top.
  const int32_t bet = t.bettingRound <= kFlop ? t.smallBet : t.bigBet;
  payIntoPot(Seat::Player, bet);
  t.currentBet = bet;
  if (t.bettingRound == kPreFlop) {
    payIntoPot(Seat::Player, t.smallBet);
    t.currentBet = t.bigBet;
  }
  record_.act(t, Seat::Player, StepKind::Raise, t.bettingRound == kPreFlop ? addChips(bet, t.smallBet) : bet);
  setStatus(Seat::Player, "");
  // On the pre-flop only the seats up to a flagged seat answer.
  if (t.bettingRound == kPreFlop) {
    for (Seat flagged : {Seat::Robot, Seat::Expert, Seat::Pinhead, Seat::Champ, Seat::Master, Seat::Geek}) {
      if (!t.raised[index(flagged)]) continue;
      updatePlayerAggression();
      for (int n = seatNumber(Seat::Freak); n >= seatNumber(flagged); --n) {
        if (t.inDeal(seatAt(n))) opponentRespond(n);
      }
      break;
    }
  }
  for (Seat s : kOpponents) {
    if (t.inDeal(s)) setStatus(s, "");
  }
  t.raised.fill(false);
  // Later rounds: every opponent answers.
  if (t.bettingRound >= kFlop && t.bettingRound <= kRiver) {
    updatePlayerAggression();
    for (Seat s : kOpponents) {
      if (t.inDeal(s)) opponentRespond(seatNumber(s));
    }
  }
  showCash(Seat::Player);
  showPot();
  advanceRoundIfClosing(kPlayerSeatNumber);
  if (t.bettingRound == kDealOver) {
    showdown();
    return;
  }
  // Every opponent out: the human has been paid.
  if (t.foldCount == kOpponentCount) return;
  t.currentBet = 0;
  turnChain(seatNumber(Seat::Freak));
}

void Game::fold() {
  TableState& t = state_;
  // The human folds first; the seats it leaves behind then answer.
  record_.act(t, Seat::Player, StepKind::Fold, 0);
  // The seats between the human and an open raiser answer it.
  if (const std::optional<int> j = openRaiser(t)) {
    t.raised[index(seatAt(*j))] = false;
    for (int n = seatNumber(Seat::Freak); n > *j; --n) {
      if (t.inDeal(seatAt(n))) opponentRespond(n);
    }
  }
  newMomentOfPlay();
  t.potAwarded = false;
  canvas_.fillTable(info(Seat::Player).cardArea);
  setAllStatusWhite();
  setStatus(Seat::Player, "you fold");
  view_.stayCaption = "Check";
  t.bettingRound = kDealOver;
  enable(Button::Deal, true);
  enableBetting(false);
  t.folded[index(Seat::Player)] = true;
  // The opponents still in settle the pot among themselves.
  paintTable();
  showdown();
}

}  // namespace holdem
