// Thousands of deals of random clicks, options changes between them, and the
// rules that must hold after every single event.
#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>

#include "game/table_rules.h"
#include "test_support.h"

namespace holdem {
namespace {

// A small generator of our own for the test's choices, apart from the game's.
class Dice {
 public:
  explicit Dice(uint64_t seed) : s_(seed) {}
  int roll(int n) {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 7;
    s_ ^= s_ << 17;
    return static_cast<int>(s_ % static_cast<uint64_t>(n));
  }

 private:
  uint64_t s_;
};

enum class Event { Deal, Call, Raise, Fold, Level, LimitUp, LimitDown, Back, Money, Until, NewGameYes, NewGameNo };

int64_t chipsOnTable(const TableState& t) {
  return std::accumulate(t.cash.begin(), t.cash.end(), int64_t{t.pot});
}

struct Checker {
  const Game& game;

  void check(Event e, const TableState& before, const TableView& viewBefore) {
    const TableState& t = game.state();
    const TableView& v = game.view();
    TableEvent kind = TableEvent::Other;
    if (e == Event::NewGameYes) kind = TableEvent::NewGameYes;
    const Button clicked = e == Event::Deal   ? Button::Deal
                           : e == Event::Call ? Button::CheckCall
                           : e == Event::Raise ? Button::Raise
                                               : Button::Fold;
    if (e == Event::Deal || e == Event::Call || e == Event::Raise || e == Event::Fold) {
      kind = viewBefore.isEnabled(clicked) ? TableEvent::Button : TableEvent::IgnoredClick;
    }
    const std::optional<std::string> broken =
        brokenTableRule({before, viewBefore}, kind, {game.state(), game.view()}, true);
    ASSERT_FALSE(broken) << *broken;

    // Chips: what the seats gave, the pot received, except the pay-outs.
    if (e != Event::Deal && kind == TableEvent::Button) {
      // Each of the three buttons clears `potAwarded` first, so it is set
      // afterwards only by a showdown that paid in this click.
      int64_t paidOut = 0;
      if (t.potAwarded) {
        paidOut = static_cast<int64_t>(t.pot / t.showdown.winnerCount) * t.showdown.winnerCount;
      }
      if (before.foldCount != kOpponentCount && t.foldCount == kOpponentCount) paidOut += t.pot;
      ASSERT_EQ(chipsOnTable(t), chipsOnTable(before) + paidOut)
          << "pot " << before.pot << "->" << t.pot << " winners " << t.showdown.winnerCount << " awarded "
          << before.potAwarded << t.potAwarded << " folds " << before.foldCount << "->" << t.foldCount
          << " round " << before.bettingRound << "->" << t.bettingRound << " result " << v.result;
    }
    if (e == Event::Deal && t.dealsCount != before.dealsCount && t.bettingRound == kPreFlop &&
        before.bettingRound != kPreFlop) {
      // The old pot is gone; the new one counts both blinds, paid or not, and
      // everything else in it came from the seats.
      const int k = t.bigBlindSeat;
      const Seat small = seatAt(k == 8 ? 1 : k + 1);
      const Seat big = seatAt(k);
      int64_t unpaid = 0;
      if (before.cashOf(small) <= 0) unpaid += t.smallBlind;
      if (before.cashOf(big) <= 0) unpaid += t.bigBlind;
      int64_t paidOut = t.foldCount == kOpponentCount ? t.pot : 0;
      ASSERT_EQ(chipsOnTable(t), chipsOnTable(before) - before.pot + unpaid + paidOut);
    }
  }
};

TEST(Invariants, TenThousandDealsOfRandomClicks) {
  testing::StartedTable table(1234567);
  Game& g = *table.game;
  Dice dice(99);
  Checker checker{g};
  int deals = 0;
  long events = 0;
  while (deals < 10000) {
    const TableState before = g.state();
    const TableView viewBefore = g.view();
    Event e;
    const int r = dice.roll(100);
    if (!g.view().isEnabled(Button::Deal) && !g.view().isEnabled(Button::CheckCall)) {
      e = Event::NewGameYes;  // the game is over
    } else if (r < 12) {
      e = Event::Deal;
    } else if (r < 55) {
      e = Event::Call;
    } else if (r < 75) {
      e = Event::Raise;
    } else if (r < 88) {
      e = Event::Fold;
    } else {
      e = static_cast<Event>(static_cast<int>(Event::Level) + dice.roll(8));
    }
    switch (e) {
      case Event::Deal: g.click(Button::Deal); break;
      case Event::Call: g.click(Button::CheckCall); break;
      case Event::Raise: g.click(Button::Raise); break;
      case Event::Fold: g.click(Button::Fold); break;
      case Event::Level: g.selectLevel(dice.roll(4)); break;
      case Event::LimitUp: g.changeBettingLimit(+1); break;
      case Event::LimitDown: g.changeBettingLimit(-1); break;
      case Event::Back: g.chooseCardBack(dice.roll(4)); break;
      case Event::Money:
        g.setMoneyText(dice.roll(3) ? std::to_string(50 + dice.roll(3000)) : "x1");
        g.enterInitialCash();
        break;
      case Event::Until:
        g.setUntilText(std::to_string(50 + dice.roll(2000)));
        g.enterTarget();
        break;
      case Event::NewGameYes:
        g.setMoneyText(std::to_string(100 + dice.roll(2000)));
        table.dialogs.answerYes = true;
        g.newGame();
        break;
      case Event::NewGameNo:
        table.dialogs.answerYes = false;
        g.newGame();
        break;
    }
    ++events;
    checker.check(e, before, viewBefore);
    if (::testing::Test::HasFatalFailure()) {
      FAIL() << "after event " << events << " (" << static_cast<int>(e) << "), deal " << deals;
    }
    if (g.state().dealsCount != before.dealsCount) ++deals;
  }
  EXPECT_GT(events, 20000);
}

}  // namespace
}  // namespace holdem
