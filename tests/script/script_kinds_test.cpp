// The four script kinds at render time: a custom object makes the object's picture, an
// animation effect works on it, a camera effect runs without the object's view, a scene
// change gets the picture before its object and its progress. A failed run is logged and
// hands no picture on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../gpu/gpu_test_support.h"
#include "../system/log_capture.h"
#include "effect/effect_item_number.h"
#include "effect/script_effect.h"
#include "effect/script_host.h"
#include "gpu/resource_buffer.h"
#include "lua_test_support.h"
#include "render/render_test_support.h"
#include "script/script_current.h"
#include "script/script_effect_host.h"
#include "script/script_service.h"

namespace {

using TestSupport::LogCapture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// The scripting host installed, with its engines, and prototypes of scripts made as the
// registry makes them.
class ScriptKinds {
 public:
  ScriptKinds() {
    Plugin::registerScriptPlugins(*Plugin::ScriptService::instance());
    Effect::setScriptHost(&host);
  }
  ~ScriptKinds() { Effect::setScriptHost(nullptr); }

  template <class Kind>
  std::shared_ptr<Kind> prototype(const std::string& text) {
    auto made = std::make_shared<Kind>("s");
    made->createResource();
    Effect::ScriptEntry entry{"s", text};
    std::string label;
    made->loadScript(entry, "/scripts", &label, nullptr);
    return made;
  }
  // A new effect of the prototype's script, as the user adds one to an object.
  template <class Kind>
  static std::shared_ptr<Kind> effectOf(const Kind& prototype) {
    auto effect = std::static_pointer_cast<Kind>(prototype.create());
    effect->shareResource(prototype);
    return effect;
  }
  template <class Kind>
  std::shared_ptr<Kind> effect(const std::string& text) {
    prototypes_.push_back(prototype<Kind>(text));
    return effectOf(static_cast<const Kind&>(*prototypes_.back()));
  }

 private:
  System::ServiceHolder<Plugin::ScriptService> service_;
  Plugin::ScriptEffectHost host;
  std::vector<std::shared_ptr<Effect::ScriptEffect>> prototypes_;
};

class ScriptKindsTest : public TestSupport::GpuTest {
 protected:
  Effect::OwnedImage image() {
    return Effect::adoptBuffer(std::make_unique<Media::ResourceBuffer>(8, 4));
  }
  // The WARN lines written at `place`.
  std::vector<std::string> warnings(const std::string& place) const {
    std::vector<std::string> found;
    for (const auto& record : log.records())
      if (record.level == "WARN" && record.place == place) found.push_back(record.text);
    return found;
  }

  LogCapture log;
  ScriptKinds kinds;
  TestSupport::ScriptFixture fixture;
  Effect::EffectContext& context = fixture.context;
};

TEST_F(ScriptKindsTest, ACustomObjectThatMakesNoPictureYieldsNoneButItsViewChanges) {
  auto object = kinds.effect<Effect::ScriptInput>("obj.ox = obj.ox + 7");
  EXPECT_EQ(object->inputVideo(context), nullptr);
  EXPECT_FLOAT_EQ(context.outputView.x, 7.0f);
  EXPECT_THAT(warnings("Effect::ScriptInput::inputVideo"), IsEmpty());
}

TEST_F(ScriptKindsTest, AnAnimationEffectHandsThePictureOnWithTheViewItSet) {
  auto filter = kinds.effect<Effect::ScriptFilter>("obj.alpha = 0.25 obj.rz = obj.w + obj.h");
  Effect::OwnedImage input = image();
  const Media::ResourceBuffer* given = input.get();
  Effect::OwnedImage output = filter->filterVideo(context, std::move(input));
  EXPECT_EQ(output.get(), given);
  EXPECT_FLOAT_EQ(context.outputView.opacity, 0.25f);
  EXPECT_FLOAT_EQ(context.outputView.rotationZ, 12.0f);
}

TEST_F(ScriptKindsTest, AFailedRunIsLoggedAndHandsNoPictureOn) {
  const std::string failing = "local a = 1\nerror('boom')";
  auto object = kinds.effect<Effect::ScriptInput>(failing);
  auto filter = kinds.effect<Effect::ScriptFilter>(failing);
  auto camera = kinds.effect<Effect::CameraScript>(failing);

  EXPECT_EQ(object->inputVideo(context), nullptr);
  EXPECT_EQ(filter->filterVideo(context, image()), nullptr);
  camera->preInputVideo(context);

  for (const char* place : {"Effect::ScriptInput::inputVideo", "Effect::ScriptFilter::filterVideo",
                            "Effect::CameraScript::preInputVideo"}) {
    SCOPED_TRACE(place);
    const std::vector<std::string> lines = warnings(place);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_THAT(lines[0], HasSubstr("script exception: "));
    EXPECT_THAT(lines[0], HasSubstr(":2: boom"));
  }
  // The script's own report: the message with the lines around it, once per run.
  EXPECT_EQ(log.texts("SCRIPT").size(), 3u);
}

TEST_F(ScriptKindsTest, AScriptWithoutAnEngineFailsItsRun) {
  auto filter = kinds.effect<Effect::ScriptFilter>("obj.alpha = 0.25");
  filter->record()->engine.reset();
  EXPECT_EQ(filter->filterVideo(context, image()), nullptr);
  EXPECT_THAT(warnings("Effect::ScriptFilter::filterVideo"),
              ElementsAre(HasSubstr("script exception: ")));
  EXPECT_FLOAT_EQ(context.outputView.opacity, 1.0f);
}

TEST_F(ScriptKindsTest, EffectsOfOneScriptShareItsTextButNotTheirItems) {
  auto prototype = kinds.prototype<Effect::ScriptFilter>("--track0:速さ,0,100,50,1\n"
                                                         "obj.ox = obj.track0");
  auto first = ScriptKinds::effectOf(*prototype);
  auto second = ScriptKinds::effectOf(*prototype);
  dynamic_cast<Effect::EffectItemNumber&>(*first->findScriptVariable("track0")).setValue(20, 0);

  const auto positions = [&](const char* field) {
    std::vector<float> found;
    for (const auto& effect : {first, second}) {
      Effect::EffectContext run = context;
      effect->filterVideo(run, image());
      found.push_back(std::string(field) == "ox" ? run.outputView.x : run.outputView.y);
    }
    return found;
  };
  EXPECT_THAT(positions("ox"), ElementsAre(20.0f, 50.0f));

  // A reload replaces the text for every effect; the items stay those of the old header.
  Effect::ScriptEntry reloaded{"s", "--track0:別,0,10,1,1\nobj.oy = obj.track0 + 1"};
  prototype->replaceScriptText(reloaded);
  EXPECT_THAT(positions("oy"), ElementsAre(21.0f, 51.0f));
}

TEST_F(ScriptKindsTest, ACameraScriptRunsWithoutTheObjectsView) {
  auto camera = kinds.effect<Effect::CameraScript>(
      "if obj.ox ~= nil then error('the view was written') end obj.ox = 99");
  camera->preInputVideo(context);
  EXPECT_THAT(warnings("Effect::CameraScript::preInputVideo"), IsEmpty());
  EXPECT_FLOAT_EQ(context.outputView.x, 0.0f);
}

TEST_F(ScriptKindsTest, ASceneChangeWithoutThePictureBeforeRunsNoScript) {
  auto change = kinds.effect<Effect::SceneChangeScript>("error('ran')");
  change->controlVideo(context);
  context.preInputData = std::make_shared<int>(1);  // something that is no picture
  change->controlVideo(context);
  EXPECT_THAT(warnings("Effect::SceneChangeScript::controlVideo"),
              ElementsAre("no before frame buffer", "invalid before frame buffer"));
  EXPECT_THAT(log.texts("SCRIPT"), IsEmpty());
}

// ---- a scene change in a rendered scene ----------------------------------------------------

struct SceneChangeSeen {
  float progress;
  int width;
};
std::mutex seenMutex;
std::vector<SceneChangeSeen> seen;

// What the scene change script sees of its run.
int probe(lua_State*) {
  const Plugin::ScriptPluginInstance& run = *Plugin::currentScriptInstance();
  const Media::ResourceBuffer* image = run.objectImage();
  std::lock_guard lock(seenMutex);
  seen.push_back({run.sceneChangeProgress, image ? static_cast<int>(image->width()) : -1});
  return 0;
}

class SceneChangeScriptTest : public TestSupport::RenderWorldTest {
 protected:
  ~SceneChangeScriptTest() override { seen.clear(); }
  ScriptKinds kinds;
};

TEST_F(SceneChangeScriptTest, TheScriptGetsThePictureBeforeAndTheProgressThroughItsObject) {
  world_->placeSolid(0, 99, 110);
  auto change = kinds.effect<Effect::SceneChangeScript>("probe()");
  world_->placeEffect(1, 100, 109, change);
  // The probe joins the engine's pooled state, which the render runs use after the test.
  auto& engine = dynamic_cast<Plugin::LuaBase&>(*change->record()->engine);
  {
    Effect::EffectContext context;
    auto run = engine.createEffectInstance(*change, context);
    TestSupport::setGlobalFunction(engine, *run, "probe", probe);
  }
  for (const int frame : {100, 104, 109}) renderFrame(frame);

  std::lock_guard lock(seenMutex);
  ASSERT_EQ(seen.size(), 3u);
  const float expected[] = {0.1f, 0.5f, 1.0f};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(seen[i].progress, expected[i]);
    EXPECT_EQ(seen[i].width, 64);  // a copy of the frame before
  }
}

}  // namespace
