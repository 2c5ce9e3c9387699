// The options panel and the New game command.
#include <algorithm>
#include <charconv>

#include "game/amount.h"
#include "game/game.h"

namespace holdem {

namespace {

constexpr int32_t kLowestOption = 100;
constexpr int32_t kHighestOption = 1000000;

}  // namespace

std::optional<int32_t> parseWholeNumber(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  // from_chars takes a leading minus but not a plus.
  if (text.front() == '+') text.remove_prefix(1);
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int32_t> Game::readOption(const std::string& text) {
  const std::optional<int32_t> value = parseWholeNumber(text);
  if (!value) {
    dialogs_.showMessage("Invalid value", "", BoxButtons::Ok);
    return std::nullopt;
  }
  if (*value < kLowestOption || *value > kHighestOption) {
    dialogs_.showMessage("the value is off limits", "", BoxButtons::Ok);
    return std::nullopt;
  }
  return value;
}

void Game::enterInitialCash() {
  const std::optional<int32_t> value = readOption(view_.money);
  if (!value) return;
  state_.initialCash = *value;
  dialogs_.showMessage("New initial cash value confirmation", "", BoxButtons::Ok);
  const SettingsEntry saved = entry(Setting::InitialCash, *value);
  if (!writeSettings({&saved, 1})) return;
  state_.cash.fill(*value);
  showAllCash();
}

void Game::enterTarget() {
  const std::optional<int32_t> value = readOption(view_.until);
  if (!value) return;
  state_.untilTarget = *value;
  dialogs_.showMessage("New until value confirmation", "", BoxButtons::Ok);
  const SettingsEntry saved = entry(Setting::UntilTarget, *value);
  writeSettings({&saved, 1});
}

void Game::changeBettingLimit(int step) {
  view_.upDownPosition = std::clamp(view_.upDownPosition + step, 1, 5);
  state_.smallBet = 2 * view_.upDownPosition;
  state_.bigBet = 4 * view_.upDownPosition;
  view_.smallBetText = std::to_string(state_.smallBet);
  view_.bigBetText = std::to_string(state_.bigBet);
}

void Game::chooseCardBack(int item) {
  view_.backItem = item;
  state_.cardBackIndex = kFirstBackImage + item;
  paintTable();
  const SettingsEntry saved = entry(Setting::CardBack, state_.cardBackIndex);
  writeSettings({&saved, 1});
}

void Game::newGame() {
  TableState& t = state_;
  // Step 1: the new game's shuffles start from the clock.
  seedFromClock();
  // Step 2.
  if (!dialogs_.showMessage("Are you sure?", "New game", BoxButtons::YesNo)) return;
  // A starting cash that is not a whole number changes nothing.
  const std::optional<int32_t> cash = parseWholeNumber(view_.money);
  if (!cash) {
    dialogs_.showMessage("Invalid value", "", BoxButtons::Ok);
    return;
  }
  // Step 3.
  t.dealsCount = 1;
  t.handsPlayed = 0;
  t.handsWon = 0;
  t.dealsDealt = 3;
  // Step 4: every seat starts again from the panel's cash, without limits.
  t.cash.fill(*cash);
  t.initialCash = *cash;
  // Step 5.
  setStatus(Seat::Player, "");
  view_.result.clear();
  t.raised.fill(false);
  t.folded.fill(false);
  // Step 6.
  t.bettingRound = kPreFlop;
  t.foldCount = 0;
  t.closingSeat = 1;
  t.bigBlindSeat = 1;
  // Step 7.
  enable(Button::Deal, false);
  enableBetting(true);
  // Steps 8 and 9.
  canvas_.fillTable(kBoardArea);
  for (Seat s : kOpponents) setStatus(s, "");
  // Steps 10 to 16: the blinds of the first hand.
  postFirstBlinds(true);
  // Step 17: the hand is dealt once more, and these are the cards played.
  shuffleAndDeal();
  paintTable();
}

}  // namespace holdem
