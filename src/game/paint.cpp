// Drawing the cards over the table. Cards stay on the canvas until an area
// is filled with the table or the whole table is repainted.
#include "game/game.h"

namespace holdem {

namespace {

constexpr uint32_t kWindowColor = 0x000000;
constexpr uint32_t kBlack = 0x000000;

}  // namespace

// Takes the sharp corners off a card just drawn at (x, y).
void Game::roundCardCorners(int x, int y) {
  const int r = x + kCardWidth - 1;
  const int b = y + kCardHeight - 1;
  canvas_.setPixel(x, y, kWindowColor);
  canvas_.setPixel(r, y, kWindowColor);
  canvas_.setPixel(x, b, kWindowColor);
  canvas_.setPixel(r, b, kWindowColor);
  for (const Point p : {Point{x + 1, y}, Point{x, y + 1}, Point{r - 1, y}, Point{r, y + 1}, Point{x, b - 1},
                        Point{x + 1, b}, Point{r, b - 1}, Point{r - 1, b}}) {
    canvas_.setPixel(p.x, p.y, kBlack);
  }
}

void Game::paintTable() {
  TableState& t = state_;
  t.foldedOutHidden = foldedOutHiddenNow(t);
  for (int slot = 0; slot < 2; ++slot) {
    for (int s = 0; s < kSeatCount; ++s) {
      const Seat seat = static_cast<Seat>(s);
      const CardsShown shown = cardsShown(t, seat);
      if (shown == CardsShown::None) continue;
      const Point at = kSeats[s].cardSlot[slot];
      canvas_.drawCard(at.x, at.y, shown == CardsShown::Up ? t.hole[s][slot].imageIndex() : backPicture(t));
      roundCardCorners(at.x, at.y);
    }
  }
  const int boardCards = boardCardsShown(t);
  for (int i = 0; i < boardCards; ++i) {
    canvas_.drawCard(kBoardSlots[i].x, kBoardSlots[i].y, t.board[i].imageIndex());
    roundCardCorners(kBoardSlots[i].x, kBoardSlots[i].y);
  }
  record_.painted(t);
}

}  // namespace holdem
