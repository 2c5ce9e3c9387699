#pragma once

// Whether a picture of the table (the canvas, or the screen) shows each card
// the game's state calls for whole: drawn sharp for the picture's pixel
// ratio, with its twelve corner pixels black. No test framework in here: the
// screen check uses it too.

#include <QImage>
#include <QPoint>
#include <set>
#include <string>
#include <vector>

#include "../test_support.h"
#include "ui/card_art.h"

namespace holdem::uitest {

// The twelve pixels that round off the corners of a card at (x, y).
inline std::vector<QPoint> cornerPixels(int x, int y) {
  const int r = x + kCardWidth - 1, b = y + kCardHeight - 1;
  return {{x, y},     {r, y},     {x, b},     {r, b},     {x + 1, y}, {x, y + 1},
          {r - 1, y}, {r, y + 1}, {x, b - 1}, {x + 1, b}, {r, b - 1}, {r - 1, b}};
}

// The cards that `picture` does not show whole, each with the count of its
// wrong pixels. `origin` is the device pixel of the table's top-left corner.
inline std::vector<std::string> cardMismatches(const QImage& picture, int ratio,
                                               const std::vector<testing::CardPlace>& cards,
                                               QPoint origin = {}) {
  std::vector<std::string> bad;
  for (const testing::CardPlace& c : cards) {
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
      bad.push_back(c.name + ": " + std::to_string(wrongCorners) + " corner and " +
                    std::to_string(wrongFace) + " card pixels wrong");
  }
  return bad;
}

}  // namespace holdem::uitest
