#include "builtin/filter/deinterlace_filter.h"

#include "builtin/choice_lists.h"

namespace Effect {
namespace {

constexpr const char* kShaders[] = {"deinterlace_ps"};

}  // namespace

DeinterlaceFilter::DeinterlaceFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      method(items, "解除方法", 0, DeinterlaceModeList()) {
  label = "加工";
}

std::shared_ptr<EffectBase> DeinterlaceFilter::create() const {
  return std::make_shared<DeinterlaceFilter>();
}

void DeinterlaceFilter::createResource() { makeShaders(kShaders, 0); }

void DeinterlaceFilter::shareResource(const EffectBase& prototype) {
  shareShaders(*this, prototype);
}

}  // namespace Effect
