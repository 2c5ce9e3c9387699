// Playing the table window from the keyboard: the buttons' keys (played
// against the engine in the window tests), the Game menu's keys, Escape on
// the options, and Tab through the layout.
#include <QAction>
#include <QButtonGroup>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "game/settings_file.h"
#include "table_window_fixture.h"
#include "ui/rules_dialog.h"
#include "ui/stats_dialog.h"

namespace holdem::uitest {
namespace {

class Keyboard : public OpenTable {
 protected:
  void SetUp() override { open(); }

  bool panelShown() const {
    const auto* panel = form_->findChild<QFrame*>(QStringLiteral("Panel1"));
    return panel && panel->isVisible();
  }
};

// Every key a command has, the four buttons', the four of the Game menu,
// the hand log's and Escape, is its own. (The buttons' keys are named with their descriptions
// in the accessibility tests.)
TEST_F(Keyboard, NoTwoCommandsShareAKey) {
  QList<QKeySequence> keys;
  // (The hand log's Copy and Select all act only where it has the focus.)
  for (QAction* a : form_->findChildren<QAction*>())
    if (!a->shortcut().isEmpty() && a->shortcutContext() != Qt::WidgetShortcut) keys << a->shortcut();
  EXPECT_EQ(keys.size(), 4 + 4 + 1 + 1);
  for (qsizetype i = 0; i < keys.size(); ++i)
    EXPECT_EQ(keys.count(keys[i]), 1) << keys[i].toString().toStdString();
}

TEST_F(Keyboard, ADisabledButtonsKeyDoesNothing) {
  ASSERT_FALSE(form_->button(Button::Deal)->isEnabled());
  const TableState before = form_->game().state();
  const TableView viewBefore = form_->game().view();
  const auto file = readBytes(folder_.path("tavlor.ini"));
  const QImage picture = canvas();
  press(Qt::Key_D);
  EXPECT_TRUE(form_->game().state() == before);
  EXPECT_TRUE(form_->game().view() == viewBefore);
  EXPECT_EQ(readBytes(folder_.path("tavlor.ini")), file);
  EXPECT_EQ(canvas(), picture);

  // After a fold the betting keys are off and Deal is on.
  press(Qt::Key_F);
  ASSERT_TRUE(form_->button(Button::Deal)->isEnabled());
  const TableState folded = form_->game().state();
  for (const Qt::Key key : {Qt::Key_C, Qt::Key_R, Qt::Key_F}) press(key);
  EXPECT_TRUE(form_->game().state() == folded);
  press(Qt::Key_D);
  EXPECT_EQ(form_->game().state().dealsCount, folded.dealsCount + 1);
}

TEST_F(Keyboard, LettersTypedIntoTheOptionsStayThere) {
  press(Qt::Key_O, Qt::ControlModifier);
  ASSERT_TRUE(panelShown());
  auto* money = find<QLineEdit>("money");
  money->setFocus();
  ASSERT_TRUE(money->hasFocus());
  money->selectAll();
  const TableState before = form_->game().state();
  QTest::keyClicks(money, QStringLiteral("dcrf"));
  EXPECT_EQ(money->text(), QStringLiteral("dcrf"));
  EXPECT_EQ(form_->game().view().money, "dcrf");
  EXPECT_TRUE(form_->game().state() == before);  // no deal, call, raise or fold
  EXPECT_TRUE(panelShown());

  // Out of the box, the same letters play.
  form_->button(Button::Raise)->setFocus();
  press(Qt::Key_F);
  EXPECT_TRUE(form_->game().state().folded[index(Seat::Player)]);
}

TEST_F(Keyboard, ReturnInAnEditBoxIsItsEnterButton) {
  press(Qt::Key_O, Qt::ControlModifier);
  auto* money = find<QLineEdit>("money");
  money->setFocus();
  money->selectAll();
  QTest::keyClicks(money, QStringLiteral("2500"));
  press(Qt::Key_Return);
  EXPECT_EQ(form_->game().state().initialCash, 2500);
  auto* until = find<QLineEdit>("until");
  until->setFocus();
  until->selectAll();
  QTest::keyClicks(until, QStringLiteral("x"));
  press(Qt::Key_Enter);
  ASSERT_FALSE(dialogs_.boxes.empty());
  EXPECT_EQ(dialogs_.boxes.back().text, "Invalid value");
}

TEST_F(Keyboard, MenuKeysAndEscape) {
  // Ctrl+O opens the options and closes them again, as the menu item does.
  press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_TRUE(panelShown());
  EXPECT_TRUE(form_->game().view().panelVisible);
  press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_FALSE(panelShown());

  // Escape closes them, also from inside an edit box, and the table under
  // them is painted afresh.
  press(Qt::Key_O, Qt::ControlModifier);
  const QImage shown = canvas();
  form_->canvas().drawCard(300, 200, 5);
  find<QLineEdit>("until")->setFocus();
  press(Qt::Key_Escape);
  EXPECT_FALSE(panelShown());
  EXPECT_FALSE(form_->game().view().panelVisible);
  EXPECT_EQ(canvas(), shown);
  const TableState state = form_->game().state();
  press(Qt::Key_Escape);  // nothing to close
  EXPECT_FALSE(panelShown());
  EXPECT_TRUE(form_->game().state() == state);

  // Ctrl+N asks first; No leaves the game as it is.
  dialogs_.answerYes = false;
  press(Qt::Key_N, Qt::ControlModifier);
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text, "Are you sure?");
  EXPECT_TRUE(form_->game().state() == state);
  dialogs_.answerYes = true;
  press(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(dialogs_.boxes.size(), 2u);
  EXPECT_EQ(form_->game().state().dealsCount, 1);
}

TEST_F(Keyboard, F1AndCtrlIOpenTheRulesAndTheStatistics) {
  RulesDialog about(form_.get());
  StatsDialog stats(form_.get());
  form_->setDialogWindows(&about, &stats);
  QWidget* seen = nullptr;
  whenModal([&](QWidget* modal) {
    seen = modal;
    modal->close();
  });
  press(Qt::Key_F1);
  EXPECT_EQ(seen, &about);
  // The window is active again once the rules are closed.
  form_->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == form_.get(); }));
  seen = nullptr;
  whenModal([&](QWidget* modal) {
    seen = modal;
    modal->close();
  });
  press(Qt::Key_I, Qt::ControlModifier);
  EXPECT_EQ(seen, &stats);
}

// Whole deals played with the buttons' keys alone, delivered to the window
// as the keyboard delivers them, with the options shown or not: every key
// acts as the click on its button does, and the focus never wanders into
// the options, so none of them types into an edit box.
class KeysThroughWholeDeals : public Keyboard, public ::testing::WithParamInterface<bool> {
 protected:
  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form_->windowHandle(), k, modifiers);
  }
};

TEST_P(KeysThroughWholeDeals, EveryKeyActsAndTheOptionsKeepTheirText) {
  const bool withOptions = GetParam();
  SettingsFile headlessSettings(folder_.path("headless.ini"));
  RecordingDialogs headlessDialogs;
  NullCanvas nullCanvas;
  Game headless(headlessSettings, headlessDialogs, nullCanvas, clock_);
  ASSERT_TRUE(headless.startUp());
  if (withOptions) {
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(panelShown());
  }
  const auto* panel = form_->findChild<QFrame*>(QStringLiteral("Panel1"));
  const Qt::Key keys[] = {Qt::Key_D, Qt::Key_C, Qt::Key_R, Qt::Key_F};  // in the order of Button
  // Fold at once, deal, call: then a few deals played out to the showdown,
  // with a raise now and then, and a fold now and then.
  int deals = 0;
  for (int step = 0; step < 400 && deals < 12; ++step) {
    const TableView& v = headless.view();
    Button b = Button::CheckCall;
    if (v.isEnabled(Button::Deal)) {
      b = Button::Deal;
      ++deals;
    } else if (step == 0 || step % 23 == 0) {
      b = Button::Fold;
    } else if (step % 7 == 0 && v.isEnabled(Button::Raise)) {
      b = Button::Raise;
    }
    SCOPED_TRACE("step " + std::to_string(step) + ", key " +
                 QKeySequence(keys[static_cast<int>(b)]).toString().toStdString());
    key(keys[static_cast<int>(b)]);
    headless.click(b);
    ASSERT_TRUE(form_->game().state() == headless.state());
    EXPECT_EQ(panelShown(), withOptions);
    if (panel) {
      const QWidget* focus = QApplication::focusWidget();
      EXPECT_FALSE(focus && panel->isAncestorOf(focus)) << focus->objectName().toStdString();
      EXPECT_EQ(find<QLineEdit>("money")->text(), QStringLiteral("1200"));
      EXPECT_EQ(find<QLineEdit>("until")->text(), QStringLiteral("600"));
    }
    if (HasFailure()) return;
  }
  EXPECT_EQ(deals, 12);
  EXPECT_EQ(dialogs_.boxes, headlessDialogs.boxes);

  // A new game then takes the initial cash as it stands.
  key(Qt::Key_N, Qt::ControlModifier);
  ASSERT_FALSE(dialogs_.boxes.empty());
  EXPECT_EQ(dialogs_.boxes.back().text, "Are you sure?");
  EXPECT_EQ(form_->game().state().dealsCount, 1);
  EXPECT_EQ(form_->game().state().cashOf(Seat::Freak), 1200);
}

INSTANTIATE_TEST_SUITE_P(OptionsShownOrNot, KeysThroughWholeDeals, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("OptionsShown") : std::string("OptionsHidden");
                         });

// The widgets Tab visits, from `first` on, until it comes back to it.
QStringList tabCycle(QWidget* first) {
  QStringList names;
  first->setFocus(Qt::TabFocusReason);
  QWidget* at = QApplication::focusWidget();
  for (int i = 0; i < 40 && at; ++i) {
    names << at->objectName();
    QTest::keyClick(at, Qt::Key_Tab);
    at = QApplication::focusWidget();
    if (at == first) break;
  }
  return names;
}

TEST_F(Keyboard, TabFollowsTheLayout) {
  // The Deal button is off at the start; Tab runs over the other three and
  // comes back round.
  EXPECT_EQ(tabCycle(form_->button(Button::CheckCall)), (QStringList{"btnstay", "btnbet", "btnpass"}));

  press(Qt::Key_F);  // now only Deal is on
  EXPECT_EQ(tabCycle(form_->button(Button::Deal)), (QStringList{"btnnew"}));
  press(Qt::Key_D);

  // With the options shown: the buttons, then the panel from top left to
  // bottom: the initial cash and its Enter, the target and its Enter, the
  // AI level, the limit's arrows, the card back and Close.
  press(Qt::Key_O, Qt::ControlModifier);
  const QStringList cycle = tabCycle(form_->button(Button::CheckCall));
  QStringList expected{"btnstay", "btnbet", "btnpass", "money", "enter", "until", "unenter"};
  // Tab enters a column of radio buttons at its chosen item only.
  expected << "Levels0"
           << "down"
           << "up"
           << "cardbacks0"
           << "Close";
  EXPECT_EQ(cycle, expected);
}

}  // namespace
}  // namespace holdem::uitest
