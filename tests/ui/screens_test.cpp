// The table window on other screens, run with QT_SCALE_FACTOR=2 on an
// offscreen desktop that the first argument names:
//   dense: three screens side by side, the second 1.5 times denser still,
//          the third as dense as the first. The layout stays in logical
//          pixels while the cards, their corners and the felt are drawn
//          sharp for the screen's pixel ratio.
//   small: one screen of 1280 x 1024 pixels, 640 x 512 for the 800 x 520
//          table. The window opens wholly on it with the whole table scaled
//          down, and every click and key acts on it as on the full table.
#include <QMenuBar>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>

#include "table_window_fixture.h"
#include "ui/fonts.h"
#include "ui/table_stage.h"

namespace holdem::uitest {
namespace {

constexpr int kScale = 2;  // QT_SCALE_FACTOR

QScreen* screenNamed(const char* name) {
  for (QScreen* s : QGuiApplication::screens())
    if (s->name() == QLatin1String(name)) return s;
  return nullptr;
}

class HighDpi : public OpenTable {
 protected:
  void SetUp() override {
    ASSERT_NE(screenNamed("Side"), nullptr) << "run with the argument 'dense'";
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

TEST_F(HighDpi, LayoutStaysInLogicalPixelsWhileCardsAndFeltAreSharp) {
  EXPECT_EQ(form_->canvas().size(), QSize(kTableWidth, kTableHeight));
  EXPECT_EQ(find("lblfcash")->pos(), QPoint(112, 48));
  EXPECT_EQ(form_->button(Button::Fold)->geometry(),
            QRect(200, 472, 57, form_->button(Button::Fold)->height()));
  const TableState state = form_->game().state();
  // Moved to a denser screen and back, the table is drawn anew for each.
  for (const auto& [screen, ratio] : {std::pair{"Main", kScale}, {"Side", 3}, {"Main", kScale}}) {
    SCOPED_TRACE(screen);
    form_->windowHandle()->setScreen(screenNamed(screen));
    QApplication::processEvents();
    ASSERT_DOUBLE_EQ(form_->canvas().devicePixelRatio(), ratio);
    const QImage shown = onScreen();
    ASSERT_EQ(shown.size(), QSize(kTableWidth, kTableHeight) * ratio);
    EXPECT_EQ(expectCardsShown(shown, ratio), 16);
    EXPECT_EQ(feltMismatchesOnScreen(shown, toQRect(kBoardArea), ratio), 0);
  }
  EXPECT_TRUE(form_->game().state() == state);  // a repaint, nothing more
  // The flop, then a fold: the felt comes back exactly where the cards lay.
  click(Button::CheckCall);
  EXPECT_GE(expectCardsShown(onScreen(), kScale), 2 + 3);
  click(Button::Fold);
  const QImage shown = onScreen();
  EXPECT_EQ(feltMismatchesOnScreen(shown, toQRect(info(Seat::Player).cardArea), kScale), 0);
  expectCardsShown(shown, kScale);
  // To another screen of the same density the table goes as it lies: a card
  // drawn between clicks stays there.
  form_->canvas().drawCard(250, 370, 7);
  form_->windowHandle()->setScreen(screenNamed("Twin"));
  QApplication::processEvents();
  ASSERT_EQ(form_->windowHandle()->screen(), screenNamed("Twin"));
  EXPECT_EQ(canvas().pixel(260 * kScale, 380 * kScale),
            renderCardPicture(7, kScale).pixel(10 * kScale, 10 * kScale));
  // A window told its ratio keeps it, wherever it goes.
  form_.reset();
  open(1.0);
  form_->windowHandle()->setScreen(screenNamed("Side"));
  QApplication::processEvents();
  EXPECT_DOUBLE_EQ(form_->canvas().devicePixelRatio(), 1.0);
}

class SmallScreen : public OpenTable {
 protected:
  void SetUp() override {
    ASSERT_EQ(screenArea(), QRect(0, 0, 640, 512)) << "run with the argument 'small'";
    open(0);
    ASSERT_NE(stage(), nullptr);
  }
  static QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }
  TableStage* stage() const { return dynamic_cast<TableStage*>(form_->centralWidget()); }

  // A click at the place of the scaled picture that shows `at` of the table.
  void clickTable(const QPointF& at) {
    QTest::mouseClick(stage()->viewport(), Qt::LeftButton, {}, stage()->fromTable(at).toPoint());
  }
  void clickTable(QWidget* w) { clickTable(w->mapTo(&form_->canvas(), QPointF(w->rect().center()))); }
  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form_->windowHandle(), k, modifiers);
  }

  // The stage as the screen shows it, in device pixels, and where the table
  // lies in it.
  QImage shownStage() const { return stage()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QRect tableOnStage() const {
    return QRectF(stage()->fromTable(QPointF(0, 0)) * kScale,
                  stage()->fromTable(QPointF(kTableWidth, kTableHeight)) * kScale)
        .toAlignedRect();
  }
  // The stage shows the whole table, as it is at full size, made smaller,
  // with black all around it.
  void expectWholeTableShown(double tolerance = 8.0) const {
    const QImage shown = shownStage();
    const QRect at = tableOnStage();
    const QImage expected = onScreen().scaled(at.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    int nonBlack = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) {
        const QRgb a = shown.pixel(x, y);
        if (at.contains(x, y)) {
          const QRgb b = expected.pixel(x - at.left(), y - at.top());
          sum +=
              std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        } else if (!at.adjusted(-1, -1, 1, 1).contains(x, y)) {  // the edge may blend
          nonBlack += a != qRgb(0, 0, 0);
        }
      }
    EXPECT_LT(sum / (3.0 * at.width() * at.height()), tolerance);
    EXPECT_EQ(nonBlack, 0);
  }
};

TEST_F(SmallScreen, TheWindowOpensWhollyOnTheScreenWithTheWholeTableScaledToFit) {
  EXPECT_TRUE(screenArea().contains(form_->frameGeometry()));
  EXPECT_EQ(form_->frameGeometry().width(), screenArea().width());  // the largest size that fits
  EXPECT_DOUBLE_EQ(stage()->scale(), 640.0 / 800.0);
  expectWholeTableShown();
  EXPECT_EQ(expectCardsShown(canvas(), kScale), 16);  // laid out and drawn as ever
  // It goes down to half the table and up to its full size.
  form_->resize(100, 100);
  QApplication::processEvents();
  EXPECT_EQ(stage()->size(), QSize(400, 260));
  expectWholeTableShown(10.0);
  form_->resize(900, 700);  // larger than the table: drawn as laid out, black around it
  QApplication::processEvents();
  EXPECT_DOUBLE_EQ(stage()->scale(), 1.0);
  expectWholeTableShown(0.0001);
}

// A press anywhere on a button of the scaled table lands on the very point
// of the button that the picture shows there, to within a pixel of the
// screen; clicks and keys play as on the full table, the options too.
TEST_F(SmallScreen, ClicksAndKeysLandWhereThePictureShowsThem) {
  QPushButton* fold = form_->button(Button::Fold);
  struct PressRecorder : QObject {
    QPointF at{-1, -1};
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::MouseButtonPress) at = static_cast<QMouseEvent*>(e)->position();
      return false;
    }
  } recorder;
  fold->installEventFilter(&recorder);
  for (const QPointF local : {QPointF(2.5, 2.5), QPointF(28.5, 10.5), QPointF(54.5, 17.5)}) {
    QTest::mousePress(stage()->viewport(), Qt::LeftButton, {},
                      stage()->fromTable(fold->mapTo(&form_->canvas(), local)).toPoint());
    EXPECT_LE((recorder.at - local).manhattanLength(), 2 / stage()->scale()) << local.x() << "," << local.y();
    QTest::mouseRelease(stage()->viewport(), Qt::LeftButton, {}, QPoint(1, 1));  // let go elsewhere
  }
  fold->removeEventFilter(&recorder);
  clickTable(QPointF(230, fold->y() - 3));  // just above the buttons: nothing
  EXPECT_FALSE(form_->game().state().folded[index(Seat::Player)]);
  clickTable(fold);
  EXPECT_TRUE(form_->game().state().folded[index(Seat::Player)]);
  key(Qt::Key_D);
  EXPECT_EQ(form_->game().state().dealsCount, 2);
  key(Qt::Key_O, Qt::ControlModifier);
  clickTable(form_->canvas().findChild<QRadioButton*>(QStringLiteral("cardbacks2")));
  EXPECT_EQ(form_->game().state().cardBackIndex, kBackRock);
  auto* money = form_->canvas().findChild<QLineEdit*>(QStringLiteral("money"));
  clickTable(money);  // the focus goes there: keys then type
  key(Qt::Key_End);
  key(Qt::Key_0);
  EXPECT_EQ(form_->game().view().money, "12000");
  key(Qt::Key_Escape);
  EXPECT_FALSE(form_->game().view().panelVisible);
  expectWholeTableShown();
}

}  // namespace
}  // namespace holdem::uitest

// The offscreen desktop the first argument names; QT_SCALE_FACTOR doubles it.
int main(int argc, char** argv) {
  const bool dense = argc > 1 && std::string_view(argv[1]) == "dense";
  if (argc > 1) {  // the remaining arguments are the test framework's
    argv[1] = argv[0];
    --argc;
    ++argv;
  }
  if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
  const char* screens =
      dense
          ? R"([{"name": "Main", "x": 0, "y": 0, "width": 2400, "height": 1600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
                 {"name": "Side", "x": 2400, "y": 0, "width": 3600, "height": 2400, "logicalDpi": 144, "logicalBaseDpi": 96, "dpr": 1},
                 {"name": "Twin", "x": 6000, "y": 0, "width": 2400, "height": 1600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}])"
          : R"([{"name": "Small", "x": 0, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}])";
  QTemporaryDir dir;
  const QString config = dir.filePath(QStringLiteral("screens.json"));
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly)) return 1;
  file.write(QByteArray(R"({"windowFrameMargins": false, "screens": )") + screens + "}");
  file.close();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
  QApplication app(argc, argv);
  holdem::installFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(filter) == "*") GTEST_FLAG_SET(filter, dense ? "HighDpi*" : "SmallScreen*");
  return RUN_ALL_TESTS();
}
