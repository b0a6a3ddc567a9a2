#pragma once
// Runs a filter over an uploaded picture and reads the result back: one that works on the
// picture it is given (clipping, masks, gradients), checking that the same picture came
// back, or any filter.
#include <gtest/gtest.h>

#include "effect/effect_base.h"
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

inline CpuImage runFilter(Effect::EffectBase& filter, const CpuImage& source) {
  Effect::EffectContext context;
  Effect::OwnedImage image = filter.filterVideo(context, upload(source));
  EXPECT_TRUE(image) << "the filter gives a picture";
  return image ? download(*image) : CpuImage();
}

}  // namespace TestSupport
