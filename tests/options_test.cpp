// The options panel and the Game menu's New game: the texts of the edit
// boxes, what a failed save leaves, and a New game that does not start.
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
  for (const auto& [yes, money] : {std::pair{false, "1200"}, {true, "12.5"}}) {
    StartedTable table(4);
    table.game->click(Button::CheckCall);
    table.dialogs.answerYes = yes;
    table.game->setMoneyText(money);
    const TableState before = table.game->state();
    table.game->newGame();
    EXPECT_EQ(table.dialogs.boxes.size(), yes ? 2u : 1u);
    EXPECT_TRUE(table.game->state() == before);
    Random reseeded;
    reseeded.seed(4);
    EXPECT_EQ(table.random().state(), reseeded.state());
  }
}

}  // namespace
}  // namespace holdem
