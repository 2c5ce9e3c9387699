#include "history/hand_words.h"

#include <algorithm>
#include <array>

#include "ai/rules.h"

namespace holdem {

namespace {

constexpr std::array<const char*, 13> kRankWords{"2", "3",  "4", "5", "6", "7", "8",
                                                 "9", "10", "J", "Q", "K", "A"};
constexpr std::array<const char*, 4> kSuitSigns{"\u2663", "\u2666", "\u2665", "\u2660"};  // clubs .. spades
constexpr std::array<const char*, 4> kLevelNames{"Amateur", "Expert", "Master", "Genius"};

std::string name(Seat s) { return std::string(info(s).name); }

// "You check", "Geek checks".
std::string says(Seat s, const char* verb) {
  std::string out = name(s) + " " + verb;
  if (s != Seat::Player) out += 's';
  return out;
}

std::string cardsWords(std::initializer_list<Card> cards) {
  std::string out;
  for (Card c : cards) {
    if (!out.empty()) out += ' ';
    out += cardWords(c);
  }
  return out;
}

std::string potWords(const Step& s) { return ", pot " + std::to_string(s.potAfter); }

// What a seat left with no chips shows: its chips after the step.
std::string leftWords(const Step& s) {
  if (s.chipsAfter > 0) return "";
  return s.seat == Seat::Player ? ", leaving you " + std::to_string(s.chipsAfter)
                                : ", leaving it " + std::to_string(s.chipsAfter);
}

const char* category(int32_t value) {
  if (value >= kStraightFlush) return "a straight flush";
  if (value >= kFourOfAKind) return "four of a kind";
  if (value >= kFullHouse) return "a full house";
  if (value >= kFlush) return "a flush";
  if (value >= kStraight) return "a straight";
  if (value >= kThreeOfAKind) return "three of a kind";
  if (value >= kTwoPairs) return "two pairs";
  if (value >= kOnePair) return "a pair";
  return "a high card";
}

// "Champ", "You and Freak", "Geek, Master and Robot".
std::string names(const std::vector<Seat>& seats) {
  std::string out;
  for (size_t i = 0; i < seats.size(); ++i) {
    if (i > 0) out += i + 1 == seats.size() ? " and " : ", ";
    out += name(seats[i]);
  }
  return out;
}

std::vector<Seat> paidWinners(const DealEnd& end) {
  std::vector<Seat> out;
  for (Seat s : end.winners) {
    if (end.won[index(s)] != 0) out.push_back(s);
  }
  return out;
}

// "Champ wins 48", "You and Freak win 12 each", "You win 15 and Geek 7".
std::string winWords(const DealEnd& end, const std::vector<Seat>& winners) {
  const bool one = winners.size() == 1;
  const bool even = std::all_of(winners.begin(), winners.end(),
                                [&](Seat s) { return end.won[index(s)] == end.won[index(winners[0])]; });
  std::string out = names(winners) + (one && winners[0] != Seat::Player ? " wins " : " win ");
  if (even) return out + std::to_string(end.won[index(winners[0])]) + (one ? "" : " each");
  out = name(winners[0]) + (winners[0] == Seat::Player ? " win " : " wins ") +
        std::to_string(end.won[index(winners[0])]);
  for (size_t i = 1; i < winners.size(); ++i)
    out += (i + 1 == winners.size() ? " and " : ", ") + name(winners[i]) + " " +
           std::to_string(end.won[index(winners[i])]);
  return out;
}

const ShownHand* handOf(const DealEnd& end, Seat s) {
  for (const ShownHand& h : end.hands) {
    if (h.seat == s) return &h;
  }
  return nullptr;
}

}  // namespace

std::string cardWords(Card c) {
  if (c.rank < 0 || c.rank > 12 || c.suit < 0 || c.suit > 3) return "?";
  return std::string(kRankWords[c.rank]) + kSuitSigns[c.suit];
}

std::vector<std::string> openingWords(const HandRecord& r) {
  std::string level = "AI level ?";
  for (size_t i = 0; i < kPeekThresholdByLevel.size(); ++i) {
    if (kPeekThresholdByLevel[i] == r.peekThreshold) level = std::string("AI level ") + kLevelNames[i];
  }
  std::vector<std::string> out{"Deal " + std::to_string(r.number) + ": blinds " +
                               std::to_string(r.smallBlind) + " and " + std::to_string(r.bigBlind) +
                               ", bets " + std::to_string(r.smallBet) + " and " + std::to_string(r.bigBet) +
                               ", " + level};
  std::vector<Seat> out_of_chips;
  for (int s = 0; s < kSeatCount; ++s) {
    if (!r.seats[s].dealtIn) out_of_chips.push_back(static_cast<Seat>(s));
  }
  if (!out_of_chips.empty())
    out.push_back(names(out_of_chips) +
                  (out_of_chips.size() == 1 && out_of_chips[0] != Seat::Player ? " has" : " have") +
                  " no chips and sit" +
                  (out_of_chips.size() == 1 && out_of_chips[0] != Seat::Player ? "s" : "") + " the deal out");
  const auto& hole = r.seats[index(Seat::Player)].hole;
  out.push_back("Your cards: " + cardsWords({hole[0], hole[1]}));
  return out;
}

std::vector<std::string> stepWords(const HandRecord& r, const Step& s) {
  switch (s.kind) {
    case StepKind::SmallBlind:
    case StepKind::BigBlind: {
      const char* which = s.kind == StepKind::SmallBlind ? "small" : "big";
      const int32_t blind = s.kind == StepKind::SmallBlind ? r.smallBlind : r.bigBlind;
      if (s.paid == 0)
        return {name(s.seat) + " has no chips for the " + which + " blind of " + std::to_string(blind) +
                "; the pot counts it all the same" + potWords(s)};
      return {says(s.seat, "post") + " the " + which + " blind " + std::to_string(s.paid) + potWords(s) +
              leftWords(s)};
    }
    case StepKind::Check: return {says(s.seat, "check")};
    case StepKind::Call:
      return {says(s.seat, "call") + " " + std::to_string(s.paid) + potWords(s) + leftWords(s)};
    case StepKind::Bet:
      return {says(s.seat, "bet") + " " + std::to_string(s.paid) + potWords(s) + leftWords(s)};
    case StepKind::Raise:
      return {says(s.seat, "raise") + " " + std::to_string(s.paid) + potWords(s) + leftWords(s)};
    case StepKind::Fold:
      return {says(s.seat, "fold") + (s.why && s.why->shortOfChips ? ", short of chips for the bet" : "")};
    case StepKind::ChipsSet:
      if (s.seat != Seat::Player) return {};
      return {"The options set every seat's chips to " + std::to_string(s.chipsAfter)};
    case StepKind::Board: {
      std::vector<std::string> out;
      int before = 0;
      for (const Step& earlier : r.steps) {
        if (&earlier == &s) break;
        if (earlier.kind == StepKind::Board) before = earlier.boardShown;
      }
      if (before < 3 && s.boardShown >= 3)
        out.push_back("Flop: " + cardsWords({r.board[0], r.board[1], r.board[2]}));
      if (before < 4 && s.boardShown >= 4) out.push_back("Turn: " + cardWords(r.board[3]));
      if (before < 5 && s.boardShown >= 5) out.push_back("River: " + cardWords(r.board[4]));
      return out;
    }
  }
  return {};
}

std::vector<std::string> endWords(const HandRecord& r) {
  if (!r.end) return {};
  const DealEnd& end = *r.end;
  std::vector<std::string> out;
  if (!end.namesHidden) {
    for (const ShownHand& h : end.hands) {
      const auto& hole = r.seats[index(h.seat)].hole;
      std::string line = says(h.seat, "show") + " " + cardsWords({hole[0], hole[1]});
      if (!h.name.empty()) line += ": " + std::string(h.name);
      out.push_back(std::move(line));
    }
  }
  const std::vector<Seat> paid = paidWinners(end);
  if (end.byFolds && paid.size() == 1 && paid[0] == Seat::Player) {
    out.push_back("You win " + std::to_string(end.won[index(Seat::Player)]) + ": every opponent is out");
  } else if (!paid.empty()) {
    out.push_back(winWords(end, paid));
  } else if (!end.winners.empty()) {
    out.push_back(names(end.winners) +
                  (end.winners.size() == 1 && end.winners[0] != Seat::Player ? " has" : " have") +
                  " the best hand, and the pot of " + std::to_string(end.pot) + " is not paid");
  } else {
    out.push_back("Nobody takes part in the showdown: nobody wins the pot of " + std::to_string(end.pot));
  }
  if (!paid.empty() && end.lost > 0)
    out.push_back(std::to_string(end.lost) + (end.lost == 1 ? " chip" : " chips") + " of the pot " +
                  (end.lost == 1 ? "goes" : "go") + " to nobody");
  return out;
}

std::string summaryWords(const HandRecord& r) {
  std::string out = "Deal " + std::to_string(r.number) + ": ";
  if (!r.end) return out + "not finished";
  const DealEnd& end = *r.end;
  const std::vector<Seat> paid = paidWinners(end);
  if (paid.empty()) return out + "nobody wins the pot of " + std::to_string(end.pot);
  out += winWords(end, paid);
  if (end.byFolds && paid.size() == 1 && paid[0] == Seat::Player) return out + ", every opponent out";
  if (end.namesHidden) return out + ", you folded";
  if (const ShownHand* h = handOf(end, paid[0]); h && paid.size() >= 1)
    out += std::string(" with ") + category(h->handValue);
  return out;
}

}  // namespace holdem
