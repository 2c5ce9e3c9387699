// What screen readers learn from the table window through Qt's
// accessibility interfaces: names and descriptions of the buttons and
// labels, and the table canvas telling the cards as they lie.
#include <QAccessible>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <array>
#include <optional>

#include "table_window_fixture.h"
#include "ui/card_art.h"
#include "game/cards_on_table.h"
#include "ui/table_description.h"

namespace holdem::uitest {
namespace {

QAccessibleInterface* accessible(QObject* o) {
  QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
  EXPECT_NE(i, nullptr);
  return i;
}
std::string nameOf(QObject* o) { return accessible(o)->text(QAccessible::Name).toStdString(); }
std::string descriptionOf(QObject* o) { return accessible(o)->text(QAccessible::Description).toStdString(); }

// --- Card names and the sentences, from plain data ---------------------------

TEST(TableDescription, CardNames) {
  EXPECT_EQ(cardName(0).toStdString(), "Two of clubs");
  EXPECT_EQ(cardName(12).toStdString(), "Ace of clubs");
  EXPECT_EQ(cardName(13 + 9).toStdString(), "Jack of diamonds");
  EXPECT_EQ(cardName(26 + 8).toStdString(), "Ten of hearts");
  EXPECT_EQ(cardName(39 + 10).toStdString(), "Queen of spades");
  EXPECT_EQ(cardName(51).toStdString(), "Ace of spades");
  EXPECT_EQ(cardName(Card{3, 11}.imageIndex()).toStdString(), "King of spades");
  for (int back = 52; back < 56; ++back) EXPECT_EQ(cardName(back).toStdString(), "a card face down");
  EXPECT_TRUE(cardName(-1).isEmpty());
  EXPECT_TRUE(cardName(56).isEmpty());
}

// A deal in its first round: every seat in with chips.
TableState firstRound() {
  TableState t;
  t.cash.fill(1000);
  for (int s = 0; s < kSeatCount; ++s) t.hole[s] = {Card{s % 4, s}, Card{(s + 1) % 4, 12 - s}};
  t.board = {Card{0, 0}, Card{1, 5}, Card{2, 9}, Card{3, 11}, Card{0, 12}};
  return t;
}

TEST(TableDescription, FirstRoundFromTheState) {
  const TableState t = firstRound();
  const TableView v;
  EXPECT_EQ(
      describeTable(tableShownBy(t), t, v).toStdString(),
      "Your cards: Two of clubs, Ace of diamonds. No community cards. "
      "Freak holds two cards face down. Geek holds two cards face down. Master holds two cards face down. "
      "Champ holds two cards face down. Pinhead holds two cards face down. Expert holds two cards face down. "
      "Robot holds two cards face down.");
}

TEST(TableDescription, ShowdownNamesEveryShownHand) {
  TableState t = firstRound();
  t.bettingRound = kDealOver;
  t.folded[index(Seat::Geek)] = true;
  t.cashOf(Seat::Champ) = 0;
  TableView v;
  v.status[index(Seat::Player)] = "One pair Aces";
  v.status[index(Seat::Freak)] = "Ace";
  v.status[index(Seat::Geek)] = "fold";
  const std::string text = describeTable(tableShownBy(t), t, v).toStdString();
  EXPECT_NE(text.find("Your cards: Two of clubs, Ace of diamonds, One pair Aces. "), std::string::npos)
      << text;
  EXPECT_NE(
      text.find("Board: Two of clubs, Seven of diamonds, Jack of hearts, King of spades, Ace of clubs. "),
      std::string::npos)
      << text;
  EXPECT_NE(text.find("Freak shows Three of diamonds, King of hearts, Ace. "), std::string::npos) << text;
  EXPECT_NE(text.find("Geek has folded. "), std::string::npos) << text;
  EXPECT_NE(text.find("Master shows Five of spades, Jack of clubs. "), std::string::npos) << text;
  EXPECT_NE(text.find("Champ is out of chips. "), std::string::npos) << text;
  EXPECT_NE(text.find("Robot shows Nine of spades, Seven of clubs."), std::string::npos) << text;
}

TEST(TableDescription, TheLastOpponentAfterYourFoldKeepsItsCardsHidden) {
  TableState t = firstRound();
  t.bettingRound = kDealOver;
  t.folded.fill(true);
  t.folded[index(Seat::Robot)] = false;
  t.foldCount = 6;
  const std::string text = describeTable(tableShownBy(t), t, TableView{}).toStdString();
  EXPECT_EQ(text,
            "You have folded. No community cards. Freak has folded. Geek has folded. Master has folded. "
            "Champ has folded. Pinhead has folded. Expert has folded. Robot holds two cards face down.");
}

// What lies on the table counts, not what the state would draw now: a flop
// that nobody took away is still seen.
TEST(TableDescription, TellsTheCardsThatLieThereEvenWhenTheStateWouldNotDrawThem) {
  TableState t = firstRound();
  t.cashOf(Seat::Player) = 0;
  TableShown shown;
  shown.board = {0, 18, 35, TableShown::kNone, TableShown::kNone};
  shown.seats[index(Seat::Freak)] = {kBackRock, kBackRock};
  shown.seats[index(Seat::Geek)] = {kBackCloth, TableShown::kNone};
  shown.seats[index(Seat::Master)] = {51, kBackDenim};
  const std::string text = describeTable(shown, t, TableView{}).toStdString();
  EXPECT_EQ(text,
            "You have no chips. Board: Two of clubs, Seven of diamonds, Jack of hearts. "
            "Freak holds two cards face down. Geek holds a card face down. "
            "Master holds Ace of spades and a card face down. Champ holds no cards. Pinhead holds no cards. "
            "Expert holds no cards. Robot holds no cards.");
}

// --- The record of the cards on the table -------------------------------------

class CountingCanvas final : public Canvas {
 public:
  void fillTable(const Rect&) override { ++fills; }
  void drawCard(int, int, int) override { ++cards; }
  void setPixel(int, int, uint32_t) override { ++pixels; }
  int fills = 0, cards = 0, pixels = 0;
};

TEST(CardsOnTable, RemembersCardsUntilAFillCoversThemWhole) {
  CountingCanvas target;
  CardsOnTable table(target);
  const Point human0 = info(Seat::Player).cardSlot[0], human1 = info(Seat::Player).cardSlot[1];
  table.drawCard(human0.x, human0.y, 7);
  table.drawCard(human1.x, human1.y, 40);
  table.setPixel(human0.x, human0.y, 0);
  EXPECT_EQ(target.cards, 2);
  EXPECT_EQ(target.pixels, 1);
  EXPECT_EQ(table.pictureAt(human0), 7);
  EXPECT_EQ(table.pictureAt(human1), 40);
  EXPECT_EQ(table.pictureAt(Point{human0.x + 1, human0.y}), -1);

  // A card on the same place replaces the one under it.
  table.drawCard(human0.x, human0.y, kBackLeather);
  EXPECT_EQ(table.pictureAt(human0), kBackLeather);
  // Pictures the canvas does not draw are not on the table.
  table.drawCard(10, 10, 56);
  table.drawCard(20, 20, -1);
  EXPECT_EQ(table.pictureAt(Point{10, 10}), -1);
  EXPECT_EQ(table.pictureAt(Point{20, 20}), -1);

  // A fill over part of a card leaves it; a fill of the seat's area takes both.
  table.fillTable(Rect{human0.x, human0.y, human0.x + 40, human0.y + 96});
  EXPECT_EQ(table.pictureAt(human0), kBackLeather);
  table.fillTable(info(Seat::Player).cardArea);
  EXPECT_EQ(table.pictureAt(human0), -1);
  EXPECT_EQ(table.pictureAt(human1), -1);
  EXPECT_EQ(target.fills, 2);

  table.drawCard(kBoardSlots[0].x, kBoardSlots[0].y, 3);
  table.clear();
  EXPECT_EQ(table.pictureAt(kBoardSlots[0]), -1);
}

// --- The window ------------------------------------------------------------------

// Reads the cards off the canvas's pixels: at every card place of the layout,
// the picture whose visible part the canvas shows there, or -1.
class PixelReader {
 public:
  PixelReader() {
    for (int i = 0; i < kCardPictureCount; ++i) pictures_[i] = renderCardPicture(i);
  }

  TableShown read(const QImage& canvas) const {
    return tableShownAt([&](Point at) { return pictureAt(canvas, at); });
  }

 private:
  // The left 35 columns of a card show wherever it lies, whatever the layout
  // puts over it; the corners are rounded off.
  int pictureAt(const QImage& canvas, Point at) const {
    for (int i = 0; i < kCardPictureCount; ++i) {
      bool same = true;
      for (int dy = 2; dy < kCardHeight - 2 && same; ++dy)
        for (int dx = 2; dx < 35 && same; ++dx)
          same = canvas.pixel(at.x + dx, at.y + dy) == pictures_[i].pixel(dx, dy);
      if (same) return i;
    }
    return -1;
  }
  std::array<QImage, kCardPictureCount> pictures_;
};

class Accessibility : public OpenTable {
 protected:
  void SetUp() override { open(); }
  std::string table() const { return descriptionOf(&form_->canvas()); }
  // The description that the canvas's pixels call for.
  std::string seen() const {
    return describeTable(reader_.read(canvas()), form_->game().state(), form_->game().view()).toStdString();
  }

  PixelReader reader_;
};

// From the start, through a long stretch of play with flops, folds, deals
// and showdowns, the canvas always tells what its pixels show.
TEST_F(Accessibility, TheTableAlwaysTellsWhatItsPixelsShow) {
  EXPECT_EQ(nameOf(&form_->canvas()), "Table");
  EXPECT_EQ(table(), seen());
  const Button pattern[] = {Button::CheckCall, Button::Raise,     Button::CheckCall,
                            Button::Fold,      Button::Deal,      Button::CheckCall,
                            Button::CheckCall, Button::CheckCall, Button::Deal};
  int folds = 0, flops = 0, showdowns = 0;
  for (int step = 0; step < 90; ++step) {
    Button b = pattern[step % std::size(pattern)];
    const TableView& v = form_->game().view();
    if (!v.isEnabled(b)) b = v.isEnabled(Button::Deal) ? Button::Deal : Button::CheckCall;
    click(b);
    folds += b == Button::Fold;
    flops += form_->game().state().bettingRound == kFlop;
    showdowns += std::any_of(kOpponents.begin(), kOpponents.end(), [&](Seat s) {
      return cardsShown(form_->game().state(), s) == CardsShown::Up;
    });
    ASSERT_EQ(table(), seen()) << "step " << step;
  }
  EXPECT_GT(folds, 3);
  EXPECT_GT(flops, 3);
  EXPECT_GT(showdowns, 3);

  // A whole repaint, as on coming back from the task bar, tells the same.
  form_->redraw();
  EXPECT_EQ(table(), seen());
}

// Each button's name, role and state, and its key in its description and
// its tooltip.
TEST_F(Accessibility, ButtonsHaveNamesDescriptionsAndKeys) {
  const struct {
    Button button;
    const char* name;
    const char* key;
  } cases[] = {{Button::Deal, "Deal", "(D)"},
               {Button::CheckCall, "Call", "(C)"},
               {Button::Raise, "Raise", "(R)"},
               {Button::Fold, "Fold", "(F)"}};
  for (const auto& c : cases) {
    QPushButton* b = form_->button(c.button);
    EXPECT_EQ(nameOf(b), c.name);
    EXPECT_EQ(accessible(b)->role(), QAccessible::Button);
    const std::string d = descriptionOf(b);
    EXPECT_GT(d.size(), 10u) << c.name;
    EXPECT_NE(d.find(c.key), std::string::npos) << d;
    EXPECT_TRUE(b->toolTip().endsWith(QString::fromLatin1(c.key))) << b->toolTip().toStdString();
    EXPECT_EQ(TableWindow::shortcut(c.button), QKeySequence(QString(QChar::fromLatin1(c.key[1])))) << c.name;
    EXPECT_EQ(accessible(b)->state().disabled, !b->isEnabled()) << c.name;
  }
  click(Button::Fold);
  click(Button::Deal);
  // A fresh deal: the human speaks first and may check or call as the blinds fall.
  EXPECT_EQ(nameOf(form_->button(Button::CheckCall)), form_->button(Button::CheckCall)->text().toStdString());
}

TEST_F(Accessibility, LabelsSayWhoseChipsAndWhatAction) {
  EXPECT_EQ(nameOf(find("lblfcash")), "Freak's chips: 1200");
  EXPECT_EQ(nameOf(find("cash")), "Your chips: 1200");
  EXPECT_EQ(nameOf(find("lblecash")), "Expert's chips: 1199");
  EXPECT_EQ(descriptionOf(find("lblfcash")), "The chips Freak holds");
  EXPECT_EQ(nameOf(find("expertstatus")), "Expert: small blind");
  EXPECT_EQ(nameOf(find("robotstatus")), "Robot: big blind");
  EXPECT_EQ(nameOf(find("freakstatus")), "Freak has not acted");
  EXPECT_EQ(nameOf(find("playerstatus")), "You have not acted");
  EXPECT_EQ(nameOf(find("freakcash")), "Freak");
  EXPECT_EQ(nameOf(find("Label2")), "You");
  EXPECT_EQ(nameOf(find("betsize")), "Pot: 3");
  EXPECT_EQ(nameOf(find("potttt")), "Pot");
  EXPECT_EQ(nameOf(find("theresult")), "No result yet");
  EXPECT_FALSE(descriptionOf(find("theresult")).empty());
  for (const char* status : {"freakstatus", "geekstatus", "masterstatus", "champstatus", "pinheadstatus",
                             "expertstatus", "robotstatus", "playerstatus"})
    EXPECT_FALSE(descriptionOf(find(status)).empty()) << status;

  // They follow the game.
  click(Button::Fold);
  const TableView& v = form_->game().view();
  EXPECT_EQ(nameOf(find("playerstatus")), "You: " + v.status[0]);
  EXPECT_EQ(nameOf(find("cash")), "Your chips: " + v.cashText[0]);
  EXPECT_EQ(nameOf(find("betsize")), "Pot: " + v.potText);
  ASSERT_FALSE(v.result.empty());
  EXPECT_EQ(nameOf(find("theresult")), QString::fromStdString(v.result).trimmed().toStdString());
}

TEST_F(Accessibility, TheOptionsAreNamed) {
  form_->optionsPanel();  // built, still hidden
  const std::pair<const char*, const char*> names[] = {
      {"Panel1", "Options"},           {"money", "Initial cash"},
      {"enter", "Enter initial cash"}, {"until", "Play until someone wins"},
      {"unenter", "Enter target"},     {"down", "Lower betting limits"},
      {"up", "Higher betting limits"}, {"Close", "Close"},
      {"Label3", "Small bet: $2"},     {"Label4", "Big bet: $4"},
      {"Levels2", "Master"},           {"cardbacks3", "Leather"},
  };
  for (const auto& [object, name] : names) {
    EXPECT_EQ(nameOf(find(object)), name) << object;
    EXPECT_FALSE(descriptionOf(find(object)).empty()) << object;
  }
  EXPECT_EQ(accessible(find("money"))->role(), QAccessible::EditableText);
  QTest::mouseClick(find<QToolButton>("up"), Qt::LeftButton);
  EXPECT_EQ(nameOf(find("Label3")), "Small bet: $4");
  EXPECT_EQ(nameOf(find("Label4")), "Big bet: $8");
}

}  // namespace
}  // namespace holdem::uitest
