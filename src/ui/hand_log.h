#pragma once

// The hand log beside the table: the deal in progress line by line as it is
// played, and each earlier deal of the session folded to one line. Its
// panel comes and goes with the View menu's "Hand log" (Ctrl+L), widening
// the window by its own width so that the table keeps its size and place,
// and it hands every finished deal to the hand history.

#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "game/game.h"
#include "history/hand_file.h"

class QAction;
class QDockWidget;
class QMainWindow;
class QScrollBar;
class QSettings;

namespace holdem {

// The log's lines, one row each, newest at the bottom. Rows can be chosen
// with the mouse (Shift extends) or all at once (Ctrl+A), and copied as
// text (Ctrl+C, or the context menu). Screen readers hear the deal in
// progress. The colours are the theme's.
//
// A new line costs the drawing of the rows in view and no more: each row is
// laid out once, and the background is filled in bands (Qt hands a fill of
// many pixel lines to worker threads and waits for them).
class HandLog final : public QWidget {
 public:
  explicit HandLog(QWidget* parent = nullptr);
  ~HandLog() override;

  // Brings the log up to the record: a new deal folds the one before into
  // its summary line. With `lines` false (the log is closed) the rows are
  // let go and only the summaries are kept; they are written afresh when
  // the lines are next asked for.
  void follow(const HandRecord& r, bool lines = true);
  // A line of its own, above the deal in progress.
  void notice(const QString& line);

  QStringList lines() const;
  // The rows chosen, as the clipboard gets them.
  QString selectedText() const;
  void selectAll();
  // Asked to replay a deal (a double-click on one of its rows, or the context
  // menu): gets the number of the deal the row belongs to.
  void setReplay(std::function<void(int deal)> replay) { replay_ = std::move(replay); }
  // The number of the deal that row `row` belongs to, or 0.
  int dealOfRow(int row) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Row;
  void append(const QStringList& lines);
  void removeLast(int count);
  void keep(const QString& line);
  // After a change of the rows: `added` new ones at the end, or -1 for any
  // other change, which draws them all again.
  void rowsChanged(int added);
  void scrolledTo(int top);
  QRect textArea() const;
  int rowHeight() const;
  int rowsInView() const;
  int rowAt(int y) const;
  void describe();

  static constexpr size_t kKeptEarlier = 1000;
  std::deque<QString> earlier_;  // the summaries of earlier deals, and notices
  std::deque<Row> rows_;
  QScrollBar* bar_;
  int shownTop_ = 0;  // the first row in view as drawn
  int anchor_ = -1;   // the selection: rows anchor_..end_, either way round
  int end_ = -1;
  bool live_ = false;  // the rows show the deal in progress
  int64_t serial_ = 0;
  int detailLines_ = 0;  // the rows of the deal in progress, at the end
  size_t shownSteps_ = 0;
  bool opened_ = false;
  bool endShown_ = false;
  QString summary_;
  std::function<void(int)> replay_;
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
  // Also hears of each finished deal.
  void onDealFinished(std::function<void(const HandRecord&)> listener) { finished_ = std::move(listener); }

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
  std::function<void(const HandRecord&)> finished_;
};

}  // namespace holdem
