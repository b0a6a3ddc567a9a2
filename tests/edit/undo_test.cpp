// Undo and redo: every kind of item brings its target back to the identical state, steps
// are committed, trimmed and dropped as the history rules say, and the modified flag.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "edit/scripted_edit_ui.h"
#include "edit/color_setting_undo.h"
#include "edit/effect_undo_update.h"
#include "edit/group.h"
#include "edit/layer.h"
#include "edit/layer_undo.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "edit_test_support.h"
#include "system/exception_text.h"

namespace {

using TestSupport::EditServices;
using TestSupport::TestControl;
using TestSupport::TestFilter;
using TestSupport::whatOf;

// Everything about an object an undo item may touch, for comparing states.
struct ObjectState {
  int32_t layer, start, end;
  std::vector<int32_t> boundaries;
  std::shared_ptr<Edit::Group> group;
  Edit::EffectManager::EffectList effects;
  bool control;
  uint8_t clipping, camera;
  bool listed;  // its layer's slot lists it
  bool operator==(const ObjectState&) const = default;
};

ObjectState stateOf(const Edit::Scene& scene, const Edit::Object& object) {
  const auto& slot = scene.getLayerObjects(object.layer);
  return {object.layer,  object.start,          object.end,         object.boundaries,
          object.group,  object.effects,        object.controlFlag, object.clipping,
          object.camera, slot.contains(&object)};
}

struct UndoSteps : ::testing::Test {
  EditServices services;
  Edit::Scene& scene() { return services.scene(); }
  Undo::UndoService& undo() { return services.undo(); }
};

// One edit of one object, recorded by its push: undo gives back the state before it, redo
// the state after it, as often as asked.
struct ObjectEdit {
  const char* kind;
  std::function<void(Undo::UndoService&, const std::shared_ptr<Edit::Object>&)> push;
  std::function<void(Edit::UpdateSection&, Edit::Object&)> change;
};

TEST_F(UndoSteps, EveryObjectItemKindUndoesAndRedoesToTheIdenticalState) {
  auto group = std::make_shared<Edit::Group>();
  const ObjectEdit edits[] = {
      {"update: frames", [](auto& undo, auto& object) { undo.pushObjectUpdate(object); },
       [](auto& scope, auto& object) {
         object.start = 200;
         object.end = 260;
         scope.scene->markSort(object);
       }},
      {"update: layer", [](auto& undo, auto& object) { undo.pushObjectUpdate(object); },
       [](auto& scope, auto& object) {
         scope.scene->moveObjectToLayer(object.shared_from_this(), 5);
       }},
      {"update: scaled boundaries", [](auto& undo, auto& object) { undo.pushObjectUpdate(object); },
       [](auto& scope, auto& object) { scope.scene->scaleObjectLength(object, 40); }},
      {"delete", [](auto& undo, auto& object) { undo.pushObjectDelete(object); },
       [](auto& scope, auto& object) { scope.scene->removeObject(object); }},
      {"section", [](auto& undo, auto& object) { undo.pushObjectSection(object); },
       [](auto&, auto& object) { object.addSection(140, nullptr); }},
      {"group", [](auto& undo, auto& object) { undo.pushObjectGroup(object); },
       [group](auto&, auto& object) { object.joinGroup(group); }},
      {"effect chain", [](auto& undo, auto& object) { undo.pushObjectEffect(object); },
       [](auto&, auto& object) { object.effects.push_back(std::make_shared<TestFilter>()); }},
      {"flags", [](auto& undo, auto& object) { undo.pushObjectFlag(object); },
       [](auto&, auto& object) {
         object.clipping = 1;
         object.camera = 0;
       }},
  };
  int round = 0;
  for (const ObjectEdit& edit : edits) {
    SCOPED_TRACE(edit.kind);
    ++round;
    std::shared_ptr<Edit::Object> object;
    TestSupport::edit([&](auto& scope, auto& undo) {
      object = scope.scene->createEmptyObject(2, 100, 180);
      object->boundaries = {20, 50};
      object->effects.push_back(std::make_shared<TestFilter>());
      undo.pushObjectCreate(object);
    });
    const ObjectState before = stateOf(scene(), *object);
    TestSupport::edit([&](auto& scope, auto& undo) {
      edit.push(undo, object);
      edit.change(scope, *object);
    });
    const ObjectState after = stateOf(scene(), *object);
    ASSERT_NE(before, after);
    for (int again = 0; again < 2; ++again) {
      undo().undo();
      EXPECT_EQ(stateOf(scene(), *object), before);
      undo().redo();
      EXPECT_EQ(stateOf(scene(), *object), after);
    }
    // Undo the edit and the creation: the object leaves the scene.
    undo().undo();
    undo().undo();
    EXPECT_EQ(object->layer, -1);
    EXPECT_FALSE(scene().getLayerObjects(2).contains(object.get()));
    // A new edit drops the redo steps.
    TestSupport::edit([&](auto& scope, auto& undo) {
      auto other = scope.scene->createEmptyObject(9, round * 2, round * 2 + 1);
      undo.pushObjectCreate(other);
    });
    EXPECT_FALSE(undo().canRedo());
  }
}

TEST_F(UndoSteps, DeleteThenUndoPutsTheSameObjectWithTheSameEffectsBack) {
  std::shared_ptr<Edit::Object> object;
  TestSupport::edit([&](auto& scope, auto& undo) {
    object = scope.scene->createEmptyObject(1, 10, 20);
    object->effects.push_back(std::make_shared<TestFilter>());
    undo.pushObjectCreate(object);
  });
  const auto effect = object->effects[0];
  TestSupport::edit([&](auto& scope, auto& undo) {
    undo.pushObjectDelete(object);
    scope.scene->removeObject(*object);
  });
  EXPECT_TRUE(scene().getLayerObjects(1).objects.empty());
  undo().undo();
  ASSERT_EQ(scene().getLayerObjects(1).objects.size(), 1u);
  EXPECT_EQ(scene().getLayerObjects(1).objects[0], object);
  EXPECT_EQ(object->effects[0], effect);
  undo().redo();
  EXPECT_TRUE(scene().getLayerObjects(1).objects.empty());
  EXPECT_EQ(object->layer, -1);
}

TEST_F(UndoSteps, UpdateOfAnObjectWithoutBoundariesRestoresLayerAndFramesOnly) {
  auto object = TestSupport::place(0, 0, 9);
  TestSupport::edit([&](auto& scope, auto& undo) {
    undo.pushObjectUpdate(object);
    object->end = 30;
    scope.scene->markSort(*object);
  });
  object->boundaries = {5};  // changed outside the recorded edit
  undo().undo();
  EXPECT_EQ(object->end, 9);
  EXPECT_EQ(object->boundaries, (std::vector<int32_t>{5}));
}

TEST_F(UndoSteps, LayerRangeOfAControlObjectComesBackWithItsRangeTable) {
  std::shared_ptr<Edit::Object> control;
  TestSupport::edit([&](auto& scope, auto& undo) {
    control = scope.scene->createObject(TestControl::kName, 0, 0, 99);
    undo.pushObjectCreate(control);
  });
  auto& range = static_cast<TestControl&>(*control->effects[0]).range;
  TestSupport::edit([&](auto& scope, auto& undo) {
    undo.pushObjectLayerRange(control);
    range.value = 3;
    scope.scene->markRange(*control);
  });
  EXPECT_EQ(scene().getLayerObjects(0).rangeTable[0].span, 3);
  undo().undo();
  EXPECT_EQ(range.value, 0);
  EXPECT_EQ(scene().getLayerObjects(0).rangeTable[0].span, Edit::LayerObjects::kAllLayersBelow);
  undo().redo();
  EXPECT_EQ(range.value, 3);
  EXPECT_EQ(scene().getLayerObjects(0).rangeTable[0].span, 3);
}

TEST_F(UndoSteps, EffectValuesAndFlagsComeBackAndOnlyChangedItemsAreKept) {
  auto effect = std::make_shared<TestFilter>();
  effect->text.value = "hello world";
  TestSupport::edit([&](auto&, auto& undo) {
    undo.pushEffectUpdate(effect);
    effect->text.value = "hello there world";
    effect->lock = true;
  });
  const auto& step = scene().undoHistory.steps.front();
  ASSERT_EQ(step.size(), 1u);
  const auto& item =
      static_cast<const Undo::UndoItemTemplate<Effect::EffectBase, Effect::EffectUndoUpdate>&>(
          *step[0]);
  EXPECT_EQ(item.before().items[0], nullptr) << "the unchanged item is not kept";
  ASSERT_NE(item.after().items[1], nullptr);
  // The text keeps only its changed middle.
  EXPECT_LT(static_cast<const Effect::EffectItemText&>(*item.after().items[1]).value.size(), 17u);

  undo().undo();
  EXPECT_EQ(effect->text.value, "hello world");
  EXPECT_FALSE(effect->lock);
  undo().redo();
  EXPECT_EQ(effect->text.value, "hello there world");
  EXPECT_TRUE(effect->lock);
}

TEST_F(UndoSteps, AnEffectWhoseItemsChangedInNumberIsRefused) {
  struct Growing : Effect::EffectBase {
    Growing() : EffectBase("増える", 3, 1, 1) {}
    std::shared_ptr<EffectBase> create() const override { return std::make_shared<Growing>(); }
    std::vector<std::unique_ptr<Effect::EffectItemInteger>> added;
  };
  auto effect = std::make_shared<Growing>();
  auto scope = services.edit().beginUpdate();
  scope.beginUndo();
  undo().pushEffectUpdate(effect);
  effect->added.push_back(
      std::make_unique<Effect::EffectItemInteger>(effect->items, "追加", 0, 0, 1));
  EXPECT_EQ(whatOf([&] { scope.close(); }),
            "different number of items.\n\n[Place]\nEffect::EffectUndoUpdate::commit()");
  EXPECT_TRUE(scene().undoHistory.steps.empty());
  EXPECT_FALSE(undo().recording);
}

TEST_F(UndoSteps, LayerItemKindsUndoAndRedo) {
  // Layers 0..2 named, each with one object.
  std::vector<std::shared_ptr<Edit::Object>> objects;
  for (int layer = 0; layer < 3; ++layer) objects.push_back(TestSupport::place(layer, 0, 9));
  auto record = [&](int layer) { return scene().getLayerObjects(layer).layer; };
  for (int layer = 0; layer < 3; ++layer) record(layer)->name = "L" + std::to_string(layer);
  auto names = [&] {
    std::string text;
    for (int layer = 0; layer < 3; ++layer) text += record(layer)->name + ",";
    return text;
  };

  // Settings.
  auto first = record(0);
  TestSupport::edit([&](auto&, auto& undo) {
    undo.pushLayerUpdate(first);
    first->hidden = true;
    first->locked = true;
    first->name = "renamed";
  });
  undo().undo();
  EXPECT_FALSE(first->hidden);
  EXPECT_FALSE(first->locked);
  EXPECT_EQ(first->name, "L0");
  undo().redo();
  EXPECT_EQ(first->name, "renamed");
  first->name = "L0";

  // Move: the record and its objects go back.
  auto moved = record(0);
  TestSupport::edit([&](auto& scope, auto& undo) {
    auto item = std::make_unique<Undo::UndoItemTemplate<Edit::Layer, Edit::LayerUndoMove>>(moved);
    item->captureBefore();
    undo.pushItem(std::move(item));
    scope.scene->moveLayer(0, 2);
  });
  EXPECT_EQ(names(), "L1,L2,L0,");
  undo().undo();
  EXPECT_EQ(names(), "L0,L1,L2,");
  EXPECT_EQ(objects[0]->layer, 0);
  undo().redo();
  EXPECT_EQ(names(), "L1,L2,L0,");
  EXPECT_EQ(objects[0]->layer, 2);
  undo().undo();

  // Create: inserting a record, undone by deleting it.
  auto inserted = std::make_shared<Edit::Layer>();
  inserted->name = "new";
  TestSupport::edit([&](auto& scope, auto& undo) {
    auto item = std::make_unique<Undo::UndoItemTemplate<Edit::Layer, Edit::LayerUndoCreateDelete>>(
        inserted);
    undo.pushItem(std::move(item));  // before: not in the table
    scope.scene->insertLayer(1, inserted);
  });
  EXPECT_EQ(names(), "L0,new,L1,");
  undo().undo();
  EXPECT_EQ(names(), "L0,L1,L2,");
  EXPECT_EQ(inserted->index, -1);
  undo().redo();
  EXPECT_EQ(names(), "L0,new,L1,");
  EXPECT_EQ(objects[2]->layer, 3);
}

TEST_F(UndoSteps, ColourSettingComesBack) {
  auto setting = std::make_shared<Component::ColorSetting>();
  setting->colors[0] = {1, 0, 0, 1};
  TestSupport::edit([&](auto&, auto& undo) {
    undo.pushColorSettingUpdate(setting);
    setting->colors[1] = {0, 0, 1, 0.5f};
  });
  undo().undo();
  EXPECT_EQ(setting->colors[1], (Component::ColorValue{0, 0, 0, 0}));
  EXPECT_EQ(setting->colors[0], (Component::ColorValue{1, 0, 0, 1}));
  undo().redo();
  EXPECT_EQ(setting->colors[1], (Component::ColorValue{0, 0, 1, 0.5f}));
}

TEST_F(UndoSteps, AnEditThatChangedNothingLeavesHistoryAndModifiedFlagAlone) {
  auto object = TestSupport::place(0, 0, 9);
  TestSupport::edit([&](auto&, auto& undo) { undo.pushObjectFlag(object); });
  EXPECT_TRUE(scene().undoHistory.steps.empty());
  EXPECT_FALSE(undo().modified);

  TestSupport::edit([&](auto&, auto& undo) {
    undo.pushObjectFlag(object);
    object->clipping = 1;
  });
  EXPECT_TRUE(undo().modified);
  undo().undo();
  const auto redoSteps = scene().undoHistory.undone;
  TestSupport::edit([&](auto&, auto& undo) { undo.pushObjectFlag(object); });
  EXPECT_EQ(scene().undoHistory.undone, redoSteps) << "an empty step keeps the redo steps";
  EXPECT_TRUE(undo().canRedo());
}

TEST_F(UndoSteps, UndoMaxTrimsTheOldestSteps) {
  auto object = TestSupport::place(0, 0, 9);
  auto step = [&](uint8_t camera) {
    TestSupport::edit([&](auto&, auto& undo) {
      undo.pushObjectFlag(object);
      object->camera = camera;
    });
  };
  undo().undoMax = 3;
  for (uint8_t value : {0, 1, 0, 1}) step(value);
  EXPECT_EQ(scene().undoHistory.steps.size(), 3u);
  for (int i = 0; i < 3; ++i) undo().undo();
  EXPECT_EQ(object->camera, 0) << "the first step is gone: its change stays";
  EXPECT_FALSE(undo().canUndo());

  undo().undoMax = 0;
  undo().modified = false;
  step(1);
  EXPECT_TRUE(scene().undoHistory.steps.empty());
  EXPECT_FALSE(undo().canUndo());
  EXPECT_TRUE(undo().modified) << "a change counts even when it cannot be undone";
}

TEST_F(UndoSteps, TwoUndosThenANewStepDropsBothRedoSteps) {
  auto object = TestSupport::place(0, 0, 9);
  for (int end : {10, 11, 12}) {
    TestSupport::edit([&](auto& scope, auto& undo) {
      undo.pushObjectUpdate(object);
      object->end = end;
      scope.scene->markSort(*object);
    });
  }
  undo().undo();
  undo().undo();
  EXPECT_EQ(object->end, 10);
  TestSupport::edit([&](auto& scope, auto& undo) {
    undo.pushObjectUpdate(object);
    object->end = 20;
    scope.scene->markSort(*object);
  });
  EXPECT_EQ(scene().undoHistory.steps.size(), 2u);
  EXPECT_FALSE(undo().canRedo());
  undo().undo();
  EXPECT_EQ(object->end, 10);
}

TEST_F(UndoSteps, EachSceneHasItsOwnHistory) {
  auto rootObject = TestSupport::place(0, 0, 9);
  TestSupport::edit([&](auto&, auto& undo) {
    undo.pushObjectFlag(rootObject);
    rootObject->clipping = 1;
  });
  {
    auto scope = services.edit().beginUpdate();
    services.edit().setCurrentScene(1);
    scope.close();
  }
  EXPECT_FALSE(undo().canUndo());
  auto other = TestSupport::place(0, 0, 9);
  TestSupport::edit([&](auto&, auto& undo) {
    undo.pushObjectFlag(other);
    other->clipping = 1;
  });
  undo().undo();
  EXPECT_EQ(other->clipping, 0);
  EXPECT_EQ(rootObject->clipping, 1) << "the root scene's history is not touched";
  {
    auto scope = services.edit().beginUpdate();
    services.edit().setCurrentScene(0);
    scope.close();
  }
  EXPECT_TRUE(undo().canUndo());
  EXPECT_FALSE(undo().canRedo());
  undo().undo();
  EXPECT_EQ(rootObject->clipping, 0);
}

TEST_F(UndoSteps, ReplayingRecordsNothingAndTellsEditDataChanged) {
  auto object = TestSupport::place(0, 0, 9);
  TestSupport::edit([&](auto&, auto& undo) {
    undo.pushObjectFlag(object);
    object->clipping = 1;
  });
  int editEvents = 0;
  services.events().editDataChanged().add([&](const Event::ObjectReference&) { ++editEvents; });
  undo().undo();
  undo().redo();
  EXPECT_EQ(editEvents, 2);
  EXPECT_EQ(scene().undoHistory.steps.size(), 1u);
}

TEST_F(UndoSteps, AFailingItemLeavesTheEarlierItemsAppliedAndTheScopeClosed) {
  // Two items; undo replays the later first, so the earlier one (the effect whose item
  // count no longer matches) fails after the flags came back.
  auto object = TestSupport::place(0, 0, 9);
  struct Growing : Effect::EffectBase {
    Growing() : EffectBase("増える", 3, 1, 1) {}
    std::shared_ptr<EffectBase> create() const override { return std::make_shared<Growing>(); }
    Effect::EffectItemInteger value{items, "値", 0, 0, 10};
    std::vector<std::unique_ptr<Effect::EffectItemInteger>> added;
  };
  auto effect = std::make_shared<Growing>();
  TestSupport::edit([&](auto&, auto& undo) {
    undo.pushEffectUpdate(effect);
    undo.pushObjectFlag(object);
    effect->value.value = 5;
    object->clipping = 1;
  });
  effect->added.push_back(
      std::make_unique<Effect::EffectItemInteger>(effect->items, "追加", 0, 0, 1));
  EXPECT_EQ(whatOf([&] { undo().undo(); }),
            "different number of items.\n\n[Place]\nEffect::EffectUndoUpdate::restore()");
  EXPECT_EQ(object->clipping, 0);
  EXPECT_EQ(scene().undoHistory.undone, 1u);
  auto scope = services.edit().beginUpdate();  // the replay's scope was closed
  scope.close();
}

TEST_F(UndoSteps, TheTextKeysActOnlyOnAStepThatChangedNothingButTheirText) {
  auto effect = std::make_shared<TestFilter>();
  effect->text.value = "abc";
  TestSupport::edit([&](auto&, auto& undo) {
    undo.pushEffectUpdate(effect);
    effect->text.value = "abcd";
  });
  std::vector<bool> rebuilds;
  TestSupport::ScriptedEditUi ui;
  ui.onRefreshSettingWindows = [&](const Edit::UpdateSection& scope) {
    rebuilds.push_back(scope.rebuildEffectSetting || !scope.updateTextSetting);
  };
  // Another item's key does nothing.
  undo().undoText(effect->amount);
  EXPECT_EQ(effect->text.value, "abcd");
  undo().undoText(effect->text);
  EXPECT_EQ(effect->text.value, "abc");
  undo().redoText(effect->text);
  EXPECT_EQ(effect->text.value, "abcd");
  EXPECT_EQ(rebuilds, (std::vector<bool>{false, false}))
      << "the text window keeps its editing state";

  // A step that also changed another item is left to the ordinary undo.
  TestSupport::edit([&](auto&, auto& undo) {
    undo.pushEffectUpdate(effect);
    effect->text.value = "x";
    effect->amount.value = 3;
  });
  undo().undoText(effect->text);
  EXPECT_EQ(effect->text.value, "x");
  undo().undo();
  const auto undone = scene().undoHistory.undone;
  undo().redoText(effect->text);
  EXPECT_EQ(scene().undoHistory.undone, undone) << "redo key leaves the history alone";
}

}  // namespace
