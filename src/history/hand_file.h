#pragma once

// Where the game keeps its hand history, and how a hand goes into a file:
// Open Hand History files, one JSON object per hand, hands separated by one
// blank line.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "game/hand_record.h"

namespace holdem {

// $XDG_DATA_HOME/holdem/hands, or ~/.local/share/holdem/hands when that
// variable is unset, empty or not an absolute path; nothing without a home.
std::optional<std::filesystem::path> defaultHandsFolder();

// The file of a day of play: "holdem-2024-05-17.ohh", by the local date of
// the game's clock.
std::string dayFileName(int64_t localSeconds);

// Appends one hand (a JSON object on one line, without its line end) to the
// file, creating it when missing. The hand goes in with one write under an
// exclusive lock, and is synced. A hand cut off at the end of the file (by a
// crash or a full disk in the middle of an append) is dropped first: only
// its bytes, never a whole hand before them. Returns the reason it failed,
// or nothing.
std::optional<std::string> appendHand(const std::filesystem::path& file, std::string_view hand);

// The game's hand history: every finished deal appended to a file, one per
// day in a folder, or one file given.
class HandHistory {
 public:
  static HandHistory inFolder(std::filesystem::path folder);
  static HandHistory toFile(std::filesystem::path file);

  // Appends the deal. False when it could not be written; `problem()` then
  // says where and why. A failure stops nothing: the next deal tries again.
  bool save(const HandRecord& r);
  const std::string& problem() const { return problem_; }
  // The file the deal goes to.
  std::filesystem::path fileFor(const HandRecord& r) const;

 private:
  HandHistory(std::filesystem::path where, bool daily) : where_(std::move(where)), daily_(daily) {}
  std::filesystem::path where_;
  bool daily_;
  std::string problem_;
};

}  // namespace holdem
