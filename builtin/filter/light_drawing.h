#pragma once
// The draws the light filters ("グロー", "閃光") compose their light with: the built-in
// offset copy and solid colour through the shared constants, with a blend state of the
// shared list.
#include <cstddef>
#include <cstdint>

#include "effect/effect_item_color.h"

namespace Media {
class ResourceBuffer;
}

namespace Effect {

// Blend states of the shared list (premultiplied colours).
enum LightBlend : std::size_t {
  kLightOver = 0,          // src + dst (1 - src alpha)
  kLightScaleByAlpha = 7,  // dst x src alpha
  kLightAddOver = 11,      // colours added, the source's alpha over
  kLightAddBehind = 12,    // colours added, the source's alpha behind
  kLightMaskByTarget = 14  // src x dst alpha
};

// `source` drawn into `target` moved so that target pixel p shows source texel p + (dx, dy),
// transparent where that lies outside.
void drawMoved(Media::ResourceBuffer& target, Media::ResourceBuffer& source, int32_t dx,
               int32_t dy, LightBlend blend);
// `source` drawn into the middle of `target`: moved by half the difference of their sizes
// (integer division).
void drawCentred(Media::ResourceBuffer& target, Media::ResourceBuffer& source, LightBlend blend);
// One colour (premultiplied, four channels) over the whole of `target`.
void drawColour(Media::ResourceBuffer& target, const float (&rgba)[4], LightBlend blend);
// The light takes the colour of the item, keeping its alpha; nothing when the item holds no
// colour.
void tintLight(Media::ResourceBuffer& light, const EffectItemColor& colour);

}  // namespace Effect
