#include "ui/card_art.h"

// Every card picture: a face or a back, then the thin edge all cards share.
// The parts are drawn in src/ui/card_art/; the felt is in felt.cpp there.

#include <QPainter>
#include <cmath>

#include "game/pictures.h"
#include "ui/card_art/backs.h"
#include "ui/card_art/drawing.h"
#include "ui/card_art/faces.h"

namespace holdem {
namespace {

using card_art::kEdge;
using card_art::kH;
using card_art::kRanks;
using card_art::kW;

// The thin dark edge of every card, one logical pixel wide.
void drawEdge(QImage& img, qreal dpr) {
  QPainter p(&img);
  p.scale(dpr, dpr);
  p.setPen(Qt::NoPen);
  p.setBrush(kEdge);
  p.drawRect(QRectF(0, 0, kW, 1));
  p.drawRect(QRectF(0, kH - 1, kW, 1));
  p.drawRect(QRectF(0, 0, 1, kH));
  p.drawRect(QRectF(kW - 1, 0, 1, kH));
}

}  // namespace

QImage renderCardPicture(int index) { return renderCardPicture(index, 1.0); }

QImage renderCardPicture(int index, qreal devicePixelRatio) {
  if (index < 0 || index >= kCardPictureCount || !(devicePixelRatio > 0)) return {};
  const qreal dpr = devicePixelRatio;
  QImage img(static_cast<int>(std::lround(kW * dpr)), static_cast<int>(std::lround(kH * dpr)),
             QImage::Format_RGB32);
  // Drawn in device pixels with the painter scaled by hand; the ratio is set
  // once the picture is done.
  if (index >= kFirstBackImage)
    card_art::drawBack(img, dpr, index);
  else
    card_art::drawFace(img, dpr, index / kRanks, index % kRanks);
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
