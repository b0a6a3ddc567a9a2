// Wipes: the list of built-in shapes and PNG files, the masks of the shapes, the values the
// clock and edge wipes hand to the clipping filters, and the grey-level window of PNG wipes.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "gpu/drawing_test_support.h"
#include "gpu/image/image_buffer.h"
#include "gpu/resource/transition_filters.h"
#include "gpu/resource/transition_list.h"
#include "gpu/resource_buffer.h"

namespace {

using Resource::TransitionEntry;
using Resource::TransitionList;
using TestSupport::halfPixel;

// Records what the wipes ask of the filters.
class RecordingFilters : public Resource::TransitionFilters {
 public:
  RecordingFilters() { Resource::setTransitionFilters(this); }
  ~RecordingFilters() override { Resource::setTransitionFilters(nullptr); }
  void fanClip(Media::ResourceBuffer&, float startAngle, float angle, float centerX, float centerY,
               int blur, bool) override {
    calls.push_back({"fan", startAngle, angle, centerX, centerY, blur});
  }
  void lineClip(Media::ResourceBuffer&, float angle, float width, float offsetX, float offsetY,
                int blur) override {
    calls.push_back({"line", angle, width, offsetX, offsetY, blur});
  }
  std::unique_ptr<Media::ResourceBuffer> blur(Media::ResourceBuffer& buffer, int size, float,
                                              int mode) override {
    calls.push_back({"blur", static_cast<float>(size), static_cast<float>(mode), 0, 0, 0});
    return std::make_unique<Media::ResourceBuffer>(buffer.width(), buffer.height());
  }
  struct Call {
    std::string what;
    float a, b, c, d;
    int blur;
  };
  std::vector<Call> calls;
};

class TransitionTest : public TestSupport::DrawingResourceTest {
 protected:
  TransitionList makeList(TransitionEntry::Environment environment = {}) {
    return TransitionList(paths_, "%Transition%/*.png", choices_, std::move(environment));
  }
  static float alpha(const Media::ResourceBuffer& buffer, uint32_t x, uint32_t y) {
    return halfPixel(*const_cast<Media::ResourceBuffer&>(buffer).readBack(), x, y)[3];
  }
};

TEST_F(TransitionTest, TheBuiltInsComeFirstThenThePngFilesSortedByPath) {
  install_.writeFile("data/Transition/z.png", "");
  install_.writeFile("data/Transition/m.png", "");
  install_.writeFile("data/Transition/a.svg", "");
  const TransitionList list = makeList();
  const char* names[] = {"ワイプ(円)", "ワイプ(四角)", "ワイプ(時計)", "ワイプ(横)", "ワイプ(縦)",
                         "ワイプ(星型)", "ワイプ(ハート)", "m", "z"};
  ASSERT_EQ(list.entries().size(), std::size(names));
  for (std::size_t i = 0; i < std::size(names); ++i) {
    EXPECT_EQ(list.entries()[i].name, names[i]);
    EXPECT_EQ(choices_->getValue(names[i]), static_cast<int>(i));
  }
  EXPECT_FLOAT_EQ(list.entries()[0].scale, 1.41421354f);
  EXPECT_EQ(list.entries()[2].kind, TransitionEntry::kClock);
}

// The circle grows from nothing and, at the end, just covers the corners.
TEST_F(TransitionTest, TheCircleWipeGrowsFromNothingToTheCorners) {
  const TransitionList list = makeList();
  const auto start = list.createImage(0, 40, 40, 0.0f, 0, false);
  for (uint32_t at : {0u, 20u, 39u}) EXPECT_EQ(alpha(*start, at, at), 0.0f) << at;
  const auto half = list.createImage(0, 40, 40, 0.5f, 0, false);
  EXPECT_GT(alpha(*half, 20, 20), 0.99f);
  EXPECT_EQ(alpha(*half, 0, 0), 0.0f);
  const auto end = list.createImage(0, 40, 40, 1.0f, 0, false);
  for (uint32_t at : {0u, 20u, 39u}) EXPECT_GT(alpha(*end, at, at), 0.4f) << at;
  EXPECT_EQ(list.createImage(0, 0, 40, 0.5f, 0, false), nullptr);
  EXPECT_EQ(list.createImage(99, 40, 40, 0.5f, 0, false), nullptr);
}

// Keeping the aspect, the diamond on a wide mask is as tall as it is wide, so it reaches
// past the top and bottom at half progress.
TEST_F(TransitionTest, KeepingTheAspectSizesTheShapeByTheLongerSide) {
  const TransitionList list = makeList();
  const auto stretched = list.createImage(1, 80, 20, 0.5f, 0, false);
  const auto kept = list.createImage(1, 80, 20, 0.5f, 0, true);
  // Half way along the horizontal axis of the diamond: on the stretched one (40 x 10
  // across) it is outside at x = 20, y = 1; on the kept one (40 x 40) inside.
  EXPECT_LT(alpha(*stretched, 25, 1), 0.1f);
  EXPECT_GT(alpha(*kept, 25, 1), 0.9f);
}

TEST_F(TransitionTest, TheClockAndEdgeWipesHandTheirValuesToTheFilters) {
  RecordingFilters filters;
  const TransitionList list = makeList();
  list.createImage(2, 100, 50, 0.25f, 3, false);
  list.createImage(3, 100, 50, 0.25f, 0, false);
  list.createImage(4, 100, 50, 0.25f, 0, false);
  list.createImage(5, 100, 50, 0.25f, 7, false);
  ASSERT_EQ(filters.calls.size(), 4u);
  // The hidden fan shrinks as the progress grows: three quarters of a turn at a quarter.
  EXPECT_EQ(filters.calls[0].what, "fan");
  EXPECT_FLOAT_EQ(filters.calls[0].a, 90.0f);
  EXPECT_FLOAT_EQ(filters.calls[0].b, 270.0f);
  EXPECT_EQ(filters.calls[0].blur, 3);
  EXPECT_EQ(filters.calls[1].what, "line");
  EXPECT_FLOAT_EQ(filters.calls[1].a, -90.0f);
  EXPECT_FLOAT_EQ(filters.calls[1].c, -25.0f);
  EXPECT_EQ(filters.calls[2].what, "line");
  EXPECT_FLOAT_EQ(filters.calls[2].a, 0.0f);
  EXPECT_FLOAT_EQ(filters.calls[2].d, -12.5f);
  EXPECT_EQ(filters.calls[3].what, "blur");
  EXPECT_FLOAT_EQ(filters.calls[3].a, 7.0f);
  EXPECT_FLOAT_EQ(filters.calls[3].b, 2.0f);
}

TEST_F(TransitionTest, WithoutTheFiltersTheClockWipeNamesTheMissingEffect) {
  const TransitionList list = makeList();
  try {
    list.createImage(2, 10, 10, 0.5f, 0, false);
    FAIL() << "no error";
  } catch (const std::exception& failure) {
    const std::string text = failure.what();
    EXPECT_NE(text.find("default effect not found"), std::string::npos) << text;
    EXPECT_NE(text.find("扇クリッピング"), std::string::npos) << text;
    EXPECT_NE(text.find("Effect::EffectService::getDefaultEffect"), std::string::npos) << text;
  }
}

TEST(TransitionConstants, TheGreyWindowMovesAcrossEveryLevel) {
  struct Case {
    int blur;
    float progress;
    bool keepAspect;
    int32_t width, height;
    uint32_t pictureWidth, pictureHeight;
    Resource::LuminanceKeyConstants expected;
  };
  const Case cases[] = {
      {0, 0.0f, false, 100, 100, 50, 50, {1.0f, 1.0f + 1.0f / 12, 1.0f, 1.0f}},
      {0, 1.0f, false, 100, 100, 50, 50, {-1.0f / 12, 0.0f, 1.0f, 1.0f}},
      {368, 0.5f, false, 10, 10, 10, 10, {-0.5f, 1.5f, 1.0f, 1.0f}},
      {0, 0.5f, true, 200, 100, 100, 100, {0.5f - 1.0f / 24, 0.5f + 1.0f / 24, 1.0f, 0.5f}},
      {0, 0.5f, true, 100, 200, 100, 100, {0.5f - 1.0f / 24, 0.5f + 1.0f / 24, 0.5f, 1.0f}},
  };
  for (const auto& c : cases) {
    const auto k = TransitionEntry::luminanceKeyConstants(c.blur, c.progress, c.keepAspect, c.width,
                                                          c.height, c.pictureWidth, c.pictureHeight);
    EXPECT_NEAR(k.limitMin, c.expected.limitMin, 1e-6) << c.blur << " " << c.progress;
    EXPECT_NEAR(k.limitMax, c.expected.limitMax, 1e-6) << c.blur << " " << c.progress;
    EXPECT_FLOAT_EQ(k.scaleX, c.expected.scaleX);
    EXPECT_FLOAT_EQ(k.scaleY, c.expected.scaleY);
  }
}

TEST_F(TransitionTest, APngWipeDrawsItsPictureThroughTheKey) {
  install_.writeFile("data/Transition/grey.png", "");
  install_.writeFile("data/Transition/broken.png", "");
  std::vector<Resource::LuminanceKeyConstants> drawn;
  TransitionEntry::Environment environment;
  environment.loadImage = [&](const std::string& path) -> std::shared_ptr<const Media::ImageBuffer> {
    if (path.find("broken") != std::string::npos) return nullptr;
    auto image = Media::ImageBuffer::makeShared(10, 100, 100);
    return image;
  };
  environment.drawLuminanceKey = [&](Media::ResourceBuffer& target, Media::ResourceBuffer& picture,
                                     const Resource::LuminanceKeyConstants& constants) {
    EXPECT_EQ(target.width(), 200u);
    EXPECT_EQ(picture.width(), 100u);
    drawn.push_back(constants);
  };
  const TransitionList list = makeList(environment);
  ASSERT_EQ(list.entries().size(), 9u);
  EXPECT_EQ(list.createImage(7, 200, 100, 0.5f, 0, true), nullptr) << "the broken file";
  ASSERT_NE(list.createImage(8, 200, 100, 0.5f, 0, true), nullptr);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_FLOAT_EQ(drawn[0].scaleY, 0.5f);
}

}  // namespace
