#include "builtin/filter/builtin_transition_filters.h"

#include <cmath>

#include "builtin/filter/angle_clip_filter.h"
#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/default_filter.h"
#include "builtin/filter/line_clip_filter.h"
#include "gpu/resource_buffer.h"

namespace Effect {

void BuiltinTransitionFilters::fanClip(Media::ResourceBuffer& buffer, float startAngle,
                                       float angle, float centerX, float centerY, int blur,
                                       bool centring) {
  defaultEffect<AngleClipFilter>().clip(buffer, startAngle, angle, centerX, centerY, blur,
                                           centring);
}

void BuiltinTransitionFilters::lineClip(Media::ResourceBuffer& buffer, float angle, float width,
                                        float offsetX, float offsetY, int blur) {
  defaultEffect<LineClipFilter>().clip(buffer, angle, static_cast<int>(std::lround(width)),
                                          offsetX, offsetY, blur);
}

std::unique_ptr<Media::ResourceBuffer> BuiltinTransitionFilters::blur(Media::ResourceBuffer& buffer,
                                                                      int size, float aspect,
                                                                      int mode) {
  BokashiFilter& bokashi = defaultEffect<BokashiFilter>();
  OwnedImage blurred = bokashi.blur(adoptBuffer(buffer.clone()), size, aspect, mode);
  // Every image of the blur is made by adoptBuffer, whose deleter is a plain delete.
  return std::unique_ptr<Media::ResourceBuffer>(blurred.release());
}

}  // namespace Effect
