#include "builtin/filter/border_filter.h"

namespace Effect {
namespace {

// In the order of the Shader numbers.
constexpr const char* kShaders[] = {"border_texel_ps", "border_sample_ps"};

}  // namespace

BorderFilter::BorderFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      size(items, "サイズ", 5.0, 0.0, 500.0, 1.0),
      blur(items, "ぼかし", 5.0, 0.0, 100.0, 1.0),
      color(items, "縁色", 0xFFFFFF) {
  label = "装飾";
}

std::shared_ptr<EffectBase> BorderFilter::create() const {
  return std::make_shared<BorderFilter>();
}

void BorderFilter::createResource() { makeShaders(kShaders, sizeof(BorderConstants)); }

void BorderFilter::shareResource(const EffectBase& prototype) { shareShaders(*this, prototype); }

}  // namespace Effect
