#include "ui/card_art/drawing.h"

#include <QHash>
#include <QPainterPath>
#include <QTransform>
#include <array>
#include <cmath>
#include <mutex>

namespace holdem::card_art {
namespace {

// Suit shapes: each one unit tall and at most one unit wide, centred on the
// origin, point or stem down.

QPainterPath makeHeart() {
  QPainterPath p;
  p.moveTo(0, 0.5);
  p.cubicTo(-0.14, 0.3, -0.5, 0.1, -0.5, -0.2);
  p.cubicTo(-0.5, -0.38, -0.37, -0.5, -0.24, -0.5);
  p.cubicTo(-0.11, -0.5, -0.03, -0.42, 0, -0.31);
  p.cubicTo(0.03, -0.42, 0.11, -0.5, 0.24, -0.5);
  p.cubicTo(0.37, -0.5, 0.5, -0.38, 0.5, -0.2);
  p.cubicTo(0.5, 0.1, 0.14, 0.3, 0, 0.5);
  p.closeSubpath();
  return p;
}

QPainterPath makeDiamond() {
  // A rhombus with slightly hollow sides.
  QPainterPath p;
  p.moveTo(0, -0.5);
  p.quadTo(0.16, -0.22, 0.4, 0);
  p.quadTo(0.16, 0.22, 0, 0.5);
  p.quadTo(-0.16, 0.22, -0.4, 0);
  p.quadTo(-0.16, -0.22, 0, -0.5);
  p.closeSubpath();
  return p;
}

QPainterPath makeSpade() {
  QPainterPath p;
  p.setFillRule(Qt::WindingFill);
  p.moveTo(0, -0.5);
  p.cubicTo(0.14, -0.3, 0.5, -0.12, 0.5, 0.12);
  p.cubicTo(0.5, 0.28, 0.37, 0.37, 0.25, 0.37);
  p.cubicTo(0.13, 0.37, 0.05, 0.3, 0.03, 0.24);
  p.quadTo(0.06, 0.42, 0.2, 0.5);
  p.lineTo(-0.2, 0.5);
  p.quadTo(-0.06, 0.42, -0.03, 0.24);
  p.cubicTo(-0.05, 0.3, -0.13, 0.37, -0.25, 0.37);
  p.cubicTo(-0.37, 0.37, -0.5, 0.28, -0.5, 0.12);
  p.cubicTo(-0.5, -0.12, -0.14, -0.3, 0, -0.5);
  p.closeSubpath();
  return p;
}

QPainterPath makeClub() {
  // Three leaves, a boss between them and a flared stem, merged into one
  // outline (the parts overlap and must not cancel out).
  const qreal r = 0.215;
  QPainterPath leaves;
  leaves.addEllipse(QPointF(0, -0.27), r, r);
  QPainterPath left, right, boss, stem;
  left.addEllipse(QPointF(-0.27, 0.06), r, r);
  right.addEllipse(QPointF(0.27, 0.06), r, r);
  boss.addEllipse(QPointF(0, -0.01), 0.15, 0.15);
  stem.moveTo(-0.06, 0.0);
  stem.quadTo(-0.045, 0.36, -0.21, 0.5);
  stem.lineTo(0.21, 0.5);
  stem.quadTo(0.045, 0.36, 0.06, 0.0);
  stem.closeSubpath();
  return leaves.united(left).united(right).united(boss).united(stem);
}

const QPainterPath& suitShape(int suit) {
  static const std::array<QPainterPath, 4> shapes = {makeClub(), makeDiamond(), makeHeart(), makeSpade()};
  return shapes[static_cast<size_t>(suit)];
}

// The suit shape at its final size in device pixels, made once and kept: a
// painter fills a path at its own size many times faster than through a scale.
QPainterPath suitPath(int suit, qreal deviceSize, bool upsideDown) {
  static std::mutex lock;
  static QHash<quint64, QPainterPath> made;
  const quint64 key = (static_cast<quint64>(std::lround(deviceSize * 64)) << 3) |
                      (static_cast<quint64>(suit) << 1) | (upsideDown ? 1u : 0u);
  const std::lock_guard<std::mutex> guard(lock);
  auto it = made.constFind(key);
  if (it != made.constEnd()) return *it;
  QTransform t;
  t.scale(deviceSize, deviceSize);
  if (upsideDown) t.rotate(180);
  return *made.insert(key, t.map(suitShape(suit)));
}

}  // namespace

void drawSuit(QPainter& p, int suit, QPointF c, qreal size, bool upsideDown, const QColor& color) {
  const QTransform t = p.worldTransform();
  const qreal scale = std::sqrt(std::abs(t.determinant()));
  const bool turned = t.m11() < 0;
  const QPointF at = t.map(c);
  p.save();
  p.setWorldTransform(QTransform::fromTranslate(at.x(), at.y()));
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPath(suitPath(suit, size * scale, upsideDown != turned));
  p.restore();
}

void copyTurned(QImage& img, const QRect& top) {
  const int w = img.width(), h = img.height();
  for (int y = top.top(); y <= top.bottom(); ++y) {
    auto* to = reinterpret_cast<QRgb*>(img.scanLine(h - 1 - y));
    const auto* from = reinterpret_cast<const QRgb*>(img.scanLine(y));
    for (int x = top.left(); x <= top.right(); ++x) to[w - 1 - x] = from[x];
  }
}

}  // namespace holdem::card_art
