#pragma once

// What the tests share: a started table with the engine's stand-ins for the
// outside world, the cards a table paint calls for, and temporary folders.

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/cards_on_table.h"
#include "game/game.h"
#include "game/game_testing.h"
#include "game/stand_ins.h"
#include "game/table_rules.h"

namespace holdem::testing {

using holdem::Box;
using holdem::MemorySettings;
using holdem::RecordingCanvas;
using holdem::RecordingDialogs;

// A game with its ports, started at a fixed clock. It draws through
// `onTable`, which remembers what lies on the table, onto `canvas`.
struct Table {
  explicit Table(int64_t clock = 1000, MemorySettings::Values settingsValues = {}) : clockSource(clock) {
    settings.values = std::move(settingsValues);
    game = std::make_unique<Game>(settings, dialogs, onTable, clockSource);
  }
  bool start() { return game->startUp(); }

  // Set-ups and single rules, past the front door.
  TableState& state() { return GameTesting::state(*game); }
  Random& random() { return GameTesting::random(*game); }
  void opponentRespond(int seatNumber) { GameTesting::opponentRespond(*game, seatNumber); }
  // A seat's chips, and its label showing them.
  void setCash(Seat s, int32_t chips) {
    state().cashOf(s) = chips;
    GameTesting::view(*game).cashText[index(s)] = std::to_string(chips);
  }
  const TableView& view() const { return game->view(); }

  MemorySettings settings;
  RecordingDialogs dialogs;
  RecordingCanvas canvas;
  CardsOnTable onTable{canvas};
  FixedClock clockSource;
  std::unique_ptr<Game> game;
};

// A small generator of the tests' own choices, apart from the game's.
class Dice {
 public:
  explicit Dice(uint64_t seed) : s_(seed) {}
  int roll(int n) {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 7;
    s_ ^= s_ << 17;
    return static_cast<int>(s_ % static_cast<uint64_t>(n));
  }

 private:
  uint64_t s_;
};

// What a random user event was, as the check of the table's rules tells
// events apart.
struct RandomEvent {
  TableEvent kind = TableEvent::Other;
  std::optional<Button> clicked;
};

// One random user event, the buttons most often, and sometimes the options
// and New game with little starting cash, so that seats run short of chips;
// a game that is over starts anew.
inline RandomEvent playRandomEvent(Game& g, RecordingDialogs& dialogs, Dice& dice) {
  const int r = dice.roll(100);
  if (!g.view().isEnabled(Button::Deal) && !g.view().isEnabled(Button::CheckCall)) {
    g.setMoneyText(std::to_string(dice.roll(4) ? 20 + dice.roll(200) : 1200));
    dialogs.answerYes = true;
    g.newGame();
    return {TableEvent::NewGameYes, {}};
  }
  if (r < 88) {
    const Button b = r < 12   ? Button::Deal
                     : r < 52 ? Button::CheckCall
                     : r < 74 ? Button::Raise
                              : Button::Fold;
    const TableEvent kind = g.view().isEnabled(b) ? TableEvent::Button : TableEvent::IgnoredClick;
    g.click(b);
    return {kind, b};
  }
  switch (dice.roll(7)) {
    case 0: g.selectLevel(dice.roll(4)); break;
    case 1: g.changeBettingLimit(dice.roll(2) ? 1 : -1); break;
    case 2:
      g.setMoneyText(dice.roll(4) ? std::to_string(100 + dice.roll(300)) : "x1");
      g.enterInitialCash();
      break;
    case 3:
      g.setUntilText(std::to_string(100 + dice.roll(3000)));
      g.enterTarget();
      break;
    case 4:
      g.setMoneyText(std::to_string(dice.roll(2) ? 20 + dice.roll(100) : 1000));
      dialogs.answerYes = dice.roll(3) != 0;
      g.newGame();
      return {dialogs.answerYes ? TableEvent::NewGameYes : TableEvent::Other, {}};
    default: g.chooseCardBack(dice.roll(4)); break;
  }
  return {};
}

// Starting chips that run short: seats out of chips, below zero, with less
// than a blind, and a small initial cash for every New game.
inline const MemorySettings::Values kChipsRunShort{
    {"Cash/player", 30},  {"Cash/freak", 0},  {"Cash/geek", 3},  {"Cash/master", 1},  {"Cash/champ", 40},
    {"Cash/pinhead", -5}, {"Cash/expert", 0}, {"Cash/robot", 2}, {"Cash/initial", 25}};

// A table started up at a fixed clock; a failed start-up fails the test.
struct StartedTable : Table {
  explicit StartedTable(int64_t clock = 1000, MemorySettings::Values settingsValues = {})
      : Table(clock, std::move(settingsValues)) {
    if (!start()) throw std::runtime_error("start-up failed");
  }
};

// A card that a table paint draws now: where, which picture, and how much of
// it shows from the left before the next card covers it.
struct CardPlace {
  Point at;
  int image;
  int visible;
  std::string name;
};

// Every card a table paint would draw now, bottom ones first.
inline std::vector<CardPlace> cardsCalledFor(const TableState& t) {
  std::vector<CardPlace> cards;
  for (int s = 0; s < kSeatCount; ++s) {
    const CardsShown shown = cardsShown(t, static_cast<Seat>(s));
    if (shown == CardsShown::None) continue;
    for (int slot = 0; slot < 2; ++slot) {
      const Point at = kSeats[s].cardSlot[slot];
      cards.push_back({at, shown == CardsShown::Up ? t.hole[s][slot].imageIndex() : backPicture(t),
                       slot == 0 ? kSeats[s].cardSlot[1].x - at.x : kCardWidth,
                       std::string(kSeats[s].name) + " card " + std::to_string(slot + 1)});
    }
  }
  const int board = boardCardsShown(t);
  for (int i = 0; i < board; ++i) {
    cards.push_back({kBoardSlots[i], t.board[i].imageIndex(),
                     i + 1 < board ? kBoardSlots[i + 1].x - kBoardSlots[i].x : kCardWidth,
                     "board card " + std::to_string(i + 1)});
  }
  return cards;
}

// The cards a paint would draw now that do not lie on the table.
inline std::vector<std::string> cardsMissing(const CardsOnTable& onTable, const TableState& t) {
  std::vector<std::string> missing;
  for (const CardPlace& c : cardsCalledFor(t)) {
    if (onTable.pictureAt(c.at) != c.image) missing.push_back(c.name);
  }
  return missing;
}

// A fresh folder under `under`, removed with everything in it (read-only
// folders included) when it goes.
class TempDir {
 public:
  explicit TempDir(const std::filesystem::path& under = std::filesystem::temp_directory_path()) {
    std::string pattern = (under / "holdem-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed for " + pattern);
    path_ = pattern;
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    namespace fs = std::filesystem;
    std::error_code e;
    for (auto it = fs::recursive_directory_iterator(path_, e); !e && it != fs::end(it); it.increment(e)) {
      if (it->is_directory(e) && !it->is_symlink(e))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, e);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, e);
    fs::remove_all(path_, e);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.good()) throw std::runtime_error("cannot write " + path.string());
}

// A file's bytes, or nothing for a folder or a file that cannot be read.
inline std::optional<std::string> readBytes(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Everything under a folder, as relative paths, sorted.
inline std::vector<std::string> listing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    names.push_back(entry.path().lexically_relative(folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace holdem::testing
