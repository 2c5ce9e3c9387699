#include "game/game.h"

#include <ctime>

#include "game/amount.h"
#include "game/settings_keys.h"

namespace holdem {

namespace {

std::string number(int32_t value) { return std::to_string(value); }

}  // namespace

int64_t SystemClock::secondsNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<int64_t>(now) + local.tm_gmtoff;
}

Game::Game(SettingsStore& settings, Dialogs& dialogs, Canvas& canvas, Clock& clock)
    : settings_(settings), dialogs_(dialogs), canvas_(canvas), clock_(clock) {}

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
  entries[static_cast<int>(Setting::BackgroundColor)] = entry(Setting::BackgroundColor, state_.backgroundColor);
  for (int s = 0; s < kSeatCount; ++s) {
    const Setting cash = cashSetting(static_cast<Seat>(s));
    entries[static_cast<int>(cash)] = entry(cash, state_.cash[s]);
  }
  return entries;
}

void Game::seedFromClock() { random_.seed(static_cast<uint32_t>(clock_.secondsNow())); }

void Game::shuffleAndDeal() {
  shuffleDeck(state_.deck, random_);
  // Freak takes deck positions 0 and 1, the human 2 and 3, then Geek on to Robot.
  static constexpr PerSeat<int> kFirstPosition{2, 0, 4, 6, 8, 10, 12, 14};
  for (int s = 0; s < kSeatCount; ++s) {
    state_.hole[s] = {state_.deck[kFirstPosition[s]], state_.deck[kFirstPosition[s] + 1]};
  }
  for (int i = 0; i < 5; ++i) state_.board[i] = state_.deck[kFirstBoardPosition + i];
}

bool Game::startUp() {
  TableState& t = state_;
  // Step 2: statistics.
  t.dealsCount = 1;
  t.handsPlayed = 0;
  t.handsWon = 0;
  t.potAwarded = false;
  // Step 3: a deal is already running.
  enable(Button::Deal, false);
  view_.panelVisible = false;
  // Step 4.
  t.closingSeat = 1;
  // Steps 5 and 6: read the twelve keys, then write them straight back.
  std::array<SettingsKey, kSettingCount> keys;
  for (int i = 0; i < kSettingCount; ++i) keys[i] = kSettings[i].name;
  const std::vector<std::optional<int32_t>> read = settings_.readInts(keys);
  const auto value = [&](Setting s) { return read[static_cast<int>(s)].value_or(info(s).fallback); };
  t.backgroundColor = value(Setting::BackgroundColor);
  for (int s = 0; s < kSeatCount; ++s) t.cash[s] = value(cashSetting(static_cast<Seat>(s)));
  t.untilTarget = value(Setting::UntilTarget);
  t.initialCash = value(Setting::InitialCash);
  t.cardBackIndex = value(Setting::CardBack);
  const auto chips = chipEntries();
  const SettingsEntry entries[] = {
      chips[0], chips[1], chips[2], chips[3], chips[4], chips[5], chips[6], chips[7], chips[8],
      entry(Setting::UntilTarget, t.untilTarget),
      entry(Setting::InitialCash, t.initialCash),
      entry(Setting::CardBack, t.cardBackIndex),
  };
  if (!writeSettings(entries)) return false;
  // Step 7: the card back; a number that is no back selects nothing.
  const int item = subChips(t.cardBackIndex, kFirstBackImage);
  view_.backItem = item >= 0 && item < 4 ? item : -1;
  // Step 8.
  view_.money = number(t.initialCash);
  view_.until = number(t.untilTarget);
  // Step 9: the human's profile and the AI level.
  t.playerRaiseTotal = 0;
  t.dealsDealt = 0;
  t.playerIsAggressive = true;
  t.peekThreshold = 100;
  view_.level = 0;
  // Step 10.
  seedFromClock();
  // Step 11.
  t.bettingRound = kPreFlop;
  t.folded.fill(false);
  t.raised.fill(false);
  t.foldCount = 0;
  // Step 12: the deck is built once, here; shuffles only permute it.
  t.deck = buildDeck();
  // Step 13.
  showAllCash();
  for (Seat s : kOpponents) setStatus(s, "");
  // Step 14: the lowest betting limit.
  t.smallBet = 2;
  t.bigBet = 4;
  t.closingSeat = 1;
  t.bigBlindSeat = 1;
  view_.upDownPosition = 1;
  view_.smallBetText = "2";
  view_.bigBetText = "4";
  // Steps 15 to 21: the blinds and the first hand.
  postFirstBlinds(false);
  return true;
}

// The first hand of a run or of a new game: Expert posts the small blind,
// Robot the big blind, and the human acts first. Seats without chips are
// added to `foldCount`, which the caller has cleared.
void Game::postFirstBlinds(bool paint) {
  TableState& t = state_;
  t.smallBlind = t.smallBet / 2;
  t.bigBlind = t.smallBet;
  t.currentBet = t.smallBet;
  for (int s = 0; s < kSeatCount; ++s) {
    if (t.cash[s] <= 0) ++t.foldCount;
  }
  t.pot = addChips(t.smallBlind, t.bigBlind);
  showPot();
  showAllCash();
  shuffleAndDeal();
  if (paint) paintTable();
  view_.stayCaption = "Call";
  enable(Button::Raise, true);
  setStatus(Seat::Pinhead, "");
  setStatus(Seat::Expert, "small blind");
  if (t.cashOf(Seat::Expert) > 0) t.cashOf(Seat::Expert) = subChips(t.cashOf(Seat::Expert), t.smallBlind);
  setStatus(Seat::Robot, "big blind");
  if (t.cashOf(Seat::Robot) > 0) t.cashOf(Seat::Robot) = subChips(t.cashOf(Seat::Robot), t.bigBlind);
  showCash(Seat::Expert);
  showCash(Seat::Robot);
  showPot();
  t.raised[index(Seat::Robot)] = true;
}

void Game::click(Button button) {
  if (!view_.isEnabled(button)) return;
  switch (button) {
    case Button::Deal: deal(); break;
    case Button::CheckCall: checkOrCall(); break;
    case Button::Raise: betOrRaise(); break;
    case Button::Fold: fold(); break;
    case Button::Count: break;
  }
}

void Game::evaluateHand() {
  const HandRating r = holdem::evaluateHand(state_.evalCards, state_.bettingRound);
  state_.handValue = r.handValue;
  state_.handKicker = r.handKicker;
  state_.straightDraw = r.straightDraw;
  state_.flushDraw = r.flushDraw;
  state_.connectedHoleCards = r.connectedHoleCards;
  state_.suitedHoleCards = r.suitedHoleCards;
}

// Rates the community cards of the round alone into `boardValue` and leaves
// them in slots 2-6 for the rating of a seat; `handValue` is kept.
void Game::evaluateBoard() {
  TableState& t = state_;
  t.savedHandValue = t.handValue;
  fillBoardSlots(t.evalCards, t.board, t.bettingRound);
  t.evalCards[0] = Card::placeholder(kBoardOnlyHole0);
  t.evalCards[1] = Card::placeholder(kBoardOnlyHole1);
  evaluateHand();
  t.boardValue = t.handValue;
  t.handValue = t.savedHandValue;
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
