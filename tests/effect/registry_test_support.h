#pragma once
// The effect registry under test: made-up effect kinds described by a small table, a
// catalogue that registers them, and a fixture that builds the registry in a folder of its
// own with a parameter store, a UI bridge that records error boxes, and a log capture.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_text.h"
#include "effect/effect_service.h"
#include "system/fake_ui_bridge.h"
#include "system/file.h"
#include "system/log_capture.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"

namespace TestSupport {

// What a made-up kind is: its name and type bytes, its category label, and what happened to
// it (every instance shares its kind's record).
struct Kind {
  const char* name;
  uint8_t effectType;
  uint8_t mediaType;
  uint8_t targetType;
  const char* label = "";
  const char* defaultInput = nullptr;  // the input an output needs when placed alone
  int resourcesCreated = 0;
  int resourcesShared = 0;
};

// An effect of a made-up kind, with a number item, an integer item and a text item.
class KindEffect : public Effect::EffectBase {
 public:
  explicit KindEffect(Kind& kind)
      : EffectBase(kind.name, kind.effectType, kind.mediaType, kind.targetType, kind.label),
        kind_(&kind) {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<KindEffect>(*kind_);
  }
  void createResource() override { ++kind_->resourcesCreated; }
  void shareResource(const EffectBase& prototype) override {
    EXPECT_EQ(prototype.name, name);
    ++kind_->resourcesShared;
  }
  const Effect::EffectDefine* getDefaultInputEffect() const override {
    if (!kind_->defaultInput) return nullptr;
    return Effect::EffectService::instance()->findEffect(kind_->defaultInput);
  }

  Effect::EffectItemNumber x{items, "X", 0, -1000, 1000, 0.1};
  Effect::EffectItemInteger count{items, "個数", 1, 0, 100};
  Effect::EffectItemText text{items, "テキスト", ""};

 private:
  Kind* kind_;
};

// The made-up blur: a class of its own, found by getDefaultEffect through its name.
class BlurStandIn : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "ぼかし";
  static inline int resourcesCreated = 0;
  BlurStandIn() : EffectBase(kName, 3, 1, 1, "ぼかし") {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<BlurStandIn>(); }
  void createResource() override { ++resourcesCreated; }
  Effect::EffectItemNumber range{items, "範囲", 5, 0, 500, 1};
};

// A second class under the blur's name: refused as a duplicate.
class OtherBlur : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "ぼかし";
  static inline int resourcesCreated = 0;
  OtherBlur() : EffectBase(kName, 3, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<OtherBlur>(); }
  void createResource() override { ++resourcesCreated; }
};

// A class that cannot even be made.
class UnbuildableEffect : public Effect::EffectBase {
 public:
  UnbuildableEffect() : EffectBase("作れない", 3, 1, 1) {
    throw std::runtime_error("no shader compiler.");
  }
  std::shared_ptr<EffectBase> create() const override { return nullptr; }
};

// A class whose shared resources fail.
class ResourcelessEffect : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "資源なし";
  ResourcelessEffect() : EffectBase(kName, 3, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<ResourcelessEffect>();
  }
  void createResource() override { throw std::runtime_error("shader compile failed."); }
};

// A movement kind of the catalogue.
class CatalogueMove : public Effect::MovementBase {
 public:
  explicit CatalogueMove(std::string name, bool listedInMenu = true)
      : MovementBase(std::move(name), -1) {
    listed = listedInMenu;
  }
  double getValue(const Effect::EffectItemNumber& track, const Effect::SectionPosition&,
                  const Effect::EffectContext&) const override {
    return track.getDisplayValue(0);
  }
};

// A kinds table in the shape of the program's own catalogue: inputs, outputs, controls,
// video, audio and camera filters.
struct KindTable {
  Kind movieInput{"動画ファイル", 1, 3, 3};
  Kind imageInput{"画像ファイル", 1, 1, 1};
  Kind audioInput{"音声ファイル", 1, 2, 2};
  Kind figureInput{"図形", 1, 1, 1};
  Kind frameInput{"フレームバッファ", 1, 1, 1};
  Kind videoOutput{"標準描画", 2, 1, 1};
  Kind audioOutput{"音声再生", 2, 2, 2};
  Kind movieOutput{"映像再生", 2, 3, 3};
  Kind simpleOutput{"基本出力", 2, 1, 1};
  Kind particleOutput{"パーティクル出力", 2, 1, 1, "", "図形"};
  Kind groupControl{"グループ制御", 4, 1, 1, "オブジェクト制御"};
  Kind cameraControl{"カメラ制御", 4, 1, 4, "オブジェクト制御"};
  Kind sceneChange{"シーンチェンジ", 4, 1, 5, "シーンチェンジ"};
  Kind colorFilter{"色調補正", 3, 1, 1, "色調整"};
  Kind glowFilter{"グロー", 3, 1, 1, "光効果"};
  Kind cameraLight{"並行光源(カメラ制御)", 3, 4, 4, "カメラ制御"};
  Kind audioFilter{"音量調整", 3, 2, 2, "音声効果"};
  Kind scriptFilter{"スクリプト甲", 3, 1, 1, "アニメーション効果"};
  Kind scriptInput{"スクリプト乙", 1, 1, 1, "カスタムオブジェクト"};

  // The first run: inputs, outputs, controls, then filters.
  std::vector<Kind*> firstRun() {
    return {&movieInput,   &imageInput,    &audioInput,  &figureInput,  &frameInput,
            &videoOutput,  &audioOutput,   &movieOutput, &simpleOutput, &particleOutput,
            &groupControl, &cameraControl, &sceneChange, &colorFilter,  &glowFilter};
  }
  std::vector<Kind*> scripts() { return {&scriptFilter, &scriptInput}; }
  std::vector<Kind*> lastRun() { return {&cameraLight, &audioFilter}; }
};

// Registers each kind of the list in order.
inline void registerKinds(Effect::EffectService& registry, const std::vector<Kind*>& kinds) {
  for (Kind* kind : kinds) registry.registerEffect<KindEffect>(*kind);
}

// The registry in a folder of its own: %AppData% is <folder>/data. The catalogue is made of
// the kinds table (and BlurStandIn at the end of the first run) unless a test sets another
// before build().
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
    parameters_.emplace();
    catalogue.movements = [](Effect::EffectService& registry) {
      registry.registerMovement<CatalogueMove>("補間移動");
      registry.registerMovement<CatalogueMove>("瞬間移動");
    };
    catalogue.firstEffects = [this](Effect::EffectService& registry) {
      registerKinds(registry, kinds.firstRun());
      registry.registerEffect<BlurStandIn>();
    };
    catalogue.scripts = [this](Effect::EffectService& registry) {
      ++scriptSteps;
      scriptStepsWhileInitialized += registry.isInitialized() ? 1 : 0;
      if (!registry.isInitialized()) registerKinds(registry, kinds.scripts());
    };
    catalogue.lastEffects = [this](Effect::EffectService& registry) {
      registerKinds(registry, kinds.lastRun());
    };
    BlurStandIn::resourcesCreated = 0;
    OtherBlur::resourcesCreated = 0;
  }

  void TearDown() override {
    registry_.reset();
    Effect::EffectService::setCatalogue({});
    parameters_.reset();
    System::FileName::resetVariableList();
  }

  // Builds the registry with the catalogue as it stands.
  Effect::EffectService& build() {
    Effect::EffectService::setCatalogue(catalogue);
    registry_.emplace();
    return *Effect::EffectService::instance();
  }
  void release() { registry_.reset(); }

  // A file below %AppData%.
  std::string writeData(const std::string& name, const std::string& contents) {
    return install_.writeFile("data/" + name, contents);
  }
  std::string dataPath(const std::string& name) const { return install_ / ("data/" + name); }
  // A file beside the program (%AppInstall%).
  std::string writeInstall(const std::string& name, const std::string& contents) {
    return install_.writeFile(name, contents);
  }

  System::IniFile& parameters() { return *Setting::ParameterIni::instance(); }

  // A registered effect kind.
  Effect::EffectDefine& effect(const char* name) {
    return *Effect::EffectService::instance()->findEffect(name);
  }

  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : ui_.boxes) texts.push_back(box.text);
    return texts;
  }

  KindTable kinds;
  Effect::EffectService::Catalogue catalogue;
  int scriptSteps = 0;
  int scriptStepsWhileInitialized = 0;
  LogCapture log;

 private:
  TempFolder install_;
  FakeUiBridge ui_;
  std::optional<System::ServiceHolder<Setting::ParameterIni>> parameters_;
  std::optional<System::ServiceHolder<Effect::EffectService>> registry_;
};

}  // namespace TestSupport
