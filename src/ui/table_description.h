#pragma once

// The table in words, for screen readers: the cards that lie at each seat
// and on the board, as a sighted player sees them.

#include <QString>
#include <array>
#include <functional>

#include "game/seats.h"
#include "game/table_state.h"
#include "game/view.h"

namespace holdem {

// The card pictures (0..55) that lie at the layout's card places, -1 where
// the table shows none.
struct TableShown {
  static constexpr int kNone = -1;
  std::array<std::array<int, 2>, kSeatCount> seats;  // by Seat, slot 0 then slot 1
  std::array<int, 5> board;

  TableShown() {
    for (auto& s : seats) s.fill(kNone);
    board.fill(kNone);
  }
  friend bool operator==(const TableShown&, const TableShown&) = default;
};

// Reads the card places of the layout through `pictureAt`, which gives the
// picture whose top-left corner lies at a point, or -1.
TableShown tableShownAt(const std::function<int(Point)>& pictureAt);

// What a paint of the table in state `t` draws at the card places.
TableShown tableShownBy(const TableState& t);

// "Ace of spades" for a face (13 * suit + rank), "a card face down" for a back.
QString cardName(int picture);

// The table in a few sentences: your cards, the board, then every opponent
// clockwise from Freak: the cards it holds face down, the cards it shows
// (with the hand's name at the end of a deal), or why it holds none.
QString describeTable(const TableShown& shown, const TableState& t, const TableView& v);

}  // namespace holdem
