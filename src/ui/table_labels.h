#pragma once

// Where the table's labels lie: each seat's name, chips and last action,
// the result and the pot, as the table window and the replay lay them out.

#include <array>

#include "game/seats.h"

namespace holdem {

struct LabelPlace {
  const char* name;
  int left;
  int top;
};

// The three labels of a seat: its name, its chips and its last action.
struct SeatLabels {
  LabelPlace name;
  const char* caption;
  LabelPlace cash;
  LabelPlace status;
};

inline constexpr std::array<SeatLabels, kSeatCount> kSeatLabels{{
    {{"Label2", 88, 312}, "You:", {"cash", 128, 312}, {"playerstatus", 88, 328}},
    {{"freakcash", 64, 48}, "Freak:", {"lblfcash", 112, 48}, {"freakstatus", 64, 64}},
    {{"geekcash", 208, 48}, "Geek:", {"lblgcash", 256, 48}, {"geekstatus", 208, 64}},
    {{"mastercash", 352, 48}, "Master:", {"lblmcash", 408, 48}, {"masterstatus", 352, 64}},
    {{"champcash", 496, 48}, "Champ:", {"lblccash", 552, 48}, {"champstatus", 496, 64}},
    {{"pinheadcash", 640, 48}, "Pinhead:", {"lblpinhcash", 704, 48}, {"pinheadstatus", 640, 64}},
    {{"Expert", 616, 296}, "Expert:", {"lblecash", 672, 296}, {"expertstatus", 616, 312}},
    {{"Robot", 448, 368}, "Robot:", {"lblrcash", 496, 368}, {"robotstatus", 448, 384}},
}};
static_assert(kSeatLabels.size() == kSeatCount);

inline constexpr LabelPlace kResultPlace{"theresult", 80, 192};
inline constexpr LabelPlace kPotCaptionPlace{"potttt", 80, 240};
inline constexpr LabelPlace kPotPlace{"betsize", 120, 240};

}  // namespace holdem
