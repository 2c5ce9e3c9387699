#pragma once

// A finished deal replayed step by step in a window of its own: the table as
// it stood after each step, drawn as the table draws it, with every hole
// card face up, each hand's chance to win from that point and the reason an
// opponent gave for its action. First, previous, next and last step by
// button, by Home, Left, Right and End, or by the slider. It reads the
// deals' records and nothing else: the game in progress goes on untouched.

#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "eval/odds.h"
#include "game/hand_record.h"
#include "history/replay.h"

class QComboBox;
class QLabel;
class QSlider;

namespace holdem {

class TableCanvas;

class ReplayWindow final : public QWidget {
 public:
  // Replays `hands[shown]`; with more than one hand, a list above the table
  // chooses among them. Where `shownAtEnd` holds what the table showed as a
  // hand was over, its last step shows those labels; otherwise they are
  // told again from the record.
  ReplayWindow(std::vector<HandRecord> hands, size_t shown, QWidget* parent = nullptr,
               std::vector<TableView> shownAtEnd = {});
  ~ReplayWindow() override;

  void showHand(size_t hand);
  // Shows frame `frame` of the deal: 0 the cards dealt, then a frame per
  // step, the last one the end of the deal.
  void goTo(int frame);
  int frameIndex() const { return frame_; }
  int frameCount() const { return static_cast<int>(frames_.size()); }
  const ReplayFrame& frame() const { return frames_[frame_]; }
  const HandRecord& hand() const { return hands_[hand_]; }
  // Each seat's chance to win from the frame shown; empty for a seat out of
  // the deal.
  const std::array<std::optional<double>, kSeatCount>& chances() const { return chances_; }
  TableCanvas& canvas() { return *canvas_; }
  // What the side of the window says: the step, the reason, the chances.
  QString sideText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void paintFrame();
  void computeChances();

  std::vector<HandRecord> hands_;
  std::vector<TableView> shownAtEnd_;
  size_t hand_ = 0;
  std::vector<ReplayFrame> frames_;
  int frame_ = 0;
  std::array<std::optional<double>, kSeatCount> chances_{};
  TableCanvas* canvas_;
  std::array<QLabel*, kSeatCount> cashLabels_{};
  std::array<QLabel*, kSeatCount> statusLabels_{};
  QLabel* result_;
  QLabel* pot_;
  QLabel* side_;
  QLabel* position_;
  QSlider* slider_;
  QComboBox* chooser_ = nullptr;
};

}  // namespace holdem
