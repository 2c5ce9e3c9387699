// The felt of the table, the source of the shipped "texas.bmp".

#include <QImage>
#include <algorithm>
#include <array>
#include <cstdint>

#include "ui/card_art.h"
#include "ui/card_art/textures.h"

namespace holdem {
namespace {

using card_art::hash2;

constexpr int kTableSize = 200;

// Tileable value noise over a lattice of `cellsX` x `cellsY` cells covering
// the picture, 0..255, integer arithmetic only.
int tiledNoise(int x, int y, int cellsX, int cellsY, uint32_t seed) {
  const int cw = kTableSize / cellsX, ch = kTableSize / cellsY;
  const int cx = x / cw, cy = y / ch;
  auto s = [](int t) { return t * t * (768 - 2 * t) / 65536; };  // smoothstep, 0..256
  const int tx = s((x % cw) * 256 / cw), ty = s((y % ch) * 256 / ch);
  auto at = [&](int i, int j) { return static_cast<int>(hash2(i % cellsX, j % cellsY, seed) >> 24); };
  const int top = at(cx, cy) * (256 - tx) + at(cx + 1, cy) * tx;
  const int bottom = at(cx, cy + 1) * (256 - tx) + at(cx + 1, cy + 1) * tx;
  return (top * (256 - ty) + bottom * ty) >> 16;
}

// The middle of the noise's range 0..255.
constexpr int kNoiseMiddle = 128;

// One layer of the felt's brightness: noise over `cellsX` x `cellsY` cells,
// from -strength / 2 to nearly strength / 2.
struct FeltLayer {
  int cellsX;
  int cellsY;
  uint32_t seed;
  int strength;
};

constexpr std::array<FeltLayer, 4> kFeltLayers = {{
    {4, 4, 1u, 8},             // a soft mottle
    {20, 20, 2u, 10},          // a finer cloud
    {25, kTableSize, 3u, 14},  // short fibres lying across, one pixel row each
    {kTableSize, 25, 4u, 14},  // and lying down
}};

// The felt's colour where its brightness is 0; the green follows the
// brightness fully, the red by 2/5 and the blue by 3/5.
constexpr int kFeltRed = 24;
constexpr int kFeltGreen = 108;
constexpr int kFeltBlue = 56;

}  // namespace

QImage renderTablePicture() {
  QImage img(kTableSize, kTableSize, QImage::Format_RGB32);
  for (int y = 0; y < kTableSize; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < kTableSize; ++x) {
      // Brightness around 0: the layers of noise and a speckle.
      int k = 0;
      for (const FeltLayer& layer : kFeltLayers)
        k += (tiledNoise(x, y, layer.cellsX, layer.cellsY, layer.seed) - kNoiseMiddle) * layer.strength / 256;
      k += static_cast<int>(hash2(x, y, 5u) >> 28) - 8;  // -8..7
      const int r = std::clamp(kFeltRed + k * 2 / 5, 0, 255);
      const int g = std::clamp(kFeltGreen + k, 0, 255);
      const int b = std::clamp(kFeltBlue + k * 3 / 5, 0, 255);
      line[x] = qRgb(r, g, b);
    }
  }
  return img;
}

}  // namespace holdem
