#pragma once

// The way in for tests that drive one rule directly or set up a table: not
// part of the game's front door, and used by nothing but tests and fuzzing.

#include "game/game.h"

namespace holdem {

class GameTesting {
 public:
  static TableState& state(Game& g) { return g.state_; }
  static TableView& view(Game& g) { return g.view_; }
  static Random& random(Game& g) { return g.random_; }
  static const Random& random(const Game& g) { return g.random_; }
  static void opponentTurn(Game& g, int seatNumber) { g.opponentTurn(seatNumber); }
  static void opponentRespond(Game& g, int seatNumber) { g.opponentRespond(seatNumber); }
  static void turnChain(Game& g, int firstSeat) { g.turnChain(firstSeat); }
  static void showdown(Game& g) { g.showdown(); }
};

}  // namespace holdem
