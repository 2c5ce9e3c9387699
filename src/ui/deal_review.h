#pragma once

// The deals looked at again: "Replay last deal" and "Session" in the View
// menu, "Replay hands..." in the Game menu, and a deal of the hand log
// replayed from its rows. It keeps the session's finished deals and builds
// its windows the first time they are asked for; the game is only read.

#include <QPointer>
#include <QString>
#include <vector>

#include "game/hand_record.h"
#include "game/view.h"
#include "history/replay.h"

class QMainWindow;

namespace holdem {

class HandLogPanel;
class ReplayWindow;
class SessionWindow;

class DealReview {
 public:
  // `shown` is what the table shows; a deal's replay ends on it as it stood
  // when the deal was over.
  DealReview(QMainWindow& window, HandLogPanel& log, const TableView& shown);
  ~DealReview();

  // The last finished deal of the session, or the latest one numbered `deal`.
  void replayLast();
  void replayDeal(int deal);
  // The hands of an Open Hand History file: a replay, or a box that says
  // why the file cannot be replayed.
  void replayFile(const QString& file);
  void chooseFile();
  void showSession();

  // The records of the last deals, which can be replayed here; what the
  // session chart keeps of every finished deal.
  const std::vector<HandRecord>& deals() const { return deals_; }
  const std::vector<SessionDeal>& sessionDeals() const { return sessionDeals_; }
  // The windows while they are open.
  ReplayWindow* replay() const;
  SessionWindow* session() const;

 private:
  void dealFinished(const HandRecord& r);
  void open(std::vector<HandRecord> hands, size_t shown, std::vector<TableView> shownAtEnd = {});

  QMainWindow& window_;
  const TableView& shown_;
  std::vector<HandRecord> deals_;
  std::vector<TableView> shownAtEnd_;  // what the table showed as each deal was over
  SessionFigures figures_;
  std::vector<SessionDeal> sessionDeals_;
  QPointer<ReplayWindow> replay_;
  QPointer<SessionWindow> session_;
};

}  // namespace holdem
