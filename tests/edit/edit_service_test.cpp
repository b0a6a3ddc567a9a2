// The edit service's own operations: scenes, cursor, focus, selection, and the start-up
// state.
#include "edit/edit_service.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit/edit_limits.h"
#include "edit/group.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit_test_support.h"
#include "effect/section_position.h"

namespace {

using TestSupport::EditServices;

struct Service : ::testing::Test {
  EditServices services;
  Edit::EditService& edit() { return services.edit(); }
  Edit::Scene& scene() { return services.scene(); }
  std::vector<int> cursorEvents;
  std::vector<int> selectionEvents;
  void SetUp() override {
    services.events().cursorFrameChanged().add(
        [this](int frame) { cursorEvents.push_back(frame); });
    services.events().selectionChanged().add([this] { selectionEvents.push_back(1); });
  }
};

TEST_F(Service, StartsWithTheRootSceneCurrentAndItsHistoryInTheUndoService) {
  EXPECT_EQ(scene().id, 0);
  EXPECT_EQ(scene().name, "Root");
  EXPECT_EQ(edit().project.currentSceneId, 0);
  EXPECT_EQ(services.undo().history(), &scene().undoHistory);
  EXPECT_EQ(edit().settings.customMoveFrameA, "5f");
  EXPECT_EQ(scene().rate, 30);
  EXPECT_EQ(scene().width, 1920);
  EXPECT_EQ(scene().zoom.zoom, 10000);
}

TEST_F(Service, ScenesAreMadeOnFirstUseWithTheirDefaultNamesAndOrder) {
  auto scope = edit().beginUpdate();
  edit().setCurrentScene(3);
  scope.close();
  EXPECT_EQ(scene().name, "Scene3");
  EXPECT_EQ(scene().displayOrder, 1);
  EXPECT_EQ(edit().getScene(3), edit().currentScene());
  EXPECT_EQ(edit().getScene(2), nullptr);
  EXPECT_EQ(edit().project.findFreeSceneId(), 1);
  EXPECT_TRUE(Edit::EditService::makeSceneFilter(3)(1));
  EXPECT_FALSE(Edit::EditService::makeSceneFilter(3)(3));
  EXPECT_FALSE(Edit::EditService::makeSceneFilter(3)(0));
}

TEST_F(Service, CursorFrameStaysInsideTheScene) {
  TestSupport::place(0, 0, 99);
  edit().setCursorFrame(-5);
  edit().setCursorFrame(50);
  edit().setCursorFrame(1000);
  EXPECT_EQ(cursorEvents, (std::vector<int>{0, 50, 99}));
  scene().cursorFrame = 500;
  edit().notifyCurrentFrame();
  EXPECT_EQ(scene().cursorFrame, 99);
}

TEST_F(Service, MoveCursorFrameReadsFramesOrSeconds) {
  TestSupport::place(0, 0, Edit::kMaxFrame);
  struct Case {
    const char* text;
    int direction, rate, scale, from, to;
  };
  const Case cases[] = {
      {"5f", -1, 30, 1, 100, 95},
      {"1", 1, 30, 1, 100, 130},
      {"1.5", 1, 30000, 1001, 100, 145},
      {"60", -1, 30, 1, 100, 0},    // clamped at 0
      {"5 f", 1, 30, 1, 100, 100},  // not the pattern: nothing
      {"-5f", 1, 30, 1, 100, 100},
      {"", 1, 30, 1, 100, 100},
      {"99999999999f", 1, 30, 1, 100, 100},  // out of range: nothing
      {"2147483647f", 1, 30, 1, 100, Edit::kMaxFrame},
      {"2147483647f", 1, 30, 1, Edit::kMaxFrame, Edit::kMaxFrame},
      {"2147483647f", -1, 30, 1, 100, 0},
      {"99999999999999999999", 1, 30, 1, 100, Edit::kMaxFrame},  // seconds beyond all frames
      {"1", 1, 30, 0, 100, 100},  // a scene without a rate cannot count seconds
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.from));
    scene().rate = c.rate;
    scene().scale = c.scale;
    scene().cursorFrame = c.from;
    edit().moveCursorFrame(c.text, c.direction);
    EXPECT_EQ(scene().cursorFrame, c.to);
  }
}

TEST_F(Service, SettingTheSameFocusObjectTellsNobody) {
  auto object = TestSupport::place(0, 0, 9);
  int focusEvents = 0;
  services.events().focusObjectChanged().add([&](const Event::ObjectReference&) { ++focusEvents; });
  edit().setFocusObject(object);
  edit().setFocusObject(object);
  EXPECT_EQ(focusEvents, 1);
  edit().setFocusObject(nullptr);
  EXPECT_EQ(focusEvents, 2);
}

TEST_F(Service, SelectingSkipsLockedLayersButStillAnswersAndTells) {
  auto free = TestSupport::place(0, 0, 9);
  auto locked = TestSupport::place(4, 0, 9);
  scene().getLayerObjects(4).layer->locked = true;
  EXPECT_TRUE(edit().selectObject(locked, true));
  EXPECT_TRUE(scene().selection.empty());
  EXPECT_EQ(selectionEvents.size(), 1u);

  EXPECT_TRUE(edit().selectObject(free, true));
  EXPECT_FALSE(edit().selectObject(free, true)) << "already selected";
  EXPECT_TRUE(free->selected);
  EXPECT_EQ(selectionEvents.size(), 2u);

  edit().clearSelection(true);
  EXPECT_FALSE(free->selected);
  EXPECT_TRUE(scene().selection.empty());
  edit().clearSelection(true);  // empty: nothing to tell
  EXPECT_EQ(selectionEvents.size(), 3u);
}

TEST_F(Service, SelectionTracksControlObjectsTheLowestLayerAndTheClickedMarker) {
  std::shared_ptr<Edit::Object> control;
  {
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    control = scope.scene->createObject(TestSupport::TestControl::kName, 1, 0, 9);
    scope.close();
  }
  auto low = TestSupport::place(6, 0, 9);
  auto& selection = scene().selection;
  selection.add(control, scene());
  selection.add(low, scene());
  EXPECT_TRUE(selection.hasControl);
  EXPECT_EQ(selection.maxLayer, 6);
  EXPECT_EQ(selection.clickedSelected, nullptr);
  selection.add(control, scene());  // clicked again while selected
  EXPECT_EQ(selection.clickedSelected, control.get());
  EXPECT_EQ(selection.objects.size(), 2u);
}

TEST_F(Service, GroupSelectionTakesEveryMemberStillOnAnUnlockedLayer) {
  auto group = std::make_shared<Edit::Group>();
  auto a = TestSupport::place(0, 0, 9);
  auto b = TestSupport::place(1, 0, 9);
  auto onLocked = TestSupport::place(2, 0, 9);
  auto removed = TestSupport::place(3, 0, 9);
  for (const auto& object : {a, b, onLocked, removed}) object->joinGroup(group);
  scene().getLayerObjects(2).layer->locked = true;
  {
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    scope.scene->removeObject(*removed);
    scope.close();
  }
  auto& selection = scene().selection;
  EXPECT_TRUE(selection.addWithGroup(b, scene()));
  EXPECT_EQ(std::set<Edit::Object*>({selection.objects[0].get(), selection.objects[1].get()}),
            std::set<Edit::Object*>({a.get(), b.get()}));
  EXPECT_EQ(selection.objects.size(), 2u);
  EXPECT_FALSE(selection.addWithGroup(a, scene()));

  // A lone object is added by itself.
  auto lone = TestSupport::place(5, 0, 9);
  EXPECT_TRUE(selection.addWithGroup(lone, scene()));
  EXPECT_EQ(selection.objects.size(), 3u);
}

TEST_F(Service, FindObjectHonoursHiddenLayersSwitchedOffEffectsAndMediaKinds) {
  struct Media : Effect::EffectBase {
    explicit Media(uint8_t media) : EffectBase("入力", Effect::EffectType::Input, media, media) {}
    std::shared_ptr<EffectBase> create() const override {
      return std::make_shared<Media>(mediaType);
    }
  };
  auto video = TestSupport::place(0, 0, 9);
  video->effects.push_back(std::make_shared<Media>(1));
  auto both = TestSupport::place(1, 0, 9);
  both->effects.push_back(std::make_shared<Media>(3));
  auto filters = TestSupport::place(2, 0, 9);
  filters->effects = {std::make_shared<TestSupport::TestFilter>(),
                      std::make_shared<TestSupport::TestFilter>()};

  struct Case {
    int layer, frame, kind;
    std::shared_ptr<Edit::Object> found;
  };
  const Case cases[] = {
      {0, 5, 0, video},   {0, 5, 1, video},    {0, 5, 3, video},
      {0, 5, 2, nullptr}, {0, 10, 0, nullptr},  // after its end
      {1, 5, 2, both},    {1, 5, 4, nullptr},  {1, 0, 1, both},
      {2, 9, 1, filters}, {-1, 5, 0, nullptr}, {7, 5, 0, nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(scene().findObject(c.layer, c.frame, c.kind), c.found)
        << c.layer << "/" << c.frame << "/" << c.kind;

  video->effects[0]->disable = true;
  EXPECT_EQ(scene().findObject(0, 5, 0), nullptr);
  filters->effects[0]->disable = true;
  EXPECT_EQ(scene().findObject(2, 5, 0), filters)
      << "a filter object is off only when every effect is";
  filters->effects[1]->disable = true;
  EXPECT_EQ(scene().findObject(2, 5, 0), nullptr);
  scene().getLayerObjects(1).layer->hidden = true;
  EXPECT_EQ(scene().findObject(1, 5, 0), nullptr);
}

TEST_F(Service, TargetObjectsAreTheSelectionElseALiveFocusObject) {
  auto focus = TestSupport::place(0, 0, 9);
  auto selected = TestSupport::place(1, 0, 9);
  auto isFocus = [&](Edit::Object* object) { return object == focus.get(); };
  EXPECT_FALSE(scene().anyTargetObject(isFocus));
  scene().focusObject = focus;
  EXPECT_TRUE(scene().anyTargetObject(isFocus));
  edit().selectObject(selected, false);
  EXPECT_FALSE(scene().anyTargetObject(isFocus));
  EXPECT_EQ(scene().targetObjects(), (std::vector<std::shared_ptr<Edit::Object>>{selected}));
  edit().clearSelection(false);
  focus->layer = -1;
  EXPECT_TRUE(scene().targetObjects().empty());
}

TEST(FilterObjects, KeepsTheMatchingObjectsInOrder) {
  std::vector<std::shared_ptr<Edit::Object>> objects;
  for (int start : {5, 1, 7, 3}) objects.push_back(std::make_shared<Edit::Object>(0, start, start));
  const auto odd =
      Edit::filterObjects(objects, [](const Edit::Object& object) { return object.start > 2; });
  ASSERT_EQ(odd.size(), 3u);
  EXPECT_EQ(odd[0]->start, 5);
  EXPECT_EQ(odd[1]->start, 7);
  EXPECT_EQ(odd[2]->start, 3);
}

}  // namespace
