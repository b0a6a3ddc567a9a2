// The edit model's side of the media inputs: a movie input's edit events resize and record
// its object through the host in a real project, the host answers the lengths and rates of
// its scenes, and marks the event's scope as the inputs ask.
#include "edit/media_input_edit_host.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "edit/layer_objects.h"
#include "effect/effect_event_param.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_number.h"
#include "effect/media_input_effect_base.h"
#include "effect/media_input_source.h"
#include "edit_test_support.h"
#include "registry_fixture.h"
#include "scripted_edit_ui.h"

namespace {

using Effect::EffectEventParam;

// The movie input as the built-in one is made: position, speed, file and loop, with the
// edit events handed to the media inputs' handlers.
class TestMovieInput : public ChainFixture::KindEffect, public Effect::InputMovieEffect {
 public:
  explicit TestMovieInput(const ChainFixture::Kind& kind)
      : KindEffect(kind), InputMovieEffect({position, speed, &file, nullptr, &loop}, Video),
        kind_(&kind) {
    file.path = "/media/ten.mp4";
  }
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<TestMovieInput>(*kind_);
  }
  bool editEvent(EffectEventParam& param) override { return handleEditEvent(param); }

  Effect::EffectItemNumber position{items, "再生位置", 0.0, 0.0, 100000.0, 0.01};
  Effect::EffectItemNumber speed{items, "再生速度", 100.0, -2000.0, 2000.0, 0.1};
  Effect::EffectItemFile file{items, "ファイル", ""};
  Effect::EffectItemCheck loop{items, "ループ再生", false};

 private:
  const ChainFixture::Kind* kind_;
};

// One movie of 10 seconds at 30 frames per second.
class TenSecondSource : public Effect::MediaInputSource {
 public:
  std::optional<Effect::MediaInputFile> getInputFile(const std::string& path,
                                                     int) const override {
    if (path != "/media/ten.mp4") return std::nullopt;
    Effect::MediaInputFile file;
    file.hasVideo = true;
    file.videoFrames = 300;
    file.rate = 30;
    file.scale = 1;
    return file;
  }
};

class MediaInputEditHostTest : public ChainFixture::RegistryFixture {
 protected:
  void SetUp() override {
    startServices(ChainFixture::kindCatalogueWith<TestMovieInput>("動画ファイル"));
    host_.emplace(edit());
    Effect::setMediaInputSource(&source_);
    Effect::setMediaInputHost(&*host_);
  }
  void TearDown() override {
    Effect::setMediaInputHost(nullptr);
    Effect::setMediaInputSource(nullptr);
    host_.reset();
    RegistryFixture::TearDown();
  }

  Edit::MediaInputEditHost& host() { return *host_; }
  Undo::UndoService& undo() { return *Undo::UndoService::instance(); }
  static TestMovieInput& movieOf(const Edit::Object& object) {
    return dynamic_cast<TestMovieInput&>(*object.effects.front());
  }
  // Puts an object on the current scene of a scene made for the test (30 fps unless
  // changed), then goes back to the root scene.
  std::shared_ptr<Edit::Object> putInScene(int sceneId, int start, int end) {
    edit().setCurrentScene(sceneId);
    auto object = put(0, start, end, {});
    edit().setCurrentScene(0);
    return object;
  }
  // A scope as an edit command opens it, with the undo step the command's own change is
  // recorded in.
  template <class Change>
  void command(Change change) {
    auto scope = edit().beginUpdate();
    scope.beginUndo();
    change(scope);
    scope.close();
  }

  TenSecondSource source_;
  std::optional<Edit::MediaInputEditHost> host_;
};

// A new speed makes the object as long as the media then lasts, up to the next object;
// undo gives it its length back.
TEST_F(MediaInputEditHostTest, SpeedChangeFitsTheObjectClearOfItsNeighbourAndUndoes) {
  const auto movie = put(0, 0, 29, {"動画ファイル"});
  const auto neighbour = put(0, 200, 299, {});
  ASSERT_TRUE(dynamic_cast<TestMovieInput*>(movie->effects.front().get()));

  command([&](Edit::UpdateSection& scope) {
    movieOf(*movie).speed.setValue(100.0, 0);
    EffectEventParam event;
    event.kind = EffectEventParam::ItemChanged;
    event.scope = &scope;
    event.datum = static_cast<Effect::EffectItem*>(&movieOf(*movie).speed);
    movie->sendInputEffectEvent(event);
    EXPECT_TRUE(scope.updateLayer);
    EXPECT_EQ(scope.object, movie);
  });
  EXPECT_EQ(TestSupport::framesOf(scene(), 0),
            (std::vector<std::pair<int, int>>{{0, 199}, {200, 299}}));

  ASSERT_TRUE(undo().canUndo());
  undo().undo();
  EXPECT_EQ(TestSupport::framesOf(scene(), 0),
            (std::vector<std::pair<int, int>>{{0, 29}, {200, 299}}));
  undo().redo();
  EXPECT_EQ(movie->end, 199);
}

// A cut start moves the playback position with it; the position is recorded in the same
// step as the cut, so one undo takes both back.
TEST_F(MediaInputEditHostTest, StartCutRecordsThePositionInTheCutsStep) {
  const auto movie = put(0, 0, 299, {"動画ファイル"});
  command([&](Edit::UpdateSection& scope) {
    undo().pushObjectUpdate(movie);  // the cut command's own record
    movie->start = 60;
    scope.scene->markSort(*movie);
    EffectEventParam event;
    event.kind = EffectEventParam::StartCut;
    event.scope = &scope;
    event.datum = 0;  // the former start
    movie->sendInputEffectEvent(event);
  });
  EXPECT_DOUBLE_EQ(movieOf(*movie).position.getDisplayValue(0), 2.0);
  EXPECT_EQ(movie->start, 60);

  undo().undo();
  EXPECT_DOUBLE_EQ(movieOf(*movie).position.getDisplayValue(0), 0.0);
  EXPECT_EQ(movie->start, 0);
  EXPECT_FALSE(undo().canUndo());
}

// Growth stops at the neighbours on either side; shrinking keeps the other end.
TEST_F(MediaInputEditHostTest, ResizeStaysClearOfTheNeighbours) {
  struct Case {
    int frames;
    bool moveStart;
    std::pair<int, int> expected;
  };
  const Case cases[] = {
      {100, false, {20, 49}}, {100, true, {10, 29}}, {5, false, {20, 24}}, {5, true, {25, 29}},
      {10, false, {20, 29}},
  };
  put(0, 0, 9, {});
  put(0, 50, 59, {});
  for (const Case& c : cases) {
    const auto object = put(0, 20, 29, {});
    command([&](Edit::UpdateSection& scope) {
      EffectEventParam event;
      event.scope = &scope;
      event.object = object.get();
      host().resizeObject(event, c.frames, c.moveStart);
    });
    EXPECT_EQ(std::make_pair(object->start, object->end), c.expected)
        << c.frames << (c.moveStart ? " at the start" : " at the end");
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    scene().removeObject(*object);
    scope.close();
  }
}

TEST_F(MediaInputEditHostTest, SceneLengthOfExistingEmptyAbsentAndRootScenes) {
  putInScene(2, 0, 299);
  edit().getScene(2)->rate = 24000;
  edit().getScene(2)->scale = 1001;
  edit().project.getOrCreateScene(3);  // made, but holds nothing
  put(0, 0, 99, {});                   // the root scene has a length, yet is never a source

  const auto two = host().sceneLength(2);
  ASSERT_TRUE(two);
  EXPECT_EQ(two->frames, 300);
  EXPECT_EQ(two->timing.rate, 24000);
  EXPECT_EQ(two->timing.scale, 1001);

  const auto three = host().sceneLength(3);
  ASSERT_TRUE(three);
  EXPECT_EQ(three->frames, 0);

  for (int id : {0, -1, 99}) EXPECT_FALSE(host().sceneLength(id)) << id;
}

// A scene the edit did not open its scope on has its length right after the resize, not
// only after its own next edit.
TEST_F(MediaInputEditHostTest, ResizeInAnotherSceneUpdatesItsLength) {
  const auto object = putInScene(2, 0, 99);
  command([&](Edit::UpdateSection& scope) {
    EffectEventParam event;
    event.scope = &scope;
    event.object = object.get();
    host().resizeObject(event, 300, false);
  });
  EXPECT_EQ(object->end, 299);
  EXPECT_EQ(host().sceneLength(2)->frames, 300);
}

// An object is timed by the scene that holds it, wherever the current scene is.
TEST_F(MediaInputEditHostTest, ObjectTimingComesFromTheHoldingScene) {
  const auto elsewhere = putInScene(2, 10, 20);
  edit().getScene(2)->rate = 25;
  scene().rate = 60;
  const auto here = put(0, 0, 5, {});
  const auto offScene = std::make_shared<Edit::Object>(0, 0, 5);

  EXPECT_EQ(host().objectTiming(*elsewhere).rate, 25);
  EXPECT_EQ(host().objectTiming(*here).rate, 60);
  EXPECT_EQ(host().objectTiming(*offScene).rate, 60);
  EXPECT_EQ(host().objectFrames(*elsewhere).start, 10);
  EXPECT_EQ(host().objectFrames(*elsewhere).end, 20);
  EXPECT_EQ(host().sceneTiming(nullptr).rate, 60);
  EXPECT_EQ(host().sceneTiming(edit().getScene(2).get()).rate, 25);
}

TEST_F(MediaInputEditHostTest, MarkChangedSetsTheScopesRequests) {
  const auto object = put(0, 0, 9, {});
  for (bool layers : {false, true}) {
    auto scope = edit().beginUpdate();
    EffectEventParam event;
    event.scope = &scope;
    event.object = object.get();
    host().markChanged(event, layers);
    EXPECT_TRUE(scope.updateEffectSetting);
    EXPECT_TRUE(scope.notifyObject);
    EXPECT_EQ(scope.object, object);
    EXPECT_EQ(scope.updateLayer, layers);
    EXPECT_EQ(scope.notifyLayer, layers);
    EXPECT_FALSE(scope.undoOpen);
    scope.close();
  }
}

TEST_F(MediaInputEditHostTest, FixedMovieTimeRangeFollowsTheEditSetting) {
  edit().settings.fixedMovieTimeRange = 0;
  EXPECT_FALSE(host().fixedMovieTimeRange());
  edit().settings.fixedMovieTimeRange = 1;
  EXPECT_TRUE(host().fixedMovieTimeRange());
}

TEST_F(MediaInputEditHostTest, SceneInformationTooltip) {
  TestSupport::ScriptedEditUi ui;
  std::vector<std::string> shown;
  ui.onShowToolTip = [&shown](const std::string& text) { shown.push_back(text); };

  putInScene(2, 0, 299);
  Edit::Scene& two = *edit().getScene(2);
  two.name = "100% Opening";
  two.width = 1280;
  two.height = 720;
  two.audioRate = 44100;

  host().showSceneInfo(2);
  host().showSceneInfo(0);
  host().showSceneInfo(99);
  host().showToolTip("/media/ten.mp4");
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "100% Opening\nTotalTime: 00:00:09\nVideo: 1280 x 720 / 30fps\n"
                       "Audio: 44.1khz\n",
                       "/media/ten.mp4"}));
}

}  // namespace
