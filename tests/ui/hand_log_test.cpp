// The hand log beside the table: what it says of a scripted deal, how it
// folds earlier deals, and how it opens and closes.
#include "ui/hand_log.h"

#include <QClipboard>
#include <QDockWidget>
#include <QSettings>
#include <map>

#include "history/hand_file.h"
#include "table_window_fixture.h"

namespace holdem::uitest {
namespace {

// The deal that start-up begins at the fixture's clock, played with Call,
// Raise, Call, Call and Fold.
// ("|" between the lines of the log.)
const QStringList kScriptedDeal =
    QString::fromUtf8(
        "Deal 1: blinds 1 and 2, bets 2 and 4, AI level Amateur|Your cards: K♣ 5♠|"
        "Expert posts the small blind 1, pot 3|Robot posts the big blind 2, pot 3|You call 2, pot 5|"
        "Freak folds|Geek folds|Master calls 2, pot 7|Champ calls 2, pot 9|Pinhead calls 2, pot 11|"
        "Expert folds|Robot calls 2, pot 13|Flop: 2♣ J♣ 6♣|You bet 2, pot 15|Master calls 2, pot 17|"
        "Champ calls 2, pot 19|Pinhead calls 2, pot 21|Robot calls 2, pot 23|Master checks|Champ checks|"
        "Pinhead raises 2, pot 25|Robot calls 2, pot 27|You call 2, pot 29|Master calls 2, pot 31|"
        "Champ folds|Turn: 4♣|Robot checks|You check|Master checks|Pinhead bets 4, pot 35|"
        "Robot calls 4, pot 39|You fold|Master calls 4, pot 43|River: J♠|"
        "Master shows 6♠ 10♦: Two pairs Jacks|Pinhead shows J♥ 7♣: Flush Jack High|"
        "Robot shows A♦ 2♥: Two pairs Jacks|Pinhead wins 43")
        .split(u'|');

class HandLogWindow : public OpenTable {
 protected:
  QStringList lines() const { return form_->handLog().log().lines(); }
  void playScriptedDeal() {
    for (Button b : {Button::CheckCall, Button::Raise, Button::CheckCall, Button::CheckCall, Button::Fold})
      click(b);
  }
  QDockWidget* dock() const { return find<QDockWidget>("HandLog"); }
};

// Ctrl+L opens the log beside the table: the window grows by the panel and
// the table keeps its size and place. The log then says every step of the
// deal as it is played, once, and folds it into one line when the next
// begins.
TEST_F(HandLogWindow, SaysEveryStepOfAScriptedDealAndFoldsItIntoOneLineAtTheNextDeal) {
  open();
  ASSERT_TRUE(dock()->isHidden());
  const QRect table = form_->canvas().geometry();
  const QSize before = form_->size();
  press(Qt::Key_L, Qt::ControlModifier);
  ASSERT_FALSE(dock()->isHidden());
  QCoreApplication::processEvents();
  EXPECT_EQ(form_->height(), before.height());
  EXPECT_EQ(form_->width(), dock()->geometry().right() + 1);
  EXPECT_GT(dock()->geometry().left(), table.right());
  EXPECT_EQ(form_->canvas().geometry(), table);
  EXPECT_EQ(lines(), kScriptedDeal.mid(0, 4));

  playScriptedDeal();
  EXPECT_EQ(lines(), kScriptedDeal);
  form_->toggleOptions();  // what happens between deals adds nothing
  form_->toggleOptions();
  EXPECT_EQ(lines(), kScriptedDeal);
  click(Button::Deal);
  EXPECT_EQ(lines().mid(0, 2), (QStringList{"Deal 1: Pinhead wins 43 with a flush",
                                            "Deal 2: blinds 1 and 2, bets 2 and 4, AI level Amateur"}));

  press(Qt::Key_L, Qt::ControlModifier);
  EXPECT_TRUE(dock()->isHidden());
  QCoreApplication::processEvents();
  EXPECT_EQ(form_->size(), before);
  EXPECT_EQ(form_->canvas().geometry(), table);
}

// Rows chosen for copying show their text in the highlight's own colour.
TEST_F(HandLogWindow, ChosenRowsShowTheirTextInTheHighlightColours) {
  open();
  press(Qt::Key_L, Qt::ControlModifier);
  HandLog& log = form_->handLog().log();
  log.selectAll();
  const QImage row = log.grab(QRect(0, 0, log.width() / 2, log.fontMetrics().height())).toImage();
  std::map<QRgb, int> colours;
  for (int y = 0; y < row.height(); ++y)
    for (int x = 0; x < row.width(); ++x) ++colours[row.pixel(x, y) | 0xff000000u];
  EXPECT_GT(colours[log.palette().color(QPalette::HighlightedText).rgb()], 0);
  EXPECT_EQ(colours[log.palette().color(QPalette::Text).rgb()], 0);
}

// What is played while the log is closed is all there when it opens.
TEST_F(HandLogWindow, DealsPlayedWhileTheLogIsClosedAreThereWhenItOpens) {
  open();
  playScriptedDeal();
  form_->handLog().setShown(true);
  EXPECT_EQ(lines(), kScriptedDeal);
  // The lines can be chosen and copied as text.
  HandLog& log = form_->handLog().log();
  EXPECT_EQ(log.accessibleName(), "Hand log");
  log.setFocus();
  QTest::keyClick(&log, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&log, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), kScriptedDeal.join('\n'));
}

// Closed at first; open or closed as it was left, kept in the window's own
// preferences and never in the settings file.
TEST_F(HandLogWindow, ClosedAtFirstAndRememberedAcrossRunsOutsideTheSettingsFile) {
  const QString prefsPath = QString::fromStdString(folder_.path("window.conf").string());
  {
    QSettings prefs(prefsPath, QSettings::IniFormat);
    open();
    form_->handLog().rememberIn(&prefs);
    EXPECT_TRUE(dock()->isHidden());
    press(Qt::Key_L, Qt::ControlModifier);
    form_.reset();
  }
  {
    QSettings prefs(prefsPath, QSettings::IniFormat);
    open();
    const QSize closed = form_->size();
    form_->handLog().rememberIn(&prefs);
    EXPECT_FALSE(dock()->isHidden());
    EXPECT_TRUE(find<QAction>("HandLog1")->isChecked());
    EXPECT_GT(form_->size().width(), closed.width() + dock()->width());
  }
  EXPECT_EQ(readBytes(folder_.path("tavlor.ini"))->find("HandLog"), std::string::npos);
}

}  // namespace
}  // namespace holdem::uitest
