#include "game/cards_on_table.h"

#include <algorithm>

#include "game/pictures.h"

namespace holdem {

void CardsOnTable::fillTable(const Rect& area) {
  canvas_.fillTable(area);
  std::erase_if(drawn_, [&](const Drawn& c) {
    return c.x >= area.left && c.y >= area.top && c.x + kCardWidth <= area.right &&
           c.y + kCardHeight <= area.bottom;
  });
}

void CardsOnTable::drawCard(int x, int y, int image) {
  canvas_.drawCard(x, y, image);
  if (image < 0 || image >= kCardPictureCount) return;  // the canvas draws nothing either
  // A card laid on the very place of another hides it whole.
  std::erase_if(drawn_, [&](const Drawn& c) { return c.x == x && c.y == y; });
  drawn_.push_back({x, y, image});
}

int CardsOnTable::pictureAt(Point at) const {
  for (auto it = drawn_.rbegin(); it != drawn_.rend(); ++it)
    if (it->x == at.x && it->y == at.y) return it->image;
  return -1;
}

}  // namespace holdem
