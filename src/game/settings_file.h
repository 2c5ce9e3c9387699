#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// lookupSettingsInt for many keys, in one pass over the bytes.
std::vector<std::optional<int32_t>> lookupSettingsInts(std::string_view file,
                                                       std::span<const SettingsKey> keys);

// The file's bytes with section/key set to value: the key's line replaced,
// or the key inserted after the last non-blank line of its section, or the
// section appended. Every other byte is kept.
std::string withSettingsValue(std::string_view file, std::string_view section, std::string_view key,
                              int32_t value);

// The bytes withSettingsValue gives when the entries are set one after the
// other, made in one pass over the file.
std::string withSettingsValues(std::string_view file, std::span<const SettingsEntry> entries);

// --- The file on disk ----------------------------------------------------

// The standard location: $XDG_CONFIG_HOME/holdem/tavlor.ini, or
// ~/.config/holdem/tavlor.ini when that variable is unset, empty or not an
// absolute path.
std::filesystem::path defaultSettingsPath();

// The settings file at a path. Every access opens it anew; its bytes are read
// again only when the file changed since this object last read or wrote it.
//
// A save writes a temporary file in the same folder, which gets the file's
// owner and group (where the process may), extended attributes and mode
// before a byte of it is written; it is synced, renamed over the file and
// the folder synced. Through symlinks, the links are kept and their target
// replaced. A file that the process may not write is never replaced. Where
// the file cannot be renamed over (a mount point), it is written in place and
// synced instead. When any step fails, the file is left, or put back, as it
// was and no temporary file remains. The first save of a run removes the
// temporary files that killed writers left beside the file; each writer
// holds a lock on its own, so a live writer's file is never taken.
class SettingsFile final : public SettingsStore {
 public:
  // Asked before each system call of a read or a save, with the call's name
  // ("open", "write", "fsync", "rename", ...): an errno value other than 0
  // makes that call fail with it. Tests fail each call in turn with it.
  using FaultHook = std::function<int(std::string_view call)>;

  explicit SettingsFile(std::filesystem::path path, FaultHook faults = {});
  ~SettingsFile() override;

  std::vector<std::optional<int32_t>> readInts(std::span<const SettingsKey> keys) override;
  bool writeInts(std::span<const SettingsEntry> entries) override;
  std::string displayPath() const override;

  // The whole file, or nothing when it is missing, unreadable, or no regular
  // file (a folder, a FIFO, a device).
  std::optional<std::string> readAll();

 private:
  // What the file held when this object last read or wrote it.
  struct Snapshot;
  enum class Found { Read, Missing, Failed };
  Found refresh();

  std::filesystem::path path_;
  FaultHook faults_;
  std::unique_ptr<Snapshot> snapshot_;
  bool leftoversRemoved_ = false;
  // A read of the file failed: the next save is refused, so that values the
  // game could not read never replace the ones in the file.
  bool readFailed_ = false;
};

}  // namespace holdem
