#pragma once

// What the window tests share: a folder to play in, the felt, the cards'
// places, and a fixture that opens the table window with a fixed clock.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegion>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../test_support.h"
#include "card_pixels.h"
#include "game/settings_file.h"
#include "ui/table_window.h"
#include "ui/table_canvas.h"

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
      QFile::copy(QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp"), dir_.filePath(QStringLiteral("texas.bmp")));
    QDir::setCurrent(dir_.path());
  }
  ~TableFolder() { QDir::setCurrent(previous_); }
  std::filesystem::path path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)).toStdString(); }

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
  // Every card that the game's state puts on the table shows whole in
  // `picture`; returns how many cards there are.
  int expectCardsShown(const QImage& picture, int ratio = 1) const {
    const std::vector<CardPlace> cards = cardsOnTable(form_->game().state());
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
