// holdem-replay FILE.ohh [HAND]: replays the hands of a saved hand history,
// from hand HAND (counted from 1) or the first, in the replay window.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <cstdio>
#include <string>

#include "history/ohh_read.h"
#include "ui/fonts.h"
#include "ui/replay_window.h"

namespace {

int refuse(const QString& text) {
  std::fprintf(stderr, "holdem-replay: %s\n", text.toLocal8Bit().constData());
  QMessageBox::critical(nullptr, QStringLiteral("holdem-replay"), text);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: holdem-replay FILE.ohh [HAND]\n");
    return 2;
  }
  QApplication app(argc, argv);
  holdem::installFontSubstitutes();
  const QStringList args = QApplication::arguments();
  const QString file = QFileInfo(args[1]).absoluteFilePath();
  holdem::ReadHands read = holdem::readOhhFile(file.toStdString());
  if (!read.error.empty())
    return refuse(args[1] + QStringLiteral(" cannot be replayed: ") + QString::fromStdString(read.error));
  size_t hand = 1;
  if (args.size() == 3) {
    bool ok = false;
    const qulonglong n = args[2].toULongLong(&ok);
    if (!ok || n < 1 || n > read.hands.size())
      return refuse(
          QStringLiteral("%1 holds hands 1 to %2, not %3").arg(args[1]).arg(read.hands.size()).arg(args[2]));
    hand = static_cast<size_t>(n);
  }
  // The felt: the table picture of the current folder, else the installed one.
  if (!QFileInfo::exists(QStringLiteral("texas.bmp"))) QDir::setCurrent(QStringLiteral(HOLDEM_TABLE_DIR));
  holdem::ReplayWindow window(std::move(read.hands), hand - 1);
  window.show();
  return QApplication::exec();
}
