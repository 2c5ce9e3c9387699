// Plays a few clicks on the table window and saves a picture of it.
//
//   window_shot OUTPUT.png CLOCK [ACTION...]
//
// ACTION is one of deal, call, raise, fold, options, or back N / level N
// (an item of the options panel, 0..3). The clock fixes the shuffle, so the
// same arguments give the same picture. The table picture "texas.bmp" is
// read from the current folder and the settings from $XDG_CONFIG_HOME, as
// the game does. Message boxes are answered at once and listed on stderr.
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/ports.h"
#include "game/settings_file.h"
#include "game/stand_ins.h"
#include "ui/fonts.h"
#include "ui/hand_log.h"
#include "ui/table_window.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: window_shot OUTPUT.png CLOCK [deal|call|raise|fold|options|log|back N|level N]...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) return usage();
  holdem::installFontSubstitutes();

  const std::filesystem::path settingsPath = holdem::defaultSettingsPath();
  std::filesystem::create_directories(settingsPath.parent_path());
  holdem::SettingsFile settings(settingsPath);
  holdem::FixedClock clock(std::strtoll(argv[2], nullptr, 10));
  holdem::RecordingDialogs dialogs;
  holdem::TableWindow form(settings, clock, &dialogs);
  if (!form.startUp()) return 1;
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 1;

  const auto clickButton = [&](holdem::Button b) { QTest::mouseClick(form.button(b), Qt::LeftButton); };
  const auto clickItem = [&](const char* group, const char* item) {
    auto* radio = form.findChild<QAbstractButton*>(QString::fromLatin1(group) + QString::fromLatin1(item));
    if (radio) QTest::mouseClick(radio, Qt::LeftButton);
    return radio != nullptr;
  };
  for (int i = 3; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "deal") {
      clickButton(holdem::Button::Deal);
    } else if (a == "call") {
      clickButton(holdem::Button::CheckCall);
    } else if (a == "raise") {
      clickButton(holdem::Button::Raise);
    } else if (a == "fold") {
      clickButton(holdem::Button::Fold);
    } else if (a == "options") {
      form.toggleOptions();
    } else if (a == "log") {
      form.handLog().setShown(!form.handLog().shown());
    } else if ((a == "back" || a == "level") && i + 1 < argc) {
      if (!clickItem(a == "back" ? "cardbacks" : "Levels", argv[++i])) return usage();
    } else {
      return usage();
    }
    QApplication::processEvents();
  }
  for (const holdem::Box& box : dialogs.boxes)
    std::fprintf(stderr, "box: %s [%s]\n", box.text.c_str(), box.caption.c_str());
  if (!form.grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
