#pragma once

// The 52 card faces: corner indexes, pips, aces and the court cards.

#include <QImage>

namespace holdem::card_art {

// Draws the face of `rank` in `suit` over the whole of `img`, a card of
// pixel ratio `dpr` (its edge excepted).
void drawFace(QImage& img, qreal dpr, int suit, int rank);

}  // namespace holdem::card_art
