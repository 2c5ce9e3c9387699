// The options panel: initial cash, target, betting limit and card back.
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
  RuleCheck check(*this, TableEvent::Other);
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
  RuleCheck check(*this, TableEvent::Other);
  const std::optional<int32_t> value = readOption(view_.until);
  if (!value) return;
  state_.untilTarget = *value;
  dialogs_.showMessage("New until value confirmation", "", BoxButtons::Ok);
  const SettingsEntry saved = entry(Setting::UntilTarget, *value);
  writeSettings({&saved, 1});
}

void Game::changeBettingLimit(int step) {
  RuleCheck check(*this, TableEvent::Other);
  view_.upDownPosition = std::clamp(view_.upDownPosition + step, kLowestLimit, kHighestLimit);
  state_.smallBet = smallBetOfLimit(view_.upDownPosition);
  state_.bigBet = bigBetOfLimit(view_.upDownPosition);
  view_.smallBetText = std::to_string(state_.smallBet);
  view_.bigBetText = std::to_string(state_.bigBet);
}

void Game::chooseCardBack(int item) {
  RuleCheck check(*this, TableEvent::Other);
  view_.backItem = item;
  state_.cardBackIndex = kFirstBackImage + item;
  paintTable();
  const SettingsEntry saved = entry(Setting::CardBack, state_.cardBackIndex);
  writeSettings({&saved, 1});
}

}  // namespace holdem
