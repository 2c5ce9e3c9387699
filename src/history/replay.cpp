#include "history/replay.h"

#include <algorithm>

#include "eval/evaluator.h"
#include "history/hand_words.h"

namespace holdem {

namespace {

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += (out.empty() ? "" : "\n") + line;
  return out;
}

// A hand value as an opponent's reason names it: "pair of Tens".
std::string valueWords(int32_t value) {
  if (value <= 0) return "nothing beyond the board";
  const std::string name(handName(value));
  if (name.empty()) return "hand value " + std::to_string(value);
  if (value < kOnePair) return name + " high";
  if (name.starts_with("One pair ")) return "pair of " + name.substr(9);
  std::string out = name;
  out[0] = static_cast<char>(out[0] - 'A' + 'a');
  return out;
}

const char* roundWords(int32_t round) {
  switch (round) {
    case kPreFlop: return "before the flop";
    case kFlop: return "on the flop";
    case kTurn: return "on the turn";
    case kRiver: return "on the river";
    default: return "after the deal";
  }
}

const char* verb(StepKind k) {
  switch (k) {
    case StepKind::Check: return "checks";
    case StepKind::Call: return "calls";
    case StepKind::Bet: return "bets";
    case StepKind::Raise: return "raises";
    case StepKind::Fold: return "folds";
    default: return "acts";
  }
}

// The labels after a step, by the table's rules as far as the record tells.
// `quiet`: the opponents are answering a bet of the human whose labels the
// table clears once they have answered.
void label(TableView& v, const Step& s, const std::array<bool, kSeatCount>& inDeal, bool& quiet) {
  const bool human = s.seat == Seat::Player;
  const bool acts = s.kind != StepKind::SmallBlind && s.kind != StepKind::BigBlind &&
                    s.kind != StepKind::ChipsSet && s.kind != StepKind::Board;
  const bool answer = !human && (s.kind == StepKind::Call || s.kind == StepKind::Fold);
  const bool wasQuiet = quiet && answer;
  if (!answer) quiet = false;
  const auto clearOpponents = [&] {
    for (Seat o : kOpponents)
      if (inDeal[index(o)]) v.status[index(o)].clear();
  };
  std::string& status = v.status[index(s.seat)];
  if (human && acts) {
    // Whatever the human does turns every label white and clears its own.
    v.statusColor.fill(LabelColor::White);
    status.clear();
  }
  switch (s.kind) {
    case StepKind::SmallBlind: status = "small blind"; break;
    case StepKind::BigBlind: status = "big blind"; break;
    case StepKind::Check:
      if (human) {
        for (Seat o : kOpponents) v.status[index(o)].clear();
      } else if (s.round >= kFlop && s.round <= kRiver) {
        status = "Check";
      }
      break;
    case StepKind::Call:
      if (human && s.round >= kFlop) {
        clearOpponents();
        quiet = true;
      } else if (!human) {
        status = wasQuiet ? "" : "Calls";
      }
      break;
    case StepKind::Bet:
    case StepKind::Raise:
      if (human) {
        clearOpponents();
        quiet = s.round == kPreFlop;
        break;
      }
      status = "Raises";
      v.statusColor[index(s.seat)] = LabelColor::Yellow;
      // The seats that acted before it in the order of play take their turn again.
      for (int n = seatNumber(s.seat) + 1; n <= seatNumber(Seat::Freak); ++n)
        if (inDeal[index(seatAt(n))]) v.status[index(seatAt(n))].clear();
      break;
    case StepKind::Fold: status = human ? "you fold" : "Folds"; break;
    case StepKind::Board:
    case StepKind::ChipsSet: break;
  }
}

// The labels at the end: the hands shown, the winners in yellow, the result.
void labelEnd(TableView& v, const DealEnd& end) {
  v.statusColor.fill(LabelColor::White);
  if (end.byFolds && end.hands.empty()) {
    v.result = "you win    ";
    return;
  }
  for (const ShownHand& h : end.hands) v.status[index(h.seat)] = std::string(h.name);
  if (end.namesHidden)
    for (std::string& status : v.status) status.clear();
  std::string result;
  bool opponentWon = false;
  int winners = 0;
  for (int s = 0; s < kSeatCount; ++s) {
    const Seat seat = static_cast<Seat>(s);
    if (std::find(end.winners.begin(), end.winners.end(), seat) == end.winners.end()) continue;
    v.statusColor[s] = LabelColor::Yellow;
    if (seat == Seat::Player) {
      result += "You ";
    } else {
      result += (winners == 0 ? "" : ", ") + std::string(info(seat).name) + " ";
      opponentWon = true;
    }
    ++winners;
  }
  if (winners > 0) result += winners == 1 && opponentWon ? "wins" : "win";
  v.result = result;
}

}  // namespace

std::string reasonWords(const Step& s) {
  if (!s.why || s.seat == Seat::Player) return "";
  const Reason& y = *s.why;
  std::string out = std::string(info(s.seat).name) + " " + verb(s.kind) + ": " + valueWords(y.handValue) +
                    " " + roundWords(s.round) + ", " + (y.answering ? "fold" : "raise") + " chance " +
                    std::to_string(y.chance) + " %, drew " + std::to_string(y.draw);
  if (y.answering && y.knowsPlayerBeaten)
    out += "; looked at your cards (drew " + std::to_string(y.peekDraw) + ", needed more than " +
           std::to_string(y.peekThreshold) + ") and saw them beaten";
  if (y.shortOfChips) out += "; short of chips for the bet";
  return out;
}

std::vector<ReplayFrame> replayFrames(const HandRecord& r) {
  std::vector<ReplayFrame> out;
  ReplayFrame f;
  for (int s = 0; s < kSeatCount; ++s) {
    f.chips[s] = r.seats[s].chips;
    f.inDeal[s] = r.seats[s].dealtIn;
  }
  f.pot = r.potAtStart;
  f.caption = joined(openingWords(r));
  const auto show = [&] {
    for (int s = 0; s < kSeatCount; ++s) f.view.cashText[s] = std::to_string(f.chips[s]);
    f.view.potText = std::to_string(f.pot);
    out.push_back(f);
  };
  show();
  bool quiet = false;
  for (size_t i = 0; i < r.steps.size(); ++i) {
    const Step& s = r.steps[i];
    f.step = static_cast<int>(i);
    f.pot = s.potAfter;
    f.boardShown = std::max(f.boardShown, s.boardShown);
    if (s.kind != StepKind::Board) f.chips[index(s.seat)] = s.chipsAfter;
    if (s.kind == StepKind::Fold) f.inDeal[index(s.seat)] = false;
    if (s.kind == StepKind::ChipsSet) f.inDeal[index(s.seat)] = f.inDeal[index(s.seat)] && s.chipsAfter > 0;
    label(f.view, s, f.inDeal, quiet);
    f.caption = joined(stepWords(r, s));
    f.reason = reasonWords(s);
    show();
  }
  if (r.end) {
    f.step = static_cast<int>(r.steps.size()) - 1;
    f.over = true;
    f.chips = r.chipsAtEnd;
    f.pot = r.end->pot;
    f.boardShown = std::max(f.boardShown, r.boardShown);
    labelEnd(f.view, *r.end);
    f.caption = joined(endWords(r));
    f.reason.clear();
    show();
  }
  return out;
}

int64_t playerResult(const HandRecord& r) {
  const int p = index(Seat::Player);
  int64_t result = static_cast<int64_t>(r.chipsAtEnd[p]) - r.seats[p].chips;
  for (const Step& s : r.steps)
    if (s.kind == StepKind::ChipsSet && s.seat == Seat::Player) result += s.paid;
  return result;
}

SessionFigures sessionFigures(std::span<const HandRecord> deals) {
  SessionFigures f;
  for (const HandRecord& r : deals) addDeal(f, r);
  return f;
}

SessionDeal sessionDeal(const HandRecord& r) {
  return {r.number, r.chipsAtEnd[index(Seat::Player)], playerResult(r)};
}

void addDeal(SessionFigures& f, const HandRecord& r) {
  if (!r.end) return;
  ++f.deals;
  bool voluntary = false, raised = false;
  for (const Step& s : r.steps) {
    if (s.seat != Seat::Player || s.round != kPreFlop) continue;
    voluntary = voluntary || s.kind == StepKind::Call || s.kind == StepKind::Raise;
    raised = raised || s.kind == StepKind::Raise;
  }
  f.voluntary += voluntary ? 1 : 0;
  f.raisedFirst += raised ? 1 : 0;
  const DealEnd& end = *r.end;
  const bool shown = std::any_of(end.hands.begin(), end.hands.end(),
                                 [](const ShownHand& h) { return h.seat == Seat::Player; });
  const bool played = end.potPaid && (end.byFolds || shown);
  const bool won = std::find(end.winners.begin(), end.winners.end(), Seat::Player) != end.winners.end();
  f.handsPlayed += played ? 1 : 0;
  f.handsWon += played && won ? 1 : 0;
  f.chipsWon += playerResult(r);
}

}  // namespace holdem
