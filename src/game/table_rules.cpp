#include "game/table_rules.h"

#include <algorithm>
#include <array>

namespace holdem {

std::optional<std::string> brokenTableRule(const TableSnapshot& before, TableEvent e,
                                           const TableSnapshot& after, bool buttonsFollowTheDeal) {
  const TableState& t = after.state;
  const TableView& v = after.view;
  const auto broken = [](std::string what) { return std::optional<std::string>(std::move(what)); };

  // A disabled button does nothing at all.
  if (e == TableEvent::IgnoredClick && (before.state != after.state || before.view != after.view)) {
    return broken("a click on a disabled button did something");
  }

  // The deck is always the 52 cards, in some order.
  std::array<bool, kDeckSize> seen{};
  for (const Card c : t.deck) {
    const int i = c.imageIndex();
    if (c.suit < 0 || c.suit > 3 || c.rank < 0 || c.rank > 12 || seen[i]) {
      return broken("the deck is not a permutation of the 52 cards (card " + std::to_string(i) + ")");
    }
    seen[i] = true;
  }

  // Seat numbers stay seat numbers.
  if (t.bigBlindSeat < 1 || t.bigBlindSeat > kSeatCount) {
    return broken("bigBlindSeat " + std::to_string(t.bigBlindSeat) + " is no seat");
  }
  if (t.closingSeat < 1 || t.closingSeat > kSeatCount) {
    return broken("closingSeat " + std::to_string(t.closingSeat) + " is no seat");
  }

  // At most one opponent holds the raise, and never the human.
  if (std::count(t.raised.begin(), t.raised.end(), true) > 1) return broken("more than one raised flag");
  if (t.raised[index(Seat::Player)]) return broken("the human's raised flag is set");

  // Within a deal the round only moves on, and a folded seat stays folded.
  const bool newDeal = t.dealsCount != before.state.dealsCount || e == TableEvent::NewGameYes;
  if (!newDeal) {
    if (t.bettingRound < before.state.bettingRound) {
      return broken("the round went back within a deal: " + std::to_string(before.state.bettingRound) +
                    " to " + std::to_string(t.bettingRound));
    }
    for (int s = 0; s < kSeatCount; ++s) {
      if (before.state.folded[s] && !t.folded[s]) return broken("seat " + std::to_string(s) + " unfolded");
    }
  }

  // The buttons, as the moments of a deal have them.
  const bool gameOver = !v.isEnabled(Button::Deal) && !v.isEnabled(Button::CheckCall);
  const bool dealOver = t.bettingRound == kDealOver || t.foldCount == kOpponentCount;
  if (buttonsFollowTheDeal && t.foldCount <= kOpponentCount &&
      (e == TableEvent::Button || e == TableEvent::NewGameYes) && !gameOver) {
    if (dealOver) {
      if (!v.isEnabled(Button::Deal)) return broken("the deal is over but Deal is disabled");
      if (v.isEnabled(Button::CheckCall) || v.isEnabled(Button::Raise) || v.isEnabled(Button::Fold)) {
        return broken("the deal is over but a betting button is enabled");
      }
    } else {
      if (v.isEnabled(Button::Deal)) return broken("Deal is enabled in a running deal");
      if (!v.isEnabled(Button::CheckCall) || !v.isEnabled(Button::Fold)) {
        return broken("Check/Call or Fold is disabled in a running deal");
      }
      if (!v.isEnabled(Button::Raise)) {
        if (v.stayCaption != "Call") return broken("Raise is disabled but the caption is " + v.stayCaption);
        if (std::count(t.raised.begin(), t.raised.end(), true) != 1) {
          return broken("Raise is disabled but no opponent holds the raise");
        }
      }
    }
  }
  if (e == TableEvent::Other && v.enabled != before.view.enabled) {
    return broken("an event outside the betting changed the buttons");
  }

  // The labels show the chips as they are.
  for (int s = 0; s < kSeatCount; ++s) {
    if (v.cashText[s] != std::to_string(t.cash[s])) {
      return broken("cash label of seat " + std::to_string(s) + " reads " + v.cashText[s] +
                    ", the seat holds " + std::to_string(t.cash[s]));
    }
  }
  if (v.potText != std::to_string(t.pot)) {
    return broken("the pot label reads " + v.potText + ", the pot holds " + std::to_string(t.pot));
  }
  return std::nullopt;
}

}  // namespace holdem
