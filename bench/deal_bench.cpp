#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/stand_ins.h"

namespace {

using holdem::Button;

// The human's clicks: a generator of its own, so that the game's draws stay
// the game's.
class Clicker {
 public:
  explicit Clicker(uint64_t seed) : state_(seed) {}
  // One of the betting buttons that are enabled, all equally likely.
  Button pick(const holdem::TableView& v) {
    std::array<Button, 3> choices;
    int n = 0;
    for (Button b : {Button::CheckCall, Button::Raise, Button::Fold}) {
      if (v.isEnabled(b)) choices[n++] = b;
    }
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return choices[state_ % static_cast<uint64_t>(n)];
  }

 private:
  uint64_t state_;
};

bool bettingOpen(const holdem::TableView& v) {
  return v.isEnabled(Button::CheckCall) || v.isEnabled(Button::Raise) || v.isEnabled(Button::Fold);
}

void playToEnd(holdem::Game& game, Clicker& clicker) {
  while (bettingOpen(game.view())) game.click(clicker.pick(game.view()));
}

// The shuffle alone: what every deal costs at the least.
void BM_Shuffle(benchmark::State& state) {
  holdem::Random random;
  random.seed(1700000000u);
  holdem::Deck deck = holdem::buildDeck();
  for (auto _ : state) {
    holdem::shuffleDeck(deck, random);
    benchmark::DoNotOptimize(deck);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Shuffle);

// One whole deal through the front door: Deal, then random clicks of the
// human until the deal is over. The opponents' turns, their ratings, the
// showdown, the settings write and the drawing calls are all in it.
void BM_WholeDeal(benchmark::State& state) {
  holdem::MemorySettings settings;
  settings.logWrites = false;
  holdem::RecordingDialogs dialogs;
  holdem::NullCanvas canvas;
  holdem::FixedClock clock(1700000000);
  holdem::Game game(settings, dialogs, canvas, clock);
  Clicker clicker(0x9E3779B97F4A7C15ull);
  game.startUp();
  playToEnd(game, clicker);
  int64_t newGames = 0;
  for (auto _ : state) {
    // A game that has ended starts over, outside the measured time.
    if (!game.view().isEnabled(Button::Deal)) {
      state.PauseTiming();
      do {
        game.newGame();
        dialogs.boxes.clear();
        playToEnd(game, clicker);
        ++newGames;
      } while (!game.view().isEnabled(Button::Deal));
      state.ResumeTiming();
    }
    game.click(Button::Deal);
    playToEnd(game, clicker);
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["new_games"] = static_cast<double>(newGames);
}
BENCHMARK(BM_WholeDeal);

}  // namespace
