#include "ui/card_art/faces.h"

// The upper half of a face is drawn, then copied turned half round onto the
// lower half, the way a real card is printed; whatever is not symmetric
// (middle pips, the ace) is drawn after the copy.

#include <QFont>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "ui/card_art/court_figures.h"
#include "ui/card_art/drawing.h"

namespace holdem::card_art {
namespace {

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

}  // namespace

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

}  // namespace holdem::card_art
