#pragma once

// The statistics dialog: deals, hands played and hands won of this game.

#include <QDialog>
#include <cstdint>

class QLabel;
class QPushButton;

namespace holdem {

class StatsDialog final : public QDialog {
 public:
  explicit StatsDialog(QWidget* parent = nullptr);

  // Writes the three counters into their value labels as whole numbers.
  void showCounters(int32_t deals, int32_t handsPlayed, int32_t handsWon);

 private:
  QLabel* btndeals_;
  QLabel* btnhandsplayed_;
  QLabel* btnhandswon_;
  QPushButton* ok_;
};

}  // namespace holdem
