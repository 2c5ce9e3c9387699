#include <array>
#include <cstdint>
#include <string_view>

#include "eval/evaluator.h"

namespace holdem {

namespace {

// One block of consecutive hand values that carry a name: the first value and
// the names in ascending order of the value.
struct NameBlock {
  int32_t first;
  const std::string_view* names;
  int32_t count;
};

constexpr std::string_view kHighCard[] = {"Four", "Five", "Six",   "Seven", "Eight", "Nine",
                                          "Ten",  "Jack", "Queen", "King",  "Ace"};

constexpr std::string_view kOnePair[] = {
    "One pair Twos",   "One pair Threes", "One pair Fours", "One pair Fives", "One pair Sixes",
    "One pair Sevens", "One pair Eights", "One pair Nines", "One pair Tens",  "One pair Jacks",
    "One pair Queens", "One pair Kings",  "One pair Aces"};

// Two pairs are named by the higher pair, which is at least a Three.
constexpr std::string_view kTwoPairs[] = {"Two pairs Threes", "Two pairs Fours",  "Two pairs Fives",
                                          "Two pairs Sixes",  "Two pairs Sevens", "Two pairs Eights",
                                          "Two pairs Nines",  "Two pairs Tens",   "Two pairs Jacks",
                                          "Two pairs Queens", "Two pairs Kings",  "Two pairs Aces"};

constexpr std::string_view kThree[] = {"Three Twos",  "Three Threes", "Three Fours",  "Three Fives",
                                       "Three Sixes", "Three Sevens", "Three Eights", "Three Nines",
                                       "Three Tens",  "Three Jacks",  "Three Queens", "Three Kings",
                                       "Three Aces"};

constexpr std::string_view kStraight[] = {"Straight Five High",  "Straight Six High",   "Straight Seven High",
                                          "Straight Eight High", "Straight Nine High",  "Straight Ten High",
                                          "Straight Jack High",  "Straight Queen High", "Straight King High",
                                          "Straight Ace High"};

constexpr std::string_view kFlush[] = {"Flush Six High",   "Flush Seven High", "Flush Eight High",
                                       "Flush Nine High",  "Flush Ten High",   "Flush Jack High",
                                       "Flush Queen High", "Flush King High",  "Flush Ace High"};

constexpr std::string_view kFullHouse[] = {
    "Full house Twos",   "Full house Threes", "Full house Fours", "Full house Fives", "Full house Sixes",
    "Full house Sevens", "Full house Eights", "Full house Nines", "Full house Tens",  "Full house Jacks",
    "Full house Queens", "Full house Kings",  "Full house Aces"};

constexpr std::string_view kFour[] = {"Four Twos",   "Four Threes", "Four Fours", "Four Fives", "Four Sixes",
                                      "Four Sevens", "Four Eights", "Four Nines", "Four Tens",  "Four Jacks",
                                      "Four Queens", "Four Kings",  "Four Aces"};

constexpr std::string_view kStraightFlush[] = {"Straight flush"};

template <std::size_t N>
constexpr NameBlock block(int32_t first, const std::string_view (&names)[N]) {
  return NameBlock{first, names, static_cast<int32_t>(N)};
}

constexpr std::array kBlocks = {
    block(2, kHighCard),    block(100, kOnePair),  block(201, kTwoPairs),
    block(300, kThree),     block(403, kStraight), block(454, kFlush),
    block(500, kFullHouse), block(800, kFour),     block(1000, kStraightFlush),
};

}  // namespace

std::string_view handName(int32_t handValue) {
  for (const NameBlock& b : kBlocks) {
    // Compared in 64 bits so that no value near the ends of the range wraps.
    const int64_t offset = static_cast<int64_t>(handValue) - b.first;
    if (offset >= 0 && offset < b.count) return b.names[offset];
  }
  return {};
}

}  // namespace holdem
