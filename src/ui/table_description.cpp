#include "ui/table_description.h"

#include <QStringList>
#include <algorithm>

#include "game/pictures.h"

namespace holdem {

namespace {

constexpr const char* kRankNames[] = {"Two",  "Three", "Four", "Five",  "Six",  "Seven", "Eight",
                                      "Nine", "Ten",   "Jack", "Queen", "King", "Ace"};
constexpr const char* kSuitNames[] = {"clubs", "diamonds", "hearts", "spades"};

bool isFace(int picture) { return picture >= 0 && picture < kDeckSize; }
bool isBack(int picture) { return picture >= kFirstBackImage && picture < kFirstBackImage + 4; }

QString latin1(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

// The pictures of a seat's two places that show a card, slot 0 first.
QList<int> picturesOf(const std::array<int, 2>& places) {
  QList<int> pictures;
  for (const int p : places)
    if (isFace(p) || isBack(p)) pictures << p;
  return pictures;
}

QStringList namesOf(const QList<int>& pictures) {
  QStringList names;
  for (const int p : pictures) names << cardName(p);
  return names;
}

// The name of the hand a seat shows at the end of a deal, as its status
// label gives it; empty before then.
QString handShown(const TableState& t, const TableView& v, Seat s) {
  if (t.bettingRound != kDealOver || !t.inDeal(s)) return {};
  return QString::fromStdString(v.status[index(s)]);
}

QString yourCards(const QList<int>& pictures, const TableState& t, const TableView& v) {
  if (pictures.isEmpty()) {
    if (t.folded[index(Seat::Player)]) return QStringLiteral("You have folded.");
    if (t.cashOf(Seat::Player) <= 0) return QStringLiteral("You have no chips.");
    return QStringLiteral("You hold no cards.");
  }
  QString text = QStringLiteral("Your cards: ") + namesOf(pictures).join(QStringLiteral(", "));
  const QString hand = handShown(t, v, Seat::Player);
  if (!hand.isEmpty()) text += QStringLiteral(", ") + hand;
  return text + QLatin1Char('.');
}

QString opponentsCards(Seat s, const QList<int>& pictures, const TableState& t, const TableView& v) {
  const QString name = latin1(info(s).name);
  if (pictures.isEmpty()) {
    if (t.folded[index(s)]) return name + QStringLiteral(" has folded.");
    if (t.cashOf(s) <= 0) return name + QStringLiteral(" is out of chips.");
    return name + QStringLiteral(" holds no cards.");
  }
  const bool allBacks = std::all_of(pictures.begin(), pictures.end(), isBack);
  const bool allFaces = std::all_of(pictures.begin(), pictures.end(), isFace);
  if (allBacks) {
    return name + (pictures.size() == 2 ? QStringLiteral(" holds two cards face down.")
                                        : QStringLiteral(" holds a card face down."));
  }
  if (allFaces) {
    QString text = name + QStringLiteral(" shows ") + namesOf(pictures).join(QStringLiteral(", "));
    const QString hand = handShown(t, v, s);
    if (!hand.isEmpty()) text += QStringLiteral(", ") + hand;
    return text + QLatin1Char('.');
  }
  return name + QStringLiteral(" holds ") + namesOf(pictures).join(QStringLiteral(" and ")) +
         QLatin1Char('.');
}

}  // namespace

TableShown tableShownAt(const std::function<int(Point)>& pictureAt) {
  TableShown shown;
  for (int s = 0; s < kSeatCount; ++s)
    for (int slot = 0; slot < 2; ++slot) shown.seats[s][slot] = pictureAt(kSeats[s].cardSlot[slot]);
  for (int i = 0; i < 5; ++i) shown.board[i] = pictureAt(kBoardSlots[i]);
  return shown;
}

TableShown tableShownBy(const TableState& t) {
  TableShown shown;
  for (int s = 0; s < kSeatCount; ++s) {
    const CardsShown how = cardsShown(t, static_cast<Seat>(s));
    if (how == CardsShown::None) continue;
    for (int slot = 0; slot < 2; ++slot)
      shown.seats[s][slot] = how == CardsShown::Up ? t.hole[s][slot].imageIndex() : backPicture(t);
  }
  const int boardCards = boardCardsShown(t);
  for (int i = 0; i < boardCards; ++i) shown.board[i] = t.board[i].imageIndex();
  return shown;
}

QString cardName(int picture) {
  if (isBack(picture)) return QStringLiteral("a card face down");
  if (!isFace(picture)) return {};
  return QString::fromLatin1(kRankNames[picture % 13]) + QStringLiteral(" of ") +
         QString::fromLatin1(kSuitNames[picture / 13]);
}

QString describeTable(const TableShown& shown, const TableState& t, const TableView& v) {
  QStringList sentences;
  sentences << yourCards(picturesOf(shown.seats[index(Seat::Player)]), t, v);
  QStringList board;
  for (const int p : shown.board)
    if (isFace(p)) board << cardName(p);
  sentences << (board.isEmpty()
                    ? QStringLiteral("No community cards.")
                    : QStringLiteral("Board: ") + board.join(QStringLiteral(", ")) + QLatin1Char('.'));
  for (const Seat s : kOpponents) sentences << opponentsCards(s, picturesOf(shown.seats[index(s)]), t, v);
  return sentences.join(QLatin1Char(' '));
}

}  // namespace holdem
