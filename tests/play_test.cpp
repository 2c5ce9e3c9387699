// The flow of play where the recorded games cannot reach or cannot tell
// which rule went wrong: what lies on the table, and set-ups past the front
// door.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace holdem
