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

bool isCourt(int rank) { return rank >= kJack && rank <= kKing; }

// The index in the top-left corner takes kIndexWidth x kIndexHeight logical
// pixels: the rank in a box kIndexRankHeight tall, a small suit centred below.
constexpr qreal kIndexWidth = 15;
constexpr qreal kIndexHeight = 27;
constexpr int kIndexFontPixels = 13;
constexpr qreal kIndexRankTop = 1.5;
constexpr qreal kIndexRankHeight = 14;
constexpr qreal kIndexSuitCenterY = 21.5;
constexpr qreal kIndexSuitSize = 8.5;

QFont indexFont(int rank) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setBold(true);
  f.setPixelSize(kIndexFontPixels);
  if (rank == kTen) {
    f.setFamily(QStringLiteral("DejaVu Sans Condensed"));
    f.setStretch(QFont::Condensed);
    f.setLetterSpacing(QFont::AbsoluteSpacing, -1.0);
  }
  return f;
}

QString rankText(int rank) {
  static const char* const kTexts[kRankCount] = {"2", "3",  "4", "5", "6", "7", "8",
                                                 "9", "10", "J", "Q", "K", "A"};
  return QString::fromLatin1(kTexts[rank]);
}

// The index in the top-left corner: rank above a small suit.
void drawIndex(QPainter& p, int suit, int rank) {
  const QColor ink = inkOf(suit);
  p.setPen(ink);
  p.setFont(indexFont(rank));
  p.drawText(QRectF(0, kIndexRankTop, kIndexWidth, kIndexRankHeight), Qt::AlignHCenter | Qt::AlignTop,
             rankText(rank));
  drawSuit(p, suit, QPointF(kIndexWidth / 2, kIndexSuitCenterY), kIndexSuitSize, false, ink);
}

// Pip positions: column -1, 0, 1 and row 0 (top) .. 1 (bottom).
struct Pip {
  int col;
  float row;
};

constexpr float kMiddleRow = 0.5f;
constexpr float kThird = 1.0f / 3.0f;
constexpr float kTwoThirds = 2 * kThird;
constexpr float kSixth = kThird / 2;

// The cards that show pips, two to ten.
constexpr int kPipCardCount = kTen - kTwo + 1;

// The pips of each card from two to ten, by rank.
const std::array<std::vector<Pip>, kPipCardCount>& pipLayouts() {
  static const std::array<std::vector<Pip>, kPipCardCount> layouts = {{
      {{0, 0}, {0, 1}},                                                                   // 2
      {{0, 0}, {0, 0.5f}, {0, 1}},                                                        // 3
      {{-1, 0}, {1, 0}, {-1, 1}, {1, 1}},                                                 // 4
      {{-1, 0}, {1, 0}, {0, 0.5f}, {-1, 1}, {1, 1}},                                      // 5
      {{-1, 0}, {1, 0}, {-1, 0.5f}, {1, 0.5f}, {-1, 1}, {1, 1}},                          // 6
      {{-1, 0}, {1, 0}, {0, 0.25f}, {-1, 0.5f}, {1, 0.5f}, {-1, 1}, {1, 1}},              // 7
      {{-1, 0}, {1, 0}, {0, 0.25f}, {-1, 0.5f}, {1, 0.5f}, {0, 0.75f}, {-1, 1}, {1, 1}},  // 8
      // 9
      {{-1, 0},
       {1, 0},
       {-1, kThird},
       {1, kThird},
       {0, 0.5f},
       {-1, kTwoThirds},
       {1, kTwoThirds},
       {-1, 1},
       {1, 1}},
      // 10
      {{-1, 0},
       {1, 0},
       {0, kSixth},
       {-1, kThird},
       {1, kThird},
       {-1, kTwoThirds},
       {1, kTwoThirds},
       {0, 1 - kSixth},
       {-1, 1},
       {1, 1}},
  }};
  return layouts;
}

// Where the pips go, in logical pixels: the columns lie kPipColumnStep apart,
// the centres of the top and bottom rows at kPipTop and kPipBottom.
constexpr qreal kPipColumnStep = 13.5;
constexpr qreal kPipTop = 17;
constexpr qreal kPipBottom = kCardHeight - kPipTop;
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
  const auto& layout = pipLayouts()[static_cast<size_t>(rank - kTwo)];
  for (const Pip& pip : layout) {
    const bool upper = pip.row<kMiddleRow, lower = pip.row> kMiddleRow;
    const bool copied = upper && hasTurnedTwin(layout, pip);
    const bool producedByCopy = lower && hasTurnedTwin(layout, pip);
    if (producedByCopy || copied != beforeCopy) continue;
    const QPointF c(kCenterX + pip.col * kPipColumnStep, kPipTop + pip.row * (kPipBottom - kPipTop));
    drawSuit(p, suit, c, kPipSize, lower, inkOf(suit));
  }
}

// The height of an ace's single pip; the ace of spades has a larger one.
constexpr qreal kAcePipSize = 30;
constexpr qreal kAceOfSpadesPipSize = 32;

// The ace's one large pip in the middle of the card.
void drawAce(QPainter& p, int suit) {
  const QColor ink = inkOf(suit);
  if (suit == kSpades) {
    // The ace of spades gets its traditional flourish: a big spade in a ring,
    // black outside, gold inside, and a gold boss.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInkBlack, 1.0));
    p.drawEllipse(QPointF(kCenterX, kCenterY), 23, 23);
    p.setPen(QPen(kGold, 1.6));
    p.drawEllipse(QPointF(kCenterX, kCenterY), 21, 21);
    drawSuit(p, suit, QPointF(kCenterX, kCenterY + 0.5), kAceOfSpadesPipSize, false, ink);
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawEllipse(QPointF(kCenterX, kCenterY + 1), 2.6, 2.6);
    return;
  }
  drawSuit(p, suit, QPointF(kCenterX, kCenterY), kAcePipSize, false, ink);
}

}  // namespace

void drawFace(QImage& img, qreal dpr, int suit, int rank) {
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(dpr, dpr);
  p.fillRect(QRectF(0, 0, kCardWidth, kCardHeight), kFaceWhite);

  // Step 1: the upper half: index, and pips or the court figure.
  drawIndex(p, suit, rank);
  if (isCourt(rank))
    drawCourtUpperHalf(p, suit, rank);
  else if (rank != kAce)
    drawPips(p, suit, rank, true);

  // Step 2: the lower half is the upper one turned round (only the index for an ace).
  const int halfHeight = img.height() / 2;
  copyTurned(img, rank == kAce ? QRect(0, 0, static_cast<int>(std::ceil(kIndexWidth * dpr)),
                                       static_cast<int>(std::ceil(kIndexHeight * dpr)))
                               : QRect(0, 0, img.width(), halfHeight));

  // Step 3: what is not symmetric.
  if (rank == kAce)
    drawAce(p, suit);
  else if (isCourt(rank))
    drawCourtFrame(p, suit);
  else
    drawPips(p, suit, rank, false);
}

}  // namespace holdem::card_art
