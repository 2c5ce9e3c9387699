#include "ui/card_art.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <numbers>
#include <vector>

#include "game/pictures.h"

namespace holdem {
namespace {

constexpr int kRanks = 13;
constexpr qreal kW = kCardWidth;   // logical width of a card
constexpr qreal kH = kCardHeight;  // logical height of a card
constexpr qreal kCx = kW / 2;
constexpr qreal kCy = kH / 2;
constexpr float kWf = kCardWidth;  // the same, for the per-pixel textures
constexpr float kHf = kCardHeight;

enum Suit : int { kClubs, kDiamonds, kHearts, kSpades };
enum Rank : int { kTwo = 0, kTen = 8, kJack = 9, kQueen = 10, kKing = 11, kAce = 12 };

bool isRed(int suit) { return suit == kDiamonds || suit == kHearts; }

const QColor kInkRed(198, 18, 36);
const QColor kInkBlack(22, 22, 26);
const QColor kFaceWhite(254, 254, 251);
const QColor kEdge(28, 28, 30);
const QColor kGold(226, 172, 40);
const QColor kSkin(247, 214, 180);

QColor inkOf(int suit) { return isRed(suit) ? kInkRed : kInkBlack; }

// ---------------------------------------------------------------------------
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

// Fills the suit shape `size` pixels tall centred at `c`, upside down if asked.
// The painter's transform may translate, scale evenly and turn half round.
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

// Copies the pixels of `top` (device pixels, in the upper half) to the places
// they take when the card is turned half round about its centre.
void copyTurned(QImage& img, const QRect& top) {
  const int w = img.width(), h = img.height();
  for (int y = top.top(); y <= top.bottom(); ++y) {
    auto* to = reinterpret_cast<QRgb*>(img.scanLine(h - 1 - y));
    const auto* from = reinterpret_cast<const QRgb*>(img.scanLine(y));
    for (int x = top.left(); x <= top.right(); ++x) to[w - 1 - x] = from[x];
  }
}

// ---------------------------------------------------------------------------
// Deterministic noise for the textures. Coordinates are logical pixels, so a
// picture drawn at pixel ratio 2 shows the same texture, only finer.

uint32_t hash2(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u + static_cast<uint32_t>(x) * 0x85EBCA77u;
  h ^= h >> 15;
  h += static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 13;
  h *= 0x27D4EB2Fu;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  return h;
}

// A value in [0, 1) for the point (x, y).
float hashUnit(int32_t x, int32_t y, uint32_t seed) {
  return static_cast<float>(hash2(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

// Lattice values for the value noise, worked out once: a table lookup is much
// cheaper than a hash per corner. The noise repeats every kLattice cells, far
// more than a card spans at any scale used here.
constexpr int kLattice = 128;

const std::array<float, kLattice * kLattice>& lattice() {
  static const auto table = [] {
    std::array<float, kLattice * kLattice> t{};
    for (int y = 0; y < kLattice; ++y)
      for (int x = 0; x < kLattice; ++x) t[static_cast<size_t>(y * kLattice + x)] = hashUnit(x, y, 0x5EEDu);
    return t;
  }();
  return table;
}

float smooth(float t) { return t * t * (3.0f - 2.0f * t); }

// Smooth value noise in [0, 1) with one lattice cell per unit, for u, v >= 0.
// Each seed reads its own part of the lattice.
float valueNoise(float u, float v, uint32_t seed) {
  const auto& t = lattice();
  const int iu = static_cast<int>(u), iv = static_cast<int>(v);
  const float tx = smooth(u - static_cast<float>(iu)), ty = smooth(v - static_cast<float>(iv));
  const int x0 = (iu + static_cast<int>(seed * 37u)) & (kLattice - 1), x1 = (x0 + 1) & (kLattice - 1);
  const int y0 = (iv + static_cast<int>(seed * 71u)) & (kLattice - 1), y1 = (y0 + 1) & (kLattice - 1);
  const float a = t[static_cast<size_t>(y0 * kLattice + x0)], b = t[static_cast<size_t>(y0 * kLattice + x1)];
  const float c = t[static_cast<size_t>(y1 * kLattice + x0)], d = t[static_cast<size_t>(y1 * kLattice + x1)];
  const float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

// Layered value noise in [0, 1): `octaves` layers, each twice as fine and half as strong.
float fbm(float u, float v, uint32_t seed, int octaves) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * valueNoise(u, v, seed + static_cast<uint32_t>(i) * 7u);
    norm += amp;
    u *= 2.03f;
    v *= 2.03f;
    amp *= 0.5f;
  }
  return sum / norm;
}

int clamp255(float v) { return std::clamp(static_cast<int>(v + 0.5f), 0, 255); }

QRgb rgb(float r, float g, float b) { return qRgb(clamp255(r), clamp255(g), clamp255(b)); }

// A smooth layer of a texture, worked out once per logical pixel and
// interpolated in between at finer pixel ratios: the slowly varying parts of
// a texture need not be computed again for every device pixel.
class SmoothLayer {
 public:
  template <class F>
  explicit SmoothLayer(F f) {
    for (int y = 0; y < kCardHeight; ++y)
      for (int x = 0; x < kCardWidth; ++x)
        values_[static_cast<size_t>(y * kCardWidth + x)] =
            f(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
  }

  // The layer at logical position (u, v); exact at logical pixel centres.
  float at(float u, float v) const {
    const float gu = std::clamp(u - 0.5f, 0.0f, kWf - 1.0f), gv = std::clamp(v - 0.5f, 0.0f, kHf - 1.0f);
    const int x0 = std::min(static_cast<int>(gu), kCardWidth - 2),
              y0 = std::min(static_cast<int>(gv), kCardHeight - 2);
    const float tx = gu - static_cast<float>(x0), ty = gv - static_cast<float>(y0);
    const float* row = &values_[static_cast<size_t>(y0 * kCardWidth + x0)];
    const float top = row[0] + (row[1] - row[0]) * tx;
    const float bottom = row[kCardWidth] + (row[kCardWidth + 1] - row[kCardWidth]) * tx;
    return top + (bottom - top) * ty;
  }

 private:
  std::array<float, kCardWidth * kCardHeight> values_;
};

// Sets every pixel of `img` to shade(u, v), with (u, v) the logical position of the pixel's centre.
template <class Shade>
void fillTexture(QImage& img, qreal dpr, Shade shade) {
  const float inv = static_cast<float>(1.0 / dpr);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const float v = (static_cast<float>(y) + 0.5f) * inv;
    for (int x = 0; x < img.width(); ++x) line[x] = shade((static_cast<float>(x) + 0.5f) * inv, v);
  }
}

// ---------------------------------------------------------------------------
// Card faces. The upper half of a face is drawn, then copied turned half round
// onto the lower half, the way a real card is printed; whatever is not
// symmetric (middle pips, the ace) is drawn after the copy.

QFont indexFont(int rank) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setBold(true);
  f.setPixelSize(13);
  if (rank == kTen) {
    f.setFamily(QStringLiteral("DejaVu Sans Condensed"));
    f.setStretch(QFont::Condensed);
    f.setLetterSpacing(QFont::AbsoluteSpacing, -1.0);
  }
  return f;
}

QString rankText(int rank) {
  static const char* const kTexts[kRanks] = {"2", "3",  "4", "5", "6", "7", "8",
                                             "9", "10", "J", "Q", "K", "A"};
  return QString::fromLatin1(kTexts[rank]);
}

// The area of the top-left index, in logical pixels.
constexpr qreal kIndexWidth = 15;
constexpr qreal kIndexHeight = 27;

// The index in the top-left corner: rank above a small suit.
void drawIndex(QPainter& p, int suit, int rank) {
  const QColor ink = inkOf(suit);
  p.setPen(ink);
  p.setFont(indexFont(rank));
  p.drawText(QRectF(0, 1.5, kIndexWidth, 14), Qt::AlignHCenter | Qt::AlignTop, rankText(rank));
  drawSuit(p, suit, QPointF(7.5, 21.5), 8.5, false, ink);
}

// Pip positions: column -1, 0, 1 and row 0 (top) .. 1 (bottom).
struct Pip {
  int col;
  float row;
};

constexpr float kThird = 1.0f / 3.0f;

const std::array<std::vector<Pip>, 9>& pipLayouts() {
  static const std::array<std::vector<Pip>, 9> layouts = {{
      {{0, 0}, {0, 1}},                                                                   // 2
      {{0, 0}, {0, 0.5f}, {0, 1}},                                                        // 3
      {{-1, 0}, {1, 0}, {-1, 1}, {1, 1}},                                                 // 4
      {{-1, 0}, {1, 0}, {0, 0.5f}, {-1, 1}, {1, 1}},                                      // 5
      {{-1, 0}, {1, 0}, {-1, 0.5f}, {1, 0.5f}, {-1, 1}, {1, 1}},                          // 6
      {{-1, 0}, {1, 0}, {0, 0.25f}, {-1, 0.5f}, {1, 0.5f}, {-1, 1}, {1, 1}},              // 7
      {{-1, 0}, {1, 0}, {0, 0.25f}, {-1, 0.5f}, {1, 0.5f}, {0, 0.75f}, {-1, 1}, {1, 1}},  // 8
      {{-1, 0},
       {1, 0},
       {-1, kThird},
       {1, kThird},
       {0, 0.5f},  // 9
       {-1, 2 * kThird},
       {1, 2 * kThird},
       {-1, 1},
       {1, 1}},
      {{-1, 0},
       {1, 0},
       {0, kThird / 2},
       {-1, kThird},
       {1, kThird},  // 10
       {-1, 2 * kThird},
       {1, 2 * kThird},
       {0, 1 - kThird / 2},
       {-1, 1},
       {1, 1}},
  }};
  return layouts;
}

constexpr qreal kPipColumnStep = 13.5;
constexpr qreal kPipTop = 17;
constexpr qreal kPipBottom = kH - kPipTop;
constexpr qreal kPipSize = 14;

// Whether a pip's twin, turned half round about the centre, is on the card too.
bool hasTurnedTwin(const std::vector<Pip>& layout, const Pip& pip) {
  return std::any_of(layout.begin(), layout.end(), [&](const Pip& o) {
    return o.col == -pip.col && std::abs(o.row - (1 - pip.row)) < 1e-4f;
  });
}

// Draws the pips of the upper half that the turned copy repeats below
// (`beforeCopy`), or the ones it does not (the others).
void drawPips(QPainter& p, int suit, int rank, bool beforeCopy) {
  const auto& layout = pipLayouts()[static_cast<size_t>(rank)];
  for (const Pip& pip : layout) {
    const bool copied = pip.row < 0.5f && hasTurnedTwin(layout, pip);
    const bool producedByCopy = pip.row > 0.5f && hasTurnedTwin(layout, pip);
    if (producedByCopy || copied != beforeCopy) continue;
    const QPointF c(kCx + pip.col * kPipColumnStep, kPipTop + pip.row * (kPipBottom - kPipTop));
    drawSuit(p, suit, c, kPipSize, pip.row > 0.5f, inkOf(suit));
  }
}

void drawAce(QPainter& p, int suit) {
  const QColor ink = inkOf(suit);
  if (suit == kSpades) {
    // The ace of spades gets its traditional flourish: a big spade in a ring.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInkBlack, 1.0));
    p.drawEllipse(QPointF(kCx, kCy), 23, 23);
    p.setPen(QPen(kGold, 1.6));
    p.drawEllipse(QPointF(kCx, kCy), 21, 21);
    drawSuit(p, suit, QPointF(kCx, kCy + 0.5), 32, false, ink);
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawEllipse(QPointF(kCx, kCy + 1), 2.6, 2.6);
    return;
  }
  drawSuit(p, suit, QPointF(kCx, kCy), 30, false, ink);
}

// Colours of a court figure. The suit's ink is one of them, gold the trim;
// each rank has its own arrangement.
struct CourtColors {
  QColor panel;  // tint of the framed panel
  QColor cape;   // mantle behind the figure
  QColor robe;   // the garment in front
  QColor band;   // the band down the front of the robe
  QColor sleeve;
  QColor hair;
  QColor hat;  // the jack's cap
};

CourtColors courtColors(int suit, int rank) {
  const bool red = isRed(suit);
  const QColor ink = red ? kInkRed : QColor(28, 30, 38);
  const QColor blue = red ? QColor(34, 70, 164) : QColor(34, 54, 128);
  switch (rank) {
    case kKing:
      return {QColor(252, 242, 208), blue, ink, kGold, ink, QColor(238, 238, 236), kGold};
    case kQueen:
      return {QColor(249, 232, 238), ink, kGold, ink, blue, QColor(232, 176, 60), kGold};
    default:
      return {QColor(226, 236, 250), ink, blue, kGold, ink, QColor(128, 76, 30), ink};
  }
}

// One half of a double-ended court figure, in coordinates centred on the card:
// the panel spans x -22..22, this half y -35.5..0.
void drawCourtHalf(QPainter& p, int suit, int rank, const CourtColors& col) {
  const QColor ink = inkOf(suit);
  const QPen outline(QColor(36, 28, 28), 0.7);
  p.setPen(outline);

  // Step 1: what the figure holds, behind it.
  if (rank == kKing) {
    p.setBrush(QColor(222, 226, 234));  // a sword, point up
    QPainterPath blade;
    blade.moveTo(14.5, -34);
    blade.lineTo(16.2, -31);
    blade.lineTo(16.2, -9);
    blade.lineTo(12.8, -9);
    blade.lineTo(12.8, -31);
    blade.closeSubpath();
    p.drawPath(blade);
    p.setBrush(kGold);
    p.drawRect(QRectF(10.5, -9.8, 8, 2));
  } else if (rank == kJack) {
    p.setPen(QPen(QColor(112, 70, 30), 1.4));  // a halberd
    p.drawLine(QPointF(15.5, -3), QPointF(15.5, -34));
    p.setPen(outline);
    p.setBrush(QColor(214, 218, 226));
    QPainterPath axe;
    axe.moveTo(15.5, -32);
    axe.quadTo(21, -31, 21.5, -25);
    axe.lineTo(15.5, -26.5);
    axe.closeSubpath();
    p.drawPath(axe);
  }

  // Step 2: hair that falls behind the shoulders.
  p.setBrush(col.hair);
  if (rank == kQueen) {
    QPainterPath hair;
    hair.moveTo(-6, -25);
    hair.cubicTo(-9.5, -19, -9.5, -13, -7.5, -10);
    hair.lineTo(7.5, -10);
    hair.cubicTo(9.5, -13, 9.5, -19, 6, -25);
    hair.closeSubpath();
    p.drawPath(hair);
  } else {
    // Shoulder-length hair of the jack, the king's white hair.
    p.drawEllipse(QRectF(-7, -25, 14, 13.5));
  }

  // Step 3: the mantle, the robe and its band.
  QPainterPath cape;
  cape.moveTo(-21, 0.5);
  cape.lineTo(-21, -4);
  cape.cubicTo(-20.5, -10, -15, -13, -8, -13.5);
  cape.lineTo(8, -13.5);
  cape.cubicTo(15, -13, 20.5, -10, 21, -4);
  cape.lineTo(21, 0.5);
  cape.closeSubpath();
  p.setBrush(col.cape);
  p.drawPath(cape);

  QPainterPath robe;
  robe.moveTo(-11, 0.5);
  robe.lineTo(-9.5, -11.5);
  robe.quadTo(-5, -14.5, 0, -14.5);
  robe.quadTo(5, -14.5, 9.5, -11.5);
  robe.lineTo(11, 0.5);
  robe.closeSubpath();
  p.setBrush(col.robe);
  p.drawPath(robe);
  // Gold hem of the mantle along the robe.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGold, 1.2));
  p.drawLine(QPointF(-11.6, 0.5), QPointF(-10.1, -11.2));
  p.drawLine(QPointF(11.6, 0.5), QPointF(10.1, -11.2));
  p.setPen(outline);

  p.setBrush(col.band);
  p.drawRect(QRectF(-3, -10, 6, 10.5));
  drawSuit(p, suit, QPointF(0, -4.8), 4.6, false, col.band == kGold ? ink : kGold);
  // A belt where the two halves meet.
  p.setBrush(kGold);
  p.drawRect(QRectF(-10.8, -2.2, 21.6, 2.7));

  // Step 4: the arm holding the item.
  p.setBrush(col.sleeve);
  QPainterPath sleeve;
  sleeve.moveTo(6.5, -13.5);
  sleeve.cubicTo(11.5, -13, 14, -10.5, 15, -6.5);
  sleeve.lineTo(11.2, -5.2);
  sleeve.cubicTo(10.5, -8, 9, -9.5, 6, -9.8);
  sleeve.closeSubpath();
  p.drawPath(sleeve);
  p.setBrush(kSkin);
  p.drawEllipse(QPointF(13.8, -5.2), 2.3, 2.1);

  // Step 5: collar, neck and head.
  p.setBrush(kSkin);
  p.drawRect(QRectF(-1.8, -15.5, 3.6, 2.5));
  QPainterPath collar;
  collar.moveTo(-8, -13.2);
  collar.quadTo(0, -5.5, 8, -13.2);
  collar.quadTo(0, -10.5, -8, -13.2);
  collar.closeSubpath();
  p.setBrush(rank == kKing ? QColor(252, 252, 250) : kGold);
  p.drawPath(collar);
  if (rank == kKing) {
    // Ermine tails.
    p.setPen(Qt::NoPen);
    p.setBrush(kInkBlack);
    for (const QPointF& c : {QPointF(-4.5, -10.6), QPointF(0, -9.2), QPointF(4.5, -10.6)})
      p.drawRect(QRectF(c.x() - 0.5, c.y() - 0.8, 1, 1.6));
    p.setPen(outline);
  }
  p.setBrush(kSkin);
  p.drawEllipse(QPointF(0, -20), 5.2, 6);

  // Eyes, cheeks and mouth.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(232, 128, 116));
  p.drawEllipse(QPointF(-3, -17.8), 1.1, 0.7);
  p.drawEllipse(QPointF(3, -17.8), 1.1, 0.7);
  p.setBrush(QColor(40, 30, 30));
  p.drawEllipse(QPointF(-1.9, -20.6), 0.8, 0.8);
  p.drawEllipse(QPointF(1.9, -20.6), 0.8, 0.8);
  p.setBrush(QColor(176, 40, 44));
  p.drawRect(QRectF(-1.1, -16.6, 2.2, 0.8));
  p.setPen(outline);

  // Step 6: what sets the three apart: beard and crown, fringe and coronet,
  // cap and feather.
  if (rank == kKing) {
    p.setBrush(col.hair);
    QPainterPath beard;
    beard.moveTo(-5.1, -19.5);
    beard.cubicTo(-5, -13.5, -2, -11, 0, -10.5);
    beard.cubicTo(2, -11, 5, -13.5, 5.1, -19.5);
    beard.quadTo(3.4, -15.4, 1.6, -16.9);
    beard.lineTo(-1.6, -16.9);
    beard.quadTo(-3.4, -15.4, -5.1, -19.5);
    beard.closeSubpath();
    p.drawPath(beard);
    p.setBrush(kGold);
    QPainterPath crown;
    crown.moveTo(-5.8, -23.6);
    crown.lineTo(-6.5, -31.5);
    crown.lineTo(-3.2, -27.8);
    crown.lineTo(0, -33.5);
    crown.lineTo(3.2, -27.8);
    crown.lineTo(6.5, -31.5);
    crown.lineTo(5.8, -23.6);
    crown.closeSubpath();
    p.drawPath(crown);
    p.setPen(Qt::NoPen);
    p.setBrush(isRed(suit) ? QColor(34, 70, 164) : QColor(30, 120, 70));
    p.drawEllipse(QPointF(0, -25.6), 1.2, 1.2);
    p.setBrush(isRed(suit) ? kInkRed : QColor(34, 54, 128));
    p.drawEllipse(QPointF(-3.7, -25.4), 0.85, 0.85);
    p.drawEllipse(QPointF(3.7, -25.4), 0.85, 0.85);
  } else if (rank == kQueen) {
    p.setBrush(col.hair);
    QPainterPath fringe;
    fringe.moveTo(-5.3, -20.5);
    fringe.cubicTo(-5.6, -27, 5.6, -27, 5.3, -20.5);
    fringe.cubicTo(3, -24, -3, -24, -5.3, -20.5);
    fringe.closeSubpath();
    p.drawPath(fringe);
    p.setBrush(kGold);
    QPainterPath coronet;
    coronet.moveTo(-4.6, -24.3);
    coronet.lineTo(-5.2, -29);
    coronet.lineTo(-2.5, -27);
    coronet.lineTo(0, -30);
    coronet.lineTo(2.5, -27);
    coronet.lineTo(5.2, -29);
    coronet.lineTo(4.6, -24.3);
    coronet.closeSubpath();
    p.drawPath(coronet);
    p.setBrush(QColor(252, 252, 252));
    p.drawEllipse(QPointF(-5.2, -29.6), 1.1, 1.1);
    p.drawEllipse(QPointF(0, -30.8), 1.2, 1.2);
    p.drawEllipse(QPointF(5.2, -29.6), 1.1, 1.1);
    // A rose held to the chest.
    p.setPen(QPen(QColor(40, 120, 50), 1.0));
    p.drawLine(QPointF(-6, -5), QPointF(-10.5, -16));
    p.setPen(outline);
    p.setBrush(kSkin);
    p.drawEllipse(QPointF(-6.5, -6), 2.2, 2);
    p.setBrush(isRed(suit) ? kInkRed : QColor(250, 250, 250));
    for (int i = 0; i < 5; ++i) {
      const qreal a = i * 2 * std::numbers::pi / 5;
      p.drawEllipse(QPointF(-10.8 + 2.1 * std::sin(a), -17.5 - 2.1 * std::cos(a)), 1.6, 1.6);
    }
    p.setBrush(kGold);
    p.drawEllipse(QPointF(-10.8, -17.5), 1.2, 1.2);
  } else {
    p.setBrush(col.hat);
    QPainterPath cap;
    cap.moveTo(-7.8, -22.8);
    cap.cubicTo(-7.5, -30, 7.5, -30, 7.8, -22.8);
    cap.closeSubpath();
    p.drawPath(cap);
    p.setBrush(kGold);
    p.drawRect(QRectF(-7, -24.4, 14, 1.9));
    p.setBrush(QColor(250, 250, 248));
    QPainterPath feather;
    feather.moveTo(3, -27.5);
    feather.cubicTo(5, -32, 8, -34, 11.5, -34);
    feather.cubicTo(9, -32, 7, -29.5, 4.5, -26.5);
    feather.closeSubpath();
    p.drawPath(feather);
  }

  // Step 7: the suit in the panel's corner, as on a real court card.
  drawSuit(p, suit, QPointF(-16.3, -29.3), 7.5, false, ink);
}

// The framed panel of a jack, queen or king: its upper half, to be copied below.
void drawCourtUpperHalf(QPainter& p, int suit, int rank) {
  const CourtColors col = courtColors(suit, rank);
  p.save();
  p.translate(kCx, kCy);
  p.setPen(Qt::NoPen);
  p.setBrush(col.panel);
  p.drawRect(QRectF(-22, -35.5, 44, 35.5));
  p.setClipRect(QRectF(-22, -35.5, 44, 35.5));
  drawCourtHalf(p, suit, rank, col);
  p.restore();
}

// The frame round the court panel and the line between its halves.
void drawCourtFrame(QPainter& p, int suit) {
  const QRectF panel(kCx - 22, kCy - 35.5, 44, 71);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGold, 1.0));
  p.drawRect(panel.adjusted(1, 1, -1, -1));
  p.setPen(QPen(inkOf(suit), 1.0));
  p.drawRect(panel);
  p.setPen(QPen(inkOf(suit), 0.8));
  p.drawLine(QPointF(panel.left(), kCy), QPointF(panel.right(), kCy));
}

void drawFace(QImage& img, qreal dpr, int suit, int rank) {
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(dpr, dpr);
  p.fillRect(QRectF(0, 0, kW, kH), kFaceWhite);

  // Step 1: the upper half: index, and pips or the court figure.
  drawIndex(p, suit, rank);
  if (rank >= kJack && rank <= kKing)
    drawCourtUpperHalf(p, suit, rank);
  else if (rank < kJack)
    drawPips(p, suit, rank, true);

  // Step 2: the lower half is the upper one turned round (only the index for an ace).
  const int halfHeight = img.height() / 2;
  copyTurned(img, rank == kAce ? QRect(0, 0, static_cast<int>(std::ceil(kIndexWidth * dpr)),
                                       static_cast<int>(std::ceil(kIndexHeight * dpr)))
                               : QRect(0, 0, img.width(), halfHeight));

  // Step 3: what is not symmetric.
  if (rank == kAce)
    drawAce(p, suit);
  else if (rank >= kJack)
    drawCourtFrame(p, suit);
  else
    drawPips(p, suit, rank, false);
}

// ---------------------------------------------------------------------------
// Card backs: a texture filled pixel by pixel, with a little drawing on top.

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

  // The hemmed edge of the card.
  drawStitches(p, rectPath(QRectF(4.5, 4.5, kW - 9, kH - 9)), thread, 1.0, 2.2, 1.3);

  // A back pocket, as on a pair of jeans: a shadow, the pocket's own fold,
  // double stitching, the curved seam across it and two rivets.
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

void drawCloth(QImage& img, qreal dpr) {
  fillTexture(img, dpr, [](float u, float v) {
    // Red and cream check: a stripe in each direction, darkest where both cross.
    constexpr float kPeriod = 8.0f;
    const float su = std::fmod(u + 2.0f, kPeriod), sv = std::fmod(v + 1.0f, kPeriod);
    const int across = su < 4.0f ? 1 : 0;
    const int down = sv < 4.0f ? 1 : 0;
    const bool fine = std::fmod(u + 2.0f, 16.0f) < 1.0f || std::fmod(v + 1.0f, 16.0f) < 1.0f;
    float r, g, b;
    switch (across + down) {
      case 2:
        r = 168, g = 22, b = 36;
        break;
      case 1:
        r = 214, g = 108, b = 104;
        break;
      default:
        r = 246, g = 236, b = 214;
        break;
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
  p.drawRect(QRectF(2, 2, kW - 4, kH - 4));
  p.setPen(QPen(QColor(168, 22, 36), 1.0));
  p.drawRect(QRectF(4, 4, kW - 8, kH - 8));
}

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
    const float dl = std::min(u, v), dr = std::min(kWf - u, kHf - v);
    if (dl < 3.5f) g += 26 * (1 - dl / 3.5f);
    if (dr < 3.5f) g -= 34 * (1 - dr / 3.5f);
    const float warm = (tint.at(u, v) - 0.5f) * 20;
    return rgb(g + warm, g + warm * 0.35f, g - warm * 0.5f + 4);
  });
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(dpr, dpr);
  // A spade carved into the stone: the cut in shadow, its lower lip lit.
  p.setOpacity(0.55);
  drawSuit(p, kSpades, QPointF(kCx + 0.8, kCy + 0.8), 30, false, QColor(240, 240, 234));
  p.setOpacity(0.6);
  drawSuit(p, kSpades, QPointF(kCx, kCy), 30, false, QColor(36, 36, 40));
}

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
    const float d = std::min(std::min(u, v), std::min(kWf - u, kHf - v));
    if (d < 4.0f) k *= 0.7f + 0.3f * d / 4.0f;
    return rgb(150 * k, 88 * k, 44 * k);
  });
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(dpr, dpr);
  // A pressed channel with the stitching in it.
  p.setPen(QPen(QColor(70, 38, 16, 150), 2.2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(6, 6, kW - 12, kH - 12));
  drawStitches(p, rectPath(QRectF(6, 6, kW - 12, kH - 12)), QColor(236, 214, 164), 1.1, 2.6, 1.6);
  // An embossed oval crest with a diamond.
  p.setPen(QPen(QColor(255, 210, 160, 70), 1.2));
  p.drawEllipse(QPointF(kCx + 0.6, kCy + 0.6), 15, 21);
  p.setPen(QPen(QColor(60, 30, 12, 170), 1.2));
  p.drawEllipse(QPointF(kCx, kCy), 15, 21);
  p.setOpacity(0.45);
  drawSuit(p, kDiamonds, QPointF(kCx + 0.6, kCy + 0.6), 22, false, QColor(255, 214, 170));
  p.setOpacity(0.55);
  drawSuit(p, kDiamonds, QPointF(kCx, kCy), 22, false, QColor(70, 36, 14));
}

void drawBack(QImage& img, qreal dpr, int index) {
  switch (index) {
    case kBackDenim:
      drawDenim(img, dpr);
      break;
    case kBackCloth:
      drawCloth(img, dpr);
      break;
    case kBackRock:
      drawRock(img, dpr);
      break;
    default:
      drawLeather(img, dpr);
      break;
  }
}

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
    drawBack(img, dpr, index);
  else
    drawFace(img, dpr, index / kRanks, index % kRanks);
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

// ---------------------------------------------------------------------------
// The table felt.

namespace {

constexpr int kTableSize = 200;

// Tileable value noise over a lattice of `cellsX` x `cellsY` cells covering
// the picture, 0..255, integer arithmetic only.
int tiledNoise(int x, int y, int cellsX, int cellsY, uint32_t seed) {
  const int cw = kTableSize / cellsX, ch = kTableSize / cellsY;
  const int cx = x / cw, cy = y / ch;
  auto s = [](int t) { return t * t * (768 - 2 * t) / 65536; };  // smoothstep, 0..256
  const int tx = s((x % cw) * 256 / cw), ty = s((y % ch) * 256 / ch);
  auto at = [&](int i, int j) { return static_cast<int>(hash2(i % cellsX, j % cellsY, seed) >> 24); };
  const int top = at(cx, cy) * (256 - tx) + at(cx + 1, cy) * tx;
  const int bottom = at(cx, cy + 1) * (256 - tx) + at(cx + 1, cy + 1) * tx;
  return (top * (256 - ty) + bottom * ty) >> 16;
}

}  // namespace

QImage renderTablePicture() {
  QImage img(kTableSize, kTableSize, QImage::Format_RGB32);
  for (int y = 0; y < kTableSize; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < kTableSize; ++x) {
      // Brightness around 0: a soft mottle, a finer cloud, short fibres both
      // ways and a speckle.
      int k = (tiledNoise(x, y, 4, 4, 1u) - 128) * 8 / 256;
      k += (tiledNoise(x, y, 20, 20, 2u) - 128) * 10 / 256;
      k += (tiledNoise(x, y, 25, 200, 3u) - 128) * 14 / 256;
      k += (tiledNoise(x, y, 200, 25, 4u) - 128) * 14 / 256;
      k += static_cast<int>(hash2(x, y, 5u) >> 28) - 8;  // -8..7
      const int r = std::clamp(24 + k * 2 / 5, 0, 255);
      const int g = std::clamp(108 + k, 0, 255);
      const int b = std::clamp(56 + k * 3 / 5, 0, 255);
      line[x] = qRgb(r, g, b);
    }
  }
  return img;
}

}  // namespace holdem
