// The front door's common parts: the ports, the moves every handler makes,
// and the check of the table's rules around each user event.
#include "game/game.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "ai/rules.h"
#include "game/amount.h"

namespace holdem {

namespace {

std::string number(int32_t value) { return std::to_string(value); }

}  // namespace

int64_t SystemClock::secondsNow() { return static_cast<int64_t>(std::time(nullptr)) + utcOffsetSeconds(); }

int64_t SystemClock::utcOffsetSeconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_gmtoff;
}

Game::Game(SettingsStore& settings, Dialogs& dialogs, Canvas& canvas, Clock& clock)
    : settings_(settings), dialogs_(dialogs), canvas_(canvas), clock_(clock) {}

#ifndef NDEBUG
Game::RuleCheck::RuleCheck(const Game& game, TableEvent e)
    : event(e), game_(game), before_{game.state_, game.view_} {}

Game::RuleCheck::~RuleCheck() {
  const TableSnapshot after{game_.state_, game_.view_};
  if (const auto broken = brokenTableRule(before_, event, after, game_.buttonsFollowTheDeal_)) {
    std::fprintf(stderr, "holdem: a rule of the table is broken: %s\n", broken->c_str());
    std::abort();
  }
}
#else
Game::RuleCheck::RuleCheck(const Game&, TableEvent e) : event(e) {}
#endif

void Game::click(Button button) {
  RuleCheck check(*this, view_.isEnabled(button) ? TableEvent::Button : TableEvent::IgnoredClick);
  if (!view_.isEnabled(button)) return;
  switch (button) {
    case Button::Deal: deal(); break;
    case Button::CheckCall: checkOrCall(); break;
    case Button::Raise: betOrRaise(); break;
    case Button::Fold: fold(); break;
    case Button::Count: break;
  }
  // Only a click ends a deal; the record goes out once the click is done.
  const bool bettingOpen =
      view_.isEnabled(Button::CheckCall) || view_.isEnabled(Button::Raise) || view_.isEnabled(Button::Fold);
  if (const HandRecord* finished = record_.takeFinished(state_, bettingOpen); finished && dealFinished_)
    dealFinished_(*finished);
}

void Game::onDealFinished(std::function<void(const HandRecord&)> listener) {
  dealFinished_ = std::move(listener);
}

void Game::beginRecord() { record_.begin(state_, clock_.secondsNow(), clock_.utcOffsetSeconds()); }

void Game::toggleOptions() {
  RuleCheck check(*this, TableEvent::Other);
  view_.panelVisible = !view_.panelVisible;
}

void Game::closeOptions() {
  RuleCheck check(*this, TableEvent::Other);
  view_.panelVisible = false;
}

void Game::setMoneyText(std::string text) {
  RuleCheck check(*this, TableEvent::Other);
  view_.money = std::move(text);
}

void Game::setUntilText(std::string text) {
  RuleCheck check(*this, TableEvent::Other);
  view_.until = std::move(text);
}

void Game::selectLevel(int item) {
  RuleCheck check(*this, TableEvent::Other);
  view_.level = item;
}

std::string Game::writeErrorText() const {
  std::string text = "Unable to write to ";
  text += settings_.displayPath();
  return text;
}

bool Game::writeSettings(std::span<const SettingsEntry> entries) {
  if (settings_.writeInts(entries)) return true;
  dialogs_.showMessage(writeErrorText(), "Error", BoxButtons::Ok);
  return false;
}

std::array<SettingsEntry, kSavedAtEachDeal> Game::chipEntries() const {
  std::array<SettingsEntry, kSavedAtEachDeal> entries;
  entries[static_cast<int>(Setting::BackgroundColor)] =
      entry(Setting::BackgroundColor, state_.backgroundColor);
  for (int s = 0; s < kSeatCount; ++s) {
    const Setting cash = cashSetting(static_cast<Seat>(s));
    entries[static_cast<int>(cash)] = entry(cash, state_.cash[s]);
  }
  return entries;
}

void Game::seedFromClock() { random_.seed(static_cast<uint32_t>(clock_.secondsNow())); }

void Game::shuffleAndDeal() {
  shuffleDeck(state_.deck, random_);
  for (int s = 0; s < kSeatCount; ++s) {
    const int first = kFirstDeckPosition[s];
    state_.hole[s] = {state_.deck[first], state_.deck[first + 1]};
  }
  for (int i = 0; i < 5; ++i) state_.board[i] = state_.deck[kFirstBoardPosition + i];
  record_.cardsDealt(state_);
}

void Game::payIntoPot(Seat s, int32_t chips) {
  state_.cashOf(s) = subChips(state_.cashOf(s), chips);
  state_.pot = addChips(state_.pot, chips);
}

void Game::advanceRoundIfClosing(int seatNumber) {
  if (state_.closingSeat != seatNumber) return;
  newMomentOfPlay();
  ++state_.bettingRound;
  paintTable();
}

void Game::passClosingOn(int foldedSeatNumber) {
  TableState& t = state_;
  if (t.closingSeat != foldedSeatNumber) return;
  t.closingSeat = kPlayerSeatNumber;
  for (int next = foldedSeatNumber - 1; next >= 1; --next) {
    if (t.inDeal(seatAt(next))) {
      t.closingSeat = next;
      return;
    }
  }
}

void Game::evaluateHand() {
  DecisionRegisters& d = state_.decision;
  const HandRating r = holdem::evaluateHand(d.evalCards, state_.bettingRound);
  d.handValue = r.handValue;
  d.handKicker = r.handKicker;
  d.straightDraw = r.straightDraw;
  d.flushDraw = r.flushDraw;
  d.connectedHoleCards = r.connectedHoleCards;
  d.suitedHoleCards = r.suitedHoleCards;
}

// Rates the community cards of the round alone into `boardValue` and leaves
// them in slots 2-6 for the rating of a seat; `handValue` is kept.
void Game::evaluateBoard() {
  DecisionRegisters& d = state_.decision;
  d.savedHandValue = d.handValue;
  fillBoardSlots(d.evalCards, state_.board, state_.bettingRound);
  d.evalCards[0] = Card::placeholder(kBoardOnlyHole0);
  d.evalCards[1] = Card::placeholder(kBoardOnlyHole1);
  evaluateHand();
  d.boardValue = d.handValue;
  d.handValue = d.savedHandValue;
}

HandRating Game::rateSeat(Seat s) {
  DecisionRegisters& d = state_.decision;
  evaluateBoard();
  d.evalCards[0] = state_.hole[index(s)][0];
  d.evalCards[1] = state_.hole[index(s)][1];
  evaluateHand();
  return {d.handValue, d.handKicker, d.straightDraw, d.flushDraw, d.connectedHoleCards, d.suitedHoleCards};
}

HandRating Game::judgeHand(Seat s) {
  HandRating r = rateSeat(s);
  r.handValue = state_.decision.handValue = judgedHandValue(r.handValue, state_.decision.boardValue);
  return r;
}

void Game::setAllStatusWhite() { view_.statusColor.fill(LabelColor::White); }

void Game::showCash(Seat s) { view_.cashText[index(s)] = number(state_.cashOf(s)); }

void Game::showAllCash() {
  for (int s = 0; s < kSeatCount; ++s) showCash(static_cast<Seat>(s));
}

void Game::showPot() { view_.potText = number(state_.pot); }

void Game::enableBetting(bool on) {
  enable(Button::CheckCall, on);
  enable(Button::Raise, on);
  enable(Button::Fold, on);
}

}  // namespace holdem
