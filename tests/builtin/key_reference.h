#pragma once
// The keying maths done on the CPU for the tests of the keys: the key map of "クロマキー"
// and the keying through it, the recolouring of "特定色域変換" through the same map, the
// mask of "カラーキー", and the boundary correction's window that erodes them all. Each
// takes the constants its shader reads.
#include <algorithm>
#include <cstdint>
#include <cmath>
#include <numbers>

#include "builtin/filter/chroma_key_filter.h"
#include "builtin/filter/color_change_filter.h"
#include "builtin/filter/color_key_filter.h"
#include "colour_reference.h"
#include "gpu/shader_run_support.h"

namespace TestSupport {

// A colour item's 0xRRGGBB as an opaque colour.
inline Rgba colourOf(uint32_t rgb) {
  return {static_cast<float>(rgb >> 16 & 0xFF) / 255.0f, static_cast<float>(rgb >> 8 & 0xFF) / 255.0f,
          static_cast<float>(rgb & 0xFF) / 255.0f, 1.0f};
}

// Colours round the key: its hue turned by up to a quarter turn either way, its saturation
// from a fifth to one and a half times the key's, at its luma; greys, black, and transparent
// and almost transparent pixels.
inline CpuImage pictureAroundKey(uint32_t keyRgb) {
  const Ycc key = lumaChroma(colourOf(keyRgb));
  constexpr int kWidth = 9, kHeight = 5;
  return pictureOf(kWidth, kHeight, [&](int x, int y) {
    const int i = x + kWidth * y;
    const float a = i % 8 == 5 ? 0.0f : i % 13 == 6 ? 0.0005f : 0.35f + 0.65f * float(i * 7 % 5) / 4;
    const float turn = (static_cast<float>(x) - 4.0f) / 8.0f * std::numbers::pi_v<float> * 0.5f;
    const float scale = 0.2f + 0.3f * static_cast<float>(y);
    const float u = (key[1] * std::cos(turn) - key[2] * std::sin(turn)) * scale;
    const float v = (key[1] * std::sin(turn) + key[2] * std::cos(turn)) * scale;
    Rgba c = fromLumaChroma({key[0], u, v}, 1.0f);
    if (i == 12) c = colourOf(keyRgb);
    if (i % 11 == 3) c = {0.45f, 0.45f, 0.45f, 1.0f};
    if (i == 31) c = {0.0f, 0.0f, 0.0f, 1.0f};
    return Rgba{c[0] * a, c[1] * a, c[2] * a, a};
  });
}

// The constants of "クロマキー" as its items give them: the key's hue (0 for a grey) and
// saturation (at least 0.001), the ranges over 256, the window of the rounded boundary
// correction.
inline Effect::ChromaKeyFilter::Constants chromaKeyConstants(uint32_t keyRgb, double hueRange,
                                                             double saturationRange,
                                                             double border, bool correct,
                                                             bool transparent) {
  const Ycc key = lumaChroma(colourOf(keyRgb));
  const float s = std::hypot(key[1], key[2]);
  Effect::ChromaKeyFilter::Constants q;
  q.keyH = s > 1e-5f ? std::atan2(key[1], key[2]) / std::numbers::pi_v<float> : 0.0f;
  q.keyS = std::max(s, 0.001f);
  q.lenH = static_cast<float>(hueRange) / 256.0f;
  q.lenS = static_cast<float>(saturationRange) * q.keyS / 256.0f;
  q.keyU = key[1];
  q.keyV = key[2];
  q.range = static_cast<int>(std::lround(border));
  const auto window = static_cast<float>(2 * q.range + 1);
  q.divie = 1.0f / (window * window);
  q.correct = correct ? 1.0f : 0.0f;
  q.transparent = transparent ? 0.0f : 1.0f;
  return q;
}

// The key map of one texel: distance from the key (held at 1024), (U, V), coverage left.
inline Rgba keyMap(const Rgba& texel, const Effect::ChromaKeyFilter::Constants& q) {
  if (texel[3] < 0.001f) return {};
  const Ycc ycc = lumaChroma(straight(texel));
  float s = std::hypot(ycc[1], ycc[2]);
  if (s <= 1e-5f) s = 0.0f;  // a grey, whatever the rounding left in (U, V)
  const float hue = s > 0 ? std::atan2(ycc[1], ycc[2]) / std::numbers::pi_v<float> : 0.0f;
  const float h = std::fabs(hue - q.keyH);
  const float hueOut = std::max((h >= 1 ? 2 - h : h) - q.lenH, 0.0f);
  const float off = std::min(edgeRatio(std::fabs(q.keyS - s), q.keyS), 1024.0f);
  return {std::max(off, 8 * hueOut), ycc[1], ycc[2],
          std::min(8 * (hueOut + std::max(std::fabs(s - q.keyS) - q.lenS, 0.0f)), 1.0f)};
}

// The map of a whole picture, as the half-float image that holds it.
inline CpuImage keyMapOf(const CpuImage& picture, const Effect::ChromaKeyFilter::Constants& q) {
  return pictureOf(picture.width, picture.height,
                   [&](int x, int y) { return keyMap(picture.get(x, y), q); });
}

// The boundary correction's weight: the map's alpha summed over the window, edges repeated.
inline float windowWeight(const CpuImage& map, int x, int y, float a, int range, float divie) {
  float sum = 0;
  for (int dy = -range; dy <= range; ++dy)
    for (int dx = -range; dx <= range; ++dx)
      sum += map.get(std::clamp(x + dx, 0, map.width - 1), std::clamp(y + dy, 0, map.height - 1))[3];
  return std::max(1 + static_cast<float>(range) * (sum * a * divie - 1), 0.0f);
}

inline float divieOf(int range) {
  return 1.0f / static_cast<float>((2 * range + 1) * (2 * range + 1));
}

// "クロマキー" at one pixel from the picture and its map: the texel scaled by the coverage
// left (eroded by the window when `border`), its colour first pushed away from the key's
// where colour correction applies. `corrected` counts the pixels it pushed.
inline Rgba chromaKeyed(const CpuImage& picture, const CpuImage& map, int x, int y,
                        const Effect::ChromaKeyFilter::Constants& q, bool border,
                        int* corrected = nullptr) {
  const Rgba m = map.get(x, y), texel = picture.get(x, y);
  if (m[3] < 0.001f) return Rgba{};
  const float share = std::min(std::max(m[0], q.transparent), 1.0f);
  const float factor = (border ? windowWeight(map, x, y, m[3], q.range, q.divie) : m[3]) * share;
  const float k = m[0] * q.correct;
  if (k < 0.001f || k >= 1) return scaled(texel, factor);
  if (corrected) ++*corrected;
  const float u = std::clamp((m[1] - q.keyU) / k + q.keyU, -0.5f, 0.5f);
  const float v = std::clamp((m[2] - q.keyV) / k + q.keyV, -0.5f, 0.5f);
  const Rgba recoloured = fromLumaChroma({lumaChroma(straight(texel))[0], u, v}, 1.0f);
  return scaled(scaled(recoloured, texel[3]), factor);
}

// "特定色域変換" at one pixel from the picture and its map: moved towards the target colour
// as far as the map (eroded by the window when `border`) keys the pixel out.
inline Rgba colourChanged(const CpuImage& picture, const CpuImage& map, int x, int y,
                          const Effect::ColorChangeFilter::Constants& q, bool border) {
  const Rgba texel = picture.get(x, y), m = map.get(x, y);
  if (texel[3] < 0.001f) return Rgba{};
  const float k = m[0] * q.correct;
  float u = m[1], v = m[2];
  if (k > 0 && k < 1) {
    u = std::clamp((m[1] - q.beforeU) / k + q.beforeU, -0.5f, 0.5f);
    v = std::clamp((m[2] - q.beforeV) / k + q.beforeV, -0.5f, 0.5f);
  }
  const float w = border ? windowWeight(map, x, y, m[3], q.range, q.divie) : m[3];
  const float luma = lumaChroma(straight(texel))[0];
  const float y0 = edgeRatio(luma * q.afterY, std::max(luma, q.beforeY));
  const Ycc ycc{y0 + w * (luma - y0), q.afterU + w * (u - q.afterU),
                q.afterV + w * (v - q.afterV)};
  return scaled(fromLumaChroma(ycc, 1.0f), texel[3]);
}

// The mask of "カラーキー": clear only where all of Y, U and V lie within their half-widths.
inline Rgba colourKeyMask(const Rgba& texel, const Effect::ColorKeyFilter::Constants& q) {
  if (texel[3] < 0.001f) return {};
  const Ycc ycc = lumaChroma(straight(texel));
  bool outside = false;
  for (int i = 0; i < 3; ++i) outside = outside || std::fabs(ycc[i] - q.key[i]) >= q.len[i];
  return {0.0f, 0.0f, 0.0f, outside ? 1.0f : 0.0f};
}

}  // namespace TestSupport
