// The seven-slot evaluator: particular hands, the board slots of each round,
// the showdown score and the hand names; and, over many random slots, the
// game's rater against the rules read slot by slot.
#include "eval/evaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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

// ---------------------------------------------------------------------------
// The rating slot by slot, as the rules read, for cross-checking the game's
// evaluator on any slot contents.
// ---------------------------------------------------------------------------

HandRating referenceRating(const EvalSlots& c, int32_t round) {
  HandRating h;  // reset
  if (round == 1) {
    const int64_t d = int64_t{c[0].rank} - c[1].rank;
    h.connectedHoleCards = d >= -4 && d <= 4;
  }
  auto done = [&]() {
    if (round == 4) {
      h.straightDraw = false;
      h.flushDraw = false;
    }
    return h;
  };
  auto slotsWithRank = [&](int64_t r) {
    int n = 0;
    for (const Card& x : c) n += x.rank == r;
    return n;
  };
  auto holds = [&](int32_t suit, int64_t r) {
    for (const Card& x : c)
      if (x.suit == suit && x.rank == r) return true;
    return false;
  };
  auto kicker = [&](std::vector<int64_t> excluded) {
    int64_t best = -5;
    for (const Card& x : c)
      if (x.rank > best && std::find(excluded.begin(), excluded.end(), x.rank) == excluded.end())
        best = x.rank;
    return best;
  };
  auto set = [&](int64_t value, int64_t kick) {
    h.handValue = static_cast<int32_t>(value);
    h.handKicker = static_cast<int32_t>(kick);
    return done();
  };
  // A run search; returns the top rank of a made run, or nothing.
  auto runSearch = [&](bool suited) -> std::pair<bool, int64_t> {
    bool haveFirst = false;
    int64_t firstStart = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
      int startSlot = -1;
      int64_t startRank = std::numeric_limits<int64_t>::max();
      for (int i = 0; i < 7; ++i) {
        const int64_t r = c[i].rank;
        if (r < startRank && !(haveFirst && r == firstStart) && slotsWithRank(r + 1) > 0) {
          startRank = r;
          startSlot = i;
        }
      }
      if (startSlot < 0) break;
      const int32_t suit = c[startSlot].suit;
      auto next = [&](int64_t r) { return suited ? holds(suit, r) : slotsWithRank(r) > 0; };
      int64_t r = startRank;
      int steps = 0;
      while (next(r + 1)) {
        ++r;
        ++steps;
      }
      if (steps >= 4) return {true, r};
      if (steps == 3) {
        h.straightDraw = true;
        if (r == 3 && next(12)) return {true, 3};
      }
      haveFirst = true;
      firstStart = startRank;
    }
    return {false, 0};
  };

  if (auto [made, top] = runSearch(true); made) return set(1000, top);

  for (int i = 0; i < 7; ++i) {
    std::vector<int64_t> ranks;
    for (const Card& x : c)
      if (x.suit == c[i].suit) ranks.push_back(x.rank);
    if (ranks.size() == 4) h.flushDraw = true;
    if (ranks.size() == 2) h.suitedHoleCards = true;
    if (ranks.size() >= 5) {
      std::sort(ranks.rbegin(), ranks.rend());
      return set(450 + ranks[0], 90 + ranks[1] + ranks[2] + ranks[3] + ranks[4]);
    }
  }

  if (auto [made, top] = runSearch(false); made) return set(400 + top, 0);

  for (int r = 0; r <= 12; ++r)
    if (slotsWithRank(r) == 4) return set(800 + r, 0);

  // Highest or lowest slot rank held at least n times, other than `skip`.
  auto held = [&](int n, bool highest, std::vector<int64_t> skip) -> std::pair<bool, int64_t> {
    bool any = false;
    int64_t found = 0;
    for (const Card& x : c) {
      if (std::find(skip.begin(), skip.end(), x.rank) != skip.end() || slotsWithRank(x.rank) < n) continue;
      if (!any || (highest ? x.rank > found : x.rank < found)) found = x.rank;
      any = true;
    }
    return {any, found};
  };

  if (auto [three, t] = held(3, true, {}); three) {
    if (auto [pair, p] = held(2, true, {t}); pair) return set(500 + t, 5 * p);
  }
  if (auto [three, t] = held(3, false, {}); three) {
    const int64_t k1 = kicker({t});
    return set(300 + t, 5 * k1 + kicker({t, k1}));
  }
  if (auto [pair, p1] = held(2, true, {}); pair) {
    if (auto [second, p2] = held(2, true, {p1}); second) return set(200 + p1, 10 * p2 + kicker({p1, p2}));
  }
  if (auto [pair, p] = held(2, false, {}); pair) {
    const int64_t k1 = kicker({p});
    const int64_t k2 = kicker({p, k1});
    return set(100 + p, 5 * k1 + 3 * k2 + kicker({p, k1, k2}));
  }
  int64_t high = c[0].rank;
  for (const Card& x : c) high = std::max<int64_t>(high, x.rank);
  const int64_t k1 = kicker({high});
  return set(high, 5 * k1 + kicker({high, k1}));
}

// Random slots from a fixed seed (splitmix64), so every run sees the same.
class TestRandom {
 public:
  explicit TestRandom(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int32_t below(int32_t n) { return static_cast<int32_t>(next() % static_cast<uint64_t>(n)); }
  int32_t between(int32_t lo, int32_t hi) { return lo + below(hi - lo + 1); }

 private:
  uint64_t state_;
};

// Seven different cards from a fresh deck, in dealing order.
EvalSlots dealSeven(TestRandom& rng) {
  std::array<int32_t, 52> deck;
  for (int32_t i = 0; i < 52; ++i) deck[i] = i;
  EvalSlots slots;
  for (int i = 0; i < 7; ++i) {
    std::swap(deck[i], deck[i + rng.below(52 - i)]);
    slots[i] = Card{deck[i] / 13, deck[i] % 13};
  }
  return slots;
}

std::string slotsText(const EvalSlots& slots) {
  std::string text;
  for (const Card& c : slots) text += std::to_string(c.suit) + "." + std::to_string(c.rank) + " ";
  return text;
}

// Whether the slots keep the evaluator's promise: real cards all different,
// and placeholders below -5, all different and none one apart.
bool keepsThePromise(const EvalSlots& slots) {
  for (size_t i = 0; i < slots.size(); ++i) {
    const Card a = slots[i];
    const bool real = a.suit >= 0 && a.suit < 4 && a.rank >= 0 && a.rank < 13;
    if (!real && (a.suit != a.rank || a.rank >= -5)) return false;
    for (size_t j = i + 1; j < slots.size(); ++j) {
      const Card b = slots[j];
      if (real && a == b) return false;
      if (!real && b.suit == b.rank && b.rank < 0 && std::abs(int64_t{a.rank} - b.rank) <= 1) return false;
    }
  }
  return true;
}

// Random deals as the game makes them, then slots mixing real cards and
// placeholders: wherever the slots keep the promise, the game's rating is
// the rules' slot by slot. Slots that break it never come from a deal; they
// are rated all the same, and the sanitizer build watches that nothing goes
// wrong.
TEST(Evaluator, MatchesTheSlotBySlotRules) {
  TestRandom rng(77);
  for (int n = 0; n < 300'000; ++n) {
    const EvalSlots dealt = dealSeven(rng);
    const std::array<Card, 5> board = {dealt[2], dealt[3], dealt[4], dealt[5], dealt[6]};
    const int32_t round = rng.between(1, 5);
    // The seat's own rating, then the board alone, as the opponents make
    // them; slots 2-6 hold the board already, as the game leaves them.
    EvalSlots seat = dealt;
    EvalSlots boardOnly = dealt;
    boardOnly[0] = Card::placeholder(kBoardOnlyHole0);
    boardOnly[1] = Card::placeholder(kBoardOnlyHole1);
    for (EvalSlots* slots : {&seat, &boardOnly}) {
      fillBoardSlots(*slots, board, round);
      ASSERT_EQ(evaluateHand(*slots, round), referenceRating(*slots, round)) << slotsText(*slots) << round;
    }
  }
  constexpr int32_t kExtremes[] = {
      std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min() + 1,
      std::numeric_limits<int32_t>::max() - 1, std::numeric_limits<int32_t>::max()};
  int kept = 0;
  for (int n = 0; n < 300'000; ++n) {
    EvalSlots slots;
    for (Card& c : slots) {
      switch (rng.below(6)) {
        case 0: c = Card::placeholder(rng.between(-60, -6)); break;
        case 1: c = Card::placeholder(kExtremes[rng.below(2)] + rng.between(0, 4)); break;
        case 2: c = Card{rng.between(-8, 5), rng.between(-8, 14)}; break;
        case 3: c = Card{rng.between(0, 3), kExtremes[rng.below(4)]}; break;
        default: c = Card{rng.between(0, 3), rng.between(0, 12)}; break;
      }
    }
    const int32_t round = rng.between(0, 5);
    const HandRating got = evaluateHand(slots, round);
    if (!keepsThePromise(slots)) continue;
    ++kept;
    ASSERT_EQ(got, referenceRating(slots, round)) << slotsText(slots) << round;
  }
  EXPECT_GT(kept, 10'000);
}

}  // namespace
}  // namespace holdem
