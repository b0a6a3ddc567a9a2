#include "main_window/preview/anchor_item.h"

#include <utility>

namespace Anchor {

PreviewAnchor::PreviewAnchor(AnchorType anchorType, int anchorFlags, ObjectRef anchorOwner,
                             EffectEntry anchorEffect, int anchorId)
    : type(anchorType),
      owner(std::move(anchorOwner)),
      effect(std::move(anchorEffect)),
      effectKey(effect.get()) {
  id = anchorId;
  flags = anchorFlags;
}

}  // namespace Anchor
