#include "game/random.h"

#include <utility>

namespace holdem {

Deck buildDeck() {
  Deck deck{};
  for (int32_t suit = 0; suit < 4; ++suit) {
    for (int32_t rank = 0; rank < 13; ++rank) deck[13 * suit + rank] = Card{suit, rank};
  }
  return deck;
}

void shuffleDeck(Deck& deck, Random& random) {
  for (int i = 0; i < kShuffleSwaps; ++i) {
    const int a = random.nextRandom() % kDeckSize;
    const int b = random.nextRandom() % kDeckSize;
    std::swap(deck[a], deck[b]);
  }
}

}  // namespace holdem
