// The built-in effects that place and draw objects, rendered through the render workers:
// the basic transforms, the figure, frame-buffer and previous-object inputs, the flat
// output, and the group and camera controls.
#include <gtest/gtest.h>

#include "builtin/basic/basic_alpha.h"
#include "builtin/basic/basic_angle.h"
#include "builtin/basic/basic_expand.h"
#include "builtin/basic/basic_move.h"
#include "builtin/basic/basic_scale.h"
#include "builtin/control/camera_control.h"
#include "builtin/control/group_control.h"
#include "builtin/input/before_object_load.h"
#include "builtin/input/figure_load.h"
#include "builtin/input/frame_load.h"
#include "builtin/output/simple_output.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::DrawOutput;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;
using TestSupport::SolidInput;

constexpr Rgba kRed{1, 0, 0, 1};
constexpr Rgba kClear{0, 0, 0, 0};

class BuiltinRenderTest : public TestSupport::RenderWorldTest {
 protected:
  // A solid object of the size with its output and the filters after it.
  std::shared_ptr<Edit::Object> object(int layer, int width, int height,
                                       std::vector<std::shared_ptr<Effect::EffectBase>> filters) {
    auto input = std::make_shared<SolidInput>();
    input->width = width;
    input->height = height;
    auto placed = world_->placeSolid(layer, 0, 10, input);
    for (auto& filter : filters) placed->effects.push_back(std::move(filter));
    return placed;
  }
  // A pixel of the frame, rendered on the first look after a change.
  Rgba at(int x, int y) {
    if (!last_) last_ = renderFrame(0);
    if (!last_) return {-1, -1, -1, -1};
    return halfPixel(*last_, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
  }
  void renderAgain() { last_ = world_->render(0).image; }

  std::shared_ptr<Media::ImageBuffer> last_;
};

TEST_F(BuiltinRenderTest, BasicTransformsAddUpInChainOrder) {
  auto move = std::make_shared<Effect::BasicMove>();
  move->x.setValue(10, 0);
  auto scale = std::make_shared<Effect::BasicScale>();
  scale->zoom.setValue(200, 0);
  scale->x.setValue(50, 0);
  object(0, 8, 8, {move, scale});
  // 8 x 16 at (42, 24): x 38 .. 45, y 16 .. 31.
  EXPECT_TRUE(nearHalf(at(39, 17), kRed));
  EXPECT_TRUE(nearHalf(at(39, 30), kRed));
  EXPECT_TRUE(nearHalf(at(36, 24), kClear)) << "scale x stays 1";
  EXPECT_TRUE(nearHalf(at(32, 24), kClear)) << "moved away from the centre";
}

TEST_F(BuiltinRenderTest, TransparencyMultipliesAndRotationTurns) {
  auto half = std::make_shared<Effect::BasicAlpha>();
  half->transparency.setValue(50, 0);
  auto halfAgain = std::make_shared<Effect::BasicAlpha>();
  halfAgain->transparency.setValue(50, 0);
  auto turn = std::make_shared<Effect::BasicAngle>();
  turn->z.setValue(90, 0);
  object(0, 16, 4, {half, halfAgain, turn});
  // Turned upright: 4 wide, 16 tall; a quarter opaque.
  EXPECT_TRUE(nearHalf(at(32, 18), {0.25f, 0, 0, 0.25f}, 0.02f));
  EXPECT_TRUE(nearHalf(at(26, 24), kClear));
}

TEST_F(BuiltinRenderTest, TheAreaExtensionAddsATransparentOrRepeatedBorder) {
  for (bool fill : {false, true}) {
    resize(64, 48);
    last_ = nullptr;
    auto expand = std::make_shared<Effect::BasicExpand>();
    expand->top.setValue(10, 0);
    expand->fill.value = fill;
    object(0, 8, 8, {expand});
    // The image is 8 x 18 around the centre: y 15 .. 32; the picture's rows from y 25.
    EXPECT_TRUE(nearHalf(at(32, 28), kRed)) << fill;
    EXPECT_TRUE(nearHalf(at(32, 18), fill ? kRed : kClear)) << fill;
  }
}

TEST_F(BuiltinRenderTest, AFigureIsDrawnAtItsSizeAndAspect) {
  auto figure = std::make_shared<Effect::FigureLoad>();
  figure->figure.id = 2;  // the square
  figure->size.setValue(20, 0);
  figure->aspect.setValue(50, 0);
  auto placed = world_->placeEffect(0, 0, 10, figure);
  placed->effects.push_back(std::make_shared<DrawOutput>());
  // 10 wide and 20 tall, white.
  EXPECT_TRUE(nearHalf(at(28, 15), {1, 1, 1, 1}));
  EXPECT_TRUE(nearHalf(at(25, 24), kClear));

  figure->size.setValue(0, 0);
  renderAgain();
  EXPECT_TRUE(nearHalf(at(32, 24), kClear)) << "no figure below one pixel";
}

TEST_F(BuiltinRenderTest, TheFrameBufferAndThePreviousObjectInputs) {
  auto left = std::make_shared<Effect::BasicMove>();
  left->x.setValue(-20, 0);
  object(0, 8, 8, {left});
  auto previous = world_->placeEffect(1, 0, 10, std::make_shared<Effect::BeforeObjectLoad>());
  auto output = std::make_shared<DrawOutput>();
  output->x.setValue(20, 0);
  previous->effects.push_back(output);
  EXPECT_TRUE(nearHalf(at(12, 24), kRed)) << "the object itself";
  EXPECT_TRUE(nearHalf(at(52, 24), kRed)) << "its image again, through the next object";

  auto frame = std::make_shared<Effect::FrameLoad>();
  frame->keepAlpha.value = false;
  auto copy = world_->placeEffect(2, 0, 10, frame);
  copy->effects.push_back(std::make_shared<DrawOutput>());
  renderAgain();
  EXPECT_TRUE(nearHalf(at(1, 1), {0, 0, 0, 1})) << "an opaque copy of the frame";
  EXPECT_TRUE(nearHalf(at(12, 24), kRed));
}

TEST_F(BuiltinRenderTest, TheFlatOutputDrawsWithItsTransparency) {
  auto input = std::make_shared<SolidInput>();
  auto placed = world_->placeEffect(0, 0, 10, input);
  auto output = std::make_shared<Effect::SimpleOutput>();
  output->transparency.setValue(50, 0);
  placed->effects.push_back(output);
  EXPECT_TRUE(nearHalf(at(32, 24), {0.5f, 0, 0, 0.5f}, 0.02f));
}

TEST_F(BuiltinRenderTest, AGroupControlMovesAndScalesItsLayers) {
  auto group = std::make_shared<Effect::GroupControl>();
  group->x.setValue(10, 0);
  group->zoom.setValue(200, 0);
  group->layerRange.value = 1;
  world_->placeEffect(0, 0, 10, group);
  object(1, 8, 8, {});
  // Scaled about the group's origin, then moved: 16 x 16 around (42, 24).
  EXPECT_TRUE(nearHalf(at(35, 17), kRed));
  EXPECT_TRUE(nearHalf(at(33, 24), kClear));
}

TEST_F(BuiltinRenderTest, ACameraSeesTheObjectsOfItsRange) {
  auto camera = std::make_shared<Effect::CameraControl>();
  world_->placeEffect(0, 0, 10, camera);
  object(1, 8, 8, {});
  // The default camera stands 1024 in front of the picture plane: as without a camera.
  EXPECT_TRUE(nearHalf(at(29, 21), kRed));
  EXPECT_TRUE(nearHalf(at(26, 24), kClear));

  // Moved right by 10, the camera sees the object 10 further left.
  camera->x.setValue(10, 0);
  camera->targetX.setValue(0, 0);
  camera->targetLayer.setValue(1, 0);  // the target follows the camera: straight ahead
  renderAgain();
  EXPECT_TRUE(nearHalf(at(19, 21), kRed));
  EXPECT_TRUE(nearHalf(at(30, 24), kClear));
}

}  // namespace
