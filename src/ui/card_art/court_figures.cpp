#include "ui/card_art/court_figures.h"

#include <QPainterPath>
#include <QPen>
#include <cmath>
#include <numbers>

#include "ui/card_art/drawing.h"

namespace holdem::card_art {
namespace {

// The framed panel of a court card, in logical pixels, centred on the card.
constexpr qreal kPanelHalfWidth = 22;
constexpr qreal kPanelHalfHeight = 35.5;

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
    case kKing: return {QColor(252, 242, 208), blue, ink, kGold, ink, QColor(238, 238, 236), kGold};
    case kQueen: return {QColor(249, 232, 238), ink, kGold, ink, blue, QColor(232, 176, 60), kGold};
    default: return {QColor(226, 236, 250), ink, blue, kGold, ink, QColor(128, 76, 30), ink};
  }
}

// The figures are drawn in coordinates centred on the card: the panel spans
// x -kPanelHalfWidth..kPanelHalfWidth, its upper half y -kPanelHalfHeight..0.
// Each part below starts with the painter's pen and brush of its own choosing.

// The thin dark line round every part of a figure.
QPen outlinePen() { return QPen(QColor(36, 28, 28), 0.7); }

// The king's sword, point up, at the panel's right.
void drawKingsSword(QPainter& p) {
  p.setPen(outlinePen());
  p.setBrush(QColor(222, 226, 234));
  QPainterPath blade;
  blade.moveTo(14.5, -34);
  blade.lineTo(16.2, -31);
  blade.lineTo(16.2, -9);
  blade.lineTo(12.8, -9);
  blade.lineTo(12.8, -31);
  blade.closeSubpath();
  p.drawPath(blade);
  p.setBrush(kGold);
  p.drawRect(QRectF(10.5, -9.8, 8, 2));  // the cross-guard
}

// The jack's halberd, at the panel's right: a wooden shaft with an axe blade
// at the top.
void drawJacksHalberd(QPainter& p) {
  p.setPen(QPen(QColor(112, 70, 30), 1.4));
  p.drawLine(QPointF(15.5, -3), QPointF(15.5, -34));
  p.setPen(outlinePen());
  p.setBrush(QColor(214, 218, 226));
  QPainterPath axe;
  axe.moveTo(15.5, -32);
  axe.quadTo(21, -31, 21.5, -25);
  axe.lineTo(15.5, -26.5);
  axe.closeSubpath();
  p.drawPath(axe);
}

// Hair that falls behind the shoulders: the queen's long hair, the jack's
// shoulder-length hair, the king's white hair.
void drawHairBehind(QPainter& p, int rank, const CourtColors& col) {
  p.setPen(outlinePen());
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
    p.drawEllipse(QRectF(-7, -25, 14, 13.5));
  }
}

// The mantle over the shoulders, the robe with its gold hem, the band down
// its front with a small suit on it, and the belt where the halves meet.
void drawMantleAndRobe(QPainter& p, int suit, const CourtColors& col) {
  const QPen outline = outlinePen();
  p.setPen(outline);
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
  drawSuit(p, suit, QPointF(0, -4.8), 4.6, false, col.band == kGold ? inkOf(suit) : kGold);
  p.setBrush(kGold);
  p.drawRect(QRectF(-10.8, -2.2, 21.6, 2.7));
}

// The arm at the panel's right, sleeve and hand; the king's and the jack's
// hand holds the sword or the halberd.
void drawArm(QPainter& p, const CourtColors& col) {
  p.setPen(outlinePen());
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
}

// Neck, collar (white with ermine tails for the king, gold for the others)
// and head.
void drawCollarAndHead(QPainter& p, int rank) {
  const QPen outline = outlinePen();
  p.setPen(outline);
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
    p.setPen(Qt::NoPen);
    p.setBrush(kInkBlack);
    for (const QPointF& c : {QPointF(-4.5, -10.6), QPointF(0, -9.2), QPointF(4.5, -10.6)})
      p.drawRect(QRectF(c.x() - 0.5, c.y() - 0.8, 1, 1.6));
    p.setPen(outline);
  }
  p.setBrush(kSkin);
  p.drawEllipse(QPointF(0, -20), 5.2, 6);
}

// Cheeks, eyes and mouth, without outlines.
void drawFeatures(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(232, 128, 116));
  p.drawEllipse(QPointF(-3, -17.8), 1.1, 0.7);
  p.drawEllipse(QPointF(3, -17.8), 1.1, 0.7);
  p.setBrush(QColor(40, 30, 30));
  p.drawEllipse(QPointF(-1.9, -20.6), 0.8, 0.8);
  p.drawEllipse(QPointF(1.9, -20.6), 0.8, 0.8);
  p.setBrush(QColor(176, 40, 44));
  p.drawRect(QRectF(-1.1, -16.6, 2.2, 0.8));
}

// The king's beard and his crown set with three stones.
void drawKingsBeardAndCrown(QPainter& p, int suit, const CourtColors& col) {
  p.setPen(outlinePen());
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
}

// The queen's fringe and her coronet with three pearls.
void drawQueensFringeAndCoronet(QPainter& p, const CourtColors& col) {
  p.setPen(outlinePen());
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
}

// The rose the queen holds to her chest: stem, hand, five petals and a gold heart.
void drawQueensRose(QPainter& p, int suit) {
  p.setPen(QPen(QColor(40, 120, 50), 1.0));
  p.drawLine(QPointF(-6, -5), QPointF(-10.5, -16));
  p.setPen(outlinePen());
  p.setBrush(kSkin);
  p.drawEllipse(QPointF(-6.5, -6), 2.2, 2);
  p.setBrush(isRed(suit) ? kInkRed : QColor(250, 250, 250));
  for (int i = 0; i < 5; ++i) {
    const qreal a = i * 2 * std::numbers::pi / 5;
    p.drawEllipse(QPointF(-10.8 + 2.1 * std::sin(a), -17.5 - 2.1 * std::cos(a)), 1.6, 1.6);
  }
  p.setBrush(kGold);
  p.drawEllipse(QPointF(-10.8, -17.5), 1.2, 1.2);
}

// The jack's cap with its gold band and a white feather.
void drawJacksCapAndFeather(QPainter& p, const CourtColors& col) {
  p.setPen(outlinePen());
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

// One half of a double-ended court figure, back to front.
void drawCourtHalf(QPainter& p, int suit, int rank, const CourtColors& col) {
  // Step 1: what the figure holds, behind it (the queen's rose comes last).
  if (rank == kKing)
    drawKingsSword(p);
  else if (rank == kJack)
    drawJacksHalberd(p);

  // Step 2: hair that falls behind the shoulders.
  drawHairBehind(p, rank, col);

  // Step 3: the mantle, the robe and its band.
  drawMantleAndRobe(p, suit, col);

  // Step 4: the arm holding the item.
  drawArm(p, col);

  // Step 5: collar, neck and head, and the face on it.
  drawCollarAndHead(p, rank);
  drawFeatures(p);

  // Step 6: what sets the three apart: beard and crown, fringe, coronet and
  // rose, cap and feather.
  if (rank == kKing) {
    drawKingsBeardAndCrown(p, suit, col);
  } else if (rank == kQueen) {
    drawQueensFringeAndCoronet(p, col);
    drawQueensRose(p, suit);
  } else {
    drawJacksCapAndFeather(p, col);
  }

  // Step 7: the suit in the panel's corner, as on a real court card.
  drawSuit(p, suit, QPointF(-16.3, -29.3), 7.5, false, inkOf(suit));
}

}  // namespace

void drawCourtUpperHalf(QPainter& p, int suit, int rank) {
  const CourtColors col = courtColors(suit, rank);
  p.save();
  p.translate(kCenterX, kCenterY);
  const QRectF upperHalf(-kPanelHalfWidth, -kPanelHalfHeight, 2 * kPanelHalfWidth, kPanelHalfHeight);
  p.setPen(Qt::NoPen);
  p.setBrush(col.panel);
  p.drawRect(upperHalf);
  p.setClipRect(upperHalf);
  drawCourtHalf(p, suit, rank, col);
  p.restore();
}

void drawCourtFrame(QPainter& p, int suit) {
  const QRectF panel(kCenterX - kPanelHalfWidth, kCenterY - kPanelHalfHeight, 2 * kPanelHalfWidth,
                     2 * kPanelHalfHeight);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGold, 1.0));
  p.drawRect(panel.adjusted(1, 1, -1, -1));
  p.setPen(QPen(inkOf(suit), 1.0));
  p.drawRect(panel);
  p.setPen(QPen(inkOf(suit), 0.8));
  p.drawLine(QPointF(panel.left(), kCenterY), QPointF(panel.right(), kCenterY));
}

}  // namespace holdem::card_art
