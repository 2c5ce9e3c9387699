#pragma once

// The options panel laid over the middle of the table: initial cash, the
// target, the betting limit, the opponents' level and the card back. It
// shows what the game's view holds and passes every user action straight to
// the game; it keeps nothing of its own.

#include <QFrame>
#include <array>
#include <functional>

#include "game/game.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace holdem {

class OptionsPanel final : public QFrame {
 public:
  // `changed` runs after every call into the game, so that the window can
  // show the game's new view.
  OptionsPanel(QWidget* parent, Game& game, std::function<void()> changed);

  // Copies the panel's part of the view onto the widgets; shows or hides
  // nothing.
  void showView(const TableView& view);

  // Where Tab enters the panel: the initial cash. From there it runs through
  // Enter, the target, its Enter, the AI levels, the limit's arrows, the card
  // backs and Close.
  QWidget* firstInTabOrder() const;

 private:
  void run(const std::function<void()>& action);

  Game& game_;
  std::function<void()> changed_;
  QLineEdit* money_;
  QLineEdit* until_;
  QLabel* smallBetLabel_;
  QLabel* bigBetLabel_;
  QButtonGroup* levels_;
  QButtonGroup* cardbacks_;
  std::array<QToolButton*, 2> arrows_{};  // the betting limit's left and right arrows
};

}  // namespace holdem
