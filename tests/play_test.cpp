// The flow of play where the recorded games cannot reach or cannot tell
// which rule went wrong: set-ups past the front door, and the draws that
// show exactly which seats decided.
#include <gtest/gtest.h>

#include <functional>

#include "game/settings_keys.h"
#include "test_support.h"

namespace holdem {
namespace {

using testing::StartedTable;
using testing::Table;

// The generator as it stands after `draws` more numbers.
uint64_t after(Random r, int draws) {
  for (int i = 0; i < draws; ++i) r.nextRandom();
  return r.state();
}

// Starts tables at clocks 1, 2, ... and plays `setUp` on each until `wanted`
// holds; the table is left in that state. Fails the test when none does.
std::unique_ptr<Table> findTable(const std::function<void(Game&)>& setUp,
                                 const std::function<bool(const Table&)>& wanted, int tries = 2000) {
  for (int clock = 1; clock <= tries; ++clock) {
    auto table = std::make_unique<Table>(clock);
    if (!table->start()) break;
    setUp(*table->game);
    if (wanted(*table)) return table;
  }
  ADD_FAILURE() << "no clock up to " << tries << " gives the wanted table";
  return nullptr;
}

// The big blind moves one seat down at each deal and wraps from Robot to the
// human; the seats after it answer it. With Robot on it (the eighth deal)
// nobody acts before the human: only the shuffle draws.
TEST(DealStart, BigBlindMovesOneSeatOnAndNobodyActsBeforeTheHumanWhenRobotHasIt) {
  StartedTable table(77);
  const TableState& t = table.game->state();
  std::vector<int> seats;
  for (int deal = 0; deal < 10; ++deal) {
    table.game->click(Button::Fold);
    const Random before = table.random();
    table.game->click(Button::Deal);
    seats.push_back(t.bigBlindSeat);
    if (t.bigBlindSeat != 1) continue;
    EXPECT_EQ(table.random().state(), after(before, 2 * kShuffleSwaps));
    EXPECT_EQ(table.status(Seat::Expert), "small blind");
    EXPECT_EQ(table.status(Seat::Robot), "big blind");
    EXPECT_TRUE(t.raised[index(Seat::Robot)]);
  }
  EXPECT_EQ(seats, (std::vector<int>{8, 7, 6, 5, 4, 3, 2, 1, 8, 7}));
}

TEST(DealStart, DealEndsTheGameWhenTheHumanOrEveryOpponentIsBroke) {
  MemorySettings::Values opponentsBroke;
  for (Seat s : kOpponents) opponentsBroke[MemorySettings::name("Cash", info(cashSetting(s)).name.key)] = 0;
  const std::pair<MemorySettings::Values, const char*> cases[] = {{{{"Cash/player", 0}}, "You lose!"},
                                                                  {opponentsBroke, "You win!"}};
  for (const auto& [values, box] : cases) {
    StartedTable table(151, values);
    table.game->click(Button::Fold);
    table.dialogs.boxes.clear();
    table.settings.written.clear();
    table.game->click(Button::Deal);
    EXPECT_EQ(table.dialogs.boxes, (std::vector<testing::Box>{{box, "Game over", BoxButtons::Ok}}));
    EXPECT_EQ(table.view().enabled, (std::array<bool, kButtonCount>{}));
    EXPECT_EQ(table.settings.written.size(), size_t{kSavedAtEachDeal});  // the chips are saved first
  }
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

TEST(Driver, RaiseWithOneChipOrLessIsIgnored) {
  StartedTable table(51);
  table.setCash(Seat::Player, 1);
  table.state().potAwarded = true;
  const TableState before = table.game->state();
  const Random random = table.random();
  table.game->click(Button::Raise);
  TableState expected = before;
  expected.potAwarded = false;
  EXPECT_TRUE(table.game->state() == expected);
  EXPECT_EQ(table.random().state(), random.state());
}

// A seventh fold pays the human at once and leaves only Deal; when that
// reaches the target, the game is over.
TEST(Opponents, SeventhFoldPaysTheHumanAtOnce) {
  for (const bool reachesTarget : {false, true}) {
    auto table = findTable(
        [reachesTarget](Game& g) {
          if (reachesTarget) GameTesting::state(g).untilTarget = 1;
          g.click(Button::Raise);
        },
        [](const Table& t) { return t.game->state().foldCount == kOpponentCount; });
    ASSERT_TRUE(table);
    const TableState& t = table->game->state();
    EXPECT_EQ(table->view().result, "you win    ");
    EXPECT_EQ(t.handsPlayed, 1);
    EXPECT_EQ(t.handsWon, 1);
    EXPECT_EQ(t.cashOf(Seat::Player), 1200 - 4 + t.pot);
    EXPECT_EQ(table->view().enabled, (std::array<bool, kButtonCount>{!reachesTarget, false, false, false}));
    EXPECT_EQ(table->dialogs.texts(),
              reachesTarget ? std::vector<std::string>{"You win!"} : std::vector<std::string>{});
  }
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

// A seat that calls with exactly its chips is out of the deal: its turn
// then changes nothing, not even its label, and draws nothing.
TEST(Opponents, CallWithExactlyTheBetLeavesZeroAndTheSeatIsSkippedAfter) {
  StartedTable table(91);
  TableState& t = table.state();
  t.hole[index(Seat::Geek)] = {Card{0, kAce}, Card{1, kAce}};  // never folds before the flop
  table.setCash(Seat::Geek, 2);
  t.currentBet = 2;
  const int32_t pot = t.pot;
  table.opponentRespond(seatNumber(Seat::Geek));
  EXPECT_EQ(t.cashOf(Seat::Geek), 0);
  EXPECT_EQ(t.pot, pot + 2);
  EXPECT_EQ(table.status(Seat::Geek), "Calls");
  const TableState before = t;
  const Random random = table.random();
  table.opponentTurn(seatNumber(Seat::Geek));
  EXPECT_TRUE(t == before);
  EXPECT_EQ(table.random().state(), random.state());
}

// Robot raises on the river with a straight: nobody answers after it, the
// earlier labels are cleared, the human may only call, and the raise is not
// limited by Robot's chips.
TEST(Opponents, RobotsRaiseIsAnsweredByNobodyAndIsNotLimitedByTheChips) {
  for (const int32_t cash : {500, 3}) {
    StartedTable table(111);
    TableState& t = table.state();
    t.bettingRound = kRiver;
    t.closingSeat = 8;
    t.folded.fill(false);
    t.board = {Card{0, kFour}, Card{1, kFive}, Card{2, kSix}, Card{3, kJack}, Card{0, kQueen}};
    t.hole[index(Seat::Robot)] = {Card{1, kSeven}, Card{2, kEight}};
    for (int tries = 0; tries < 5 && table.status(Seat::Robot) != "Raises"; ++tries) {
      table.setCash(Seat::Robot, cash);
      table.opponentTurn(1);  // a chance of 100 still misses on a draw of 0
    }
    ASSERT_EQ(table.status(Seat::Robot), "Raises");
    for (Seat s : kOpponents) EXPECT_EQ(table.status(s), s == Seat::Robot ? "Raises" : "") << info(s).name;
    EXPECT_EQ(table.view().statusColor[index(Seat::Robot)], LabelColor::Yellow);
    EXPECT_EQ(table.view().stayCaption, "Call");
    EXPECT_FALSE(table.view().isEnabled(Button::Raise));
    EXPECT_EQ(std::count(t.raised.begin(), t.raised.end(), true), 1);
    EXPECT_TRUE(t.raised[index(Seat::Robot)]);
    EXPECT_EQ(t.cashOf(Seat::Robot), cash - 4);
    EXPECT_EQ(t.currentBet, 4);
  }
}

// The closing seat's turn moves the round on even when the seat can no
// longer act (folded, or out of chips); on the river that is the showdown.
TEST(Opponents, TurnOfAClosingSeatThatCannotActStillMovesTheRoundOn) {
  for (const bool broke : {false, true}) {
    StartedTable table(121);
    TableState& t = table.state();
    t.bettingRound = broke ? kFlop : kRiver;
    t.closingSeat = 3;
    broke ? table.setCash(Seat::Pinhead, 0) : void(t.folded[index(Seat::Pinhead)] = true);
    t.currentBet = 9;
    const Random random = table.random();
    table.opponentTurn(3);
    EXPECT_EQ(table.random().state(), random.state());
    EXPECT_EQ(t.bettingRound, broke ? kTurn : kDealOver);
    EXPECT_EQ(t.potAwarded, !broke);
    EXPECT_EQ(t.currentBet, 9);
    EXPECT_EQ(table.status(Seat::Pinhead), "");
    EXPECT_EQ(table.view().isEnabled(Button::Deal), !broke);
  }
}

}  // namespace
}  // namespace holdem
