// The table window on high-density screens: run with QT_SCALE_FACTOR=2, on
// an offscreen desktop of two screens, the second one denser still. The
// layout stays in logical pixels while the cards, their corners and the
// felt are drawn sharp for the screen's pixel ratio.
#include <QLabel>
#include <QMenuBar>
#include <QRegion>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>

#include "game/settings_file.h"
#include "table_window_fixture.h"
#include "ui/card_art.h"
#include "ui/fonts.h"

namespace holdem::uitest {
namespace {

constexpr qreal kScale = 2.0;        // QT_SCALE_FACTOR
constexpr qreal kSideDensity = 1.5;  // the second screen's own ratio

QScreen* screenNamed(const char* name) {
  for (QScreen* s : QGuiApplication::screens())
    if (s->name() == QLatin1String(name)) return s;
  return nullptr;
}

class HighDpi : public OpenTable {
 protected:
  void SetUp() override {
    ASSERT_DOUBLE_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), kScale)
        << "run with QT_SCALE_FACTOR=2";
    open(0);  // the window follows its screen
  }

  // The felt shows at every device pixel of the area, apart from where a
  // label or a button lies over it.
  int feltMismatchesOnScreen(const QImage& screen, const QRect& area, int ratio) const {
    QRegion widgets;
    for (QWidget* w : form_->canvas().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (w->isVisible()) widgets += w->geometry();
    return feltMismatches(screen, area, ratio, widgets);
  }
};

TEST_F(HighDpi, TheLayoutStaysInLogicalPixels) {
  EXPECT_DOUBLE_EQ(form_->devicePixelRatioF(), kScale);
  EXPECT_DOUBLE_EQ(form_->canvas().devicePixelRatio(), kScale);
  EXPECT_EQ(canvas().size(), QSize(1600, 1040));
  EXPECT_EQ(form_->canvas().size(), QSize(kTableWidth, kTableHeight));
  EXPECT_EQ(form_->canvas().mapTo(form_.get(), QPoint(0, 0)), QPoint(0, form_->menuBar()->height()));
  EXPECT_EQ(find("lblfcash")->pos(), QPoint(112, 48));
  EXPECT_EQ(find("Robot")->pos(), QPoint(448, 368));
  EXPECT_EQ(find("betsize")->pos(), QPoint(120, 240));
  EXPECT_EQ(form_->button(Button::Deal)->geometry().topLeft(), QPoint(32, 472));
  EXPECT_EQ(form_->button(Button::Fold)->geometry().topLeft(), QPoint(200, 472));
  EXPECT_EQ(form_->button(Button::Fold)->width(), 57);
}

TEST_F(HighDpi, CardsCornersAndFeltAreSharpOnTheScreen) {
  QImage screen = onScreen();
  ASSERT_EQ(screen.size(), QSize(1600, 1040));
  EXPECT_EQ(expectCardsShown(screen, 2), 16);
  EXPECT_EQ(feltMismatchesOnScreen(screen, toQRect(kBoardArea), 2), 0);

  // The flop, then a fold: the felt comes back exactly where the cards lay.
  click(Button::CheckCall);
  ASSERT_EQ(form_->game().state().bettingRound, kFlop);
  screen = onScreen();
  EXPECT_GE(expectCardsShown(screen, 2), 2 + 3);
  click(Button::Fold);
  screen = onScreen();
  EXPECT_EQ(feltMismatchesOnScreen(screen, toQRect(info(Seat::Player).cardArea), 2), 0);
  expectCardsShown(screen, 2);
}

TEST_F(HighDpi, MovedToADenserScreenTheTableIsDrawnAnewForIt) {
  QScreen* side = screenNamed("Side");
  ASSERT_NE(side, nullptr);
  const qreal ratio = kScale * kSideDensity;
  ASSERT_DOUBLE_EQ(side->devicePixelRatio(), ratio);
  const TableState state = form_->game().state();
  form_->windowHandle()->setScreen(side);
  QApplication::processEvents();
  EXPECT_DOUBLE_EQ(form_->devicePixelRatioF(), ratio);
  EXPECT_DOUBLE_EQ(form_->canvas().devicePixelRatio(), ratio);
  EXPECT_EQ(canvas().size(), QSize(2400, 1560));
  EXPECT_TRUE(form_->game().state() == state);  // a repaint, nothing more
  EXPECT_EQ(form_->canvas().size(), QSize(kTableWidth, kTableHeight));
  const QImage screen = onScreen();
  ASSERT_EQ(screen.size(), QSize(2400, 1560));
  EXPECT_EQ(expectCardsShown(screen, 3), 16);
  EXPECT_EQ(feltMismatchesOnScreen(screen, toQRect(kBoardArea), 3), 0);

  // Played on there, and back on the first screen.
  click(Button::CheckCall);
  expectCardsShown(onScreen(), 3);
  form_->windowHandle()->setScreen(QGuiApplication::primaryScreen());
  QApplication::processEvents();
  EXPECT_DOUBLE_EQ(form_->canvas().devicePixelRatio(), kScale);
  expectCardsShown(onScreen(), 2);
}

// A window told its ratio keeps it, wherever it goes.
TEST(HighDpiFixed, AWindowGivenItsRatioKeepsIt) {
  TableFolder folder;
  SettingsFile settings(folder.path("tavlor.ini"));
  FixedClock clock(kClock);
  RecordingDialogs dialogs;
  TableWindow form(settings, clock, &dialogs, 1.0);
  ASSERT_TRUE(form.startUp());
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_DOUBLE_EQ(form.canvas().devicePixelRatio(), 1.0);
  form.windowHandle()->setScreen(screenNamed("Side"));
  QApplication::processEvents();
  EXPECT_DOUBLE_EQ(form.canvas().devicePixelRatio(), 1.0);
}

}  // namespace
}  // namespace holdem::uitest

// Two offscreen screens side by side: "Main" of plain density and "Side" of
// 1.5 times that; QT_SCALE_FACTOR doubles both.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  QTemporaryDir dir;
  if (platform.isEmpty() || platform == "offscreen") {
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(R"({"windowFrameMargins": false, "screens": [
      {"name": "Main", "x": 0, "y": 0, "width": 2400, "height": 1600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
      {"name": "Side", "x": 2400, "y": 0, "width": 3600, "height": 2400, "logicalDpi": 144, "logicalBaseDpi": 96, "dpr": 1}
    ]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
  }
  QApplication app(argc, argv);
  holdem::installFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
