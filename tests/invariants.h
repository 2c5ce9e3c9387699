#pragma once

// The rules of the table that hold after every single user event, whatever
// came before: shared by the randomized test and the engine's fuzz target.
// No test framework in here; a broken rule comes back as words.

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "game/game.h"

namespace holdem::invariants {

// What kind of user event came between two looks at the table.
enum class EventKind : uint8_t {
  Button,        // a click on an enabled Deal, Check/Call, Raise or Fold
  IgnoredClick,  // a click on one of them while it is disabled
  NewGameYes,    // New game, answered Yes
  Other,         // New game answered No, and everything in the options panel
};

// The table as it stood before an event.
struct Snapshot {
  TableState state;
  TableView view;
};

inline Snapshot snapshotOf(const Game& g) { return {g.state(), g.view()}; }

// Whether anything of the table that play or the window can see differs.
inline bool sameTable(const Snapshot& a, const Game& g) {
  const TableState& s = a.state;
  const TableState& t = g.state();
  const TableView& u = a.view;
  const TableView& v = g.view();
  return s.deck == t.deck && s.cash == t.cash && s.folded == t.folded && s.raised == t.raised && s.hole == t.hole &&
         s.board == t.board && s.bettingRound == t.bettingRound && s.bigBlindSeat == t.bigBlindSeat &&
         s.closingSeat == t.closingSeat && s.pot == t.pot && s.currentBet == t.currentBet &&
         s.foldCount == t.foldCount && s.potAwarded == t.potAwarded && s.dealsCount == t.dealsCount &&
         s.handsPlayed == t.handsPlayed && s.handsWon == t.handsWon && s.smallBet == t.smallBet &&
         s.bigBet == t.bigBet && s.initialCash == t.initialCash && s.untilTarget == t.untilTarget &&
         s.cardBackIndex == t.cardBackIndex && u.status == v.status && u.statusColor == v.statusColor &&
         u.cashText == v.cashText && u.result == v.result && u.potText == v.potText && u.enabled == v.enabled &&
         u.stayCaption == v.stayCaption && u.money == v.money && u.until == v.until && u.smallBetText == v.smallBetText &&
         u.bigBetText == v.bigBetText && u.level == v.level && u.backItem == v.backItem;
}

// Whether the button table covers a deal that start-up or New game has just
// begun. Both count the human too among the seats without chips, so a
// hand-edited file can begin a deal with a fold count of seven, as if won by
// folds, while its betting runs.
inline bool buttonTableCovers(const TableState& t) { return t.foldCount < kOpponentCount; }

// Every rule that holds after the event `e` took the table from `before` to
// `g`. Returns the first broken rule in words, or nothing when all hold.
//
// `buttonTable`: whether the buttons must follow the moments of the deal;
// see buttonTableCovers. A fold count past seven is outside the button table
// too: only a seat counted out at the start of the deal that folds after all
// (its stack refilled by the options panel in the middle of the deal, or the
// human counted out at start-up) brings that about.
inline std::optional<std::string> brokenRule(const Snapshot& before, EventKind e, const Game& g,
                                             bool buttonTable = true) {
  const TableState& t = g.state();
  const TableView& v = g.view();
  const auto broken = [](std::string what) { return std::optional<std::string>(std::move(what)); };

  // A disabled button does nothing at all.
  if (e == EventKind::IgnoredClick && !sameTable(before, g)) return broken("a click on a disabled button did something");

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
  const bool newDeal = t.dealsCount != before.state.dealsCount || e == EventKind::NewGameYes;
  if (!newDeal) {
    if (t.bettingRound < before.state.bettingRound) {
      return broken("the round went back within a deal: " + std::to_string(before.state.bettingRound) + " to " +
                    std::to_string(t.bettingRound));
    }
    for (int s = 0; s < kSeatCount; ++s) {
      if (before.state.folded[s] && !t.folded[s]) return broken("seat " + std::to_string(s) + " unfolded");
    }
  }

  // The buttons, as the moments of a deal have them.
  const bool gameOver = !v.isEnabled(Button::Deal) && !v.isEnabled(Button::CheckCall);
  const bool dealOver = t.bettingRound == kDealOver || t.foldCount == kOpponentCount;
  if (buttonTable && t.foldCount <= kOpponentCount && (e == EventKind::Button || e == EventKind::NewGameYes) &&
      !gameOver) {
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
      if (v.stayCaption == "Check" && !v.isEnabled(Button::Raise)) return broken("Check without Raise");
    }
  }
  if (e == EventKind::Other && v.enabled != before.view.enabled) {
    return broken("an event outside the betting changed the buttons");
  }

  // The labels show the chips as they are.
  for (int s = 0; s < kSeatCount; ++s) {
    if (v.cashText[s] != std::to_string(t.cash[s])) {
      return broken("cash label of seat " + std::to_string(s) + " reads " + v.cashText[s] + ", the seat holds " +
                    std::to_string(t.cash[s]));
    }
  }
  if (v.potText != std::to_string(t.pot)) {
    return broken("the pot label reads " + v.potText + ", the pot holds " + std::to_string(t.pot));
  }
  return std::nullopt;
}

}  // namespace holdem::invariants
