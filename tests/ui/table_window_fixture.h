#pragma once

// What the window tests share: a folder to play in, a recorder for the
// message boxes, the felt and the card corners of the layout, and a fixture
// that opens the table window with a fixed clock.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/settings_file.h"
#include "ui/main_window.h"
#include "ui/table_canvas.h"

namespace holdem::uitest {

inline constexpr int64_t kClock = 1700000000;

struct Box {
  std::string text;
  std::string caption;
  BoxButtons buttons;
  friend bool operator==(const Box&, const Box&) = default;
};

class RecordingDialogs final : public Dialogs {
 public:
  bool showMessage(std::string_view text, std::string_view caption, BoxButtons buttons) override {
    boxes.push_back({std::string(text), std::string(caption), buttons});
    return buttons == BoxButtons::Ok || answerYes;
  }
  std::vector<Box> boxes;
  bool answerYes = true;
};

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

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

// The twelve pixels that round off the corners of a card at (x, y).
inline std::vector<QPoint> cornerPixels(int x, int y) {
  const int r = x + kCardWidth - 1, b = y + kCardHeight - 1;
  return {{x, y},     {r, y},     {x, b},     {r, b},     {x + 1, y}, {x, y + 1},
          {r - 1, y}, {r, y + 1}, {x, b - 1}, {x + 1, b}, {r, b - 1}, {r - 1, b}};
}

inline QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

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

class TableWindow : public ::testing::Test {
 protected:
  TableWindow() : settings_(folder_.path("tavlor.ini")) {}

  // Builds the window, starts the game, shows it and makes it the active
  // window, so that its keys work.
  void open(qreal ratio = 1.0) {
    form_ = std::make_unique<TForm1>(settings_, clock_, &dialogs_, ratio);
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
  QImage canvas() const { return form_->canvas().picture(); }
  void click(Button b) { QTest::mouseClick(form_->button(b), Qt::LeftButton); }

  TableFolder folder_;
  SettingsFile settings_;
  FixedClock clock_{kClock};
  RecordingDialogs dialogs_;
  int beeps_ = 0;
  std::unique_ptr<TForm1> form_;
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
