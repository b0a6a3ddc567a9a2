#pragma once
// Running one image filter on a small picture in a render world: the world a filter test
// draws in, the filter's output read back, and whether a filter handed its input back
// untouched.
#include <gtest/gtest.h>

#include <optional>

#include "effect/effect_base.h"
#include "effect/effect_context.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace TestSupport {

// A test whose filters draw on the world's device with its shared drawing resources.
class FilterWorldTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  std::optional<RenderWorld> world_;
};

// The filter's output for the picture, read back; an empty picture (and a test failure)
// when the filter gave no image.
inline CpuImage filtered(Effect::EffectBase& filter, const CpuImage& picture,
                         Effect::EffectContext& context) {
  Effect::OwnedImage image = filter.filterVideo(context, upload(picture));
  EXPECT_TRUE(image) << "no image from " << filter.name;
  return image ? download(*image) : CpuImage();
}

inline CpuImage filtered(Effect::EffectBase& filter, const CpuImage& picture) {
  Effect::EffectContext context;
  return filtered(filter, picture, context);
}

// Whether the filter returned the very image it was given.
inline bool handsBack(Effect::EffectBase& filter, const CpuImage& picture) {
  Effect::EffectContext context;
  Effect::OwnedImage image = upload(picture);
  const Media::ResourceBuffer* before = image.get();
  image = filter.filterVideo(context, std::move(image));
  return image.get() == before;
}

// The same as members of the fixture.
class FilterRunTest : public FilterWorldTest {
 protected:
  static CpuImage runOn(Effect::EffectBase& filter, const CpuImage& source,
                        Effect::EffectContext& context) {
    return filtered(filter, source, context);
  }
  static CpuImage runOn(Effect::EffectBase& filter, const CpuImage& source) {
    return filtered(filter, source);
  }
  static bool returnsItsInput(Effect::EffectBase& filter, const CpuImage& source) {
    return handsBack(filter, source);
  }
};

}  // namespace TestSupport
