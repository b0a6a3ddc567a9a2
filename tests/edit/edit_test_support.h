#pragma once
// The services the edit model runs with (event, undo, edit), a stand-in for the effect
// registry, and small effects of each kind for building chains.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "edit/edit_service.h"
#include "edit/effect_registry_access.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_text.h"
#include "effect/movement_registry.h"
#include "system/event_service.h"
#include "system/exception.h"
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

// An input effect for video objects.
class TestInput : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テスト入力";
  TestInput() : EffectBase(kName, Effect::EffectType::Input, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<TestInput>(); }

  Effect::EffectItemInteger frame{items, "再生位置", 1, 1, 100000};
};

// A group control: governs the layers below it.
class TestControl : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テスト制御";
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

// Knows the four test effects; any other name fails as the registry does.
class FakeRegistry : public Edit::EffectRegistryAccess {
 public:
  FakeRegistry() { Edit::setEffectRegistryAccess(this); }
  FakeRegistry(const FakeRegistry&) = delete;
  FakeRegistry& operator=(const FakeRegistry&) = delete;
  ~FakeRegistry() override { Edit::setEffectRegistryAccess(nullptr); }

  void setEffectByName(Edit::Object& object, std::string_view name) override {
    auto effect = createEffect(name);
    if (name == TestControl::kName) object.controlFlag = true;
    object.effects.push_back(std::move(effect));
  }

  std::shared_ptr<Effect::EffectBase> createEffect(std::string_view name) override {
    ++created;
    if (name == TestFilter::kName) return std::make_shared<TestFilter>();
    if (name == TestInput::kName) return std::make_shared<TestInput>();
    if (name == TestControl::kName) return std::make_shared<TestControl>();
    if (name == NumberFilter::kName) return std::make_shared<NumberFilter>();
    throw System::makeException("Effect::EffectService::findEffect", "not found effect.");
  }

  int created = 0;
};

// The event, undo and edit services in their start-up order, released in reverse, with
// the fake registry installed.
class EditServices {
 public:
  EditServices() = default;
  EditServices(const EditServices&) = delete;
  EditServices& operator=(const EditServices&) = delete;

  Edit::EditService& edit() { return *Edit::EditService::instance(); }
  Undo::UndoService& undo() { return *Undo::UndoService::instance(); }
  Event::EventService& events() { return *Event::EventService::instance(); }
  Edit::Scene& scene() { return *edit().currentScene(); }

  FakeRegistry registry;

 private:
  System::ServiceHolder<Event::EventService> eventHolder_;
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
