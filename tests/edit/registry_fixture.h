#pragma once
// A registry of the made-up effects of every kind (effect_kinds.h) with the event, undo and
// edit services in their start-up order, for tests of effect chains and project files.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_service.h"
#include "effect_kinds.h"
#include "system/event_service.h"
#include "system/file.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"

namespace ChainFixture {

class RegistryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    startServices(kindCatalogue());
  }
  // Starts the services in their order with the registry made of `catalogue`.
  void startServices(Effect::EffectService::Catalogue catalogue) {
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
    parameters_.emplace();
    Effect::EffectService::setCatalogue(std::move(catalogue));
    events_.emplace();
    registry_.emplace();
    undo_.emplace();
    edit_.emplace();
  }
  void TearDown() override {
    edit_.reset();
    undo_.reset();
    registry_.reset();
    events_.reset();
    Effect::EffectService::setCatalogue({});
    parameters_.reset();
    System::FileName::resetVariableList();
  }

  Edit::EditService& edit() { return *Edit::EditService::instance(); }
  Edit::Scene& scene() { return *edit().currentScene(); }
  const Effect::EffectDefine& define(const char* name) {
    return *Effect::EffectService::instance()->findEffect(name);
  }

  static std::vector<std::string> chainOf(const Edit::EffectManager& chain) {
    std::vector<std::string> names;
    for (const auto& effect : chain.effects) names.emplace_back(effect->name);
    return names;
  }
  static KindEffect& kindAt(const Edit::EffectManager& chain, std::size_t index) {
    return dynamic_cast<KindEffect&>(*chain.effects.at(index));
  }
  // An object on the layer with the named effects put on in turn, outside any undo step.
  std::shared_ptr<Edit::Object> put(int layer, int start, int end,
                                    std::initializer_list<const char*> effects) {
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    auto object = scene().createEmptyObject(layer, start, end);
    for (const char* name : effects) object->setEffectByName(name, nullptr);
    scope.close();
    return object;
  }
  // An object off the scene with the named effects put on in turn.
  static std::shared_ptr<Edit::Object> chain(std::initializer_list<const char*> names) {
    auto object = std::make_shared<Edit::Object>(0, 0, 99);
    for (const char* name : names) object->setEffectByName(name, nullptr);
    return object;
  }

  TestSupport::TempFolder install_;
  std::optional<System::ServiceHolder<Setting::ParameterIni>> parameters_;
  std::optional<System::ServiceHolder<Event::EventService>> events_;
  std::optional<System::ServiceHolder<Effect::EffectService>> registry_;
  std::optional<System::ServiceHolder<Undo::UndoService>> undo_;
  std::optional<System::ServiceHolder<Edit::EditService>> edit_;
};

}  // namespace ChainFixture
