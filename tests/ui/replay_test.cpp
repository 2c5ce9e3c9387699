// The replay of a deal and the session chart beside the table: the replay's
// last step shows the table as the deal ended, and its keys and buttons
// step through the deal.
#include <QScrollBar>
#include <QSlider>

#include "history/ohh.h"
#include "table_window_fixture.h"
#include "ui/deal_review.h"
#include "ui/hand_log.h"
#include "ui/replay_window.h"
#include "ui/session_window.h"
#include "ui/table_labels.h"

namespace holdem::uitest {
namespace {

class ReplayTest : public OpenTable {
 protected:
  // Plays the deal in progress to its end with Call, or Raise every third
  // deal, then opens its replay from the View menu.
  ReplayWindow& playAndReplay(int deal) {
    if (deal > 0) click(Button::Deal);
    if (deal % 3 == 2) click(Button::Raise);
    for (int i = 0; i < 50 && !form_->button(Button::Deal)->isEnabled(); ++i) click(Button::CheckCall);
    find<QAction>("ReplayLast1")->trigger();
    return *form_->review().replay();
  }
};

TEST_F(ReplayTest, LastStepShowsTheBoardPotChipsAndLabelsTheTableShowedAtTheDealsEnd) {
  open();
  for (int deal = 0; deal < 6; ++deal) {
    SCOPED_TRACE(deal);
    const TableState before = form_->game().state();
    ReplayWindow& replay = playAndReplay(deal);
    EXPECT_EQ(replay.hand(), form_->game().handRecord());
    replay.goTo(replay.frameCount() - 1);
    std::vector<const char*> names{kPotPlace.name, kResultPlace.name};
    for (const SeatLabels& l : kSeatLabels) names.insert(names.end(), {l.cash.name, l.status.name});
    for (const char* name : names) {
      const QLabel* told = replay.findChild<QLabel*>(QString::fromLatin1(name));
      const QLabel* shown = form_->canvas().findChild<QLabel*>(QString::fromLatin1(name));
      EXPECT_EQ(told->text(), shown->text()) << name;
      EXPECT_EQ(told->palette().color(QPalette::WindowText), shown->palette().color(QPalette::WindowText));
      EXPECT_EQ(told->font(), shown->font()) << name;
      EXPECT_EQ(told->pos(), shown->pos()) << name;
    }
    const QRect board = toQRect(kBoardArea);
    EXPECT_EQ(replay.canvas().picture().copy(board), form_->canvas().picture().copy(board));
    // Every hand still in has its chance; the replay left the game alone.
    for (int s = 0; s < kSeatCount; ++s) EXPECT_EQ(replay.chances()[s].has_value(), replay.frame().inDeal[s]);
    EXPECT_NE(form_->game().state(), before);
    const TableState after = form_->game().state();
    replay.goTo(0);
    EXPECT_EQ(form_->game().state(), after);
    replay.close();
  }
}

// Where labels told again from the record would differ from the table's at
// a deal's end (a showdown's yellow carried on, the hands named after the
// human's bet made everyone fold), a deal of this session still ends on what
// the table showed.
TEST_F(ReplayTest, ADealOfTheSessionEndsOnTheLabelsTheTableShowed) {
  open();
  uint32_t dice = 12345;
  const auto roll = [&dice](uint32_t n) { return (dice = dice * 1103515245u + 12345u) / 65536u % n; };
  for (int events = 0; events < 5000; ++events) {
    const size_t dealsBefore = form_->review().sessionDeals().size();
    const Button b = static_cast<Button>(roll(kButtonCount));
    if (!form_->button(b)->isEnabled()) continue;
    click(b);
    if (form_->review().sessionDeals().size() == dealsBefore) continue;
    const TableView& table = form_->game().view();
    const TableView told = replayFrames(form_->review().deals().back()).back().view;
    if (told.status == table.status && told.statusColor == table.statusColor && told.result == table.result)
      continue;
    find<QAction>("ReplayLast1")->trigger();
    ReplayWindow& replay = *form_->review().replay();
    replay.goTo(replay.frameCount() - 1);
    EXPECT_EQ(replay.frame().view.status, table.status);
    EXPECT_EQ(replay.frame().view.statusColor, table.statusColor);
    EXPECT_EQ(replay.frame().view.result, table.result);
    return;
  }
  FAIL() << "no deal whose labels the record tells otherwise";
}

TEST_F(ReplayTest, HomeLeftRightEndAndTheirButtonsStepThroughTheDeal) {
  open();
  ReplayWindow& replay = playAndReplay(0);
  replay.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&replay));
  const int last = replay.frameCount() - 1;
  ASSERT_GT(last, 3);
  auto* slider = replay.findChild<QSlider*>(QStringLiteral("replaySlider"));
  for (const bool byKey : {true, false}) {
    SCOPED_TRACE(byKey ? "keys" : "buttons");
    for (const auto& [key, button, frame] : {std::tuple{Qt::Key_End, "replayLast", last},
                                             {Qt::Key_Left, "replayPrevious", last - 1},
                                             {Qt::Key_Home, "replayFirst", 0},
                                             {Qt::Key_Left, "replayPrevious", 0},
                                             {Qt::Key_Right, "replayNext", 1}}) {
      if (byKey) {
        QTest::keyClick(&replay, key);
      } else {
        QTest::mouseClick(replay.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
      }
      EXPECT_EQ(replay.frameIndex(), frame) << button;
      EXPECT_EQ(slider->value(), frame);
    }
  }
  slider->setValue(3);
  EXPECT_EQ(replay.frameIndex(), 3);
  EXPECT_TRUE(replay.sideText().contains(QStringLiteral(" %")));
}

TEST_F(ReplayTest, ADoubleClickOnADealOfTheHandLogReplaysItAndSessionChartsTheDeals) {
  open();
  form_->handLog().setShown(true);
  for (int deal = 0; deal < 2; ++deal) playAndReplay(deal).close();
  HandLog& log = form_->handLog().log();
  log.findChild<QScrollBar*>(QStringLiteral("handLogScroll"))->setValue(0);
  QTest::mouseDClick(&log, Qt::LeftButton, {}, QPoint(20, 2));  // the first row: "Deal 1: ..."
  ASSERT_NE(form_->review().replay(), nullptr);
  EXPECT_EQ(form_->review().replay()->hand(), form_->review().deals().front());
  find<QAction>("Session1")->trigger();
  EXPECT_EQ(form_->review().session()->figures().deals, 2);
}

// The chart says when no deal is over yet; with deals, it draws the chips
// after each between the highest and lowest, and the figures stand beside it.
TEST(SessionWindow, ChartsTheChipsAfterEachDealBesideTheFigures) {
  SessionWindow session;
  session.resize(720, 320);
  const auto part = [&session](QPoint p) { return partOf(session, p); };
  expectReference(session.grab().toImage(), "session-empty", false, part);
  const SessionFigures figures{
      .deals = 3, .handsPlayed = 2, .handsWon = 1, .voluntary = 2, .raisedFirst = 1, .chipsWon = 48};
  const SessionDeal deals[] = {{1, 1210, 10}, {2, 1150, -60}, {3, 1248, 98}};
  session.showSession(figures, deals);
  EXPECT_EQ(session.findChild<QLabel*>(QStringLiteral("sessionFigures"))->text(),
            QStringLiteral("Deals: 3\nHands played: 2\nHands won: 1\nVPIP: 66.7 %\nPFR: 33.3 %\nChips: +48"));
  expectReference(session.grab().toImage(), "session", false, part);
}

}  // namespace
}  // namespace holdem::uitest
