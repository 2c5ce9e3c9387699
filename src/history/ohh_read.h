#pragma once

// Reads hands back from an Open Hand History file as the game writes them:
// one JSON object {"ohh": {...}} per hand. The file may come from anywhere,
// so every field is checked; a file that does not hold hands of this table
// is refused with the reason, never half read.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "game/hand_record.h"

namespace holdem {

struct ReadHands {
  std::vector<HandRecord> hands;
  std::string error;  // empty when every hand was read
};

// The hands in `text`. What the format does not keep (the opponents'
// reasons, the AI level, the deal's number) is left at its default; the
// deals are numbered by their place in the file, from 1.
ReadHands readOhhText(std::string_view text);
// The same, from a file of at most 64 MiB.
ReadHands readOhhFile(const std::filesystem::path& file);

}  // namespace holdem
