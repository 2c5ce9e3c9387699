// The flow of play: deal start, the human's buttons and the opponents'
// answers, driven through the front door from fixed clocks.
#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <set>

#include "game/settings_keys.h"
#include "test_support.h"

namespace holdem {
namespace {

using testing::StartedTable;
using testing::Table;

int raisedCount(const TableState& t) { return static_cast<int>(std::count(t.raised.begin(), t.raised.end(), true)); }

// Ends the running deal with a Fold and presses Deal.
void foldAndDeal(Game& g) {
  g.click(Button::Fold);
  g.click(Button::Deal);
}

// Starts tables at clocks 1, 2, ... and plays `setUp` on each until `wanted`
// holds; the table is left in that state. Fails the test when none does.
std::unique_ptr<Table> findTable(const std::function<void(Game&)>& setUp,
                                 const std::function<bool(const Table&)>& wanted, int tries = 400) {
  for (int clock = 1; clock <= tries; ++clock) {
    auto table = std::make_unique<Table>(clock);
    if (!table->start()) break;
    setUp(*table->game);
    if (wanted(*table)) return table;
  }
  ADD_FAILURE() << "no clock up to " << tries << " gives the wanted table";
  return nullptr;
}

// The big blind moves one seat on at each deal: the first deal puts it on
// the human, and every opponent acts first; with Robot on it (the eighth
// deal) nobody acts before the human.
TEST(DealStart, BigBlindMovesOneSeatOnAtEachDealAndWraps) {
  StartedTable table(77);
  foldAndDeal(*table.game);
  const TableState& t = table.game->state();
  const TableView& v = table.view();
  EXPECT_EQ(t.bigBlindSeat, 8);
  EXPECT_EQ(t.dealsCount, 2);
  EXPECT_EQ(t.dealsDealt, 1);
  EXPECT_EQ(v.status[index(Seat::Player)], "big blind");
  // Robot posted the small blind, then every opponent answered the bet.
  for (Seat s : kOpponents) {
    const std::string& status = v.status[index(s)];
    EXPECT_TRUE(status == "Calls" || status == "Folds" || status == "Raises" || status.empty())
        << info(s).name << ": " << status;
  }
  EXPECT_FALSE(v.isEnabled(Button::Deal));
  EXPECT_EQ(v.stayCaption, "Call");
  std::vector<int> seats{t.bigBlindSeat};
  for (int i = 1; i < 10; ++i) {
    table.game->click(Button::Fold);
    Random shadow = table.random();
    table.game->click(Button::Deal);
    seats.push_back(t.bigBlindSeat);
    if (t.bigBlindSeat != 1 || i != 7) continue;
    // Only the shuffle drew numbers: no opponent decided anything.
    for (int j = 0; j < 2 * kShuffleSwaps; ++j) shadow.nextRandom();
    EXPECT_EQ(table.random().state(), shadow.state());
    EXPECT_EQ(v.status[index(Seat::Expert)], "small blind");
    EXPECT_EQ(v.status[index(Seat::Robot)], "big blind");
    EXPECT_TRUE(t.raised[index(Seat::Robot)]);
    EXPECT_TRUE(v.isEnabled(Button::Raise));
  }
  EXPECT_EQ(seats, (std::vector<int>{8, 7, 6, 5, 4, 3, 2, 1, 8, 7}));
}

TEST(DealStart, BlindsFollowTheBettingLimit) {
  const struct {
    int clicks;
    int32_t small, big, pot;
  } cases[] = {{0, 1, 2, 3}, {1, 2, 4, 6}, {2, 3, 6, 9}, {3, 4, 8, 12}, {4, 5, 10, 15}, {9, 5, 10, 15}};
  for (const auto& c : cases) {
    StartedTable table(21);
    for (int i = 0; i < c.clicks; ++i) table.game->changeBettingLimit(+1);
    for (int i = 0; i < 8; ++i) foldAndDeal(*table.game);  // big blind on Robot: nobody acts
    const TableState& t = table.game->state();
    ASSERT_EQ(t.bigBlindSeat, 1);
    EXPECT_EQ(t.smallBlind, c.small);
    EXPECT_EQ(t.bigBlind, c.big);
    EXPECT_EQ(t.pot, c.pot);
    EXPECT_EQ(t.currentBet, 2 * c.small);
  }
}

TEST(DealStart, OpponentRaiseStopsTheChainAndDisablesRaise) {
  auto table = findTable([](Game& g) { foldAndDeal(g); },
                         [](const Table& t) {
                           const auto& st = t.view().status;
                           return std::find(st.begin(), st.end(), "Raises") != st.end();
                         });
  ASSERT_TRUE(table);
  const TableState& t = table->game->state();
  const TableView& v = table->view();
  EXPECT_EQ(raisedCount(t), 1);
  EXPECT_FALSE(v.isEnabled(Button::Raise));
  EXPECT_EQ(v.stayCaption, "Call");
  const int raiser = seatNumber(static_cast<Seat>(std::find(t.raised.begin(), t.raised.end(), true) - t.raised.begin()));
  EXPECT_EQ(v.statusColor[index(seatAt(raiser))], LabelColor::Yellow);
  EXPECT_EQ(t.currentBet, t.smallBet);
  // Earlier seats still in lost their labels; later seats answered.
  for (int n = raiser + 1; n <= 7; ++n) {
    if (t.inDeal(seatAt(n))) {
      EXPECT_EQ(v.status[index(seatAt(n))], "") << n;
    }
  }
  for (int n = raiser - 1; n >= 1; --n) {
    const std::string& s = v.status[index(seatAt(n))];
    if (!t.folded[index(seatAt(n))]) {
      EXPECT_EQ(s, "Calls") << n;
    }
  }
}

TEST(Driver, PreFlopCallSettlesAFlaggedBigBlind) {
  // At start-up Robot's big blind is open: the human's call pays the pre-flop
  // bet and every opponent, Robot included, answers it.
  StartedTable table(31);
  const int32_t before = table.game->state().cashOf(Seat::Player);
  table.game->click(Button::CheckCall);
  const TableState& t = table.game->state();
  if (t.foldCount != kOpponentCount) {
    EXPECT_EQ(t.cashOf(Seat::Player), before - 2);
  }
  EXPECT_GE(t.bettingRound, kFlop);
  EXPECT_FALSE(t.raised[index(Seat::Robot)] && table.view().stayCaption == "Check");
}

TEST(Driver, CheckWithNothingOpenCostsNothingAndEndsThePreFlop) {
  auto table = findTable([](Game& g) { foldAndDeal(g); },  // big blind on the human: nothing flagged
                         [](const Table& t) { return raisedCount(t.game->state()) == 0; });
  ASSERT_TRUE(table);
  const int32_t before = table->game->state().cashOf(Seat::Player);
  table->game->click(Button::CheckCall);
  const TableState& t = table->game->state();
  EXPECT_EQ(t.cashOf(Seat::Player), before);
  EXPECT_GE(t.bettingRound, kFlop);
}

TEST(Driver, HumanRaiseCostsOneBetOfTheRound) {
  for (int clicks = 0; clicks < 5; ++clicks) {
    StartedTable table(41 + clicks);
    for (int i = 0; i < clicks; ++i) table.game->changeBettingLimit(+1);
    const int32_t small = table.game->state().smallBet;
    const int32_t before = table.game->state().cashOf(Seat::Player);
    table.game->click(Button::Raise);
    const TableState& t = table.game->state();
    if (t.foldCount != kOpponentCount) {
      EXPECT_EQ(t.cashOf(Seat::Player), before - 2 * small) << small;
    }
  }
  // Later rounds: small bet on the flop, big bet on the turn and river.
  auto table = findTable([](Game& g) { g.click(Button::CheckCall); },
                         [](const Table& t) {
                           const TableState& s = t.game->state();
                           return s.bettingRound == kFlop && t.view().isEnabled(Button::Raise) &&
                                  t.view().stayCaption == "Check";
                         });
  ASSERT_TRUE(table);
  const int32_t before = table->game->state().cashOf(Seat::Player);
  table->game->click(Button::Raise);
  if (table->game->state().foldCount != kOpponentCount) {
    EXPECT_EQ(table->game->state().cashOf(Seat::Player), before - 2);
  }
}

TEST(Driver, RaiseWithOneChipOrLessIsIgnored) {
  StartedTable table(51);
  table.setCash(Seat::Player, 1);
  table.state().potAwarded = true;
  const Random before = table.random();
  table.game->click(Button::Raise);
  EXPECT_EQ(table.game->state().cashOf(Seat::Player), 1);
  EXPECT_FALSE(table.game->state().potAwarded);
  EXPECT_EQ(table.random().state(), before.state());
  EXPECT_EQ(table.game->state().bettingRound, kPreFlop);
}

TEST(Driver, FoldEndsTheDealAtOnceWithTheShowdown) {
  StartedTable table(61);
  table.game->click(Button::Fold);
  const TableState& t = table.game->state();
  const TableView& v = table.view();
  EXPECT_TRUE(t.folded[index(Seat::Player)]);
  EXPECT_EQ(t.bettingRound, kDealOver);
  // The human's own fold is not counted; the answers to Robot's open big
  // blind may have added folds of their own.
  EXPECT_EQ(t.foldCount, std::count(t.folded.begin() + 1, t.folded.end(), true));
  EXPECT_EQ(v.enabled, (std::array<bool, kButtonCount>{true, false, false, false}));
  EXPECT_EQ(v.stayCaption, "Check");
  EXPECT_FALSE(v.result.empty());
  // The human's cards were taken off the table.
  const auto& fills = table.canvas.fills;
  EXPECT_TRUE(std::any_of(fills.begin(), fills.end(),
                          [](const Rect& r) { return r.left == 50 && r.top == 340 && r.right == 210 && r.bottom == 460; }));
}

TEST(Driver, FoldWithARaiseOpenLetsOnlyTheSeatsBeforeTheRaiserAnswer) {
  StartedTable table(71);
  TableState& t = table.state();
  t.raised.fill(false);
  t.raised[index(Seat::Champ)] = true;  // seat 4
  table.game->click(Button::Fold);
  const TableView& v = table.view();
  for (Seat s : {Seat::Freak, Seat::Geek, Seat::Master}) {
    const std::string& status = v.status[index(s)];
    // Answered, then the showdown named the hand (or the fold stands).
    EXPECT_NE(status, "") << info(s).name;
  }
  EXPECT_EQ(raisedCount(t), 0);
}

// A seventh fold pays the human at once; when that reaches the target, the
// game is over.
TEST(Opponents, SeventhFoldPaysTheHumanAtOnce) {
  for (const bool reachesTarget : {false, true}) {
    auto table = findTable(
        [reachesTarget](Game& g) {
          if (reachesTarget) GameTesting::state(g).untilTarget = 1;
          g.click(Button::Raise);
        },
        [](const Table& t) { return t.game->state().foldCount == kOpponentCount; }, 2000);
    ASSERT_TRUE(table);
    const TableState& t = table->game->state();
    const TableView& v = table->view();
    EXPECT_EQ(v.result, "you win    ");
    EXPECT_EQ(t.handsPlayed, 1);
    EXPECT_EQ(t.handsWon, 1);
    EXPECT_EQ(t.cashOf(Seat::Player), 1200 - 4 + t.pot);
    // Deal only: no chips into a pot already paid.
    EXPECT_EQ(v.enabled, (std::array<bool, kButtonCount>{!reachesTarget, false, false, false}));
    const std::vector<testing::Box> gameOver{{"You win!", "Game over", BoxButtons::Ok}};
    EXPECT_EQ(table->dialogs.boxes, reachesTarget ? gameOver : std::vector<testing::Box>{});
  }
}

TEST(Opponents, FoldingClosingSeatHandsTheClosingOn) {
  const struct {
    int closing;
    std::vector<int> outSeats;  // folded or broke before the fold
    int expected;
  } cases[] = {{1, {}, 8}, {4, {}, 3}, {4, {3}, 2}, {4, {3, 2, 1}, 8}, {7, {6, 5, 4, 3, 2}, 1}};
  for (const auto& c : cases) {
    StartedTable table(81);
    TableState& t = table.state();
    for (int n : c.outSeats) {
      if (n % 2) {
        t.folded[index(seatAt(n))] = true;
      } else {
        t.cash[index(seatAt(n))] = 0;
      }
    }
    t.closingSeat = c.closing;
    // A bet larger than the seat's chips always folds.
    t.currentBet = 5000;
    table.opponentRespond(c.closing);
    EXPECT_TRUE(t.folded[index(seatAt(c.closing))]);
    EXPECT_EQ(t.closingSeat, c.expected) << "closing " << c.closing;
  }
}

TEST(Opponents, CallWithExactlyTheBetLeavesZeroAndTheSeatIsSkippedAfter) {
  StartedTable table(91);
  TableState& t = table.state();
  // A pair of Aces never folds before the flop.
  t.hole[index(Seat::Geek)] = {Card{0, 12}, Card{1, 12}};
  table.setCash(Seat::Geek, 2);
  t.currentBet = 2;
  const int32_t pot = t.pot;
  table.opponentRespond(seatNumber(Seat::Geek));
  EXPECT_EQ(t.cashOf(Seat::Geek), 0);
  EXPECT_EQ(t.pot, pot + 2);
  EXPECT_EQ(table.view().status[index(Seat::Geek)], "Calls");
  // Its turn now changes nothing, not even its label.
  const Random before = table.random();
  table.opponentTurn(seatNumber(Seat::Geek));
  EXPECT_EQ(table.view().status[index(Seat::Geek)], "Calls");
  EXPECT_EQ(table.random().state(), before.state());
  EXPECT_FALSE(t.inDeal(Seat::Geek));
}

// Puts a straight into Robot's hand on the river and gives it turns until it
// raises (a chance of 100 still misses on a draw of 0).
void robotRaisesOnTheRiver(Table& table, int32_t robotCash) {
  TableState& t = table.state();
  t.bettingRound = kRiver;
  t.closingSeat = 8;
  t.board = {Card{0, 2}, Card{1, 3}, Card{2, 4}, Card{3, 9}, Card{0, 10}};
  t.hole[index(Seat::Robot)] = {Card{1, 5}, Card{2, 6}};
  for (int tries = 0; tries < 5; ++tries) {
    table.setCash(Seat::Robot, robotCash);
    table.opponentTurn(1);
    if (table.view().status[index(Seat::Robot)] == "Raises") return;
  }
  ADD_FAILURE() << "Robot never raised";
}

// Robot's raise is answered by nobody and clears the earlier labels; it is
// not limited by its chips.
TEST(Opponents, RobotsRaiseIsAnsweredByNobodyAndIsNotLimitedByTheChips) {
  for (const int32_t cash : {500, 3}) {
    StartedTable table(111);
    for (Seat s : kOpponents) table.state().folded[index(s)] = false;
    robotRaisesOnTheRiver(table, cash);
    const TableView& v = table.view();
    const TableState& t = table.game->state();
    for (Seat s : {Seat::Freak, Seat::Geek, Seat::Master, Seat::Champ, Seat::Pinhead, Seat::Expert}) {
      EXPECT_EQ(v.status[index(s)], "") << info(s).name;
    }
    EXPECT_EQ(v.statusColor[index(Seat::Robot)], LabelColor::Yellow);
    EXPECT_EQ(v.stayCaption, "Call");
    EXPECT_FALSE(v.isEnabled(Button::Raise));
    EXPECT_TRUE(t.raised[index(Seat::Robot)]);
    EXPECT_EQ(raisedCount(t), 1);
    EXPECT_EQ(t.cashOf(Seat::Robot), cash - 4);
    EXPECT_EQ(t.currentBet, 4);
    EXPECT_EQ(t.inDeal(Seat::Robot), cash > 4) << cash;
  }
}

TEST(Opponents, TurnOfAFoldedClosingSeatStillAdvancesAndEndsTheRiver) {
  StartedTable table(121);
  TableState& t = table.state();
  t.bettingRound = kRiver;
  t.closingSeat = 3;
  t.folded[index(Seat::Pinhead)] = true;
  const Random before = table.random();
  table.opponentTurn(3);
  EXPECT_EQ(t.bettingRound, kDealOver);
  EXPECT_TRUE(t.potAwarded);
  EXPECT_TRUE(table.view().isEnabled(Button::Deal));
  EXPECT_FALSE(table.view().result.empty());
  EXPECT_EQ(table.random().state(), before.state());
}

TEST(Opponents, TurnOfABrokeClosingSeatAdvancesTheRoundAndChangesNothingElse) {
  StartedTable table(131);
  TableState& t = table.state();
  t.bettingRound = kFlop;
  t.closingSeat = 5;
  table.setCash(Seat::Master, 0);
  t.currentBet = 9;
  table.opponentTurn(5);
  EXPECT_EQ(t.bettingRound, kTurn);
  EXPECT_EQ(t.currentBet, 9);
  EXPECT_EQ(table.view().status[index(Seat::Master)], "");
}

TEST(Driver, ClosingHumanMovesTheRoundOnEvenAfterAnOpponentRaise) {
  // Big blind on the human: the human closes every round. Find a Check/Call
  // after which an opponent's raise is open and the round moved on anyway.
  int32_t roundBefore = 0;
  auto table = findTable(
      [&roundBefore](Game& g) {
        foldAndDeal(g);
        for (int i = 0; i < 3 && g.view().isEnabled(Button::CheckCall); ++i) {
          roundBefore = g.state().bettingRound;
          g.click(Button::CheckCall);
          if (g.state().closingSeat == 8 && raisedCount(g.state()) == 1 && g.state().bettingRound < kDealOver)
            return;
        }
      },
      [&roundBefore](const Table& t) {
        const TableState& s = t.game->state();
        return s.closingSeat == 8 && raisedCount(s) == 1 && s.bettingRound == roundBefore + 1 &&
               s.bettingRound >= kTurn && s.bettingRound < kDealOver;
      },
      1000);
  ASSERT_TRUE(table);
  // The raise is settled in the new round: the raiser does not answer again.
  const TableState& t = table->game->state();
  const int raiser = seatNumber(static_cast<Seat>(std::find(t.raised.begin(), t.raised.end(), true) - t.raised.begin()));
  const int32_t raiserCash = t.cash[index(seatAt(raiser))];
  const int32_t bet = t.currentBet;
  const int32_t playerCash = t.cashOf(Seat::Player);
  table->game->click(Button::CheckCall);
  EXPECT_EQ(table->game->state().cashOf(Seat::Player), playerCash - bet);
  if (table->game->state().bettingRound != kDealOver || !table->game->state().potAwarded) {
    EXPECT_EQ(table->game->state().cash[index(seatAt(raiser))], raiserCash);
  }
}

TEST(Driver, DisabledButtonsIgnoreClicks) {
  StartedTable table(141);
  const Random before = table.random();
  table.game->click(Button::Deal);  // disabled while the first deal runs
  EXPECT_EQ(table.game->state().dealsCount, 1);
  EXPECT_EQ(table.random().state(), before.state());
  table.game->click(Button::Fold);
  const int32_t cash = table.game->state().cashOf(Seat::Player);
  table.game->click(Button::CheckCall);
  table.game->click(Button::Raise);
  table.game->click(Button::Fold);
  EXPECT_EQ(table.game->state().cashOf(Seat::Player), cash);
}

TEST(DealStart, BrokeHumanLosesTheGameAfterTheCashIsSaved) {
  StartedTable table(151, {{"Cash/player", 0}});
  table.game->click(Button::Fold);
  table.game->click(Button::Deal);
  EXPECT_EQ(table.dialogs.boxes, (std::vector<testing::Box>{{"You lose!", "Game over", BoxButtons::Ok}}));
  EXPECT_EQ(table.view().enabled, (std::array<bool, kButtonCount>{}));
  EXPECT_EQ(table.game->state().dealsCount, 2);
  EXPECT_EQ(table.settings.values.at("Cash/player"), 0);
}

TEST(DealStart, EveryOpponentBrokeWinsTheGame) {
  MemorySettings::Values broke;
  for (Seat s : kOpponents) {
    const SettingsKey& k = info(cashSetting(s)).name;
    broke[MemorySettings::name(k.section, k.key)] = 0;
  }
  StartedTable table(161, broke);
  table.game->click(Button::Fold);
  table.dialogs.boxes.clear();
  table.game->click(Button::Deal);
  EXPECT_EQ(table.dialogs.texts(), std::vector<std::string>{"You win!"});
}

}  // namespace
}  // namespace holdem
