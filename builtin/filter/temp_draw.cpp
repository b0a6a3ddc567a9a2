#include "builtin/filter/temp_draw.h"

namespace Effect {

TempDraw::TempDraw() : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video) {}

std::shared_ptr<EffectBase> TempDraw::create() const { return std::make_shared<TempDraw>(); }

}  // namespace Effect
