#pragma once

// The rules of the table that hold after every single user event, whatever
// came before. Debug and sanitizer builds check them inside the game after
// each event, as a chess engine asserts its position; the randomized tests
// and the fuzz targets thereby check them too.

#include <optional>
#include <string>

#include "game/table_state.h"
#include "game/view.h"

namespace holdem {

// What kind of user event came between two looks at the table.
enum class TableEvent : uint8_t {
  Button,        // a click on an enabled Deal, Check/Call, Raise or Fold
  IgnoredClick,  // a click on one of them while it is disabled
  NewGameYes,    // New game, answered Yes
  Other,         // New game answered No, and everything in the options panel
};

// The table as it stood at one moment.
struct TableSnapshot {
  TableState state;
  TableView view;
};

// Every rule that holds after the event `e` took the table from `before` to
// `after`; the first broken rule in words, or nothing when all hold.
//
// `buttonsFollowTheDeal`: whether the buttons must follow the moments of the
// deal. Start-up and New game count the human too among the seats without
// chips, so a hand-edited file can begin a deal with a fold count of seven,
// as if won by folds, while its betting runs; such a deal is not held to the
// moments of the buttons. A fold count past seven is outside them too: only a
// seat counted out at the start of the deal that folds after all (its stack
// refilled by the options panel in the middle of the deal, or the human
// counted out at start-up) brings that about.
std::optional<std::string> brokenTableRule(const TableSnapshot& before, TableEvent e,
                                           const TableSnapshot& after, bool buttonsFollowTheDeal);

// Whether the buttons can follow a deal that start-up or New game has begun.
inline bool buttonsCanFollow(const TableState& t) { return t.foldCount < kOpponentCount; }

}  // namespace holdem
