// "シーンチェンジ" in a scene: the picture of the layers below it on the frame before the
// object turns into the current picture over the object's frames. Layer 0 holds a red
// picture up to the object's start and a blue one from there; the scene change stands on
// layer 1. Also its choices, the items each choice shows, and the warnings of a step that
// cannot draw.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "builtin/control/scene_change.h"
#include "edit/edit_service.h"
#include "edit/update_section.h"
#include "render/render_test_support.h"
#include "system/log_capture.h"

namespace {

using Effect::SceneChange;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

constexpr Rgba kRed{1, 0, 0, 1};
constexpr Rgba kBlue{0, 0, 1, 1};

enum Kind : int {
  kCrossFade = 0, kBlackOut = 1, kWhiteOut = 2, kSlice = 3, kRandomLine = 4, kSlide = 5,
  kFirstWipe = 13
};

class SceneChangeTest : public TestSupport::RenderWorldTest {
 protected:
  // Red on layer 0 on the frame before `start`, blue from it to one frame past the object;
  // the scene change on layer 1 over `length` frames from `start`. Stages ten frames apart
  // share one scene.
  std::shared_ptr<SceneChange> stage(int kind, int start, int length) {
    if (start > 0) solid(0, start - 1, start - 1, kRed);
    solid(0, start, start + length, kBlue);
    auto effect = std::make_shared<SceneChange>();
    effect->createResource();
    effect->kind.value = kind;
    world_->placeEffect(1, start, start + length - 1, effect);
    return effect;
  }
  void solid(int layer, int start, int end, const Rgba& colour) {
    auto input = std::make_shared<TestSupport::SolidInput>();
    input->width = world_->scene().width;
    input->height = world_->scene().height;
    std::copy(colour.begin(), colour.end(), input->colour);
    world_->placeSolid(layer, start, end, input);
  }
  Rgba at(const std::shared_ptr<Media::ImageBuffer>& image, int x, int y) {
    if (!image) return {-1, -1, -1, -1};
    return halfPixel(*image, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
  }
};

// Over frames 5 to 14 the progress runs 0.1, 0.2 ... 1: the first frame already shows a
// tenth of the current picture, the last frame only the current picture.
TEST_F(SceneChangeTest, CrossFadeWeighsThePictureBeforeByWhatRemains) {
  stage(kCrossFade, 5, 10);
  const struct {
    int frame;
    Rgba expected;
  } cases[] = {{5, {0.9f, 0, 0.1f, 1}}, {9, {0.5f, 0, 0.5f, 1}}, {14, kBlue}, {15, kBlue}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frame);
    EXPECT_TRUE(nearHalf(at(renderFrame(c.frame), 20, 20), c.expected));
  }
}

// The first half fades into the colour, the second half out of it; the middle is the
// colour itself, opaque.
TEST_F(SceneChangeTest, BlackOutAndWhiteOutPassThroughTheirColour) {
  stage(kBlackOut, 5, 4);
  stage(kWhiteOut, 15, 4);
  const struct {
    int frame;  // t = 0.25, 0.5, 0.75
    Rgba expected;
  } cases[] = {
      {5, {0.5f, 0, 0, 1}},      {6, {0, 0, 0, 1}},  {7, {0, 0, 0.5f, 1}},
      {15, {1, 0.5f, 0.5f, 1}}, {16, {1, 1, 1, 1}}, {17, {0.5f, 0.5f, 1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frame);
    EXPECT_TRUE(nearHalf(at(renderFrame(c.frame), 10, 30), c.expected));
  }
}

// Halfway through (the first of two frames) on a frame 1920 wide and 8 high, the picture
// before has moved half its way out: 960 pixels sideways or 4 rows up or down.
TEST_F(SceneChangeTest, SlideMovesThePictureBeforeOutAlongTheAngle) {
  const struct {
    int angle;
    bool inverse;
    int x, y;
    Rgba expected;
  } cases[] = {
      {0, false, 959, 4, kRed},    {0, false, 960, 4, kBlue},   // leaves to the left
      {180, false, 959, 4, kBlue}, {180, false, 960, 4, kRed},  // to the right
      {90, false, 500, 3, kRed},   {90, false, 500, 4, kBlue},  // upwards
      {270, false, 500, 3, kBlue}, {270, false, 500, 4, kRed},  // downwards
      // Reversed, the current picture comes in from the right over the picture before.
      {0, true, 959, 4, kBlue},    {0, true, 960, 4, kRed},
  };
  resize(1920, 8);
  int start = 5;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.angle) + (c.inverse ? " reversed at " : " at ") +
                 std::to_string(c.x) + ", " + std::to_string(c.y));
    auto effect = stage(kSlide, start, 2);
    effect->angle.setValue(c.angle, 0);
    effect->reverse.value = c.inverse;
    EXPECT_TRUE(nearHalf(at(renderFrame(start), c.x, c.y), c.expected));
    start += 10;
  }
}

// 720 rows hold at most 360 bands of two rows; halfway, the bands of rows have moved half
// the width apart: even bands to the right, odd bands to the left.
TEST_F(SceneChangeTest, SliceCutsAtMostTwoRowsPerBand) {
  resize(16, 720);
  auto effect = stage(kSlice, 5, 2);
  effect->divisions.setValue(1000, 0);
  const auto image = renderFrame(5);
  for (int y = 0; y < 8; ++y) {
    SCOPED_TRACE(y);
    const bool even = (y / 2) % 2 == 0;
    EXPECT_TRUE(nearHalf(at(image, 0, y), even ? kBlue : kRed));
    EXPECT_TRUE(nearHalf(at(image, 15, y), even ? kRed : kBlue));
  }
}

// Bands of columns move up and down by the picture's height, so that they, too, leave
// the frame by the end: halfway, by half the height.
TEST_F(SceneChangeTest, VerticalSlicesMoveByTheHeight) {
  resize(16, 720);
  auto effect = stage(kSlice, 5, 2);
  effect->divisions.setValue(2, 0);
  effect->vertical.value = true;
  const auto image = renderFrame(5);
  // The left band moves down by 360 rows, the right band up.
  EXPECT_TRUE(nearHalf(at(image, 3, 359), kBlue));
  EXPECT_TRUE(nearHalf(at(image, 3, 360), kRed));
  EXPECT_TRUE(nearHalf(at(image, 12, 359), kRed));
  EXPECT_TRUE(nearHalf(at(image, 12, 360), kBlue));
}

// The lines vanish in the table's order whatever "反転" says.
TEST_F(SceneChangeTest, RandomLinesIgnoreTheReverseCheck) {
  resize(32, 40);
  std::vector<std::shared_ptr<Media::ImageBuffer>> images;
  for (const bool inverse : {false, true}) {
    const int start = inverse ? 15 : 5;
    auto effect = stage(kRandomLine, start, 4);
    effect->divisions.setValue(20, 0);
    effect->reverse.value = inverse;
    images.push_back(renderFrame(start + 1));
  }
  ASSERT_TRUE(images[0] && images[1]);
  int red = 0;
  for (int y = 0; y < 40; ++y) {
    const Rgba plain = at(images[0], 5, y);
    EXPECT_EQ(plain, at(images[1], 5, y)) << y;
    if (plain == kRed) ++red;
  }
  // Halfway, some lines are gone and some remain.
  EXPECT_GT(red, 0);
  EXPECT_LT(red, 40);
}

// A wipe's shape shows the current picture and grows from the centre; reversed, the
// picture before stays inside a shrinking shape.
TEST_F(SceneChangeTest, WipesShowTheCurrentPictureInsideTheirMask) {
  const struct {
    bool inverse;
    Rgba centre, corner;
  } cases[] = {{false, kBlue, kRed}, {true, kRed, kBlue}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.inverse);
    const int start = c.inverse ? 15 : 5;
    auto effect = stage(kFirstWipe, start, 2);
    effect->blur.setValue(0, 0);
    effect->reverse.value = c.inverse;
    const auto image = renderFrame(start);
    EXPECT_TRUE(nearHalf(at(image, 32, 24), c.centre));
    EXPECT_TRUE(nearHalf(at(image, 0, 0), c.corner));
  }
}

// Steps that cannot draw warn and leave the current picture.
TEST_F(SceneChangeTest, AMissingMaskOrTransitionWarnsAndKeepsTheCurrentPicture) {
  const struct {
    int kind;
    const char* place;
    const char* text;
  } cases[] = {
      {kFirstWipe + 500, "Effect::SceneChange::wipe", "no scene change mask"},
      {-1, "Effect::SceneChange::controlVideo", "no scene change func"},
  };
  int start = 5;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    TestSupport::LogCapture log;
    stage(c.kind, start, 2);
    for (const int frame : {start, start + 1})
      EXPECT_TRUE(nearHalf(at(renderFrame(frame), 8, 8), kBlue));
    start += 10;
    int warnings = 0;
    for (const auto& record : log.records())
      if (record.level == "WARN" && record.place == c.place && record.text == c.text) ++warnings;
    EXPECT_EQ(warnings, 2);  // on every frame
  }
}

TEST_F(SceneChangeTest, AStepWithoutThePictureBeforeWarns) {
  SceneChange effect;
  Media::RenderBuffer frame(8, 8);
  Effect::EffectContext context;
  context.outputView.target = &frame;
  TestSupport::LogCapture log;
  effect.controlVideo(context);
  context.preInputData = std::make_shared<int>(5);  // another step's data
  effect.controlVideo(context);
  EXPECT_EQ(log.texts("WARN"),
            (std::vector<std::string>{"no before frame buffer", "invalid before frame buffer"}));
}

// An object from frame 0 has no frame before it: it turns from an empty picture.
TEST_F(SceneChangeTest, AnObjectAtTheStartTurnsFromNothing) {
  stage(kCrossFade, 0, 10);
  EXPECT_TRUE(nearHalf(at(renderFrame(0), 20, 20), {0, 0, 0.1f, 0.1f}));
}

TEST_F(SceneChangeTest, ListsThePassagesThenTheWipes) {
  const auto list = SceneChange::getSceneChangeList();
  const std::vector<std::string> passages = {
      "クロスフェード", "暗転",     "ホワイトアウト", "スライス",     "ランダムライン",
      "スライド",       "押し出し", "スワップ",       "縮小回転",     "回転",
      "キューブ回転",   "放射ブラー", "ぼかし",       "ワイプ(円)",   "ワイプ(四角)",
      "ワイプ(時計)",   "ワイプ(横)", "ワイプ(縦)",   "ワイプ(星型)", "ワイプ(ハート)"};
  std::vector<std::string> names;
  int expectedValue = 0;
  for (const auto& [value, name] : list->entries) {
    EXPECT_EQ(value, expectedValue++);
    names.emplace_back(name);
  }
  EXPECT_EQ(names, passages);
}

// Each choice shows the items its transition uses; every wipe shows "反転", "ぼかし" and
// "縦横比固定".
TEST_F(SceneChangeTest, ShowsTheItemsOfTheChosenTransition) {
  const struct {
    int kind;
    bool reverse, angle, divide, blur, keepAspect, vertical;
  } cases[] = {
      {0, false, false, false, false, false, false}, {3, true, false, true, false, false, true},
      {4, false, false, true, false, false, true},   {5, true, true, false, false, false, false},
      {6, true, false, false, false, false, true},   {8, true, false, false, false, false, false},
      {10, true, false, false, false, false, true},  {12, false, false, false, false, false, false},
      {13, true, false, false, true, true, false},   {40, true, false, false, true, true, false},
  };
  SceneChange effect;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    effect.kind.value = c.kind;
    effect.updateItemState();
    EXPECT_EQ(effect.reverse.shown, c.reverse);
    EXPECT_EQ(effect.angle.visible, c.angle);
    EXPECT_EQ(effect.divisions.visible, c.divide);
    EXPECT_EQ(effect.blur.visible, c.blur);
    EXPECT_EQ(effect.keepAspect.shown, c.keepAspect);
    EXPECT_EQ(effect.vertical.shown, c.vertical);
  }
}

// A new choice rebuilds the setting window and refreshes the windows beside it; other
// events are not the effect's.
TEST_F(SceneChangeTest, AChangedChoiceRebuildsTheSettingWindow) {
  SceneChange effect;
  Edit::UpdateSection scope = Edit::EditService::instance()->beginUpdate();
  Effect::EffectEventParam event;
  event.scope = &scope;
  event.kind = Effect::EffectEventParam::FileSet;
  EXPECT_FALSE(effect.editEvent(event));
  EXPECT_FALSE(scope.rebuildEffectSetting);
  event.kind = Effect::EffectEventParam::ItemChanged;
  event.datum = static_cast<Effect::EffectItem*>(&effect.kind);
  EXPECT_TRUE(effect.editEvent(event));
  EXPECT_TRUE(scope.rebuildEffectSetting);
  EXPECT_TRUE(scope.updateTimeSetting);
  EXPECT_TRUE(scope.updateColorSetting);
  EXPECT_TRUE(scope.updateTextSetting);
  scope.close();
}

}  // namespace
