#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <vector>

#include "eval/evaluator.h"

namespace {

using holdem::Card;
using holdem::EvalSlots;

// Seven different cards per hand, drawn from a fixed-seed generator so that
// every run rates the same hands.
std::vector<EvalSlots> randomHands(std::size_t count, uint64_t seed) {
  std::vector<EvalSlots> hands(count);
  uint64_t state = seed;
  auto next = [&state]() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state >> 33);
  };
  for (EvalSlots& hand : hands) {
    std::array<int32_t, 52> deck;
    for (int32_t i = 0; i < 52; ++i) deck[i] = i;
    for (int i = 0; i < 7; ++i) {
      std::swap(deck[i], deck[i + next() % (52 - i)]);
      hand[i] = Card{deck[i] / 13, deck[i] % 13};
    }
  }
  return hands;
}

// The showdown's rating: seven real cards on the river.
void BM_EvaluateHandRiver(benchmark::State& state) {
  const std::vector<EvalSlots> hands = randomHands(4096, 1);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(holdem::evaluateHand(hands[i], 4));
    i = (i + 1) & (hands.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateHandRiver);

// An opponent's rating on the flop: five real cards and two placeholders.
void BM_EvaluateHandFlop(benchmark::State& state) {
  std::vector<EvalSlots> hands = randomHands(4096, 2);
  for (EvalSlots& hand : hands) {
    const std::array<Card, 5> board = {hand[2], hand[3], hand[4], hand[5], hand[6]};
    holdem::fillBoardSlots(hand, board, 2);
  }
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(holdem::evaluateHand(hands[i], 2));
    i = (i + 1) & (hands.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateHandFlop);

}  // namespace
