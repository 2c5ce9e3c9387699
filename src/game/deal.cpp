// The Deal button: save the chips, end the game when someone is broke, move
// the blinds on, deal, and let the seats before the human act.
#include "ai/rules.h"
#include "game/amount.h"
#include "game/game.h"

namespace holdem {

void Game::deal() {
  TableState& t = state_;
  // Steps 1 to 3: a new deal's count, white labels and an empty board.
  ++t.dealsCount;
  t.potAwarded = false;
  setAllStatusWhite();
  canvas_.fillTable(kBoardArea);
  // A seat out of chips shows no cards: what it held when it ran out goes.
  for (Seat s : kOpponents) {
    if (t.cashOf(s) <= 0) canvas_.fillTable(info(s).cardArea);
  }
  // Step 4: the AI level chosen in the options.
  if (view_.level >= 0 && view_.level < static_cast<int>(kPeekThresholdByLevel.size()))
    t.peekThreshold = kPeekThresholdByLevel[view_.level];
  ++t.dealsDealt;
  // Step 6: the chips as they stand at the start of this deal.
  if (!writeSettings(chipEntries())) return;
  setStatus(Seat::Player, "");
  // Steps 8 and 9: the end of the game.
  const bool playerBroke = t.cashOf(Seat::Player) <= 0;
  bool opponentsBroke = true;
  for (Seat s : kOpponents) opponentsBroke = opponentsBroke && t.cashOf(s) <= 0;
  if (playerBroke || opponentsBroke) {
    dialogs_.showMessage(playerBroke ? "You lose!" : "You win!", "Game over", BoxButtons::Ok);
    enable(Button::Deal, false);
    enableBetting(false);
    return;
  }
  // Steps 10 to 12: a fresh deal.
  t.folded.fill(false);
  t.raised.fill(false);
  t.foldCount = 0;
  view_.result.clear();
  enable(Button::Deal, false);
  enableBetting(true);
  t.bettingRound = kPreFlop;
  // Step 13: the big blind moves one seat on.
  if (--t.bigBlindSeat == 0) t.bigBlindSeat = kPlayerSeatNumber;
  const int k = t.bigBlindSeat;
  t.closingSeat = k;
  for (Seat s : kOpponents) setStatus(s, "");
  // Steps 15 to 17: the blinds of the limit, the opponents without chips
  // sitting this deal out, and the pot.
  t.smallBlind = t.smallBet / 2;
  t.bigBlind = t.smallBet;
  t.currentBet = t.smallBet;
  for (Seat s : kOpponents) {
    if (t.cashOf(s) <= 0) ++t.foldCount;
  }
  t.pot = addChips(t.smallBlind, t.bigBlind);
  showPot();
  showAllCash();
  beginRecord();
  // Steps 18 and 19: the cards, and the human to act.
  shuffleAndDeal();
  paintTable();
  view_.stayCaption = "Call";
  enable(Button::Raise, true);
  // Step 20: the blinds; a seat without chips is named but pays nothing.
  const Seat small = seatAt(k == kPlayerSeatNumber ? 1 : k + 1);
  const Seat big = seatAt(k);
  setStatus(small, "small blind");
  const int32_t smallPaid = t.cashOf(small) > 0 ? t.smallBlind : 0;
  t.cashOf(small) = subChips(t.cashOf(small), smallPaid);
  record_.blind(t, small, StepKind::SmallBlind, smallPaid);
  setStatus(big, "big blind");
  const int32_t bigPaid = t.cashOf(big) > 0 ? t.bigBlind : 0;
  t.cashOf(big) = subChips(t.cashOf(big), bigPaid);
  record_.blind(t, big, StepKind::BigBlind, bigPaid);
  showCash(small);
  showCash(big);
  // Step 21: a big blind on seats 1 to 5 counts as an open raise.
  if (k <= 5) t.raised[index(big)] = true;
  buttonsFollowTheDeal_ = true;
  // Step 22: the seats after the big blind answer it, then take their turns.
  if (k == 1) return;
  for (int n = k - 1; n >= 1; --n) {
    if (t.inDeal(seatAt(n))) opponentRespond(n);
  }
  turnChain(k - 1);
}

}  // namespace holdem
