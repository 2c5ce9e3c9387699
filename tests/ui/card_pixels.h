#pragma once

// Where the game's state puts the cards on the table, and whether a picture
// of the table (the canvas, or the screen) shows each of them whole: drawn
// sharp for the picture's pixel ratio, with its twelve corner pixels black.
// No test framework in here: the screen check uses it too.

#include <QImage>
#include <QPoint>
#include <set>
#include <string>
#include <vector>

#include "game/game.h"
#include "ui/card_art.h"

namespace holdem::uitest {

// The twelve pixels that round off the corners of a card at (x, y).
inline std::vector<QPoint> cornerPixels(int x, int y) {
  const int r = x + kCardWidth - 1, b = y + kCardHeight - 1;
  return {{x, y},     {r, y},     {x, b},     {r, b},     {x + 1, y}, {x, y + 1},
          {r - 1, y}, {r, y + 1}, {x, b - 1}, {x + 1, b}, {r, b - 1}, {r - 1, b}};
}

struct CardPlace {
  Point at;          // logical top-left corner on the table
  int image;         // card picture
  int visible;       // logical columns from the left not covered by the next card
  std::string name;  // for messages
};

// The cards that the game's state puts on the table, bottom ones first.
inline std::vector<CardPlace> cardsOnTable(const TableState& t) {
  std::vector<CardPlace> cards;
  for (int s = 0; s < kSeatCount; ++s) {
    const CardsShown shown = cardsShown(t, static_cast<Seat>(s));
    if (shown == CardsShown::None) continue;
    for (int slot = 0; slot < 2; ++slot) {
      const Point at = kSeats[s].cardSlot[slot];
      cards.push_back({at, shown == CardsShown::Up ? t.hole[s][slot].imageIndex() : backPicture(t),
                       slot == 0 ? kSeats[s].cardSlot[1].x - at.x : kCardWidth,
                       std::string(kSeats[s].name) + " slot " + std::to_string(slot)});
    }
  }
  const int board = boardCardsShown(t);
  for (int i = 0; i < board; ++i)
    cards.push_back({kBoardSlots[i], t.board[i].imageIndex(),
                     i + 1 < board ? kBoardSlots[i + 1].x - kBoardSlots[i].x : kCardWidth,
                     "board " + std::to_string(i)});
  return cards;
}

// The cards that `picture` does not show whole, each with the count of its
// wrong pixels. `origin` is the device pixel of the table's top-left corner.
inline std::vector<std::string> cardMismatches(const QImage& picture, int ratio, const std::vector<CardPlace>& cards,
                                               QPoint origin = {}) {
  std::vector<std::string> bad;
  for (const CardPlace& c : cards) {
    const QImage sharp = renderCardPicture(c.image, ratio);
    std::set<std::pair<int, int>> corners;
    for (const QPoint p : cornerPixels(c.at.x, c.at.y)) corners.insert({p.x(), p.y()});
    int wrongCorners = 0, wrongFace = 0;
    for (int y = 0; y < kCardHeight * ratio; ++y)
      for (int x = 0; x < c.visible * ratio; ++x) {
        const QPoint device = origin + QPoint(c.at.x * ratio + x, c.at.y * ratio + y);
        if (!picture.rect().contains(device)) {
          ++wrongFace;
        } else if (corners.count({c.at.x + x / ratio, c.at.y + y / ratio})) {
          wrongCorners += picture.pixel(device) != qRgb(0, 0, 0) ? 1 : 0;
        } else {
          wrongFace += picture.pixel(device) != sharp.pixel(x, y) ? 1 : 0;
        }
      }
    if (wrongCorners || wrongFace)
      bad.push_back(c.name + ": " + std::to_string(wrongCorners) + " corner and " + std::to_string(wrongFace) +
                    " card pixels wrong");
  }
  return bad;
}

}  // namespace holdem::uitest
