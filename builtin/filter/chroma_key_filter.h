#pragma once
// "クロマキー": makes the pixels of a chosen hue and saturation transparent.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"
#include "effect/owned_buffer.h"

namespace Effect {

// The shaders of "クロマキー" and their constant buffer (ChromaKeyFilter::Constants).
class ChromaKeyShaders : public FilterShaderSet {
 public:
  ChromaKeyShaders();
};

class ChromaKeyFilter : public ShaderFilter<ChromaKeyFilter, ChromaKeyShaders> {
 public:
  static constexpr const char* kName = "クロマキー";

  ChromaKeyFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture with the pixels of the key's hue and saturation made transparent; without a
  // key colour the picture comes back as it is.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The key map of `input` (which stays the caller's) against `key` (straight red, green and
  // blue of 0 to 1): per pixel x the distance from the key, yz the pixel's (U, V), alpha the
  // coverage the key leaves. The ranges are the items' values (0 to 256). Leaves the
  // constants it drew with bound at pixel constant slot 0.
  OwnedImage makeDiffMap(Media::ResourceBuffer& input, const float key[3], float hueRange,
                         float saturationRange, int radius, bool colourCorrection,
                         bool transparencyCorrection);

  // The shaders, in creation order: the key map of the picture ("texture0"), then the
  // picture keyed by it ("texture0" and the map as "diffmap"), plainly or with boundary
  // correction.
  enum Shader : std::size_t { kMapShader, kApplyShader, kBorderShader };
  // Their "constant0"; colours as straight (U, V).
  struct Constants {
    float keyH = 0.0f;  // the key's hue, atan2(U, V) / pi (0 for a grey key)
    float keyS = 0.0f;  // the key's saturation, |(U, V)|, at least 0.001
    float lenH = 0.0f;  // the hue's and the saturation's half-widths
    float lenS = 0.0f;
    float keyU = 0.0f;
    float keyV = 0.0f;
    int32_t range = 0;        // boundary correction's window radius
    float divie = 0.0f;       // 1 / (2 range + 1)^2
    float correct = 0.0f;     // colour correction's strength (0: none)
    float transparent = 0.0f; // the least share of coverage a keyed pixel keeps
    float unused[2] = {0.0f, 0.0f};
  };
  static_assert(sizeof(Constants) == 48);

  EffectItemNumber hueRange;
  EffectItemNumber saturationRange;
  EffectItemNumber borderCorrection;
  EffectItemColor keyColor;
  EffectItemCheck colorCorrection;
  EffectItemCheck transparencyCorrection;

 private:
  // The constants of a key map and of keying through it.
  static Constants keyConstants(const float key[3], float hueRange, float saturationRange,
                                int radius, bool colourCorrection, bool transparencyCorrection);
  // Draws the map with the constants written; the caller holds the set's lock.
  OwnedImage drawDiffMap(Media::ResourceBuffer& input,
                         const Media::ConstantBufferCommon& constants);
};

}  // namespace Effect
