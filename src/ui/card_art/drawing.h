#pragma once

// What every card picture shares: the centre of a card, the suits and their
// inks, and the suit shapes. For the card art's own files only.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>

#include "game/pictures.h"

namespace holdem::card_art {

// Pictures are drawn in logical pixels, kCardWidth x kCardHeight, with the
// painter scaled to the pixel ratio. The centre of a card:
inline constexpr qreal kCenterX = kCardWidth / 2.0;
inline constexpr qreal kCenterY = kCardHeight / 2.0;

// The suits in the order of the card pictures; the ranks are the evaluator's.
enum Suit : int { kClubs, kDiamonds, kHearts, kSpades };
static_assert(kSpades + 1 == kSuitCount);

inline bool isRed(int suit) { return suit == kDiamonds || suit == kHearts; }

inline const QColor kInkRed(198, 18, 36);
inline const QColor kInkBlack(22, 22, 26);
inline const QColor kFaceWhite(254, 254, 251);
inline const QColor kGold(226, 172, 40);
inline const QColor kSkin(247, 214, 180);

inline QColor inkOf(int suit) { return isRed(suit) ? kInkRed : kInkBlack; }

// Fills the suit shape `size` pixels tall centred at `c`, upside down if asked.
// The painter's transform may translate, scale evenly and turn half round.
void drawSuit(QPainter& p, int suit, QPointF c, qreal size, bool upsideDown, const QColor& color);

// Copies the pixels of `top` (device pixels, in the upper half) to the places
// they take when the card is turned half round about its centre.
void copyTurned(QImage& img, const QRect& top);

}  // namespace holdem::card_art
