// The table window: one human against seven computer opponents.
#include <QApplication>
#include <filesystem>
#include <system_error>

#include "game/ports.h"
#include "game/settings_file.h"
#include "ui/fonts.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Lets the desktop match the window with its launcher and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(HOLDEM_APP_ID));
  holdem::installFontSubstitutes();

  const std::filesystem::path settingsPath = holdem::defaultSettingsPath();
  std::error_code ignored;  // a folder that cannot be made shows up as a failed write
  std::filesystem::create_directories(settingsPath.parent_path(), ignored);
  holdem::SettingsFile settings(settingsPath);
  holdem::SystemClock clock;

  holdem::TForm1 form(settings, clock);
  // A settings file that cannot be written ends the game before it shows;
  // the error box has been shown.
  if (!form.startUp()) return 1;
  form.show();
  return app.exec();
}
