#pragma once

// A finished deal told again step by step: the table as it stood after each
// step (chips, pot, labels, the cards in view and who is still in), the
// reason an opponent gave for its action, and the figures of a session of
// deals. Plain data from the record; nothing here touches a game.

#include <span>
#include <string>
#include <vector>

#include "game/hand_record.h"
#include "game/view.h"

namespace holdem {

struct ReplayFrame {
  // The step shown, or -1 for the cards just dealt; the last frame shows the
  // end of the deal and is the record's last step.
  int step = -1;
  TableView view;  // the labels: chips, last actions, the result and the pot
  std::array<int32_t, kSeatCount> chips{};
  int32_t pot = 0;
  std::array<bool, kSeatCount> inDeal{};  // dealt in and not folded
  int boardShown = 0;
  bool over = false;    // the deal is over: the showdown or the win by folds
  std::string caption;  // what happened, in words
  std::string reason;   // an opponent's reason, in words; empty when not recorded
};

// One frame for the deal as dealt, one per step, and one for its end.
std::vector<ReplayFrame> replayFrames(const HandRecord& r);

// "Geek raises: pair of Tens on the flop, raise chance 40 %, drew 17"; empty
// for a step without a recorded reason.
std::string reasonWords(const Step& s);

// The human's session, from the records of its finished deals in order.
struct SessionFigures {
  int deals = 0;
  int handsPlayed = 0;  // played to the end: the showdown or every opponent out
  int handsWon = 0;
  int voluntary = 0;     // deals where the human called or raised before the flop
  int raisedFirst = 0;   // deals where the human raised before the flop
  int64_t chipsWon = 0;  // won less lost over the deals; chips the options set do not count

  double vpip() const { return deals == 0 ? 0.0 : static_cast<double>(voluntary) / deals; }
  double pfr() const { return deals == 0 ? 0.0 : static_cast<double>(raisedFirst) / deals; }
};
SessionFigures sessionFigures(std::span<const HandRecord> deals);
// Adds one finished deal to the figures.
void addDeal(SessionFigures& f, const HandRecord& r);

// What the session chart keeps of a finished deal: a few bytes, not its record,
// so that a long session grows by little.
struct SessionDeal {
  int number = 0;
  int32_t chips = 0;   // the human's chips at the end
  int64_t result = 0;  // what the deal brought the human
};
SessionDeal sessionDeal(const HandRecord& r);

// What one deal brought the human: chips at the end less at the start, the
// chips the options panel set left out.
int64_t playerResult(const HandRecord& r);

}  // namespace holdem
