#include "builtin/filter/mosaic_filter.h"

namespace Effect {
namespace {

constexpr const char* kShaders[] = {"mosaic_ps"};

}  // namespace

MosaicFilter::MosaicFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      size(items, "サイズ", 12.0, 1.0, 2000.0, 1.0) {
  label = "加工";
}

std::shared_ptr<EffectBase> MosaicFilter::create() const {
  return std::make_shared<MosaicFilter>();
}

void MosaicFilter::createResource() { makeShaders(kShaders, 0); }

void MosaicFilter::shareResource(const EffectBase& prototype) { shareShaders(*this, prototype); }

}  // namespace Effect
