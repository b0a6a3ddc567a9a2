#pragma once
// What the fuzz targets of the edit model's files share: a program folder of their own with
// the parameter store and an effect registry of test effects of every kind. The world is
// made once per process and removed at exit.
#include <cstdint>
#include <memory>
#include <string>

#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_text.h"
#include "effect/effect_service.h"
#include "effect/movement_registry.h"
#include "fuzz/fuzz_support.h"
#include "system/service_holder.h"
#include "system/setting_service.h"

namespace FuzzSupport {

struct Kind {
  const char* name;
  uint8_t effectType, mediaType, targetType;
};

inline constexpr Kind kKinds[] = {
    {"画像ファイル", 1, 1, 1}, {"音声ファイル", 1, 2, 2},   {"動画ファイル", 1, 3, 3},
    {"標準描画", 2, 1, 1},     {"音声再生", 2, 2, 2},       {"映像再生", 2, 3, 3},
    {"色調補正", 3, 1, 1},     {"ぼかし", 3, 1, 1},         {"音量調整", 3, 2, 2},
    {"グループ制御", 4, 3, 3}, {"シーンチェンジ", 4, 1, 5},
};

// A test effect of each kind: a count, a text, a moving number and a layer range.
class FuzzEffect : public Effect::EffectBase {
 public:
  explicit FuzzEffect(const Kind& kind)
      : EffectBase(kind.name, kind.effectType, kind.mediaType, kind.targetType), kind_(&kind) {
    x.movement = Effect::MovementRegistry::instance().findMovement("直線移動");
    x.resizeValues(2);
  }
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<FuzzEffect>(*kind_);
  }
  Effect::EffectItemLayerRange* getLayerRange() override { return &range; }

  Effect::EffectItemInteger count{items, "個数", 1, 0, 100};
  Effect::EffectItemText text{items, "テキスト", ""};
  Effect::EffectItemNumber x{items, "X", 0, -1000, 1000, 0.1};
  Effect::EffectItemLayerRange range{items, "対象レイヤー数", 0};

 private:
  const Kind* kind_;
};

// The program folder with its settings and the registry of the test effects. `extension` is
// that of the files the target reads: input, saved and saved-again copies live here.
class World {
 public:
  World(const char* name, const char* extension)
      : folder_(name),
        path_(folder_.path()),
        input_(path_ + "/input." + extension),
        saved_(path_ + "/saved." + extension),
        again_(path_ + "/again." + extension) {
    parameters_ = std::make_unique<System::ServiceHolder<Setting::ParameterIni>>();
    Effect::EffectService::Catalogue catalogue;
    catalogue.firstEffects = [](Effect::EffectService& registry) {
      for (const Kind& kind : kKinds) registry.registerEffect<FuzzEffect>(kind);
    };
    Effect::EffectService::setCatalogue(std::move(catalogue));
    registry_ = std::make_unique<System::ServiceHolder<Effect::EffectService>>();
  }
  ~World() {
    registry_.reset();
    parameters_.reset();
  }

  // Puts the fuzzer's bytes into the input file.
  void writeInput(const uint8_t* data, size_t size) const {
    System::File file;
    file.open(input_, System::File::WriteExclusive);
    file.write(data, size);
  }

 private:
  ProgramFolder folder_;  // first: removed last

 public:
  const std::string path_, input_, saved_, again_;

 private:
  std::unique_ptr<System::ServiceHolder<Setting::ParameterIni>> parameters_;
  std::unique_ptr<System::ServiceHolder<Effect::EffectService>> registry_;
};

}  // namespace FuzzSupport
