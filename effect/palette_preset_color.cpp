#include "effect/palette_preset_color.h"

namespace Effect {

PresetColorDefine::PresetColorDefine(std::string name, const std::array<float, 4>& color,
                                     int32_t order)
    : MenuDefineBase("Color", name, order, {}, true), color(color), name(std::move(name)) {}

}  // namespace Effect
