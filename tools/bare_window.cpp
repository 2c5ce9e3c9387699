// bare_window: an empty Qt main window of the table's size with a one-item
// menu bar, and nothing else. Its start-up, measured the same way as the
// game's, shows what Qt itself takes on the machine at hand.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.menuBar()->addMenu(QStringLiteral("Game"));
  window.resize(800, 536);
  window.show();
  return app.exec();
}
