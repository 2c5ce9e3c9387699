#pragma once

// A deal's record in plain words, line by line, as the hand log shows it:
// "Geek raises 2, pot 13", "Flop: 7♦ Q♣ 2♠", "Champ wins 48".

#include <string>
#include <vector>

#include "game/hand_record.h"

namespace holdem {

// A card with its rank and suit sign: "A♠", "10♥".
std::string cardWords(Card c);

// The deal's first lines: its number, limits and AI level, and the human's
// cards.
std::vector<std::string> openingWords(const HandRecord& r);

// The lines of one step (none for most of the chips the options panel sets:
// one line says it for all eight seats).
std::vector<std::string> stepWords(const HandRecord& r, const Step& s);

// The end: the hands shown and named, and who won what.
std::vector<std::string> endWords(const HandRecord& r);

// The whole deal in one line: "Deal 12: Champ wins 48 with a flush".
std::string summaryWords(const HandRecord& r);

}  // namespace holdem
