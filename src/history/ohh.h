#pragma once

// A deal's record in the Open Hand History format (OHH 1.4): one JSON
// object {"ohh": {...}}, the standard that hand-tracking tools read.

#include <string>

#include "game/hand_record.h"

namespace holdem {

// The version of the format the objects follow.
inline constexpr const char* kOhhVersion = "1.4.7";

// A card as OHH writes it: rank then suit, "As", "Td", "2c".
std::string ohhCard(Card c);

// The player id and the seat number OHH gives a seat: ids in showdown order
// (the human 0, Freak 1 .. Robot 7), seats clockwise from the human (1) in
// the order of play, so that play passes from each seat to the next.
constexpr int ohhPlayerId(Seat s) { return index(s); }
constexpr int ohhSeat(Seat s) { return kSeatCount + 1 - seatNumber(s); }

// The whole hand as one line of compact JSON, without a line end.
std::string ohhText(const HandRecord& r);

}  // namespace holdem
