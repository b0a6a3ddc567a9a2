// Objects made by effect name through the edit model once both the effect registry and the
// edit service exist, as in the program's start-up order.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../system/exception_text.h"
#include "edit/edit_service.h"
#include "edit/effect_registry_access.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_service.h"
#include "effect/movement_registry.h"
#include "system/event_service.h"
#include "system/file.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"

namespace {

using TestSupport::whatOf;

struct Kind {
  const char* name;
  uint8_t effectType, mediaType, targetType;
  const char* defaultInput = nullptr;
};

// An effect of a made-up kind with a count, a track that moves in a straight line, and the
// range of layers a control governs.
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
  const Effect::EffectDefine* getDefaultInputEffect() const override {
    return kind_->defaultInput ? Effect::EffectService::instance()->findEffect(kind_->defaultInput)
                               : nullptr;
  }
  Effect::EffectItemLayerRange* getLayerRange() override { return &range; }

  Effect::EffectItemInteger count{items, "個数", 1, 0, 100};
  Effect::EffectItemNumber x{items, "X", 0, -1000, 1000, 1};
  Effect::EffectItemLayerRange range{items, "対象レイヤー数", 0};

 private:
  const Kind* kind_;
};

const Kind kKinds[] = {
    {"画像ファイル", 1, 1, 1},   {"音声ファイル", 1, 2, 2},     {"図形", 1, 1, 1},
    {"標準描画", 2, 1, 1},       {"音声再生", 2, 2, 2},         {"パーティクル出力", 2, 1, 1, "図形"},
    {"色調補正", 3, 1, 1},       {"音量調整", 3, 2, 2},         {"グループ制御", 4, 1, 1},
    {"シーンチェンジ", 4, 1, 5},
};

class RegistryWithEditModel : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
    parameters_.emplace();
    Effect::EffectService::Catalogue catalogue;
    catalogue.firstEffects = [](Effect::EffectService& registry) {
      for (const Kind& kind : kKinds) registry.registerEffect<KindEffect>(kind);
    };
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

  std::shared_ptr<Edit::Object> createObject(const std::string& name, int layer, int start,
                                             int end) {
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    auto object = scope.scene->createObject(name, layer, start, end);
    scope.close();
    return object;
  }

  static std::vector<std::string> chainOf(const Edit::Object& object) {
    std::vector<std::string> names;
    for (const auto& effect : object.effects) names.emplace_back(effect->name);
    return names;
  }
  static KindEffect& kindAt(const Edit::Object& object, std::size_t index) {
    return dynamic_cast<KindEffect&>(*object.effects.at(index));
  }

  TestSupport::TempFolder install_;
  std::optional<System::ServiceHolder<Setting::ParameterIni>> parameters_;
  std::optional<System::ServiceHolder<Event::EventService>> events_;
  std::optional<System::ServiceHolder<Effect::EffectService>> registry_;
  std::optional<System::ServiceHolder<Undo::UndoService>> undo_;
  std::optional<System::ServiceHolder<Edit::EditService>> edit_;
};

TEST_F(RegistryWithEditModel, AnObjectByEffectNameCarriesTheChainOfItsKind) {
  const struct {
    const char* name;
    std::vector<std::string> chain;
    bool control;
  } cases[] = {
      {"画像ファイル", {"画像ファイル", "標準描画"}, false},
      {"音声ファイル", {"音声ファイル", "音声再生"}, false},
      {"パーティクル出力", {"図形", "パーティクル出力"}, false},
      {"色調補正", {"色調補正"}, false},
      {"グループ制御", {"グループ制御"}, true},
      {"シーンチェンジ", {"シーンチェンジ"}, false},
  };
  int layer = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto object = createObject(c.name, layer++, 0, 99);
    EXPECT_EQ(chainOf(*object), c.chain);
    EXPECT_EQ(object->controlFlag, c.control);
  }
}

TEST_F(RegistryWithEditModel, NewObjectsTakeTheUsersDefaultValuesButNotItsFlags) {
  auto& registry = *Effect::EffectService::instance();
  Effect::EffectDefine& define = *registry.findEffect("色調補正");
  const auto edited = define.createEffect();
  dynamic_cast<KindEffect&>(*edited).count.value = 7;
  edited->disable = true;
  define.saveDefaultFile(*edited);

  const auto object = createObject("色調補正", 0, 0, 99);
  EXPECT_EQ(kindAt(*object, 0).count.value, 7);
  EXPECT_FALSE(object->effects[0]->disable);
  // The prototype itself is never put on an object.
  EXPECT_NE(object->effects[0], define.getPrototype());
}

TEST_F(RegistryWithEditModel, EffectsPutOnAnObjectAreSizedToItsPoints) {
  const auto object = createObject("画像ファイル", 0, 0, 99);
  {
    auto scope = edit().beginUpdate();
    object->addSection(30, nullptr);
    object->addSection(60, nullptr);
    Edit::setEffectByName(*object, "色調補正");
    scope.close();
  }
  EXPECT_EQ(chainOf(*object), (std::vector<std::string>{"画像ファイル", "標準描画", "色調補正"}));
  EXPECT_EQ(kindAt(*object, 2).x.values.size(), 4u);
}

TEST_F(RegistryWithEditModel, UnknownOrMisfittingEffectsLeaveEverythingAsItWas) {
  EXPECT_EQ(whatOf([&] { createObject("無い効果", 0, 0, 99); }),
            "not found effect.\n\n[Note]\n無い効果\n\n[Place]\nEffect::EffectService::findEffect()");
  EXPECT_TRUE(scene().getLayerObjects(0).objects.empty());

  const auto object = createObject("画像ファイル", 0, 0, 99);
  const auto before = object->effects;
  const struct {
    const char* name;
    std::string error;
  } cases[] = {
      {"音量調整", "different effect type.\n\n[Place]\nEdit::EffectManager::setFilterEffect()"},
      {"音声再生", "different effect type.\n\n[Place]\nEdit::EffectManager::setOutputEffect()"},
      {"グループ制御",
       "can not change control effect.\n\n[Place]\nEdit::EffectManager::setControlEffect()"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(whatOf([&] { Edit::setEffectByName(*object, c.name); }), c.error);
    EXPECT_EQ(object->effects, before);
  }
  // The same input again keeps the instance and its values.
  kindAt(*object, 0).count.value = 42;
  Edit::setEffectByName(*object, "画像ファイル");
  EXPECT_EQ(object->effects, before);
  EXPECT_EQ(kindAt(*object, 0).count.value, 42);
}

TEST_F(RegistryWithEditModel, CopiedChainsAreFreshInstancesOfTheSameKinds) {
  const auto object = createObject("画像ファイル", 0, 0, 99);
  kindAt(*object, 0).count.value = 9;
  Edit::Object copy;
  object->copyEffects(copy);
  EXPECT_EQ(chainOf(copy), chainOf(*object));
  EXPECT_NE(copy.effects[0], object->effects[0]);
  EXPECT_EQ(kindAt(copy, 0).count.value, 9);
}

TEST_F(RegistryWithEditModel, TheAccessGoesWithTheEditService) {
  EXPECT_NE(Edit::effectRegistryAccess(), nullptr);
  edit_.reset();
  EXPECT_EQ(Edit::effectRegistryAccess(), nullptr);
}

}  // namespace
