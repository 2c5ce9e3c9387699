// The table window: its layout, what it paints, and that playing it by
// mouse gives the very game that the engine plays on its own.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "game/game.h"
#include "game/settings_file.h"
#include "ui/about_box.h"
#include "ui/card_art.h"
#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/options_panel.h"
#include "ui/stats_dialog.h"
#include "ui/table_canvas.h"

namespace holdem {
namespace {

constexpr int64_t kClock = 1700000000;

struct Box {
  std::string text;
  std::string caption;
  BoxButtons buttons;
  friend bool operator==(const Box&, const Box&) = default;
};

class RecordingDialogs final : public Dialogs {
 public:
  bool showMessage(std::string_view text, std::string_view caption, BoxButtons buttons) override {
    boxes.push_back({std::string(text), std::string(caption), buttons});
    return buttons == BoxButtons::Ok || answerYes;
  }
  std::vector<Box> boxes;
  bool answerYes = true;
};

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const QImage& tablePicture() {
  static const QImage picture =
      QImage(QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp")).convertToFormat(QImage::Format_RGB32);
  return picture;
}

// The felt as the table shows it: the picture repeated from the top-left corner.
QRgb feltAt(int x, int y) {
  const QImage& t = tablePicture();
  return t.pixel(x % t.width(), y % t.height());
}

// The twelve pixels that round off the corners of a card at (x, y).
std::vector<QPoint> cornerPixels(int x, int y) {
  const int r = x + kCardWidth - 1, b = y + kCardHeight - 1;
  return {{x, y},     {r, y},     {x, b},     {r, b},     {x + 1, y}, {x, y + 1},
          {r - 1, y}, {r, y + 1}, {x, b - 1}, {x + 1, b}, {r, b - 1}, {r - 1, b}};
}

// Pixels of the card area at `at` that differ from `picture`, leaving out the
// rounded corners and whatever lies inside `covered`.
int cardMismatches(const QImage& canvas, QPoint at, const QImage& picture, const QRect& covered = {}) {
  std::set<std::pair<int, int>> corners;
  for (const QPoint p : cornerPixels(at.x(), at.y())) corners.insert({p.x(), p.y()});
  int bad = 0;
  for (int dy = 0; dy < kCardHeight; ++dy)
    for (int dx = 0; dx < kCardWidth; ++dx) {
      const int x = at.x() + dx, y = at.y() + dy;
      if (corners.count({x, y}) || covered.contains(x, y)) continue;
      bad += canvas.pixel(x, y) != picture.pixel(dx, dy) ? 1 : 0;
    }
  return bad;
}

int feltMismatches(const QImage& canvas, const QRect& area) {
  int bad = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) bad += canvas.pixel(x, y) != feltAt(x, y) ? 1 : 0;
  return bad;
}

QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }
QRect cardRect(Point p) { return QRect(p.x, p.y, kCardWidth, kCardHeight); }

// Runs `check` as soon as the next modal dialog is up.
void whenModal(std::function<void(QWidget*)> check) {
  QTimer::singleShot(0, [check = std::move(check)] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    check(modal);
  });
}

// A folder to play in: the table picture in it (or not), the settings file
// beside it, and the current folder set to it while the test runs.
class TableFolder {
 public:
  explicit TableFolder(bool withPicture) : previous_(QDir::currentPath()) {
    if (withPicture)
      QFile::copy(QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp"), dir_.filePath(QStringLiteral("texas.bmp")));
    QDir::setCurrent(dir_.path());
  }
  ~TableFolder() { QDir::setCurrent(previous_); }
  std::filesystem::path path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)).toStdString(); }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

class WindowTest : public ::testing::Test {
 protected:
  explicit WindowTest(bool withPicture = true) : folder_(withPicture), settings_(folder_.path("tavlor.ini")) {}

  // Builds the window, starts the game and shows it.
  void open(qreal ratio = 1.0) {
    form_ = std::make_unique<TForm1>(settings_, clock_, &dialogs_, ratio);
    form_->canvas().setBeep([this] { ++beeps_; });
    ASSERT_TRUE(form_->startUp());
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }

  template <typename T = QLabel>
  T* find(const char* name) const {
    T* w = form_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QImage canvas() const { return form_->canvas().picture(); }
  void click(Button b) { QTest::mouseClick(form_->button(b), Qt::LeftButton); }

  TableFolder folder_;
  SettingsFile settings_;
  FixedClock clock_{kClock};
  RecordingDialogs dialogs_;
  int beeps_ = 0;
  std::unique_ptr<TForm1> form_;
};

class WindowWithoutPicture : public WindowTest {
 protected:
  WindowWithoutPicture() : WindowTest(false) {}
};

// --- Layout --------------------------------------------------------------

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
    {"freakcash", 64, 48, "Freak:", kSmall, kWhite},   {"lblfcash", 112, 48, nullptr, kSmall, kWhite},
    {"freakstatus", 64, 64, nullptr, kSmall, kWhite},  {"geekcash", 208, 48, "Geek:", kSmall, kWhite},
    {"lblgcash", 256, 48, nullptr, kSmall, kWhite},    {"geekstatus", 208, 64, nullptr, kSmall, kWhite},
    {"mastercash", 352, 48, "Master:", kSmall, kWhite}, {"lblmcash", 408, 48, nullptr, kSmall, kWhite},
    {"masterstatus", 352, 64, nullptr, kSmall, kWhite}, {"champcash", 496, 48, "Champ:", kSmall, kWhite},
    {"lblccash", 552, 48, nullptr, kSmall, kWhite},    {"champstatus", 496, 64, nullptr, kSmall, kWhite},
    {"pinheadcash", 640, 48, "Pinhead:", kSmall, kWhite}, {"lblpinhcash", 704, 48, nullptr, kSmall, kWhite},
    {"pinheadstatus", 640, 64, nullptr, kSmall, kWhite}, {"Expert", 616, 296, "Expert:", kSmall, kWhite},
    {"lblecash", 672, 296, nullptr, kSmall, kWhite},   {"expertstatus", 616, 312, nullptr, kSmall, kWhite},
    {"Robot", 448, 368, "Robot:", kSmall, kWhite},     {"lblrcash", 496, 368, nullptr, kSmall, kWhite},
    {"robotstatus", 448, 384, nullptr, kSmall, kWhite}, {"Label2", 88, 312, "You:", kSmall, kWhite},
    {"cash", 128, 312, nullptr, kSmall, kWhite},       {"playerstatus", 88, 328, "", kSmall, kWhite},
    {"theresult", 80, 192, "", 15, kYellow},           {"potttt", 80, 240, "POT: ", 12, kWhite},
    {"betsize", 120, 240, nullptr, 12, kWhite},
};

TEST_F(WindowTest, EveryLabelSitsAtItsPlaceInItsFont) {
  open();
  for (const LabelCase& c : kLabels) {
    SCOPED_TRACE(c.name);
    QLabel* label = find(c.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->parentWidget(), &form_->canvas());
    EXPECT_EQ(label->pos(), QPoint(c.left, c.top));
    if (c.text) {
      EXPECT_EQ(label->text(), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(label->font().family(), QStringLiteral("Verdana"));
    EXPECT_EQ(label->font().pixelSize(), c.pixelSize);
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), c.colour);
    EXPECT_FALSE(label->autoFillBackground());  // the felt shows around the text
    EXPECT_TRUE(label->isVisible());
  }
}

TEST_F(WindowTest, StartUpFillsTheLabelsFromTheGame) {
  open();
  const std::pair<const char*, const char*> shown[] = {
      {"lblfcash", "1200"}, {"lblgcash", "1200"},         {"lblmcash", "1200"},       {"lblccash", "1200"},
      {"lblpinhcash", "1200"}, {"lblecash", "1199"},      {"lblrcash", "1198"},       {"cash", "1200"},
      {"betsize", "3"},     {"expertstatus", "small blind"}, {"robotstatus", "big blind"}, {"freakstatus", ""},
  };
  for (const auto& [name, text] : shown) EXPECT_EQ(find(name)->text(), QString::fromLatin1(text)) << name;
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

TEST_F(WindowTest, WindowHasNoTitleNoMaximiseAndATableOf800By520) {
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
}

TEST_F(WindowTest, GameMenuHasItsFourCommandsInOrder) {
  open();
  const QList<QAction*> menus = form_->menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("Game"));
  QStringList items;
  for (QAction* a : menus[0]->menu()->actions()) items << a->text();
  EXPECT_EQ(items, (QStringList{"New game", "Options", "About", "Statistics"}));
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
  for (const char* text : {"Initial cash", "Play until ", "someone wins", "AI level", "Betting limits", "Small bet:",
                           "Big bet:", "Card back"}) {
    bool found = false;
    for (QLabel* l : panel->findChildren<QLabel*>()) found |= l->text() == QString::fromLatin1(text);
    EXPECT_TRUE(found) << text;
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
  EXPECT_EQ(find("Label3")->text(), QStringLiteral("2"));
  EXPECT_EQ(find("Label4")->text(), QStringLiteral("4"));
}

TEST(Fonts, VerdanaAndTahomaResolveToInstalledFonts) {
  for (const char* family : {kTableFontFamily, kDialogFontFamily}) {
    const QString resolved = resolvedFamily(QString::fromLatin1(family));
    EXPECT_TRUE(resolved == QString::fromLatin1(family) || resolved == QStringLiteral("DejaVu Sans"))
        << family << " became " << resolved.toStdString();
  }
}

// --- Dialogs -------------------------------------------------------------

TEST(AboutBox, RulesTextsSizeAndColours) {
  TAboutBox about;
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
  TStats stats;
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
      {"Label1", {40, 24}, "Deals:"},        {"Label2", {40, 64}, "Hands played:"}, {"Label3", {40, 104}, "Hands won:"},
      {"btndeals", {112, 24}, nullptr},      {"btnhandsplayed", {176, 64}, nullptr},
      {"btnhandswon", {152, 104}, nullptr},
  };
  for (const auto& c : labels) {
    QLabel* l = stats.findChild<QLabel*>(QString::fromLatin1(c.name));
    ASSERT_NE(l, nullptr) << c.name;
    EXPECT_EQ(l->pos(), c.at) << c.name;
    if (c.text) {
      EXPECT_EQ(l->text(), QString::fromLatin1(c.text)) << c.name;
    }
    EXPECT_EQ(l->palette().color(QPalette::WindowText), kWhite) << c.name;
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

TEST_F(WindowTest, StatisticsShowsTheGamesCountersModally) {
  open();
  TAboutBox about(form_.get());
  TStats stats(form_.get());
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

TEST(WindowStartUp, UnwritableSettingsFailWithTheErrorBox) {
  QTemporaryDir dir;
  const std::filesystem::path folder = dir.path().toStdString();  // a folder is no settings file
  SettingsFile settings(folder);
  FixedClock clock(kClock);
  RecordingDialogs dialogs;
  TForm1 form(settings, clock, &dialogs, 1.0);
  EXPECT_FALSE(form.startUp());
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "Unable to write to " + settings.displayPath());
  EXPECT_EQ(dialogs.boxes[0].caption, "Error");
  EXPECT_FALSE(form.isVisible());
}

// --- Pixels --------------------------------------------------------------

TEST_F(WindowTest, StartUpShowsTheHumansFacesAndEveryOpponentsBacks) {
  open();
  const QImage c = canvas();
  const TableState& t = form_->game().state();
  const auto& human = info(Seat::Player).cardSlot;
  EXPECT_EQ(cardMismatches(c, {65, 351}, renderCardPicture(t.hole[0][0].imageIndex()), cardRect(human[1])), 0);
  EXPECT_EQ(cardMismatches(c, {130, 355}, renderCardPicture(t.hole[0][1].imageIndex())), 0);
  const QImage back = renderCardPicture(kBackDenim);
  for (Seat s : kOpponents) {
    SCOPED_TRACE(info(s).name.data());
    const auto& at = info(s).cardSlot;
    EXPECT_EQ(cardMismatches(c, {at[0].x, at[0].y}, back, cardRect(at[1])), 0);
    EXPECT_EQ(cardMismatches(c, {at[1].x, at[1].y}, back), 0);
  }
  EXPECT_EQ(feltMismatches(c, toQRect(kBoardArea)), 0);  // no board card yet
  EXPECT_EQ(beeps_, 0);
}

TEST_F(WindowTest, TwelveCornerPixelsOfEveryCardAreBlack) {
  open();
  const QImage c = canvas();
  for (const SeatInfo& seat : kSeats) {
    for (const QPoint p : cornerPixels(seat.cardSlot[1].x, seat.cardSlot[1].y))
      EXPECT_EQ(c.pixel(p), qRgb(0, 0, 0)) << seat.name << " " << p.x() << "," << p.y();
  }
  // And they were not black in the picture itself: the rounding did it.
  const QImage back = renderCardPicture(kBackDenim);
  EXPECT_NE(back.pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(WindowTest, AFoldRestoresTheFeltUnderTheHumansCards) {
  open();
  const QRect area = toQRect(info(Seat::Player).cardArea);
  ASSERT_GT(feltMismatches(canvas(), area), 1000);
  click(Button::Fold);
  const QImage afterFold = canvas();
  EXPECT_EQ(feltMismatches(afterFold, area), 0);
  form_->redraw();
  EXPECT_EQ(canvas().copy(area), afterFold.copy(area));
  EXPECT_EQ(canvas(), afterFold);  // the showdown left nothing that a repaint would change
}

TEST_F(WindowTest, AShowdownTurnsTheRemainingHandsAndTheBoardFaceUp) {
  open();
  for (int i = 0; i < 12 && !form_->button(Button::Deal)->isEnabled(); ++i) click(Button::CheckCall);
  const TableState& t = form_->game().state();
  ASSERT_EQ(t.bettingRound, kDealOver);
  const QImage c = canvas();
  for (int i = 0; i < 5; ++i) {
    // Each board card lies over the one before it.
    const QRect covered = i < 4 ? cardRect(kBoardSlots[i + 1]) : QRect();
    EXPECT_EQ(cardMismatches(c, {kBoardSlots[i].x, kBoardSlots[i].y}, renderCardPicture(t.board[i].imageIndex()),
                             covered),
              0)
        << "board " << i;
  }
  for (Seat s : kOpponents) {
    if (!t.inDeal(s)) continue;
    const Point at = info(s).cardSlot[1];
    EXPECT_EQ(cardMismatches(c, {at.x, at.y}, renderCardPicture(t.hole[index(s)][1].imageIndex())), 0)
        << info(s).name;
  }
}

TEST_F(WindowTest, ACardBackClickRepaintsTheBacksEvenWhenAlreadyChosen) {
  open();
  form_->findChild<QAction*>(QStringLiteral("Options1"))->trigger();
  ASSERT_TRUE(find<QFrame>("Panel1")->isVisible());
  const Point robot = info(Seat::Robot).cardSlot[1];  // below the panel
  QTest::mouseClick(find<QRadioButton>("cardbacks2"), Qt::LeftButton);
  EXPECT_EQ(form_->game().state().cardBackIndex, kBackRock);
  EXPECT_EQ(cardMismatches(canvas(), {robot.x, robot.y}, renderCardPicture(kBackRock)), 0);
  EXPECT_EQ(settings_.readInt("Card", "back", 0), kBackRock);

  // Scribble on the card; a click on Rock again paints it anew.
  form_->canvas().setPixel(robot.x + 30, robot.y + 40, 0xFF00FF);
  QTest::mouseClick(find<QRadioButton>("cardbacks2"), Qt::LeftButton);
  EXPECT_EQ(cardMismatches(canvas(), {robot.x, robot.y}, renderCardPicture(kBackRock)), 0);
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

TEST_F(WindowTest, CardsDrawnBetweenClicksStayUntilRepainted) {
  open();
  // A spot of felt that no seat, no board card and no fill ever touches.
  const QPoint spot(250, 370);
  form_->canvas().drawCard(spot.x(), spot.y(), 7);
  click(Button::CheckCall);
  click(Button::Fold);
  EXPECT_EQ(cardMismatches(canvas(), spot, renderCardPicture(7)), 0);
  form_->redraw();
  EXPECT_EQ(feltMismatches(canvas(), QRect(spot, QSize(kCardWidth, kCardHeight))), 0);
}

TEST_F(WindowWithoutPicture, AMissingTablePictureBeepsAndLeavesTheTableBlack) {
  open();
  EXPECT_EQ(beeps_, 1);
  const QImage c = canvas();
  const QImage black = [] {
    QImage i(370, 150, QImage::Format_RGB32);
    i.fill(Qt::black);
    return i;
  }();
  EXPECT_EQ(c.copy(toQRect(kBoardArea)), black);
  EXPECT_EQ(c.pixel(5, 5), qRgb(0, 0, 0));
  const TableState& t = form_->game().state();
  EXPECT_EQ(cardMismatches(c, {130, 355}, renderCardPicture(t.hole[0][1].imageIndex())), 0);
  EXPECT_EQ(cardMismatches(c, {info(Seat::Robot).cardSlot[1].x, info(Seat::Robot).cardSlot[1].y},
                           renderCardPicture(kBackDenim)),
            0);
  click(Button::Fold);  // fills are black too
  const QRect area = toQRect(info(Seat::Player).cardArea);
  QImage blackArea(area.size(), QImage::Format_RGB32);
  blackArea.fill(Qt::black);
  EXPECT_EQ(canvas().copy(area), blackArea);
  form_->redraw();
  EXPECT_EQ(beeps_, 2);
}

TEST_F(WindowWithoutPicture, ThePictureIsReadAnewAtEveryRepaint) {
  open();
  ASSERT_EQ(canvas().pixel(300, 210), qRgb(0, 0, 0));
  QFile::copy(QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp"), QStringLiteral("texas.bmp"));
  form_->redraw();
  EXPECT_EQ(feltMismatches(canvas(), toQRect(kBoardArea)), 0);
  EXPECT_EQ(beeps_, 1);
}

TEST_F(WindowWithoutPicture, ComingBackFromTheTaskBarRepaintsOnce) {
  open();
  ASSERT_EQ(beeps_, 1);
  form_->canvas().setPixel(300, 210, 0xFF00FF);
  form_->showMinimized();
  EXPECT_EQ(beeps_, 1);
  form_->showNormal();
  EXPECT_EQ(beeps_, 2);
  EXPECT_EQ(canvas().pixel(300, 210), qRgb(0, 0, 0));
}

TEST_F(WindowTest, ResizingRepaintsTheWholeTable) {
  open();
  form_->canvas().setPixel(300, 210, 0xFF00FF);
  form_->resize(form_->width() + 40, form_->height() + 30);
  EXPECT_EQ(canvas().pixel(300, 210), feltAt(300, 210));
}

// --- High pixel density ----------------------------------------------------

TEST_F(WindowTest, RatioTwoDrawsSharpCardsAtTheSameLogicalPlaces) {
  open(2.0);
  const QImage c = canvas();
  ASSERT_EQ(c.size(), QSize(1600, 1040));
  const TableState& t = form_->game().state();
  const QImage sharp = renderCardPicture(t.hole[0][1].imageIndex(), 2.0);
  // The human's second card, at (130, 355) logical, apart from its corners.
  std::set<std::pair<int, int>> corners;
  for (const QPoint p : cornerPixels(130, 355)) corners.insert({p.x(), p.y()});
  int bad = 0;
  for (int y = 0; y < 2 * kCardHeight; ++y)
    for (int x = 0; x < 2 * kCardWidth; ++x) {
      const int lx = 130 + x / 2, ly = 355 + y / 2;
      if (corners.count({lx, ly})) {
        bad += c.pixel(260 + x, 710 + y) != qRgb(0, 0, 0) ? 1 : 0;  // a whole logical pixel is black
      } else {
        bad += c.pixel(260 + x, 710 + y) != sharp.pixel(x, y) ? 1 : 0;
      }
    }
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(c.pixel(2 * 300, 2 * 210), feltAt(300, 210));
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

// --- Playing by mouse ------------------------------------------------------

// Plays the same clicks through the window and through a game of its own,
// with the same clock and a fresh settings file each; both must agree at
// every step, and the window must show exactly the game's view.
class SameGame : public WindowTest {
 protected:
  void SetUp() override {
    open();
    headless_ = std::make_unique<Game>(headlessSettings_, headlessDialogs_, nullCanvas_, clock_);
    ASSERT_TRUE(headless_->startUp());
    headless_->paintTable();  // the window's first paint
  }

  void expectSame(const std::string& step) {
    SCOPED_TRACE(step);
    const Game& g = form_->game();
    EXPECT_TRUE(g.state() == headless_->state());
    EXPECT_TRUE(g.view() == headless_->view());
    EXPECT_EQ(g.random().state(), headless_->random().state());
    EXPECT_EQ(dialogs_.boxes, headlessDialogs_.boxes);
    expectWidgetsShow(g.view());
  }

  void expectWidgetsShow(const TableView& v) {
    const char* cashNames[] = {"cash", "lblfcash", "lblgcash", "lblmcash", "lblccash", "lblpinhcash", "lblecash", "lblrcash"};
    const char* statusNames[] = {"playerstatus", "freakstatus",   "geekstatus",   "masterstatus",
                                 "champstatus",  "pinheadstatus", "expertstatus", "robotstatus"};
    for (int s = 0; s < kSeatCount; ++s) {
      EXPECT_EQ(find(cashNames[s])->text().toStdString(), v.cashText[s]);
      EXPECT_EQ(find(statusNames[s])->text().toStdString(), v.status[s]);
      EXPECT_EQ(find(statusNames[s])->palette().color(QPalette::WindowText),
                v.statusColor[s] == LabelColor::Yellow ? kYellow : kWhite)
          << statusNames[s];
    }
    EXPECT_EQ(find("theresult")->text().toStdString(), v.result);
    EXPECT_EQ(find("betsize")->text().toStdString(), v.potText);
    for (int b = 0; b < kButtonCount; ++b) EXPECT_EQ(form_->button(static_cast<Button>(b))->isEnabled(), v.enabled[b]);
    EXPECT_EQ(form_->button(Button::CheckCall)->text().toStdString(), v.stayCaption);
    // The panel is built the first time the options are opened.
    if (!form_->findChild<QFrame*>(QStringLiteral("Panel1"))) {
      EXPECT_FALSE(v.panelVisible);
      return;
    }
    EXPECT_EQ(find<QFrame>("Panel1")->isVisible(), v.panelVisible);
    EXPECT_EQ(find<QLineEdit>("money")->text().toStdString(), v.money);
    EXPECT_EQ(find<QLineEdit>("until")->text().toStdString(), v.until);
    EXPECT_EQ(find("Label3")->text().toStdString(), v.label3);
    EXPECT_EQ(find("Label4")->text().toStdString(), v.label4);
    EXPECT_EQ(form_->findChild<QButtonGroup*>(QStringLiteral("Levels"))->checkedId(), v.level);
    EXPECT_EQ(form_->findChild<QButtonGroup*>(QStringLiteral("cardbacks"))->checkedId(), v.backItem);
  }

  SettingsFile headlessSettings_{folder_.path("headless.ini")};
  RecordingDialogs headlessDialogs_;
  NullCanvas nullCanvas_;
  std::unique_ptr<Game> headless_;
};

TEST_F(SameGame, ButtonClicksPlayTheEnginesGame) {
  // A fixed mix of actions; a click on a disabled button is a click too.
  const Button pattern[] = {Button::CheckCall, Button::Raise, Button::CheckCall, Button::CheckCall, Button::Fold,
                            Button::Deal,      Button::CheckCall, Button::Raise,  Button::Deal,      Button::CheckCall};
  int deals = 0;
  for (int step = 0; step < 240; ++step) {
    Button b = pattern[step % std::size(pattern)];
    // Mostly play on: when the chosen button is off, take the first one on.
    if (!headless_->view().isEnabled(b) && step % 3 != 0) {
      for (int i = 0; i < kButtonCount; ++i)
        if (headless_->view().isEnabled(static_cast<Button>(i))) b = static_cast<Button>(i);
    }
    deals += b == Button::Deal && headless_->view().isEnabled(b) ? 1 : 0;
    click(b);
    headless_->click(b);
    expectSame("step " + std::to_string(step));
    if (HasFailure()) return;
  }
  EXPECT_GT(deals, 10);
  EXPECT_EQ(readFile(folder_.path("tavlor.ini")), readFile(folder_.path("headless.ini")));
}

TEST_F(SameGame, OptionsPanelAndMenuPlayTheEnginesGame) {
  const auto step = [&](const std::string& name, const std::function<void()>& byMouse,
                        const std::function<void(Game&)>& direct) {
    byMouse();
    direct(*headless_);
    expectSame(name);
  };
  QAction* options = form_->findChild<QAction*>(QStringLiteral("Options1"));
  step("options", [&] { options->trigger(); }, [](Game& g) { g.Options1Click(); });
  QLineEdit* money = find<QLineEdit>("money");
  step("money",
       [&] {
         money->selectAll();
         QTest::keyClicks(money, QStringLiteral("5000"));
       },
       [](Game& g) {
         for (const char* text : {"5", "50", "500", "5000"}) g.setMoneyText(text);
       });
  step("enter", [&] { QTest::mouseClick(find<QPushButton>("enter"), Qt::LeftButton); },
       [](Game& g) { g.enterClick(); });
  ASSERT_EQ(form_->game().state().initialCash, 5000);
  QLineEdit* until = find<QLineEdit>("until");
  step("until",
       [&] {
         until->selectAll();
         QTest::keyClicks(until, QStringLiteral("x9"));
       },
       [](Game& g) {
         g.setUntilText("x");
         g.setUntilText("x9");
       });
  step("unenter", [&] { QTest::mouseClick(find<QPushButton>("unenter"), Qt::LeftButton); },
       [](Game& g) { g.unenterClick(); });
  EXPECT_EQ(dialogs_.boxes.back().text, "Invalid value");
  QToolButton* up = find<QToolButton>("up");
  QToolButton* down = find<QToolButton>("down");
  step("down at 1", [&] { QTest::mouseClick(down, Qt::LeftButton); }, [](Game& g) { g.betchange(-1); });
  EXPECT_EQ(find("Label3")->text(), QStringLiteral("2"));
  for (int i = 0; i < 6; ++i)
    step("up " + std::to_string(i), [&] { QTest::mouseClick(up, Qt::LeftButton); }, [](Game& g) { g.betchange(+1); });
  EXPECT_EQ(find("Label3")->text(), QStringLiteral("10"));
  EXPECT_EQ(find("Label4")->text(), QStringLiteral("20"));
  step("down", [&] { QTest::mouseClick(down, Qt::LeftButton); }, [](Game& g) { g.betchange(-1); });
  EXPECT_EQ(find("Label4")->text(), QStringLiteral("16"));
  step("level", [&] { QTest::mouseClick(find<QRadioButton>("Levels3"), Qt::LeftButton); },
       [](Game& g) { g.selectLevel(3); });
  step("back", [&] { QTest::mouseClick(find<QRadioButton>("cardbacks3"), Qt::LeftButton); },
       [](Game& g) { g.Changeback(3); });
  step("close", [&] { QTest::mouseClick(find<QPushButton>("Close"), Qt::LeftButton); },
       [](Game& g) { g.CloseClick(); });
  headless_->paintTable();  // the window repainted the table under the panel
  step("call", [&] { click(Button::CheckCall); }, [](Game& g) { g.click(Button::CheckCall); });
  dialogs_.answerYes = headlessDialogs_.answerYes = false;
  QAction* newGame = form_->findChild<QAction*>(QStringLiteral("NewGame1"));
  step("new game, no", [&] { newGame->trigger(); }, [](Game& g) { g.NewGame1Click(); });
  dialogs_.answerYes = headlessDialogs_.answerYes = true;
  step("new game, yes", [&] { newGame->trigger(); }, [](Game& g) { g.NewGame1Click(); });
  EXPECT_EQ(form_->game().state().cashOf(Seat::Freak), 5000);
  for (int i = 0; i < 30; ++i) {
    const Button b = headless_->view().isEnabled(Button::Deal) ? Button::Deal : Button::Raise;
    step("play " + std::to_string(i), [&] { click(b); }, [b](Game& g) { g.click(b); });
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace holdem

int main(int argc, char** argv) {
  // The window needs a GUI application; none of the tests needs a screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  holdem::installFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
