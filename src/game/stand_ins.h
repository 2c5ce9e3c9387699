#pragma once

// Stand-ins for the outside world, for holdem-sim, the tests, the fuzz
// targets, the benchmarks and the tools: they drive the real engine through
// its front door and see every box, write and drawing it makes.

#include <map>
#include <string>
#include <vector>

#include "game/ports.h"

namespace holdem {

// A message box as it was shown.
struct Box {
  std::string text;
  std::string caption;
  BoxButtons buttons = BoxButtons::Ok;
  friend bool operator==(const Box&, const Box&) = default;
};

// Answers every box at once, OK or as `answerYes` says, and keeps them.
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

// Settings kept in memory, by "Section/key"; writes can be made to fail.
class MemorySettings final : public SettingsStore {
 public:
  std::vector<std::optional<int32_t>> readInts(std::span<const SettingsKey> keys) override {
    std::vector<std::optional<int32_t>> out;
    out.reserve(keys.size());
    for (const SettingsKey& k : keys) {
      const auto it = values.find(name(k.section, k.key));
      out.push_back(it == values.end() ? std::nullopt : std::optional<int32_t>(it->second));
    }
    return out;
  }
  bool writeInts(std::span<const SettingsEntry> entries) override {
    if (failWrites) return false;
    for (const SettingsEntry& e : entries) {
      std::string key = name(e.section, e.key);
      if (logWrites) written.push_back(key);
      values.insert_or_assign(std::move(key), e.value);
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

  using Values = std::map<std::string, int32_t, std::less<>>;
  Values values;
  std::vector<std::string> written;  // the names written, in order, while logWrites is on
  bool logWrites = true;
  bool failWrites = false;
};

// Keeps what was drawn where.
class RecordingCanvas final : public Canvas {
 public:
  struct Drawn {
    int x, y, image;
    friend bool operator==(const Drawn&, const Drawn&) = default;
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

}  // namespace holdem
