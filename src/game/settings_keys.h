#pragma once

#include <array>
#include <cstdint>

#include "game/ports.h"
#include "game/seats.h"

namespace holdem {

// The twelve integers of the settings file, in the order in which start-up
// reads and writes them back (and holdem-sim reports them).
enum class Setting : uint8_t {
  BackgroundColor,
  FreakCash,
  PlayerCash,
  GeekCash,
  MasterCash,
  ChampCash,
  PinheadCash,
  ExpertCash,
  RobotCash,
  UntilTarget,
  InitialCash,
  CardBack,
  Count
};
inline constexpr int kSettingCount = static_cast<int>(Setting::Count);

struct SettingInfo {
  SettingsKey name;
  int32_t fallback;  // the value of a key that is missing or not an integer
};

inline constexpr std::array<SettingInfo, kSettingCount> kSettings{{
    {{"Background", "Color"}, 0},
    {{"Cash", "freak"}, 1200},
    {{"Cash", "player"}, 1200},
    {{"Cash", "geek"}, 1200},
    {{"Cash", "master"}, 1200},
    {{"Cash", "champ"}, 1200},
    {{"Cash", "pinhead"}, 1200},
    {{"Cash", "expert"}, 1200},
    {{"Cash", "robot"}, 1200},
    {{"Cash", "until"}, 600},
    {{"Cash", "initial"}, 1200},
    {{"Card", "back"}, 52},
}};
static_assert(kSettings.size() == kSettingCount);

constexpr const SettingInfo& info(Setting s) { return kSettings[static_cast<int>(s)]; }

// The entry that writes `value` under the setting's key.
constexpr SettingsEntry entry(Setting s, int32_t value) {
  return {info(s).name.section, info(s).name.key, value};
}

// The setting that keeps a seat's chips.
constexpr Setting cashSetting(Seat s) {
  constexpr std::array<Setting, kSeatCount> kCash{
      Setting::PlayerCash, Setting::FreakCash,   Setting::GeekCash,   Setting::MasterCash,
      Setting::ChampCash,  Setting::PinheadCash, Setting::ExpertCash, Setting::RobotCash};
  return kCash[index(s)];
}

// Every Deal saves the table colour and the chips: the first nine settings.
inline constexpr int kSavedAtEachDeal = static_cast<int>(Setting::RobotCash) + 1;

}  // namespace holdem
