#pragma once

// The hand log beside the table: the deal in progress line by line as it is
// played, and each earlier deal of the session folded to one line. Its
// panel comes and goes with the View menu's "Hand log" (Ctrl+L), widening
// the window by its own width so that the table keeps its size and place,
// and it hands every finished deal to the hand history.

#include <QPlainTextEdit>
#include <deque>
#include <memory>
#include <optional>

#include "game/game.h"
#include "history/hand_file.h"

class QAction;
class QDockWidget;
class QMainWindow;
class QSettings;

namespace holdem {

// The log's text: plain lines, selectable and copyable, in the colours of
// the theme.
class HandLog final : public QPlainTextEdit {
 public:
  explicit HandLog(QWidget* parent = nullptr);

  // Brings the log up to the record: a new deal folds the one before into
  // its summary line. With `lines` false (the log is closed) the text is
  // let go and only the summaries are kept; it is written afresh when the
  // lines are next asked for.
  void follow(const HandRecord& r, bool lines = true);
  // A line of its own, above the deal in progress.
  void notice(const QString& line);

 private:
  void appendLines(const std::vector<std::string>& lines);
  void keep(const QString& line);

  static constexpr size_t kKeptEarlier = 1000;
  std::deque<QString> earlier_;  // the summaries of earlier deals, and notices
  bool live_ = false;            // the text shows the deal in progress
  int64_t serial_ = 0;
  int detailBlocks_ = 0;  // the lines of the deal in progress, at the end
  size_t shownSteps_ = 0;
  bool opened_ = false;
  bool endShown_ = false;
  QString summary_;
};

class HandLogPanel {
 public:
  // Adds the panel, hidden, and the View menu to `window`, and listens to
  // `game` for the deals it finishes.
  HandLogPanel(QMainWindow& window, Game& game);
  ~HandLogPanel();

  // Shows or hides the panel; the window grows or shrinks by its width.
  void setShown(bool shown);
  bool shown() const;
  // Keeps the panel's state in `prefs` (the window's own preferences), and
  // opens it now if it was open when they were last kept.
  void rememberIn(QSettings* prefs);
  // Appends each finished deal to the history from now on; a history that
  // cannot be written says so in the log, once.
  void saveHandsTo(HandHistory history);
  // After each event of the game: the log follows the deal.
  void follow();

  HandLog& log() { return *log_; }
  QAction* action() const { return action_; }

 private:
  void dealFinished(const HandRecord& r);

  QMainWindow& window_;
  Game& game_;
  QDockWidget* dock_;
  HandLog* log_;
  QAction* action_;
  QSettings* prefs_ = nullptr;
  std::optional<HandHistory> history_;
  bool saveFailed_ = false;
};

}  // namespace holdem
