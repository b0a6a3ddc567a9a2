#include "builtin/basic/basic_invert.h"

namespace Effect {

BasicInvert::BasicInvert()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      flipVertical(items, "上下反転", false),
      flipHorizontal(items, "左右反転", false),
      invertLuminance(items, "輝度反転", false),
      invertHue(items, "色相反転", false),
      invertAlpha(items, "透明度反転", false) {
  label = "基本効果";
}

std::shared_ptr<EffectBase> BasicInvert::create() const { return std::make_shared<BasicInvert>(); }

}  // namespace Effect
