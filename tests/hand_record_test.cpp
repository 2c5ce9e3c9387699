// The record of each deal against the table itself, over long runs of
// random play: every chip the record says moved, moved on the table, and
// nothing else did.
#include <gtest/gtest.h>

#include <numeric>

#include "test_support.h"

namespace holdem {
namespace {

using testing::Dice;

bool movesChips(StepKind k) {
  return k == StepKind::Check || k == StepKind::Call || k == StepKind::Bet || k == StepKind::Raise ||
         k == StepKind::Fold;
}

bool isOpponentAction(const Step& s) { return s.seat != Seat::Player && movesChips(s.kind); }

// The record read on its own: each step's chips and pot follow from the
// start and the chips paid before it.
void expectRecordAddsUp(const HandRecord& r) {
  std::array<int64_t, kSeatCount> chips{};
  for (int s = 0; s < kSeatCount; ++s) chips[s] = r.seats[s].chips;
  int64_t pot = r.potAtStart;
  int board = 0;
  for (size_t i = 0; i < r.steps.size(); ++i) {
    const Step& step = r.steps[i];
    SCOPED_TRACE("step " + std::to_string(i) + " of deal " + std::to_string(r.serial));
    if (step.kind == StepKind::Board) {
      ASSERT_GT(step.boardShown, board);
      board = step.boardShown;
      continue;
    }
    ASSERT_EQ(step.boardShown, board);
    chips[index(step.seat)] -= step.paid;
    if (movesChips(step.kind)) pot += step.paid;
    ASSERT_EQ(step.chipsAfter, static_cast<int32_t>(chips[index(step.seat)]));
    ASSERT_EQ(step.potAfter, static_cast<int32_t>(pot));
    ASSERT_EQ(step.why.has_value(), isOpponentAction(step));
  }
  ASSERT_EQ(r.boardShown, board);
  if (!r.end) return;
  const DealEnd& end = *r.end;
  ASSERT_EQ(end.pot, static_cast<int32_t>(pot));
  const int64_t won = std::accumulate(end.won.begin(), end.won.end(), int64_t{0});
  ASSERT_EQ(won + end.lost, end.pot);
  for (int s = 0; s < kSeatCount; ++s) {
    // What other programs check: the start, less what was paid, plus what
    // was won, is what the seat holds when the deal is over.
    ASSERT_EQ(r.chipsAtEnd[s], static_cast<int32_t>(chips[s] + end.won[s]))
        << info(static_cast<Seat>(s)).name;
  }
}

struct Run {
  testing::Table table;
  Dice dice;
  std::vector<HandRecord> finished;

  Run(int64_t clock, uint64_t seed, MemorySettings::Values values)
      : table(clock, std::move(values)), dice(seed) {
    table.settings.logWrites = false;
    if (!table.start()) throw std::runtime_error("start-up failed");
    table.game->onDealFinished([this](const HandRecord& r) { finished.push_back(r); });
  }

  bool step() { return testing::playRandomEvent(*table.game, table.dialogs, dice); }
};

// Deal by deal, event by event: the starting chips, each seat's chips paid
// and won, the pot, the cards in view and the chips at the end of the
// record are those of the table.
void playAndCompare(int64_t clock, uint64_t seed, MemorySettings::Values values, int deals) {
  Run run(clock, seed, std::move(values));
  Game& g = *run.table.game;
  int maxBoard = 0;
  int64_t delivered = 0;
  long events = 0;
  while (static_cast<int>(run.finished.size()) < deals) {
    const TableState before = g.state();
    const HandRecord recordBefore = g.handRecord();
    const size_t finishedBefore = run.finished.size();
    const bool click = run.step();
    ++events;
    const TableState& t = g.state();
    const HandRecord& r = g.handRecord();
    SCOPED_TRACE("event " + std::to_string(events) + ", deal " + std::to_string(r.serial));
    const bool newDeal = r.serial != recordBefore.serial;
    if (newDeal) {
      maxBoard = 0;
      // The chips before the blinds: those of the table before a Deal, the
      // new game's starting chips after a New game.
      for (int s = 0; s < kSeatCount; ++s) {
        const int32_t start = t.dealsCount == 1 ? t.initialCash : before.cash[s];
        ASSERT_EQ(r.seats[s].chips, start);
        ASSERT_EQ(r.seats[s].dealtIn, start > 0);
      }
      ASSERT_EQ(r.number, t.dealsCount);
      ASSERT_EQ(r.potAtStart, r.smallBlind + r.bigBlind);
      ASSERT_EQ(r.peekThreshold, t.peekThreshold);
      ASSERT_EQ(r.bigBlindSeat, t.bigBlindSeat);
      ASSERT_EQ(r.startedAt, clock);
    }
    for (int s = 0; s < kSeatCount; ++s) ASSERT_EQ(r.seats[s].hole, t.hole[s]);
    ASSERT_EQ(r.board, t.board);
    expectRecordAddsUp(r);
    if (::testing::Test::HasFatalFailure()) return;

    // Each seat's chips changed by what the record's steps of this event
    // say, and by its winnings when the deal ended in this event.
    const size_t firstNew = newDeal ? 0 : recordBefore.steps.size();
    std::array<int64_t, kSeatCount> moved{};
    for (size_t i = firstNew; i < r.steps.size(); ++i) moved[index(r.steps[i].seat)] -= r.steps[i].paid;
    const bool endedNow = r.end && (newDeal || !recordBefore.end);
    // Between deals the options panel sets chips that the next deal starts from.
    const bool betweenDeals = !newDeal && recordBefore.end;
    if (betweenDeals) {
      ASSERT_EQ(r, recordBefore) << "a deal that is over stays as it was handed out";
    }
    for (int s = 0; s < kSeatCount && !(betweenDeals && !click); ++s) {
      const int64_t won = endedNow ? r.end->won[s] : 0;
      const int64_t from = newDeal ? r.seats[s].chips : before.cash[s];
      ASSERT_EQ(t.cash[s] - from, moved[s] + won) << info(static_cast<Seat>(s)).name;
    }
    // Between the clicks, only the options panel moves chips.
    for (size_t i = firstNew; i < r.steps.size() && !click && !newDeal; ++i)
      ASSERT_EQ(r.steps[i].kind, StepKind::ChipsSet);
    // The pot: what the deal began with and what the seats paid into it.
    int64_t pot = r.potAtStart;
    for (const Step& step : r.steps) pot += movesChips(step.kind) ? step.paid : 0;
    ASSERT_EQ(t.pot, static_cast<int32_t>(pot));
    maxBoard = std::max(maxBoard, boardCardsShown(t));
    ASSERT_EQ(r.boardShown, maxBoard);

    // A deal that ended in this click goes out once, as it stands then.
    if (endedNow) {
      ASSERT_TRUE(click);
      ASSERT_EQ(run.finished.size(), finishedBefore + 1);
      ASSERT_EQ(run.finished.back(), r);
      ASSERT_EQ(r.chipsAtEnd, t.cash);
      ASSERT_GT(r.serial, delivered);
      delivered = r.serial;
      const DealEnd& end = *r.end;
      if (!end.byFolds) {
        // The winners are the yellow labels; each taking part is named.
        for (int s = 0; s < kSeatCount; ++s) {
          const bool winner = std::count(end.winners.begin(), end.winners.end(), static_cast<Seat>(s)) > 0;
          ASSERT_EQ(winner, g.view().statusColor[s] == LabelColor::Yellow) << s;
        }
        ASSERT_EQ(end.potPaid, t.potAwarded);
        if (!end.namesHidden) {
          for (const ShownHand& h : end.hands) ASSERT_EQ(g.view().status[index(h.seat)], h.name);
        }
        ASSERT_EQ(end.namesHidden, t.foldedOutHidden);
      }
    } else {
      ASSERT_EQ(run.finished.size(), finishedBefore);
    }
  }
  EXPECT_GT(events, deals * 2);
}

TEST(HandRecord, AgreesWithTheTableDealByDealOverLongRandomRuns) { playAndCompare(1234567, 99, {}, 4000); }

// Few chips: seats run out, go below zero, post blinds they cannot pay and
// sit deals out; deals begin with every opponent counted out.
TEST(HandRecord, AgreesWithTheTableWhenChipsRunShort) {
  playAndCompare(42, 7, testing::kChipsRunShort, 3000);
}

}  // namespace
}  // namespace holdem
