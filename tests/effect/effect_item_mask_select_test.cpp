// The mask selection: a figure, a scene or an image file as one choice, its text forms, the
// time at which a scene mask is sampled, and what it asks of the render engine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "../system/log_capture.h"
#include "effect/drawing_resources.h"
#include "effect/edit_access.h"
#include "effect/effect_context.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_mask_select.h"
#include "effect/mask_image_source.h"

namespace {

using namespace Effect;
using ::testing::HasSubstr;

// Images stand in as tagged integers: the mask code only moves them.
OwnedImage fakeImage(int tag) {
  return OwnedImage(reinterpret_cast<Media::ResourceBuffer*>(new int(tag)),
                    {[](Media::ResourceBuffer* image) { delete reinterpret_cast<int*>(image); }});
}
int tagOf(const OwnedImage& image) { return image ? *reinterpret_cast<const int*>(image.get()) : -1; }

// Three figures; a figure is drawn as the image tagged 100 + its index.
class Figures : public DrawingResources {
 public:
  std::vector<std::string> fontFamilies() const override { return {}; }
  bool isFontInstalled(std::string_view) const override { return true; }
  std::shared_ptr<EffectItemSelect::SharedList> figureList() const override {
    auto figures = EffectItemSelect::createSharedList();
    figures->setItem(0, "背景");
    figures->setItem(1, "円");
    figures->setItem(2, "四角形");
    return figures;
  }
  OwnedImage drawFigure(int figure, unsigned width, unsigned height) const override {
    drawn.emplace_back(width, height);
    return figure < 3 ? fakeImage(100 + figure) : OwnedImage();
  }
  mutable std::vector<std::pair<unsigned, unsigned>> drawn;
};

// A project's scenes, in scene order: id, name, last frame, rate.
class Scenes : public EditAccess {
 public:
  struct Entry {
    int32_t id;
    std::string name;
    SceneSpan span;
  };
  void createObject(std::string_view, int, int) override {}
  void setEffect(const std::shared_ptr<Edit::Object>&, std::string_view, EffectBase*,
                 bool) override {}
  void loadObject(const std::string&, int, int) override {}
  void loadEffect(const std::shared_ptr<Edit::Object>&, const std::string&, EffectBase*,
                  bool) override {}
  void runPresetColorUpdate(const std::function<void()>& change) override { change(); }
  std::optional<std::string> sceneName(int32_t id) const override {
    for (const Entry& entry : entries)
      if (entry.id == id) return entry.name;
    return std::nullopt;
  }
  std::optional<int32_t> findSceneByName(std::string_view name) const override {
    for (const Entry& entry : entries)
      if (entry.name == name) return entry.id;
    return std::nullopt;
  }
  std::optional<SceneSpan> sceneSpan(int32_t id) const override {
    for (const Entry& entry : entries)
      if (entry.id == id) return entry.span;
    return std::nullopt;
  }
  std::vector<Entry> entries;
};

// Records what the mask asks of the render engine; file images are tagged 200, scene frames
// 300 + the scene id, named buffers 400.
class RenderSide : public MaskImageSource {
 public:
  void preloadImage(const std::string& path) override { calls.push_back("preload " + path); }
  void preloadSceneFrame(int32_t id, double seconds) override {
    calls.push_back("preload scene " + std::to_string(id));
    lastSeconds = seconds;
  }
  OwnedImage fileImage(const std::string& path) override {
    calls.push_back("file " + path);
    return fakeImage(200);
  }
  OwnedImage sceneFrameImage(int32_t id, double seconds) override {
    calls.push_back("scene " + std::to_string(id));
    lastSeconds = seconds;
    return fakeImage(300 + id);
  }
  OwnedImage namedBuffer(Render::ResourceCache&, const std::string& name) override {
    calls.push_back("buffer " + name);
    return name == "kept" ? fakeImage(400) : OwnedImage();
  }
  std::vector<std::string> calls;
  double lastSeconds = -1.0;
};

class MaskSelect : public ::testing::Test {
 protected:
  void SetUp() override {
    setDrawingResources(&figures_);
    scenes_.entries = {{0, "Root", {0, {30, 1}}},
                       {4, "円", {10, {30, 1}}},  // also a figure's name
                       {7, "Intro", {120, {30, 1}}},
                       {9, "Intro", {50, {30, 1}}},  // a later scene of the same name
                       {12, "", {5, {30, 1}}}};
    setEditAccess(&scenes_);
    setMaskImageSource(&render_);
  }
  void TearDown() override {
    setMaskImageSource(nullptr);
    setEditAccess(nullptr);
    setDrawingResources(nullptr);
  }
  struct Choice {
    int figure;
    int32_t scene;
    std::string path;
  };
  static Choice choiceOf(const EffectItemMaskSelect& mask) {
    return {mask.figure, mask.scene, mask.path};
  }

  Figures figures_;
  Scenes scenes_;
  RenderSide render_;
  EffectItemList items_;
};

MATCHER_P3(IsChoice, figure, scene, path, "") {
  return arg.figure == figure && arg.scene == scene && arg.path == path;
}

TEST_F(MaskSelect, StartsAsTheGivenFigureWithTheMaskControl) {
  EffectItemMaskSelect mask(items_, "マスクの種類");
  EXPECT_EQ(mask.typeCode, ItemType::MaskSelect);
  EXPECT_EQ(mask.getControlKind(), ControlKind::MaskSelect);
  EXPECT_THAT(choiceOf(mask), IsChoice(1, -1, ""));
  EXPECT_EQ(mask.toString(), "円");
  ASSERT_EQ(items_.size(), 1u);
  EXPECT_EQ(items_[0], &mask);
}

struct TextCase {
  const char* name;
  const char* text;
  int figure;
  int32_t scene;
  const char* path;
};

class MaskSelectText : public MaskSelect, public ::testing::WithParamInterface<TextCase> {};

// Every source is written as the text that selects it again.
TEST_P(MaskSelectText, ReadsTheSourceAndWritesItBack) {
  const TextCase& c = GetParam();
  EffectItemMaskSelect mask(items_, "mask", 0);
  mask.fromString(c.text);
  EXPECT_THAT(choiceOf(mask), IsChoice(c.figure, c.scene, std::string(c.path)));
  EXPECT_EQ(mask.toString(), c.text);

  EffectItemMaskSelect reread(items_, "mask", 2);
  reread.fromString(mask.toString());
  EXPECT_TRUE(reread.equals(mask));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, MaskSelectText,
    ::testing::Values(TextCase{"Figure", "四角形", 2, -1, ""},
                      // A name of a figure and of a scene is the figure.
                      TextCase{"FigureBeforeScene", "円", 1, -1, ""},
                      TextCase{"Scene", "Intro", -1, 7, ""},  // the first of that name
                      TextCase{"RootScene", "Root", -1, 0, ""},
                      TextCase{"File", "/masks/wipe.png", -1, -1, "/masks/wipe.png"},
                      TextCase{"NamedBuffer", "*tmp", -1, -1, "*tmp"},
                      TextCase{"NamedBufferWithADot", "*a.b", -1, -1, "*a.b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MaskSelect, TextsThatNameNothingChangeNothing) {
  EffectItemMaskSelect mask(items_, "mask");
  mask.fromString("Intro");
  // No figure, scene or path; the empty text, which a scene without a name also has, and
  // which a mask of a deleted scene was written as.
  for (const char* text : {"星形", "intro", "", "Intro ", "0", "-1"}) {
    SCOPED_TRACE(text);
    mask.fromString(text);
    EXPECT_THAT(choiceOf(mask), IsChoice(-1, 7, ""));
  }
}

TEST_F(MaskSelect, AFigureTheListLacksCannotBeWritten) {
  EffectItemMaskSelect mask(items_, "mask", 5);
  try {
    (void)mask.toString();
    FAIL() << "no error";
  } catch (const std::out_of_range& error) {
    EXPECT_STREQ(error.what(), "invalid map<K, T> key");
  }
}

TEST_F(MaskSelect, ASceneThatIsGoneIsWrittenAsNoSceneWithAWarning) {
  EffectItemMaskSelect mask(items_, "mask");
  mask.selectScene(9);
  scenes_.entries.pop_back();
  scenes_.entries.pop_back();  // scene 9 is gone
  TestSupport::LogCapture log;
  EXPECT_EQ(mask.toString(), "");
  const auto warnings = log.texts("WARN");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_THAT(warnings[0], HasSubstr("(9)"));
}

TEST_F(MaskSelect, SelectionsKeepExactlyOneSource) {
  EffectItemMaskSelect mask(items_, "mask");
  mask.setFilePath("/masks/a.png");
  mask.selectScene(7);
  EXPECT_THAT(choiceOf(mask), IsChoice(-1, 7, ""));
  mask.selectScene(0);  // the root scene is a scene too
  EXPECT_THAT(choiceOf(mask), IsChoice(-1, 0, ""));
  mask.selectScene(5);  // no such scene: the smallest figure
  EXPECT_THAT(choiceOf(mask), IsChoice(0, -1, ""));
  mask.selectScene(-1);
  EXPECT_THAT(choiceOf(mask), IsChoice(0, -1, ""));

  mask.selectScene(7);
  mask.selectFigure(2);
  EXPECT_THAT(choiceOf(mask), IsChoice(2, -1, ""));
  mask.selectFigure(8);
  EXPECT_THAT(choiceOf(mask), IsChoice(0, -1, ""));

  mask.selectScene(7);
  mask.setFilePath("");  // changes nothing
  EXPECT_THAT(choiceOf(mask), IsChoice(-1, 7, ""));
  mask.setFilePath("/masks/b.png");
  EXPECT_THAT(choiceOf(mask), IsChoice(-1, -1, "/masks/b.png"));
  ASSERT_NE(mask.getFilePath(), nullptr);
  EXPECT_EQ(*mask.getFilePath(), "/masks/b.png");
}

TEST_F(MaskSelect, WithoutAProjectOrFiguresOnlyPathsAreRead) {
  setEditAccess(nullptr);
  setDrawingResources(nullptr);
  EffectItemMaskSelect mask(items_, "mask");
  mask.fromString("Intro");
  EXPECT_THAT(choiceOf(mask), IsChoice(1, -1, ""));
  mask.selectScene(7);
  EXPECT_THAT(choiceOf(mask), IsChoice(-1, -1, "")) << "an empty list has no figure";
  mask.fromString("a.png");
  EXPECT_EQ(mask.toString(), "a.png");
}

TEST_F(MaskSelect, ADeletedSceneBecomesTheSmallestFigure) {
  EffectItemMaskSelect sceneMask(items_, "mask");
  EffectItemMaskSelect otherScene(items_, "mask");
  EffectItemMaskSelect fileMask(items_, "mask");
  EffectItemMaskSelect figureMask(items_, "mask", 2);
  sceneMask.selectScene(7);
  otherScene.selectScene(9);
  fileMask.setFilePath("/m/7.png");
  TestSupport::LogCapture log;

  EXPECT_TRUE(sceneMask.forgetScene(7));
  EXPECT_FALSE(otherScene.forgetScene(7));
  EXPECT_FALSE(fileMask.forgetScene(7));
  EXPECT_FALSE(figureMask.forgetScene(7));
  EXPECT_FALSE(figureMask.forgetScene(-1));

  EXPECT_THAT(choiceOf(sceneMask), IsChoice(0, -1, ""));
  EXPECT_THAT(choiceOf(otherScene), IsChoice(-1, 9, ""));
  EXPECT_THAT(choiceOf(fileMask), IsChoice(-1, -1, "/m/7.png"));
  EXPECT_THAT(choiceOf(figureMask), IsChoice(2, -1, ""));
  const auto warnings = log.texts("WARN");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_THAT(warnings[0], HasSubstr("(7)"));

  // A scene made later under the freed id is not the mask's.
  scenes_.entries.push_back({7, "Later", {1, {30, 1}}});
  EXPECT_EQ(sceneMask.toString(), "背景");
}

TEST_F(MaskSelect, ClonesCopiesAndComparisonsCarryTheWholeChoice) {
  EffectItemCheck fit(items_, "シーンの長さを合わせる", true);
  EffectItemMaskSelect mask(items_, "mask", 1, &fit);
  mask.fromString("Intro");
  mask.notify = true;

  const auto clone = mask.clone();
  const auto* copy = dynamic_cast<const EffectItemMaskSelect*>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->typeCode, ItemType::MaskSelect);
  EXPECT_EQ(copy->name, "mask");
  EXPECT_TRUE(copy->notify);
  EXPECT_EQ(copy->fitLength, &fit);
  EXPECT_TRUE(copy->equals(mask));
  EXPECT_EQ(items_.size(), 2u) << "a clone joins no list";

  EffectItemMaskSelect other(items_, "other", 1);
  EXPECT_FALSE(other.equals(mask));
  other.copyFrom(mask);
  EXPECT_THAT(choiceOf(other), IsChoice(-1, 7, ""));
  EXPECT_TRUE(other.equals(mask));
  EXPECT_EQ(other.name, "other");
  EXPECT_EQ(other.fitLength, nullptr);

  // Paths differ although figure and scene agree.
  EffectItemMaskSelect a(items_, "a"), b(items_, "b");
  a.setFilePath("/x.png");
  b.setFilePath("/y.png");
  EXPECT_FALSE(a.equals(b));

  EffectItemCheck check(items_, "c", false);
  EXPECT_THROW(other.copyFrom(check), std::bad_cast);
}

struct TimeCase {
  const char* name;
  double time;
  Effect::ObjectFrames object;
  bool fit;
  std::optional<EditAccess::SceneSpan> maskScene;
  double seconds;
};

class MaskSceneTime : public ::testing::TestWithParam<TimeCase> {};

TEST_P(MaskSceneTime, FollowsTheObjectOrPlaysTheWholeScene) {
  const TimeCase& c = GetParam();
  EXPECT_DOUBLE_EQ(
      EffectItemMaskSelect::sceneSeconds(c.time, c.object, {30, 1}, c.fit, c.maskScene),
      c.seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MaskSceneTime,
    ::testing::Values(
        // 60 frames over a mask scene of 120 frames: the mask plays at twice the speed.
        TimeCase{"FitTwiceTheSpeed", 40, {10, 69, {}}, true, {{120, {30, 1}}}, 2.0},
        TimeCase{"FitOtherRate", 40, {10, 69, {}}, true, {{120, {60, 1}}}, 1.0},
        TimeCase{"NoFitFollowsTheObject", 40, {10, 69, {}}, false, {{120, {30, 1}}}, 1.0},
        TimeCase{"FitWithoutTheScene", 40, {10, 69, {}}, true, std::nullopt, 1.0},
        TimeCase{"FitOverNoLength", 40, {10, 8, {}}, true, {{120, {30, 1}}}, 0.0},
        TimeCase{"FitOverAnUnusableRate", 40, {10, 69, {}}, true, {{120, {0, 1}}}, 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MaskSelect, EachSourceAsksTheRenderEngineForItsImage) {
  EffectItemCheck fit(items_, "シーンの長さを合わせる", true);
  EffectItemMaskSelect mask(items_, "mask", 1, &fit);
  EffectContext context;
  context.time = 30.0;
  context.objectFrames = {0, 59, {}};
  Render::ResourceCache* const cache = reinterpret_cast<Render::ResourceCache*>(&render_);

  // A figure is drawn at the asked size and needs no pre-load; one past the list is none.
  mask.preload(context);
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 64, 32)), 101);
  ASSERT_EQ(figures_.drawn.size(), 1u);
  EXPECT_EQ(figures_.drawn[0], std::make_pair(64u, 32u));
  mask.figure = 3;
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 64, 32)), -1);

  // A scene is sampled at the fitted time: scene 7 plays 4 s over the object's 2 s.
  mask.selectScene(7);
  mask.preload(context);
  EXPECT_DOUBLE_EQ(render_.lastSeconds, 2.0);
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 64, 32)), 307);
  // The root scene is accepted but has no image.
  mask.selectScene(0);
  mask.preload(context);
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 64, 32)), -1);

  mask.fromString("/m/wipe.png");
  mask.preload(context);
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 64, 32)), 200);

  // A named buffer is taken from the render's cache as it is; nothing is pre-loaded.
  mask.fromString("*kept");
  mask.preload(context);
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 64, 32)), -1) << "the frame has no cache";
  context.resourceCache = cache;
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 64, 32)), 400);
  mask.fromString("*lost");
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 64, 32)), -1);

  EXPECT_EQ(render_.calls, (std::vector<std::string>{"preload scene 7", "scene 7",
                                                     "preload /m/wipe.png", "file /m/wipe.png",
                                                     "buffer kept", "buffer lost"}));
}

TEST_F(MaskSelect, WithoutARenderEngineOnlyFiguresHaveImages) {
  setMaskImageSource(nullptr);
  EffectItemMaskSelect mask(items_, "mask", 2);
  EffectContext context;
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 8, 8)), 102);
  mask.selectScene(7);
  mask.preload(context);
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 8, 8)), -1);
  mask.fromString("a.png");
  EXPECT_EQ(tagOf(mask.getMaskImage(context, 8, 8)), -1);
}

}  // namespace
