// The seven-slot evaluator: particular hands as the rules read, and the
// board slots of each round.
#include "eval/evaluator.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

namespace holdem {

// Lets failures show the whole rating.
void PrintTo(const HandRating& r, std::ostream* os) {
  *os << "{value " << r.handValue << ", kicker " << r.handKicker << (r.straightDraw ? ", straightDraw" : "")
      << (r.flushDraw ? ", flushDraw" : "") << (r.connectedHoleCards ? ", connected" : "")
      << (r.suitedHoleCards ? ", suited" : "") << "}";
}

namespace {

// Hands written down: "Ah" is the Ace of hearts, "Tc" the Ten of clubs; a
// negative number is a placeholder (the same number in suit and rank).
EvalSlots slotsOf(std::string_view text) {
  constexpr std::string_view kRanks = "23456789TJQKA", kSuits = "cdhs";
  EvalSlots slots{};
  std::istringstream in{std::string(text)};
  int n = 0;
  for (std::string t; in >> t && n < 7; ++n) {
    slots[n] = t[0] == '-'
                   ? Card::placeholder(std::stoi(t))
                   : Card{static_cast<int32_t>(kSuits.find(t[1])), static_cast<int32_t>(kRanks.find(t[0]))};
  }
  EXPECT_EQ(n, 7) << "a test hand needs seven slots: " << text;
  return slots;
}

// A rating written as its two numbers and the flags that are set.
HandRating rating(int32_t value, int32_t kicker, std::string_view flags = "") {
  const auto has = [flags](std::string_view f) { return flags.find(f) != std::string_view::npos; };
  return {value, kicker, has("straight"), has("flush"), has("connected"), has("suited")};
}

TEST(Evaluator, RatesParticularHandsAsTheRulesRead) {
  const struct {
    const char* what;
    int32_t round;
    const char* slots;
    HandRating expected;
  } cases[] = {
      // Pre-flop: hole cards four ranks apart or closer are connected.
      {"a pair of Sevens: every kicker is -5", 1, "7c 7d -12 -33 -27 -23 -17", rating(105, -45, "connected")},
      {"Ace and King suited", 1, "Ah Kh -12 -33 -27 -23 -17", rating(12, 50, "connected suited")},
      {"Nine and Five are four apart", 1, "9d 5c -12 -33 -27 -23 -17", rating(7, 10, "connected")},
      {"Five and Ten are five apart", 1, "5c Td -12 -33 -27 -23 -17", rating(8, 10)},
      {"placeholders only: the highest one", 3, "-45 -55 -31 -33 -27 -23 -17", rating(-17, -30)},
      // Runs: only from the two lowest starts, the suited one first.
      {"wheel in mixed suits", 4, "Ac 2d 3h 4s 5c 9d Kh", rating(403, 0, "suited")},
      {"wheel in one suit before the river keeps its draw", 3, "As 2s 3s 4s 5s 9d -10",
       rating(1000, 3, "straight")},
      {"the starts Two and Three are off-suit: a flush", 4, "2c 3d 4s 5s 6s 7s 8s", rating(456, 104)},
      {"first start Five of hearts: a flush, not a straight flush", 4, "5h 5s 6s 7s 8s 9s Kd",
       rating(457, 108)},
      {"the Fives swapped: first start Five of spades", 5, "5s 5h 6s 7s 8s 9s Kd", rating(1000, 7)},
      {"the straight from the second start", 4, "2c 3d 5h 6s 7c 8d 9h", rating(407, 0, "suited")},
      {"four in a row, then a gap", 5, "2c 3d 4h 5s 7c 8d Kh", rating(11, 35, "straight suited")},
      // Weighted sums of kickers.
      {"three Kings and three Fours: full house", 4, "Kc Kd Kh 4c 4d 4h 9s", rating(511, 10, "suited")},
      {"a third pair's rank is the kicker", 4, "Qc Qd 8c 8d 3h 3s 2h", rating(210, 61, "suited")},
      {"pair of Sixes, Queen, Jack, Ten", 3, "6c 6d Qh Js Tc 2h -10", rating(104, 85, "suited")},
      {"three Nines with Ace and Queen", 4, "9c 9d 9h Ac Qd 4h 2s", rating(307, 70, "suited")},
      {"four Nines: no kicker", 4, "9c 9d 9h 9s Ac Kd 2h", rating(807, 0, "suited")},
      // Draws count until the river; suits are counted up to the flush suit's first card.
      {"two to five of hearts on the turn", 3, "2h 3h 4h 5h 9c Jd -10", rating(9, 38, "straight flush")},
      {"two to five of hearts on the river", 4, "2h 3h 4h 5h 9c Jd -10", rating(9, 38)},
      {"two clubs before the first heart", 4, "2c 9c Ah Kh 7h 5h 3h", rating(462, 110, "suited")},
      {"the flush suit comes first", 4, "Ah 2c Kh 7h 9c 5h 3h", rating(462, 110)},
  };
  for (const auto& c : cases) EXPECT_EQ(evaluateHand(slotsOf(c.slots), c.round), c.expected) << c.what;
}

TEST(Evaluator, FillsBoardSlotsForEachRoundAndRatesTheBoardAlone) {
  const EvalSlots dealt = slotsOf("Ah Kh Qc Qd 4h 7s Ac");
  const std::array<Card, 5> board{dealt[2], dealt[3], dealt[4], dealt[5], dealt[6]};
  const struct {
    int32_t round;
    const char* slots;
    HandRating boardAlone;
  } cases[] = {
      {1, "Ah Kh -12 -33 -27 -23 -17", rating(-12, -30)},
      {2, "Ah Kh Qc Qd 4h -23 -17", rating(110, -10)},
      {3, "Ah Kh Qc Qd 4h 7s -10", rating(110, 26)},
      {4, "Ah Kh Qc Qd 4h 7s Ac", rating(110, 77, "suited")},
      {5, "Ah Kh Ts Ts Ts Ts Ts", rating(0, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.round);
    EvalSlots slots = slotsOf("Ah Kh Ts Ts Ts Ts Ts");
    fillBoardSlots(slots, board, c.round);
    EXPECT_EQ(slots, slotsOf(c.slots));
    if (c.round == 5) continue;
    slots[0] = Card::placeholder(kBoardOnlyHole0);
    slots[1] = Card::placeholder(kBoardOnlyHole1);
    EXPECT_EQ(evaluateHand(slots, c.round), c.boardAlone);
  }
}

}  // namespace
}  // namespace holdem
