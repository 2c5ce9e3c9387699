#pragma once

// The game's message boxes, shown modally over the table window.

#include <QWidget>
#include <functional>

#include "game/ports.h"

namespace holdem {

class MessageBoxes final : public Dialogs {
 public:
  explicit MessageBoxes(QWidget* parent) : parent_(parent) {}

  // Shows `text` under the title `caption` (an empty caption gives an
  // empty title) with an OK button, or with Yes and No; true for OK or Yes.
  bool showMessage(std::string_view text, std::string_view caption, BoxButtons buttons) override;

  // Runs before each box appears, so that the window behind it shows the
  // game as it stands at that moment.
  void setBeforeShow(std::function<void()> hook) { beforeShow_ = std::move(hook); }

 private:
  QWidget* parent_;
  std::function<void()> beforeShow_;
};

}  // namespace holdem
