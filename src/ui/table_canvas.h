#pragma once

// The table's drawing surface: one persistent picture of the client area,
// 800 x 520 logical pixels, that the game draws its cards on. The widget
// only shows that picture; whatever the game drew stays on it until an area
// is filled with the felt again or the whole table is repainted.

#include <QBasicTimer>
#include <QBrush>
#include <QImage>
#include <QList>
#include <QWidget>
#include <functional>
#include <future>

#include "game/ports.h"

namespace holdem {

inline constexpr int kTableWidth = 800;
inline constexpr int kTableHeight = 520;

class TableCanvas final : public QWidget, public Canvas {
 public:
  // A canvas for a screen of the given pixel ratio: the picture holds
  // 800 * ratio x 520 * ratio pixels and the cards are drawn that sharp.
  explicit TableCanvas(QWidget* parent = nullptr, qreal devicePixelRatio = 1.0);

  // Canvas: all coordinates in logical pixels of the client area.
  void fillTable(const Rect& area) override;
  void drawCard(int x, int y, int image) override;
  void setPixel(int x, int y, uint32_t rgb) override;

  // The first half of a repaint: reads "texas.bmp" from the current folder
  // and tiles it over the whole table from the top-left corner; the felt
  // then serves every later fill. When the file cannot be read, beeps and
  // paints the table black, and fills are black until the next repaint.
  // Returns whether the picture was read.
  bool paintTablePicture();

  // What is on the table now, in device pixels.
  const QImage& picture() const { return canvas_; }
  qreal devicePixelRatio() const { return canvas_.devicePixelRatio(); }

  // Draws from now on for a screen of another pixel ratio: the picture is
  // made anew at that ratio, black until the table is painted on it, and the
  // cards are drawn again that sharp.
  void setDevicePixelRatio(qreal devicePixelRatio);

  // The sound of a missing table picture; the system beep by default.
  void setBeep(std::function<void()> beep) { beep_ = std::move(beep); }

  // Begins drawing card back `image` (52..55) on a second thread, unless it
  // is drawn already, so that the window is built and shown meanwhile; the
  // first drawCard of it takes the picture from there, waiting if need be.
  // Backs only: they are drawn without text, whose fonts belong to the main
  // thread.
  void drawBackAhead(int image);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  // Card picture `image`, drawn the first time it is needed. The window
  // shows as soon as the few pictures of the first deal are drawn; the rest
  // are drawn one at a time while nothing else is going on.
  const QImage& cardPicture(int image);

  QImage canvas_;
  QList<QImage> cards_;  // null until drawn
  int nextPicture_ = 0;  // below this, every picture is drawn
  QBasicTimer drawAhead_;
  std::future<QImage> backAhead_;  // the picture drawBackAhead began, until taken
  int backAheadImage_ = -1;
  QBrush felt_;
  std::function<void()> beep_;
};

}  // namespace holdem
