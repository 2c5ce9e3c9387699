// The start of a game: the program's start-up and the menu's New game. Both
// deal the first hand with Expert on the small blind and Robot on the big.
#include <algorithm>

#include "ai/rules.h"
#include "game/amount.h"
#include "game/game.h"

namespace holdem {

bool Game::startUp() {
  TableState& t = state_;
  // Steps 2 to 4: statistics, and a deal is already running.
  t.dealsCount = 1;
  t.handsPlayed = 0;
  t.handsWon = 0;
  t.potAwarded = false;
  enable(Button::Deal, false);
  view_.panelVisible = false;
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
  std::array<SettingsEntry, kSettingCount> entries;
  const auto chips = chipEntries();
  std::copy(chips.begin(), chips.end(), entries.begin());
  entries[static_cast<int>(Setting::UntilTarget)] = entry(Setting::UntilTarget, t.untilTarget);
  entries[static_cast<int>(Setting::InitialCash)] = entry(Setting::InitialCash, t.initialCash);
  entries[static_cast<int>(Setting::CardBack)] = entry(Setting::CardBack, t.cardBackIndex);
  if (!writeSettings(entries)) return false;

  // Steps 7 and 8: the options panel shows what was read; a number that is
  // no card back selects no back.
  const int item = subChips(t.cardBackIndex, kFirstBackImage);
  view_.backItem = item >= 0 && item < kBackCount ? item : -1;
  view_.money = std::to_string(t.initialCash);
  view_.until = std::to_string(t.untilTarget);

  // Step 9: the human's profile and the AI level.
  t.playerRaiseTotal = 0;
  t.dealsDealt = 0;
  t.playerIsAggressive = true;
  t.peekThreshold = kPeekThresholdByLevel[0];
  view_.level = 0;

  // Steps 10 to 12: the generator from the clock, a fresh deal, and the deck
  // built once; every shuffle from now on only permutes it.
  seedFromClock();
  t.bettingRound = kPreFlop;
  t.folded.fill(false);
  t.raised.fill(false);
  t.foldCount = 0;
  t.deck = buildDeck();

  // Steps 13 and 14: the labels and the lowest betting limit.
  showAllCash();
  for (Seat s : kOpponents) setStatus(s, "");
  t.smallBet = smallBetOfLimit(kLowestLimit);
  t.bigBet = bigBetOfLimit(kLowestLimit);
  t.closingSeat = 1;
  t.bigBlindSeat = 1;
  view_.upDownPosition = kLowestLimit;
  view_.smallBetText = std::to_string(t.smallBet);
  view_.bigBetText = std::to_string(t.bigBet);

  // Steps 15 to 21: the blinds and the first hand.
  postFirstBlinds(false);
  buttonsFollowTheDeal_ = buttonsCanFollow(t);
  return true;
}

void Game::newGame() {
  RuleCheck check(*this, TableEvent::Other);
  TableState& t = state_;
  // Steps 1 and 2: the new game's shuffles start from the clock, before the
  // question is answered.
  seedFromClock();
  if (!dialogs_.showMessage("Are you sure?", "New game", BoxButtons::YesNo)) return;
  check.event = TableEvent::NewGameYes;
  // A starting cash that is not a whole number changes nothing.
  const std::optional<int32_t> cash = parseWholeNumber(view_.money);
  if (!cash) {
    dialogs_.showMessage("Invalid value", "", BoxButtons::Ok);
    return;
  }
  // Steps 3 and 4: the statistics, and every seat starts again from the
  // panel's cash, without its limits.
  t.dealsCount = 1;
  t.handsPlayed = 0;
  t.handsWon = 0;
  t.dealsDealt = 3;
  t.cash.fill(*cash);
  t.initialCash = *cash;
  // Steps 5 to 9: a fresh first deal, its board area cleared.
  setStatus(Seat::Player, "");
  view_.result.clear();
  t.raised.fill(false);
  t.folded.fill(false);
  t.bettingRound = kPreFlop;
  t.foldCount = 0;
  t.closingSeat = 1;
  t.bigBlindSeat = 1;
  enable(Button::Deal, false);
  enableBetting(true);
  canvas_.fillTable(kBoardArea);
  for (Seat s : kOpponents) setStatus(s, "");
  // Steps 10 to 16: the blinds of the first hand.
  postFirstBlinds(true);
  // Step 17: the hand is dealt once more, and these are the cards played.
  shuffleAndDeal();
  paintTable();
  buttonsFollowTheDeal_ = buttonsCanFollow(t);
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
  // The blinds: a seat without chips is named but pays nothing, and the pot
  // holds both blinds all the same.
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

}  // namespace holdem
