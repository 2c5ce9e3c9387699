// window_bench: measures the table window as a player uses it.
//
//   window_bench RESOURCES clicks [COUNT]   how long a Check/Call takes
//   window_bench RESOURCES clicks-log [COUNT]   the same with the hand log open
//   window_bench RESOURCES memory [DEALS]   resident memory over many deals
//   window_bench RESOURCES startup          where the start-up time goes
//
// RESOURCES is the folder that holds texas.bmp. The window is the real one
// (TableWindow with its canvas, labels and buttons, and its options panel once
// opened), driven by mouse clicks on its buttons; message boxes are answered
// at once, and the settings go to a real file in a fresh temporary folder. Run it on the X server the game
// would use (QT_QPA_PLATFORM=xcb), so that a repaint includes handing the
// frame to the server.
#include <time.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "game/settings_file.h"
#include "game/stand_ins.h"
#include "ui/fonts.h"
#include "ui/hand_log.h"
#include "ui/table_canvas.h"
#include "ui/table_window.h"

namespace {

using holdem::Button;

constexpr int64_t kClock = 1700000000;

// Counts the paints of one widget.
class PaintCounter final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
  long paints = 0;
};

// A figure of /proc/self/status in kB: VmRSS, RssAnon, RssFile.
long statusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.rfind(prefix, 0) == 0) return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
  }
  return -1;
}

// Where the time of a click goes, from the release of the mouse button (the
// button acts on its release): the click itself (the game and the widgets
// taking its outcome), the repaint, and the display server taking the new
// frame; then the whole, in wall-clock and in processor time.
struct Parts {
  std::vector<double> handling;
  std::vector<double> repaint;
  std::vector<double> server;
  std::vector<double> total;
  std::vector<double> cpu;
};

double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Lets every repaint the last event asked for happen, and waits until the
// display server has taken the new frame.
void settle(Parts* parts = nullptr, QElapsedTimer* timer = nullptr) {
  const auto lap = [&](std::vector<double> Parts::*part) {
    if (parts) (parts->*part).push_back(static_cast<double>(timer->nsecsElapsed()) / 1e6);
    if (timer) timer->restart();
  };
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  lap(&Parts::repaint);
  QGuiApplication::sync();
  lap(&Parts::server);
}

class Table {
 public:
  Table()
      : settings_(std::filesystem::path(dir_.path().toStdString()) / "holdem" / "tavlor.ini"),
        clock_(kClock),
        form_(settings_, clock_, &dialogs_) {}

  bool start(bool withLog = false) {
    if (!form_.startUp()) return false;
    if (withLog) form_.handLog().setShown(true);
    form_.show();
    if (!QTest::qWaitForWindowExposed(&form_)) return false;
    form_.canvas().installEventFilter(&paints_);
    settle();
    return true;
  }

  bool enabled(Button b) const { return form_.button(b)->isEnabled(); }
  bool bettingOpen() const {
    return enabled(Button::CheckCall) || enabled(Button::Raise) || enabled(Button::Fold);
  }
  const holdem::TableState& state() const { return form_.game().state(); }

  // A click as a person makes it: the button goes down and is painted
  // pressed, and a moment later comes up and acts.
  void click(Button b, Parts* parts = nullptr) {
    QPushButton* button = form_.button(b);
    QTest::mousePress(button, Qt::LeftButton);
    settle();
    QElapsedTimer timer;
    QElapsedTimer whole;
    const double cpuBefore = threadCpuMs();
    timer.start();
    whole.start();
    QTest::mouseRelease(button, Qt::LeftButton);
    if (parts) parts->handling.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    timer.restart();
    settle(parts, &timer);
    if (parts) {
      parts->total.push_back(static_cast<double>(whole.nsecsElapsed()) / 1e6);
      parts->cpu.push_back(threadCpuMs() - cpuBefore);
    }
  }

  // The next deal, starting a new game when the last one is over.
  void deal() {
    if (enabled(Button::Deal)) {
      click(Button::Deal);
    } else if (!bettingOpen()) {
      form_.newGame();
      settle();
    }
  }

  long paints() const { return paints_.paints; }

 private:
  QTemporaryDir dir_;
  holdem::SettingsFile settings_;
  holdem::FixedClock clock_;
  holdem::RecordingDialogs dialogs_;
  holdem::TableWindow form_;
  PaintCounter paints_;
};

// The human's clicks: uniform over the betting buttons that are enabled.
class Clicker {
 public:
  Button pick(const Table& table) {
    std::vector<Button> choices;
    for (Button b : {Button::CheckCall, Button::Raise, Button::Fold}) {
      if (table.enabled(b)) choices.push_back(b);
    }
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return choices[(state_ >> 33) % choices.size()];
  }

 private:
  uint64_t state_ = 12345;
};

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const size_t at = std::min(values.size() - 1, static_cast<size_t>(p / 100.0 * values.size()));
  return values[at];
}

// The pre-flop Check/Call of deals in which all seven opponents are in:
// each of them answers inside the click, then the window repaints.
int measureClicks(int count, bool withLog) {
  Table table;
  if (!table.start(withLog)) return 1;
  Parts parts;
  long missedPaints = 0;
  while (static_cast<int>(parts.total.size()) < count) {
    table.deal();
    if (!table.enabled(Button::CheckCall) || table.state().foldCount != 0 ||
        table.state().bettingRound != holdem::kPreFlop) {
      if (table.bettingOpen()) table.click(Button::Fold);
      continue;
    }
    const long paintsBefore = table.paints();
    table.click(Button::CheckCall, &parts);
    if (table.paints() == paintsBefore) ++missedPaints;
    if (table.bettingOpen()) table.click(Button::Fold);
  }
  const std::vector<double>& ms = parts.total;
  std::printf("clicks=%d p50=%.3f ms p90=%.3f ms p99=%.3f ms max=%.3f ms without_paint=%ld\n", count,
              percentile(ms, 50), percentile(ms, 90), percentile(ms, 99), percentile(ms, 100), missedPaints);
  const std::pair<const char*, std::vector<double>*> named[] = {{"handling", &parts.handling},
                                                                {"repaint", &parts.repaint},
                                                                {"server", &parts.server},
                                                                {"cpu time", &parts.cpu}};
  for (const auto& [name, values] : named) {
    std::printf("  %-9s p50=%.3f ms p99=%.3f ms max=%.3f ms\n", name, percentile(*values, 50),
                percentile(*values, 99), percentile(*values, 100));
  }
  return missedPaints == 0 ? 0 : 1;
}

// Resident memory after start-up and `first` deals, then after `more`,
// halfway and at the end. Anonymous memory (the heap and its like) is shown
// apart from the mapped files, whose pages come in as code runs first.
int measureMemory(int first, int more) {
  Table table;
  if (!table.start()) return 1;
  Clicker clicker;
  auto report = [](const char* when) {
    std::printf("%-12s rss=%ld kB anon=%ld kB file=%ld kB\n", when, statusKilobytes("VmRSS"),
                statusKilobytes("RssAnon"), statusKilobytes("RssFile"));
  };
  auto play = [&](int deals) {
    for (int i = 0; i < deals; ++i) {
      table.deal();
      while (table.bettingOpen()) table.click(clicker.pick(table));
    }
  };
  report("start-up");
  play(first);
  const long rssFirst = statusKilobytes("VmRSS");
  const long anonFirst = statusKilobytes("RssAnon");
  report(("deals=" + std::to_string(first)).c_str());
  play(more / 2);
  report(("deals=" + std::to_string(first + more / 2)).c_str());
  play(more - more / 2);
  report(("deals=" + std::to_string(first + more)).c_str());
  std::printf("growth over the last %d deals: rss=%ld kB anon=%ld kB\n", more,
              statusKilobytes("VmRSS") - rssFirst, statusKilobytes("RssAnon") - anonFirst);
  return 0;
}

// The steps of the game's start-up one by one, as app/holdem.cpp takes them,
// in wall-clock time and in the processor time of this thread.
int measureStartup(int argc, char** argv, QElapsedTimer& sinceMain) {
  struct Step {
    const char* name;
    double wallMs;
    double cpuMs;
  };
  std::vector<Step> steps;
  QElapsedTimer step;
  double cpuAt = threadCpuMs();
  auto mark = [&](const char* name) {
    const double cpu = threadCpuMs();
    steps.push_back({name, static_cast<double>(step.nsecsElapsed()) / 1e6, cpu - cpuAt});
    cpuAt = cpu;
    step.restart();
  };
  step.start();
  QApplication app(argc, argv);
  mark("QApplication");
  holdem::installFontSubstitutes();
  mark("font substitutes");
  QTemporaryDir dir;
  holdem::SettingsFile settings(std::filesystem::path(dir.path().toStdString()) / "tavlor.ini");
  holdem::FixedClock clock(kClock);
  holdem::RecordingDialogs dialogs;
  holdem::TableWindow form(settings, clock, &dialogs);
  mark("window built");
  form.startUp();
  mark("game start-up");
  PaintCounter paints;
  form.canvas().installEventFilter(&paints);
  form.show();
  mark("show");
  while (paints.paints == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QGuiApplication::sync();
  mark("first paint");
  std::printf("%-26s %9s %9s\n", "step", "wall ms", "cpu ms");
  for (const Step& s : steps) std::printf("%-26s %9.2f %9.2f\n", s.name, s.wallMs, s.cpuMs);
  std::printf("%-26s %9.2f\n", "since main", static_cast<double>(sinceMain.nsecsElapsed()) / 1e6);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  if (argc < 3) {
    std::fprintf(
        stderr,
        "usage: window_bench RESOURCES clicks [COUNT] | clicks-log [COUNT] | memory [DEALS] | startup\n");
    return 2;
  }
  if (!QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "window_bench: no folder %s\n", argv[1]);
    return 2;
  }
  const std::string mode = argv[2];
  const int number = argc > 3 ? std::atoi(argv[3]) : 0;
  if (mode == "startup") return measureStartup(argc, argv, sinceMain);
  QApplication app(argc, argv);
  holdem::installFontSubstitutes();
  if (mode == "clicks" || mode == "clicks-log")
    return measureClicks(number > 0 ? number : 1000, mode == "clicks-log");
  if (mode == "memory") return measureMemory(100, number > 0 ? number : 1000);
  std::fprintf(stderr, "window_bench: unknown mode %s\n", mode.c_str());
  return 2;
}
