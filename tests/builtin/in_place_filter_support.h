#pragma once
// Runs a filter that works on the picture it is given (clipping, masks, gradients) over an
// uploaded picture, checks that the same picture came back, and reads it back. Any other
// filter: filtered() of filter_run_support.h.
#include <gtest/gtest.h>

#include "effect/effect_base.h"
#include "filter_run_support.h"
#include "gpu/shader_run_support.h"

namespace TestSupport {

inline CpuImage runInPlace(Effect::EffectBase& filter, const CpuImage& source) {
  Effect::EffectContext context;
  Effect::OwnedImage image = upload(source);
  const Media::ResourceBuffer* before = image.get();
  image = filter.filterVideo(context, std::move(image));
  EXPECT_EQ(image.get(), before) << "the filter works on the picture it was given";
  return image ? download(*image) : CpuImage();
}

}  // namespace TestSupport
