#pragma once

#include <cstdint>
#include <string_view>

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

// The calendar time that seeds the shuffle.
class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1 January 1970 of the local wall-clock time.
  virtual int64_t secondsNow() = 0;
};

// Local wall-clock seconds: UTC seconds plus the local UTC offset.
class SystemClock final : public Clock {
 public:
  int64_t secondsNow() override;
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
