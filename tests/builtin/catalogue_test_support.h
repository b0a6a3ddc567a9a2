#pragma once
// The effect registry built with the program's own catalogue of built-in effects: the
// registry fixture of the effect tests with the built-in first and second runs, five
// stand-ins for the movement kinds that the framework does not register itself, no script
// files, and the built-in figure names in place of the drawing layer.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "builtin/effect_catalogue.h"
#include "effect/drawing_resources.h"
#include "effect/registry_test_support.h"

namespace TestSupport {

// The figure names of the drawing layer, and one installed font family.
class FigureNames : public Effect::DrawingResources {
 public:
  FigureNames() {
    const char* const names[] = {"背景",   "円",     "四角形", "三角形",
                                 "五角形", "六角形", "星型",   "ハート"};
    for (int index = 0; index < static_cast<int>(std::size(names)); ++index)
      figures_->setItem(index, names[index]);
  }
  std::vector<std::string> fontFamilies() const override { return {"DejaVu Sans"}; }
  bool isFontInstalled(std::string_view family) const override { return family == "DejaVu Sans"; }
  std::shared_ptr<Effect::EffectItemSelect::SharedList> figureList() const override {
    return figures_;
  }

 private:
  std::shared_ptr<Effect::EffectItemSelect::SharedList> figures_ =
      Effect::EffectItemSelect::createSharedList();
};

class CatalogueTest : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    catalogue.movements = [](Effect::EffectService& registry) {
      for (const char* name :
           {"直線移動(時間制御)", "補間移動", "補間移動(時間制御)", "ランダム移動", "瞬間移動"})
        registry.registerMovement<CatalogueMove>(name);
    };
    catalogue.firstEffects = Effect::registerFirstEffects;
    catalogue.scripts = [](Effect::EffectService&) {};
    catalogue.lastEffects = Effect::registerLastEffects;
    Effect::setDrawingResources(&figures_);
  }

  void TearDown() override {
    RegistryTest::TearDown();
    Effect::setDrawingResources(nullptr);
  }

  // The prototype of a registered kind, as its class.
  template <class T>
  T& prototype() {
    return dynamic_cast<T&>(*effect(T::kName).getPrototype());
  }

 private:
  FigureNames figures_;
};

}  // namespace TestSupport
