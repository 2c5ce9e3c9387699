#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/game.h"

namespace {

using holdem::Button;

// Settings kept in memory: the twelve keys the game reads and writes, found
// by a short search, so that a write costs no allocation.
class MemorySettings final : public holdem::SettingsStore {
 public:
  int32_t readInt(std::string_view section, std::string_view key, int32_t fallback) override {
    for (const Entry& e : entries_) {
      if (e.section == section && e.key == key) return e.value;
    }
    return fallback;
  }
  bool writeInts(std::span<const holdem::SettingsEntry> entries) override {
    for (const holdem::SettingsEntry& in : entries) {
      Entry* found = nullptr;
      for (Entry& e : entries_) {
        if (e.section == in.section && e.key == in.key) found = &e;
      }
      if (found == nullptr)
        found = &entries_.emplace_back(Entry{std::string(in.section), std::string(in.key), 0});
      found->value = in.value;
    }
    return true;
  }
  std::string displayPath() const override { return "tavlor.ini"; }

 private:
  struct Entry {
    std::string section;
    std::string key;
    int32_t value;
  };
  std::vector<Entry> entries_;
};

// Answers every box with OK or Yes, and forgets it.
class YesDialogs final : public holdem::Dialogs {
 public:
  bool showMessage(std::string_view, std::string_view, holdem::BoxButtons) override { return true; }
};

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
  MemorySettings settings;
  YesDialogs dialogs;
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
