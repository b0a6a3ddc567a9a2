#pragma once
// Luma and colour differences of a straight colour, computed as the keying and colour shaders
// compute them (shaders/luma_chroma.hlsli), for the constants those shaders compare against.
#include "effect/effect_item_color.h"

namespace Effect {

struct LumaChroma {
  float y = 0.0f;
  float u = 0.0f;
  float v = 0.0f;
};

constexpr LumaChroma lumaChromaOf(float red, float green, float blue) {
  return {0.299f * red + 0.587f * green + 0.114f * blue,
          -0.169f * red - 0.331f * green + 0.5f * blue,
          0.5f * red - 0.419f * green - 0.081f * blue};
}

// A colour item's bytes as a colour of 0 to 1.
struct StraightColour {
  float red = 0.0f;
  float green = 0.0f;
  float blue = 0.0f;
};

inline StraightColour straightColourOf(const EffectItemColor& item) {
  return {static_cast<float>(item.red) / 255.0f, static_cast<float>(item.green) / 255.0f,
          static_cast<float>(item.blue) / 255.0f};
}

inline LumaChroma lumaChromaOf(const StraightColour& colour) {
  return lumaChromaOf(colour.red, colour.green, colour.blue);
}

}  // namespace Effect
