#pragma once

// The double-ended figures of the jacks, queens and kings.

#include <QPainter>

namespace holdem::card_art {

// The framed panel of a jack, queen or king: its upper half, to be copied below.
void drawCourtUpperHalf(QPainter& p, int suit, int rank);

// The frame round the court panel and the line between its halves.
void drawCourtFrame(QPainter& p, int suit);

}  // namespace holdem::card_art
