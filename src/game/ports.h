#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/seats.h"

namespace holdem {

// The few things the engine needs from outside. The window implements them
// with Qt, holdem-sim and the tests with recorders.

enum class BoxButtons : uint8_t { Ok, YesNo };

// Modal message boxes. Returns true when the answer is OK or Yes.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual bool showMessage(std::string_view text, std::string_view caption, BoxButtons buttons) = 0;
};

// The table's drawing surface, in window client pixels.
class Canvas {
 public:
  virtual ~Canvas() = default;
  // Fills the area with the table picture, as the last full repaint drew it.
  virtual void fillTable(const Rect& area) = 0;
  // Draws card picture `image` (0..55) with its top-left corner at (x, y).
  virtual void drawCard(int x, int y, int image) = 0;
  // Sets one pixel; rgb is 0xRRGGBB.
  virtual void setPixel(int x, int y, uint32_t rgb) = 0;
};

// Draws card picture `image` at `at` as the table shows a card: with its
// corners rounded off.
void drawTableCard(Canvas& canvas, Point at, int image);

// The calendar time that seeds the shuffle.
class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1 January 1970 of the local wall-clock time.
  virtual int64_t secondsNow() = 0;
  // How far the local wall-clock time is ahead of UTC, in seconds; a clock
  // that is not the system's counts in UTC.
  virtual int64_t utcOffsetSeconds() { return 0; }
};

// The name of one integer of the settings file.
struct SettingsKey {
  std::string_view section;
  std::string_view key;
};

// One integer value of the settings file.
struct SettingsEntry {
  std::string_view section;
  std::string_view key;
  int32_t value = 0;
};

// Where the game keeps what must survive a restart: the settings file, or a
// stand-in kept in memory.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The integers under the keys, in order, from one read of the store: nothing
  // where a key is missing, empty or not an integer.
  virtual std::vector<std::optional<int32_t>> readInts(std::span<const SettingsKey> keys) = 0;
  // Writes the entries, in order, as one replace of the whole store. Returns
  // false when that failed; the store then holds what it held before.
  virtual bool writeInts(std::span<const SettingsEntry> entries) = 0;
  // The path that "Unable to write to %s" names.
  virtual std::string displayPath() const = 0;

  // One integer, or the fallback.
  int32_t readInt(std::string_view section, std::string_view key, int32_t fallback) {
    const SettingsKey name{section, key};
    return readInts({&name, 1}).front().value_or(fallback);
  }
};

// Local wall-clock seconds: UTC seconds plus the local UTC offset.
class SystemClock final : public Clock {
 public:
  int64_t secondsNow() override;
  int64_t utcOffsetSeconds() override;
};

class FixedClock final : public Clock {
 public:
  explicit FixedClock(int64_t seconds) : seconds_(seconds) {}
  int64_t secondsNow() override { return seconds_; }

 private:
  int64_t seconds_;
};

class NullCanvas final : public Canvas {
 public:
  void fillTable(const Rect&) override {}
  void drawCard(int, int, int) override {}
  void setPixel(int, int, uint32_t) override {}
};

}  // namespace holdem
