// The flow of play where the recorded games cannot reach or cannot tell
// which rule went wrong: what lies on the table, and set-ups past the front
// door.
#include <gtest/gtest.h>

#include "game/settings_keys.h"
#include "test_support.h"

namespace holdem {
namespace {

using testing::StartedTable;

// A card laid on the very place of another hides it; cards laid elsewhere,
// overlapping or not, leave it showing; a picture that does not exist is
// drawn nowhere and hides nothing.
TEST(CardsOnTable, ACardHidesOnlyTheCardAtItsVeryPlace) {
  NullCanvas canvas;
  CardsOnTable onTable(canvas);
  onTable.drawCard(100, 100, 5);
  onTable.drawCard(50, 100, 6);
  onTable.drawCard(100, 50, 7);
  onTable.drawCard(100, 100, kCardPictureCount);
  onTable.drawCard(60, 60, -1);
  EXPECT_EQ(onTable.pictureAt({100, 100}), 5);
  EXPECT_EQ(onTable.pictureAt({50, 100}), 6);
  onTable.drawCard(50, 100, 8);
  EXPECT_EQ(onTable.pictureAt({50, 100}), 8);
  EXPECT_EQ(onTable.pictureAt({60, 60}), -1);
}

// An opponent out of chips takes no part in later deals, and from the next
// deal on its place shows no cards, not the ones it last held.
TEST(DealStart, SeatOutOfChipsShowsNoCardsFromTheNextDealOn) {
  MemorySettings::Values fewChips;
  for (Seat s : kOpponents) fewChips[MemorySettings::name("Cash", info(cashSetting(s)).name.key)] = 5;
  StartedTable table(17, fewChips);
  Game& g = *table.game;
  g.paintTable();  // the window's first paint
  int staleSeats = 0;
  for (int i = 0; i < 300 && (g.view().isEnabled(Button::Deal) || g.view().isEnabled(Button::Fold)); ++i) {
    if (!g.view().isEnabled(Button::Deal)) {
      g.click(i % 4 == 0 ? Button::Raise : Button::CheckCall);
      continue;
    }
    std::vector<Seat> out;
    for (Seat s : kOpponents) {
      if (g.state().cashOf(s) > 0) continue;
      out.push_back(s);
      staleSeats += table.onTable.pictureAt(info(s).cardSlot[0]) != -1;
    }
    g.click(Button::Deal);
    for (Seat s : out)
      for (const Point at : info(s).cardSlot) EXPECT_EQ(table.onTable.pictureAt(at), -1) << info(s).name;
    if (g.view().isEnabled(Button::Fold)) {
      EXPECT_EQ(testing::cardsMissing(table.onTable, g.state()), std::vector<std::string>{});
    }
  }
  EXPECT_GT(staleSeats, 0);  // some seat ran out with its cards on the table
}

}  // namespace
}  // namespace holdem
