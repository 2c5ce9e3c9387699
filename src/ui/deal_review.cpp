#include "ui/deal_review.h"

#include <QAction>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <algorithm>

#include "history/hand_file.h"
#include "history/ohh_read.h"
#include "ui/hand_log.h"
#include "ui/replay_window.h"
#include "ui/session_window.h"

namespace holdem {

namespace {

// The records kept for a replay: the oldest go beyond this, so that a long
// session does not grow by a whole record a deal (the session chart keeps a
// few bytes of each).
constexpr size_t kKeptDeals = 100;

QAction* addItem(QMenu* menu, const char* name, const char* caption) {
  QAction* action = menu->addAction(QString::fromLatin1(caption));
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

DealReview::DealReview(QMainWindow& window, HandLogPanel& log, const TableView& shown)
    : window_(window), shown_(shown) {
  log.onDealFinished([this](const HandRecord& r) { dealFinished(r); });
  log.log().setReplay([this](int deal) { replayDeal(deal); });
  if (auto* view = window.menuBar()->findChild<QMenu*>(QStringLiteral("View1"))) {
    QObject::connect(addItem(view, "ReplayLast1", "Replay last deal"), &QAction::triggered, &window,
                     [this] { replayLast(); });
    QObject::connect(addItem(view, "Session1", "Session"), &QAction::triggered, &window,
                     [this] { showSession(); });
  }
  if (auto* game = window.menuBar()->findChild<QMenu*>(QStringLiteral("Game1"))) {
    QObject::connect(addItem(game, "ReplayHands1", "Replay hands..."), &QAction::triggered, &window,
                     [this] { chooseFile(); });
  }
}

DealReview::~DealReview() {
  delete replay_;
  delete session_;
}

ReplayWindow* DealReview::replay() const { return replay_; }
SessionWindow* DealReview::session() const { return session_; }

void DealReview::dealFinished(const HandRecord& r) {
  addDeal(figures_, r);
  sessionDeals_.push_back(sessionDeal(r));
  deals_.push_back(r);
  shownAtEnd_.push_back(shown_);
  if (deals_.size() > kKeptDeals) {
    deals_.erase(deals_.begin());
    shownAtEnd_.erase(shownAtEnd_.begin());
  }
  if (session_ && session_->isVisible()) session_->showSession(figures_, sessionDeals_);
}

void DealReview::open(std::vector<HandRecord> hands, size_t shown, std::vector<TableView> shownAtEnd) {
  delete replay_;
  replay_ = new ReplayWindow(std::move(hands), shown, &window_, std::move(shownAtEnd));
  replay_->setAttribute(Qt::WA_DeleteOnClose);
  replay_->show();
  replay_->activateWindow();
}

void DealReview::replayLast() {
  if (deals_.empty()) {
    QMessageBox::information(&window_, QStringLiteral("Replay"), QStringLiteral("No deal has finished yet."));
    return;
  }
  open(deals_, deals_.size() - 1, shownAtEnd_);
}

void DealReview::replayDeal(int deal) {
  for (size_t i = deals_.size(); i-- > 0;)
    if (deals_[i].number == deal) return open(deals_, i, shownAtEnd_);
  // A deal of the session that finished long ago.
  if (std::none_of(sessionDeals_.begin(), sessionDeals_.end(),
                   [deal](const SessionDeal& d) { return d.number == deal; }))
    return;
  QMessageBox::information(&window_, QStringLiteral("Replay"),
                           QStringLiteral("Deal %1 is no longer kept here: Game > Replay hands... opens it "
                                          "from the hand history.")
                               .arg(deal));
}

void DealReview::replayFile(const QString& file) {
  ReadHands read = readOhhFile(file.toStdString());
  if (!read.error.empty()) {
    QMessageBox::warning(
        &window_, QStringLiteral("Replay hands"),
        QStringLiteral("%1 cannot be replayed: %2")
            .arg(file, QString::fromUtf8(read.error.data(), static_cast<qsizetype>(read.error.size()))));
    return;
  }
  open(std::move(read.hands), 0);
}

void DealReview::chooseFile() {
  const std::optional<std::filesystem::path> folder = defaultHandsFolder();
  const QString file = QFileDialog::getOpenFileName(
      &window_, QStringLiteral("Replay hands"), folder ? QString::fromStdString(folder->string()) : QString(),
      QStringLiteral("Hand histories (*.ohh);;All files (*)"));
  if (!file.isEmpty()) replayFile(file);
}

void DealReview::showSession() {
  if (!session_) session_ = new SessionWindow(&window_);
  session_->showSession(figures_, sessionDeals_);
  session_->show();
  session_->raise();
  session_->activateWindow();
}

}  // namespace holdem
