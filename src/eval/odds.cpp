#include "eval/odds.h"

#include <algorithm>
#include <numeric>

#include "eval/evaluator.h"

namespace holdem {

namespace {

// A small generator of its own (splitmix64), apart from the game's.
class BoardDraws {
 public:
  explicit BoardDraws(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number from 0 to n - 1.
  size_t below(size_t n) { return static_cast<size_t>(next() % n); }

 private:
  uint64_t state_;
};

int64_t choose(int64_t n, int k) {
  if (k < 0 || k > n) return 0;
  int64_t c = 1;
  for (int i = 1; i <= k; ++i) c = c * (n - k + i) / i;
  return c;
}

// Rates every hand over one complete board and shares the win among the
// best scores.
class Showdowns {
 public:
  explicit Showdowns(std::span<const HoleCards> hands) : hands_(hands), wins_(hands.size(), 0.0) {}

  void settle(const std::array<Card, 5>& board) {
    EvalSlots slots;
    std::copy(board.begin(), board.end(), slots.begin() + 2);
    scores_.resize(hands_.size());
    for (size_t h = 0; h < hands_.size(); ++h) {
      slots[0] = hands_[h][0];
      slots[1] = hands_[h][1];
      const HandRating r = evaluateHand(slots, kDealOver);
      scores_[h] = showdownScore(r.handValue, r.handKicker);
    }
    const int32_t best = *std::max_element(scores_.begin(), scores_.end());
    const auto winners = std::count(scores_.begin(), scores_.end(), best);
    for (size_t h = 0; h < hands_.size(); ++h) {
      if (scores_[h] == best) wins_[h] += 1.0 / static_cast<double>(winners);
    }
    ++boards_;
  }

  WinningChances result(bool exact) const {
    WinningChances out;
    out.exact = exact;
    out.boards = boards_;
    for (double w : wins_) out.chance.push_back(boards_ ? w / static_cast<double>(boards_) : 0.0);
    return out;
  }

 private:
  std::span<const HoleCards> hands_;
  std::vector<double> wins_;
  std::vector<int32_t> scores_;
  int64_t boards_ = 0;
};

}  // namespace

WinningChances winningChances(std::span<const HoleCards> hands, std::span<const Card> board,
                              std::span<const Card> dead, int64_t exactLimit, int64_t samples,
                              uint64_t seed) {
  if (hands.empty()) return {};
  // The cards nobody can see yet.
  std::array<bool, kDeckSize> known{};
  const auto know = [&known](Card c) {
    if (c.suit >= 0 && c.suit < kSuitCount && c.rank >= 0 && c.rank < kRankCount)
      known[c.imageIndex()] = true;
  };
  for (const HoleCards& h : hands) std::for_each(h.begin(), h.end(), know);
  std::for_each(board.begin(), board.end(), know);
  std::for_each(dead.begin(), dead.end(), know);
  std::vector<Card> unseen;
  for (int i = 0; i < kDeckSize; ++i) {
    if (!known[i]) unseen.push_back(Card{i / kRankCount, i % kRankCount});
  }

  std::array<Card, 5> full{};
  const int shown = static_cast<int>(std::min<size_t>(board.size(), full.size()));
  std::copy_n(board.begin(), shown, full.begin());
  const int missing = static_cast<int>(full.size()) - shown;
  Showdowns showdowns(hands);
  if (missing > static_cast<int>(unseen.size())) return showdowns.result(true);

  if (choose(static_cast<int64_t>(unseen.size()), missing) <= exactLimit) {
    // Every way the board can end, as increasing positions in `unseen`.
    std::vector<int> pick(static_cast<size_t>(missing));
    std::iota(pick.begin(), pick.end(), 0);
    const int n = static_cast<int>(unseen.size());
    for (;;) {
      for (int i = 0; i < missing; ++i)
        full[static_cast<size_t>(shown + i)] = unseen[static_cast<size_t>(pick[i])];
      showdowns.settle(full);
      int i = missing - 1;
      while (i >= 0 && pick[static_cast<size_t>(i)] == n - missing + i) --i;
      if (i < 0) break;
      ++pick[static_cast<size_t>(i)];
      for (int j = i + 1; j < missing; ++j)
        pick[static_cast<size_t>(j)] = pick[static_cast<size_t>(j - 1)] + 1;
    }
    return showdowns.result(true);
  }

  BoardDraws draws(seed);
  for (int64_t s = 0; s < samples; ++s) {
    // The first `missing` places of a partial shuffle.
    for (int i = 0; i < missing; ++i) {
      const size_t j = static_cast<size_t>(i) + draws.below(unseen.size() - static_cast<size_t>(i));
      std::swap(unseen[static_cast<size_t>(i)], unseen[j]);
      full[static_cast<size_t>(shown + i)] = unseen[static_cast<size_t>(i)];
    }
    showdowns.settle(full);
  }
  return showdowns.result(false);
}

}  // namespace holdem
