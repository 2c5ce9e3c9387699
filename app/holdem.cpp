// The table window: one human against seven computer opponents.
#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QSettings>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "game/ports.h"
#include "game/settings_file.h"
#include "history/hand_file.h"
#include "ui/fonts.h"
#include "ui/hand_log.h"
#include "ui/table_window.h"

namespace {

// Whether a program named `name` is in one of the folders of $PATH.
bool onPath(const char* name) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  const std::string folders(path);
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = end > start ? folders.substr(start, end - start) : std::string(".");
    std::error_code ignored;
    if (std::filesystem::is_regular_file(std::filesystem::path(folder) / name, ignored)) return true;
    start = end + 1;
  }
  return false;
}

// Screen readers reach the window over the D-Bus session bus, which Qt joins
// while the window is being built and waits for. With no bus named in the
// environment and no per-user bus socket, the D-Bus library falls back to
// starting dbus-launch, a fork and a wait of several milliseconds, even when
// dbus-launch is not installed and the attempt can only fail. In exactly
// that case the bus is named as one that cannot be reached, so that the
// attempt fails at once; wherever a bus can be found, nothing changes.
void skipHopelessBusLaunch() {
  if (std::getenv("DBUS_SESSION_BUS_ADDRESS")) return;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::path(runtime) / "bus", ignored)) return;
  }
  std::error_code ignored;
  if (std::filesystem::exists("/usr/bin/dbus-launch", ignored) || onPath("dbus-launch")) return;
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

}  // namespace

int main(int argc, char** argv) {
  skipHopelessBusLaunch();
  // Qt reads fontconfig's configuration, a few dozen files, the first time
  // it needs a font. FcInit reads it here instead, on a second thread while
  // Qt connects to the display; it is the process's one default
  // configuration, the very one Qt then finds loaded.
  std::thread fontConfiguration([] { FcInit(); });
  QApplication app(argc, argv);
  // Lets the desktop match the window with its launcher and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(HOLDEM_APP_ID));
  fontConfiguration.join();
  holdem::installFontSubstitutes();

  // The settings file makes its folder when it first writes, and takes it
  // away again when that write fails.
  holdem::SettingsFile settings(holdem::defaultSettingsPath());
  holdem::SystemClock clock;

  holdem::TableWindow form(settings, clock);
  // The window's own preferences (whether the hand log is open, the
  // opponents' speed) live apart from the game's settings file, in
  // ~/.config/holdem/window.conf.
  QSettings windowPreferences(QStringLiteral("holdem"), QStringLiteral("window"));
  form.handLog().rememberIn(&windowPreferences);
  form.rememberSpeedIn(&windowPreferences);
  if (const auto hands = holdem::defaultHandsFolder()) {
    form.handLog().saveHandsTo(holdem::HandHistory::inFolder(*hands));
  } else {
    form.handLog().log().notice(
        QStringLiteral("Hands are not being saved: there is no home folder to keep them in"));
  }
  // A settings file that cannot be written ends the game before it shows;
  // the error box has been shown.
  if (!form.startUp()) return 1;
  form.show();
  return app.exec();
}
