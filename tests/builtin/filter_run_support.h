#pragma once
// Running one filter's filterVideo on small pictures: a render world for the test (device,
// drawing resources, effect registry), the upload, the run and the read-back.
#include <gtest/gtest.h>

#include <optional>

#include "effect/effect_base.h"
#include "effect/effect_context.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace TestSupport {

class FilterRunTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  // The filter's image read back; an empty picture, and a failure, when it gave none.
  static CpuImage runOn(Effect::EffectBase& filter, const CpuImage& source,
                        Effect::EffectContext& context) {
    Effect::OwnedImage image = filter.filterVideo(context, upload(source));
    EXPECT_TRUE(image) << "no image";
    return image ? download(*image) : CpuImage();
  }
  static CpuImage runOn(Effect::EffectBase& filter, const CpuImage& source) {
    Effect::EffectContext context;
    return runOn(filter, source, context);
  }
  // Whether the filter handed back the very image it was given.
  static bool returnsItsInput(Effect::EffectBase& filter, const CpuImage& source) {
    Effect::EffectContext context;
    Effect::OwnedImage image = upload(source);
    const Media::ResourceBuffer* before = image.get();
    return filter.filterVideo(context, std::move(image)).get() == before;
  }

  std::optional<RenderWorld> world_;
};

}  // namespace TestSupport
