// The edit-update scope: what its close does and in which order, the events it fires, the
// lock it shares with readers, and what happens when an edit fails part-way.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "edit/scripted_edit_ui.h"
#include "edit/edit_service.h"
#include "edit/effect_edit_access.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_item_integer.h"
#include "../system/log_capture.h"
#include "edit_test_support.h"
#include "system/fake_ui_bridge.h"
#include "system/event_service.h"
#include "system/exception_text.h"
#include "system/thread_test_support.h"

namespace {

using namespace std::chrono_literals;
using TestSupport::EditServices;
using TestSupport::whatOf;

// Every list the scope may fire, recorded in firing order.
struct Heard {
  explicit Heard(Event::EventService& events) {
    events.editDataChanged().add([this](const Event::ObjectReference& object) {
      lists.push_back("7");
      editObject = object;
    });
    events.layersChanged().add([this] { lists.push_back("8"); });
    events.sceneChanged().add([this](int id) { lists.push_back("5:" + std::to_string(id)); });
    events.focusObjectChanged().add([this](const Event::ObjectReference& object) {
      lists.push_back("3");
      focus = object;
    });
    events.cursorFrameChanged().add(
        [this](int frame) { lists.push_back("0:" + std::to_string(frame)); });
    events.selectionChanged().add([this] { lists.push_back("9"); });
  }
  std::vector<std::string> lists;
  Event::ObjectReference editObject;
  Event::ObjectReference focus;
};

struct Scope : ::testing::Test {
  EditServices services;
  Heard heard{services.events()};
};

TEST_F(Scope, FiresTheRequestedListsInTheirOrderAfterTheLockIsFree) {
  auto object = TestSupport::place(0, 0, 9);
  services.scene().cursorFrame = 4;
  services.scene().focusObject = object;
  bool lockFreeInListener = false;
  services.events().editDataChanged().add([&](const Event::ObjectReference&) {
    // A listener may open the next scope: the lock is free again.
    auto next = services.edit().beginUpdate();
    lockFreeInListener = true;
    next.close();
  });

  auto scope = services.edit().beginUpdate();
  scope.notifyFrame = true;
  scope.notifyFocus = true;
  scope.notifyScene = true;
  scope.sceneId = 7;
  scope.notifyLayer = true;
  scope.notifyObject = true;
  scope.object = object;
  scope.close();
  EXPECT_EQ(heard.lists, (std::vector<std::string>{"7", "8", "5:7", "3", "0:4"}));
  EXPECT_EQ(heard.editObject, object);
  EXPECT_EQ(heard.focus, object);
  EXPECT_TRUE(lockFreeInListener);
  EXPECT_EQ(scope.object, nullptr) << "the closed scope lets its object go";
}

TEST_F(Scope, AScopeWithoutRequestsFiresNothingButStillStopsThePlayer) {
  TestSupport::FakeUiBridge bridge;
  auto scope = services.edit().beginUpdate();
  EXPECT_EQ(bridge.playerStops, 1);
  scope.close();
  scope.close();  // a second close does nothing
  EXPECT_TRUE(heard.lists.empty());
}

TEST_F(Scope, RemovingTheFocusObjectClearsTheFocusAndTellsSoUnasked) {
  auto object = TestSupport::place(0, 0, 9);
  services.scene().focusObject = object;
  services.edit().selectObject(object, false);
  heard.lists.clear();

  auto scope = services.edit().beginUpdate();
  scope.updateLayer = true;
  scope.scene->removeObject(*object);
  scope.close();
  EXPECT_EQ(services.scene().focusObject, nullptr);
  EXPECT_TRUE(services.scene().selection.empty()) << "a removed object leaves the selection";
  EXPECT_FALSE(object->selected);
  EXPECT_EQ(heard.lists, (std::vector<std::string>{"3", "9"}));
  EXPECT_EQ(heard.focus, nullptr);
}

TEST_F(Scope, TheSettingWindowsAreRefreshedAfterTheLockIsReleased) {
  std::promise<bool> readerGotIn;
  bool refreshed = false;
  TestSupport::ScriptedEditUi ui;
  ui.onRefreshSettingWindows = [&](const Edit::UpdateSection& scope) {
    refreshed = scope.updateTextSetting;
    // A reader gets the lock while the windows refresh.
    std::thread reader([&] {
      auto read = services.edit().beginRead();
      readerGotIn.set_value(true);
    });
    reader.join();
  };
  TestSupport::Watchdog watchdog("refresh with the lock released");
  auto scope = services.edit().beginUpdate();
  scope.updateTextSetting = true;
  scope.close();
  EXPECT_TRUE(refreshed);
  EXPECT_TRUE(readerGotIn.get_future().get());
}

TEST_F(Scope, APresetColourRenameRunsInsideAnEditThatRefreshesTheWindows) {
  TestSupport::ScriptedEditUi ui;
  bool refreshed = false;
  ui.onRefreshSettingWindows = [&](const Edit::UpdateSection&) { refreshed = true; };
  Edit::EffectEditAccess access;
  bool ranInsideAScope = false;
  access.runPresetColorUpdate([&] {
    // A scope is open: a second one is refused.
    ranInsideAScope = whatOf([&] { services.edit().beginUpdate(); })
                          .starts_with("update section is already open.");
  });
  EXPECT_TRUE(ranInsideAScope);
  EXPECT_TRUE(refreshed);
  EXPECT_EQ(heard.lists, (std::vector<std::string>{"7"}));
}

TEST_F(Scope, ScopesDoNotNest) {
  auto scope = services.edit().beginUpdate();
  EXPECT_EQ(whatOf([&] { services.edit().beginUpdate(); }),
            "update section is already open.\n\n[Place]\nEdit::EditService::beginUpdate()");
  scope.close();
  auto next = services.edit().beginUpdate();  // open again once closed
  next.close();
}

TEST_F(Scope, ReadersShareTheLockAndWaitForAnUpdate) {
  TestSupport::Watchdog watchdog("readers and updates");
  {
    // Two readers at once.
    auto first = services.edit().beginRead();
    auto second = std::async(std::launch::async, [&] {
      auto read = services.edit().beginRead();
      return read.scene.get();
    });
    EXPECT_EQ(second.get(), first.scene.get());
  }
  // A reader waits while an update holds the lock.
  auto scope = services.edit().beginUpdate();
  std::atomic<bool> readerIn{false};
  std::thread reader([&] {
    auto read = services.edit().beginRead();
    readerIn = true;
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(readerIn) << "a reader got in during an update";
  scope.close();
  reader.join();
  EXPECT_TRUE(readerIn);
}

TEST_F(Scope, AReaderNeverSeesAHalfMadeChange) {
  // Two objects that every edit moves together; a reader checks they always agree.
  auto a = TestSupport::place(0, 0, 9);
  auto b = TestSupport::place(1, 0, 9);
  std::atomic<bool> stop{false};
  std::atomic<int> reads{0};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    while (!stop) {
      auto read = services.edit().beginRead();
      const auto& first = read.scene->getLayerObjects(0).objects;
      const auto& second = read.scene->getLayerObjects(1).objects;
      if (first.size() != 1 || second.size() != 1 || first[0]->start != second[0]->start) ++torn;
      ++reads;
    }
  });
  TestSupport::Watchdog watchdog("reader against updates");
  for (int step = 1; step <= 100; ++step) {
    auto scope = services.edit().beginUpdate();
    scope.updateLayer = true;
    a->start = step * 20;
    a->end = a->start + 9;
    scope.scene->markSort(*a);
    std::this_thread::sleep_for(200us);  // the reader's chance to look in between
    b->start = a->start;
    b->end = a->end;
    scope.scene->markSort(*b);
    scope.close();
  }
  ASSERT_TRUE(TestSupport::waitUntil([&] { return reads > 10; }));
  stop = true;
  reader.join();
  EXPECT_EQ(torn, 0);
}

TEST_F(Scope, AnEditThatThrowsStillCommitsItsStepAndTellsTheListeners) {
  auto object = TestSupport::place(0, 0, 9);
  heard.lists.clear();
  auto& history = services.scene().undoHistory;
  const auto steps = history.steps.size();
  try {
    auto scope = services.edit().beginUpdate();
    scope.updateLayer = true;
    scope.notifyObject = true;
    scope.beginUndo();
    services.undo().pushObjectDelete(object);
    scope.scene->removeObject(*object);
    throw std::runtime_error("command failed");
  } catch (const std::runtime_error&) {
  }
  // What the command did before it failed is a finished edit: announced and undoable.
  EXPECT_EQ(heard.lists, std::vector<std::string>{"7"});
  EXPECT_EQ(history.steps.size(), steps + 1) << "the step was committed";
  EXPECT_FALSE(services.undo().recording);
  EXPECT_TRUE(services.scene().getLayerObjects(0).objects.empty());
  services.undo().undo();  // opens a scope of its own: the lock is free
  EXPECT_EQ(object->layer, 0) << "undo brings the removed object back";
}

// Each way finishing an unclosed scope can fail, while the command's own exception unwinds.
struct FinishFailure {
  const char* name;
  // Records a change in the open scope (of the object on layer 0) that makes its finish fail.
  using Spoil = void (*)(EditServices&, Edit::UpdateSection&, Edit::Object&);
  Spoil spoil;
  const char* logged;  // the start of the failure's text in the error log
  std::size_t stepsKept;
};

class UnclosedScopeFailure : public ::testing::TestWithParam<FinishFailure> {
 protected:
  EditServices services;
};

TEST_P(UnclosedScopeFailure, IsLoggedAndNeverThrownFromTheDestructor) {
  const FinishFailure& failure = GetParam();
  auto object = TestSupport::place(0, 0, 9);
  TestSupport::LogCapture log;
  bool commandFailureArrived = false;
  try {
    auto scope = services.edit().beginUpdate();
    scope.beginUndo();
    failure.spoil(services, scope, *object);
    throw std::runtime_error("command failed");
  } catch (const std::runtime_error& exception) {
    commandFailureArrived = std::string(exception.what()) == "command failed";
  }
  EXPECT_TRUE(commandFailureArrived) << "the command's own exception reaches the caller";
  EXPECT_EQ(services.scene().undoHistory.steps.size(), failure.stepsKept);
  EXPECT_FALSE(services.undo().recording);
  std::vector<std::string> errors;
  for (const auto& record : log.records())
    if (record.level == "ERROR" && record.place == "Edit::UpdateSection::~UpdateSection")
      errors.push_back(record.text);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].starts_with(failure.logged)) << errors[0];
  auto next = services.edit().beginUpdate();  // the lock is free
  next.close();
}

// An effect whose item list grows between the two snapshots: its undo item cannot commit.
struct Growing : Effect::EffectBase {
  Growing() : EffectBase("増える", 3, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<Growing>(); }
  std::vector<std::unique_ptr<Effect::EffectItemInteger>> added;
};

INSTANTIATE_TEST_SUITE_P(
    Cases, UnclosedScopeFailure,
    ::testing::Values(
        FinishFailure{"CommitFailsAndDropsTheStep",
                      [](EditServices& services, Edit::UpdateSection&, Edit::Object&) {
                        auto effect = std::make_shared<Growing>();
                        services.undo().pushEffectUpdate(effect);
                        effect->added.push_back(std::make_unique<Effect::EffectItemInteger>(
                            effect->items, "追加", 0, 0, 1));
                      },
                      "closing the update failed.\ndifferent number of items.", 0},
        FinishFailure{"ListenerFailsAfterTheCommit",
                      [](EditServices& services, Edit::UpdateSection& scope,
                         Edit::Object& object) {
                        services.events().editDataChanged().add(
                            [](const Event::ObjectReference&) {
                              throw std::runtime_error("listener failed");
                            });
                        scope.notifyObject = true;
                        services.undo().pushObjectUpdate(scope.scene->getLayerObjects(0).objects[0]);
                        object.end = 20;
                      },
                      "closing the update failed.\nlistener failed", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Scope, AListenersExceptionReachesTheCallerAfterTheLockAndTheStepAreDone) {
  auto object = TestSupport::place(0, 0, 9);
  services.events().editDataChanged().add(
      [](const Event::ObjectReference&) { throw std::runtime_error("listener failed"); });
  const auto steps = services.scene().undoHistory.steps.size();
  auto scope = services.edit().beginUpdate();
  scope.notifyObject = true;
  scope.beginUndo();
  services.undo().pushObjectUpdate(object);
  object->end = 20;
  EXPECT_EQ(whatOf([&] { scope.close(); }), "listener failed");
  EXPECT_EQ(services.scene().undoHistory.steps.size(), steps + 1) << "the step was committed";
  auto next = services.edit().beginUpdate();  // the lock is free
  next.close();
}

TEST_F(Scope, ALayerUpdateFailureStillReleasesTheLockAndCommits) {
  // A control whose effect refuses its layer range makes the rebuild throw.
  struct NoRange : Effect::EffectBase {
    NoRange() : EffectBase("範囲なし", Effect::EffectType::Control, 3, 3) {}
    std::shared_ptr<EffectBase> create() const override { return std::make_shared<NoRange>(); }
  };
  auto scope = services.edit().beginUpdate();
  scope.updateLayer = true;
  scope.notifyObject = true;
  scope.beginUndo();
  auto object = scope.scene->createEmptyObject(0, 0, 9);
  object->effects.push_back(std::make_shared<NoRange>());
  object->controlFlag = true;
  services.undo().pushObjectCreate(object);
  EXPECT_EQ(whatOf([&] { scope.close(); }),
            "not implement.\n\n[Place]\nEffect::EffectBase::getLayerRange()");
  EXPECT_TRUE(heard.lists.empty());
  EXPECT_EQ(services.scene().undoHistory.steps.size(), 1u);
  auto next = services.edit().beginUpdate();
  next.close();
}

}  // namespace
