// "ディスプレイスメントマップ" on small pictures with maps made here (handed over as the
// chosen file's image) or drawn from a figure: no displacement from a neutral map, moving by
// the map's red and green, scaling about the map's centre, turning, the map's rotation, size
// and place, the stretched map, the sizes and methods that pass the picture or give none,
// and the items each method shows.
#include "builtin/filter/displacement_filter.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "builtin/filter/bokashi_filter.h"
#include "edit/edit_service.h"
#include "edit/update_section.h"
#include "effect/drawing_resources.h"
#include "effect/effect_event_param.h"
#include "effect/effect_service.h"
#include "effect/mask_image_source.h"
#include "filter_run_support.h"
#include "gpu/resource/effect_drawing_resources.h"

namespace {

using Effect::DisplacementFilter;
using TestSupport::CpuImage;
using TestSupport::Rgba;

constexpr int kSquare = 2;  // the figure "四角形": the whole mask image is white

// The chosen file's image is the map the test set; nothing else is ever asked for.
class TestMaps : public Effect::MaskImageSource {
 public:
  void preloadImage(const std::string& path) override { preloaded = path; }
  void preloadSceneFrame(int32_t, double) override {}
  Effect::OwnedImage fileImage(const std::string&) override {
    return map ? TestSupport::upload(*map) : Effect::OwnedImage();
  }
  Effect::OwnedImage sceneFrameImage(int32_t, double) override { return {}; }
  Effect::OwnedImage namedBuffer(Render::ResourceCache&, const std::string&) override { return {}; }

  std::optional<CpuImage> map;
  std::string preloaded;
};

CpuImage uniform(int width, int height, Rgba colour) {
  return TestSupport::pictureOf(width, height, [&](int, int) { return colour; });
}

class DisplacementFilterTest : public TestSupport::FilterRunTest {
 protected:
  void SetUp() override {
    FilterRunTest::SetUp();
    ASSERT_TRUE(Effect::EffectService::instance()->registerEffect<Effect::BokashiFilter>());
    Effect::setMaskImageSource(&maps_);
    Effect::setDrawingResources(&drawing_);
  }
  void TearDown() override {
    Effect::setDrawingResources(nullptr);
    Effect::setMaskImageSource(nullptr);
    FilterRunTest::TearDown();
  }

  // A filter reading the test's map file, without blur.
  static std::unique_ptr<DisplacementFilter> withMap(const CpuImage& map, TestMaps& maps) {
    maps.map = map;
    auto filter = std::make_unique<DisplacementFilter>();
    filter->map.figure = -1;
    filter->map.path = "map.png";
    filter->blur.setValue(0, 0);
    return filter;
  }

  // Every pixel of `result` at least `margin` inside its edges against `expected`.
  static ::testing::AssertionResult inside(const CpuImage& result, int margin,
                                           const std::function<Rgba(int, int)>& expected) {
    return TestSupport::matchesEverywhere(result, [&](int x, int y) -> std::optional<Rgba> {
      if (x < margin || y < margin || x >= result.width - margin || y >= result.height - margin)
        return std::nullopt;
      return expected(x, y);
    });
  }

  TestMaps maps_;
  Resource::EffectDrawingResources drawing_;
};

// A picture whose every texel differs from its neighbours.
CpuImage picture() { return TestSupport::randomPicture(20, 20, 17); }

TEST_F(DisplacementFilterTest, ANeutralMapMovesNothing) {
  const CpuImage source = picture();
  auto filter = withMap(uniform(8, 8, {0.5f, 0.5f, 0.5f, 1}), maps_);
  filter->fitOriginalSize.value = true;
  filter->moveX.setValue(40, 0);
  filter->moveY.setValue(-25, 0);
  EXPECT_TRUE(TestSupport::imagesNear(runOn(*filter, source), source));
}

TEST_F(DisplacementFilterTest, RedAndGreenMoveWhereThePixelsRead) {
  const CpuImage source = picture();
  // Red 1 and green 0.5: half a unit to the right, nothing down.
  auto filter = withMap(uniform(8, 8, {1, 0.5f, 0, 1}), maps_);
  filter->fitOriginalSize.value = true;
  filter->moveX.setValue(10, 0);
  filter->moveY.setValue(30, 0);
  // Within a pixel and a half of the edges the map's samples blend with its clear outside.
  EXPECT_TRUE(
      inside(runOn(*filter, source), 2, [&](int x, int y) { return source.get(x + 10, y); }));
}

TEST_F(DisplacementFilterTest, ScalingReadsTowardsOrAwayFromTheMapsCentre) {
  const CpuImage source = picture();
  const struct {
    const char* what;
    double scale;
    float factor;  // source position = centre + factor x (position - centre)
  } cases[] = {{"100 % grows twofold", 100, 0.5f}, {"-100 % shrinks to a half", -100, 2.0f}};
  for (const auto& c : cases) {
    auto filter = withMap(uniform(8, 8, {1, 1, 0, 1}), maps_);
    filter->fitOriginalSize.value = true;
    filter->method.value = DisplacementFilter::kScale;
    filter->scale.setValue(c.scale, 0);
    EXPECT_TRUE(inside(runOn(*filter, source), 2, [&](int x, int y) {
      const float u = 10.0f + c.factor * (float(x) + 0.5f - 10.0f);
      const float v = 10.0f + c.factor * (float(y) + 0.5f - 10.0f);
      return TestSupport::sample(source, u / 20.0f, v / 20.0f, TestSupport::kLinearBorder);
    })) << c.what;
  }
}

TEST_F(DisplacementFilterTest, TurningByHalfARoundReadsThePictureTurned) {
  const CpuImage source = picture();
  auto filter = withMap(uniform(8, 8, {1, 0, 0, 1}), maps_);
  filter->fitOriginalSize.value = true;
  filter->method.value = DisplacementFilter::kTurn;
  // Red 1 against half the alpha is half a unit: 50 turns by half a round.
  filter->turn.setValue(50, 0);
  // The turn's centre lies half a pixel up and left of the picture's.
  EXPECT_TRUE(inside(runOn(*filter, source), 2, [&](int x, int y) {
    return source.get(18 - x, 18 - y);
  }));
}

TEST_F(DisplacementFilterTest, TheMapIsPlacedSizedAndTurnedOverThePicture) {
  const CpuImage source = picture();
  // Left half red (read to the right), right half without red (read to the left); fine
  // enough that the blend between the halves stays near the middle.
  const CpuImage halves = TestSupport::pictureOf(64, 64, [](int x, int) -> Rgba {
    return x < 32 ? Rgba{1, 0.5f, 0, 1} : Rgba{0, 0.5f, 0, 1};
  });
  auto filter = withMap(halves, maps_);
  filter->size.setValue(400, 0);  // far larger than the picture: it covers it whole
  filter->moveX.setValue(3, 0);
  filter->rotation.setValue(90, 0);
  const CpuImage turned = runOn(*filter, source);
  // Turned clockwise by a quarter, the map's left half lies over the picture's upper half.
  for (int x = 4; x < 14; ++x) {
    EXPECT_TRUE(TestSupport::nearHalf(turned.get(x, 4), source.get(x + 3, 4))) << x;
    EXPECT_TRUE(TestSupport::nearHalf(turned.get(x, 15), source.get(x - 3, 15))) << x;
  }
}

TEST_F(DisplacementFilterTest, AFigureMapActsOnlyWhereItLies) {
  const CpuImage source = picture();
  DisplacementFilter filter;
  filter.map.figure = kSquare;
  filter.blur.setValue(0, 0);
  filter.size.setValue(8, 0);
  filter.x.setValue(-4, 0);  // the square covers columns 2 to 9, rows 6 to 13
  filter.moveY.setValue(4, 0);
  const CpuImage result = runOn(filter, source);
  EXPECT_TRUE(TestSupport::nearHalf(result.get(5, 9), source.get(5, 13))) << "inside";
  EXPECT_TRUE(TestSupport::nearHalf(result.get(15, 9), source.get(15, 9))) << "beside";
  EXPECT_TRUE(TestSupport::nearHalf(result.get(5, 17), source.get(5, 17))) << "below";
  // An aspect of 50 % halves the map's width: columns 4 to 7.
  filter.aspect.setValue(50, 0);
  const CpuImage narrow = runOn(filter, source);
  EXPECT_TRUE(TestSupport::nearHalf(narrow.get(5, 9), source.get(5, 13))) << "inside";
  EXPECT_TRUE(TestSupport::nearHalf(narrow.get(2, 9), source.get(2, 9))) << "cut off";
  filter.aspect.setValue(0, 0);
  // The default blur softens the figure's edge, which moves pixels just outside it too.
  filter.blur.setValue(5, 0);
  const CpuImage soft = runOn(filter, source);
  EXPECT_FALSE(TestSupport::nearHalf(soft.get(5, 15), source.get(5, 15)));
}

TEST_F(DisplacementFilterTest, PicturesPassWithoutAUsableMap) {
  const CpuImage source = picture();
  const CpuImage grey = uniform(4, 4, {1, 1, 1, 1});
  const struct {
    const char* what;
    std::function<void(DisplacementFilter&)> set;
    bool passes;
  } cases[] = {
      {"size 0", [](DisplacementFilter& f) { f.size.setValue(0.4, 0); }, true},
      {"aspect 100 %", [](DisplacementFilter& f) { f.aspect.setValue(100, 0); }, true},
      {"aspect -100 %", [](DisplacementFilter& f) { f.aspect.setValue(-100, 0); }, true},
      {"aspect 100 % on a stretched map",
       [](DisplacementFilter& f) {
         f.aspect.setValue(100, 0);
         f.fitOriginalSize.value = true;
       },
       false},
      {"no map image", [this](DisplacementFilter&) { maps_.map.reset(); }, true},
  };
  for (const auto& c : cases) {
    auto filter = withMap(grey, maps_);
    filter->moveX.setValue(5, 0);
    c.set(*filter);
    EXPECT_EQ(returnsItsInput(*filter, source), c.passes) << c.what;
  }
  auto unknown = withMap(grey, maps_);
  unknown->method.value = 3;
  Effect::EffectContext context;
  EXPECT_FALSE(unknown->filterVideo(context, TestSupport::upload(source))) << "an unknown method";
}

TEST_F(DisplacementFilterTest, EachMethodShowsItsOwnAmounts) {
  DisplacementFilter filter;
  const struct {
    int method;
    bool move, scale, turn;
  } cases[] = {{DisplacementFilter::kMove, true, false, false},
               {DisplacementFilter::kScale, false, true, false},
               {DisplacementFilter::kTurn, false, false, true}};
  for (const auto& c : cases) {
    filter.method.value = c.method;
    filter.updateItemState();
    EXPECT_EQ(filter.moveX.visible, c.move);
    EXPECT_EQ(filter.moveY.visible, c.move);
    EXPECT_EQ(filter.scale.visible, c.scale);
    EXPECT_EQ(filter.scaleAspect.visible, c.scale);
    EXPECT_EQ(filter.turn.visible, c.turn);
  }
}

// A changed item may show other items: the setting window rebuilds and the windows beside
// it refresh; other events are not the filter's.
TEST_F(DisplacementFilterTest, AChangedItemRebuildsTheSettingWindows) {
  DisplacementFilter filter;
  Edit::UpdateSection scope = Edit::EditService::instance()->beginUpdate();
  Effect::EffectEventParam event;
  event.scope = &scope;
  event.kind = Effect::EffectEventParam::FileSet;
  EXPECT_FALSE(filter.editEvent(event));
  EXPECT_FALSE(scope.rebuildEffectSetting) << "not an item change";
  event.kind = Effect::EffectEventParam::ItemChanged;
  event.datum = static_cast<Effect::EffectItem*>(&filter.method);
  EXPECT_FALSE(filter.editEvent(event));
  EXPECT_TRUE(scope.rebuildEffectSetting);
  EXPECT_TRUE(scope.updateTimeSetting);
  EXPECT_TRUE(scope.updateColorSetting);
  EXPECT_TRUE(scope.updateTextSetting);
  scope.close();
}

TEST_F(DisplacementFilterTest, TheMapFileIsLoadedBeforeTheFrame) {
  auto filter = withMap(uniform(2, 2, {1, 1, 1, 1}), maps_);
  Effect::EffectContext context;
  filter->preInputVideo(context);
  EXPECT_EQ(maps_.preloaded, "map.png");
}

}  // namespace
