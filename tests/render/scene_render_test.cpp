// Frames of small scenes rendered through the render workers and read back: placement and
// the output's items, filter chains, group and clipping scopes, failures and recursion, and
// the request keys.
#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <thread>

#include "edit/edit_command_view.h"
#include "edit/render_switches.h"
#include "gpu/gl/cpu_access_buffer.h"
#include "gpu/texture_view.h"
#include "render/render_test_support.h"
#include "system/log_capture.h"

namespace {

using TestSupport::DrawOutput;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::RecolourFilter;
using TestSupport::Rgba;
using TestSupport::SolidInput;

constexpr Rgba kRed{1, 0, 0, 1};
constexpr Rgba kBlue{0, 0, 1, 1};
constexpr Rgba kClear{0, 0, 0, 0};

class SceneRenderTest : public TestSupport::RenderWorldTest {
 protected:
  DrawOutput& outputOf(const std::shared_ptr<Edit::Object>& object) {
    return static_cast<DrawOutput&>(*object->effects.at(1));
  }
  Rgba at(const TestSupport::RenderWorld::Result& result, int x, int y) {
    return halfPixel(*result.image, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
  }
};

TEST_F(SceneRenderTest, AnEmptySceneIsATransparentFrameOfTheScenesSize) {
  const auto result = world_->render(0);
  ASSERT_TRUE(result.image);
  EXPECT_EQ(result.image->width, 64u);
  EXPECT_EQ(result.image->height, 48u);
  EXPECT_TRUE(nearHalf(at(result, 10, 10), kClear));
}

TEST_F(SceneRenderTest, AnObjectIsPlacedMovedScaledAndFadedByItsOutput) {
  auto object = world_->placeSolid(0, 0, 10);
  struct Case {
    const char* what;
    std::function<void(DrawOutput&)> set;
    int insideX, insideY, outsideX, outsideY;
    float alpha;
  } cases[] = {
      {"centred", [](DrawOutput&) {}, 28, 20, 27, 24, 1.0f},
      {"moved", [](DrawOutput& o) { o.x.setValue(10, 0); o.y.setValue(-5, 0); }, 38, 15, 36, 24, 1.0f},
      {"zoomed", [](DrawOutput& o) { o.zoom.setValue(200, 0); }, 26, 18, 23, 24, 1.0f},
      {"faded", [](DrawOutput& o) { o.transparency.setValue(50, 0); }, 30, 22, 26, 24, 0.5f},
      {"turned", [](DrawOutput& o) { o.rotationZ.setValue(45, 0); }, 32, 21, 28, 20, 1.0f},
  };
  // Pixels well inside the shape: its edges are sampled against a transparent border.
  for (const Case& c : cases) {
    auto fresh = std::make_shared<DrawOutput>();
    object->effects.at(1) = fresh;
    c.set(*fresh);
    const auto result = world_->render(5);
    ASSERT_TRUE(result.image) << c.what;
    const Rgba inside = at(result, c.insideX, c.insideY);
    EXPECT_TRUE(nearHalf(inside, {c.alpha, 0, 0, c.alpha}, 0.02f))
        << c.what << " inside " << inside[0] << " " << inside[3];
    EXPECT_TRUE(nearHalf(at(result, c.outsideX, c.outsideY), kClear)) << c.what << " outside";
  }
}

// A picture of 16 x 12 distinct texels: red counts the column, green the row.
class RampInput : public SolidInput {
 public:
  static constexpr int kSide = 16;
  static constexpr int kRows = 12;
  static float red(float x) { return x * 16.0f / 255.0f; }
  static float green(float y) { return y * 20.0f / 255.0f; }
  Effect::OwnedImage inputVideo(Effect::EffectContext&) override {
    auto image = Media::ImageBuffer::makeShared(Media::DxgiFormat::R8G8B8A8_UNORM, kSide, kRows);
    for (int y = 0; y < kRows; ++y)
      for (int x = 0; x < kSide; ++x) {
        uint8_t* texel = image->row(static_cast<uint32_t>(y)) + x * 4;
        texel[0] = static_cast<uint8_t>(x * 16);
        texel[1] = static_cast<uint8_t>(y * 20);
        texel[2] = 0;
        texel[3] = 255;
      }
    return Effect::adoptBuffer(Media::ResourceBuffer::createFromImageBuffer(image.get()));
  }
};

TEST_F(SceneRenderTest, APictureAtItsOwnSizeKeepsEveryTexelAndBlendsBetweenThemWhenMovedByHalf) {
  auto object = world_->placeSolid(0, 0, 10, std::make_shared<RampInput>());
  // Centred in the 64 x 48 frame: the picture's corner falls on pixel (24, 18).
  const auto whole = world_->render(5);
  ASSERT_TRUE(whole.image);
  for (int y = 0; y < RampInput::kRows; ++y)
    for (int x = 0; x < RampInput::kSide; ++x)
      ASSERT_TRUE(nearHalf(at(whole, 24 + x, 18 + y),
                           {RampInput::red(x), RampInput::green(y), 0, 1}))
          << x << ", " << y;

  // Half a pixel to the right: each pixel inside lies midway between two texels.
  outputOf(object).x.setValue(0.5, 0);
  const auto moved = world_->render(5);
  ASSERT_TRUE(moved.image);
  for (int y = 0; y < RampInput::kRows; ++y)
    for (int x = 1; x < RampInput::kSide; ++x)
      ASSERT_TRUE(nearHalf(at(moved, 24 + x, 18 + y),
                           {RampInput::red(x - 0.5f), RampInput::green(y), 0, 1}, 4e-3f))
          << x << ", " << y;
}

// A YUY2 picture of distinct pairs, as a movie frame comes: uploaded with its pairs kept for
// the draw to convert, or converted into the working format at once.
class Yuy2RampInput : public SolidInput {
 public:
  static constexpr uint32_t kRows = 12;
  Yuy2RampInput(uint32_t width, bool keepPairs) : width_(width), keepPairs_(keepPairs) {}
  Effect::OwnedImage inputVideo(Effect::EffectContext&) override {
    auto image = Media::ImageBuffer::makeShared(Media::DxgiFormat::YUY2, width_, kRows);
    for (uint32_t y = 0; y < kRows; ++y)
      for (uint32_t pair = 0; pair < (width_ + 1) / 2; ++pair) {
        uint8_t* bytes = image->row(y) + pair * 4;
        bytes[0] = static_cast<uint8_t>(16 + pair * 24 + y * 3);
        bytes[1] = static_cast<uint8_t>(pair % 2 ? 40 : 200);
        bytes[2] = static_cast<uint8_t>(235 - pair * 20 - y * 5);
        bytes[3] = static_cast<uint8_t>(60 + y * 14);
      }
    return Effect::adoptBuffer(Media::ResourceBuffer::createFromImageBuffer(
        image.get(), keepPairs_ ? Media::ResourceBuffer::YuvUpload::Defer
                                : Media::ResourceBuffer::YuvUpload::Convert));
  }

 private:
  uint32_t width_;
  bool keepPairs_;
};

// The plain draw of a picture kept as YUV pairs converts while it samples, and draws an
// opaque picture whose pixels fall on the frame's without blending; the other draws convert
// it first. Over a red object, at every placement, for an even and an odd width, each pixel
// lies within a level of the draw of the picture converted at once.
TEST_F(SceneRenderTest, AYuvPictureDrawnFromItsPairsGivesThePixelsOfItsConvertedCopy) {
  struct Placement {
    const char* what;
    std::function<void(DrawOutput&)> set;
  };
  const Placement placements[] = {
      {"as it comes", [](DrawOutput&) {}},
      {"moved by whole pixels", [](DrawOutput& o) { o.x.setValue(3, 0); o.y.setValue(-2, 0); }},
      {"moved by half a pixel", [](DrawOutput& o) { o.x.setValue(0.5, 0); }},
      {"moved by fractions", [](DrawOutput& o) { o.x.setValue(-0.3, 0); o.y.setValue(0.7, 0); }},
      {"faded", [](DrawOutput& o) { o.transparency.setValue(40, 0); }},
      {"turned a quarter", [](DrawOutput& o) { o.rotationZ.setValue(90, 0); }},
      {"enlarged", [](DrawOutput& o) { o.zoom.setValue(170, 0); }},
      // Drawn from the converted picture: a shrunk one takes a grid of samples, and a blend
      // mode reads the frame.
      {"shrunk", [](DrawOutput& o) { o.zoom.setValue(45, 0); }},
      {"added", [](DrawOutput& o) { o.blendMode.value = 1; }},
  };
  auto under = std::make_shared<SolidInput>();
  under->width = 64;
  under->height = 48;
  world_->placeSolid(0, 0, 10, under);
  auto object = world_->placeSolid(1, 0, 10);
  for (const uint32_t width : {16u, 15u})
    for (const Placement& placement : placements) {
      SCOPED_TRACE(testing::Message() << placement.what << ", width " << width);
      std::shared_ptr<Media::ImageBuffer> frames[2];
      for (const bool keepPairs : {true, false}) {
        object->effects.at(0) = std::make_shared<Yuy2RampInput>(width, keepPairs);
        auto output = std::make_shared<DrawOutput>();
        placement.set(*output);
        object->effects.at(1) = output;
        frames[keepPairs ? 0 : 1] = renderFrame(5);
      }
      ASSERT_TRUE(frames[0] && frames[1]);
      int differing = 0;
      for (uint32_t y = 0; y < 48; ++y)
        for (uint32_t x = 0; x < 64; ++x)
          if (!nearHalf(halfPixel(*frames[0], x, y), halfPixel(*frames[1], x, y), 1.0f / 255))
            ++differing;
      EXPECT_EQ(differing, 0);
      // The picture was drawn: its middle is not the red under it.
      EXPECT_FALSE(nearHalf(halfPixel(*frames[0], 32, 24), kRed, 0.05f));
    }
}

TEST_F(SceneRenderTest, AnObjectOutsideItsFramesIsNotDrawn) {
  world_->placeSolid(0, 10, 20);
  EXPECT_TRUE(nearHalf(at(world_->render(5), 32, 24), kClear));
  EXPECT_TRUE(nearHalf(at(world_->render(15), 32, 24), kRed));
}

// The worker draws each request into the last request's frame when nothing else holds it:
// every frame still starts clear and takes the scene's size, and a frame whose texture the
// requester kept is left as delivered.
TEST_F(SceneRenderTest, FramesDrawnIntoTheLastFramesTextureStartClearAndSpareAKeptOne) {
  world_->placeSolid(0, 10, 20);
  EXPECT_TRUE(nearHalf(at(world_->render(15), 32, 24), kRed));
  EXPECT_TRUE(nearHalf(at(world_->render(5), 32, 24), kClear)) << "the last frame showed";

  world_->scene().width = 40;
  const auto resized = world_->render(15);
  ASSERT_TRUE(resized.image);
  EXPECT_EQ(resized.image->width, 40u);
  EXPECT_TRUE(nearHalf(at(resized, 20, 24), kRed));

  std::shared_ptr<const Media::ShaderResourceView> kept;
  world_->video().requestRenderingFrame(
      3, 15, [&](int, Media::RenderBuffer& frame, Anchor::AnchorList*) {
        kept = frame.createShaderResourceView();
      });
  world_->video().requestThread().waitAllTasks();
  ASSERT_TRUE(kept);
  EXPECT_TRUE(nearHalf(at(world_->render(5), 20, 24), kClear));

  Media::Direct3DService::Get().context();
  Media::GpuTexture& texture = *kept->texture();
  Media::CpuAccessBuffer staging(texture.width(), texture.height(), texture.format());
  staging.copyFrom(texture);
  const auto mapping = staging.map();
  auto image = Media::ImageBuffer::makeShared(texture.format(), texture.width(), texture.height());
  std::memcpy(image->data(), mapping.data(), static_cast<std::size_t>(image->usedSize()));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 20, 24), kRed)) << "the kept frame was drawn over";
}

TEST_F(SceneRenderTest, FilterObjectsBelowActOnTheObjectAbove) {
  world_->placeSolid(0, 0, 10);
  auto filter = std::make_shared<RecolourFilter>();
  world_->placeEffect(2, 0, 10, filter);
  EXPECT_TRUE(nearHalf(at(world_->render(0), 32, 24), kBlue)) << "layer 1 empty: still reached";

  filter->disable = true;
  EXPECT_TRUE(nearHalf(at(world_->render(0), 32, 24), kRed)) << "switched off";

  filter->disable = false;
  filter->dropImage = true;
  EXPECT_TRUE(nearHalf(at(world_->render(0), 32, 24), kClear)) << "no image: nothing drawn";
}

TEST_F(SceneRenderTest, AnInputObjectBetweenEndsTheChain) {
  world_->placeSolid(0, 0, 10);
  auto blocker = std::make_shared<SolidInput>();
  blocker->width = 2;
  blocker->height = 2;
  world_->placeSolid(1, 0, 10, blocker);
  auto filter = std::make_shared<RecolourFilter>();
  world_->placeEffect(2, 0, 10, filter);
  const auto result = world_->render(0);
  // The filter reaches the 2 x 2 object on layer 1 only.
  EXPECT_TRUE(nearHalf(at(result, 28, 20), kRed));
  EXPECT_TRUE(nearHalf(at(result, 32, 24), kBlue));
  EXPECT_EQ(filter->calls, 1);
}

TEST_F(SceneRenderTest, AGroupControlMovesTheLayersItGoverns) {
  auto group = std::make_shared<TestSupport::MovingGroup>();
  group->dx = 10.0f;
  group->range.value = 1;
  world_->placeEffect(0, 0, 10, group);
  world_->placeSolid(1, 0, 10);
  auto outside = std::make_shared<SolidInput>();
  outside->colour[0] = 0.0f;
  outside->colour[2] = 1.0f;
  outside->width = outside->height = 2;
  world_->placeSolid(2, 0, 10, outside);
  const auto result = world_->render(0);
  EXPECT_TRUE(nearHalf(at(result, 38, 20), kRed)) << "moved right by 10";
  EXPECT_TRUE(nearHalf(at(result, 28, 20), kClear)) << "no longer at the centre";
  EXPECT_TRUE(nearHalf(at(result, 32, 24), kBlue)) << "layer 2 is outside the range";
}

TEST_F(SceneRenderTest, AClippingObjectLimitsTheNextObjectToItsShape) {
  auto mask = world_->placeSolid(0, 0, 10);  // 8 x 8 at the centre
  mask->clipping = 1;
  auto big = std::make_shared<SolidInput>();
  big->width = 32;
  big->height = 32;
  big->colour[0] = 0.0f;
  big->colour[2] = 1.0f;
  world_->placeSolid(1, 0, 10, big);
  auto after = std::make_shared<SolidInput>();
  after->width = 40;
  after->height = 2;
  world_->placeSolid(2, 0, 10, after);
  const auto result = world_->render(0);
  EXPECT_TRUE(nearHalf(at(result, 30, 22), kBlue)) << "inside the mask";
  EXPECT_TRUE(nearHalf(at(result, 20, 18), kClear)) << "outside the mask";
  EXPECT_TRUE(nearHalf(at(result, 14, 24), kRed)) << "layer 2 is not clipped";
}

TEST_F(SceneRenderTest, AFailingObjectFailsTheFrameAndTheWorkersGoOn) {
  TestSupport::LogCapture log;
  world_->placeSolid(0, 0, 10, std::make_shared<TestSupport::FailingInput>());
  const auto failed = world_->render(0);
  EXPECT_TRUE(failed.called);
  EXPECT_FALSE(failed.image);
  ASSERT_TRUE(failed.failure);
  EXPECT_THROW(std::rethrow_exception(failed.failure), std::exception);

  world_->placeSolid(3, 20, 30);
  const auto ok = world_->render(25);
  ASSERT_TRUE(ok.image);
  EXPECT_TRUE(nearHalf(at(ok, 32, 24), kRed));
}

// An input that renders its own scene as a picture: the nested pass is refused.
class SelfInput : public SolidInput {
 public:
  void preInputVideo(Effect::EffectContext& context) override {
    Render::RenderService::Get().video().renderFrameImage(
        *context.scene, context.frame, [](std::shared_ptr<Media::ImageBuffer>) {});
  }
};

TEST_F(SceneRenderTest, ASceneThatShowsItselfRendersOnceAndLogsTheRecursion) {
  TestSupport::LogCapture log;
  world_->placeSolid(0, 0, 10, std::make_shared<SelfInput>());
  const auto result = world_->render(0);
  ASSERT_TRUE(result.image);
  EXPECT_TRUE(nearHalf(at(result, 32, 24), kRed));
  const auto warnings = log.texts("WARN");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], "recursive scene. index=0 num=1");
}

TEST_F(SceneRenderTest, ANewPreviewRequestWithdrawsTheWaitingOnes) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  world_->video().requestThread().addTask(9, [released] { released.wait(); });
  std::vector<int> answered;
  std::mutex mutex;
  const auto record = [&](int key) {
    return [&, key](int, Media::RenderBuffer&, Anchor::AnchorList* anchors) {
      std::lock_guard lock(mutex);
      answered.push_back(key * 10 + (anchors ? 1 : 0));
    };
  };
  world_->video().requestRenderingFrame(1, 0, record(1));
  world_->video().requestRenderingFrame(2, 0, record(2));
  world_->video().requestRenderingFrame(1, 0, record(4));
  world_->video().requestRenderingFrame(3, 0, record(3));
  release.set_value();
  world_->video().requestThread().waitAllTasks();
  // The first key-1 request was withdrawn; no preview collects handles here.
  EXPECT_EQ(answered, (std::vector<int>{20, 40, 30}));
}

}  // namespace

namespace {

TEST_F(SceneRenderTest, TheViewSwitchCommandsSetTheRenderSettings) {
  TestSupport::LogCapture log;
  Edit::setRenderSwitches(&world_->video());
  struct Case {
    void (*command)(bool);
    bool enable;
    int32_t Render::VideoSettings::*setting;
    const char* line;
  } cases[] = {
      {Edit::EditCommand::setCameraGrid, false, &Render::VideoSettings::cameraGrid,
       "set camera grid enable=0"},
      {Edit::EditCommand::setCameraFreeView, true, &Render::VideoSettings::cameraFreeView,
       "set camera free view enable=1"},
      {Edit::EditCommand::setVisibleClippingObjectView, false,
       &Render::VideoSettings::visibleClippingObject, "set visible clipping object enable=0"},
  };
  for (const Case& c : cases) {
    c.command(c.enable);
    EXPECT_EQ(world_->video().settings().*c.setting, c.enable ? 1 : 0) << c.line;
    const auto info = log.texts("INFO");
    EXPECT_NE(std::find(info.begin(), info.end(), c.line), info.end()) << c.line;
  }
  Edit::setRenderSwitches(nullptr);
}

}  // namespace
