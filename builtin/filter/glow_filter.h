#pragma once
// "グロー": spreads the bright parts of the picture as a soft halo or as star streaks.
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "builtin/filter/streak_constants.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

// The glow's streak shader and its 32-byte constants (StreakConstants).
class GlowShaders : public FilterShaderSet {
 public:
  GlowShaders();
};

class GlowFilter : public ShaderFilter<GlowFilter, GlowShaders> {
 public:
  static constexpr const char* kName = "グロー";

  // The values of "形状".
  enum Shape : int { kNormal, kCross4, kCross6, kCross8, kCross10, kCross12, kLine };

  GlowFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The bright parts of the picture (above "しきい値") spread as a halo ("通常") or as
  // streaks at "角度", softened by "ぼかし", under the picture unless "光成分のみ"; the image
  // grows by the spread (and the softening) unless "サイズ固定".
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The constants of one streak of `length` pixels at `angle` degrees (the backward arm
  // `stepRatio` as long) drawn from a light of lightWidth x lightHeight into an image of
  // outputWidth x outputHeight, the two centred on each other.
  static StreakConstants streakConstants(int lightWidth, int lightHeight, int outputWidth,
                                         int outputHeight, float length, float stepRatio,
                                         float angle);

  EffectItemNumber strength;
  EffectItemNumber spread;
  EffectItemNumber angle;
  EffectItemNumber threshold;
  EffectItemNumber ratio;
  EffectItemNumber blur;
  EffectItemSelect shape;
  EffectItemColor lightColor;
  EffectItemCheck lightOnly;
  EffectItemCheck fixedSize;

 private:
  // Adds one streak of the light into `output` (nothing when the length is not positive).
  void addStreak(Media::ResourceBuffer& output, Media::ResourceBuffer& light, float length,
                 float stepRatio, float angle);
};

}  // namespace Effect
