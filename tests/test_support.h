#pragma once

// Stand-ins for the outside world, so that tests drive the real engine
// through its front door and see every box, write and drawing it makes.

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/game.h"

namespace holdem::testing {

struct Box {
  std::string text;
  std::string caption;
  BoxButtons buttons;
  friend bool operator==(const Box&, const Box&) = default;
};

class RecordingDialogs final : public Dialogs {
 public:
  bool showMessage(std::string_view text, std::string_view caption, BoxButtons buttons) override {
    boxes.push_back({std::string(text), std::string(caption), buttons});
    return buttons == BoxButtons::Ok || answerYes;
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Box& b : boxes) out.push_back(b.text);
    return out;
  }
  std::vector<Box> boxes;
  bool answerYes = true;
};

// Settings kept in memory; a write can be made to fail.
class MemorySettings final : public SettingsStore {
 public:
  int32_t readInt(std::string_view section, std::string_view key, int32_t fallback) override {
    const auto it = values.find(name(section, key));
    return it == values.end() ? fallback : it->second;
  }
  bool writeInts(std::span<const SettingsEntry> entries) override {
    if (failWrites) return false;
    for (const SettingsEntry& e : entries) {
      values[name(e.section, e.key)] = e.value;
      written.push_back(name(e.section, e.key));
    }
    return true;
  }
  std::string displayPath() const override { return "/somewhere/tavlor.ini"; }

  static std::string name(std::string_view section, std::string_view key) {
    std::string out(section);
    out += '/';
    out += key;
    return out;
  }
  std::map<std::string, int32_t> values;
  std::vector<std::string> written;
  bool failWrites = false;
};

// Counts what was drawn where.
class RecordingCanvas final : public Canvas {
 public:
  struct Drawn {
    int x, y, image;
  };
  void fillTable(const Rect& area) override { fills.push_back(area); }
  void drawCard(int x, int y, int image) override { cards.push_back({x, y, image}); }
  void setPixel(int x, int y, uint32_t rgb) override { pixels.push_back({x, y, static_cast<int>(rgb)}); }
  void clear() {
    fills.clear();
    cards.clear();
    pixels.clear();
  }
  std::vector<Rect> fills;
  std::vector<Drawn> cards;
  std::vector<Drawn> pixels;
};

// A game with its ports, started at a fixed clock.
struct Table {
  explicit Table(int64_t clock = 1000, std::map<std::string, int32_t> settingsValues = {}) : clockSource(clock) {
    settings.values = std::move(settingsValues);
    game = std::make_unique<Game>(settings, dialogs, canvas, clockSource);
  }
  bool start() { return game->startUp(); }

  TableState& state() { return game->mutableState(); }
  const TableView& view() const { return game->view(); }

  MemorySettings settings;
  RecordingDialogs dialogs;
  RecordingCanvas canvas;
  FixedClock clockSource;
  std::unique_ptr<Game> game;
};

// A table started up at a fixed clock; a failed start-up fails the test.
struct StartedTable : Table {
  explicit StartedTable(int64_t clock = 1000, std::map<std::string, int32_t> settingsValues = {})
      : Table(clock, std::move(settingsValues)) {
    if (!start()) throw std::runtime_error("start-up failed");
  }
};

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

// The recorded games shipped beside the tests.
inline std::filesystem::path goldenDir() {
  if (const char* env = std::getenv("HOLDEM_GOLDEN_DIR")) return env;
  return std::filesystem::path(__FILE__).parent_path() / "golden";
}

}  // namespace holdem::testing
