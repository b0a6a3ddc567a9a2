// The scene input ("シーン"): another scene of the project drawn like a movie through the
// picture cache, and a scene that contains itself rendered once with the recursion logged.
#include <gtest/gtest.h>

#include "builtin/input/scene_load.h"
#include "edit/media_input_edit_host.h"
#include "effect/media_input_host.h"
#include "render/render_test_support.h"
#include "system/log_capture.h"

namespace {

using TestSupport::DrawOutput;
using TestSupport::nearHalf;
using TestSupport::Rgba;
using TestSupport::SolidInput;

constexpr Rgba kRed{1, 0, 0, 1};
constexpr Rgba kClear{0, 0, 0, 0};

class SceneInputRenderTest : public ::testing::Test {
 protected:
  SceneInputRenderTest() : host_(*Edit::EditService::instance()) {
    Effect::setMediaInputHost(&host_);
    world_.scene().width = 64;
    world_.scene().height = 48;
    // Scene 1: a red square of 8 x 8 in its middle for 100 frames.
    edit().setCurrentScene(1);
    world_.scene().width = 64;
    world_.scene().height = 48;
    auto square = std::make_shared<SolidInput>();
    square->width = square->height = 8;
    world_.placeSolid(0, 0, 99, square);
    edit().setCurrentScene(0);
  }
  ~SceneInputRenderTest() override { Effect::setMediaInputHost(nullptr); }

  Edit::EditService& edit() { return *Edit::EditService::instance(); }
  // Places a scene input of `sceneId` on the current scene, moved right by `dx`.
  std::shared_ptr<Effect::SceneLoad> placeScene(int layer, int sceneId, float dx = 0.0f) {
    auto input = std::make_shared<Effect::SceneLoad>();
    input->scene.value = sceneId;
    auto object = world_.placeEffect(layer, 0, 99, input);
    auto output = std::make_shared<DrawOutput>();
    output->x.setValue(dx, 0);
    object->effects.push_back(output);
    return input;
  }
  Rgba at(const TestSupport::RenderWorld::Result& result, int x, int y) {
    return TestSupport::halfPixel(*result.image, static_cast<uint32_t>(x),
                                  static_cast<uint32_t>(y));
  }

  TestSupport::RenderWorld world_;
  Edit::MediaInputEditHost host_;
};

TEST_F(SceneInputRenderTest, AnotherSceneIsDrawnAsThePicture) {
  placeScene(0, 1, 16.0f);
  const auto result = world_.render(5);
  ASSERT_TRUE(result.image);
  EXPECT_TRUE(nearHalf(at(result, 48, 24), kRed)) << "scene 1's square, moved right";
  EXPECT_TRUE(nearHalf(at(result, 32, 24), kClear));
}

TEST_F(SceneInputRenderTest, SceneZeroShowsNothing) {
  auto input = placeScene(0, 0);
  const auto result = world_.render(5);
  ASSERT_TRUE(result.image);
  EXPECT_TRUE(nearHalf(at(result, 32, 24), kClear));
  EXPECT_FALSE(input->canSeparateAudio(1));
}

TEST_F(SceneInputRenderTest, ASceneThatContainsItselfRendersOnceAndLogsIt) {
  // Scene 1 gets a scene input of itself above its square.
  edit().setCurrentScene(1);
  placeScene(1, 1, 16.0f);
  edit().setCurrentScene(0);
  placeScene(0, 1);
  TestSupport::LogCapture log;
  const auto result = world_.render(5);
  ASSERT_TRUE(result.image);
  EXPECT_TRUE(nearHalf(at(result, 32, 24), kRed)) << "scene 1 is drawn once";
  const auto warnings = log.texts("WARN");
  ASSERT_FALSE(warnings.empty());
  EXPECT_EQ(warnings[0].rfind("recursive scene. index=1 num=", 0), 0u) << warnings[0];
}

}  // namespace
