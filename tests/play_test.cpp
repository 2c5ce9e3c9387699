// The flow of play where the recorded games cannot reach or cannot tell
// which rule went wrong: set-ups past the front door, and the draws that
// show exactly which seats decided.
#include <gtest/gtest.h>

#include "game/settings_keys.h"
#include "test_support.h"

namespace holdem {
namespace {

using testing::StartedTable;

// The generator as it stands after `draws` more numbers.
uint64_t after(Random r, int draws) {
  for (int i = 0; i < draws; ++i) r.nextRandom();
  return r.state();
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

// At start-up Robot's big blind is open: the human's call pays the bet, and
// every opponent, Robot included, answers it, each with two draws; nobody
// takes a turn after Robot, and the flop comes.
TEST(Driver, PreFlopCallSettlesAFlaggedBigBlind) {
  StartedTable table(31);
  const TableState& t = table.game->state();
  const int32_t cash = t.cashOf(Seat::Player);
  const Random before = table.random();
  ASSERT_TRUE(t.raised[index(Seat::Robot)]);
  table.game->click(Button::CheckCall);
  ASSERT_LT(t.foldCount, kOpponentCount);
  EXPECT_EQ(table.random().state(), after(before, 2 * kOpponentCount));
  EXPECT_EQ(t.cashOf(Seat::Player), cash - t.smallBet);
  for (Seat s : kOpponents)
    EXPECT_TRUE(table.status(s) == "Calls" || table.status(s) == "Folds") << info(s).name;
  EXPECT_FALSE(t.raised[index(Seat::Robot)]);
  EXPECT_EQ(t.bettingRound, kFlop);
  EXPECT_EQ(table.view().stayCaption, "Check");
}

// A fold while Champ's raise is open: only Freak, Geek and Master, the seats
// between the human and Champ, answer it; Champ and the seats after it never
// decide, and the showdown draws nothing.
TEST(Driver, FoldWithARaiseOpenLetsOnlyTheSeatsBeforeTheRaiserAnswer) {
  StartedTable table(71);
  TableState& t = table.state();
  t.raised.fill(false);
  t.raised[index(Seat::Champ)] = true;
  const Random before = table.random();
  table.game->click(Button::Fold);
  EXPECT_EQ(table.random().state(), after(before, 2 * 3));
  for (Seat s : {Seat::Champ, Seat::Pinhead, Seat::Expert, Seat::Robot}) EXPECT_FALSE(t.folded[index(s)]);
  EXPECT_EQ(t.raised, PerSeat<bool>{});
  EXPECT_EQ(t.bettingRound, kDealOver);
  EXPECT_EQ(table.view().enabled, (std::array<bool, kButtonCount>{true, false, false, false}));
}

// A folding closing seat hands the closing to the next seat down that is
// still in with chips, or to the human.
TEST(Opponents, FoldingClosingSeatHandsTheClosingOn) {
  const struct {
    int closing;
    std::vector<int> outSeats;  // odd: folded; even: broke
    int expected;
  } cases[] = {{1, {}, 8}, {4, {}, 3}, {4, {3}, 2}, {4, {3, 2, 1}, 8}, {7, {6, 5, 4, 3, 2}, 1}};
  for (const auto& c : cases) {
    StartedTable table(81);
    TableState& t = table.state();
    for (int n : c.outSeats) {
      if (n % 2) {
        t.folded[index(seatAt(n))] = true;
      } else {
        table.setCash(seatAt(n), 0);
      }
    }
    t.closingSeat = c.closing;
    t.currentBet = 5000;  // more than the seat's chips: it folds
    table.opponentRespond(c.closing);
    EXPECT_TRUE(t.folded[index(seatAt(c.closing))]);
    EXPECT_EQ(t.closingSeat, c.expected) << "closing " << c.closing;
  }
}

}  // namespace
}  // namespace holdem
