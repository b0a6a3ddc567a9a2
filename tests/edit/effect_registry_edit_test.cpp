// Objects made by effect name through the edit model once both the effect registry and the
// edit service exist, as in the program's start-up order.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "system/exception_text.h"
#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/registry_fixture.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "effect/effect_service.h"
#include "system/file.h"

namespace {

using TestSupport::whatOf;

using ChainFixture::KindEffect;

class RegistryWithEditModel : public ChainFixture::RegistryFixture {
 protected:
  std::shared_ptr<Edit::Object> createObject(const std::string& name, int layer, int start,
                                             int end) {
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    auto object = scope.scene->createObject(name, layer, start, end);
    scope.close();
    return object;
  }
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
    object->setEffectByName("色調補正", nullptr);
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
    EXPECT_EQ(whatOf([&] { object->setEffectByName(c.name, nullptr); }), c.error);
    EXPECT_EQ(object->effects, before);
  }
  // The same input again keeps the instance and its values.
  kindAt(*object, 0).count.value = 42;
  object->setEffectByName("画像ファイル", nullptr);
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

}  // namespace
