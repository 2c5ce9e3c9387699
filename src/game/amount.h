#pragma once

#include <cstdint>

namespace holdem {

// Chips are signed 32-bit amounts that wrap around like plain machine
// arithmetic; only hand-edited settings files ever get near the limits.
constexpr int32_t addChips(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t subChips(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace holdem
