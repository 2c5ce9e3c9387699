#pragma once

// The four card backs: denim, cloth, rock and leather.

#include <QImage>

namespace holdem::card_art {

// Draws back picture `index` (kBackDenim .. kBackLeather) over the whole of
// `img`, a card of pixel ratio `dpr` (its edge excepted).
void drawBack(QImage& img, qreal dpr, int index);

}  // namespace holdem::card_art
