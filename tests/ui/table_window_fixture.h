#pragma once

// What the window tests share: a folder to play in, the felt, the cards as a
// picture shows them, a fixture that opens the table window with a fixed
// clock, and the comparison of a picture with its checked-in reference.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../test_support.h"
#include "game/settings_file.h"
#include "ui/card_art.h"
#include "ui/table_canvas.h"
#include "ui/table_window.h"

namespace holdem::uitest {

inline constexpr int64_t kClock = 1700000000;
using testing::Box;
using testing::readBytes;
using testing::RecordingDialogs;

inline const QImage& tablePicture() {
  static const QImage picture =
      QImage(QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp")).convertToFormat(QImage::Format_RGB32);
  return picture;
}

// The cards that `picture` does not show whole (drawn sharp for the
// picture's pixel ratio, with the twelve pixels that round off its corners
// black), each with the count of its wrong pixels.
inline std::vector<std::string> cardMismatches(const QImage& picture, int ratio,
                                               const std::vector<testing::CardPlace>& cards) {
  std::vector<std::string> bad;
  for (const testing::CardPlace& c : cards) {
    const QImage sharp = renderCardPicture(c.image, ratio);
    int wrongCorners = 0, wrongFace = 0;
    for (int y = 0; y < kCardHeight * ratio; ++y)
      for (int x = 0; x < c.visible * ratio; ++x) {
        const QPoint device(c.at.x * ratio + x, c.at.y * ratio + y);
        const int lx = x / ratio, ly = y / ratio;
        if (!picture.rect().contains(device)) {
          ++wrongFace;
        } else if (std::min(lx, kCardWidth - 1 - lx) + std::min(ly, kCardHeight - 1 - ly) <= 1) {
          wrongCorners += picture.pixel(device) != qRgb(0, 0, 0) ? 1 : 0;
        } else {
          wrongFace += picture.pixel(device) != sharp.pixel(x, y) ? 1 : 0;
        }
      }
    if (wrongCorners || wrongFace)
      bad.push_back(c.name + ": " + std::to_string(wrongCorners) + " corner and " +
                    std::to_string(wrongFace) + " card pixels wrong");
  }
  return bad;
}

// The felt as the table shows it: the picture repeated from the top-left corner.
inline QRgb feltAt(int x, int y) {
  const QImage& t = tablePicture();
  return t.pixel(x % t.width(), y % t.height());
}

inline QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// Device pixels of the logical `area` that do not show the felt of their
// logical pixel, leaving out the logical region `skip`.
inline int feltMismatches(const QImage& picture, const QRect& area, int ratio = 1, const QRegion& skip = {}) {
  int bad = 0;
  for (int y = area.top() * ratio; y < (area.bottom() + 1) * ratio; ++y)
    for (int x = area.left() * ratio; x < (area.right() + 1) * ratio; ++x) {
      if (skip.contains(QPoint(x / ratio, y / ratio))) continue;
      bad += picture.pixel(x, y) != feltAt(x / ratio, y / ratio) ? 1 : 0;
    }
  return bad;
}

// Compares `picture` with tests/ui/reference/NAME.png. Pixels the reference
// marks magenta are the felt; `regionAt` names the part of the picture a
// pixel belongs to. On a difference, the message names each part that
// differs, and the picture as drawn is left in the build folder as
// NAME.png; HOLDEM_UPDATE_REFERENCES=1 makes it the new reference instead.
inline void expectReference(const QImage& drawn, const char* name, bool feltMarked,
                            const std::function<std::string(QPoint)>& regionAt) {
  constexpr QRgb kFeltMark = qRgb(255, 0, 255);
  const QImage picture = drawn.convertToFormat(QImage::Format_RGB32);
  const QString file =
      QStringLiteral(HOLDEM_REFERENCE_DIR "/") + QLatin1String(name) + QStringLiteral(".png");
  if (qEnvironmentVariableIntValue("HOLDEM_UPDATE_REFERENCES") == 1) {
    QImage marked = picture;
    for (int y = 0; feltMarked && y < marked.height(); ++y)
      for (int x = 0; x < marked.width(); ++x)
        if (marked.pixel(x, y) == feltAt(x, y)) marked.setPixel(x, y, kFeltMark);
    ASSERT_TRUE(marked.save(file)) << file.toStdString();
    return;
  }
  const QImage reference = QImage(file).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(picture.size(), reference.size()) << name;
  std::map<std::string, int> wrong;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb want =
          reference.pixel(x, y) == kFeltMark && feltMarked ? feltAt(x, y) : reference.pixel(x, y);
      if (picture.pixel(x, y) != want) ++wrong[regionAt(QPoint(x, y))];
    }
  if (wrong.empty()) return;
  std::string parts;
  for (const auto& [part, pixels] : wrong) parts += "\n  " + part + ": " + std::to_string(pixels) + " pixels";
  const QString left =
      QStringLiteral(HOLDEM_TEST_OUTPUT_DIR "/") + QLatin1String(name) + QStringLiteral(".png");
  picture.save(left);
  ADD_FAILURE() << name << " differs from its reference in" << parts << "\nas drawn: " << left.toStdString();
}

// The part of a widget's picture a point lies in: the nearest named widget
// there, or, on the table itself, a seat's cards, the board or the felt.
inline std::string partOf(const QWidget& root, QPoint p) {
  for (const QWidget* w = root.childAt(p); w; w = w->parentWidget())
    if (!w->objectName().isEmpty() && w != &root) return w->objectName().toStdString();
  for (const SeatInfo& seat : kSeats)
    if (toQRect(seat.cardArea).contains(p)) return std::string(seat.name) + "'s cards";
  if (toQRect(kBoardArea).contains(p)) return "the board";
  return root.objectName().toStdString();
}

// Runs `check` as soon as the next modal dialog is up.
inline void whenModal(std::function<void(QWidget*)> check) {
  QTimer::singleShot(0, [check = std::move(check)] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    check(modal);
  });
}

// A folder to play in: the table picture in it (or not), the settings file
// beside it, and the current folder set to it while the test runs.
class TableFolder {
 public:
  explicit TableFolder(bool withPicture = true) : previous_(QDir::currentPath()) {
    if (withPicture)
      QFile::copy(QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp"),
                  dir_.filePath(QStringLiteral("texas.bmp")));
    QDir::setCurrent(dir_.path());
  }
  ~TableFolder() { QDir::setCurrent(previous_); }
  std::filesystem::path path(const char* name) const {
    return dir_.filePath(QString::fromLatin1(name)).toStdString();
  }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

class OpenTable : public ::testing::Test {
 protected:
  explicit OpenTable(bool withPicture = true) : folder_(withPicture), settings_(folder_.path("tavlor.ini")) {}

  // Builds the window, starts the game, shows it and makes it the active
  // window, so that its keys work.
  void open(qreal ratio = 1.0) {
    form_ = std::make_unique<TableWindow>(settings_, clock_, &dialogs_, ratio);
    form_->canvas().setBeep([this] { ++beeps_; });
    ASSERT_TRUE(form_->startUp());
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  }

  template <typename T = QWidget>
  T* find(const char* name) const {
    T* w = form_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QLabel* label(const char* name) const { return find<QLabel>(name); }
  QImage canvas() const { return form_->canvas().picture(); }
  // What the canvas widget shows, labels and buttons included, in device pixels.
  QImage onScreen() const { return form_->canvas().grab().toImage().convertToFormat(QImage::Format_RGB32); }
  void click(Button b) { QTest::mouseClick(form_->button(b), Qt::LeftButton); }
  // A key pressed on whatever has the focus in the window, as the keyboard
  // delivers it.
  void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != form_.get()) target = form_.get();
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
  }
  // Types `text` key by key over all that the edit box `name` holds.
  void typeInto(const char* name, const QString& text) {
    auto* box = find<QLineEdit>(name);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
  }
  bool panelShown() const {
    const auto* panel = form_->findChild<QWidget*>(QStringLiteral("Panel1"));
    return panel && panel->isVisible();
  }
  // Every card that the game's state puts on the table shows whole in
  // `picture`; returns how many cards there are.
  int expectCardsShown(const QImage& picture, int ratio = 1) const {
    const std::vector<testing::CardPlace> cards = testing::cardsCalledFor(form_->game().state());
    EXPECT_EQ(cardMismatches(picture, ratio, cards), std::vector<std::string>{});
    return static_cast<int>(cards.size());
  }

  TableFolder folder_;
  SettingsFile settings_;
  FixedClock clock_{kClock};
  RecordingDialogs dialogs_;
  int beeps_ = 0;
  std::unique_ptr<TableWindow> form_;
};

// The main of every window test program: a GUI application that needs no
// screen unless the environment names one.
inline int runWindowTests(int argc, char** argv, void (*installFonts)()) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  installFonts();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

}  // namespace holdem::uitest
