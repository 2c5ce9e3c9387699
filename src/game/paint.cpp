// Drawing the cards over the table. Cards stay on the canvas until an area
// is filled with the table or the whole table is repainted.
#include "game/game.h"

namespace holdem {

namespace {

constexpr uint32_t kWindowColor = 0x000000;
constexpr uint32_t kBlack = 0x000000;

}  // namespace

void drawTableCard(Canvas& canvas, Point at, int image) {
  canvas.drawCard(at.x, at.y, image);
  // The sharp corners taken off.
  const int x = at.x, y = at.y;
  const int r = x + kCardWidth - 1;
  const int b = y + kCardHeight - 1;
  canvas.setPixel(x, y, kWindowColor);
  canvas.setPixel(r, y, kWindowColor);
  canvas.setPixel(x, b, kWindowColor);
  canvas.setPixel(r, b, kWindowColor);
  for (const Point p : {Point{x + 1, y}, Point{x, y + 1}, Point{r - 1, y}, Point{r, y + 1}, Point{x, b - 1},
                        Point{x + 1, b}, Point{r, b - 1}, Point{r - 1, b}}) {
    canvas.setPixel(p.x, p.y, kBlack);
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
      drawTableCard(canvas_, at, shown == CardsShown::Up ? t.hole[s][slot].imageIndex() : backPicture(t));
    }
  }
  const int boardCards = boardCardsShown(t);
  for (int i = 0; i < boardCards; ++i) {
    drawTableCard(canvas_, kBoardSlots[i], t.board[i].imageIndex());
  }
  record_.painted(t);
}

}  // namespace holdem
