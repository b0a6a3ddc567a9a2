// "部分フィルタ" rendered through the scene: the filters of its object applied to the frame
// drawn so far, blended back inside the mask figure or, inverted, outside it; the cases that
// apply them everywhere or nowhere; the filtered image placed by the view the filters leave;
// every pixel of a turned, squeezed mask against the placement computed here; and the mask
// softened by the registered blur.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "builtin/basic/basic_move.h"
#include "builtin/control/part_effect.h"
#include "builtin/filter/bokashi_filter.h"
#include "effect/effect_service.h"
#include "gpu/resource/effect_drawing_resources.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr int kSquare = 2;  // the figure "四角形": the whole mask image is white
constexpr Rgba kRed{1, 0, 0, 1};
constexpr Rgba kBlue{0, 0, 1, 1};
constexpr Rgba kClear{0, 0, 0, 0};

class PartFilterTest : public TestSupport::RenderWorldTest {
 protected:
  void SetUp() override {
    RenderWorldTest::SetUp();
    Effect::setDrawingResources(&drawing_);
    // The frame drawn so far: red all over.
    auto input = std::make_shared<TestSupport::SolidInput>();
    input->width = kWidth;
    input->height = kHeight;
    world_->placeSolid(0, 0, 10, input);
    // The part filter turns whatever it filters blue.
    part_ = std::make_shared<Effect::PartEffect>();
    part_->mask.figure = kSquare;
    part_->size.setValue(20, 0);
    object_ = world_->placeEffect(1, 0, 10, part_);
    object_->effects.push_back(std::make_shared<TestSupport::RecolourFilter>());
  }
  void TearDown() override {
    Effect::setDrawingResources(nullptr);
    RenderWorldTest::TearDown();
  }

  Resource::EffectDrawingResources drawing_;
  std::shared_ptr<Effect::PartEffect> part_;
  std::shared_ptr<Edit::Object> object_;
};

TEST_F(PartFilterTest, TheMaskChoosesWhereTheFiltersApply) {
  // A 20 x 20 square around the frame's centre: x 22 .. 41, y 14 .. 33.
  for (const bool inverted : {false, true}) {
    part_->invert.value = inverted;
    const auto image = renderFrame();
    ASSERT_TRUE(image);
    const Rgba inside = inverted ? kRed : kBlue;
    const Rgba outside = inverted ? kBlue : kRed;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 32, 24), inside)) << inverted;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 24, 16), inside)) << inverted;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 19, 24), outside)) << inverted;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 2, 2), outside)) << inverted;
  }
}

TEST_F(PartFilterTest, MasksThatCoverAllOrNothing) {
  struct Case {
    const char* what;
    int figure;
    double size, aspect;
    bool inverted;
    Rgba everywhere;
  };
  const Case cases[] = {
      {"no figure: the whole frame", 0, 20, 0, false, kBlue},
      {"no figure, inverted: nowhere", 0, 20, 0, true, kRed},
      {"size 0: nowhere", kSquare, 0, 0, false, kRed},
      {"size 0, inverted: the whole frame", kSquare, 0, 0, true, kBlue},
      {"aspect 100: nowhere", kSquare, 20, 100, false, kRed},
      {"aspect 100, inverted: the whole frame", kSquare, 20, 100, true, kBlue},
      {"aspect -100: nowhere", kSquare, 20, -100, false, kRed},
      {"aspect -100, inverted: the whole frame", kSquare, 20, -100, true, kBlue},
  };
  for (const Case& c : cases) {
    part_->mask.figure = c.figure;
    part_->size.setValue(c.size, 0);
    part_->aspect.setValue(c.aspect, 0);
    part_->invert.value = c.inverted;
    const auto image = renderFrame();
    ASSERT_TRUE(image) << c.what;
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{32, 24}, std::pair{63, 47}})
      EXPECT_TRUE(nearHalf(halfPixel(*image, x, y), c.everywhere)) << c.what << " " << x;
  }
}

TEST_F(PartFilterTest, TheFilteredImageLandsWhereTheFiltersMovedIt) {
  // A move of 10 to the right before the recolouring: the filtered frame is drawn 10 pixels
  // further right, and its left edge leaves transparent pixels behind.
  auto move = std::make_shared<Effect::BasicMove>();
  move->x.setValue(10, 0);
  object_->effects.insert(object_->effects.begin() + 1, move);
  part_->mask.figure = 0;
  const auto image = renderFrame();
  ASSERT_TRUE(image);
  EXPECT_TRUE(nearHalf(halfPixel(*image, 9, 24), kClear));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 10, 24), kBlue));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 63, 24), kBlue));
}

TEST_F(PartFilterTest, ATurnedSqueezedMaskMatchesItsPlacement) {
  struct Case {
    double x, y, angle, size, aspect;
  };
  const Case cases[] = {{5, -3, 30, 24, 0}, {-8, 6, -70, 30, 40}, {0, 0, 200, 26, -50}};
  for (const Case& c : cases) {
    part_->x.setValue(c.x, 0);
    part_->y.setValue(c.y, 0);
    part_->rotation.setValue(c.angle, 0);
    part_->size.setValue(c.size, 0);
    part_->aspect.setValue(c.aspect, 0);
    const auto image = renderFrame();
    ASSERT_TRUE(image);
    // The mask's own coordinates of a pixel centre, 0 .. 1 across the mask.
    const double a = c.angle * std::numbers::pi / 180.0;
    const double k = c.aspect * 0.01;
    const double width = c.size * (k > 0 ? 1 - k : 1);
    const double height = c.size * (k < 0 ? 1 + k : 1);
    int inside = 0;
    for (int py = 0; py < kHeight; ++py) {
      for (int px = 0; px < kWidth; ++px) {
        const double qx = px + 0.5 - kWidth / 2.0 - c.x;
        const double qy = py + 0.5 - kHeight / 2.0 - c.y;
        const double u = (qx * std::cos(a) + qy * std::sin(a)) / width + 0.5;
        const double v = (qy * std::cos(a) - qx * std::sin(a)) / height + 0.5;
        // Linear filtering softens the edge over about a texel of the mask.
        const double du = 1.5 / width, dv = 1.5 / height;
        const bool in = u > du && u < 1 - du && v > dv && v < 1 - dv;
        const bool out = u < -du || u > 1 + du || v < -dv || v > 1 + dv;
        const Rgba pixel = halfPixel(*image, px, py);
        if (in) {
          ++inside;
          EXPECT_TRUE(nearHalf(pixel, kBlue)) << px << "," << py << " angle " << c.angle;
        } else if (out) {
          EXPECT_TRUE(nearHalf(pixel, kRed)) << px << "," << py << " angle " << c.angle;
        } else {
          // On the edge: a mix of the two, never anything else.
          EXPECT_NEAR(pixel[0] + pixel[2], 1.0f, 4e-3f) << px << "," << py;
          EXPECT_NEAR(pixel[3], 1.0f, 2e-3f) << px << "," << py;
        }
      }
    }
    EXPECT_GT(inside, 50) << "the case tests a visible mask";
  }
}

TEST_F(PartFilterTest, TheBlurSoftensTheMaskThroughTheRegisteredBlur) {
  part_->blur.setValue(4, 0);
  // Without the blur's kind the frame fails as its lookup says.
  const auto failed = world_->render(0);
  ASSERT_TRUE(failed.failure);
  try {
    std::rethrow_exception(failed.failure);
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("default effect not found"), std::string::npos)
        << failure.what();
  }

  // The world's registry learns the blur's kind.
  ASSERT_TRUE(Effect::EffectService::instance()->registerEffect<Effect::BokashiFilter>());
  const auto image = renderFrame();
  ASSERT_TRUE(image);
  // The 20-pixel square grows by the radius on each side, soft at its edges: x 18 .. 45.
  EXPECT_TRUE(nearHalf(halfPixel(*image, 32, 24), kBlue)) << "the middle stays sharp";
  EXPECT_TRUE(nearHalf(halfPixel(*image, 12, 24), kRed)) << "beyond the blur";
  for (const int x : {20, 43}) {
    const Rgba edge = halfPixel(*image, x, 24);
    EXPECT_GT(edge[2], 0.02f) << x << ": outside the sharp square, inside the blur";
    EXPECT_LT(edge[2], 0.98f) << x;
    EXPECT_NEAR(edge[0] + edge[2], 1.0f, 4e-3f) << x;
  }
}

}  // namespace
