#include "gpu/resource/transition_filters.h"

#include <atomic>

#include "gpu/resource_buffer.h"
#include "system/exception.h"

namespace Resource {
namespace {

[[noreturn]] void missing(const char* effectName) {
  throw System::makeFormattedException("Effect::EffectService::getDefaultEffect",
                                       "default effect not found", "%s", effectName);
}

std::atomic<TransitionFilters*> installedFilters{nullptr};

}  // namespace

void TransitionFilters::fanClip(Media::ResourceBuffer&, float, float, float, float, int, bool) {
  missing("扇クリッピング");
}

void TransitionFilters::lineClip(Media::ResourceBuffer&, float, float, float, float, int) {
  missing("斜めクリッピング");
}

std::unique_ptr<Media::ResourceBuffer> TransitionFilters::blur(Media::ResourceBuffer&, int, float,
                                                               int) {
  missing("ぼかし");
}

TransitionFilters& transitionFilters() {
  static TransitionFilters missingFilters;
  TransitionFilters* installed = installedFilters.load();
  return installed ? *installed : missingFilters;
}

void setTransitionFilters(TransitionFilters* filters) { installedFilters.store(filters); }

}  // namespace Resource
