// The table window among other windows: minimised and restored, covered
// and uncovered, resized, and closed in the middle of a deal.
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "game/settings_keys.h"
#include "table_window_fixture.h"
#include "ui/card_art.h"

namespace holdem::uitest {
namespace {

class WindowBehaviour : public OpenTable {
 protected:
  void SetUp() override { open(); }

  // The canvas as a whole repaint of the game as it stands makes it.
  QImage repainted() {
    form_->redraw();
    return canvas();
  }

  // Whether the screen shows the canvas's picture at every card place and on
  // the board (the places no label or button covers).
  void expectScreenShowsPicture(const QImage& screen) {
    const QImage picture = canvas();
    auto same = [&](const QRect& r) {
      int bad = 0;
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) bad += screen.pixel(x, y) != picture.pixel(x, y);
      return bad;
    };
    for (const SeatInfo& seat : kSeats) EXPECT_EQ(same(toQRect(seat.cardArea)), 0) << seat.name;
    EXPECT_EQ(same(toQRect(kBoardArea)), 0);
  }
};

TEST_F(WindowBehaviour, RestoredFromTheTaskBarTheTableIsRepaintedWhole) {
  click(Button::CheckCall);  // the flop is out
  const QImage played = canvas();
  // A card drawn between events and a scribble: a repaint takes both away.
  form_->canvas().drawCard(250, 370, 7);
  form_->canvas().setPixel(300, 210, 0xFF00FF);
  form_->showMinimized();
  EXPECT_TRUE(form_->isMinimized());
  form_->showNormal();
  EXPECT_FALSE(form_->isMinimized());
  EXPECT_EQ(canvas(), played);
  EXPECT_EQ(canvas().pixel(300, 210), feltAt(300, 210));
  QApplication::processEvents();
  expectScreenShowsPicture(onScreen());
  EXPECT_EQ(repainted(), played);
  EXPECT_EQ(beeps_, 0);
}

TEST_F(WindowBehaviour, UncoveredTheTableShowsWhatItShowedBefore) {
  click(Button::CheckCall);
  const QImage before = canvas();
  const QImage screenBefore = onScreen();
  // Another window over the middle of the table, then gone again.
  QWidget cover;
  cover.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  cover.setGeometry(QRect(form_->canvas().mapToGlobal(QPoint(100, 100)), QSize(500, 300)));
  QPalette red = cover.palette();
  red.setColor(QPalette::Window, Qt::red);
  cover.setPalette(red);
  cover.setAutoFillBackground(true);
  cover.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
  cover.hide();
  form_->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(canvas(), before);
  const QImage screenAfter = onScreen();
  EXPECT_EQ(screenAfter, screenBefore);
  expectScreenShowsPicture(screenAfter);
}

TEST_F(WindowBehaviour, ACardDrawnBetweenClicksStaysUntilAWholeRepaint) {
  // A spot of felt that no seat, no board card and no fill ever touches.
  form_->canvas().drawCard(250, 370, 7);
  click(Button::CheckCall);
  click(Button::Fold);
  QImage shown = canvas().copy(250, 370, kCardWidth, kCardHeight), card = renderCardPicture(7);
  for (const QPoint p : cornerPixels(0, 0)) shown.setPixel(p, 0), card.setPixel(p, 0);  // not rounded here
  EXPECT_EQ(shown, card);
  // A part of the window painted again shows it as it is, not as a fresh table.
  form_->canvas().repaint(QRect(240, 360, 60, 60));
  EXPECT_EQ(onScreen().copy(250, 370, kCardWidth, kCardHeight), canvas().copy(250, 370, kCardWidth, kCardHeight));
  EXPECT_EQ(onScreen().pixel(260, 380), renderCardPicture(7).pixel(10, 10));
  form_->redraw();
  EXPECT_EQ(feltMismatches(canvas(), QRect(250, 370, kCardWidth, kCardHeight)), 0);
}

TEST_F(WindowBehaviour, ResizingKeepsTheTableAtTheTopLeftAndRepaintsIt) {
  click(Button::CheckCall);
  const QImage played = canvas();
  form_->canvas().setPixel(300, 210, 0xFF00FF);
  const QPoint origin = form_->canvas().mapTo(form_.get(), QPoint(0, 0));
  form_->resize(form_->width() + 120, form_->height() + 80);
  QApplication::processEvents();
  EXPECT_EQ(form_->canvas().size(), QSize(920, 600));
  EXPECT_EQ(form_->canvas().mapTo(form_.get(), QPoint(0, 0)), origin);
  EXPECT_EQ(canvas(), played);  // repainted whole, scribble gone, same cards
  EXPECT_EQ(find("lblfcash")->pos(), QPoint(112, 48));
  EXPECT_EQ(form_->button(Button::Fold)->pos(), QPoint(200, 472));
  const QImage screen = onScreen();
  expectScreenShowsPicture(screen);
  // Beyond the table, the window colour.
  for (const QPoint p : {QPoint(850, 10), QPoint(10, 560), QPoint(919, 599), QPoint(800, 520)})
    EXPECT_EQ(screen.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();

  // Made smaller than the table, the window keeps the whole table.
  form_->resize(400, 300);
  QApplication::processEvents();
  EXPECT_GE(form_->canvas().width(), kTableWidth);
  EXPECT_GE(form_->canvas().height(), kTableHeight);
  EXPECT_EQ(canvas(), played);
}

// Closing the window in the middle of a deal keeps the chips as they stood
// at the start of that deal: the next start deals from them.
TEST_F(WindowBehaviour, ClosingMidDealKeepsTheChipsOfTheLastDeal) {
  click(Button::Raise);
  click(Button::Fold);
  ASSERT_TRUE(form_->button(Button::Deal)->isEnabled());
  const TableState beforeDeal = form_->game().state();
  click(Button::Deal);
  const auto saved = readBytes(folder_.path("tavlor.ini"));
  for (int s = 0; s < kSeatCount; ++s) {
    const SettingsKey& k = info(cashSetting(static_cast<Seat>(s))).name;
    EXPECT_EQ(settings_.readInt(k.section, k.key, -1), beforeDeal.cash[s]) << kSeats[s].name;
  }
  click(Button::Raise);
  click(Button::CheckCall);
  ASSERT_NE(form_->game().state().cash, beforeDeal.cash);  // chips went into the pot
  EXPECT_TRUE(form_->close());
  form_.reset();
  EXPECT_EQ(readBytes(folder_.path("tavlor.ini")), saved);

  // A new start reads them and writes them back unchanged.
  TableWindow again(settings_, clock_, &dialogs_, 1.0);
  ASSERT_TRUE(again.startUp());
  const TableState& t = again.game().state();
  for (const Seat s : {Seat::Player, Seat::Freak, Seat::Geek, Seat::Master, Seat::Champ, Seat::Pinhead})
    EXPECT_EQ(t.cashOf(s), beforeDeal.cashOf(s)) << info(s).name;
  // Expert and Robot have posted the blinds of the first deal.
  EXPECT_EQ(t.cashOf(Seat::Expert), beforeDeal.cashOf(Seat::Expert) - 1);
  EXPECT_EQ(t.cashOf(Seat::Robot), beforeDeal.cashOf(Seat::Robot) - 2);
}

}  // namespace
}  // namespace holdem::uitest
