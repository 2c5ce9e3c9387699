#include "eval/evaluator.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace holdem {

namespace {

constexpr int32_t kNoKicker = -5;  // a kicker search that finds nothing
constexpr int kSlots = 7;
constexpr int32_t kFlushKickerBase = 90;

// Step 2: on the pre-flop, the hole cards are connected when their ranks
// differ by less than 5 either way.
bool holeCardsConnected(const EvalSlots& slots) {
  const int64_t diff = static_cast<int64_t>(slots[0].rank) - slots[1].rank;
  return diff > -5 && diff < 5;
}

// ---------------------------------------------------------------------------
// The rules over bit sets of ranks: the real cards of the slots, plus the
// placeholders of the cards not dealt yet. Placeholders that keep their
// promise (below -5, all different, none one apart) never pair, never run,
// never share a suit and are never kickers, so they only matter to step 2
// and, when no real card is there at all, to the high card of step 11.
// ---------------------------------------------------------------------------

using RankSet = uint32_t;  // bit r set: rank r is held

constexpr RankSet kAceBit = RankSet{1} << kAce;

// The highest and the lowest rank of a set that is not empty.
int32_t highestRank(RankSet set) { return static_cast<int32_t>(std::bit_width(set)) - 1; }
int32_t lowestRank(RankSet set) { return std::countr_zero(set); }
RankSet bit(int32_t rank) { return RankSet{1} << rank; }

// The highest rank of the set, or -5 for an empty set.
int32_t kickerOf(RankSet set) { return set ? highestRank(set) : kNoKicker; }

// The set without its highest rank.
RankSet withoutHighest(RankSet set) { return set ? set & ~bit(highestRank(set)) : 0; }

// The real cards of a rating as one bit set: bit 16 * suit + rank.
using CardBits = uint64_t;
constexpr int kSuitShift = 16;
constexpr uint64_t kLaneLow = 0x0001000100010001ull;  // bit 0 of each suit's lane

RankSet ranksOfSuit(CardBits cards, int32_t suit) {
  return static_cast<RankSet>(cards >> (kSuitShift * suit)) & 0x1fffu;
}

// How many cards each suit holds, as a number in each suit's 16-bit lane.
uint64_t suitCounts(CardBits x) {
  x = x - ((x >> 1) & 0x5555555555555555ull);
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0full;
  return (x + (x >> 8)) & 0x00ff00ff00ff00ffull;
}
int32_t countOf(uint64_t counts, int32_t suit) {
  return static_cast<int32_t>((counts >> (kSuitShift * suit)) & 0xffu);
}
int32_t totalOf(uint64_t counts) { return static_cast<int32_t>(((counts * kLaneLow) >> 48) & 0xffu); }

// The flags of steps 3 to 11, one bit each while the card-set rating works.
constexpr uint32_t kStraightDrawBit = 1;
constexpr uint32_t kFlushDrawBit = 2;
constexpr uint32_t kSuitedBit = 4;

// What steps 3 to 11 give.
struct CardRating {
  int32_t value = 0;
  int32_t kicker = 0;
  uint32_t flags = 0;
};

// The walk of one attempt: steps up from `start` while `walkable` holds the
// next rank. Returns the made hand's top rank, or -1.
constexpr int32_t walkRun(int32_t start, RankSet walkable, uint32_t& flags) {
  const int32_t steps = std::countr_one(walkable >> start) - 1;
  const int32_t end = start + steps;
  if (steps >= 4) return end;
  if (steps == 3) {
    flags |= kStraightDrawBit;
    if (end == kFive && (walkable & kAceBit)) return kFive;
  }
  return -1;
}

// Step 3: the suited run search. `starts` holds every rank that has the next
// rank beside it; `suit` is the one suit with four cards or more, the only
// suit in which a walk can take three steps.
int32_t suitedRun(const EvalSlots& slots, CardBits cards, int32_t suit, RankSet starts, uint32_t& flags) {
  const RankSet inSuit = ranksOfSuit(cards, suit);
  for (int attempt = 0; attempt < 2 && starts; ++attempt) {
    const int32_t start = lowestRank(starts);
    starts &= ~bit(start);
    // Fewer than three steps in this suit, or any other: nothing happens.
    if (std::countr_one(inSuit >> start) < 4) continue;
    // The run suit is the suit of the first slot holding the start rank.
    if ((cards & ~(CardBits{0x1fff} << (kSuitShift * suit))) >> start & kLaneLow) {
      const Card* first =
          std::find_if(slots.begin(), slots.end(), [start](Card c) { return c.rank == start; });
      if (first->suit != suit) continue;
    }
    const int32_t top = walkRun(start, inSuit, flags);
    if (top >= 0) return top;
  }
  return -1;
}

// Step 5: the any-suit run search, which depends on the set of ranks alone.
// For each set: the top rank of the made straight plus 1 (0 for none) in the
// low bits, and whether an attempt took exactly three steps.
constexpr uint8_t kRunDrawn = 0x80;

constexpr std::array<uint8_t, 1u << 13> kAnySuitRuns = [] {
  std::array<uint8_t, 1u << 13> table{};
  for (RankSet all = 0; all < table.size(); ++all) {
    RankSet starts = all & (all >> 1);
    uint32_t flags = 0;
    int32_t top = -1;
    for (int attempt = 0; attempt < 2 && starts && top < 0; ++attempt) {
      const int32_t start = std::countr_zero(starts);
      top = walkRun(start, all, flags);
      starts &= ~(RankSet{1} << start);
    }
    table[all] = static_cast<uint8_t>((top + 1) | (flags & kStraightDrawBit ? kRunDrawn : 0));
  }
  return table;
}();

// Steps 3 to 11 for the real cards `cards` standing in `slots`; any other
// slot holds a well-formed placeholder, the highest of them `highestPlaceholder`.
[[gnu::always_inline]] inline CardRating rateCards(const EvalSlots& slots, CardBits cards,
                                                   int32_t highestPlaceholder) {
  CardRating out;
  const RankSet s0 = ranksOfSuit(cards, 0), s1 = ranksOfSuit(cards, 1);
  const RankSet s2 = ranksOfSuit(cards, 2), s3 = ranksOfSuit(cards, 3);
  const RankSet all = s0 | s1 | s2 | s3;
  const RankSet starts = all & (all >> 1);

  // No suit holds more than seven cards, so bit 2 of a suit's count marks
  // four or more, and bits 2 and 0 or 1 five or more.
  const uint64_t counts = suitCounts(cards);
  const uint64_t atLeastFour = (counts >> 2) & kLaneLow;
  const uint64_t atLeastFive = atLeastFour & (counts | (counts >> 1));

  // Step 3: a suited run needs at least four cards of one suit.
  if (atLeastFour && starts) {
    const int32_t top =
        suitedRun(slots, cards, std::countr_zero(atLeastFour) / kSuitShift, starts, out.flags);
    if (top >= 0) {
      out.value = kStraightFlush;
      out.kicker = top;
      return out;
    }
  }

  // Step 4: a flush.
  if (atLeastFive) {
    // Only the slots before the first card of the flush suit are visited;
    // with five cards in one suit, no other suit holds four.
    const int32_t flushSuit = std::countr_zero(atLeastFive) / kSuitShift;
    for (const Card& c : slots) {
      if (c.suit == flushSuit) break;
      if (static_cast<uint32_t>(c.suit) < kSuitCount && countOf(counts, c.suit) == 2) out.flags |= kSuitedBit;
    }
    RankSet rest = ranksOfSuit(cards, flushSuit);
    const int32_t high = highestRank(rest);
    int32_t sum = kFlushKickerBase;
    for (int k = 0; k < 4; ++k) {
      rest = withoutHighest(rest);
      sum += highestRank(rest);
    }
    out.value = kFlush + high;
    out.kicker = sum;
    return out;
  }
  // Every slot is visited: a suit held exactly four times (with no suit at
  // five, four or more means four), or exactly twice.
  if (atLeastFour) out.flags |= kFlushDrawBit;
  if ((counts >> 1) & ~counts & ~(counts >> 2) & kLaneLow) out.flags |= kSuitedBit;

  // Step 5: a straight in any suits.
  const uint8_t run = kAnySuitRuns[all];
  if (run & kRunDrawn) out.flags |= kStraightDrawBit;
  if (run & ~kRunDrawn) {
    out.value = kStraight + (run & ~kRunDrawn) - 1;
    return out;
  }

  // Ranks held by at least two, at least three and all four suits.
  const RankSet twice = (s0 & s1) | (s2 & s3) | ((s0 | s1) & (s2 | s3));
  const RankSet thrice = (s0 & s1 & (s2 | s3)) | (s2 & s3 & (s0 | s1));
  const RankSet four = s0 & s1 & s2 & s3;

  // Step 6: four of a kind, the lowest if two.
  if (four) {
    out.value = kFourOfAKind + lowestRank(four);
    return out;
  }
  if (thrice) {
    // Step 7: a full house, the highest three over the highest pair.
    const int32_t three = highestRank(thrice);
    const RankSet pairs = twice & ~bit(three);
    if (pairs) {
      out.value = kFullHouse + three;
      out.kicker = 5 * highestRank(pairs);
      return out;
    }
    // Step 8: with no other pair, the only set of three.
    const RankSet rest = all & ~bit(three);
    out.value = kThreeOfAKind + three;
    out.kicker = 5 * kickerOf(rest) + kickerOf(withoutHighest(rest));
    return out;
  }
  if (twice) {
    const int32_t high = highestRank(twice);
    const RankSet others = twice & ~bit(high);
    if (others) {
      // Step 9: a third pair's rank may be the kicker.
      const int32_t low = highestRank(others);
      out.value = kTwoPairs + high;
      out.kicker = 10 * low + kickerOf(all & ~bit(high) & ~bit(low));
      return out;
    }
    // Step 10: the only pair.
    const RankSet rest = all & ~bit(high);
    const RankSet rest2 = withoutHighest(rest);
    out.value = kOnePair + high;
    out.kicker = 5 * kickerOf(rest) + 3 * kickerOf(rest2) + kickerOf(withoutHighest(rest2));
    return out;
  }

  // Step 11: the high card, a placeholder when no real card is there.
  if (all) {
    const RankSet rest = all & ~bit(highestRank(all));
    out.value = highestRank(all);
    out.kicker = 5 * kickerOf(rest) + kickerOf(withoutHighest(rest));
  } else {
    out.value = highestPlaceholder;
    out.kicker = 5 * kNoKicker + kNoKicker;
  }
  return out;
}

// Steps 1, 2 and 12 around the card-set rating: the pre-flop connection and
// the river's clearing of the draws do not depend on steps 3 to 11.
//
// The result is put together in two whole words and copied out at once:
// filled field by field, the compiler stores the two numbers apart and then
// reads them back as one word, a load the store buffer cannot forward, which
// stalled every rating for longer than the rating itself took.
HandRating finishRating(const CardRating& r, const EvalSlots& slots, int32_t bettingRound) {
  const bool drawsCount = bettingRound != 4;
  const bool straightDraw = drawsCount && (r.flags & kStraightDrawBit);
  const bool flushDraw = drawsCount && (r.flags & kFlushDrawBit);
  const bool connected = bettingRound == 1 && holeCardsConnected(slots);
  const bool suited = r.flags & kSuitedBit;
  // The flags' bytes, first field lowest, as a little-endian word lays them out.
  static_assert(std::endian::native == std::endian::little);
  static_assert(sizeof(HandRating) == 12 && offsetof(HandRating, handKicker) == 4 &&
                offsetof(HandRating, straightDraw) == 8 && offsetof(HandRating, flushDraw) == 9 &&
                offsetof(HandRating, connectedHoleCards) == 10 &&
                offsetof(HandRating, suitedHoleCards) == 11);
  struct [[gnu::packed]] Words {
    uint64_t numbers;
    uint32_t flags;
  };
  return std::bit_cast<HandRating>(
      Words{static_cast<uint32_t>(r.value) | uint64_t{static_cast<uint32_t>(r.kicker)} << 32,
            uint32_t{straightDraw} | uint32_t{flushDraw} << 8 | uint32_t{connected} << 16 |
                uint32_t{suited} << 24});
}

// The rating of slots that hold something besides seven different real
// cards: the board-only rating and the early rounds, with placeholders for
// the cards not dealt. Placeholders keep a promise (below -5, all different,
// none one apart) under which they never pair, run, share a suit or count as
// kickers, so only the real cards and the highest placeholder matter. Slots
// that break the promise (repeated cards, placeholders side by side, suits
// or ranks out of range) never come from a deal; they are rated the same way,
// each real card once, and whatever comes out, nothing goes wrong.
[[gnu::noinline]] HandRating rateOtherSlots(const EvalSlots& slots, int32_t bettingRound) {
  CardBits cards = 0;
  int32_t highestPlaceholder = kNoKicker;
  bool anyPlaceholder = false;
  for (const Card& c : slots) {
    const auto suit = static_cast<uint32_t>(c.suit);
    const auto rank = static_cast<uint32_t>(c.rank);
    if (suit < kSuitCount && rank <= static_cast<uint32_t>(kAce)) {
      cards |= CardBits{1} << (kSuitShift * suit + rank);
    } else {
      highestPlaceholder = anyPlaceholder ? std::max(highestPlaceholder, c.rank) : c.rank;
      anyPlaceholder = true;
    }
  }
  return finishRating(rateCards(slots, cards, highestPlaceholder), slots, bettingRound);
}

}  // namespace

HandRating evaluateHand(const EvalSlots& slots, int32_t bettingRound) {
  // Seven different real cards, as at the showdown, go straight to the
  // card-set rating. They are real when every suit is below 4 and every rank
  // below 13, which the bits 13-15 of each suit's lane show.
  CardBits cards = 0;
  uint32_t suits = 0, ranks = 0;
  for (const Card& c : slots) {
    suits |= static_cast<uint32_t>(c.suit);
    ranks |= static_cast<uint32_t>(c.rank);
    cards |=
        CardBits{1} << ((kSuitShift * static_cast<uint32_t>(c.suit) + static_cast<uint32_t>(c.rank)) & 63u);
  }
  constexpr CardBits kNoRank = 0xe000e000e000e000ull;
  if (suits < 4 && ranks < 16 && !(cards & kNoRank) && totalOf(suitCounts(cards)) == kSlots) {
    return finishRating(rateCards(slots, cards, 0), slots, bettingRound);
  }
  return rateOtherSlots(slots, bettingRound);
}

void fillBoardSlots(EvalSlots& slots, const std::array<Card, 5>& board, int32_t bettingRound) {
  // Placeholders of slots 2-6 for the cards not yet uncovered.
  static constexpr std::array<int32_t, 5> kPreFlop = {-12, -33, -27, -23, -17};
  static constexpr int32_t kTurnPlaceholder = -23;
  static constexpr int32_t kRiverPlaceholder = -17;
  static constexpr int32_t kRiverAfterTurn = -10;

  switch (bettingRound) {
    case 1:
      for (int i = 0; i < 5; ++i) slots[2 + i] = Card::placeholder(kPreFlop[i]);
      break;
    case 2:
      for (int i = 0; i < 3; ++i) slots[2 + i] = board[i];
      slots[5] = Card::placeholder(kTurnPlaceholder);
      slots[6] = Card::placeholder(kRiverPlaceholder);
      break;
    case 3:
      for (int i = 0; i < 4; ++i) slots[2 + i] = board[i];
      slots[6] = Card::placeholder(kRiverAfterTurn);
      break;
    case 4:
      for (int i = 0; i < 5; ++i) slots[2 + i] = board[i];
      break;
    default: break;
  }
}

}  // namespace holdem
