#pragma once

// The session at a glance: a chart of the human's chips after every deal,
// each point telling its deal and result when the mouse is over it, and
// beside it the session's figures.

#include <QWidget>
#include <span>

#include "game/hand_record.h"
#include "history/replay.h"

class QLabel;

namespace holdem {

class SessionChart;

class SessionWindow final : public QWidget {
 public:
  explicit SessionWindow(QWidget* parent = nullptr);
  ~SessionWindow() override;

  // Shows the session's figures and its finished deals, oldest first.
  void showSession(const SessionFigures& figures, std::span<const SessionDeal> deals);
  const SessionFigures& figures() const { return figures_; }
  // The figures as the window words them.
  QString figuresText() const;

 private:
  SessionChart* chart_;
  QLabel* figuresLabel_;
  SessionFigures figures_;
};

}  // namespace holdem
