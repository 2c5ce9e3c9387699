// Writes the game's icon: two of its own cards fanned out, the Ace of hearts
// behind the Ace of spades, on a transparent square.
//
//   make_icon OUTPUT.png SIZE
//
// The cards are drawn for the size, not scaled down from a larger picture.
// Needs no screen: without a platform named in QT_QPA_PLATFORM it draws
// offscreen.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "game/pictures.h"
#include "ui/card_art.h"
#include "ui/fonts.h"

namespace {

constexpr int kAceOfHearts = 13 * 2 + 12;
constexpr int kAceOfSpades = 13 * 3 + 12;

struct Placed {
  int image;
  qreal footX;  // bottom centre, in card heights
  qreal footY;
  qreal degrees;
};

// The cards from back to front, each turned about its bottom centre.
constexpr Placed kFan[] = {{kAceOfHearts, -0.12, 0.0, -13}, {kAceOfSpades, 0.12, 0.03, 9}};

const QRectF kCardRect(-holdem::kCardWidth / 2.0, -holdem::kCardHeight, holdem::kCardWidth,
                       holdem::kCardHeight);

// Card coordinates to icon coordinates, for cards `unit` pixels tall.
QTransform placement(const Placed& c, qreal unit) {
  QTransform t;
  t.translate(c.footX * unit, c.footY * unit);
  t.rotate(c.degrees);
  t.scale(unit / holdem::kCardHeight, unit / holdem::kCardHeight);
  return t;
}

// The fan as large as fits the square with a small margin, centred.
void drawFan(QPainter& p, int size) {
  QRectF bounds;
  for (const Placed& c : kFan) bounds |= placement(c, 1.0).mapRect(kCardRect);
  const qreal unit = size * 0.94 / std::max(bounds.width(), bounds.height());
  p.translate(size / 2.0 - bounds.center().x() * unit, size / 2.0 - bounds.center().y() * unit);
  QPainterPath outline;
  outline.addRoundedRect(kCardRect, 5, 5);
  for (const Placed& c : kFan) {
    // Drawn at twice the size it shows, then smoothly scaled down.
    const QImage card = holdem::renderCardPicture(c.image, 2 * unit / holdem::kCardHeight);
    p.save();
    p.setTransform(placement(c, unit), true);
    p.setClipPath(outline);
    p.drawImage(kCardRect, card);
    // A thin dark line round the edge keeps the card apart from the one behind.
    p.setClipping(false);
    p.setPen(QPen(QColor(40, 40, 44), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
    p.restore();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_icon OUTPUT.png SIZE\n");
    return 2;
  }
  const int size = std::atoi(argv[2]);
  if (size < 16 || size > 1024) {
    std::fprintf(stderr, "make_icon: a size of 16 to 1024 pixels, not %s\n", argv[2]);
    return 2;
  }
  holdem::installFontSubstitutes();

  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  drawFan(p, size);
  p.end();

  if (!icon.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
