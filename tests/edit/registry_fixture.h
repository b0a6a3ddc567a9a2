#pragma once
// A registry of made-up effects of every kind with the event, undo and edit services in
// their start-up order, for tests of effect chains and project files.
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
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_text.h"
#include "effect/effect_service.h"
#include "effect/movement_registry.h"
#include "system/event_service.h"
#include "system/file.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"

namespace ChainFixture {

struct Kind {
  const char* name;
  uint8_t effectType, mediaType, targetType;
  const char* defaultInput = nullptr;
};

// An effect of a made-up kind: a count, a text, a track that moves in a straight line, and
// a track that ignores midpoints.
class KindEffect : public Effect::EffectBase {
 public:
  explicit KindEffect(const Kind& kind)
      : EffectBase(kind.name, kind.effectType, kind.mediaType, kind.targetType), kind_(&kind) {
    x.movement = Effect::MovementRegistry::instance().findMovement("直線移動");
    x.resizeValues(2);
  }
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<KindEffect>(*kind_);
  }
  Effect::EffectItemLayerRange* getLayerRange() override { return &range; }
  const Effect::EffectDefine* getDefaultInputEffect() const override {
    return kind_->defaultInput ? Effect::EffectService::instance()->findEffect(kind_->defaultInput)
                               : nullptr;
  }

  Effect::EffectItemInteger count{items, "個数", 1, 0, 100};
  Effect::EffectItemText text{items, "テキスト", ""};
  Effect::EffectItemNumber x{items, "X", 0, -1000, 1000, 0.1};
  Effect::EffectItemLayerRange range{items, "対象レイヤー数", 0};

 private:
  const Kind* kind_;
};

inline const Kind kKinds[] = {
    {"動画ファイル", 1, 3, 3},
    {"音声ファイル", 1, 2, 2},
    {"画像ファイル", 1, 1, 1},
    {"フレームバッファ", 1, 1, 1},
    {"図形", 1, 1, 1},
    {"標準描画", 2, 1, 1},
    {"映像再生", 2, 3, 3},
    {"音声再生", 2, 2, 2},
    {"基本出力", 2, 1, 1},
    {"パーティクル出力", 2, 1, 1, "図形"},
    {"音声の出力", 2, 2, 2},
    {"色調補正", 3, 1, 1},
    {"ぼかし", 3, 1, 1},
    {"音量調整", 3, 2, 2},
    {"時間制御", 3, 0, 0},
    {"カメラ効果", 3, 4, 4},
    {"グループ制御", 4, 3, 3},
    {"カメラ制御", 4, 4, 4},
    {"シーンチェンジ", 4, 1, 5},
    {"シーンチェンジ2", 4, 1, 5},
};

class RegistryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Effect::EffectService::Catalogue catalogue;
    catalogue.firstEffects = [](Effect::EffectService& registry) {
      for (const Kind& kind : kKinds) registry.registerEffect<KindEffect>(kind);
    };
    startServices(std::move(catalogue));
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
