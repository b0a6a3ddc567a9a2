#include "builtin/input/frame_load.h"

namespace Effect {

FrameLoad::FrameLoad()
    : EffectBase(kName, EffectType::Input, MediaType::Video, TargetType::Video),
      keepAlpha(items, "アルファチャンネルを維持", true),
      clear(items, "フレームバッファをクリア", false) {}

std::shared_ptr<EffectBase> FrameLoad::create() const { return std::make_shared<FrameLoad>(); }

}  // namespace Effect
