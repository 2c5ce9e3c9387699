#pragma once

// Pictures filled pixel by pixel: deterministic noise and the means to lay it
// over a card. For the card art's own files only.

#include <QImage>
#include <QRgb>
#include <algorithm>
#include <array>
#include <cstdint>

#include "ui/card_art/drawing.h"

namespace holdem::card_art {

// Deterministic noise for the textures. Coordinates are logical pixels, so a
// picture drawn at pixel ratio 2 shows the same texture, only finer.

inline uint32_t hash2(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u + static_cast<uint32_t>(x) * 0x85EBCA77u;
  h ^= h >> 15;
  h += static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 13;
  h *= 0x27D4EB2Fu;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  return h;
}

// A value in [0, 1) for the point (x, y).
inline float hashUnit(int32_t x, int32_t y, uint32_t seed) {
  return static_cast<float>(hash2(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

// Lattice values for the value noise, worked out once: a table lookup is much
// cheaper than a hash per corner. The noise repeats every kLattice cells, far
// more than a card spans at any scale used here.
inline constexpr int kLattice = 128;

inline const std::array<float, kLattice * kLattice>& lattice() {
  static const auto table = [] {
    std::array<float, kLattice * kLattice> t{};
    for (int y = 0; y < kLattice; ++y)
      for (int x = 0; x < kLattice; ++x) t[static_cast<size_t>(y * kLattice + x)] = hashUnit(x, y, 0x5EEDu);
    return t;
  }();
  return table;
}

inline float smooth(float t) { return t * t * (3.0f - 2.0f * t); }

// Smooth value noise in [0, 1) with one lattice cell per unit, for u, v >= 0.
// Each seed reads its own part of the lattice.
inline float valueNoise(float u, float v, uint32_t seed) {
  const auto& t = lattice();
  const int iu = static_cast<int>(u), iv = static_cast<int>(v);
  const float tx = smooth(u - static_cast<float>(iu)), ty = smooth(v - static_cast<float>(iv));
  const int x0 = (iu + static_cast<int>(seed * 37u)) & (kLattice - 1), x1 = (x0 + 1) & (kLattice - 1);
  const int y0 = (iv + static_cast<int>(seed * 71u)) & (kLattice - 1), y1 = (y0 + 1) & (kLattice - 1);
  const float a = t[static_cast<size_t>(y0 * kLattice + x0)], b = t[static_cast<size_t>(y0 * kLattice + x1)];
  const float c = t[static_cast<size_t>(y1 * kLattice + x0)], d = t[static_cast<size_t>(y1 * kLattice + x1)];
  const float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

// Layered value noise in [0, 1): `octaves` layers, each twice as fine and half as strong.
inline float fbm(float u, float v, uint32_t seed, int octaves) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * valueNoise(u, v, seed + static_cast<uint32_t>(i) * 7u);
    norm += amp;
    u *= 2.03f;
    v *= 2.03f;
    amp *= 0.5f;
  }
  return sum / norm;
}

inline int clamp255(float v) { return std::clamp(static_cast<int>(v + 0.5f), 0, 255); }

inline QRgb rgb(float r, float g, float b) { return qRgb(clamp255(r), clamp255(g), clamp255(b)); }

// A smooth layer of a texture, worked out once per logical pixel and
// interpolated in between at finer pixel ratios: the slowly varying parts of
// a texture need not be computed again for every device pixel.
class SmoothLayer {
 public:
  template <class F>
  explicit SmoothLayer(F f) {
    for (int y = 0; y < kCardHeight; ++y)
      for (int x = 0; x < kCardWidth; ++x)
        values_[static_cast<size_t>(y * kCardWidth + x)] =
            f(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
  }

  // The layer at logical position (u, v); exact at logical pixel centres.
  float at(float u, float v) const {
    const float gu = std::clamp(u - 0.5f, 0.0f, kCardWidth - 1.0f),
                gv = std::clamp(v - 0.5f, 0.0f, kCardHeight - 1.0f);
    const int x0 = std::min(static_cast<int>(gu), kCardWidth - 2),
              y0 = std::min(static_cast<int>(gv), kCardHeight - 2);
    const float tx = gu - static_cast<float>(x0), ty = gv - static_cast<float>(y0);
    const float* row = &values_[static_cast<size_t>(y0 * kCardWidth + x0)];
    const float top = row[0] + (row[1] - row[0]) * tx;
    const float bottom = row[kCardWidth] + (row[kCardWidth + 1] - row[kCardWidth]) * tx;
    return top + (bottom - top) * ty;
  }

 private:
  std::array<float, kCardWidth * kCardHeight> values_;
};

// Sets every pixel of `img` to shade(u, v), with (u, v) the logical position of the pixel's centre.
template <class Shade>
void fillTexture(QImage& img, qreal dpr, Shade shade) {
  const float inv = static_cast<float>(1.0 / dpr);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const float v = (static_cast<float>(y) + 0.5f) * inv;
    for (int x = 0; x < img.width(); ++x) line[x] = shade((static_cast<float>(x) + 0.5f) * inv, v);
  }
}

}  // namespace holdem::card_art
