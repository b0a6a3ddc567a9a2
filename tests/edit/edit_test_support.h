#pragma once
// The services the edit model runs with (event, effect registry, undo, edit) and small
// effects of each kind for building chains.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_text.h"
#include "effect/effect_service.h"
#include "effect/movement_registry.h"
#include "system/event_service.h"
#include "system/exception.h"
#include "system/scoped_install_folder.h"
#include "system/service_holder.h"

namespace TestSupport {

// A video filter with a number-like integer item and a text item.
class TestFilter : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テストフィルタ";
  TestFilter() : EffectBase(kName, Effect::EffectType::Filter, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<TestFilter>(); }

  Effect::EffectItemInteger amount{items, "量", 0, -1000, 1000};
  Effect::EffectItemText text{items, "テキスト", ""};
};

// An input effect for video objects; its objects draw through the standard output below.
class TestInput : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テスト入力";
  TestInput() : EffectBase(kName, Effect::EffectType::Input, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<TestInput>(); }

  Effect::EffectItemInteger frame{items, "再生位置", 1, 1, 100000};
};

// The standard drawing output that an input object is given.
class TestOutput : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "標準描画";
  TestOutput() : EffectBase(kName, Effect::EffectType::Output, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<TestOutput>(); }
};

// A group control: governs the layers below it.
class TestControl : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "グループ制御";
  TestControl() : EffectBase(kName, Effect::EffectType::Control, 3, 3) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<TestControl>(); }
  Effect::EffectItemLayerRange* getLayerRange() override { return &range; }

  Effect::EffectItemLayerRange range{items, "対象レイヤー数", 0};
};

// A video filter with a number track that moves along a straight line between its
// points (0 .. 1000, step 1).
class NumberFilter : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テスト数値";
  NumberFilter() : EffectBase(kName, Effect::EffectType::Filter, 1, 1) {
    x.movement = Effect::MovementRegistry::instance().findMovement("直線移動");
    x.resizeValues(2);
  }
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<NumberFilter>(); }

  Effect::EffectItemNumber x{items, "X", 0, -1000, 1000, 1};
};

// The effect registry with the test effects. It is built over an install folder of its
// own (it writes its default palette when it starts); the path variables name the test's
// folders again once it stands.
class TestRegistry {
 public:
  TestRegistry() {
    Effect::EffectService::Catalogue catalogue;
    catalogue.firstEffects = [](Effect::EffectService& registry) {
      registry.registerEffect<TestFilter>();
      registry.registerEffect<TestInput>();
      registry.registerEffect<TestOutput>();
      registry.registerEffect<TestControl>();
      registry.registerEffect<NumberFilter>();
    };
    Effect::EffectService::setCatalogue(std::move(catalogue));
    ScopedInstallFolder install;
    registry_.emplace();
  }
  TestRegistry(const TestRegistry&) = delete;
  TestRegistry& operator=(const TestRegistry&) = delete;
  ~TestRegistry() {
    registry_.reset();
    Effect::EffectService::setCatalogue({});
  }

 private:
  std::optional<System::ServiceHolder<Effect::EffectService>> registry_;
};

// The event, undo and edit services in their start-up order, released in reverse, with
// the test effects' registry between the event and the undo service.
class EditServices {
 public:
  EditServices() = default;
  EditServices(const EditServices&) = delete;
  EditServices& operator=(const EditServices&) = delete;

  Edit::EditService& edit() { return *Edit::EditService::instance(); }
  Undo::UndoService& undo() { return *Undo::UndoService::instance(); }
  Event::EventService& events() { return *Event::EventService::instance(); }
  Edit::Scene& scene() { return *edit().currentScene(); }


 private:
  System::ServiceHolder<Event::EventService> eventHolder_;
  TestRegistry registry_;
  System::ServiceHolder<Undo::UndoService> undoHolder_;
  System::ServiceHolder<Edit::EditService> editHolder_;
};

// Runs `change` in one edit-update scope with an undo step, the way commands do.
inline void edit(const std::function<void(Edit::UpdateSection&, Undo::UndoService&)>& change) {
  auto scope = Edit::EditService::instance()->beginUpdate();
  scope.updateLayer = true;
  scope.notifyObject = true;
  scope.beginUndo();
  change(scope, *Undo::UndoService::instance());
  scope.close();
}

// Puts an empty object on the current scene and closes the scope.
inline std::shared_ptr<Edit::Object> place(int layer, int start, int end) {
  auto scope = Edit::EditService::instance()->beginUpdate();
  scope.updateLayer = true;
  auto object = scope.scene->createEmptyObject(layer, start, end);
  scope.close();
  return object;
}

// The frames of a layer's objects in slot order: (start, end) pairs.
inline std::vector<std::pair<int, int>> framesOf(const Edit::LayerObjectManager& table, int layer) {
  std::vector<std::pair<int, int>> frames;
  for (const auto& object : table.getLayerObjects(layer).objects)
    frames.emplace_back(object->start, object->end);
  return frames;
}

}  // namespace TestSupport
