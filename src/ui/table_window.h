#pragma once

// The table window: the felt with the cards, every seat's chips and last
// action, the pot, the four buttons, the Game menu and the options panel.
// The game lives here; the widgets show its view and hold nothing else.

#include <QKeySequence>
#include <QMainWindow>
#include <array>
#include <memory>

#include "game/game.h"
#include "ui/table_playback.h"

class QAction;
class QLabel;
class QPushButton;
class QSettings;

namespace holdem {

class CardsOnTable;
class DealReview;
class HandLogPanel;
class MessageBoxes;
class OptionsPanel;
class TableCanvas;
class TableStage;
class RulesDialog;
class StatsDialog;

class TableWindow final : public QMainWindow {
 public:
  // A window that plays with the given settings and clock. Message boxes go
  // to `dialogs` when given, else to real modal boxes over the window. The
  // canvas is drawn for `devicePixelRatio`, or, when it is 0, for the ratio
  // of the screen the window is on, also after it moves to another screen.
  TableWindow(SettingsStore& settings, Clock& clock, Dialogs* dialogs = nullptr, qreal devicePixelRatio = 0);
  ~TableWindow() override;

  // The game's start-up: reads and writes back the settings and deals the
  // first hand. False when the settings could not be written; the error box
  // has then been shown and the window must not be shown.
  bool startUp();

  // The dialogs that About and Statistics open, when they are to be other
  // than the window's own, which it builds the first time each is opened.
  void setDialogWindows(RulesDialog* about, StatsDialog* stats);

  // The Game menu.
  void newGame();
  void toggleOptions();
  void showRules();
  void showStatistics();

  // A click on one of the four buttons, as the button itself makes it.
  void buttonClicked(Button button);

  // The paint handler: the table picture, then every card the game calls for.
  void redraw();

  // Copies the game's view onto every label, button and the options panel,
  // and tells screen readers what the table now shows.
  void syncFromView();

  // The options panel, hidden or shown as the game's view says. It is built
  // the first time it is needed (the first Options, or a call here), showing
  // the game's view from the start, so that start-up does not wait for it.
  OptionsPanel& optionsPanel();

  // The View menu's "Opponent speed": at Instant a click shows its outcome
  // at once, at Normal and Slow the window plays the opponents' actions
  // back one by one. Any click, key or command first shows the rest at once.
  void setOpponentSpeed(OpponentSpeed speed);
  OpponentSpeed opponentSpeed() const { return playback_->speed(); }
  // Keeps the speed in `prefs` (the window's own preferences) from now on,
  // and takes it from there now.
  void rememberSpeedIn(QSettings* prefs);
  // The playback of the last click.
  TablePlayback& playback() { return *playback_; }

  // The shortcut of a button.
  static QKeySequence shortcut(Button button);

  const Game& game() const { return *game_; }
  // The hand log beside the table, and the hand history it keeps.
  HandLogPanel& handLog() { return *handLog_; }
  // The replays and the session chart.
  DealReview& review() { return *review_; }
  TableCanvas& canvas() { return *canvas_; }
  QPushButton* button(Button b) const { return buttons_[static_cast<int>(b)]; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenu();
  void buildLabels();
  void buildButtons();
  void buildShortcuts();
  void buildSpeedMenu();
  // Opens the window wholly on the available area of its screen: the table
  // as laid out where it fits there, else scaled down to the largest size
  // that does, centred.
  void placeOnScreen();
  // Whether the available area of `screen` holds the menu and the table.
  bool tableFits(const QScreen* screen) const;
  // The room for the scaled table below the menu on `screen`, the window's
  // frame as far as it is known taken off.
  QSize roomForTable(const QScreen* screen) const;
  // Places the window with the scaled table again, once, if the frame that
  // the window manager puts round it after it is shown reaches beyond the
  // screen.
  void keepFrameOnScreen();
  // Shows the table as laid out, the canvas the window's central widget, or
  // on a stage that scales it down; on the stage the window can be made as
  // small as half the table.
  void showTableWhole();
  void showTableScaled();
  // Draws the canvas for the ratio of the window's screen, when it follows it.
  void followScreen();
  // Moves the keyboard focus off a button that `v` switches off, to another
  // button or the table, never along the tab chain into the options.
  void keepFocusOffTheOptions(const TableView& v);
  // The table canvas's accessible description: the cards as they lie.
  void describeTable();
  // Runs a call into the game, then shows its outcome.
  template <typename Action>
  void run(Action action);
  // The labels of `v`, and with `whole` its buttons and options as well.
  void showView(const TableView& v, bool whole);

  std::unique_ptr<MessageBoxes> messageBoxes_;
  TableCanvas* canvas_ = nullptr;
  TableStage* stage_ = nullptr;  // while the table is shown scaled down
  // The game draws through it onto canvas_.
  std::unique_ptr<CardsOnTable> cardsOnTable_;
  // The game draws and asks its boxes through it; it plays clicks back.
  std::unique_ptr<TablePlayback> playback_;
  std::unique_ptr<Game> game_;
  std::unique_ptr<HandLogPanel> handLog_;
  std::unique_ptr<DealReview> review_;
  OptionsPanel* panel_ = nullptr;
  std::array<QLabel*, kSeatCount> cashLabels_{};
  std::array<QLabel*, kSeatCount> statusLabels_{};
  QLabel* theresult_ = nullptr;
  QLabel* betsize_ = nullptr;
  std::array<QPushButton*, kButtonCount> buttons_{};
  RulesDialog* about_ = nullptr;
  StatsDialog* stats_ = nullptr;
  std::array<QAction*, 3> speedActions_{};
  QSettings* prefs_ = nullptr;
  bool minimised_ = false;
  bool followsScreen_ = false;
  bool watchingScreen_ = false;
  bool frameChecked_ = false;
};

}  // namespace holdem
