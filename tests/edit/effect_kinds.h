#pragma once
// Made-up effects of every kind the edit model tells apart (inputs, outputs, filters and
// controls of each medium), for tests and fuzz targets of effect chains, project files and
// alias files. Needs no test framework.
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_text.h"
#include "effect/effect_service.h"
#include "effect/movement_registry.h"

namespace ChainFixture {

struct Kind {
  const char* name;
  uint8_t effectType, mediaType, targetType;
  const char* defaultInput = nullptr;
};

// An effect of a made-up kind: a count, a text, a track that moves in a straight line, and
// a layer range.
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

// A catalogue that registers one KindEffect of every kind in kKinds.
inline Effect::EffectService::Catalogue kindCatalogue() {
  Effect::EffectService::Catalogue catalogue;
  catalogue.firstEffects = [](Effect::EffectService& registry) {
    for (const Kind& kind : kKinds) registry.registerEffect<KindEffect>(kind);
  };
  return catalogue;
}

// The same with the kind of that name registered as a class of the test's own, made from its
// Kind like KindEffect.
template <class Special>
Effect::EffectService::Catalogue kindCatalogueWith(std::string_view specialName) {
  Effect::EffectService::Catalogue catalogue;
  catalogue.firstEffects = [specialName](Effect::EffectService& registry) {
    for (const Kind& kind : kKinds) {
      if (kind.name == specialName)
        registry.registerEffect<Special>(kind);
      else
        registry.registerEffect<KindEffect>(kind);
    }
  };
  return catalogue;
}

// Makes the next registry register one KindEffect of every kind in kKinds.
inline void setKindCatalogue() { Effect::EffectService::setCatalogue(kindCatalogue()); }

}  // namespace ChainFixture
