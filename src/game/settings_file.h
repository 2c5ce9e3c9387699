#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "game/ports.h"

namespace holdem {

// --- The INI text itself, handled as bytes -------------------------------

// Parses a value text: optional sign and decimal digits within 32 bits, or
// 0x/0X and 1..8 hex digits taken as a 32-bit pattern. Surrounding blanks,
// tabs and a trailing CR are ignored. Anything else gives nothing.
std::optional<int32_t> parseSettingsInt(std::string_view text);

// The raw value text of section/key in the file's bytes (names match without
// regard to ASCII case or surrounding blanks; the first matching section and
// the first matching key in it count), or nothing when the key is missing.
std::optional<std::string_view> findSettingsValue(std::string_view file, std::string_view section,
                                                  std::string_view key);

// findSettingsValue then parseSettingsInt.
std::optional<int32_t> lookupSettingsInt(std::string_view file, std::string_view section,
                                         std::string_view key);

// The file's bytes with section/key set to value: the key's line replaced,
// or the key inserted after the last non-blank line of its section, or the
// section appended. Every other byte is kept.
std::string withSettingsValue(std::string_view file, std::string_view section, std::string_view key,
                              int32_t value);

// --- The file on disk ----------------------------------------------------

// The standard location: $XDG_CONFIG_HOME/holdem/tavlor.ini, or
// ~/.config/holdem/tavlor.ini when that variable is unset or empty.
std::filesystem::path defaultSettingsPath();

// The settings file at a path, opened anew for every access. Writes go to a
// temporary file in the same folder, flushed and synced, then renamed over
// the file (through a symlink, the link is kept and its target replaced).
class SettingsFile final : public SettingsStore {
 public:
  // Writes the complete new bytes to the temporary file's descriptor; tests
  // inject one that fails to simulate a full disk.
  using Writer = std::function<bool(int fd, std::string_view bytes)>;

  explicit SettingsFile(std::filesystem::path path, Writer writer = {});

  std::vector<std::optional<int32_t>> readInts(std::span<const SettingsKey> keys) override;
  bool writeInts(std::span<const SettingsEntry> entries) override;
  std::string displayPath() const override;

  // The whole file, or nothing when it is missing, unreadable, or no regular
  // file (a folder, a FIFO, a device).
  std::optional<std::string> readAll() const;

 private:
  std::filesystem::path path_;
  Writer writer_;
};

}  // namespace holdem
