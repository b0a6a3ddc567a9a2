#include "builtin/output/simple_output.h"

#include "builtin/choice_lists.h"

namespace Effect {

SimpleOutput::SimpleOutput()
    : EffectBase(kName, EffectType::Output, MediaType::Video, TargetType::Video),
      transparency(items, "透明度", 0.0, 0.0, 100.0, 0.01),
      blendMode(items, "合成モード", 0, BlendModeList()) {}

std::shared_ptr<EffectBase> SimpleOutput::create() const {
  return std::make_shared<SimpleOutput>();
}

}  // namespace Effect
