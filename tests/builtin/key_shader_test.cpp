// The keying shaders: the key map of "クロマキー" and the keying through it, the recolouring
// of "特定色域変換" through the same map, the mask of "カラーキー" and its boundary
// correction, and "ルミナンスキー". Each is checked at every pixel of a small picture against
// the same maths done here; the maps the second steps read are made here too, so each
// shader is checked on its own. The picture holds the key's own colour, colours near it,
// greys and black (no hue), and transparent and almost transparent pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "builtin/filter/chroma_key_filter.h"
#include "builtin/filter/color_change_filter.h"
#include "builtin/filter/color_key_filter.h"
#include "builtin/filter/luminance_key_filter.h"
#include "colour_reference.h"
#include "gpu/shader_run_support.h"

namespace {

using namespace Effect;
using TestSupport::edgeRatio;
using TestSupport::fromLumaChroma;
using TestSupport::lumaChroma;
using TestSupport::matchesEverywhere;
using TestSupport::Rgba;
using TestSupport::shadersOf;
using TestSupport::runPixelShader;
using TestSupport::scaled;
using TestSupport::straight;
using TestSupport::Ycc;

constexpr int kWidth = 10, kHeight = 6;
constexpr Rgba kKey{0.1f, 0.8f, 0.25f, 1.0f};

TestSupport::CpuImage keyedPicture() {
  return TestSupport::pictureOf(kWidth, kHeight, [](int x, int y) {
    const int i = x + kWidth * y;
    const float a = i % 7 == 0    ? 0.0f
                    : i % 11 == 0 ? 0.0005f
                                  : 0.3f + 0.7f * static_cast<float>(i * 5 % 9) / 8.0f;
    const float t = static_cast<float>(i) * 0.7f;
    Rgba c{0.5f + 0.45f * std::cos(t), 0.5f + 0.45f * std::cos(t - 2.1f),
           0.5f + 0.45f * std::cos(t + 2.1f), 1.0f};
    if (i % 5 == 1) c = kKey;
    // The key's hue at 60 % of its saturation: partly keyed.
    if (i % 5 == 3)
      for (int k = 0; k < 3; ++k) c[k] = 0.45f + 0.6f * (kKey[k] - 0.45f);
    if (i % 13 == 2) c = {0.4f, 0.4f, 0.4f, 1.0f};
    if (i % 17 == 4) c = {0.0f, 0.0f, 0.0f, 1.0f};
    return Rgba{c[0] * a, c[1] * a, c[2] * a, a};
  });
}

// The key's hue and saturation as the map's constants take them.
ChromaKeyFilter::Constants chromaKey(const Rgba& key, float lenH, float lenS) {
  const Ycc k = lumaChroma(key);
  ChromaKeyFilter::Constants q;
  q.keyU = k[1];
  q.keyV = k[2];
  q.keyS = std::hypot(k[1], k[2]);
  if (q.keyS <= 1e-5f) q.keyS = 0.0f;
  q.keyH = q.keyS > 0 ? std::atan2(k[1], k[2]) / std::numbers::pi_v<float> : 0.0f;
  q.lenH = lenH;
  q.lenS = lenS;
  return q;
}

// The key map of one texel: distance from the key (held at 1024), (U, V), coverage left.
Rgba keyMap(const Rgba& texel, const ChromaKeyFilter::Constants& q) {
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

TestSupport::CpuImage keyMapOf(const TestSupport::CpuImage& picture,
                               const ChromaKeyFilter::Constants& q) {
  return TestSupport::pictureOf(kWidth, kHeight,
                                [&](int x, int y) { return keyMap(picture.get(x, y), q); });
}

// The boundary correction's weight: the map's alpha summed over the window, edges repeated.
float windowWeight(const TestSupport::CpuImage& map, int x, int y, float a, int range,
                   float divie) {
  float sum = 0;
  for (int dy = -range; dy <= range; ++dy)
    for (int dx = -range; dx <= range; ++dx)
      sum += map.get(std::clamp(x + dx, 0, kWidth - 1),
                     std::clamp(y + dy, 0, kHeight - 1))[3];
  return std::max(1 + static_cast<float>(range) * (sum * a * divie - 1), 0.0f);
}

float divieOf(int range) { return 1.0f / static_cast<float>((2 * range + 1) * (2 * range + 1)); }

using KeyShaderTest = TestSupport::GpuTest;

TEST_F(KeyShaderTest, TheChromaKeyMapMeasuresHueAndSaturationFromTheKey) {
  struct Case {
    const char* what;
    ChromaKeyFilter::Constants constants;
  };
  ChromaKeyFilter::Constants acrossTheWrap = chromaKey(kKey, 0.1f, 0.05f);
  acrossTheWrap.keyH = 0.95f;
  const Case cases[] = {
      {"key with tolerances", chromaKey(kKey, 0.08f, 0.1f)},
      {"no tolerance", chromaKey(kKey, 0.0f, 0.0f)},
      {"key hue across the half turn", acrossTheWrap},
      // A grey key has no saturation to measure against: distances are held, not infinite.
      {"grey key", chromaKey({0.5f, 0.5f, 0.5f, 1.0f}, 0.1f, 0.1f)},
  };
  const auto picture = keyedPicture();
  const auto shaders = shadersOf<ChromaKeyFilter>();
  for (const Case& c : cases) {
    const auto result = runPixelShader(shaders->pixelShader(ChromaKeyFilter::kMapShader), kWidth,
                                       kHeight, {&picture}, c.constants);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      return keyMap(picture.get(x, y), c.constants);
    })) << c.what;
  }
}

TEST_F(KeyShaderTest, TheChromaKeyKeysThroughItsMap) {
  const auto picture = keyedPicture();
  struct Case {
    const char* what;
    ChromaKeyFilter::Shader shader;
    float correct;
    float transparent;
    int range;
  };
  const Case cases[] = {
      {"plain", ChromaKeyFilter::kApplyShader, 0.0f, 0.0f, 0},
      {"colour corrected, partly kept", ChromaKeyFilter::kApplyShader, 1.5f, 0.4f, 0},
      {"boundary corrected", ChromaKeyFilter::kBorderShader, 0.0f, 0.0f, 1},
      {"both corrections, wide window", ChromaKeyFilter::kBorderShader, 1.5f, 0.2f, 2},
  };
  const auto shaders = shadersOf<ChromaKeyFilter>();
  for (const Case& c : cases) {
    ChromaKeyFilter::Constants q = chromaKey(kKey, 0.08f, 0.1f);
    q.correct = c.correct;
    q.transparent = c.transparent;
    q.range = c.range;
    q.divie = divieOf(c.range);
    const auto map = keyMapOf(picture, q);
    int corrected = 0;
    const auto expected = [&](int x, int y) {
      const Rgba m = map.get(x, y), texel = picture.get(x, y);
      if (m[3] < 0.001f) return Rgba{};
      const float share = std::min(std::max(m[0], q.transparent), 1.0f);
      const float factor = c.shader == ChromaKeyFilter::kApplyShader
                               ? m[3] * share
                               : windowWeight(map, x, y, m[3], q.range, q.divie) * share;
      const float k = m[0] * q.correct;
      if (k < 0.001f || k >= 1) return scaled(texel, factor);
      ++corrected;
      const float u = std::clamp((m[1] - q.keyU) / k + q.keyU, -0.5f, 0.5f);
      const float v = std::clamp((m[2] - q.keyV) / k + q.keyV, -0.5f, 0.5f);
      const Rgba recoloured = fromLumaChroma({lumaChroma(straight(texel))[0], u, v}, 1.0f);
      return scaled(scaled(recoloured, texel[3]), factor);
    };
    const auto result =
        runPixelShader(shaders->pixelShader(c.shader), kWidth, kHeight, {&picture, &map}, q);
    EXPECT_TRUE(matchesEverywhere(result, expected, 4e-3f)) << c.what;
    if (c.correct > 0) {
      EXPECT_GT(corrected, 0) << c.what << ": the picture has colours to correct";
    }
  }
}

TEST_F(KeyShaderTest, TheColourChangeRecoloursThroughTheKeyMap) {
  const auto picture = keyedPicture();
  struct Case {
    const char* what;
    ColorChangeFilter::Shader shader;
    Rgba before;
    float correct;
    int range;
  };
  const Case cases[] = {
      {"plain", ColorChangeFilter::kChangeShader, kKey, 0.0f, 0},
      {"colour corrected", ColorChangeFilter::kChangeShader, kKey, 1.5f, 0},
      {"boundary corrected", ColorChangeFilter::kBorderShader, kKey, 0.0f, 1},
      {"both, wide window", ColorChangeFilter::kBorderShader, kKey, 1.5f, 2},
      // Black against a black key: luma 0 over luma 0 stays 0.
      {"black key", ColorChangeFilter::kChangeShader, {0.0f, 0.0f, 0.0f, 1.0f}, 0.0f, 0},
  };
  const Ycc after = lumaChroma({1.0f, 0.2f, 0.1f, 1.0f});
  const auto shaders = shadersOf<ColorChangeFilter>();
  for (const Case& c : cases) {
    const Ycc before = lumaChroma(c.before);
    const ColorChangeFilter::Constants q{after[0], after[1], after[2], before[0], before[1],
                                         before[2], c.range,  divieOf(c.range), c.correct};
    const auto map = keyMapOf(picture, chromaKey(c.before, 0.08f, 0.1f));
    const auto expected = [&](int x, int y) {
      const Rgba texel = picture.get(x, y), m = map.get(x, y);
      if (texel[3] < 0.001f) return Rgba{};
      const float k = m[0] * q.correct;
      float u = m[1], v = m[2];
      if (k > 0 && k < 1) {
        u = std::clamp((m[1] - q.beforeU) / k + q.beforeU, -0.5f, 0.5f);
        v = std::clamp((m[2] - q.beforeV) / k + q.beforeV, -0.5f, 0.5f);
      }
      const float w = c.shader == ColorChangeFilter::kChangeShader
                          ? m[3]
                          : windowWeight(map, x, y, m[3], q.range, q.divie);
      const float luma = lumaChroma(straight(texel))[0];
      const float y0 = edgeRatio(luma * q.afterY, std::max(luma, q.beforeY));
      const Ycc ycc{y0 + w * (luma - y0), q.afterU + w * (u - q.afterU),
                    q.afterV + w * (v - q.afterV)};
      return scaled(fromLumaChroma(ycc, 1.0f), texel[3]);
    };
    const auto result =
        runPixelShader(shaders->pixelShader(c.shader), kWidth, kHeight, {&picture, &map}, q);
    EXPECT_TRUE(matchesEverywhere(result, expected, 4e-3f)) << c.what;
  }
}

// The mask of "カラーキー": clear only where all of Y, U and V lie within their half-widths.
Rgba colourKeyMask(const Rgba& texel, const ColorKeyFilter::Constants& q) {
  if (texel[3] < 0.001f) return {};
  const Ycc ycc = lumaChroma(straight(texel));
  bool outside = false;
  for (int i = 0; i < 3; ++i) outside = outside || std::fabs(ycc[i] - q.key[i]) >= q.len[i];
  return {0.0f, 0.0f, 0.0f, outside ? 1.0f : 0.0f};
}

TEST_F(KeyShaderTest, TheColourKeyMasksColoursNearTheKey) {
  const auto picture = keyedPicture();
  const Ycc key = lumaChroma(kKey);
  struct Case {
    const char* what;
    Ycc len;
  };
  const Case cases[] = {
      {"narrow", {0.05f, 0.03f, 0.03f}},
      {"wide", {0.3f, 0.2f, 0.2f}},
      {"luma alone decides", {0.02f, 1.0f, 1.0f}},
      {"no width: nothing keyed", {0.0f, 0.0f, 0.0f}},
  };
  const auto shaders = shadersOf<ColorKeyFilter>();
  for (const Case& c : cases) {
    const ColorKeyFilter::Constants q{
        {key[0], key[1], key[2]}, 0, {c.len[0], c.len[1], c.len[2]}, 1.0f};
    int keyed = 0;
    const auto result = runPixelShader(shaders->pixelShader(ColorKeyFilter::kMaskShader), kWidth,
                                       kHeight, {&picture}, q);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      const Rgba texel = picture.get(x, y);
      const Rgba mask = colourKeyMask(texel, q);
      if (texel[3] >= 0.001f && mask[3] == 0) ++keyed;
      return mask;
    })) << c.what;
    if (c.len[0] == 0.0f) {
      EXPECT_EQ(keyed, 0);
    } else {
      EXPECT_GT(keyed, 0) << c.what << ": the key's own colour is keyed";
    }
  }
}

TEST_F(KeyShaderTest, TheColourKeysBoundaryCorrectionErodesTheMask) {
  const auto picture = keyedPicture();
  const Ycc key = lumaChroma(kKey);
  const auto shaders = shadersOf<ColorKeyFilter>();
  for (int range : {0, 1, 2, 12}) {
    const ColorKeyFilter::Constants q{{key[0], key[1], key[2]}, range, {0.1f, 0.08f, 0.08f},
                                      divieOf(range)};
    const auto mask = TestSupport::pictureOf(
        kWidth, kHeight, [&](int x, int y) { return colourKeyMask(picture.get(x, y), q); });
    const auto result = runPixelShader(shaders->pixelShader(ColorKeyFilter::kBorderShader), kWidth,
                                       kHeight, {&mask}, q);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      const float a = mask.get(x, y)[3];
      if (a < 0.001f) return Rgba{};
      return Rgba{0.0f, 0.0f, 0.0f, windowWeight(mask, x, y, a, range, q.divie)};
    })) << "window radius " << range;
  }
}

TEST_F(KeyShaderTest, TheLuminanceKeyClearsByLuma) {
  const auto picture = keyedPicture();
  const auto shaders = shadersOf<LuminanceKeyFilter>();
  struct Case {
    int type;
    float offset;
    float range;
  };
  const Case cases[] = {
      {0, 0.45f, 0.2f}, {1, 0.45f, 0.2f}, {2, 0.45f, 0.2f}, {3, 0.45f, 0.2f},
      {4, 0.45f, 0.2f}, {5, 0.45f, 0.2f}, {2, 0.6f, 0.5f},
      // Without a ramp each type is a step.
      {0, 0.45f, 0.0f}, {2, 0.45f, 0.0f}, {4, 0.45f, 0.0f}, {5, 0.45f, 0.0f},
  };
  for (const Case& c : cases) {
    const LuminanceKeyFilter::Constants q{c.type, c.offset, c.range};
    const auto result = runPixelShader(shaders->pixelShader(LuminanceKeyFilter::kKeyShader), kWidth,
                                       kHeight, {&picture}, q);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      const Rgba texel = picture.get(x, y);
      if (texel[3] < 0.001f) return texel;
      const float luma = lumaChroma(straight(texel))[0];
      const float both = edgeRatio(std::min(luma - c.offset, c.offset - luma), c.range) + 1;
      const float apart = edgeRatio(std::fabs(luma - c.offset), c.range);
      float f = 0;
      switch (c.type) {
        case 0: f = edgeRatio(luma - c.offset, c.range) + 1; break;
        case 1: f = edgeRatio(c.offset - luma, c.range) + 1; break;
        case 2: f = both; break;
        case 3: f = both >= 0 ? 1.0f : 0.0f; break;
        case 4: f = apart; break;
        case 5: f = apart >= 1 ? 1.0f : 0.0f; break;
      }
      return scaled(texel, std::clamp(f, 0.0f, 1.0f));
    })) << "type " << c.type << ", range " << c.range;
  }
}

}  // namespace
