#pragma once
// The time of the animated filters: seconds since the object's first frame at the context's
// frame, through the scene's frame rate.
#include "edit/scene.h"
#include "effect/effect_context.h"

namespace Effect {

// 0 without a scene or with an unusable rate, so that such a context shows the first frame.
inline double objectSeconds(const EffectContext& context) {
  if (!context.scene || context.scene->rate <= 0 || context.scene->scale <= 0) return 0.0;
  return static_cast<double>(context.frame - context.objectFrames.start) *
         static_cast<double>(context.scene->scale) / static_cast<double>(context.scene->rate);
}

}  // namespace Effect
