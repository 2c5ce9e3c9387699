// Runs the table window on a real X display (a virtual one under xvfb-run)
// and checks pictures of the whole screen: every card lies where the layout
// puts it, drawn sharp for the screen's pixel ratio, with its twelve corner
// pixels black, at the start, on the flop, at the showdown, after another
// window covered the table and went away, and after a resize.
//
//   xvfb-run -a -s "-screen 0 2048x1536x24" screen_check RATIO
//
// RATIO is the pixel ratio the window must come up with (QT_SCALE_FACTOR).
// Exit status 0 when every check holds, 1 otherwise.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "card_pixels.h"
#include "game/settings_file.h"
#include "game/stand_ins.h"
#include "ui/fonts.h"
#include "ui/table_canvas.h"
#include "ui/table_window.h"

namespace holdem {
namespace {

int failures = 0;

void fail(const std::string& what) {
  std::fprintf(stderr, "FAIL: %s\n", what.c_str());
  ++failures;
}

class ScreenCheck {
 public:
  explicit ScreenCheck(int ratio) : ratio_(ratio) {}

  QImage grabScreen() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
  }

  // Where the table's top-left corner lies on the screen, in device pixels.
  QPoint origin(TableWindow& form) const { return form.canvas().mapToGlobal(QPoint(0, 0)) * ratio_; }

  // Checks the screen until it shows the cards, for at most five seconds:
  // the X server draws when it gets round to it.
  void expectCards(TableWindow& form, const char* phase) {
    const std::vector<testing::CardPlace> cards = testing::cardsCalledFor(form.game().state());
    std::vector<std::string> bad;
    for (int attempt = 0; attempt < 100; ++attempt) {
      QTest::qWait(50);
      bad = uitest::cardMismatches(grabScreen(), ratio_, cards, origin(form));
      if (bad.empty()) break;
    }
    std::printf("%s: %zu cards\n", phase, cards.size());
    for (const std::string& b : bad) fail(std::string(phase) + ": " + b);
  }

  int ratio() const { return ratio_; }

 private:
  int ratio_;
};

int run(int ratio) {
  QTemporaryDir dir;
  QFile::copy(QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp"), dir.filePath(QStringLiteral("texas.bmp")));
  QDir::setCurrent(dir.path());
  SettingsFile settings(dir.filePath(QStringLiteral("tavlor.ini")).toStdString());
  FixedClock clock(1700000000);
  RecordingDialogs dialogs;
  TableWindow form(settings, clock, &dialogs);
  if (!form.startUp()) return 1;
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) {
    fail("the window never came up");
    return 1;
  }
  if (form.devicePixelRatioF() != ratio || form.canvas().devicePixelRatio() != ratio) {
    fail("the window came up at ratio " + std::to_string(form.devicePixelRatioF()) + ", not " +
         std::to_string(ratio));
    return 1;
  }
  ScreenCheck check(ratio);
  check.expectCards(form, "start");

  const TableState& t = form.game().state();
  const auto call = [&] { QTest::mouseClick(form.button(Button::CheckCall), Qt::LeftButton); };
  while (t.bettingRound == kPreFlop) call();
  check.expectCards(form, "flop");
  for (int i = 0; i < 12 && t.bettingRound != kDealOver; ++i) call();
  if (t.bettingRound != kDealOver) fail("no showdown");
  check.expectCards(form, "showdown");

  // Another window over the middle of the table, then gone again.
  QWidget cover;
  cover.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
  cover.setGeometry(QRect(form.canvas().mapToGlobal(QPoint(40, 60)), QSize(700, 420)));
  QPalette red = cover.palette();
  red.setColor(QPalette::Window, Qt::red);
  cover.setPalette(red);
  cover.setAutoFillBackground(true);
  cover.show();
  bool covered = false;
  if (QTest::qWaitForWindowExposed(&cover)) {
    for (int attempt = 0; attempt < 100 && !covered; ++attempt) {
      QTest::qWait(50);
      const QPoint middle = check.origin(form) + QPoint(400, 260) * ratio;
      covered = check.grabScreen().pixel(middle) == qRgb(255, 0, 0);
    }
  }
  if (!covered) fail("the covering window never showed over the table");
  cover.hide();
  check.expectCards(form, "uncovered");

  form.resize(form.width() + 100, form.height() + 60);
  check.expectCards(form, "resized");
  const QImage screen = check.grabScreen();
  const QPoint beyond = check.origin(form) + QPoint(850, 560) * ratio;
  if (screen.pixel(beyond) != qRgb(0, 0, 0)) fail("beyond the table the resized window is not black");

  std::printf("%s\n", failures ? "FAILED" : "OK");
  return failures ? 1 : 0;
}

}  // namespace
}  // namespace holdem

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: screen_check RATIO\n");
    return 2;
  }
  holdem::installFontSubstitutes();
  return holdem::run(std::atoi(argv[1]));
}
