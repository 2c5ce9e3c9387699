#include "game/table_state.h"

namespace holdem {

bool foldedOutHiddenNow(const TableState& t) { return t.folded[index(Seat::Player)] && t.foldCount == 6; }

CardsShown cardsShown(const TableState& t, Seat s) {
  if (!t.inDeal(s)) return CardsShown::None;
  if (s == Seat::Player) return CardsShown::Up;
  return t.bettingRound == kDealOver && !foldedOutHiddenNow(t) ? CardsShown::Up : CardsShown::Back;
}

int boardCardsShown(const TableState& t) {
  switch (t.bettingRound) {
    case kFlop: return 3;
    case kTurn: return 4;
    case kRiver:
    case kDealOver: return foldedOutHiddenNow(t) ? 0 : 5;
    default: return 0;
  }
}

int backPicture(const TableState& t) {
  const bool isBack = t.cardBackIndex >= kFirstBackImage && t.cardBackIndex < kFirstBackImage + kBackCount;
  return isBack ? t.cardBackIndex : kFirstBackImage;
}

}  // namespace holdem
