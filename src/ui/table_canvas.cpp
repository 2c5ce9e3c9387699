#include "ui/table_canvas.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTimerEvent>
#include <algorithm>

#include "game/pictures.h"
#include "ui/card_art.h"

namespace holdem {

namespace {

const QColor kWindowColor(Qt::black);

// How long after a paint the drawing ahead of card pictures begins.
constexpr int kDrawAheadDelayMs = 250;

QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

}  // namespace

TableCanvas::TableCanvas(QWidget* parent, qreal devicePixelRatio)
    : QWidget(parent),
      canvas_(qRound(kTableWidth * devicePixelRatio), qRound(kTableHeight * devicePixelRatio),
              QImage::Format_RGB32),
      cards_(kCardPictureCount),
      felt_(kWindowColor),
      beep_([] { QApplication::beep(); }) {
  canvas_.setDevicePixelRatio(devicePixelRatio);
  canvas_.fill(kWindowColor);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(kTableWidth, kTableHeight);
}

bool TableCanvas::paintTablePicture() {
  const QImage picture(QStringLiteral("texas.bmp"));
  if (picture.isNull()) {
    beep_();
    felt_ = QBrush(kWindowColor);
  } else {
    // One picture pixel covers one logical pixel, also on a high-density canvas.
    QImage tile = picture.convertToFormat(QImage::Format_RGB32);
    tile.setDevicePixelRatio(1.0);
    felt_ = QBrush(tile);
  }
  if (felt_.style() == Qt::TexturePattern) {
    // The same pixels as a fill with the felt: copies of the picture side by
    // side from the top-left corner. Copied whole, they go many times faster
    // than the fill, which fetches the picture pixel by pixel.
    const QImage tile = felt_.textureImage();
    QPainter p(&canvas_);
    for (int y = 0; y < kTableHeight; y += tile.height()) {
      for (int x = 0; x < kTableWidth; x += tile.width()) p.drawImage(QPoint(x, y), tile);
    }
  } else {
    fillTable(Rect{0, 0, kTableWidth, kTableHeight});
  }
  update();
  return !picture.isNull();
}

void TableCanvas::fillTable(const Rect& area) {
  const QRect r = toQRect(area);
  QPainter p(&canvas_);
  p.setBrushOrigin(0, 0);
  // In bands of at most 64 lines of device pixels: the painter splits a
  // taller fill among worker threads, and waking them costs more than the
  // fill itself.
  const int band = std::max(1, static_cast<int>(64 / canvas_.devicePixelRatio()));
  for (int top = r.top(); top <= r.bottom(); top += band) {
    p.fillRect(QRect(r.left(), top, r.width(), std::min(band, r.bottom() + 1 - top)), felt_);
  }
  update(r);
}

void TableCanvas::drawCard(int x, int y, int image) {
  if (image < 0 || image >= cards_.size()) return;
  QPainter p(&canvas_);
  p.drawImage(QPoint(x, y), cardPicture(image));
  update(x, y, kCardWidth, kCardHeight);
}

void TableCanvas::setPixel(int x, int y, uint32_t rgb) {
  if (x < 0 || y < 0 || x >= kTableWidth || y >= kTableHeight) return;
  const QRgb colour = qRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  const qreal ratio = canvas_.devicePixelRatio();
  if (ratio == 1.0) {
    canvas_.setPixel(x, y, colour);
  } else {
    // A logical pixel covers the device pixels from its top-left corner to
    // the next logical pixel's.
    const int x0 = qRound(x * ratio), y0 = qRound(y * ratio);
    const int x1 = qRound((x + 1) * ratio), y1 = qRound((y + 1) * ratio);
    for (int dy = y0; dy < y1; ++dy)
      for (int dx = x0; dx < x1; ++dx) canvas_.setPixel(dx, dy, colour);
  }
  update(x, y, 1, 1);
}

void TableCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRect table(0, 0, kTableWidth, kTableHeight);
  // A window made larger than the table shows the window colour around it.
  const QRegion outside = QRegion(event->rect()) - QRegion(table);
  for (const QRect& r : outside) p.fillRect(r, kWindowColor);
  // The picture is copied one rectangle of the area at a time. Clipped to
  // the whole area at once, which is rarely a single rectangle, the painter
  // would blend it line by line and hand the lines to worker threads, whose
  // waking up costs more than the copy itself.
  for (const QRect& r : event->region()) {
    p.setClipRect(r);
    p.drawImage(QPoint(0, 0), canvas_);
  }
  // Once the table is on the screen, and the display has had the time to
  // show it, the other pictures are drawn ahead.
  if (nextPicture_ < cards_.size() && !drawAhead_.isActive()) drawAhead_.start(kDrawAheadDelayMs, this);
}

void TableCanvas::drawBackAhead(int image) {
  if (image < kFirstBackImage || image >= cards_.size() || !cards_[image].isNull() || backAhead_.valid())
    return;
  backAheadImage_ = image;
  backAhead_ = std::async(std::launch::async, [image, ratio = canvas_.devicePixelRatio()] {
    return renderCardPicture(image, ratio);
  });
}

const QImage& TableCanvas::cardPicture(int image) {
  QImage& picture = cards_[image];
  if (image == backAheadImage_ && backAhead_.valid()) {
    picture = backAhead_.get();
    backAheadImage_ = -1;
  }
  if (picture.isNull()) picture = renderCardPicture(image, canvas_.devicePixelRatio());
  return picture;
}

void TableCanvas::timerEvent(QTimerEvent* event) {
  if (event->timerId() != drawAhead_.timerId()) {
    QWidget::timerEvent(event);
    return;
  }
  while (nextPicture_ < cards_.size() && !cards_[nextPicture_].isNull()) ++nextPicture_;
  if (nextPicture_ < cards_.size()) {
    cardPicture(nextPicture_++);
    // One picture at a time, whenever nothing else is waiting.
    drawAhead_.start(0, this);
  } else {
    drawAhead_.stop();
  }
}

void TableCanvas::setDevicePixelRatio(qreal devicePixelRatio) {
  if (devicePixelRatio <= 0 || devicePixelRatio == canvas_.devicePixelRatio()) return;
  // A back being drawn ahead is for the old ratio.
  if (backAhead_.valid()) backAhead_.get();
  backAheadImage_ = -1;
  canvas_ = QImage(qRound(kTableWidth * devicePixelRatio), qRound(kTableHeight * devicePixelRatio),
                   QImage::Format_RGB32);
  canvas_.setDevicePixelRatio(devicePixelRatio);
  canvas_.fill(kWindowColor);
  cards_ = QList<QImage>(kCardPictureCount);
  nextPicture_ = 0;
  update();
}

}  // namespace holdem
