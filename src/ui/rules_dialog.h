#pragma once

// The rules dialog: how a deal of hold'em runs, in seventeen short lines.

#include <QDialog>

class QFrame;
class QPushButton;

namespace holdem {

class RulesDialog final : public QDialog {
 public:
  explicit RulesDialog(QWidget* parent = nullptr);

  // The text line under the rules that names the game and its version.
  static constexpr char kTitleLine[] = "Hold'em 1.0";

 private:
  QFrame* panel_;
  QPushButton* ok_;
};

}  // namespace holdem
