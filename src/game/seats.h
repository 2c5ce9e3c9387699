#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace holdem {

// The eight seats, in showdown order: the human first, then the seven
// opponents clockwise from the top left. Every per-seat array is indexed so.
enum class Seat : uint8_t { Player, Freak, Geek, Master, Champ, Pinhead, Expert, Robot, Count };

inline constexpr int kSeatCount = static_cast<int>(Seat::Count);
inline constexpr int kOpponentCount = kSeatCount - 1;

// Seat numbers give the order of play: Robot 1 up to Freak 7, the human 8.
// The turn passes from seat n to n - 1, and from Robot to the human.
inline constexpr int kPlayerSeatNumber = 8;

constexpr int seatNumber(Seat s) {
  return s == Seat::Player ? kPlayerSeatNumber : kSeatCount - static_cast<int>(s);
}
constexpr Seat seatAt(int number) {
  return number == kPlayerSeatNumber ? Seat::Player : static_cast<Seat>(kSeatCount - number);
}
constexpr int index(Seat s) { return static_cast<int>(s); }

struct Point {
  int x = 0;
  int y = 0;
};

// A rectangle of the table; right and bottom are outside it.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// What never changes about a seat.
struct SeatInfo {
  std::string_view name;          // "Freak"; "You" for the human
  std::array<Point, 2> cardSlot;  // where its two cards are drawn, slot 0 first
  Rect cardArea;                  // filled with the table to take its cards away
  int32_t outMarker;              // showdown value of a seat that takes no part
  std::string_view gameOverText;  // shown when the seat reaches the cash target
};

inline constexpr std::array<SeatInfo, kSeatCount> kSeats{{
    {"You", {{{65, 351}, {130, 355}}}, {50, 340, 210, 460}, -180, "You win!"},
    {"Freak", {{{57, 85}, {92, 88}}}, {50, 85, 170, 185}, -150, "Freak wins"},
    {"Geek", {{{202, 85}, {237, 88}}}, {190, 85, 310, 185}, -120, "Geek wins"},
    {"Master", {{{347, 85}, {382, 88}}}, {345, 85, 465, 185}, -170, "Master wins"},
    {"Champ", {{{492, 85}, {527, 88}}}, {490, 85, 610, 185}, -110, "Champ wins"},
    {"Pinhead", {{{637, 85}, {672, 88}}}, {635, 85, 755, 185}, -115, "Pinhead wins"},
    {"Expert", {{{612, 335}, {647, 338}}}, {605, 335, 725, 435}, -165, "Expert wins"},
    {"Robot", {{{445, 405}, {480, 408}}}, {430, 405, 555, 505}, -195, "Robot wins"},
}};
static_assert(kSeats.size() == kSeatCount);

constexpr const SeatInfo& info(Seat s) { return kSeats[index(s)]; }

// The opponents in order of play, Freak (seat 7) first.
inline constexpr std::array<Seat, kOpponentCount> kOpponents{
    Seat::Freak, Seat::Geek, Seat::Master, Seat::Champ, Seat::Pinhead, Seat::Expert, Seat::Robot};

// The order in which the showdown decides who takes part.
inline constexpr std::array<Seat, kSeatCount> kTakePartOrder{Seat::Freak,  Seat::Geek,  Seat::Player,
                                                             Seat::Master, Seat::Champ, Seat::Pinhead,
                                                             Seat::Expert, Seat::Robot};

// The five community cards, in a shallow V across the middle of the table.
inline constexpr std::array<Point, 5> kBoardSlots{
    {{242, 223}, {302, 233}, {362, 243}, {422, 233}, {482, 223}}};
inline constexpr Rect kBoardArea{230, 200, 600, 350};

}  // namespace holdem
