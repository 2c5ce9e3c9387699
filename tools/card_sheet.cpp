// Lays all 56 card pictures out on the table felt, once at pixel ratio 1 and
// once at 2, the way the window shows them (corners rounded), and writes the
// sheet as a PNG: card_sheet [FILE] [TABLE.bmp]. Beside it, FILE.table.png
// shows a dealt table at the window's card positions. Also prints how long
// the pictures take to draw.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "game/pictures.h"
#include "ui/card_art.h"

namespace {

// The twelve corner pixels the game sets after drawing a card at (x, y).
void roundCorners(QImage& sheet, int x, int y, int scale) {
  const QRgb window = qRgb(0, 0, 0), black = qRgb(0, 0, 0);
  auto set = [&](int dx, int dy, QRgb c) {
    for (int i = 0; i < scale; ++i)
      for (int j = 0; j < scale; ++j)
        sheet.setPixel(x * scale + dx * scale + i, y * scale + dy * scale + j, c);
  };
  for (auto [dx, dy] : {std::pair{0, 0}, {70, 0}, {0, 95}, {70, 95}}) set(dx, dy, window);
  for (auto [dx, dy] : {std::pair{1, 0}, {0, 1}, {69, 0}, {70, 1}, {0, 94}, {1, 95}, {70, 94}, {69, 95}})
    set(dx, dy, black);
}

void layOut(QImage& sheet, const QList<QImage>& cards, int scale, int top) {
  QPainter p(&sheet);
  for (int i = 0; i < cards.size(); ++i) {
    const int col = i % 14, row = i / 14;
    const int x = 8 + col * 78, y = top + row * 104;
    QImage card = cards[i];
    card.setDevicePixelRatio(1);
    p.drawImage(QPoint(x * scale, y * scale), card);
  }
  p.end();
  for (int i = 0; i < cards.size(); ++i) roundCorners(sheet, 8 + (i % 14) * 78, top + (i / 14) * 104, scale);
}

// An 800 x 520 table in the middle of a deal: the felt tiled from the
// top-left corner, the human's cards and the flop face up, every opponent's
// cards face down, a few labels in the table's white text.
QImage dealtTable(const QImage& felt, const QList<QImage>& cards, int back) {
  QImage table(800, 520, QImage::Format_RGB32);
  QPainter p(&table);
  p.fillRect(table.rect(), QBrush(felt));
  auto card = [&](int picture, int x, int y) {
    QImage c = cards[picture];
    c.setDevicePixelRatio(1);
    p.drawImage(QPoint(x, y), c);
    roundCorners(table, x, y, 1);
  };
  const int opponents[7][2] = {{57, 85}, {202, 85}, {347, 85}, {492, 85}, {637, 85}, {612, 335}, {445, 405}};
  for (int slot = 0; slot < 2; ++slot) {
    card(slot == 0 ? 12 : 51, 65 + 65 * slot, 351 + 4 * slot);  // ace of clubs, ace of spades
    for (const auto& o : opponents) card(back, o[0] + 35 * slot, o[1] + 3 * slot);
  }
  const int board[5][2] = {{242, 223}, {302, 233}, {362, 243}, {422, 233}, {482, 223}};
  const int flop[5] = {24, 36, 9, 17, 44};  // king of diamonds, queen of hearts, jack of clubs, ...
  for (int i = 0; i < 5; ++i) card(flop[i], board[i][0], board[i][1]);
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setBold(true);
  f.setPixelSize(11);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(64, 48 + 11, QStringLiteral("Freak:  1000"));
  p.drawText(88, 312 + 11, QStringLiteral("You:  1000"));
  p.setPen(Qt::yellow);
  f.setPixelSize(15);
  p.setFont(f);
  p.drawText(80, 192 + 15, QStringLiteral("You win with Two pair"));
  return table;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("card_sheet.png");
  QImage felt = argc > 2 ? QImage(QString::fromLocal8Bit(argv[2])) : holdem::renderTablePicture();

  holdem::renderAllCardPictures();  // warm up the font caches
  QElapsedTimer timer;
  timer.start();
  const QList<QImage> one = holdem::renderAllCardPictures(1.0);
  const qint64 ns1 = timer.nsecsElapsed();
  timer.restart();
  const QList<QImage> two = holdem::renderAllCardPictures(2.0);
  const qint64 ns2 = timer.nsecsElapsed();
  std::printf("56 pictures: %.2f ms at ratio 1, %.2f ms at ratio 2\n", ns1 / 1e6, ns2 / 1e6);

  // Ratio 1 on top (drawn at twice the size with plain pixel doubling, so it
  // can be compared with the sharp ratio 2 pictures below).
  const int w = 8 + 14 * 78, h1 = 8 + 4 * 104;
  QImage small(w, h1, QImage::Format_RGB32);
  {
    QPainter p(&small);
    p.fillRect(small.rect(), QBrush(felt));
  }
  layOut(small, one, 1, 8);
  QImage big(w * 2, h1 * 2, QImage::Format_RGB32);
  {
    QPainter p(&big);
    p.fillRect(big.rect(), QBrush(felt.scaled(felt.size() * 2)));
  }
  layOut(big, two, 2, 8);

  QImage sheet(w * 2, h1 * 4, QImage::Format_RGB32);
  QPainter p(&sheet);
  p.drawImage(QRect(0, 0, w * 2, h1 * 2), small);
  p.drawImage(QPoint(0, h1 * 2), big);
  p.end();
  small.save(out + QStringLiteral(".1x.png"));
  dealtTable(felt, one, holdem::kBackDenim).save(out + QStringLiteral(".table.png"));
  if (!sheet.save(out)) {
    std::fprintf(stderr, "card_sheet: cannot write %s\n", qPrintable(out));
    return 1;
  }
  return 0;
}
