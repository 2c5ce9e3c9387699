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
  // Step 1.
  t.potAwarded = false;
  setStatus(Seat::Player, "");
  view_.stayCaption = "Check";
  setAllStatusWhite();
  // Step 2.
  if (t.bettingRound == kPreFlop) t.currentBet = t.smallBet;
  // Step 3: a check lets every opponent take a turn; a call settles the raise.
  if (!openRaiser(t)) {
    for (Seat s : kOpponents) setStatus(s, "");
    t.currentBet = 0;
    updatePlayerAggression();
    turnChain(seatNumber(Seat::Freak));
  } else {
    callOpenRaise();
  }
  // Step 4.
  t.raiseAmount = 0;
  // Step 5: the human closes the round.
  if (t.closingSeat == kPlayerSeatNumber) {
    ++t.bettingRound;
    paintTable();
  }
  // Step 6.
  if (t.bettingRound == kDealOver) showdown();
  // Step 7: the pre-flop never outlasts the human's first Check/Call.
  if (t.bettingRound == kPreFlop) {
    t.bettingRound = kFlop;
    paintTable();
  }
}

void Game::callOpenRaise() {
  TableState& t = state_;
  // Step 1.
  const int j = *openRaiser(t);
  t.raised[index(seatAt(j))] = false;
  // Step 2: the human calls.
  t.cashOf(Seat::Player) = subChips(t.cashOf(Seat::Player), t.currentBet);
  t.pot = addChips(t.pot, t.currentBet);
  showCash(Seat::Player);
  // Step 3: on the pre-flop the raiser answers too; later the seats after it
  // have answered within the raise.
  const int last = t.bettingRound == kPreFlop ? j : j + 1;
  for (int n = seatNumber(Seat::Freak); n >= last; --n) {
    if (t.inDeal(seatAt(n))) opponentRespond(n);
  }
  // Step 4: no Raise once the answers have paid the deal to the human.
  showPot();
  if (t.foldCount != kOpponentCount) enable(Button::Raise, true);
  t.currentBet = 0;
  // Step 5.
  if (t.bettingRound >= kFlop && t.bettingRound <= kRiver) {
    for (Seat s : kOpponents) {
      if (t.inDeal(s)) setStatus(s, "");
    }
  }
  // Step 6: the seats after the raiser take their turns.
  if (j != 1) turnChain(j - 1);
}

void Game::betOrRaise() {
  TableState& t = state_;
  // Step 1.
  setAllStatusWhite();
  t.potAwarded = false;
  // Step 2: no raise with one chip or less.
  if (t.cashOf(Seat::Player) <= 1) return;
  // Step 3.
  view_.stayCaption = "Check";
  // Step 4: one bet of the round; on the pre-flop the call of the bet on top.
  const int32_t bet = t.bettingRound <= kFlop ? t.smallBet : t.bigBet;
  t.cashOf(Seat::Player) = subChips(t.cashOf(Seat::Player), bet);
  t.pot = addChips(t.pot, bet);
  t.currentBet = bet;
  if (t.bettingRound == kPreFlop) {
    t.cashOf(Seat::Player) = subChips(t.cashOf(Seat::Player), t.smallBet);
    t.pot = addChips(t.pot, t.smallBet);
    t.currentBet = t.bigBet;
  }
  // Step 5.
  setStatus(Seat::Player, "");
  // Step 6: on the pre-flop only the seats up to a flagged seat answer.
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
  // Step 7.
  for (Seat s : kOpponents) {
    if (t.inDeal(s)) setStatus(s, "");
  }
  // Step 8.
  t.raised.fill(false);
  // Step 9: later rounds, every opponent answers.
  if (t.bettingRound >= kFlop && t.bettingRound <= kRiver) {
    updatePlayerAggression();
    for (Seat s : kOpponents) {
      if (t.inDeal(s)) opponentRespond(seatNumber(s));
    }
  }
  // Step 10.
  showCash(Seat::Player);
  showPot();
  // Step 11.
  if (t.closingSeat == kPlayerSeatNumber) {
    ++t.bettingRound;
    paintTable();
  }
  // Steps 12 and 13.
  if (t.bettingRound == kDealOver) {
    showdown();
    return;
  }
  if (t.foldCount == kOpponentCount) return;
  // Step 14.
  t.currentBet = 0;
  turnChain(seatNumber(Seat::Freak));
}

void Game::fold() {
  TableState& t = state_;
  // Step 1: the seats between the human and an open raiser answer it.
  if (const std::optional<int> j = openRaiser(t)) {
    t.raised[index(seatAt(*j))] = false;
    for (int n = seatNumber(Seat::Freak); n > *j; --n) {
      if (t.inDeal(seatAt(n))) opponentRespond(n);
    }
  }
  // Step 2.
  t.potAwarded = false;
  canvas_.fillTable(info(Seat::Player).cardArea);
  setAllStatusWhite();
  // Step 3.
  setStatus(Seat::Player, "you fold");
  view_.stayCaption = "Check";
  // Step 4.
  t.bettingRound = kDealOver;
  enable(Button::Deal, true);
  enableBetting(false);
  t.folded[index(Seat::Player)] = true;
  // Step 5: the opponents still in settle the pot among themselves.
  paintTable();
  showdown();
}

}  // namespace holdem
