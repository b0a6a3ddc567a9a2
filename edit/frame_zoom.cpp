#include "edit/frame_zoom.h"

#include <algorithm>

namespace Edit {

FrameZoom::FrameZoom() : normalizer(defaultNormalizer) { normalizer(zoom); }

void FrameZoom::defaultNormalizer(int32_t& zoom) {
  if (std::find(kSteps.begin(), kSteps.end(), zoom) == kSteps.end()) zoom = kDefault;
}

FrameZoom FrameZoom::shift(int32_t current, int steps) {
  const auto found = std::find(kSteps.begin(), kSteps.end(), current);
  const int64_t index = found == kSteps.end() ? -1 : found - kSteps.begin();
  const int64_t target = std::clamp<int64_t>(index + steps, 0, int64_t{kSteps.size()} - 1);
  FrameZoom result;
  result.zoom = kSteps[static_cast<std::size_t>(target)];
  return result;
}

}  // namespace Edit
