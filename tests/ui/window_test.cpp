// The table window: its layout, what it paints, and that playing it by
// mouse and by key gives the very game that the engine plays on its own.
#include <QAction>
#include <QButtonGroup>
#include <QFontInfo>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>
#include <cmath>

#include "game/settings_file.h"
#include "table_window_fixture.h"
#include "ui/fonts.h"
#include "ui/message_boxes.h"
#include "ui/options_panel.h"
#include "ui/rules_dialog.h"
#include "ui/stats_dialog.h"

namespace holdem::uitest {
namespace {

using WindowTest = OpenTable;

class WindowWithoutPicture : public OpenTable {
 protected:
  WindowWithoutPicture() : OpenTable(false) {}
};

// --- Layout ----------------------------------------------------------------

struct LabelCase {
  const char* name;
  int left;
  int top;
  const char* text;  // nullptr: filled in by the game
  int pixelSize;
  QColor colour;
};

const QColor kWhite(Qt::white);
const QColor kYellow(Qt::yellow);

constexpr int kSmall = 11;
const LabelCase kLabels[] = {
    {"freakcash", 64, 48, "Freak:", kSmall, kWhite},
    {"lblfcash", 112, 48, nullptr, kSmall, kWhite},
    {"freakstatus", 64, 64, nullptr, kSmall, kWhite},
    {"geekcash", 208, 48, "Geek:", kSmall, kWhite},
    {"lblgcash", 256, 48, nullptr, kSmall, kWhite},
    {"geekstatus", 208, 64, nullptr, kSmall, kWhite},
    {"mastercash", 352, 48, "Master:", kSmall, kWhite},
    {"lblmcash", 408, 48, nullptr, kSmall, kWhite},
    {"masterstatus", 352, 64, nullptr, kSmall, kWhite},
    {"champcash", 496, 48, "Champ:", kSmall, kWhite},
    {"lblccash", 552, 48, nullptr, kSmall, kWhite},
    {"champstatus", 496, 64, nullptr, kSmall, kWhite},
    {"pinheadcash", 640, 48, "Pinhead:", kSmall, kWhite},
    {"lblpinhcash", 704, 48, nullptr, kSmall, kWhite},
    {"pinheadstatus", 640, 64, nullptr, kSmall, kWhite},
    {"Expert", 616, 296, "Expert:", kSmall, kWhite},
    {"lblecash", 672, 296, nullptr, kSmall, kWhite},
    {"expertstatus", 616, 312, nullptr, kSmall, kWhite},
    {"Robot", 448, 368, "Robot:", kSmall, kWhite},
    {"lblrcash", 496, 368, nullptr, kSmall, kWhite},
    {"robotstatus", 448, 384, nullptr, kSmall, kWhite},
    {"Label2", 88, 312, "You:", kSmall, kWhite},
    {"cash", 128, 312, nullptr, kSmall, kWhite},
    {"playerstatus", 88, 328, "", kSmall, kWhite},
    {"theresult", 80, 192, "", 15, kYellow},
    {"potttt", 80, 240, "POT: ", 12, kWhite},
    {"betsize", 120, 240, nullptr, 12, kWhite},
};

TEST_F(WindowTest, EveryLabelSitsAtItsPlaceInItsFont) {
  open();
  for (const LabelCase& c : kLabels) {
    SCOPED_TRACE(c.name);
    QLabel* l = label(c.name);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->parentWidget(), &form_->canvas());
    EXPECT_EQ(l->pos(), QPoint(c.left, c.top));
    if (c.text) {
      EXPECT_EQ(l->text(), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(l->font().family(), QStringLiteral("Verdana"));
    EXPECT_EQ(l->font().pixelSize(), c.pixelSize);
    EXPECT_TRUE(l->font().bold());
    EXPECT_EQ(l->palette().color(QPalette::WindowText), c.colour);
    EXPECT_FALSE(l->autoFillBackground());  // the felt shows around the text
    EXPECT_TRUE(l->isVisible());
  }
}

TEST_F(WindowTest, FourButtonsInARowWithTheirCaptions) {
  open();
  const struct {
    Button button;
    const char* name;
    int left;
    const char* caption;
    bool enabled;
  } cases[] = {
      {Button::Deal, "btnnew", 32, "Deal", false},
      {Button::CheckCall, "btnstay", 88, "Call", true},
      {Button::Raise, "btnbet", 144, "Raise", true},
      {Button::Fold, "btnpass", 200, "Fold", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QPushButton* b = find<QPushButton>(c.name);
    ASSERT_EQ(b, form_->button(c.button));
    EXPECT_EQ(b->pos(), QPoint(c.left, 472));
    EXPECT_EQ(b->width(), 57);
    EXPECT_EQ(b->height(), b->sizeHint().height());
    EXPECT_EQ(b->text(), QString::fromLatin1(c.caption));
    EXPECT_EQ(b->font().family(), QStringLiteral("Verdana"));
    EXPECT_EQ(b->font().pixelSize(), 11);
    EXPECT_TRUE(b->font().bold());
    EXPECT_EQ(b->isEnabled(), c.enabled);
    EXPECT_NE(b->focusPolicy() & Qt::TabFocus, 0);
  }
}

TEST_F(WindowTest, WindowHasNoTitleNoMaximiseATableOf800By520AndTheGameMenu) {
  open();
  EXPECT_TRUE(form_->windowTitle().isEmpty());
  const Qt::WindowFlags flags = form_->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_NE(form_->minimumSize(), form_->maximumSize());  // the border stays sizeable
  EXPECT_EQ(form_->centralWidget(), &form_->canvas());
  EXPECT_EQ(form_->canvas().size(), QSize(800, 520));
  EXPECT_EQ(form_->canvas().mapTo(form_.get(), QPoint(0, 0)), QPoint(0, form_->menuBar()->height()));
  EXPECT_EQ(canvas().size(), QSize(800, 520));
  // The Game menu, its four commands in order, and the View menu with the
  // hand log.
  const QList<QAction*> menus = form_->menuBar()->actions();
  ASSERT_EQ(menus.size(), 2);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("Game"));
  QStringList items;
  for (QAction* a : menus[0]->menu()->actions()) items << a->text();
  EXPECT_EQ(items, (QStringList{"New game", "Options", "About", "Statistics"}));
  EXPECT_EQ(menus[1]->text(), QStringLiteral("View"));
  ASSERT_EQ(menus[1]->menu()->actions().size(), 1);
  EXPECT_EQ(menus[1]->menu()->actions()[0]->text(), QStringLiteral("Hand log"));
}

TEST_F(WindowTest, OptionsPanelLayout) {
  open();
  // Built when first needed, hidden until the options are opened.
  EXPECT_EQ(form_->findChild<QFrame*>(QStringLiteral("Panel1")), nullptr);
  form_->optionsPanel();
  QFrame* panel = find<QFrame>("Panel1");
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(panel->geometry(), QRect(200, 80, 409, 361));
  EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(174, 193, 174));
  EXPECT_TRUE(panel->autoFillBackground());
  EXPECT_EQ(panel->font().family(), QStringLiteral("Verdana"));
  EXPECT_EQ(panel->font().pixelSize(), 11);
  const std::pair<const char*, QRect> subPanels[] = {
      {"Panel2", {24, 16, 361, 105}},
      {"Panel3", {24, 120, 121, 177}},
      {"Panel4", {144, 120, 121, 177}},
      {"Panel5", {264, 120, 121, 177}},
  };
  for (const auto& [name, rect] : subPanels) {
    QFrame* sub = find<QFrame>(name);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->geometry(), rect) << name;
    EXPECT_EQ(sub->frameShadow(), QFrame::Sunken) << name;
    EXPECT_EQ(sub->parentWidget(), panel) << name;
  }
  QPushButton* close = find<QPushButton>("Close");
  EXPECT_EQ(close->pos(), QPoint(168, 312));
  EXPECT_EQ(close->height(), 33);
  for (const char* text : {"Initial cash", "Play until ", "someone wins", "AI level", "Betting limits",
                           "Small bet:", "Big bet:", "Card back"}) {
    bool found = false;
    for (QLabel* l : panel->findChildren<QLabel*>()) found |= l->text() == QString::fromLatin1(text);
    EXPECT_TRUE(found) << text;
  }
  // Every text of the panel, headings included, in its plain Verdana 11.
  for (QLabel* l : panel->findChildren<QLabel*>()) {
    SCOPED_TRACE(l->text().toStdString());
    EXPECT_EQ(l->font().family(), QStringLiteral("Verdana"));
    EXPECT_EQ(l->font().pixelSize(), 11);
    EXPECT_FALSE(l->font().bold());
  }
  // Everything inside its own sub-panel, nothing cut off.
  for (QWidget* w : panel->findChildren<QWidget*>()) {
    if (w->parentWidget() == panel) continue;
    EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << w->objectName().toStdString();
  }
  const std::pair<const char*, QStringList> groups[] = {
      {"Levels", {"Amateur", "Expert", "Master", "Genius"}},
      {"cardbacks", {"Denim", "Cloth", "Rock", "Leather"}},
  };
  for (const auto& [name, items] : groups) {
    QButtonGroup* g = form_->findChild<QButtonGroup*>(QString::fromLatin1(name));
    ASSERT_NE(g, nullptr) << name;
    QStringList texts;
    for (int i = 0; i < 4; ++i) texts << g->button(i)->text();
    EXPECT_EQ(texts, items) << name;
    EXPECT_EQ(g->checkedId(), 0) << name;
  }
  EXPECT_EQ(find<QLineEdit>("money")->text(), QStringLiteral("1200"));
  EXPECT_EQ(find<QLineEdit>("until")->text(), QStringLiteral("600"));
  EXPECT_EQ(label("Label3")->text(), QStringLiteral("2"));
  EXPECT_EQ(label("Label4")->text(), QStringLiteral("4"));
}

TEST(Fonts, VerdanaAndTahomaResolveToInstalledFonts) {
  const std::pair<const char*, const char*> cases[] = {
      {kTableFontFamily, "DejaVu Sans"},
      {kDialogFontFamily, "DejaVu Sans Condensed"},
  };
  for (const auto& [family, standIn] : cases) {
    const QString resolved = resolvedFamily(QString::fromLatin1(family));
    EXPECT_TRUE(resolved == QString::fromLatin1(family) || resolved == QString::fromLatin1(standIn))
        << family << " became " << resolved.toStdString();
  }
}

// The ink of `text` drawn black on white in `font`: the sum of every
// pixel's darkness, 1 for a black one.
double inkOf(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  QImage image(metrics.horizontalAdvance(text) + 4, metrics.height() + 4, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(2, 2 + metrics.ascent(), text);
  }
  double ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ink += (255 - qGray(image.pixel(x, y))) / 255.0;
  return ink;
}

// Bold is what tells the version line and the statistics from plain text:
// the bold face must be heavier, not only wider.
TEST(Fonts, BoldTextIsVisiblyHeavierThanPlainText) {
  for (const char* family : {kTableFontFamily, kDialogFontFamily})
    for (const int size : {11, 15, 16}) {
      const QString text = QStringLiteral("Hands played: 128");
      const double plain = inkOf(pixelFont(family, size, false), text);
      const double bold = inkOf(pixelFont(family, size, true), text);
      EXPECT_GT(bold, 1.4 * plain) << family << " " << size << " px: " << bold << " against " << plain;
    }
}

// --- Dialogs -------------------------------------------------------------

TEST(AboutBox, RulesTextsSizeAndColours) {
  RulesDialog about;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("Texas hold'em rules"));
  EXPECT_EQ(about.size(), QSize(321, 501));
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_EQ(about.palette().color(QPalette::Window), QColor(24, 102, 9));
  EXPECT_EQ(about.font().family(), QStringLiteral("Tahoma"));
  EXPECT_EQ(about.font().pixelSize(), 11);
  QFrame* panel = about.findChild<QFrame*>(QStringLiteral("Panel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->geometry(), QRect(16, 8, 289, 441));
  EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
  const struct {
    const char* name;
    int top;
    const char* text;
  } lines[] = {
      {"Label2", 16, "First, each player is dealt two cards face down,"},
      {"Label3", 32, "followed by the first round of betting."},
      {"Label4", 48, "Three community cards are then dealt face up,"},
      {"Label5", 64, "and the second round of betting occurs."},
      {"Label6", 80, "Then a fourth community card is dealt face up"},
      {"Label7", 96, "followed by another round of betting."},
      {"Label8", 112, "Finally, a fifth community card is dealt face up"},
      {"Label9", 128, "and the final round of betting ensues. "},
      {"Label10", 144, "All players still in the game reveal their cards."},
      {"Label11", 160, "The best hand formed from the two player's cards"},
      {"Label12", 176, "and the five community cards wins the pot "},
      {"Label19", 200, "In the first and second rounds all bets are small"},
      {"Label20", 216, "while in rounds three and four, they are big"},
      {"Label13", 248, "Check - a player stays in the game without betting"},
      {"Label14", 264, "Fold - withdraw from the current deal"},
      {"Label15", 280, "Call - match the bet made by another player."},
      {"Label16", 296, "Pot - The money at stake in a deal;"},
  };
  for (const auto& line : lines) {
    QLabel* l = panel->findChild<QLabel*>(QString::fromLatin1(line.name));
    ASSERT_NE(l, nullptr) << line.name;
    EXPECT_EQ(l->text(), QString::fromLatin1(line.text)) << line.name;
    EXPECT_EQ(l->pos(), QPoint(24, line.top)) << line.name;
    EXPECT_EQ(l->palette().color(QPalette::WindowText), kWhite) << line.name;
  }
  QLabel* title = panel->findChild<QLabel*>(QStringLiteral("Version"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->pos(), QPoint(88, 328));
  EXPECT_FALSE(title->text().isEmpty());
  QPushButton* ok = about.findChild<QPushButton*>(QStringLiteral("dxButton1"));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->pos(), QPoint(128, 464));
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
}

TEST(StatsDialog, LayoutAndCounters) {
  StatsDialog stats;
  EXPECT_EQ(stats.windowTitle(), QStringLiteral("Stats"));
  EXPECT_FALSE(stats.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(stats.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(stats.font().family(), QStringLiteral("Tahoma"));
  EXPECT_EQ(stats.font().pixelSize(), 16);
  EXPECT_TRUE(stats.font().bold());
  EXPECT_EQ(stats.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));
  const struct {
    const char* name;
    QPoint at;
    const char* text;
  } labels[] = {
      {"Label1", {40, 24}, "Deals:"},         {"Label2", {40, 64}, "Hands played:"},
      {"Label3", {40, 104}, "Hands won:"},    {"btndeals", {112, 24}, nullptr},
      {"btnhandsplayed", {176, 64}, nullptr}, {"btnhandswon", {152, 104}, nullptr},
  };
  for (const auto& c : labels) {
    QLabel* l = stats.findChild<QLabel*>(QString::fromLatin1(c.name));
    ASSERT_NE(l, nullptr) << c.name;
    EXPECT_EQ(l->pos(), c.at) << c.name;
    if (c.text) {
      EXPECT_EQ(l->text(), QString::fromLatin1(c.text)) << c.name;
    }
    EXPECT_FALSE(l->autoFillBackground()) << c.name;
  }
  QPushButton* ok = stats.findChild<QPushButton*>(QStringLiteral("dxButton1"));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->geometry(), QRect(120, 168, 65, 33));
  EXPECT_EQ(ok->text(), QStringLiteral("ok"));
  EXPECT_EQ(ok->font().pixelSize(), 15);
  EXPECT_TRUE(ok->font().bold());
  EXPECT_TRUE(stats.rect().contains(ok->geometry()));

  stats.showCounters(7, 5, -2);
  EXPECT_EQ(stats.findChild<QLabel*>(QStringLiteral("btndeals"))->text(), QStringLiteral("7"));
  EXPECT_EQ(stats.findChild<QLabel*>(QStringLiteral("btnhandsplayed"))->text(), QStringLiteral("5"));
  EXPECT_EQ(stats.findChild<QLabel*>(QStringLiteral("btnhandswon"))->text(), QStringLiteral("-2"));
}

// The contrast ratio of two colours as the web's accessibility guidelines
// reckon it, from 1 (the same) to 21 (black on white).
double contrast(QRgb a, QRgb b) {
  const auto luminance = [](QRgb c) {
    const auto channel = [](int v) {
      const double s = v / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Each caption and value of the statistics, as drawn, stands out from the
// dialog's face by at least 4.5 : 1, and each caption ends before its value
// begins, even for numbers of six digits.
TEST(StatsDialog, EveryTextCanBeReadAndFitsItsPlace) {
  StatsDialog stats;
  stats.showCounters(123456, 123456, 123456);
  const QImage shown = stats.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRgb face = stats.palette().color(QPalette::Window).rgb();
  EXPECT_EQ(shown.pixel(5, 5), face);
  for (const char* name : {"Label1", "Label2", "Label3", "btndeals", "btnhandsplayed", "btnhandswon"}) {
    SCOPED_TRACE(name);
    const QLabel* l = stats.findChild<QLabel*>(QString::fromLatin1(name));
    ASSERT_NE(l, nullptr);
    double best = 1;  // the text's own colour is where it stands out most
    const QRect r = l->geometry();
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) best = std::max(best, contrast(shown.pixel(x, y), face));
    EXPECT_GE(best, 4.5);
    EXPECT_TRUE(stats.rect().contains(r));
  }
  for (const auto& [caption, value] :
       {std::pair{"Label1", "btndeals"}, {"Label2", "btnhandsplayed"}, {"Label3", "btnhandswon"}}) {
    const QLabel* c = stats.findChild<QLabel*>(QString::fromLatin1(caption));
    const QLabel* v = stats.findChild<QLabel*>(QString::fromLatin1(value));
    EXPECT_LT(c->x() + c->fontMetrics().horizontalAdvance(c->text()), v->x()) << caption;
  }
}

TEST_F(WindowTest, StatisticsShowsTheGamesCountersModally) {
  open();
  RulesDialog about(form_.get());
  StatsDialog stats(form_.get());
  form_->setDialogWindows(&about, &stats);
  click(Button::Fold);  // the deal ends at once
  ASSERT_TRUE(form_->button(Button::Deal)->isEnabled());
  click(Button::Deal);
  const TableState& t = form_->game().state();
  for (int round = 0; round < 2; ++round) {  // twice in a row: the same numbers
    QStringList seen;
    whenModal([&](QWidget* modal) {
      EXPECT_EQ(modal, &stats);
      for (const char* name : {"btndeals", "btnhandsplayed", "btnhandswon"})
        seen << stats.findChild<QLabel*>(QString::fromLatin1(name))->text();
      QTest::mouseClick(stats.findChild<QPushButton*>(QStringLiteral("dxButton1")), Qt::LeftButton);
    });
    form_->findChild<QAction*>(QStringLiteral("Stats1"))->trigger();
    EXPECT_EQ(seen, (QStringList{QString::number(t.dealsCount), QString::number(t.handsPlayed),
                                 QString::number(t.handsWon)}));
    EXPECT_EQ(t.dealsCount, 2);
  }
  bool aboutShown = false;
  whenModal([&](QWidget* modal) {
    aboutShown = modal == &about;
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("dxButton1")), Qt::LeftButton);
  });
  form_->findChild<QAction*>(QStringLiteral("About1"))->trigger();
  EXPECT_TRUE(aboutShown);
}

TEST(MessageBoxes, ShowTextAndCaptionAndReportTheAnswer) {
  QWidget parent;
  MessageBoxes boxes(&parent);
  int synced = 0;
  boxes.setBeforeShow([&] { ++synced; });
  const struct {
    const char* text;
    const char* caption;
    BoxButtons buttons;
    QMessageBox::StandardButton press;
    bool expected;
  } cases[] = {
      {"Invalid value", "", BoxButtons::Ok, QMessageBox::Ok, true},
      {"Game over", "Freak wins", BoxButtons::Ok, QMessageBox::Ok, true},
      {"Unable to write to /x/tavlor.ini", "Error", BoxButtons::Ok, QMessageBox::Ok, true},
      {"Are you sure?", "New game", BoxButtons::YesNo, QMessageBox::Yes, true},
      {"Are you sure?", "New game", BoxButtons::YesNo, QMessageBox::No, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    QString title, text;
    QMessageBox::StandardButtons offered;
    whenModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      title = box->windowTitle();
      text = box->text();
      offered = box->standardButtons();
      box->button(c.press)->click();
    });
    EXPECT_EQ(boxes.showMessage(c.text, c.caption, c.buttons), c.expected);
    EXPECT_EQ(title, QString::fromLatin1(c.caption));
    EXPECT_EQ(text, QString::fromLatin1(c.text));
    EXPECT_EQ(offered, c.buttons == BoxButtons::Ok ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                                   : QMessageBox::Yes | QMessageBox::No);
  }
  EXPECT_EQ(synced, 5);
}

// Every box shows its text exactly as the game words it, markup and all,
// and leaves room in its title bar for the caption (or, where it has none,
// the program's name) beside the icon and buttons a window manager puts there.
TEST(MessageBoxes, ShowTheTextAsPlainTextWithRoomForTheCaption) {
  QWidget parent;
  parent.setFont(pixelFont(kDialogFontFamily, 11, false));
  MessageBoxes boxes(&parent);
  const std::pair<const char*, const char*> cases[] = {
      {"Unable to write to /home/<b>x</b>/holdem/tavlor.ini", "Error"},
      {"You lose!", "Game over"},
      {"Invalid value", ""},
      {"Are you sure?", "New game"},
  };
  QFont titleFont = QApplication::font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
  const QFontMetrics title(titleFont);
  constexpr int kTitleButtons = 4 * 24 + 24;  // the icon, three buttons and the margins
  for (const auto& [text, caption] : cases) {
    SCOPED_TRACE(text);
    whenModal([&, text = text, caption = caption](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->textFormat(), Qt::PlainText);
      EXPECT_EQ(label->text(), QString::fromLatin1(text));
      const QString shownTitle =
          *caption ? QString::fromLatin1(caption) : QGuiApplication::applicationDisplayName();
      EXPECT_GE(box->width(), title.horizontalAdvance(shownTitle) + kTitleButtons) << box->width();
      EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
      box->button(box->standardButtons() & QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::Yes)->click();
    });
    boxes.showMessage(text, caption,
                      std::string_view(caption) == "New game" ? BoxButtons::YesNo : BoxButtons::Ok);
  }
}

TEST(WindowStartUp, UnwritableSettingsFailWithTheErrorBox) {
  QTemporaryDir dir;
  const std::filesystem::path folder = dir.path().toStdString();  // a folder is no settings file
  SettingsFile settings(folder);
  FixedClock clock(kClock);
  RecordingDialogs dialogs;
  TableWindow form(settings, clock, &dialogs, 1.0);
  EXPECT_FALSE(form.startUp());
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "Unable to write to " + settings.displayPath());
  EXPECT_EQ(dialogs.boxes[0].caption, "Error");
  EXPECT_FALSE(form.isVisible());
}

// --- Pixels ------------------------------------------------------------------

TEST_F(WindowTest, StartUpShowsTheHumansFacesAndEveryOpponentsBacks) {
  open();
  const QImage c = canvas();
  const TableState& t = form_->game().state();
  ASSERT_EQ(cardsShown(t, Seat::Player), CardsShown::Up);
  for (Seat s : kOpponents) EXPECT_EQ(cardsShown(t, s), CardsShown::Back) << info(s).name;
  EXPECT_EQ(backPicture(t), kBackDenim);
  EXPECT_EQ(expectCardsShown(c), 16);
  EXPECT_EQ(feltMismatches(c, toQRect(kBoardArea)), 0);  // no board card yet
  // The corners are black on the table, not in the picture itself: the
  // rounding did it.
  EXPECT_NE(renderCardPicture(kBackDenim).pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(beeps_, 0);
}

TEST_F(WindowTest, AFoldRestoresTheFeltUnderTheHumansCards) {
  open();
  const QRect area = toQRect(info(Seat::Player).cardArea);
  ASSERT_GT(feltMismatches(canvas(), area), 1000);
  click(Button::Fold);
  const QImage afterFold = canvas();
  EXPECT_EQ(feltMismatches(afterFold, area), 0);
  form_->redraw();
  EXPECT_EQ(canvas(), afterFold);  // the showdown left nothing that a repaint would change
}

TEST_F(WindowTest, AShowdownTurnsTheRemainingHandsAndTheBoardFaceUp) {
  open();
  for (int i = 0; i < 12 && !form_->button(Button::Deal)->isEnabled(); ++i) click(Button::CheckCall);
  const TableState& t = form_->game().state();
  ASSERT_EQ(t.bettingRound, kDealOver);
  int inDeal = 0;
  for (Seat s : kOpponents) {
    if (!t.inDeal(s)) continue;
    ++inDeal;
    EXPECT_EQ(cardsShown(t, s), CardsShown::Up) << info(s).name;
  }
  EXPECT_EQ(boardCardsShown(t), 5);
  EXPECT_GE(expectCardsShown(canvas()), 2 * inDeal + 5);  // each board card over the one before it
}

// An opponent who runs out of chips takes no part in later deals, and from
// the next deal on its place shows the felt, not the cards it last held.
TEST_F(WindowTest, ASeatOutOfChipsShowsNoCardsFromTheNextDealOn) {
  // The opponents start with a few chips each, so that some soon run out.
  testing::writeBytes(folder_.path("tavlor.ini"),
                      "[Cash]\nfreak=5\ngeek=5\nmaster=5\nchamp=5\npinhead=5\nexpert=5\nrobot=5\n");
  open();
  const TableState& t = form_->game().state();
  int staleSeats = 0;
  for (int step = 0; step < 200; ++step) {
    if (!form_->button(Button::Deal)->isEnabled()) {
      click(step % 4 == 0 ? Button::Raise : Button::CheckCall);
      continue;
    }
    // The seats out of chips before the deal, and whether their cards lie there.
    std::vector<Seat> out;
    for (Seat s : kOpponents) {
      if (t.cashOf(s) > 0) continue;
      out.push_back(s);
      if (feltMismatches(canvas(), toQRect(info(s).cardArea)) > 0) ++staleSeats;
    }
    click(Button::Deal);
    if (!form_->button(Button::Fold)->isEnabled()) break;  // the game is over
    for (Seat s : out)
      EXPECT_EQ(feltMismatches(canvas(), toQRect(info(s).cardArea)), 0)
          << info(s).name << ", deal " << t.dealsCount;
    expectCardsShown(canvas());
    if (HasFailure()) return;
  }
  EXPECT_GT(staleSeats, 0);  // some seat ran out with its cards on the table
}

TEST_F(WindowTest, ACardBackClickRepaintsTheBacksEvenWhenAlreadyChosen) {
  open();
  form_->findChild<QAction*>(QStringLiteral("Options1"))->trigger();
  ASSERT_TRUE(find<QFrame>("Panel1")->isVisible());
  QTest::mouseClick(find<QRadioButton>("cardbacks2"), Qt::LeftButton);
  EXPECT_EQ(form_->game().state().cardBackIndex, kBackRock);
  EXPECT_EQ(expectCardsShown(canvas()), 16);
  EXPECT_EQ(settings_.readInt("Card", "back", 0), kBackRock);

  // Scribble on a card below the panel; a click on Rock again paints it anew.
  const Point robot = info(Seat::Robot).cardSlot[1];
  form_->canvas().setPixel(robot.x + 30, robot.y + 40, 0xFF00FF);
  QTest::mouseClick(find<QRadioButton>("cardbacks2"), Qt::LeftButton);
  expectCardsShown(canvas());
}

TEST_F(WindowTest, HidingThePanelRepaintsTheTableUnderIt) {
  open();
  form_->findChild<QAction*>(QStringLiteral("Options1"))->trigger();
  const QImage before = canvas();
  form_->canvas().fillTable(Rect{300, 200, 400, 300});  // the board area's felt: no change
  form_->canvas().setPixel(350, 250, 0xFF00FF);
  form_->canvas().drawCard(300, 200, 5);
  QTest::mouseClick(find<QPushButton>("Close"), Qt::LeftButton);
  EXPECT_FALSE(find<QFrame>("Panel1")->isVisible());
  EXPECT_EQ(canvas(), before);
  EXPECT_EQ(beeps_, 0);
}

// Without the table picture: a beep at every repaint, the table black, the
// cards drawn as ever; the picture is read anew at every repaint, and coming
// back from the task bar repaints once.
TEST_F(WindowWithoutPicture, TheTableIsBlackAndEveryRepaintBeepsAndLooksForThePicture) {
  open();
  EXPECT_EQ(beeps_, 1);
  QImage black(toQRect(kBoardArea).size(), QImage::Format_RGB32);
  black.fill(Qt::black);
  EXPECT_EQ(canvas().copy(toQRect(kBoardArea)), black);
  EXPECT_EQ(canvas().pixel(5, 5), qRgb(0, 0, 0));
  EXPECT_EQ(expectCardsShown(canvas()), 16);
  click(Button::Fold);  // fills are black too
  const QRect area = toQRect(info(Seat::Player).cardArea);
  EXPECT_EQ(canvas().copy(area), black.copy(0, 0, area.width(), area.height()));

  form_->canvas().setPixel(300, 210, 0xFF00FF);
  form_->showMinimized();
  EXPECT_EQ(beeps_, 1);
  form_->showNormal();
  EXPECT_EQ(beeps_, 2);
  EXPECT_EQ(canvas().pixel(300, 210), qRgb(0, 0, 0));

  QFile::copy(QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp"), QStringLiteral("texas.bmp"));
  form_->redraw();
  EXPECT_EQ(feltMismatches(canvas(), area), 0);
  EXPECT_EQ(canvas().pixel(5, 5), feltAt(5, 5));
  EXPECT_EQ(beeps_, 2);
}

TEST(TableCanvas, RatioTwoKeepsLogicalCoordinates) {
  TableFolder folder(true);
  TableCanvas canvas(nullptr, 2.0);
  EXPECT_EQ(canvas.picture().size(), QSize(1600, 1040));
  EXPECT_DOUBLE_EQ(canvas.picture().devicePixelRatio(), 2.0);
  ASSERT_TRUE(canvas.paintTablePicture());
  // One picture pixel covers two by two device pixels.
  for (const QPoint p : {QPoint(0, 0), QPoint(123, 77), QPoint(799, 519)}) {
    const QRgb felt = feltAt(p.x(), p.y());
    for (int dy = 0; dy < 2; ++dy)
      for (int dx = 0; dx < 2; ++dx) EXPECT_EQ(canvas.picture().pixel(2 * p.x() + dx, 2 * p.y() + dy), felt);
  }
  canvas.setPixel(10, 20, 0x123456);
  for (const QPoint d : {QPoint(20, 40), QPoint(21, 40), QPoint(20, 41), QPoint(21, 41)})
    EXPECT_EQ(canvas.picture().pixel(d), qRgb(0x12, 0x34, 0x56));
  EXPECT_EQ(canvas.picture().pixel(22, 40), feltAt(11, 20));

  const QImage before = canvas.picture();
  canvas.drawCard(100, 100, 51);
  const QImage sharp = renderCardPicture(51, 2.0);
  EXPECT_EQ(canvas.picture().copy(200, 200, 142, 192), sharp.convertToFormat(QImage::Format_RGB32).copy());
  canvas.fillTable(Rect{90, 90, 200, 210});
  EXPECT_EQ(canvas.picture(), before.copy());
}

TEST(TableCanvas, OffTableDrawingIsIgnored) {
  TableCanvas canvas(nullptr, 1.0);
  const QImage before = canvas.picture();
  canvas.setPixel(-1, 5, 0xFFFFFF);
  canvas.setPixel(800, 5, 0xFFFFFF);
  canvas.drawCard(10, 10, 56);
  canvas.drawCard(10, 10, -1);
  EXPECT_EQ(canvas.picture(), before);
}

// --- Playing by mouse and by key -----------------------------------------------

// Plays the same clicks through the window and through a game of its own,
// with the same clock and a fresh settings file each; both must agree at
// every step, and the window must show exactly the game's view.
class SameGame : public OpenTable {
 protected:
  void SetUp() override {
    open();
    headless_ = std::make_unique<Game>(headlessSettings_, headlessDialogs_, nullCanvas_, clock_);
    ASSERT_TRUE(headless_->startUp());
    headless_->paintTable();  // the window's first paint
    expectSame("start");
  }

  void expectSame(const std::string& step) {
    SCOPED_TRACE(step);
    const Game& g = form_->game();
    EXPECT_TRUE(g.state() == headless_->state());
    EXPECT_TRUE(g.view() == headless_->view());
    EXPECT_EQ(GameTesting::random(g).state(), GameTesting::random(*headless_).state());
    EXPECT_EQ(dialogs_.boxes, headlessDialogs_.boxes);
    expectWidgetsShow(g.view());
  }

  void expectWidgetsShow(const TableView& v) {
    const char* cashNames[] = {"cash",     "lblfcash",    "lblgcash", "lblmcash",
                               "lblccash", "lblpinhcash", "lblecash", "lblrcash"};
    const char* statusNames[] = {"playerstatus", "freakstatus",   "geekstatus",   "masterstatus",
                                 "champstatus",  "pinheadstatus", "expertstatus", "robotstatus"};
    for (int s = 0; s < kSeatCount; ++s) {
      EXPECT_EQ(label(cashNames[s])->text().toStdString(), v.cashText[s]);
      EXPECT_EQ(label(statusNames[s])->text().toStdString(), v.status[s]);
      EXPECT_EQ(label(statusNames[s])->palette().color(QPalette::WindowText),
                v.statusColor[s] == LabelColor::Yellow ? kYellow : kWhite)
          << statusNames[s];
    }
    EXPECT_EQ(label("theresult")->text().toStdString(), v.result);
    EXPECT_EQ(label("betsize")->text().toStdString(), v.potText);
    for (int b = 0; b < kButtonCount; ++b)
      EXPECT_EQ(form_->button(static_cast<Button>(b))->isEnabled(), v.enabled[b]);
    EXPECT_EQ(form_->button(Button::CheckCall)->text().toStdString(), v.stayCaption);
    // The panel is built the first time the options are opened.
    if (!form_->findChild<QFrame*>(QStringLiteral("Panel1"))) {
      EXPECT_FALSE(v.panelVisible);
      return;
    }
    EXPECT_EQ(find<QFrame>("Panel1")->isVisible(), v.panelVisible);
    EXPECT_EQ(find<QLineEdit>("money")->text().toStdString(), v.money);
    EXPECT_EQ(find<QLineEdit>("until")->text().toStdString(), v.until);
    EXPECT_EQ(label("Label3")->text().toStdString(), v.smallBetText);
    EXPECT_EQ(label("Label4")->text().toStdString(), v.bigBetText);
    EXPECT_EQ(form_->findChild<QButtonGroup*>(QStringLiteral("Levels"))->checkedId(), v.level);
    EXPECT_EQ(form_->findChild<QButtonGroup*>(QStringLiteral("cardbacks"))->checkedId(), v.backItem);
  }

  SettingsFile headlessSettings_{folder_.path("headless.ini")};
  RecordingDialogs headlessDialogs_;
  NullCanvas nullCanvas_;
  std::unique_ptr<Game> headless_;
};

// The buttons clicked and their keys pressed by turns (D, C, R, F); a click
// or key on a disabled button is one too.
TEST_F(SameGame, ButtonClicksAndKeysPlayTheEnginesGame) {
  const Button pattern[] = {Button::CheckCall, Button::Raise,    Button::CheckCall, Button::CheckCall,
                            Button::Fold,      Button::Deal,     Button::CheckCall, Button::Raise,
                            Button::Deal,      Button::CheckCall};
  const Qt::Key keys[] = {Qt::Key_D, Qt::Key_C, Qt::Key_R, Qt::Key_F};  // in the order of Button
  int deals = 0, disabled = 0, keyed = 0;
  for (int step = 0; step < 240; ++step) {
    Button b = pattern[step % std::size(pattern)];
    // Mostly play on: when the chosen button is off, take the first one on.
    if (!headless_->view().isEnabled(b) && step % 3 != 0) {
      for (int i = 0; i < kButtonCount; ++i)
        if (headless_->view().isEnabled(static_cast<Button>(i))) b = static_cast<Button>(i);
    }
    deals += b == Button::Deal && headless_->view().isEnabled(b) ? 1 : 0;
    disabled += headless_->view().isEnabled(b) ? 0 : 1;
    if (step % 2) {
      press(keys[static_cast<int>(b)]);
      keyed += headless_->view().isEnabled(b) ? 1 : 0;
    } else {
      click(b);
    }
    headless_->click(b);
    expectSame("step " + std::to_string(step));
    if (HasFailure()) return;
  }
  EXPECT_GT(deals, 10);
  EXPECT_GT(disabled, 10);
  EXPECT_GT(keyed, 60);
  EXPECT_EQ(readBytes(folder_.path("tavlor.ini")), readBytes(folder_.path("headless.ini")));
}

TEST_F(SameGame, OptionsPanelAndMenuPlayTheEnginesGame) {
  const auto step = [&](const std::string& name, const std::function<void()>& byMouse,
                        const std::function<void(Game&)>& direct) {
    byMouse();
    direct(*headless_);
    expectSame(name);
  };
  QAction* options = form_->findChild<QAction*>(QStringLiteral("Options1"));
  step(
      "options", [&] { options->trigger(); }, [](Game& g) { g.toggleOptions(); });
  QLineEdit* money = find<QLineEdit>("money");
  step(
      "money",
      [&] {
        money->selectAll();
        QTest::keyClicks(money, QStringLiteral("5000"));
      },
      [](Game& g) {
        for (const char* text : {"5", "50", "500", "5000"}) g.setMoneyText(text);
      });
  step(
      "enter", [&] { QTest::mouseClick(find<QPushButton>("enter"), Qt::LeftButton); },
      [](Game& g) { g.enterInitialCash(); });
  ASSERT_EQ(form_->game().state().initialCash, 5000);
  QLineEdit* until = find<QLineEdit>("until");
  step(
      "until",
      [&] {
        until->selectAll();
        QTest::keyClicks(until, QStringLiteral("x9"));
      },
      [](Game& g) {
        g.setUntilText("x");
        g.setUntilText("x9");
      });
  step(
      "unenter", [&] { QTest::mouseClick(find<QPushButton>("unenter"), Qt::LeftButton); },
      [](Game& g) { g.enterTarget(); });
  EXPECT_EQ(dialogs_.boxes.back().text, "Invalid value");
  QToolButton* up = find<QToolButton>("up");
  QToolButton* down = find<QToolButton>("down");
  step(
      "down at 1", [&] { QTest::mouseClick(down, Qt::LeftButton); },
      [](Game& g) { g.changeBettingLimit(-1); });
  EXPECT_EQ(label("Label3")->text(), QStringLiteral("2"));
  for (int i = 0; i < 6; ++i)
    step(
        "up " + std::to_string(i), [&] { QTest::mouseClick(up, Qt::LeftButton); },
        [](Game& g) { g.changeBettingLimit(+1); });
  EXPECT_EQ(label("Label3")->text(), QStringLiteral("10"));
  EXPECT_EQ(label("Label4")->text(), QStringLiteral("20"));
  step(
      "down", [&] { QTest::mouseClick(down, Qt::LeftButton); }, [](Game& g) { g.changeBettingLimit(-1); });
  EXPECT_EQ(label("Label4")->text(), QStringLiteral("16"));
  step(
      "level", [&] { QTest::mouseClick(find<QRadioButton>("Levels3"), Qt::LeftButton); },
      [](Game& g) { g.selectLevel(3); });
  step(
      "back", [&] { QTest::mouseClick(find<QRadioButton>("cardbacks3"), Qt::LeftButton); },
      [](Game& g) { g.chooseCardBack(3); });
  step(
      "close", [&] { QTest::mouseClick(find<QPushButton>("Close"), Qt::LeftButton); },
      [](Game& g) { g.closeOptions(); });
  headless_->paintTable();  // the window repainted the table under the panel
  step(
      "call", [&] { click(Button::CheckCall); }, [](Game& g) { g.click(Button::CheckCall); });
  dialogs_.answerYes = headlessDialogs_.answerYes = false;
  QAction* newGame = form_->findChild<QAction*>(QStringLiteral("NewGame1"));
  step(
      "new game, no", [&] { newGame->trigger(); }, [](Game& g) { g.newGame(); });
  dialogs_.answerYes = headlessDialogs_.answerYes = true;
  step(
      "new game, yes", [&] { newGame->trigger(); }, [](Game& g) { g.newGame(); });
  EXPECT_EQ(form_->game().state().cashOf(Seat::Freak), 5000);
  for (int i = 0; i < 30; ++i) {
    const Button b = headless_->view().isEnabled(Button::Deal) ? Button::Deal : Button::Raise;
    step(
        "play " + std::to_string(i), [&] { click(b); }, [b](Game& g) { g.click(b); });
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace holdem::uitest
