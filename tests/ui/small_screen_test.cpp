// The table window on a screen smaller than the table: run with
// QT_SCALE_FACTOR=2 on an offscreen screen of 1280 x 1024 pixels, which
// leaves 640 x 512 for the 800 x 520 table. The window opens wholly on the
// screen with the whole table in it, scaled down, and every click and key
// acts on the scaled table as on the full one.
#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "table_window_fixture.h"
#include "ui/fonts.h"
#include "ui/table_stage.h"

namespace holdem::uitest {
namespace {

constexpr int kScale = 2;  // QT_SCALE_FACTOR

class SmallScreen : public OpenTable {
 protected:
  void SetUp() override {
    ASSERT_EQ(screenArea(), QRect(0, 0, 640, 512)) << "run with QT_SCALE_FACTOR=2 on a screen of 1280 x 1024";
    open(0);
  }

  static QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }
  TableStage* stage() const { return dynamic_cast<TableStage*>(form_->centralWidget()); }

  // A click at the place of the scaled picture that shows `at` of the table.
  void clickTable(const QPointF& at) {
    QTest::mouseClick(stage()->viewport(), Qt::LeftButton, {}, stage()->fromTable(at).toPoint());
  }
  void clickTable(QWidget* w) { clickTable(w->mapTo(&form_->canvas(), QPointF(w->rect().center()))); }
  // A widget on the table, which the stage holds rather than the window.
  template <typename T>
  T* onTable(const char* name) const {
    T* w = form_->canvas().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form_->windowHandle(), k, modifiers);
  }

  // The stage as the screen shows it, in device pixels, and where the
  // table lies in it.
  QImage shownStage() const { return stage()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QRect tableOnStage() const {
    const QPointF topLeft = stage()->fromTable(QPointF(0, 0));
    const QPointF bottomRight = stage()->fromTable(QPointF(kTableWidth, kTableHeight));
    return QRectF(topLeft * kScale, bottomRight * kScale).toAlignedRect();
  }

  // The average difference, per colour channel, between what the stage
  // shows of the table and the full-size table made smaller.
  double differenceFromTheTable() const {
    const QImage shown = shownStage();
    const QRect at = tableOnStage();
    const QImage expected = form_->canvas()
                                .grab()
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32)
                                .scaled(at.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int y = 0; y < at.height(); ++y)
      for (int x = 0; x < at.width(); ++x) {
        const QRgb a = shown.pixel(at.left() + x, at.top() + y), b = expected.pixel(x, y);
        sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
      }
    return sum / (3.0 * at.width() * at.height());
  }

  // Every device pixel of the stage outside the table is black.
  int nonBlackAround() const {
    const QImage shown = shownStage();
    const QRect table = tableOnStage().adjusted(-1, -1, 1, 1);  // the edge may blend
    int bad = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        bad += !table.contains(x, y) && shown.pixel(x, y) != qRgb(0, 0, 0) ? 1 : 0;
    return bad;
  }
};

TEST_F(SmallScreen, TheWindowOpensWhollyOnTheScreenWithTheWholeTableScaledToFit) {
  EXPECT_TRUE(screenArea().contains(form_->frameGeometry()))
      << form_->frameGeometry().x() << "," << form_->frameGeometry().y();
  ASSERT_NE(stage(), nullptr);
  // The largest size that fits: here the screen's whole width.
  EXPECT_EQ(form_->frameGeometry().width(), screenArea().width());
  EXPECT_DOUBLE_EQ(stage()->scale(), 640.0 / 800.0);
  EXPECT_TRUE(
      stage()->rect().contains(QRectF(stage()->fromTable({0, 0}), stage()->fromTable({800, 520})).toRect()));
  // The whole table, as it is at full size, made smaller; black around it.
  EXPECT_LT(differenceFromTheTable(), 8.0);
  EXPECT_EQ(nonBlackAround(), 0);
  // The table itself is laid out and drawn as ever.
  EXPECT_EQ(form_->canvas().size(), QSize(kTableWidth, kTableHeight));
  EXPECT_EQ(expectCardsShown(canvas(), kScale), 16);
}

// A press anywhere on a button of the scaled table lands on the very point
// of the button that the picture shows there, to within a pixel of the
// screen; a click plays as the click on the full table does.
TEST_F(SmallScreen, ClicksLandWhereThePictureShowsThem) {
  ASSERT_NE(stage(), nullptr);
  QPushButton* fold = form_->button(Button::Fold);
  struct PressRecorder : QObject {
    QPointF at{-1, -1};
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::MouseButtonPress) at = static_cast<QMouseEvent*>(e)->position();
      return false;
    }
  } recorder;
  fold->installEventFilter(&recorder);
  const qreal screenPixel = 1 / stage()->scale();
  for (const QPointF local : {QPointF(2.5, 2.5), QPointF(28.5, 10.5), QPointF(54.5, 17.5)}) {
    const QPoint onStage = stage()->fromTable(fold->mapTo(&form_->canvas(), local)).toPoint();
    QTest::mousePress(stage()->viewport(), Qt::LeftButton, {}, onStage);
    EXPECT_LE(std::abs(recorder.at.x() - local.x()), screenPixel) << local.x() << "," << local.y();
    EXPECT_LE(std::abs(recorder.at.y() - local.y()), screenPixel) << local.x() << "," << local.y();
    QTest::mouseRelease(stage()->viewport(), Qt::LeftButton, {}, QPoint(1, 1));
  }
  fold->removeEventFilter(&recorder);
  ASSERT_FALSE(form_->game().state().folded[index(Seat::Player)]);  // every press was let go elsewhere

  // Just above the buttons, nothing; on them, they play.
  clickTable(QPointF(230, fold->y() - 3));
  EXPECT_FALSE(form_->game().state().folded[index(Seat::Player)]);
  clickTable(fold);
  EXPECT_TRUE(form_->game().state().folded[index(Seat::Player)]);
  const int deals = form_->game().state().dealsCount;
  clickTable(form_->button(Button::Deal));
  EXPECT_EQ(form_->game().state().dealsCount, deals + 1);
  EXPECT_LT(differenceFromTheTable(), 8.0);
}

TEST_F(SmallScreen, KeysAndTheOptionsActOnTheScaledTable) {
  ASSERT_NE(stage(), nullptr);
  key(Qt::Key_F);
  EXPECT_TRUE(form_->game().state().folded[index(Seat::Player)]);
  key(Qt::Key_D);
  EXPECT_EQ(form_->game().state().dealsCount, 2);
  const TableState before = form_->game().state();
  key(Qt::Key_C);
  EXPECT_FALSE(form_->game().state() == before);

  key(Qt::Key_O, Qt::ControlModifier);
  ASSERT_TRUE(form_->game().view().panelVisible);
  clickTable(onTable<QRadioButton>("cardbacks2"));
  EXPECT_EQ(form_->game().state().cardBackIndex, kBackRock);
  // A click into the initial cash puts the focus there: keys then type.
  auto* money = onTable<QLineEdit>("money");
  clickTable(money);
  EXPECT_TRUE(money->hasFocus());
  key(Qt::Key_End);
  key(Qt::Key_0);
  EXPECT_EQ(money->text(), QStringLiteral("12000"));
  EXPECT_EQ(form_->game().view().money, "12000");
  key(Qt::Key_Escape);
  EXPECT_FALSE(form_->game().view().panelVisible);
  EXPECT_LT(differenceFromTheTable(), 8.0);
}

TEST_F(SmallScreen, TheWindowGoesDownToHalfTheTableAndUpToItsFullSize) {
  ASSERT_NE(stage(), nullptr);
  form_->resize(100, 100);
  QApplication::processEvents();
  EXPECT_EQ(stage()->size(), QSize(400, 260));
  EXPECT_DOUBLE_EQ(stage()->scale(), 0.5);
  EXPECT_LT(differenceFromTheTable(), 10.0);
  EXPECT_EQ(nonBlackAround(), 0);

  // Larger than the table, it is drawn as laid out, black around it.
  form_->resize(900, 700);
  QApplication::processEvents();
  EXPECT_DOUBLE_EQ(stage()->scale(), 1.0);
  EXPECT_EQ(nonBlackAround(), 0);
  const QRect at = tableOnStage();
  EXPECT_EQ(at.size(), QSize(kTableWidth, kTableHeight) * kScale);
  const QImage table = form_->canvas().grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shownStage().copy(at), table);
  expectCardsShown(shownStage().copy(at), kScale);
}

}  // namespace
}  // namespace holdem::uitest

// One offscreen screen of 1280 x 1024 pixels; QT_SCALE_FACTOR halves it.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  QTemporaryDir dir;
  if (platform.isEmpty() || platform == "offscreen") {
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(R"({"windowFrameMargins": false, "screens": [
      {"name": "Small", "x": 0, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}
    ]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
  }
  QApplication app(argc, argv);
  holdem::installFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
