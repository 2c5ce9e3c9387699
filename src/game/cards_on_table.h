#pragma once

// Keeps account of the cards lying on the table: the game draws through it
// onto the real canvas, and it remembers which picture lies where until a
// fill of the table or a whole repaint takes it away. The window reads it to
// tell in words what the table shows; the tests, to see that the table shows
// what the state calls for.

#include <vector>

#include "game/ports.h"

namespace holdem {

class CardsOnTable final : public Canvas {
 public:
  explicit CardsOnTable(Canvas& canvas) : canvas_(canvas) {}

  // Canvas: passed on unchanged.
  void fillTable(const Rect& area) override;
  void drawCard(int x, int y, int image) override;
  void setPixel(int x, int y, uint32_t rgb) override { canvas_.setPixel(x, y, rgb); }

  // The whole table was painted afresh with no card on it.
  void clear() { drawn_.clear(); }

  // The picture whose top-left corner lies at `at` and that no fill has
  // covered whole since it was drawn, the latest one there; -1 for none. A
  // card covered in part by another still counts: some of it shows.
  int pictureAt(Point at) const;

 private:
  struct Drawn {
    int x;
    int y;
    int image;
  };
  Canvas& canvas_;
  std::vector<Drawn> drawn_;  // oldest first
};

}  // namespace holdem
