// The commands that change an object in place: midpoints, flags, groups, chains and
// movements. Each is one undo step that undo and redo replay to the very same scene; a
// refused command changes nothing and logs nothing; each logs its line. The cursor
// commands move the cursor between the focus object's points.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../system/log_capture.h"
#include "edit/edit_command_flag.h"
#include "edit/edit_command_group.h"
#include "edit/edit_command_movement.h"
#include "edit/edit_command_section.h"
#include "edit/edit_menu_predicates.h"
#include "edit/group.h"
#include "edit/scripted_edit_ui.h"
#include "effect/builtin_movements.h"
#include "edit/effect_edit_access.h"
#include "effect/edit_access.h"
#include "effect/effect_define.h"
#include "registry_fixture.h"
#include "system/file.h"

namespace {

using ChainFixture::Kind;
using ChainFixture::KindEffect;
namespace Command = Edit::EditCommand;

// A straight line that accelerates by default, carries one parameter and an easing curve.
class EasedMove : public Effect::LinearMove {
 public:
  static constexpr const char* kName = "加速移動";
  EasedMove() {
    name = kName;
    accelerate = OfferedOn;
    defaultParams = {5.0};
    defaultTimeControl = {0.0, 0.0, 1.0, 1.0};
    timeControl = true;
  }
};

// A filter whose three coordinates move together.
const Kind kPositionKind{"座標", 3, 1, 1};
class PositionEffect : public KindEffect {
 public:
  PositionEffect() : KindEffect(kPositionKind) {
    for (auto* item : {&px, &py, &pz}) {
      item->movement = Effect::MovementRegistry::instance().findMovement("直線移動");
      item->resizeValues(2);
      item->linkGroup = &link;
    }
  }
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<PositionEffect>(); }

  Effect::EffectItemNumber px{items, "PX", 0, -1000, 1000, 1};
  Effect::EffectItemNumber py{items, "PY", 0, -1000, 1000, 1};
  Effect::EffectItemNumber pz{items, "PZ", 0, -1000, 1000, 1};
  Effect::NumberItemList link{&px, &py, &pz};
};

class SectionCommands : public ChainFixture::RegistryFixture {
 protected:
  void SetUp() override {
    Effect::EffectService::Catalogue catalogue;
    catalogue.movements = [](Effect::EffectService& registry) {
      registry.registerMovement<EasedMove>();
    };
    catalogue.firstEffects = [](Effect::EffectService& registry) {
      for (const Kind& kind : ChainFixture::kKinds) registry.registerEffect<KindEffect>(kind);
      registry.registerEffect<PositionEffect>();
    };
    startServices(std::move(catalogue));
    log.clear();  // the registry's start
  }

  void select(std::initializer_list<std::shared_ptr<Edit::Object>> objects) {
    for (const auto& object : objects) edit().selectObject(object, false);
  }
  std::size_t steps() { return scene().undoHistory.steps.size(); }
  Undo::UndoService& undo() { return *Undo::UndoService::instance(); }

  // Everything these commands may change, as text: per object its frames, boundaries,
  // flags and group, and per effect its flags and every item's text.
  std::string state() {
    std::ostringstream out;
    std::map<const Edit::Group*, int> groups;
    for (int layer = 0; layer < scene().layerCount(); ++layer) {
      for (const auto& object : scene().getLayerObjects(layer).objects) {
        int group = 0;
        if (object->group)
          group = groups.try_emplace(object->group.get(), groups.size() + 1).first->second;
        out << "L" << object->layer << " " << object->start << ".." << object->end << " b";
        for (int32_t boundary : object->boundaries) out << boundary << ",";
        out << " c" << int{object->camera} << int{object->clipping} << " g" << group << "\n";
        for (const auto& effect : object->effects) {
          out << "  " << effect->name << " d" << effect->disable << " l" << effect->lock;
          for (const auto* item : effect->items) out << " [" << item->toString() << "]";
          out << "\n";
        }
      }
    }
    return out.str();
  }

  // Runs the command; checks that it made exactly one step and that undo brings back the
  // scene as it was and redo the scene as the command left it.
  template <class Run>
  void runUndoable(Run&& command) {
    const std::string before = state();
    const std::size_t stepsBefore = steps();
    command();
    const std::string after = state();
    ASSERT_EQ(steps(), stepsBefore + 1);
    EXPECT_NE(after, before);
    undo().undo();
    EXPECT_EQ(state(), before);
    undo().redo();
    EXPECT_EQ(state(), after);
  }
  // A command that must change nothing: no step, the same scene, the lock free.
  template <class Run>
  void expectNothing(Run&& command) {
    const std::string before = state();
    const std::size_t stepsBefore = steps();
    command();
    EXPECT_EQ(state(), before);
    EXPECT_EQ(steps(), stepsBefore);
    edit().beginUpdate().close();
  }
  // The last INFO record of a command (undo and redo log lines of their own).
  TestSupport::LogCapture::Record lastCommandRecord() {
    const auto records = log.records();
    for (auto record = records.rbegin(); record != records.rend(); ++record)
      if (record->level == "INFO" && record->place.rfind("Undo::", 0) != 0) return *record;
    return {};
  }
  std::string lastInfo() { return lastCommandRecord().text; }
  std::string lastPlace() { return lastCommandRecord().place; }
  bool noCommandLog() { return lastCommandRecord().text.empty(); }
  static Effect::EffectItemNumber& track(const Edit::Object& object, std::size_t effect = 0) {
    return kindAt(object, effect).x;
  }

  TestSupport::LogCapture log;
};

// --- midpoints ---------------------------------------------------------------------------

TEST_F(SectionCommands, CreateSectionPlacesTheMidpointAndItsValue) {
  struct Case {
    const char* what;
    std::vector<int32_t> boundaries;
    int frame;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {"inside the only section", {}, 25, {25}},
      {"on a section's first frame: one frame later", {50}, 50, {50, 51}},
      {"on the object's start: one frame later", {}, 0, {1}},
      {"a full section passes it on to the next", {1}, 0, {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto object = put(0, 0, 100, {"ぼかし"});
    object->boundaries = c.boundaries;
    track(*object).resizeValues(object->pointCount());
    log.clear();
    runUndoable([&] { Command::createSection(object, c.frame); });
    EXPECT_EQ(object->boundaries, c.expected);
    EXPECT_EQ(track(*object).values.size(), c.expected.size() + 2);
    EXPECT_EQ(lastPlace(), "Edit::EditCommand::createSection");
    EXPECT_EQ(lastInfo(), "create section layer=0 frame=" + std::to_string(c.frame));
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    scene().removeObject(*object);
    scope.close();
  }
}

TEST_F(SectionCommands, ANewMidpointTakesTheValueTheTrackHadThere) {
  auto object = put(0, 0, 100, {"ぼかし"});
  track(*object).values = {0, 1000};  // 0.0 .. 100.0 at step 0.1
  Command::createSection(object, 25);
  EXPECT_EQ(track(*object).values, (std::vector<int>{0, 250, 1000}));
}

TEST_F(SectionCommands, SectionsAtFrameActOnTheTargetsThatTakeThem) {
  auto a = put(0, 0, 99, {"ぼかし"});
  auto b = put(1, 40, 99, {"ぼかし"});
  auto c = put(2, 0, 99, {"ぼかし"});
  c->boundaries = {40};
  track(*c).resizeValues(3);
  select({a, b, c});
  // b starts on the frame and c has a midpoint there: only a takes one.
  runUndoable([&] { Command::createSectionAtFrame(40); });
  EXPECT_EQ(a->boundaries, (std::vector<int32_t>{40}));
  EXPECT_TRUE(b->boundaries.empty());
  EXPECT_EQ(c->boundaries, (std::vector<int32_t>{40}));
  EXPECT_EQ(lastPlace(), "Edit::EditCommand::createSection");
  EXPECT_EQ(lastInfo(), "create section frame=40 num=3");

  // One past a midpoint removes nothing; on it removes it from every target holding it.
  expectNothing([&] { Command::deleteSectionAtFrame(41); });
  runUndoable([&] { Command::deleteSectionAtFrame(40); });
  EXPECT_TRUE(a->boundaries.empty());
  EXPECT_TRUE(c->boundaries.empty());
  EXPECT_EQ(track(*a).values.size(), 2u);
  EXPECT_EQ(lastPlace(), "Edit::EditCommand::deleteSection");
  EXPECT_EQ(lastInfo(), "delete section frame=40 num=3");
}

TEST_F(SectionCommands, DeleteSectionRemovesOneMidpointWithItsValue) {
  auto object = put(3, 10, 109, {"ぼかし"});
  object->boundaries = {20, 50};
  track(*object).values = {0, 1, 2, 3};
  runUndoable([&] { Command::deleteSection(object, 2); });
  EXPECT_EQ(object->boundaries, (std::vector<int32_t>{20}));
  EXPECT_EQ(track(*object).values, (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(lastPlace(), "Edit::EditCommand::deleteSection");
  EXPECT_EQ(lastInfo(), "delete section layer=3 frame=10 section=2");
  // A point index that names no midpoint changes nothing.
  for (int index : {0, 2, -1}) expectNothing([&] { Command::deleteSection(object, index); });
}

TEST_F(SectionCommands, WithoutTargetsTheFrameFormsDoNothing) {
  put(0, 0, 99, {"ぼかし"});
  log.clear();
  expectNothing([] { Command::createSectionAtFrame(10); });
  expectNothing([] { Command::deleteSectionAtFrame(10); });
  expectNothing([] { Command::clearGroup(); });
  EXPECT_TRUE(noCommandLog());
}

// --- flags -------------------------------------------------------------------------------

TEST_F(SectionCommands, CameraAndClippingExcludeEachOther) {
  struct Case {
    bool camera;  // else clipping
    bool enable;
    int cameraBefore, clippingBefore, cameraAfter, clippingAfter;
    const char* line;
  };
  const Case cases[] = {
      {true, true, 0, 1, 1, 0, "set enable camera layer=0 frame=5 enable=1"},
      {true, false, 1, 0, 0, 0, "set enable camera layer=0 frame=5 enable=0"},
      {false, true, 1, 0, 0, 1, "set enable clipping layer=0 frame=5 enable=1"},
      {false, false, 0, 1, 0, 0, "set enable clipping layer=0 frame=5 enable=0"},
  };
  auto object = put(0, 5, 50, {"図形"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    object->camera = static_cast<uint8_t>(c.cameraBefore);
    object->clipping = static_cast<uint8_t>(c.clippingBefore);
    runUndoable([&] {
      if (c.camera)
        Command::setEnableCameraObject(object, c.enable);
      else
        Command::setEnableClippingObject(object, c.enable);
    });
    EXPECT_EQ(object->camera, c.cameraAfter);
    EXPECT_EQ(object->clipping, c.clippingAfter);
    EXPECT_EQ(lastInfo(), c.line);
  }
}

TEST_F(SectionCommands, SwitchingObjectsOffTouchesTheirHeadOrEveryFilter) {
  auto media = put(0, 0, 99, {"図形", "ぼかし"});  // input, output, filter
  auto filters = put(1, 0, 99, {"ぼかし", "色調補正"});
  ASSERT_EQ(chainOf(*media), (std::vector<std::string>{"図形", "標準描画", "ぼかし"}));
  runUndoable([&] { Command::setEnableObject({media, filters}, false); });
  EXPECT_TRUE(media->effects[0]->disable);
  EXPECT_FALSE(media->effects[1]->disable);
  EXPECT_FALSE(media->effects[2]->disable);
  EXPECT_TRUE(filters->effects[0]->disable);
  EXPECT_TRUE(filters->effects[1]->disable);
  EXPECT_EQ(lastPlace(), "Edit::EditCommand::setEnableObject");
  EXPECT_EQ(lastInfo(), "set enable effect num=2 enable=0");

  runUndoable([&] { Command::setEnableEffect(media, media->effects[2], false); });
  EXPECT_TRUE(media->effects[2]->disable);
  EXPECT_EQ(lastInfo(), "set enable effect [ぼかし] layer=0 frame=0 enable=0");

  log.clear();
  expectNothing([] { Command::setEnableObject({}, false); });
  expectNothing([] { Command::setLockObject({}, true); });
  EXPECT_TRUE(noCommandLog());
}

TEST_F(SectionCommands, LockingAnInputLocksItsOutput) {
  auto media = put(0, 0, 99, {"図形", "ぼかし"});
  runUndoable([&] { Command::setLockEffect(media, media->effects[0], true); });
  EXPECT_TRUE(media->effects[0]->lock);
  EXPECT_TRUE(media->effects[1]->lock);
  EXPECT_FALSE(media->effects[2]->lock);
  EXPECT_EQ(lastInfo(), "set lock effect [図形] layer=0 frame=0 lock=1");

  // A filter alone.
  runUndoable([&] { Command::setLockEffect(media, media->effects[2], true); });
  EXPECT_TRUE(media->effects[2]->lock);
  runUndoable([&] { Command::setLockEffect(media, media->effects[1], false); });
  EXPECT_TRUE(media->effects[0]->lock);
  EXPECT_FALSE(media->effects[1]->lock);

  auto other = put(1, 0, 99, {"ぼかし", "色調補正"});
  runUndoable([&] { Command::setLockObject({media, other}, false); });
  for (const auto& object : {media, other})
    for (const auto& effect : object->effects) EXPECT_FALSE(effect->lock);
  EXPECT_EQ(lastPlace(), "Edit::EditCommand::setLockObject");
  EXPECT_EQ(lastInfo(), "set lock effect num=2 lock=0");
}

TEST_F(SectionCommands, AClickedObjectWidensToTheTargetsOnlyWithCtrl) {
  auto a = put(0, 0, 99, {"ぼかし"});
  auto b = put(1, 0, 99, {"ぼかし"});
  auto outside = put(2, 0, 99, {"ぼかし"});
  select({a, b});
  struct Case {
    const char* what;
    std::optional<bool> ctrl;  // no hook: the key counts as up
    std::shared_ptr<Edit::Object> clicked;
    std::vector<bool> locked;  // a, b, outside
  };
  const Case cases[] = {
      {"no keyboard hook", std::nullopt, a, {true, false, false}},
      {"Ctrl up", false, a, {true, false, false}},
      {"Ctrl down on a target", true, a, {true, true, false}},
      {"Ctrl down off the targets", true, outside, {false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestSupport::ScriptedEditUi services;
    if (c.ctrl) services.onIsControlKeyDown = [down = *c.ctrl] { return down; };
    Command::setLockObject({a, b, outside}, false);
    runUndoable([&] { Command::setLockClickedObject(c.clicked, true); });
    EXPECT_EQ(
        (std::vector<bool>{a->effects[0]->lock, b->effects[0]->lock, outside->effects[0]->lock}),
        c.locked);
    Command::setEnableClickedObject(c.clicked, false);
    EXPECT_EQ((std::vector<bool>{a->effects[0]->disable, b->effects[0]->disable,
                                 outside->effects[0]->disable}),
              c.locked);
    Command::setEnableObject({a, b, outside}, true);
  }
}

// --- groups ------------------------------------------------------------------------------

TEST_F(SectionCommands, GroupingMovesObjectsOutOfTheirGroups) {
  auto a = put(0, 0, 9, {"ぼかし"});
  auto b = put(1, 0, 9, {"ぼかし"});
  auto c = put(2, 0, 9, {"ぼかし"});
  auto d = put(3, 0, 9, {"ぼかし"});
  auto first = std::make_shared<Edit::Group>();
  auto second = std::make_shared<Edit::Group>();
  for (const auto& [object, group] :
       {std::pair{a, first}, std::pair{b, first}, std::pair{c, second}, std::pair{d, second}})
    object->joinGroup(group);
  select({a, c});
  runUndoable([] { Command::setGroup(); });
  ASSERT_TRUE(a->group);
  EXPECT_EQ(a->group, c->group);
  EXPECT_EQ(a->group->members, (std::unordered_set<Edit::Object*>{a.get(), c.get()}));
  // The members left behind stay grouped.
  EXPECT_EQ(b->group, first);
  EXPECT_EQ(first->members, (std::unordered_set<Edit::Object*>{b.get()}));
  EXPECT_EQ(d->group, second);
  EXPECT_EQ(lastPlace(), "Edit::EditCommand::setGroup");
  EXPECT_EQ(lastInfo(), "set group object num=2");
  // Undo puts the members back into the groups they came from.
  undo().undo();
  EXPECT_EQ(first->members, (std::unordered_set<Edit::Object*>{a.get(), b.get()}));
  undo().redo();

  runUndoable([] { Command::clearGroup(); });
  EXPECT_FALSE(a->group);
  EXPECT_FALSE(c->group);
  EXPECT_EQ(lastInfo(), "clear group object");

  // One selected object is no group.
  edit().clearSelection(false);
  select({b});
  log.clear();
  expectNothing([] { Command::setGroup(); });
  EXPECT_TRUE(noCommandLog());
}

// --- control objects ---------------------------------------------------------------------

TEST_F(SectionCommands, ControlObjectsReachDownToTheLowestSelectedLayer) {
  auto upper = put(1, 0, 9, {"グループ制御"});
  auto lowest = put(4, 0, 9, {"グループ制御"});
  auto plain = put(3, 0, 9, {"ぼかし"});
  ASSERT_TRUE(upper->controlFlag);
  kindAt(*lowest, 0).range.value = 7;
  select({upper, plain, lowest});
  runUndoable([] { Command::adjustLayerRange(); });
  EXPECT_EQ(kindAt(*upper, 0).range.value, 3);
  EXPECT_EQ(kindAt(*lowest, 0).range.value, 7);  // already on the lowest layer

  // Without a control object, or with it alone, nothing.
  edit().clearSelection(false);
  select({plain});
  expectNothing([] { Command::adjustLayerRange(); });
  edit().clearSelection(false);
  select({upper});
  expectNothing([] { Command::adjustLayerRange(); });
  EXPECT_TRUE(noCommandLog());
}

// --- effects -----------------------------------------------------------------------------

TEST_F(SectionCommands, SetEffectPlacesOrReplaces) {
  auto object = put(2, 30, 90, {"図形", "ぼかし", "色調補正"});
  const Effect::EffectBase* blur = object->effects[2].get();
  runUndoable([&] { Command::setEffect(object, "色調補正", blur, false); });
  EXPECT_EQ(chainOf(*object),
            (std::vector<std::string>{"図形", "標準描画", "ぼかし", "色調補正", "色調補正"}));
  EXPECT_EQ(lastPlace(), "Edit::EditCommand::setEffect");
  EXPECT_EQ(lastInfo(), "set effect [色調補正] layer=2 frame=30");

  blur = object->effects[2].get();
  runUndoable([&] { Command::setEffect(object, "座標", blur, true); });
  EXPECT_EQ(chainOf(*object),
            (std::vector<std::string>{"図形", "標準描画", "座標", "色調補正", "色調補正"}));

  // An unknown name: the failure reaches the caller, the chain and the history stay.
  expectNothing([&] {
    EXPECT_THROW(Command::setEffect(object, "無い効果", nullptr, false), std::exception);
  });
}

TEST_F(SectionCommands, AnEffectsMenuEntryRunsTheChainCommandThroughTheEditAccess) {
  auto object = put(0, 0, 50, {"ぼかし"});
  Edit::EffectEditAccess access;
  Effect::setEditAccess(&access);
  const Effect::EffectDefine* define = Effect::EffectService::instance()->findEffect("色調補正");
  runUndoable([&] { define->addEffect(object, nullptr, false); });
  Effect::setEditAccess(nullptr);
  EXPECT_EQ(chainOf(*object), (std::vector<std::string>{"ぼかし", "色調補正"}));
}

TEST_F(SectionCommands, LoadEffectAddsTheFileEffectsOrFailsQuietly) {
  const std::string path = install_.path() + "/set.effect";
  {
    System::File file;
    file.open(path, System::File::WriteExclusive);
    file.write("[Effect.0]\r\neffect.name=色調補正\r\n[Effect.1]\r\neffect.name=ぼかし\r\n");
  }
  auto object = put(1, 10, 60, {"図形", "ぼかし"});
  const Effect::EffectBase* output = object->effects[1].get();
  runUndoable([&] { Command::loadEffect(object, path, output, false); });
  EXPECT_EQ(chainOf(*object),
            (std::vector<std::string>{"図形", "標準描画", "色調補正", "ぼかし", "ぼかし"}));
  EXPECT_EQ(lastInfo(), "load effect [" + path + "] layer=1 frame=10");

  const std::string bad = install_.path() + "/bad.effect";
  {
    System::File file;
    file.open(bad, System::File::WriteExclusive);
    file.write("[Other]\r\nkey=1\r\n");
  }
  for (const std::string& failing : {install_.path() + "/missing.effect", bad}) {
    SCOPED_TRACE(failing);
    expectNothing([&] { EXPECT_NO_THROW(Command::loadEffect(object, failing, nullptr, false)); });
  }
}

// --- movements ---------------------------------------------------------------------------

TEST_F(SectionCommands, SetMovementTakesTheKindItsOptionsAndPoints) {
  auto object = put(0, 0, 99, {"座標"});
  object->boundaries = {30};
  auto& position = dynamic_cast<PositionEffect&>(*object->effects[0]);
  for (auto* item : position.link) item->resizeValues(object->pointCount());
  int pointed = 0;
  TestSupport::ScriptedEditUi services;
  services.onShowTimeControl = [&](const std::shared_ptr<Edit::Object>& target,
                                 Effect::EffectItemNumber& item) {
    EXPECT_EQ(target, object);
    EXPECT_EQ(&item, &position.py);
    ++pointed;
  };

  runUndoable([&] { Command::setMovement(object, position.py, EasedMove::kName); });
  for (auto* item : position.link) {
    EXPECT_EQ(item->movement->name, EasedMove::kName);
    EXPECT_EQ(item->flags, Effect::EffectItemNumber::FlagAccelerate);
    EXPECT_EQ(item->params, (std::vector<double>{5.0}));
    EXPECT_EQ(item->values.size(), 3u);
  }
  EXPECT_EQ(pointed, 1);
  EXPECT_EQ(lastPlace(), "Edit::EditCommand::setMovement");
  EXPECT_EQ(lastInfo(), "set move type [加速移動] layer=0 frame=0");

  // To a single value and back to a value per point.
  runUndoable([&] { Command::setMovement(object, position.px, "移動無し"); });
  EXPECT_EQ(position.pz.values.size(), 1u);
  EXPECT_EQ(position.pz.flags, 0);
  runUndoable([&] { Command::setMovement(object, position.px, "直線移動"); });
  EXPECT_EQ(position.pz.values.size(), 3u);

  // The movement it has already: a log line, no step.
  log.clear();
  expectNothing([&] { Command::setMovement(object, position.px, "直線移動"); });
  EXPECT_EQ(lastInfo(), "set move type [直線移動] layer=0 frame=0");
  // An unknown movement is refused before anything opens.
  expectNothing([&] {
    try {
      Command::setMovement(object, position.px, "無い移動");
      ADD_FAILURE() << "no exception";
    } catch (const std::exception& error) {
      EXPECT_NE(std::string(error.what()).find("not found movement."), std::string::npos);
    }
  });
}

TEST_F(SectionCommands, ToggledFlagsEndAlikeInTheLinkGroup) {
  auto object = put(0, 0, 99, {"座標", "ぼかし"});
  auto& position = dynamic_cast<PositionEffect&>(*object->effects[0]);
  constexpr int kAccelerate = Effect::EffectItemNumber::FlagAccelerate;
  struct Case {
    const char* what;
    std::vector<int> before;  // x, y, z
    int flag;
    std::vector<int> after;
  };
  const Case cases[] = {
      {"all off", {0, 0, 0}, kAccelerate, {1, 1, 1}},
      {"clicked off, one on already", {0, 0, 1}, kAccelerate, {1, 1, 1}},
      {"clicked on, one off already", {1, 0, 1}, kAccelerate, {0, 0, 0}},
      {"other bits stay", {2, 3, 2}, 2, {0, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (std::size_t i = 0; i < 3; ++i) position.link[i]->flags = c.before[i];
    runUndoable([&] { Command::toggleMovementFlag(object, position.px, c.flag); });
    EXPECT_EQ((std::vector<int>{position.px.flags, position.py.flags, position.pz.flags}), c.after);
    EXPECT_EQ(lastInfo(), "toggle move flag [" + std::to_string(c.flag) + "] layer=0 frame=0");
  }
  // Without a link group only the track itself.
  auto& alone = track(*object, 1);
  runUndoable([&] {
    Command::toggleMovementFlag(object, alone, Effect::EffectItemNumber::FlagIgnoreMidpoints);
  });
  EXPECT_EQ(alone.flags, Effect::EffectItemNumber::FlagIgnoreMidpoints);
  EXPECT_EQ(position.px.flags, 0);
}

TEST_F(SectionCommands, MovementSettingsThroughTheDialog) {
  auto object = put(0, 0, 99, {"座標"});
  auto& position = dynamic_cast<PositionEffect&>(*object->effects[0]);
  Command::setMovement(object, position.px, EasedMove::kName);

  // No dialog, or a cancelled one: nothing.
  expectNothing([&] { Command::showMovementSettingsDialog(object, position.px); });
  std::optional<double> answer;
  std::string caption;
  TestSupport::ScriptedEditUi services;
  services.onAskNumber = [&](const std::string& title, const std::string& label, double initial,
                           double minimum, double maximum) {
    caption = title;
    EXPECT_EQ(label, "設定値");
    EXPECT_EQ(initial, 5.0);
    EXPECT_EQ(minimum, -2147483648.0);
    EXPECT_EQ(maximum, 2147483647.0);
    return answer;
  };
  expectNothing([&] { Command::showMovementSettingsDialog(object, position.px); });
  EXPECT_EQ(caption, EasedMove::kName);

  answer = 12.0;
  log.clear();
  runUndoable([&] { Command::showMovementSettingsDialog(object, position.px); });
  for (auto* item : position.link) EXPECT_EQ(item->params, (std::vector<double>{12.0}));
  EXPECT_EQ(lastPlace(), "Edit::EditCommand::setMovementSettings");
  EXPECT_EQ(lastInfo(), "set movement settings layer=0 frame=0");

  // A movement without parameters offers nothing to set.
  caption.clear();
  Command::setMovement(object, position.px, "直線移動");
  expectNothing([&] { Command::showMovementSettingsDialog(object, position.px); });
  EXPECT_TRUE(caption.empty());
}

// --- cursor ------------------------------------------------------------------------------

TEST_F(SectionCommands, TheCursorJumpsBetweenTheFocusPoints) {
  auto object = put(0, 100, 200, {"ぼかし"});
  object->boundaries = {20, 50};  // points 100, 120, 150, 200
  scene().cursorFrame = 0;
  // Without a focus object nothing moves.
  Command::jumpNextSection();
  EXPECT_EQ(scene().cursorFrame, 0);
  edit().setFocusObject(object);
  struct Case {
    int from;
    bool next;
    int to;
  };
  const Case cases[] = {
      {10, true, 100},   {100, true, 120},  {130, true, 150},  {150, true, 200},  {200, true, 200},
      {199, true, 200},  {250, false, 200}, {200, false, 150}, {150, false, 120}, {135, false, 120},
      {121, false, 120}, {110, false, 100}, {100, false, 100}, {50, false, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + (c.next ? " next" : " prev"));
    scene().cursorFrame = c.from;
    if (c.next)
      Command::jumpNextSection();
    else
      Command::jumpPrevSection();
    EXPECT_EQ(scene().cursorFrame, c.to);
  }
  EXPECT_EQ(steps(), 0u);
  EXPECT_TRUE(noCommandLog());
}

TEST_F(SectionCommands, JumpToTimeMovesToTheConfirmedFrame) {
  put(0, 0, 500, {"ぼかし"});
  scene().cursorFrame = 7;
  Command::jumpToTime();  // no dialog: nothing
  EXPECT_EQ(scene().cursorFrame, 7);
  std::optional<int> answer;
  TestSupport::ScriptedEditUi services;
  services.onAskTimeFrame = [&](const std::string& caption, const std::string& seconds,
                              const std::string& frames, int initial) {
    EXPECT_EQ(caption, "指定時間に移動");
    EXPECT_EQ(seconds, "秒数指定");
    EXPECT_EQ(frames, "フレーム数指定");
    EXPECT_EQ(initial, scene().cursorFrame);  // starts at the cursor
    return answer;
  };
  Command::jumpToTime();  // cancelled
  EXPECT_EQ(scene().cursorFrame, 7);
  answer = 300;
  Command::jumpToTime();
  EXPECT_EQ(scene().cursorFrame, 300);
  answer = 100000;  // past the last frame: kept at it
  Command::jumpToTime();
  EXPECT_EQ(scene().cursorFrame, 500);
}

}  // namespace

// --- menu predicates ---------------------------------------------------------------------

namespace {

TEST(MenuPredicates, SplitAndMidpointTestsPerFrame) {
  Edit::Object object(0, 100, 200);
  object.boundaries = {20, 21};  // points 100, 120, 121, 200; section 1 is one frame long
  struct Case {
    int frame;
    bool split, add, addAtStart;
  };
  const Case cases[] = {
      {99, false, false, false}, {100, false, false, true},  {101, true, true, false},
      {120, true, false, true},  {121, true, false, true},   {122, true, true, false},
      {200, true, false, false}, {201, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    EXPECT_EQ(Edit::canSplitAt(c.frame)(&object), c.split);
    EXPECT_EQ(Edit::canAddSectionAt(c.frame)(&object), c.add);
    EXPECT_EQ(Edit::canAddSectionAtSectionStart(c.frame)(&object), c.addAtStart);
  }
  // A one-frame object has no room anywhere.
  Edit::Object single(0, 5, 6);
  EXPECT_FALSE(Edit::canAddSectionAtSectionStart(5)(&single));
}

}  // namespace
