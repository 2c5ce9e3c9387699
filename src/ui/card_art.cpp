#include "ui/card_art.h"

// Every card picture: a face or a back, then the thin edge all cards share.
// The parts are drawn in src/ui/card_art/; the felt is in felt.cpp there.

#include <QColor>
#include <QPainter>
#include <cmath>

#include "game/pictures.h"
#include "ui/card_art/backs.h"
#include "ui/card_art/faces.h"

namespace holdem {
namespace {

// The dark edge round every card: its colour and its width in logical pixels.
const QColor kEdgeColor(28, 28, 30);
constexpr int kEdgeWidth = 1;

// The thin dark edge of every card.
void drawEdge(QImage& img, qreal dpr) {
  QPainter p(&img);
  p.scale(dpr, dpr);
  p.setPen(Qt::NoPen);
  p.setBrush(kEdgeColor);
  p.drawRect(QRectF(0, 0, kCardWidth, kEdgeWidth));
  p.drawRect(QRectF(0, kCardHeight - kEdgeWidth, kCardWidth, kEdgeWidth));
  p.drawRect(QRectF(0, 0, kEdgeWidth, kCardHeight));
  p.drawRect(QRectF(kCardWidth - kEdgeWidth, 0, kEdgeWidth, kCardHeight));
}

}  // namespace

QImage renderCardPicture(int index) { return renderCardPicture(index, 1.0); }

QImage renderCardPicture(int index, qreal devicePixelRatio) {
  if (index < 0 || index >= kCardPictureCount || !(devicePixelRatio > 0)) return {};
  const qreal dpr = devicePixelRatio;
  QImage img(static_cast<int>(std::lround(kCardWidth * dpr)),
             static_cast<int>(std::lround(kCardHeight * dpr)), QImage::Format_RGB32);
  // Drawn in device pixels with the painter scaled by hand; the ratio is set
  // once the picture is done.
  if (index >= kFirstBackImage)
    card_art::drawBack(img, dpr, index);
  else
    card_art::drawFace(img, dpr, index / kRankCount, index % kRankCount);
  drawEdge(img, dpr);
  img.setDevicePixelRatio(dpr);
  return img;
}

QList<QImage> renderAllCardPictures() { return renderAllCardPictures(1.0); }

QList<QImage> renderAllCardPictures(qreal devicePixelRatio) {
  QList<QImage> pictures;
  pictures.reserve(kCardPictureCount);
  for (int i = 0; i < kCardPictureCount; ++i) pictures.append(renderCardPicture(i, devicePixelRatio));
  return pictures;
}

}  // namespace holdem
