// The options panel and the Game menu's New game: the texts of the edit
// boxes, what is taken and saved, and what a failed save leaves.
#include <gtest/gtest.h>

#include "test_support.h"

namespace holdem {
namespace {

using testing::StartedTable;

TEST(WholeNumber, OnlySignAndAsciiDigitsWithin32Bits) {
  // clang-format off
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"100", 100}, {"+100", 100}, {"-5", -5}, {"007", 7}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
      {"2147483648", {}}, {"", {}}, {"+", {}}, {" 100", {}}, {"100 ", {}}, {"1.5", {}}, {"0x64", {}}, {"+-1", {}},
      {"\xd9\xa1", {}},
  };
  // clang-format on
  for (const auto& [text, value] : cases) EXPECT_EQ(parseWholeNumber(text), value) << '"' << text << '"';
}

TEST(Options, FailedSaveOfTheInitialCashLeavesTheStacks) {
  StartedTable table(4);
  table.settings.failWrites = true;
  table.game->setMoneyText("5000");
  table.game->enterInitialCash();
  EXPECT_EQ(table.dialogs.texts(), (std::vector<std::string>{"New initial cash value confirmation",
                                                             "Unable to write to /somewhere/tavlor.ini"}));
  EXPECT_EQ(table.game->state().cashOf(Seat::Freak), 1200);
}

// New game answered No, or with an initial cash that is no whole number,
// changes nothing but the generator, which the question's clock reseeds.
TEST(NewGame, AnsweredNoOrWithoutAWholeNumberChangesNothing) {
  const struct {
    bool yes;
    const char* money;
    std::vector<std::string> boxes;
  } cases[] = {{false, "1200", {"Are you sure?"}}, {true, "12.5", {"Are you sure?", "Invalid value"}}};
  for (const auto& c : cases) {
    StartedTable table(4);
    Game& g = *table.game;
    g.click(Button::CheckCall);
    table.dialogs.answerYes = c.yes;
    g.setMoneyText(c.money);
    const TableState before = g.state();
    const TableView viewBefore = g.view();
    g.newGame();
    EXPECT_EQ(table.dialogs.texts(), c.boxes);
    EXPECT_EQ(table.dialogs.boxes[0].caption, "New game");
    EXPECT_EQ(table.dialogs.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_TRUE(g.state() == before);
    EXPECT_TRUE(g.view() == viewBefore);
    Random reseeded;
    reseeded.seed(4);
    EXPECT_EQ(table.random().state(), reseeded.state());
  }
}

}  // namespace
}  // namespace holdem
