#pragma once

// The game's own artwork: the 56 card pictures and the felt of the table.
// Everything is drawn by code, so the pictures are the same on every run.

#include <QImage>
#include <QList>

#include "game/pictures.h"

namespace holdem {

// The picture numbers of the backs, after the 52 faces (13 * suit + rank).
inline constexpr int kBackDenim = kFirstBackImage;
inline constexpr int kBackCloth = kFirstBackImage + 1;
inline constexpr int kBackRock = kFirstBackImage + 2;
inline constexpr int kBackLeather = kFirstBackImage + 3;
static_assert(kBackLeather == kFirstBackImage + kBackCount - 1, "one name for each back");

// Picture `index` (0..55) as an opaque 71 x 96 image in Format_RGB32: a face
// for 0..51, a back for 52..55. A null image for any other index. Text is
// drawn with the system's fonts, so a QGuiApplication must exist.
QImage renderCardPicture(int index);

// The same picture drawn sharp for a screen of the given pixel ratio: its
// size is 71 * dpr x 96 * dpr pixels and it carries devicePixelRatio() == dpr,
// so it still covers 71 x 96 logical pixels when painted.
QImage renderCardPicture(int index, qreal devicePixelRatio);

// All 56 pictures in picture order.
QList<QImage> renderAllCardPictures();
QList<QImage> renderAllCardPictures(qreal devicePixelRatio);

// The felt of the table: a square, seamlessly tileable RGB32 image. It is the
// source of the shipped "texas.bmp"; integer arithmetic only, so every build
// makes the very same pixels. Needs no QGuiApplication.
QImage renderTablePicture();

}  // namespace holdem
