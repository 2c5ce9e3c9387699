#pragma once

#include "eval/card.h"

namespace holdem {

// The card pictures: the 52 faces by image index, then the four backs
// ("Denim", "Cloth", "Rock", "Leather"), each 71 x 96 pixels.
inline constexpr int kFirstBackImage = kDeckSize;
inline constexpr int kBackCount = 4;
inline constexpr int kCardPictureCount = kFirstBackImage + kBackCount;
inline constexpr int kCardWidth = 71;
inline constexpr int kCardHeight = 96;

}  // namespace holdem
