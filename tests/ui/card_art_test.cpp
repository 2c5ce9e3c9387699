#include "ui/card_art.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "game/pictures.h"

namespace holdem {
namespace {

constexpr int kRanks = 13;

const QList<QImage>& pictures() {
  static const QList<QImage> all = renderAllCardPictures();
  return all;
}

bool isRed(int suit) { return suit == 1 || suit == 2; }

// Strong red, as the ink of hearts and diamonds; neither gold, skin nor pink.
bool isRedInk(QRgb c) { return qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 100; }
bool isDarkInk(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; }

// Any marked pixel of a shape in red or black, its soft edge included.
bool isRedShape(QRgb c) { return qRed(c) > 150 && qGreen(c) < 170 && qBlue(c) < 170; }
bool isDarkShape(QRgb c) { return qGray(c) < 170; }

int countPixels(const QImage& img, const QRect& area, bool (*pred)(QRgb)) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += pred(img.pixel(x, y)) ? 1 : 0;
  return n;
}

// Number of 4-connected blobs of pixels matching `pred` inside `area`.
int countBlobs(const QImage& img, const QRect& area, bool (*pred)(QRgb)) {
  const int w = area.width(), h = area.height();
  std::vector<char> seen(static_cast<size_t>(w * h), 0);
  int blobs = 0;
  std::vector<std::pair<int, int>> stack;
  for (int y0 = 0; y0 < h; ++y0) {
    for (int x0 = 0; x0 < w; ++x0) {
      if (seen[y0 * w + x0] || !pred(img.pixel(area.left() + x0, area.top() + y0))) continue;
      ++blobs;
      stack.push_back({x0, y0});
      seen[y0 * w + x0] = 1;
      while (!stack.empty()) {
        auto [x, y] = stack.back();
        stack.pop_back();
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= w || ny >= h || seen[ny * w + nx]) continue;
          if (!pred(img.pixel(area.left() + nx, area.top() + ny))) continue;
          seen[ny * w + nx] = 1;
          stack.push_back({nx, ny});
        }
      }
    }
  }
  return blobs;
}

// Fifty-six opaque pictures of 71 by 96, each its own, drawn the same every
// time, one by one as in the full set; nothing for an index out of range.
TEST(CardPictures, FiftySixOpaqueDistinctPicturesDrawnTheSameEveryTime) {
  ASSERT_EQ(pictures().size(), 56);
  const QList<QImage> again = renderAllCardPictures();
  for (int i = 0; i < 56; ++i) {
    const QImage& img = pictures()[i];
    SCOPED_TRACE(i);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(kCardWidth, kCardHeight));
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
    EXPECT_FALSE(img.hasAlphaChannel());
    EXPECT_DOUBLE_EQ(img.devicePixelRatio(), 1.0);
    EXPECT_EQ(again[i], img);
    for (int j = i + 1; j < 56; ++j) EXPECT_NE(img, pictures()[j]) << "and " << j;
  }
  for (int i : {0, 12, 25, 38, 51, 52, 55}) EXPECT_EQ(renderCardPicture(i), pictures()[i]) << i;
  EXPECT_TRUE(renderCardPicture(-1).isNull());
  EXPECT_TRUE(renderCardPicture(56).isNull());
  EXPECT_TRUE(renderCardPicture(3, 0.0).isNull());
}

// Every face: a dark edge round a white face, red ink on hearts and diamonds
// and none on clubs and spades, and a corner index of the suit's colour at
// the top left and, turned round, at the bottom right.
TEST(CardFaces, EdgeInkAndCornerIndexes) {
  const QRect topLeft(1, 1, 14, 26), bottomRight(kCardWidth - 15, kCardHeight - 27, 14, 26);
  for (int i = 0; i < 52; ++i) {
    const int suit = i / kRanks;
    const QImage& img = pictures()[i];
    SCOPED_TRACE(i);
    EXPECT_TRUE(isDarkInk(img.pixel(35, 0)) && isDarkInk(img.pixel(0, 48)) && isDarkInk(img.pixel(70, 48)) &&
                isDarkInk(img.pixel(35, 95)));
    EXPECT_GT(qGray(img.pixel(3, 40)), 240);
    const int red = countPixels(img, img.rect(), isRedInk);
    if (isRed(suit)) {
      EXPECT_GT(red, 60);
    } else {
      EXPECT_EQ(red, 0);
    }
    for (const QRect& corner : {topLeft, bottomRight}) {
      const int ink = countPixels(img, corner, isRed(suit) ? isRedInk : isDarkInk);
      EXPECT_GT(ink, 25);  // rank and suit are both there
      EXPECT_LT(ink, 14 * 26 / 2);
    }
    int diff = 0;
    for (int y = 1; y < 27; ++y)
      for (int x = 1; x < 15; ++x)
        diff += std::abs(qGray(img.pixel(x, y)) - qGray(img.pixel(kCardWidth - 1 - x, kCardHeight - 1 - y)));
    EXPECT_LT(diff, 14 * 26 * 4);  // antialiasing may differ a little
  }
}

TEST(CardFaces, NumberCardsShowAsManyPipsAsTheirValue) {
  // The pips lie between the two corner indexes; count the separate shapes.
  const QRect pipArea(15, 3, kCardWidth - 30, kCardHeight - 6);
  for (int suit = 0; suit < 4; ++suit)
    for (int rank = 0; rank <= 8; ++rank) {
      const QImage& img = pictures()[kRanks * suit + rank];
      EXPECT_EQ(countBlobs(img, pipArea, isRed(suit) ? isRedShape : isDarkShape), rank + 2)
          << "suit " << suit << " rank " << rank;
    }
}

TEST(CardFaces, AceHasOneLargePip) {
  const QRect pipArea(15, 3, kCardWidth - 30, kCardHeight - 6);
  for (int suit = 0; suit < 4; ++suit) {
    const QImage& img = pictures()[kRanks * suit + 12];
    auto ink = isRed(suit) ? isRedInk : isDarkInk;
    EXPECT_GT(countPixels(img, pipArea, ink), 250) << suit;
    // A two of the same suit has two smaller pips with less ink all told.
    EXPECT_GT(countPixels(img, pipArea, ink), countPixels(pictures()[kRanks * suit], pipArea, ink)) << suit;
  }
}

TEST(CardFaces, CourtCardsAreColouredFigures) {
  // Jack, queen and king carry more than the suit's ink: a tinted, multi-coloured panel.
  for (int suit = 0; suit < 4; ++suit)
    for (int rank = 9; rank <= 11; ++rank) {
      const QImage& img = pictures()[kRanks * suit + rank];
      QSet<QRgb> colours;
      for (int y = 20; y < 76; ++y)
        for (int x = 20; x < 51; ++x) colours.insert(img.pixel(x, y) & 0xF0F0F0);
      EXPECT_GT(colours.size(), 20) << suit << " " << rank;
    }
}

TEST(CardBacks, FourTexturedBacksEachOfItsOwnColouring) {
  for (int i = kBackDenim; i <= kBackLeather; ++i) {
    QSet<QRgb> colours;
    for (int y = 10; y < 86; ++y)
      for (int x = 10; x < 61; ++x) colours.insert(pictures()[i].pixel(x, y));
    EXPECT_GT(colours.size(), 30) << i;  // not flat
  }
  // Mean colour of the middle: denim blue, cloth red, rock grey, leather brown.
  auto mean = [](const QImage& img) {
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = 10; y < 86; ++y)
      for (int x = 10; x < 61; ++x, ++n) {
        const QRgb c = img.pixel(x, y);
        r += qRed(c), g += qGreen(c), b += qBlue(c);
      }
    return std::tuple<int, int, int>(r / n, g / n, b / n);
  };
  const auto [dr, dg, db] = mean(pictures()[kBackDenim]);
  EXPECT_GT(db, dr + 30);
  EXPECT_GT(db, dg + 15);
  const auto [cr, cg, cb] = mean(pictures()[kBackCloth]);
  EXPECT_GT(cr, cg + 40);
  EXPECT_GT(cr, cb + 40);
  const auto [rr, rg, rb] = mean(pictures()[kBackRock]);
  EXPECT_LT(std::abs(rr - rg) + std::abs(rg - rb), 25);
  const auto [lr, lg, lb] = mean(pictures()[kBackLeather]);
  EXPECT_GT(lr, lg + 25);
  EXPECT_GT(lg, lb + 15);
  EXPECT_LT(lr, 200);
}

TEST(CardPictures, RatioTwoIsSharpAndTwiceTheSize) {
  for (int i : {0, 8, 10, 24, 37, 51, 52, 53, 54, 55}) {
    const QImage img = renderCardPicture(i, 2.0);
    SCOPED_TRACE(i);
    EXPECT_EQ(img.size(), QSize(142, 192));
    EXPECT_DOUBLE_EQ(img.devicePixelRatio(), 2.0);
    EXPECT_EQ(img.deviceIndependentSize(), QSizeF(71, 96));
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
    // Same picture as ratio 1: scaled down, it is close to it.
    const QImage down = img.scaled(71, 96, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage& one = pictures()[i];
    long diff = 0;
    for (int y = 0; y < 96; ++y)
      for (int x = 0; x < 71; ++x) diff += std::abs(qGray(down.pixel(x, y)) - qGray(one.pixel(x, y)));
    EXPECT_LT(diff / (71 * 96), 20);
    // And it is not the small one blown up: it has detail of its own.
    const QImage blown = one.scaled(142, 192);
    EXPECT_NE(img.convertToFormat(QImage::Format_RGB32).copy(), blown.convertToFormat(QImage::Format_RGB32));
  }
}

// The shipped picture is a small 24-bit BMP, the very one the tool makes.
TEST(TablePicture, ShippedFileIsA24BitBmpAsTheToolMakesIt) {
  const QString path = QStringLiteral(HOLDEM_RESOURCE_DIR "/texas.bmp");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  const QByteArray head = file.read(30);
  ASSERT_EQ(head.size(), 30);
  EXPECT_EQ(head.left(2), QByteArray("BM"));
  EXPECT_EQ(static_cast<unsigned char>(head[28]), 24);  // bits per pixel
  EXPECT_LT(file.size(), 200 * 1024);
  const QImage shipped(path);
  EXPECT_GE(shipped.width(), 100);
  EXPECT_GE(shipped.height(), 100);
  EXPECT_EQ(shipped.convertToFormat(QImage::Format_RGB32), renderTablePicture());
}

TEST(TablePicture, IsEvenGreenFelt) {
  const QImage img = renderTablePicture();
  double r = 0, g = 0, b = 0, gg = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y);
      r += qRed(c), g += qGreen(c), b += qBlue(c), gg += qGreen(c) * qGreen(c);
    }
  const double n = static_cast<double>(img.width()) * img.height();
  EXPECT_GT(g / n, r / n + 50);
  EXPECT_GT(g / n, b / n + 30);
  EXPECT_LT(g / n, 160);  // dark enough for white labels
  // Felt, not a flat fill; but subtle enough that text on it stays readable.
  const double spread = std::sqrt(gg / n - (g / n) * (g / n));
  EXPECT_GT(spread, 2.0);
  EXPECT_LT(spread, 12.0);
}

// Mean difference between the 4-pixel bands left and right of each column
// boundary (each row boundary when `across` is false), the picture wrapping
// round at its edges. Index 0 is the boundary where the tiles meet.
std::vector<double> bandSteps(const QImage& img, bool across) {
  const int len = across ? img.width() : img.height(), other = across ? img.height() : img.width();
  auto green = [&](int along, int at) {
    along = (along % len + len) % len;
    return across ? qGreen(img.pixel(along, at)) : qGreen(img.pixel(at, along));
  };
  std::vector<double> steps;
  for (int b = 0; b < len; ++b) {
    double d = 0;
    for (int at = 0; at < other; ++at) {
      int before = 0, after = 0;
      for (int k = 1; k <= 4; ++k) before += green(b - k, at), after += green(b + k - 1, at);
      d += std::abs(before - after) / 4.0;
    }
    steps.push_back(d / other);
  }
  return steps;
}

TEST(TablePicture, TilesWithoutSeams) {
  // Where the tiles meet, the felt changes no faster than it does anywhere
  // inside the picture.
  const QImage img = renderTablePicture();
  for (bool across : {true, false}) {
    const std::vector<double> steps = bandSteps(img, across);
    double inside = 0;
    for (size_t i = 1; i < steps.size(); ++i) inside += steps[i];
    inside /= static_cast<double>(steps.size() - 1);
    const double worst = *std::max_element(steps.begin() + 1, steps.end());
    EXPECT_LT(steps[0], std::min(worst, inside * 1.3)) << (across ? "left/right" : "top/bottom");
  }
}

}  // namespace
}  // namespace holdem

int main(int argc, char** argv) {
  // The tests draw text, which needs a GUI application; none needs a screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
