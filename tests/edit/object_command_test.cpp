// The object edit commands: each is one undo step that undo and redo replay to the very
// same scene, a refused command changes nothing, and each logs its line.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "../system/log_capture.h"
#include "edit/edit_command_length.h"
#include "edit/edit_command_object.h"
#include "edit/edit_command_split.h"
#include "edit/group.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/scripted_edit_ui.h"
#include "edit/undo_service.h"
#include "edit_test_support.h"
#include "edit/effect_edit_access.h"
#include "effect/edit_access.h"
#include "effect/effect_define.h"
#include "effect/effect_service.h"
#include "scene_state.h"

namespace {

using TestSupport::EditServices;
using TestSupport::framesOf;
using TestSupport::place;
using Frames = std::vector<std::pair<int, int>>;
using TestSupport::SceneState;
using TestSupport::stateOf;
namespace Command = Edit::EditCommand;

struct ObjectCommands : ::testing::Test {

  Edit::Scene& scene() { return services.scene(); }
  Undo::UndoService& undo() { return services.undo(); }
  std::size_t steps() { return scene().undoHistory.steps.size(); }

  // Runs the command; checks that it made exactly one step, that undo brings back the scene
  // as it was and redo the scene as the command left it.
  template <class Command>
  void runUndoable(Command&& command) {
    const SceneState before = stateOf(scene());
    const std::size_t stepsBefore = steps();
    command();
    const SceneState after = stateOf(scene());
    ASSERT_EQ(steps(), stepsBefore + 1);
    undo().undo();
    EXPECT_EQ(stateOf(scene()), before);
    undo().redo();
    EXPECT_EQ(stateOf(scene()), after);
  }

  // A command that must change nothing: no step, the same scene, and the lock is free.
  template <class Command>
  void expectNothing(Command&& command) {
    const SceneState before = stateOf(scene());
    const std::size_t stepsBefore = steps();
    command();
    EXPECT_EQ(stateOf(scene()), before);
    EXPECT_EQ(steps(), stepsBefore);
    services.edit().beginUpdate().close();
  }

  std::vector<std::string> infoLines() { return log.texts("INFO"); }

  void select(std::initializer_list<std::shared_ptr<Edit::Object>> objects) {
    for (const auto& object : objects) services.edit().selectObject(object, false);
  }
  std::shared_ptr<Edit::Group> group(std::initializer_list<std::shared_ptr<Edit::Object>> members) {
    auto shared = std::make_shared<Edit::Group>();
    for (const auto& member : members) member->joinGroup(shared);
    return shared;
  }

  EditServices services;
  TestSupport::LogCapture log;
};

// --- create ------------------------------------------------------------------------------

TEST_F(ObjectCommands, CreateObjectFindsItsPlaceOnTheLayer) {
  struct Case {
    const char* what;
    Frames existing;
    int frame;
    std::pair<int, int> created;
  };
  const Case cases[] = {
      {"empty layer: 81 frames at zoom 10000", {}, 10, {10, 90}},
      {"inside an object: right behind it", {{0, 19}}, 5, {20, 100}},
      {"inside a run of touching objects: behind the run", {{0, 9}, {10, 29}}, 3, {30, 110}},
      {"a following object cuts it short", {{0, 9}, {50, 60}}, 5, {10, 49}},
      {"a gap before the next object", {{40, 60}}, 0, {0, 39}},
  };
  int layer = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (auto [start, end] : c.existing) place(layer, start, end);
    Command::createObject(TestSupport::TestFilter::kName, layer, c.frame);
    const auto& focus = scene().focusObject;
    ASSERT_TRUE(focus);
    EXPECT_EQ(focus->layer, layer++);
    EXPECT_EQ((std::pair<int, int>{focus->start, focus->end}), c.created);
    ASSERT_EQ(focus->effects.size(), 1u);
  }
}

TEST_F(ObjectCommands, CreateObjectIsOneStepAndLogs) {
  scene().zoom.zoom = 20;
  std::shared_ptr<Edit::Object> created;
  runUndoable([&] {
    Command::createObject(TestSupport::TestInput::kName, 0, 7,
                          [&](Edit::Object* object, Edit::UpdateSection& scope) {
                            EXPECT_TRUE(scope.updateLayer);
                            created = object->shared_from_this();
                          });
  });
  ASSERT_TRUE(created);
  // Zoom 20: 40001 frames.
  EXPECT_EQ(created->end - created->start + 1, 40001);
  EXPECT_EQ(infoLines().at(0), "create object [テスト入力] layer=0 frame=7");
  EXPECT_EQ(log.records().front().place, "Edit::EditCommand::createObject");
}

TEST_F(ObjectCommands, CreateObjectRefusalsLeaveTheSceneAlone) {
  place(0, 0, 9);
  // An unknown effect: the half-made object goes again, the step keeps nothing.
  expectNothing([] { EXPECT_THROW(Command::createObject("無い効果", 0, 50), std::exception); });
  // A layer outside the table: refused before anything opens, without a log line.
  log.clear();
  expectNothing([] { EXPECT_THROW(Command::createObject("x", -1, 0), std::exception); });
  EXPECT_TRUE(infoLines().empty());
}

TEST_F(ObjectCommands, AnEffectsMenuEntryCreatesTheObjectThroughTheEditAccess) {
  Edit::EffectEditAccess access;
  Effect::setEditAccess(&access);
  const Effect::EffectDefine* define =
      Effect::EffectService::instance()->findEffect(TestSupport::TestFilter::kName);
  EXPECT_NO_THROW(define->createObject(1, 0));
  Effect::setEditAccess(nullptr);
  EXPECT_EQ(framesOf(scene(), 1), (Frames{{0, 80}}));
}

// --- delete, copy ------------------------------------------------------------------------

TEST_F(ObjectCommands, DeleteObjectRemovesTheSelectionAsOneStep) {
  auto a = place(0, 0, 9);
  auto b = place(1, 5, 15);
  auto c = place(1, 20, 30);
  select({a, b});
  runUndoable([] { Command::deleteObject(); });
  EXPECT_TRUE(scene().selection.empty());
  EXPECT_FALSE(a->selected);
  EXPECT_EQ(framesOf(scene(), 0), Frames{});
  EXPECT_EQ(framesOf(scene(), 1), (Frames{{20, 30}}));
  EXPECT_EQ(infoLines().at(0), "delete object num=2");
}

TEST_F(ObjectCommands, DeleteObjectTakesTheFocusWithoutASelection) {
  auto a = place(0, 0, 9);
  services.edit().setFocusObject(a);
  Command::deleteObject();
  EXPECT_EQ(a->layer, -1);
  EXPECT_FALSE(scene().focusObject);
  undo().undo();
  EXPECT_EQ(a->layer, 0);
}

TEST_F(ObjectCommands, CommandsWithoutTargetsDoNothing) {
  place(0, 0, 9);
  auto gone = place(1, 0, 9);
  // A focus object that left the scene is no target.
  services.edit().setFocusObject(gone);
  TestSupport::edit(
      [&](Edit::UpdateSection& scope, Undo::UndoService&) { scope.scene->removeObject(*gone); });
  log.clear();
  expectNothing([] {
    Command::deleteObject();
    Command::splitObject(5);
    Command::cutObject();
    Command::copyObject();
    Command::duplicateObject();
    Command::changeObjectLength();
    Command::separateAudioObject();
  });
  EXPECT_TRUE(infoLines().empty());
  EXPECT_TRUE(services.edit().clipboard.empty());
}

TEST_F(ObjectCommands, CopyObjectReplacesTheClipboardAndChangesNothing) {
  auto a = place(0, 0, 9);
  auto b = place(2, 10, 19);
  services.edit().clipboard.addCopy(place(5, 0, 0));
  select({a, b});
  expectNothing([] { Command::copyObject(); });
  const auto& copies = services.edit().clipboard.objects;
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_NE(copies[0], a);
  EXPECT_EQ((std::tuple{copies[1]->layer, copies[1]->start, copies[1]->end}),
            (std::tuple{2, 10, 19}));
  EXPECT_EQ(infoLines().back(), "copy object num=2");
}

// --- split -------------------------------------------------------------------------------

TEST_F(ObjectCommands, SplitObjectAtTheEdges) {
  struct Case {
    int frame;
    Frames pieces;
  };
  const Case cases[] = {
      {10, {{10, 20}}},            // at the start: left alone
      {11, {{10, 10}, {11, 20}}},  // the left piece is one frame
      {20, {{10, 19}, {20, 20}}},  // the right piece is one frame
      {21, {{10, 20}}},            // after the end: left alone
  };
  int layer = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    auto object = place(layer, 10, 20);
    services.edit().setFocusObject(object);
    Command::splitObject(c.frame);
    EXPECT_EQ(framesOf(scene(), layer++), c.pieces);
    if (c.pieces.size() == 2) {
      EXPECT_EQ(object->layer, -1);
      // The right piece takes over the focus.
      EXPECT_EQ(scene().focusObject->start, c.frame);
    }
  }
}

TEST_F(ObjectCommands, SplittingGroupedObjectsMakesALeftAndARightGroup) {
  auto a = place(0, 0, 19);
  auto b = place(1, 5, 30);
  auto outside = place(2, 15, 40);  // selected, but does not hold the frame
  auto shared = group({a, b});
  a->effects.push_back(std::make_shared<TestSupport::TestFilter>());
  select({a, b, outside});
  runUndoable([] { Command::splitObject(10); });
  const auto& left0 = scene().getLayerObjects(0).objects.at(0);
  const auto& right0 = scene().getLayerObjects(0).objects.at(1);
  const auto& left1 = scene().getLayerObjects(1).objects.at(0);
  const auto& right1 = scene().getLayerObjects(1).objects.at(1);
  ASSERT_TRUE(left0->group && right0->group);
  EXPECT_EQ(left0->group, left1->group);
  EXPECT_EQ(right0->group, right1->group);
  EXPECT_NE(left0->group, right0->group);
  EXPECT_NE(left0->group, shared);
  EXPECT_EQ(left0->group->members.size(), 2u);
  // Each piece has its own copy of the chain.
  ASSERT_EQ(left0->effects.size(), 1u);
  EXPECT_NE(left0->effects[0], right0->effects[0]);
  EXPECT_EQ(framesOf(scene(), 2), (Frames{{15, 40}}));
  EXPECT_EQ(infoLines().at(0), "split object num=3 frame=10");
}

// --- cut ---------------------------------------------------------------------------------

TEST_F(ObjectCommands, CutWithoutARangeCopiesThenDeletes) {
  auto a = place(0, 0, 9);
  select({a});
  runUndoable([] { Command::cutObject(); });
  EXPECT_EQ(framesOf(scene(), 0), Frames{});
  ASSERT_EQ(services.edit().clipboard.objects.size(), 1u);
  const auto lines = infoLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(
      std::vector<std::string>(lines.begin(), lines.begin() + 3),
      (std::vector<std::string>{"cut object num=1", "copy object num=1", "delete object num=1"}));
}

TEST_F(ObjectCommands, RangeCutOfASpanningObjectKeepsBothEndsGrouped) {
  auto spanning = place(0, 0, 99);
  auto partner = place(1, 200, 210);
  auto shared = group({spanning, partner});
  services.edit().setFocusObject(spanning);
  scene().selectedFrameStart = 30;
  scene().selectedFrameEnd = 49;
  select({spanning});
  runUndoable([&] {
    Command::cutObject();
    EXPECT_EQ(scene().focusObject, scene().getLayerObjects(0).objects.at(1));
  });
  // Left 0..29 stays; the right part 50..99 slides left by the 20 cut frames.
  EXPECT_EQ(framesOf(scene(), 0), (Frames{{0, 29}, {30, 79}}));
  const auto& left = scene().getLayerObjects(0).objects.at(0);
  const auto& right = scene().getLayerObjects(0).objects.at(1);
  EXPECT_EQ(left->group, shared);
  EXPECT_EQ(right->group, shared);
  EXPECT_EQ(scene().cursorFrame, 30);
  EXPECT_EQ(scene().selectedFrameStart, -1);
  EXPECT_TRUE(scene().selection.empty());
  // The clipboard holds the cut-out middle, not the whole object.
  const auto& clip = services.edit().clipboard.objects;
  ASSERT_EQ(clip.size(), 1u);
  EXPECT_EQ((std::pair{clip[0]->start, clip[0]->end}), (std::pair{30, 49}));
  EXPECT_EQ(infoLines().at(0), "cut range object num=1");
}

TEST_F(ObjectCommands, RangeCutOfEachCase) {
  auto endsInside = place(0, 0, 35);
  auto inside = place(1, 32, 40);
  auto beginsInside = place(2, 45, 60);
  auto after = place(3, 70, 80);
  auto before = place(4, 0, 10);
  scene().selectedFrameStart = 30;
  scene().selectedFrameEnd = 49;
  select({endsInside, inside, beginsInside, after, before});
  runUndoable([] { Command::cutObject(); });
  EXPECT_EQ(framesOf(scene(), 0), (Frames{{0, 29}}));
  EXPECT_EQ(framesOf(scene(), 1), Frames{});
  EXPECT_EQ(framesOf(scene(), 2), (Frames{{30, 40}}));
  EXPECT_EQ(framesOf(scene(), 3), (Frames{{50, 60}}));
  EXPECT_EQ(framesOf(scene(), 4), (Frames{{0, 10}}));
  Frames clip;
  for (const auto& copy : services.edit().clipboard.objects)
    clip.emplace_back(copy->start, copy->end);
  EXPECT_EQ(clip, (Frames{{30, 35}, {32, 40}, {45, 49}}));
}

TEST_F(ObjectCommands, RangeCutSlidesOnlyAsFarAsUnselectedObjectsAllow) {
  struct Case {
    const char* what;
    std::pair<int, int> unselected;
    Frames frames;
  };
  // The mover 60..70 follows a cut of 40..59 (20 frames) that holds none of it.
  const Case cases[] = {
      {"nothing in the way: the whole length", {0, 30}, {{0, 30}, {40, 50}}},
      {"stops right behind an unselected object", {0, 45}, {{0, 45}, {46, 56}}},
      {"an unselected object up to the mover keeps it in place", {50, 59}, {{50, 59}, {60, 70}}},
  };
  int layer = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto mover = place(layer, 60, 70);
    place(layer, c.unselected.first, c.unselected.second);
    scene().selectedFrameStart = 40;
    scene().selectedFrameEnd = 59;
    select({mover});
    Command::cutObject();
    EXPECT_EQ(framesOf(scene(), layer++), c.frames);
    EXPECT_TRUE(scene().selection.empty());
  }
}

TEST_F(ObjectCommands, RangeCutMovesTheObjectsAfterItAsOneBlock) {
  // The unselected object on layer 1 holds back the mover of layer 0 as well.
  auto top = place(0, 60, 70);
  auto bottom = place(1, 60, 70);
  place(1, 0, 50);
  scene().selectedFrameStart = 40;
  scene().selectedFrameEnd = 59;
  select({top, bottom});
  runUndoable([] { Command::cutObject(); });
  EXPECT_EQ(framesOf(scene(), 0), (Frames{{51, 61}}));
  EXPECT_EQ(framesOf(scene(), 1), (Frames{{0, 50}, {51, 61}}));
}

// --- paste, duplicate --------------------------------------------------------------------

TEST_F(ObjectCommands, PasteAtTheCursorOrAtTheCopiedFrames) {
  auto source = place(0, 10, 19);
  select({source});
  Command::copyObject();
  scene().selection.clear();
  // The cursor inside the copied frames: the copy keeps its frames, one layer further down
  // at a time until it fits.
  scene().cursorFrame = 15;
  runUndoable([] { Command::pasteObjectAt(); });
  EXPECT_EQ(framesOf(scene(), 1), (Frames{{10, 19}}));
  // The cursor outside them: the copy starts at the cursor, on the first layer from its own
  // where those frames are free.
  place(0, 35, 41);
  scene().cursorFrame = 30;
  Command::pasteObjectAt();
  EXPECT_EQ(framesOf(scene(), 0), (Frames{{10, 19}, {35, 41}}));
  EXPECT_EQ(framesOf(scene(), 1), (Frames{{10, 19}, {30, 39}}));
  EXPECT_EQ(infoLines().back(), "paste object num=1");
  EXPECT_EQ(log.records().back().place, "Edit::EditCommand::pasteObject");
}

TEST_F(ObjectCommands, PasteAtTheMouseInTheTimeline) {
  services.edit().clipboard.addCopy(place(0, 0, 9));
  TestSupport::ScriptedEditUi hooks;
  hooks.onTimelineMouse = [] {
    return std::optional<Edit::TimelinePoint>({{250, 70, 20}});
  };
  scene().displayLayer = 2;
  scene().displayFrame = 100;
  scene().zoom.zoom = 5000;  // two frames a pixel: 250 pixels are 500 frames
  Command::pasteObjectAt();
  EXPECT_EQ(framesOf(scene(), 5), (Frames{{600, 609}}));
}

TEST_F(ObjectCommands, PasteObjectIsOneStepAndAnEmptyClipboardDoesNothing) {
  expectNothing([] { Command::pasteObject(0, 0); });
  services.edit().clipboard.addCopy(place(0, 0, 9));
  runUndoable([] { Command::pasteObject(1, 50); });
  EXPECT_EQ(framesOf(scene(), 1), (Frames{{50, 59}}));
}

TEST_F(ObjectCommands, DuplicateLandsBelowAndLeavesTheClipboardAlone) {
  auto a = place(0, 0, 9);
  auto b = place(1, 5, 14);
  place(2, 0, 3);  // the two-layer block does not fit on layers 2 and 3
  group({a, b});
  services.edit().clipboard.addCopy(place(9, 0, 0));
  select({a, b});
  runUndoable([] { Command::duplicateObject(); });
  EXPECT_EQ(framesOf(scene(), 3), (Frames{{0, 9}}));
  EXPECT_EQ(framesOf(scene(), 4), (Frames{{5, 14}}));
  const auto& copyA = scene().getLayerObjects(3).objects.at(0);
  const auto& copyB = scene().getLayerObjects(4).objects.at(0);
  ASSERT_TRUE(copyA->group);
  EXPECT_EQ(copyA->group, copyB->group);
  EXPECT_NE(copyA->group, a->group);
  ASSERT_EQ(services.edit().clipboard.objects.size(), 1u);
  EXPECT_EQ(services.edit().clipboard.objects[0]->layer, 9);
  EXPECT_EQ(infoLines().at(0), "duplicate object num=2");
}

TEST_F(ObjectCommands, DuplicateOfASingleObjectGoesOneLayerDown) {
  auto a = place(3, 0, 9);
  services.edit().setFocusObject(a);
  Command::duplicateObject();
  EXPECT_EQ(framesOf(scene(), 4), (Frames{{0, 9}}));
}

// --- frames and lengths ------------------------------------------------------------------

TEST_F(ObjectCommands, InsertNullFrameMovesWhatStartsAtOrAfterTheFrame) {
  TestSupport::ScriptedEditUi hooks;
  std::string caption;
  hooks.onAskFrameLength = [&](const std::string& text, int initial) -> std::optional<int> {
    caption = text;
    EXPECT_EQ(initial, 0);
    return 5;
  };
  place(0, 0, 9);    // before
  place(0, 19, 25);  // starts one frame early and reaches over: stays
  place(1, 20, 30);  // starts at the frame
  place(2, 40, 50);  // after
  runUndoable([] { Command::insertNullFrame(20); });
  EXPECT_EQ(caption, "空のフレームを挿入");
  EXPECT_EQ(framesOf(scene(), 0), (Frames{{0, 9}, {19, 25}}));
  EXPECT_EQ(framesOf(scene(), 1), (Frames{{25, 35}}));
  EXPECT_EQ(framesOf(scene(), 2), (Frames{{45, 55}}));
  EXPECT_EQ(infoLines().at(0), "insert null frame length=5");
}

TEST_F(ObjectCommands, FrameDialogCancelOrNothingToInsertChangesNothing) {
  place(0, 10, 20);
  const std::optional<int> answers[] = {std::nullopt, 0, -3};
  for (const auto& answer : answers) {
    TestSupport::ScriptedEditUi hooks;
    hooks.onAskFrameLength = [answer](const std::string&, int) { return answer; };
    expectNothing([] { Command::insertNullFrame(0); });
  }
  // A length that would push an object past the last frame moves nothing.
  TestSupport::ScriptedEditUi hooks;
  hooks.onAskFrameLength = [](const std::string&, int) { return 2000000000; };
  place(1, 2000000000, 2000000001);
  scene().update();
  expectNothing([] { Command::insertNullFrame(0); });
  // Without a dialog the command cannot ask: nothing happens.
  Edit::setEditUi(nullptr);
  expectNothing([] { Command::insertNullFrame(0); });
  EXPECT_TRUE(infoLines().empty());
}

TEST_F(ObjectCommands, ChangeObjectLength) {
  struct Case {
    std::optional<int> answer;
    Frames frames;  // of layer 0 afterwards
  };
  const Case cases[] = {
      {20, {{10, 29}, {40, 50}}}, {100, {{10, 39}, {40, 50}}},  // stops before the next object
      {1, {{10, 11}, {40, 50}}},  // 0 and 1 are taken as 1; the scaling keeps two frames
      {0, {{10, 11}, {40, 50}}},  {std::nullopt, {{10, 19}, {40, 50}}},
  };
  int layer = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer.value_or(-1));
    int initial = -1;
    TestSupport::ScriptedEditUi hooks;
    hooks.onAskFrameLength = [&](const std::string&, int first) {
      initial = first;
      return c.answer;
    };
    auto object = place(layer, 10, 19);
    place(layer, 40, 50);
    services.edit().setFocusObject(object);
    const std::size_t stepsBefore = steps();
    Command::changeObjectLength();
    EXPECT_EQ(initial, 10);
    EXPECT_EQ(framesOf(scene(), layer++), c.frames);
    EXPECT_EQ(steps(), stepsBefore + (c.answer ? 1 : 0));
  }
}

TEST_F(ObjectCommands, ChangeObjectLengthIsOneStepForAllTargets) {
  TestSupport::ScriptedEditUi hooks;
  hooks.onAskFrameLength = [](const std::string&, int) { return 30; };
  auto a = place(0, 0, 9);
  auto b = place(1, 5, 9);
  b->boundaries = {2};
  select({a, b});
  runUndoable([] { Command::changeObjectLength(); });
  EXPECT_EQ(framesOf(scene(), 0), (Frames{{0, 29}}));
  EXPECT_EQ(framesOf(scene(), 1), (Frames{{5, 34}}));
  EXPECT_EQ(infoLines().at(0), "change object length num=2 length=30");
}

// --- scenes from files -------------------------------------------------------------------

TEST_F(ObjectCommands, SceneFromAnUnsupportedFileIsRefused) {
  // Without a registry no reader knows the file.
  expectNothing([] { EXPECT_FALSE(Command::createSceneFromFile("/nowhere/clip.xyz")); });
}

}  // namespace
