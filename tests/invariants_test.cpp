// Thousands of deals of random clicks, with options changed between them:
// after every event the table's rules hold, no chip appears or vanishes,
// and whenever a deal begins or the round moves on, the table shows every
// card it calls for.
#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "game/table_rules.h"
#include "test_support.h"

namespace holdem {
namespace {

int64_t chipsOnTable(const TableState& t) {
  return std::accumulate(t.cash.begin(), t.cash.end(), int64_t{t.pot});
}

// What a betting click paid out: the showdown's shares (none when no seat
// took part), or the pot that the seventh fold handed to the human.
int64_t paidOut(const TableState& before, const TableState& t) {
  const int32_t winners = t.showdown.winnerCount;
  int64_t paid = t.potAwarded && winners > 0 ? int64_t{t.pot / winners} * winners : 0;
  if (before.foldCount != kOpponentCount && t.foldCount == kOpponentCount) paid += t.pot;
  return paid;
}

// The check fires on each rule broken: a check that never fired would pass
// every random run below.
TEST(Invariants, EachBrokenRuleOfTheTableIsNamed) {
  testing::StartedTable table(1234567);
  const TableSnapshot running{table.game->state(), table.game->view()};
  const struct {
    TableEvent event;
    std::function<void(TableSnapshot&)> breakIt;
    const char* named;
  } cases[] = {
      {TableEvent::IgnoredClick, [](TableSnapshot& a) { a.state.pot += 2; }, "a click on a disabled button"},
      {TableEvent::Button, [](TableSnapshot& a) { a.state.deck[5] = a.state.deck[6]; }, "the deck is not"},
      {TableEvent::Button, [](TableSnapshot& a) { a.state.bigBlindSeat = 0; }, "bigBlindSeat 0 is no seat"},
      {TableEvent::Button, [](TableSnapshot& a) { a.state.closingSeat = 9; }, "closingSeat 9 is no seat"},
      {TableEvent::Button, [](TableSnapshot& a) { a.state.closingSeat = 0; }, "closingSeat 0 is no seat"},
      {TableEvent::Button, [](TableSnapshot& a) { a.state.bigBlindSeat = 9; }, "bigBlindSeat 9 is no seat"},
      {TableEvent::Button, [](TableSnapshot& a) { a.state.raised.fill(true); }, "more than one raised flag"},
      {TableEvent::Button, [](TableSnapshot& a) { a.state.raised = {true}; }, "the human's raised flag"},
      {TableEvent::Button, [](TableSnapshot& a) { a.state.bettingRound = 0; }, "the round went back"},
      {TableEvent::Button, [](TableSnapshot& a) { a.view.enabled[0] = true; },
       "Deal is enabled in a running"},
      {TableEvent::Other, [](TableSnapshot& a) { a.view.enabled[0] = true; }, "an event outside the betting"},
      {TableEvent::Button, [](TableSnapshot& a) { a.view.cashText[0] = "7"; },
       "cash label of seat 0 reads 7"},
      {TableEvent::Button, [](TableSnapshot& a) { a.view.potText = "0"; }, "the pot label reads 0"},
  };
  ASSERT_EQ(brokenTableRule(running, TableEvent::Button, running, true), std::nullopt);
  for (const auto& c : cases) {
    TableSnapshot after = running;
    c.breakIt(after);
    const auto broken = brokenTableRule(running, c.event, after, true);
    ASSERT_TRUE(broken) << c.named;
    EXPECT_EQ(broken->rfind(c.named, 0), 0u) << *broken;
  }
}

TEST(Invariants, TenThousandDealsOfRandomClicksKeepTheRulesTheChipsAndTheCards) {
  testing::StartedTable table(1234567);
  Game& g = *table.game;
  testing::Dice dice(99);
  int deals = 0, roundsMoved = 0;
  long events = 0;
  while (deals < 10000) {
    const TableSnapshot before{g.state(), g.view()};
    const auto [kind, clicked] = testing::playRandomEvent(g, table.dialogs, dice);
    ++events;
    const TableState& t = g.state();
    SCOPED_TRACE("event " + std::to_string(events) + ", deal " + std::to_string(t.dealsCount));
    const auto broken = brokenTableRule(before, kind, {t, g.view()}, true);
    ASSERT_FALSE(broken) << *broken;
    const bool dealt = clicked == Button::Deal && t.dealsCount != before.state.dealsCount;
    if (kind == TableEvent::Button && clicked != Button::Deal) {
      ASSERT_EQ(chipsOnTable(t), chipsOnTable(before.state) + paidOut(before.state, t));
      // Each advance of the round paints the table: the new community cards
      // lie there, and every other card the state calls for.
      if (t.dealsCount == before.state.dealsCount && t.bettingRound > before.state.bettingRound) {
        ++roundsMoved;
        ASSERT_EQ(testing::cardsMissing(table.onTable, t), std::vector<std::string>{});
      }
    }
    if (dealt && g.view().isEnabled(Button::Fold)) {
      // A deal lays every card it calls for.
      ASSERT_EQ(testing::cardsMissing(table.onTable, t), std::vector<std::string>{});
    }
    if (dealt && t.bettingRound == kPreFlop && before.state.bettingRound != kPreFlop) {
      // The old pot is gone; the new one holds both blinds, paid or not.
      const int k = t.bigBlindSeat;
      int64_t unpaid = before.state.cashOf(seatAt(k == 8 ? 1 : k + 1)) <= 0 ? t.smallBlind : 0;
      unpaid += before.state.cashOf(seatAt(k)) <= 0 ? t.bigBlind : 0;
      const int64_t paid = t.foldCount == kOpponentCount ? t.pot : 0;
      ASSERT_EQ(chipsOnTable(t), chipsOnTable(before.state) - before.state.pot + unpaid + paid);
    }
    if (t.dealsCount != before.state.dealsCount) ++deals;
  }
  EXPECT_GT(events, 20000);
  EXPECT_GT(roundsMoved, 10000);
}

}  // namespace
}  // namespace holdem
