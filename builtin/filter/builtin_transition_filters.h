#pragma once
// The wipes' way to the clipping and blur routines of the built-in filters: each call takes
// the registered prototype of "扇クリッピング", "斜めクリッピング" or "ぼかし" and runs its
// routine with the prototype's shaders. A call without the registry, or without the kind,
// throws "default effect not found" as any borrower of a built-in routine does.
#include <memory>

#include "gpu/resource/transition_filters.h"

namespace Effect {

class BuiltinTransitionFilters : public Resource::TransitionFilters {
 public:
  void fanClip(Media::ResourceBuffer& buffer, float startAngle, float angle, float centerX,
               float centerY, int blur, bool centring) override;
  void lineClip(Media::ResourceBuffer& buffer, float angle, float width, float offsetX,
                float offsetY, int blur) override;
  // Blurs a copy: the wipe keeps its own mask until the blurred one replaces it.
  std::unique_ptr<Media::ResourceBuffer> blur(Media::ResourceBuffer& buffer, int size,
                                              float aspect, int mode) override;
};

}  // namespace Effect
