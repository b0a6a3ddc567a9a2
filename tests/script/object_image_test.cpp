// The object image of a run: its size reaches the script, and a script that drew the
// object itself hands no image on.
#include <gtest/gtest.h>

#include <memory>

#include "../gpu/gpu_test_support.h"
#include "gpu/resource_buffer.h"
#include "lua_test_support.h"

namespace {

class ObjectImageTest : public TestSupport::GpuTest {
 protected:
  Effect::OwnedImage image() {
    return Effect::adoptBuffer(std::make_unique<Media::ResourceBuffer>(8, 4));
  }
  Plugin::LuaJitScript engine;
  TestSupport::ScriptFixture fixture;
};

TEST_F(ObjectImageTest, TheImageSizeIsTheObjectSizeAndADrawnObjectHandsNoImageOn) {
  for (const bool drawn : {false, true}) {
    SCOPED_TRACE(drawn);
    auto run = fixture.instance(engine);
    run->setObjectImage(image());
    run->drawn = drawn;
    run->executeEffect("mes(obj.w .. 'x' .. obj.h)");
    EXPECT_EQ(run->scriptText, "8x4");
    EXPECT_EQ(run->takeObjectImage() == nullptr, drawn);
  }
}

}  // namespace
