#include "ai/rules.h"

namespace holdem {

int32_t raiseChance(int32_t round, const HandRating& r) {
  const int32_t v = r.handValue;
  // The last rule that holds sets the chance.
  struct Rule {
    int32_t round;  // 0 for any round
    int32_t above;  // the hand value must be above this
    int32_t chance;
  };
  static constexpr Rule kByValue[] = {
      {1, 100, 35}, {1, 108, 55}, {4, 100, 5},  {3, 100, 5},  {2, 100, 10}, {4, 108, 15},
      {3, 108, 20}, {2, 108, 20}, {4, 200, 30}, {3, 200, 40}, {2, 200, 40}, {4, 300, 90},
      {3, 300, 80}, {2, 300, 80}, {4, 400, 100}, {3, 400, 100}, {2, 400, 100},
  };
  int32_t chance = 0;
  if (r.straightDraw || r.flushDraw) chance = 15;
  if (round == 1 && r.suitedHoleCards && v > 9) chance = 20;
  if (round == 1 && r.connectedHoleCards && v > 9) chance = 15;
  for (const Rule& rule : kByValue) {
    if (round == rule.round && v > rule.above) chance = rule.chance;
  }
  return chance;
}

int32_t foldChance(int32_t round, const HandRating& r, bool aggressive) {
  const int32_t v = r.handValue;
  const bool draw = r.straightDraw || r.flushDraw;
  // Columns: not aggressive without a draw, aggressive without, not
  // aggressive with a draw, aggressive with.
  const int column = (aggressive ? 1 : 0) + (draw ? 2 : 0);
  switch (round) {
    case 1:
      if (v > 100) return 0;
      if (v == 100 || v >= 9) return 50;
      if (v == 8 && (r.suitedHoleCards || r.connectedHoleCards)) return 10;
      return 100;
    case 2: {
      static constexpr int32_t kFlop[4][4] = {{0, 0, 0, 0}, {30, 10, 5, 0}, {60, 50, 20, 10}, {100, 100, 20, 10}};
      const int row = v >= 200 ? 0 : v >= 108 ? 1 : v >= 100 ? 2 : 3;
      return kFlop[row][column];
    }
    case 3: {
      static constexpr int32_t kTurn[5][4] = {
          {0, 0, 0, 0}, {0, 0, 5, 0}, {10, 10, 10, 0}, {50, 20, 30, 5}, {50, 60, 30, 5}};
      const int row = v >= 300 ? 0 : v >= 200 ? 1 : v >= 108 ? 2 : v >= 100 ? 3 : 4;
      return kTurn[row][column];
    }
    default: {
      // The river and the showdown: draws no longer count.
      if (v >= 200) return 0;
      if (v >= 108) return aggressive ? 0 : 10;
      if (v >= 100) return 90;
      return 100;
    }
  }
}

}  // namespace holdem
