// "オフスクリーン描画": the object drawn as the frame shows it into a frame-sized image that the
// later filters receive with the transform reset; the frame looks the same as without it,
// opacity and all; a second one in the chain draws nothing again.
#include "builtin/filter/temp_draw.h"

#include <gtest/gtest.h>

#include "builtin/control/camera_control.h"
#include "effect/output_effect_base.h"
#include "pieces_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::PieceRecorder;

class TempDrawTest : public TestSupport::PiecesRenderTest {
 protected:
  // A picture drawn moved, turned, enlarged and half transparent by its output.
  std::shared_ptr<Edit::Object> placeTransformed(
      std::vector<std::shared_ptr<Effect::EffectBase>> filters) {
    const auto object = place(TestSupport::noisePicture(6, 4, 13), std::move(filters));
    auto& output = dynamic_cast<Effect::BasicOutput&>(*object->effects[1]);
    output.x.setValue(-9, 0);
    output.y.setValue(5, 0);
    output.rotationZ.setValue(90, 0);
    output.zoom.setValue(200, 0);
    output.transparency.setValue(50, 0);
    return object;
  }
};

TEST_F(TempDrawTest, TheFrameShowsTheObjectAsItWouldBeDrawn) {
  const auto object = placeTransformed({});
  const CpuImage direct = frame();
  object->effects.push_back(std::make_shared<Effect::TempDraw>());
  const CpuImage offscreen = frame();
  EXPECT_GT(TestSupport::coverage(direct), 10.0f) << "the picture is on the frame";
  EXPECT_TRUE(TestSupport::imagesNear(offscreen, direct));
}

// Under a camera the object is drawn through the camera's view, perspective included.
TEST_F(TempDrawTest, ACameraSeesTheObjectTheSameWay) {
  auto camera = std::make_shared<Effect::CameraControl>();
  world_->placeEffect(0, 0, 10, camera);
  camera->x.setValue(10, 0);
  camera->targetX.setValue(0, 0);
  camera->targetLayer.setValue(1, 0);  // straight ahead
  const auto object = place(TestSupport::noisePicture(16, 12, 3), {}, 1);
  auto& output = dynamic_cast<Effect::BasicOutput&>(*object->effects[1]);
  output.rotationY.setValue(40, 0);
  const CpuImage direct = frame();
  object->effects.push_back(std::make_shared<Effect::TempDraw>());
  const CpuImage offscreen = frame();
  EXPECT_GT(TestSupport::coverage(direct), 30.0f) << "the picture is on the frame";
  EXPECT_TRUE(TestSupport::imagesNear(offscreen, direct));
}

TEST_F(TempDrawTest, LaterFiltersGetTheFrameSizedImageWithTheTransformReset) {
  auto recorder = std::make_shared<PieceRecorder>();
  placeTransformed({std::make_shared<Effect::TempDraw>(), recorder});
  frame();
  ASSERT_EQ(recorder->pieces.size(), 1u);
  const PieceRecorder::Piece& piece = recorder->pieces.front();
  EXPECT_EQ(piece.width, 64);
  EXPECT_EQ(piece.height, 48);
  EXPECT_FLOAT_EQ(piece.x, 0.0f);
  EXPECT_FLOAT_EQ(piece.y, 0.0f);
}

TEST_F(TempDrawTest, ASecondOffscreenDrawingHandsTheImageOn) {
  const auto object = placeTransformed({std::make_shared<Effect::TempDraw>()});
  const CpuImage once = frame();
  object->effects.push_back(std::make_shared<Effect::TempDraw>());
  EXPECT_TRUE(TestSupport::imagesNear(frame(), once));

  // Directly: a context already drawn off-screen gets its very image back, as does one with
  // no frame to draw into.
  Effect::TempDraw draw;
  Media::RenderBuffer target(64, 48);
  Effect::EffectContext drawn = chainContext(object, target);
  drawn.output2D = true;
  Effect::OwnedImage image = TestSupport::upload(TestSupport::noisePicture(6, 4, 13));
  const Media::ResourceBuffer* given = image.get();
  EXPECT_EQ(draw.filterVideo(drawn, std::move(image)).get(), given);
  Effect::EffectContext frameless;
  image = TestSupport::upload(TestSupport::noisePicture(6, 4, 13));
  given = image.get();
  EXPECT_EQ(draw.filterVideo(frameless, std::move(image)).get(), given);
}

}  // namespace
