#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "game/game.h"
#include "game/settings_file.h"
#include "game/stand_ins.h"

namespace holdem {

class Json;

// One run of the headless table: the start-up, then one command line at a
// time, each answered with one JSON line in the protocol's exact form.
class SimSession {
 public:
  enum class Outcome { Printed, Skipped, NotUnderstood };

  SimSession(std::filesystem::path settingsPath, std::unique_ptr<Clock> clock);
  ~SimSession();

  // Runs the start-up and appends its line to `out`. False when it failed
  // (then the line holds only the error box).
  bool start(std::string& out);
  // Runs one command line and appends its output line to `out`.
  Outcome run(std::string_view line, std::string& out);

  const Game& game() const { return *game_; }

 private:
  void appendState(std::string& out, std::string_view cmd);
  void appendBoxes(Json& j);

  SettingsFile settings_;
  RecordingDialogs dialogs_;
  NullCanvas canvas_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<Game> game_;
  int step_ = 0;
};

// The seconds of a --clock argument, any integer, taken modulo 2^32.
std::optional<uint32_t> parseClockArgument(std::string_view text);

// A command line as an error message shows it: its first `limit` characters
// (a valid UTF-8 sequence or any other single byte each), with NUL shown as
// \0, a backslash as \\ and the other control bytes and the bytes that are
// not UTF-8 as \xhh; a longer line ends in "... (N bytes in all)".
std::string quotedForMessage(std::string_view line, size_t limit = 200);

}  // namespace holdem
