#pragma once

// The rules dialog: how a deal of hold'em runs, in seventeen short lines.

#include <QDialog>

class QFrame;
class QPushButton;

namespace holdem {

class TAboutBox final : public QDialog {
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // The text line under the rules that names the game and its version.
  static constexpr char kTitleLine[] = "Hold'em 1.0";

 private:
  QFrame* panel_;
  QPushButton* ok_;
};

}  // namespace holdem
