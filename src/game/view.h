#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/seats.h"

namespace holdem {

enum class LabelColor : uint8_t { White, Yellow };

enum class Button : uint8_t { Deal, CheckCall, Raise, Fold, Count };
inline constexpr int kButtonCount = static_cast<int>(Button::Count);

// Everything the table window shows apart from the cards, as plain data.
// The engine writes it; the window copies it onto its widgets.
struct TableView {
  std::array<std::string, kSeatCount> status{};  // last action or hand name of each seat
  std::array<LabelColor, kSeatCount> statusColor{};
  std::array<std::string, kSeatCount> cashText{};
  std::string result;   // `theresult`
  std::string potText;  // `betsize`
  std::array<bool, kButtonCount> enabled{true, true, true, true};
  std::string stayCaption = "Check";

  // The options panel.
  bool panelVisible = false;
  std::string money = "1200";
  std::string until = "1000";
  std::string smallBetText = "2";  // `Label3`
  std::string bigBetText = "4";    // `Label4`
  int upDownPosition = 1;          // 1..5
  int level = 0;                   // item of `Levels`
  int backItem = 0;                // item of `cardbacks`, -1 for none

  bool isEnabled(Button b) const { return enabled[static_cast<int>(b)]; }

  friend bool operator==(const TableView&, const TableView&) = default;
};

}  // namespace holdem
