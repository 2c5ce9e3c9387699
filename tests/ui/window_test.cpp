// The table window: its pictures against checked-in references; playing it
// by mouse and by key against the engine's own game; its keys; what screen
// readers hear of it; its repaints among other windows; its dialogs.
#include <QAccessible>
#include <QButtonGroup>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "table_window_fixture.h"
#include "ui/fonts.h"
#include "ui/message_boxes.h"
#include "ui/rules_dialog.h"
#include "ui/stats_dialog.h"
#include "ui/table_description.h"
#include "ui/table_labels.h"

namespace holdem::uitest {
namespace {

using WindowTest = OpenTable;

class WindowWithoutPicture : public OpenTable {
 protected:
  WindowWithoutPicture() : OpenTable(false) {}
};

// --- Pictures -------------------------------------------------------------------

// The table as laid out (labels, fonts, colours, buttons, the cards at their
// places, the felt), at the start, at the showdown after a fold, and with
// the options panel open.
TEST_F(WindowTest, TableLooksAsLaidOutAtTheStartAtAShowdownAndWithTheOptions) {
  open();
  const auto part = [this](QPoint p) { return partOf(form_->canvas(), p); };
  expectReference(onScreen(), "table-start", true, part);
  click(Button::Fold);
  ASSERT_EQ(form_->game().state().bettingRound, kDealOver);
  expectReference(onScreen(), "table-showdown", true, part);
  form_->findChild<QAction*>(QStringLiteral("Options1"))->trigger();
  expectReference(onScreen(), "table-options", true, part);
}

TEST(Dialogs, RulesAndStatisticsLookAsLaidOut) {
  RulesDialog rules;
  expectReference(rules.grab().toImage(), "rules", false, [&rules](QPoint p) { return partOf(rules, p); });
  StatsDialog stats;
  stats.showCounters(123456, 7, -2);
  expectReference(stats.grab().toImage(), "statistics", false,
                  [&stats](QPoint p) { return partOf(stats, p); });
}

// The 56 card pictures, eight to a row in picture order.
TEST(CardPictures, AllFiftySixLookAsDrawnBefore) {
  QImage sheet(8 * kCardWidth, 7 * kCardHeight, QImage::Format_RGB32);
  sheet.fill(Qt::black);
  for (int i = 0; i < kCardPictureCount; ++i) {
    const QImage card = renderCardPicture(i);
    for (int y = 0; y < kCardHeight; ++y)
      for (int x = 0; x < kCardWidth; ++x)
        sheet.setPixel(i % 8 * kCardWidth + x, i / 8 * kCardHeight + y, card.pixel(x, y));
  }
  expectReference(sheet, "cards", false, [](QPoint p) {
    const int i = p.y() / kCardHeight * 8 + p.x() / kCardWidth;
    return std::to_string(i) + " " + (i < kFirstBackImage ? cardName(i).toStdString() : "back");
  });
  EXPECT_TRUE(renderCardPicture(-1).isNull() && renderCardPicture(kCardPictureCount).isNull());
}

// The shipped picture is a small 24-bit BMP, the very felt the tool draws.
TEST(TablePicture, ShippedFileIsA24BitBmpAsTheToolDrawsIt) {
  QFile file(QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray head = file.read(30);
  EXPECT_EQ(head.left(2), QByteArray("BM"));
  EXPECT_EQ(static_cast<unsigned char>(head[28]), 24);  // bits per pixel
  EXPECT_LT(file.size(), 200 * 1024);
  EXPECT_EQ(tablePicture(), renderTablePicture());
}

// --- Playing by mouse and by key -----------------------------------------------

// Plays the same events through the window and through a game of its own,
// with the same clock and a fresh settings file each; both must agree at
// every step, and the window must show exactly the game's view.
class SameGame : public OpenTable {
 protected:
  void SetUp() override {
    open();
    headless_ = std::make_unique<Game>(headlessSettings_, headlessDialogs_, nullCanvas_, clock_);
    ASSERT_TRUE(headless_->startUp());
    expectSame("start");
  }

  void expectSame(const std::string& step) {
    SCOPED_TRACE(step);
    const Game& g = form_->game();
    EXPECT_TRUE(g.state() == headless_->state());
    EXPECT_TRUE(g.view() == headless_->view());
    EXPECT_EQ(GameTesting::random(g).state(), GameTesting::random(*headless_).state());
    EXPECT_EQ(dialogs_.boxes, headlessDialogs_.boxes);
    const TableView& v = g.view();
    for (int s = 0; s < kSeatCount; ++s) {
      EXPECT_EQ(label(kSeatLabels[s].cash.name)->text().toStdString(), v.cashText[s]);
      QLabel* status = label(kSeatLabels[s].status.name);
      EXPECT_EQ(status->text().toStdString(), v.status[s]);
      EXPECT_EQ(status->palette().color(QPalette::WindowText),
                QColor(v.statusColor[s] == LabelColor::Yellow ? Qt::yellow : Qt::white));
    }
    EXPECT_EQ(label("theresult")->text().toStdString(), v.result);
    EXPECT_EQ(label("betsize")->text().toStdString(), v.potText);
    for (int b = 0; b < kButtonCount; ++b)
      EXPECT_EQ(form_->button(static_cast<Button>(b))->isEnabled(), v.enabled[b]);
    EXPECT_EQ(form_->button(Button::CheckCall)->text().toStdString(), v.stayCaption);
    EXPECT_EQ(panelShown(), v.panelVisible);
    if (!form_->findChild<QWidget*>(QStringLiteral("Panel1"))) return;  // built when first opened
    EXPECT_EQ(find<QLineEdit>("money")->text().toStdString(), v.money);
    EXPECT_EQ(find<QLineEdit>("until")->text().toStdString(), v.until);
    EXPECT_EQ(label("Label3")->text().toStdString(), v.smallBetText);
    EXPECT_EQ(label("Label4")->text().toStdString(), v.bigBetText);
    EXPECT_EQ(form_->findChild<QButtonGroup*>(QStringLiteral("Levels"))->checkedId(), v.level);
    EXPECT_EQ(form_->findChild<QButtonGroup*>(QStringLiteral("cardbacks"))->checkedId(), v.backItem);
  }

  // One event both ways: through the window, and straight into the game.
  void step(const std::string& name, const std::function<void()>& byWindow,
            const std::function<void(Game&)>& direct) {
    byWindow();
    direct(*headless_);
    expectSame(name);
  }

  SettingsFile headlessSettings_{folder_.path("headless.ini")};
  RecordingDialogs headlessDialogs_;
  NullCanvas nullCanvas_;
  std::unique_ptr<Game> headless_;
};

// The options by mouse and by key: letters typed into an edit box play
// nothing, and Return or Enter there is the box's own Enter button.
TEST_F(SameGame, OptionsPanelAndMenuPlayTheEnginesGame) {
  const auto mouse = [this](const char* name) {
    return [this, name] { QTest::mouseClick(find(name), Qt::LeftButton); };
  };
  // Typed key by key into `box`, then `enter` pressed there.
  const auto type = [this](const char* box, std::string text, Qt::Key enter = Qt::Key_unknown) {
    return [this, box, text, enter] {
      typeInto(box, QString::fromStdString(text));
      if (enter != Qt::Key_unknown) press(enter);
    };
  };
  step(
      "options", [&] { form_->findChild<QAction*>(QStringLiteral("Options1"))->trigger(); },
      [](Game& g) { g.toggleOptions(); });
  step("money, Return", type("money", "dcrf", Qt::Key_Return),
       [](Game& g) { g.setMoneyText("dcrf"), g.enterInitialCash(); });
  step("money", type("money", "50"), [](Game& g) { g.setMoneyText("50"); });
  step("enter", mouse("enter"), [](Game& g) { g.enterInitialCash(); });
  step("until, Enter", type("until", "2500", Qt::Key_Enter),
       [](Game& g) { g.setUntilText("2500"), g.enterTarget(); });
  step("until", type("until", "x9"), [](Game& g) { g.setUntilText("x9"); });
  step("unenter", mouse("unenter"), [](Game& g) { g.enterTarget(); });
  step("down at 1", mouse("down"), [](Game& g) { g.changeBettingLimit(-1); });
  for (int i = 0; i < 6; ++i) step("up", mouse("up"), [](Game& g) { g.changeBettingLimit(+1); });
  step("down", mouse("down"), [](Game& g) { g.changeBettingLimit(-1); });
  step("level", mouse("Levels3"), [](Game& g) { g.selectLevel(3); });
  step("back", mouse("cardbacks3"), [](Game& g) { g.chooseCardBack(3); });
  step("close", mouse("Close"), [](Game& g) { g.closeOptions(); });
  QAction* newGame = form_->findChild<QAction*>(QStringLiteral("NewGame1"));
  for (const bool yes : {false, true}) {
    dialogs_.answerYes = headlessDialogs_.answerYes = yes;
    step(
        yes ? "new game, yes" : "new game, no", [&] { newGame->trigger(); }, [](Game& g) { g.newGame(); });
  }
  EXPECT_EQ(dialogs_.texts(), (std::vector<std::string>{"Invalid value", "the value is off limits",
                                                        "New until value confirmation", "Invalid value",
                                                        "Are you sure?", "Are you sure?"}));
  EXPECT_EQ(label("Label4")->text(), QStringLiteral("16"));
}

// --- Keys ---------------------------------------------------------------------------

// Whole deals played by clicks and keys by turns, the keys delivered to the
// window as the keyboard delivers them (D, C, R, F), with the options shown,
// a click or key on a disabled button now and then: each acts as
// the click on its button does, and the focus never wanders into the
// options, so no key types into an edit box.
TEST_F(SameGame, ClicksAndKeysPlayTheEnginesGameWithTheOptionsShownAndLeaveThemAlone) {
  step(
      "options", [&] { press(Qt::Key_O, Qt::ControlModifier); }, [](Game& g) { g.toggleOptions(); });
  const Qt::Key keys[] = {Qt::Key_D, Qt::Key_C, Qt::Key_R, Qt::Key_F};  // in the order of Button
  int deals = 0, disabled = 0;
  for (int i = 0; i < 300 && deals < 12 && !HasFailure(); ++i) {
    const TableView& v = headless_->view();
    Button b = i % 5 == 0 ? Button::Raise : Button::CheckCall;
    if (i % 17 == 0) b = Button::Deal;
    if (v.isEnabled(Button::Deal) && i % 3) b = Button::Deal;
    if (i % 23 == 0) b = Button::Fold;
    deals += b == Button::Deal && v.isEnabled(b);
    disabled += !v.isEnabled(b);
    step(
        "step " + std::to_string(i),
        [&] { i % 2 ? QTest::keyClick(form_->windowHandle(), keys[static_cast<int>(b)]) : click(b); },
        [b](Game& g) { g.click(b); });
    const QWidget* focus = QApplication::focusWidget();
    EXPECT_FALSE(focus && find("Panel1")->isAncestorOf(focus)) << focus->objectName().toStdString();
  }
  EXPECT_EQ(deals, 12);
  EXPECT_GT(disabled, 10);
  EXPECT_EQ(readBytes(folder_.path("tavlor.ini")), readBytes(folder_.path("headless.ini")));
}

// The Game menu's items and keys: Ctrl+O shows and hides the options,
// Escape hides them (also from an edit box) and paints the table under them
// afresh, Ctrl+N asks for a new game, F1 and Ctrl+I open the rules and the
// statistics, modally. No two commands share a key, and a key held down, a
// menu's or a button's, acts once.
TEST_F(WindowTest, MenuItemsKeysAndEscapeActAsTheirCommands) {
  open();
  RulesDialog about(form_.get());
  StatsDialog stats(form_.get());
  form_->setDialogWindows(&about, &stats);
  QList<QKeySequence> keys;
  // (The hand log's Copy and Select all act only where it has the focus.)
  for (QAction* a : form_->findChildren<QAction*>())
    if (!a->shortcut().isEmpty() && a->shortcutContext() != Qt::WidgetShortcut) keys << a->shortcut();
  EXPECT_EQ(keys.size(), 4 + 4 + 1 + 1);
  for (const QKeySequence& k : keys) EXPECT_EQ(keys.count(k), 1) << k.toString().toStdString();
  QStringList items;  // the Game menu
  for (QAction* a : form_->menuBar()->actions().value(0)->menu()->actions())
    items << a->text() + QLatin1Char(' ') + a->shortcut().toString();
  EXPECT_EQ(items, (QStringList{"New game Ctrl+N", "Options Ctrl+O", "About F1", "Statistics Ctrl+I",
                                "Replay hands... "}));

  for (const bool shown : {true, false, true}) {
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(panelShown() && form_->game().view().panelVisible, shown);
  }
  // A key held down gives its command once: its repeats do nothing.
  const TableState atStart = form_->game().state();
  QTest::simulateEvent(form_.get(), true, Qt::Key_O, Qt::ControlModifier, QString(), true);
  QTest::simulateEvent(form_.get(), true, Qt::Key_C, Qt::NoModifier, QStringLiteral("c"), true);
  EXPECT_TRUE(panelShown());
  EXPECT_TRUE(form_->game().state() == atStart);
  const QImage shown = canvas();
  form_->canvas().drawCard(300, 200, 5);
  find<QLineEdit>("until")->setFocus();
  press(Qt::Key_Escape);
  EXPECT_FALSE(panelShown() || form_->game().view().panelVisible);
  EXPECT_EQ(canvas(), shown);
  const TableState state = form_->game().state();
  dialogs_.answerYes = false;
  press(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(dialogs_.texts(), std::vector<std::string>{"Are you sure?"});
  EXPECT_TRUE(form_->game().state() == state);
  // The statistics show the game's counters, each time anew; About the rules.
  click(Button::Fold);
  click(Button::Deal);
  const QStringList counters{"2", QString::number(form_->game().state().handsPlayed), "0", "Stats"};
  for (const QKeyCombination key :
       {QKeyCombination(Qt::Key_F1), Qt::ControlModifier | Qt::Key_I, Qt::ControlModifier | Qt::Key_I}) {
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == form_.get(); }));
    QStringList seen;
    whenModal([&seen](QWidget* modal) {
      for (const char* name : {"btndeals", "btnhandsplayed", "btnhandswon"})
        if (auto* l = modal->findChild<QLabel*>(QString::fromLatin1(name))) seen << l->text();
      QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("dxButton1")), Qt::LeftButton);
      seen << modal->objectName();
    });
    press(key.key(), key.keyboardModifiers());
    EXPECT_EQ(seen, key.key() == Qt::Key_F1 ? QStringList{"AboutBox"} : counters);
  }
}

// The widgets Tab visits from `first` on, until it comes back to it.
QStringList tabCycle(QWidget* first) {
  QStringList names;
  first->setFocus(Qt::TabFocusReason);
  for (QWidget* at = QApplication::focusWidget(); at && names.size() < 40;) {
    names << at->objectName();
    QTest::keyClick(at, Qt::Key_Tab);
    if ((at = QApplication::focusWidget()) == first) break;
  }
  return names;
}

// Tab runs along the buttons that are on, then through the options from the
// top left down, entering a column of radio buttons at its chosen item.
TEST_F(WindowTest, TabFollowsTheLayout) {
  open();
  EXPECT_EQ(tabCycle(form_->button(Button::CheckCall)), (QStringList{"btnstay", "btnbet", "btnpass"}));
  press(Qt::Key_F);
  EXPECT_EQ(tabCycle(form_->button(Button::Deal)), (QStringList{"btnnew"}));
  press(Qt::Key_D);
  press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(tabCycle(form_->button(Button::CheckCall)),
            (QStringList{"btnstay", "btnbet", "btnpass", "money", "enter", "until", "unenter", "Levels0",
                         "down", "up", "cardbacks0", "Close"}));
}

// --- Screen readers -------------------------------------------------------------------

std::string accessibleText(QObject* o, QAccessible::Text which = QAccessible::Name) {
  QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
  return i ? i->text(which).toStdString() : "(not accessible)";
}

// Reads the cards off the canvas's pixels: at every card place of the layout,
// the picture whose left 35 columns the canvas shows there, or -1.
TableShown cardsInPixels(const QImage& canvas) {
  static const QList<QImage> pictures = renderAllCardPictures();
  return tableShownAt([&canvas](Point at) {
    for (int i = 0; i < kCardPictureCount; ++i) {
      bool same = true;
      for (int dy = 2; dy < kCardHeight - 2 && same; ++dy)
        for (int dx = 2; dx < 35 && same; ++dx)
          same = canvas.pixel(at.x + dx, at.y + dy) == pictures[i].pixel(dx, dy);
      if (same) return i;
    }
    return -1;
  });
}

// From the start, through flops, folds, deals and showdowns, and after a
// whole repaint, the table's description tells what its pixels show.
TEST_F(WindowTest, TheTableAlwaysTellsWhatItsPixelsShow) {
  open();
  const auto expectTold = [this](const std::string& when) {
    const Game& g = form_->game();
    ASSERT_EQ(accessibleText(&form_->canvas(), QAccessible::Description),
              describeTable(cardsInPixels(canvas()), g.state(), g.view()).toStdString())
        << when;
  };
  EXPECT_EQ(accessibleText(&form_->canvas()), "Table");
  expectTold("start");
  const Button pattern[] = {Button::CheckCall, Button::Raise,     Button::CheckCall,
                            Button::Fold,      Button::Deal,      Button::CheckCall,
                            Button::CheckCall, Button::CheckCall, Button::Deal};
  int folds = 0, showdowns = 0;
  for (int i = 0; i < 90; ++i) {
    Button b = pattern[i % std::size(pattern)];
    const TableView& v = form_->game().view();
    if (!v.isEnabled(b)) b = v.isEnabled(Button::Deal) ? Button::Deal : Button::CheckCall;
    click(b);
    folds += b == Button::Fold;
    showdowns += cardsShown(form_->game().state(), Seat::Freak) == CardsShown::Up;
    expectTold("step " + std::to_string(i));
  }
  EXPECT_GT(folds, 3);
  EXPECT_GT(showdowns, 3);
  form_->redraw();
  expectTold("a whole repaint");
}

// Buttons, labels and the options say what they are and what they hold,
// each button with its key, and follow the game.
TEST_F(WindowTest, WidgetsTellScreenReadersWhatTheyAreAndHold) {
  open();
  form_->optionsPanel();
  // clang-format off
  const std::pair<const char*, const char*> names[] = {
      {"btnnew", "Deal"}, {"btnstay", "Call"}, {"lblfcash", "Freak's chips: 1200"}, {"cash", "Your chips: 1200"},
      {"expertstatus", "Expert: small blind"}, {"freakstatus", "Freak has not acted"},
      {"playerstatus", "You have not acted"}, {"freakcash", "Freak"}, {"betsize", "Pot: 3"},
      {"theresult", "No result yet"}, {"money", "Initial cash"}, {"unenter", "Enter target"},
      {"up", "Higher betting limits"}, {"Label3", "Small bet: $2"}, {"Levels2", "Master"}, {"cardbacks3", "Leather"},
  };
  // clang-format on
  for (const auto& [object, name] : names) {
    EXPECT_EQ(accessibleText(find(object)), name) << object;
    EXPECT_FALSE(accessibleText(find(object), QAccessible::Description).empty()) << object;
  }
  for (int b = 0; b < kButtonCount; ++b) {  // in the order of Button
    const std::string key = std::string("(") + "DCRF"[b] + ")";
    QPushButton* button = form_->button(static_cast<Button>(b));
    EXPECT_NE(accessibleText(button, QAccessible::Description).find(key), std::string::npos);
    EXPECT_TRUE(button->toolTip().endsWith(QString::fromStdString(key))) << key;
  }
  click(Button::Fold);
  const TableView& v = form_->game().view();
  EXPECT_EQ(accessibleText(find("playerstatus")), "You: " + v.status[0]);
  EXPECT_EQ(accessibleText(find("betsize")), "Pot: " + v.potText);
  EXPECT_EQ(accessibleText(find("theresult")), QString::fromStdString(v.result).trimmed().toStdString());
  QTest::mouseClick(find("up"), Qt::LeftButton);
  EXPECT_EQ(accessibleText(find("Label4")), "Big bet: $8");
}

// --- Repaints -----------------------------------------------------------------------------

// Between whole repaints the canvas keeps what was drawn on it, and a part
// of the window painted again shows it as it is.
TEST_F(WindowTest, ACardDrawnBetweenClicksStaysUntilAWholeRepaint) {
  open();
  form_->toggleOptions();  // the options shown and put away: only that repaints
  form_->toggleOptions();
  form_->canvas().drawCard(250, 370, 7);
  click(Button::CheckCall);
  click(Button::Fold);
  form_->canvas().repaint(QRect(240, 360, 60, 60));
  EXPECT_EQ(onScreen().pixel(260, 380), renderCardPicture(7).pixel(10, 10));
  form_->redraw();
  EXPECT_EQ(feltMismatches(canvas(), QRect(250, 370, kCardWidth, kCardHeight)), 0);
}

// A click on the card back already chosen paints the backs anew.
TEST_F(WindowTest, ACardBackClickRepaintsTheBacksEvenWhenAlreadyChosen) {
  open();
  form_->toggleOptions();
  QTest::mouseClick(find("cardbacks2"), Qt::LeftButton);
  const Point robot = info(Seat::Robot).cardSlot[1];
  form_->canvas().setPixel(robot.x + 30, robot.y + 40, 0xFF00FF);
  QTest::mouseClick(find("cardbacks2"), Qt::LeftButton);
  EXPECT_EQ(expectCardsShown(canvas()), 16);
  EXPECT_EQ(settings_.readInt("Card", "back", 0), kBackRock);
}

// Without the table picture: a beep at every repaint, the table and its
// fills black, the cards drawn as ever; the picture is looked for anew at
// every repaint.
TEST_F(WindowWithoutPicture, TheTableIsBlackAndEveryRepaintBeepsAndLooksForThePicture) {
  open();
  EXPECT_EQ(beeps_, 1);
  EXPECT_EQ(expectCardsShown(canvas()), 16);
  const auto black = [this](const Rect& r) {
    QImage dark(toQRect(r).size(), QImage::Format_RGB32);
    dark.fill(Qt::black);
    return canvas().copy(toQRect(r)) == dark;
  };
  EXPECT_TRUE(black(kBoardArea));
  click(Button::Fold);
  EXPECT_TRUE(black(info(Seat::Player).cardArea));
  form_->showMinimized();
  form_->showNormal();
  EXPECT_EQ(beeps_, 2);
  QFile::copy(QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp"), QStringLiteral("texas.bmp"));
  form_->redraw();
  EXPECT_EQ(feltMismatches(canvas(), toQRect(info(Seat::Player).cardArea)), 0);
  EXPECT_EQ(beeps_, 2);
}

// --- Dialogs ---------------------------------------------------------------------------

// Each box shows its text exactly as the game words it, markup and all,
// under its caption, with its buttons, and reports the answer; it is wide
// enough for its caption (or the program's name) beside the title bar's
// icon and buttons. The window behind it shows the game as it stands first.
TEST(MessageBoxes, ShowTheTextAsPlainTextWithItsCaptionAndReportTheAnswer) {
  QWidget parent;
  parent.setFont(pixelFont(kDialogFontFamily, 11, false));
  MessageBoxes boxes(&parent);
  int synced = 0;
  boxes.setBeforeShow([&] { ++synced; });
  QFont titleFont = QApplication::font();  // as title bars draw it
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
  const struct {
    const char *text, *caption;
    BoxButtons buttons;
    QMessageBox::StandardButton press;
  } cases[] = {
      {"Unable to write to /home/<b>x</b>/holdem/tavlor.ini", "Error", BoxButtons::Ok, QMessageBox::Ok},
      {"Invalid value", "", BoxButtons::Ok, QMessageBox::Ok},
      {"Are you sure?", "New game", BoxButtons::YesNo, QMessageBox::Yes},
      {"Are you sure?", "New game", BoxButtons::YesNo, QMessageBox::No},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    whenModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      EXPECT_EQ(label->textFormat(), Qt::PlainText);
      EXPECT_EQ(label->text(), QString::fromLatin1(c.text));
      EXPECT_EQ(box->windowTitle(), QString::fromLatin1(c.caption));
      EXPECT_EQ(box->standardButtons(), c.buttons == BoxButtons::Ok
                                            ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                            : QMessageBox::Yes | QMessageBox::No);
      const QString title = *c.caption ? box->windowTitle() : QGuiApplication::applicationDisplayName();
      EXPECT_GE(box->width(), QFontMetrics(titleFont).horizontalAdvance(title) + 4 * 24 + 24);
      EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
      box->button(c.press)->click();
    });
    EXPECT_EQ(boxes.showMessage(c.text, c.caption, c.buttons), c.press != QMessageBox::No);
  }
  EXPECT_EQ(synced, 4);
}

}  // namespace
}  // namespace holdem::uitest

int main(int argc, char** argv) {
  return holdem::uitest::runWindowTests(argc, argv, holdem::installFontSubstitutes);
}
