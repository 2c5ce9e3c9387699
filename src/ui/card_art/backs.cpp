#include "ui/card_art/backs.h"

// Each back is a texture filled pixel by pixel, with a little drawing on top.

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>

#include "ui/card_art.h"
#include "ui/card_art/drawing.h"
#include "ui/card_art/textures.h"

namespace holdem::card_art {
namespace {

// A dashed seam of stitches along the path `seam`.
void drawStitches(QPainter& p, const QPainterPath& seam, const QColor& thread, qreal width, qreal dash,
                  qreal gap) {
  QPen pen(thread, width, Qt::CustomDashLine, Qt::FlatCap);
  pen.setDashPattern({dash / width, gap / width});
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawPath(seam);
}

QPainterPath rectPath(const QRectF& r) {
  QPainterPath path;
  path.addRect(r);
  return path;
}

// The card's rectangle less `margin` logical pixels all round.
QRectF cardInset(qreal margin) {
  return QRectF(margin, margin, kCardWidth - 2 * margin, kCardHeight - 2 * margin);
}

// A back pocket, as on a pair of jeans: a shadow, the pocket's own fold,
// double stitching in `thread`, the curved seam across it and two rivets.
void drawJeansPocket(QPainter& p, const QColor& thread) {
  QPainterPath pocket;
  pocket.moveTo(15, 25);
  pocket.lineTo(56, 25);
  pocket.lineTo(55, 63);
  pocket.lineTo(35.5, 72);
  pocket.lineTo(16, 63);
  pocket.closeSubpath();
  p.setPen(QPen(QColor(12, 24, 52, 150), 1.6));
  p.setBrush(QColor(255, 255, 255, 14));
  p.drawPath(pocket.translated(0.7, 0.9));
  p.setPen(QPen(QColor(150, 180, 230, 90), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(pocket);
  QPainterPath seams;
  seams.moveTo(17, 27.5);
  seams.lineTo(54, 27.5);
  seams.moveTo(17, 29.5);
  seams.lineTo(54, 29.5);
  seams.addPolygon(QPolygonF({QPointF(17.3, 25.5), QPointF(18.2, 61.8), QPointF(35.5, 69.8),
                              QPointF(52.8, 61.8), QPointF(53.7, 25.5)}));
  seams.moveTo(20, 40);
  seams.cubicTo(26, 49, 31, 49, 35.5, 43);
  seams.cubicTo(40, 49, 45, 49, 51, 40);
  seams.moveTo(20, 43);
  seams.cubicTo(26, 52, 31, 52, 35.5, 46);
  seams.cubicTo(40, 52, 45, 52, 51, 43);
  drawStitches(p, seams, thread, 0.9, 1.8, 1.0);
  for (const QPointF& c : {QPointF(17.5, 27.5), QPointF(53.5, 27.5)}) {
    QRadialGradient rivet(c - QPointF(0.7, 0.7), 2.6);
    rivet.setColorAt(0, QColor(252, 220, 170));
    rivet.setColorAt(0.55, QColor(196, 122, 60));
    rivet.setColorAt(1, QColor(110, 58, 24));
    p.setPen(QPen(QColor(60, 36, 20), 0.6));
    p.setBrush(rivet);
    p.drawEllipse(c, 2.3, 2.3);
  }
}

void drawDenim(QImage& img, qreal dpr) {
  const SmoothLayer worn([](float u, float v) { return fbm(u * 0.06f, v * 0.09f, 12u, 3); });
  fillTexture(img, dpr, [&](float u, float v) {
    // Right-hand twill: diagonal ribs of indigo warp over white weft.
    const float rib = (u + v) / 3.0f - static_cast<float>(static_cast<int>((u + v) / 3.0f));
    const float ridge = 0.5f - std::abs(rib - 0.5f);                      // 0 .. 0.5
    const float warp = hashUnit(static_cast<int32_t>(u * 1.5f), 0, 11u);  // dye of each warp thread
    const float fade = worn.at(u, v);                                     // worn patches
    const float slub = valueNoise(u * 2.0f, v * 0.25f, 13u);              // streaks along the warp
    const float fleck = hashUnit(static_cast<int32_t>(u * 2), static_cast<int32_t>(v * 2), 14u);
    float k = 0.62f + 0.55f * ridge + 0.18f * (warp - 0.5f) + 0.45f * (fade - 0.5f) + 0.22f * (slub - 0.5f);
    if (fleck > 0.93f) k += 0.25f;
    return rgb(44 * k, 78 * k, 138 * k + 8);
  });
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(dpr, dpr);
  const QColor thread(224, 152, 52);

  // The hemmed edge of the card, and a pocket sewn on with the same thread.
  drawStitches(p, rectPath(cardInset(4.5)), thread, 1.0, 2.2, 1.3);
  drawJeansPocket(p, thread);
}

// The check of the cloth, in logical pixels: a stripe half a period wide each
// way, a fine line every other period, and how far the pattern is shifted
// from the card's top-left corner.
constexpr float kCheckPeriod = 8.0f;
constexpr float kStripeWidth = kCheckPeriod / 2;
constexpr float kFineLineWidth = 1.0f;
constexpr float kCheckShiftX = 2.0f;
constexpr float kCheckShiftY = 1.0f;

void drawCloth(QImage& img, qreal dpr) {
  fillTexture(img, dpr, [](float u, float v) {
    // Red and cream check: a stripe in each direction, darkest where both
    // cross, and a fine dark line every other check.
    const float su = std::fmod(u + kCheckShiftX, kCheckPeriod),
                sv = std::fmod(v + kCheckShiftY, kCheckPeriod);
    const int across = su < kStripeWidth ? 1 : 0;
    const int down = sv < kStripeWidth ? 1 : 0;
    const bool fine = std::fmod(u + kCheckShiftX, 2 * kCheckPeriod) < kFineLineWidth ||
                      std::fmod(v + kCheckShiftY, 2 * kCheckPeriod) < kFineLineWidth;
    float r, g, b;
    switch (across + down) {
      case 2: r = 168, g = 22, b = 36; break;
      case 1: r = 214, g = 108, b = 104; break;
      default: r = 246, g = 236, b = 214; break;
    }
    if (fine && across + down < 2) r *= 0.82f, g *= 0.72f, b *= 0.74f;
    // The weave: alternate threads lie over and under.
    const int tu = static_cast<int>(u), tv = static_cast<int>(v);
    const float over = ((tu + tv) & 1) ? 1.05f : 0.93f;
    const float yarn = 0.94f + 0.1f * hashUnit(tu, tv, 21u);
    const float k = over * yarn;
    return rgb(r * k, g * k, b * k);
  });
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(dpr, dpr);
  // Hemmed edge: a cream band with a red line inside.
  p.setPen(QPen(QColor(246, 236, 214), 3.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(cardInset(2));
  p.setPen(QPen(QColor(168, 22, 36), 1.0));
  p.drawRect(cardInset(4));
}

// The width of the rock's bevelled edge, in logical pixels.
constexpr float kBevelWidth = 3.5f;
// The height of the spade carved into it.
constexpr qreal kCarvedSpadeSize = 30;

void drawRock(QImage& img, qreal dpr) {
  const SmoothLayer stone([](float u, float v) { return fbm(u * 0.07f, v * 0.07f, 31u, 4); });
  const SmoothLayer tint([](float u, float v) { return valueNoise(u * 0.05f, v * 0.05f, 32u); });
  const SmoothLayer crack([](float u, float v) {
    // Hairline cracks where a warped noise crosses its middle value.
    const float warp = 6.0f * valueNoise(u * 0.08f, v * 0.08f, 35u);
    return std::abs(fbm(u * 0.04f + warp * 0.1f, v * 0.04f + warp * 0.06f, 33u, 3) - 0.5f);
  });
  fillTexture(img, dpr, [&](float u, float v) {
    const float base = stone.at(u, v);
    const float vein = crack.at(u, v);
    const float grain = valueNoise(u * 0.8f, v * 0.8f, 34u);
    float g = 60 + 170 * base + 26 * (grain - 0.5f);
    if (grain > 0.84f) g += 120 * (grain - 0.84f);     // quartz glints
    if (grain < 0.14f) g -= 160 * (0.14f - grain);     // dark grains
    if (vein < 0.012f) g -= 36 * (1 - vein / 0.012f);  // a hairline crack
    // A bevel: the edge is lit from the top-left.
    const float dl = std::min(u, v), dr = std::min(kCardWidth - u, kCardHeight - v);
    if (dl < kBevelWidth) g += 26 * (1 - dl / kBevelWidth);
    if (dr < kBevelWidth) g -= 34 * (1 - dr / kBevelWidth);
    const float warm = (tint.at(u, v) - 0.5f) * 20;
    return rgb(g + warm, g + warm * 0.35f, g - warm * 0.5f + 4);
  });
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(dpr, dpr);
  // A spade carved into the stone: the cut in shadow, its lower lip lit.
  p.setOpacity(0.55);
  drawSuit(p, kSpades, QPointF(kCenterX + 0.8, kCenterY + 0.8), kCarvedSpadeSize, false,
           QColor(240, 240, 234));
  p.setOpacity(0.6);
  drawSuit(p, kSpades, QPointF(kCenterX, kCenterY), kCarvedSpadeSize, false, QColor(36, 36, 40));
}

// The leather, in logical pixels: the width of its darkened edge, the inset of
// the stitched channel, the half axes of the embossed oval crest and the
// height of the diamond in it.
constexpr float kBurnishWidth = 4.0f;
constexpr qreal kChannelInset = 6;
constexpr qreal kCrestHalfWidth = 15;
constexpr qreal kCrestHalfHeight = 21;
constexpr qreal kCrestDiamondSize = 22;

void drawLeather(QImage& img, qreal dpr) {
  const SmoothLayer hides([](float u, float v) { return fbm(u * 0.05f, v * 0.05f, 41u, 3); });
  const SmoothLayer creases(
      [](float u, float v) { return std::abs(valueNoise(u * 0.22f, v * 0.12f, 44u) - 0.5f); });
  fillTexture(img, dpr, [&](float u, float v) {
    const float hide = hides.at(u, v);
    const float pebble = valueNoise(u * 0.9f, v * 0.9f, 42u);
    const float pore = hashUnit(static_cast<int32_t>(u * 1.5f), static_cast<int32_t>(v * 1.5f), 43u);
    const float crease = creases.at(u, v);
    float k = 0.78f + 0.5f * (hide - 0.5f) + 0.22f * (pebble - 0.5f);
    if (pore > 0.92f) k -= 0.09f;
    if (crease < 0.02f) k -= 0.08f * (1 - crease / 0.02f);
    // Burnished, darker edges.
    const float d = std::min(std::min(u, v), std::min(kCardWidth - u, kCardHeight - v));
    if (d < kBurnishWidth) k *= 0.7f + 0.3f * d / kBurnishWidth;
    return rgb(150 * k, 88 * k, 44 * k);
  });
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(dpr, dpr);
  // A pressed channel with the stitching in it.
  p.setPen(QPen(QColor(70, 38, 16, 150), 2.2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(cardInset(kChannelInset));
  drawStitches(p, rectPath(cardInset(kChannelInset)), QColor(236, 214, 164), 1.1, 2.6, 1.6);
  // An embossed oval crest with a diamond: a lit rim below right, a shadow on top.
  p.setPen(QPen(QColor(255, 210, 160, 70), 1.2));
  p.drawEllipse(QPointF(kCenterX + 0.6, kCenterY + 0.6), kCrestHalfWidth, kCrestHalfHeight);
  p.setPen(QPen(QColor(60, 30, 12, 170), 1.2));
  p.drawEllipse(QPointF(kCenterX, kCenterY), kCrestHalfWidth, kCrestHalfHeight);
  p.setOpacity(0.45);
  drawSuit(p, kDiamonds, QPointF(kCenterX + 0.6, kCenterY + 0.6), kCrestDiamondSize, false,
           QColor(255, 214, 170));
  p.setOpacity(0.55);
  drawSuit(p, kDiamonds, QPointF(kCenterX, kCenterY), kCrestDiamondSize, false, QColor(70, 36, 14));
}

}  // namespace

void drawBack(QImage& img, qreal dpr, int index) {
  // In picture order: kBackDenim, kBackCloth, kBackRock, kBackLeather.
  static constexpr std::array<void (*)(QImage&, qreal), kBackCount> kPainters = {drawDenim, drawCloth,
                                                                                 drawRock, drawLeather};
  assert(index >= kFirstBackImage && index < kFirstBackImage + kBackCount);
  kPainters[static_cast<size_t>(index - kFirstBackImage)](img, dpr);
}

}  // namespace holdem::card_art
