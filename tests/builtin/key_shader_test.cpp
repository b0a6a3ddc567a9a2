// The keying shaders: the key map of "クロマキー" and the keying through it, the recolouring
// of "特定色域変換" through the same map, the mask of "カラーキー" and its boundary
// correction, and "ルミナンスキー". Each is checked at every pixel of a small picture against
// the same maths done on the CPU (key_reference.h); the maps the second steps read are made
// there too, so each shader is checked on its own. The picture holds the key's own colour, colours near it,
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
#include "key_reference.h"
#include "gpu/shader_run_support.h"

namespace {

using namespace Effect;
using TestSupport::chromaKeyed;
using TestSupport::colourChanged;
using TestSupport::colourKeyMask;
using TestSupport::divieOf;
using TestSupport::edgeRatio;
using TestSupport::keyMap;
using TestSupport::keyMapOf;
using TestSupport::lumaChroma;
using TestSupport::matchesEverywhere;
using TestSupport::Rgba;
using TestSupport::runPixelShader;
using TestSupport::scaled;
using TestSupport::shadersOf;
using TestSupport::straight;
using TestSupport::windowWeight;
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
      return chromaKeyed(picture, map, x, y, q, c.shader == ChromaKeyFilter::kBorderShader,
                         &corrected);
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
      return colourChanged(picture, map, x, y, q, c.shader == ColorChangeFilter::kBorderShader);
    };
    const auto result =
        runPixelShader(shaders->pixelShader(c.shader), kWidth, kHeight, {&picture, &map}, q);
    EXPECT_TRUE(matchesEverywhere(result, expected, 4e-3f)) << c.what;
  }
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
