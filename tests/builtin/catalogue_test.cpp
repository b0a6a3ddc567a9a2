// The built-in effect kinds in the registry: their order, type bytes and menu labels, the
// menu lists they make, their menu settings in the parameter store, and the shift of the
// second run by the script entries.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "builtin/control/scene_change.h"
#include "builtin/filter/bokashi_filter.h"
#include "catalogue_test_support.h"

namespace {

using namespace Effect;
using TestSupport::CatalogueTest;

struct KindRow {
  const char* name;
  int order;
  uint8_t effectType;
  uint8_t mediaType;
  uint8_t targetType;
  const char* label;
};

// Every built-in kind in registration order, after the eight movements (orders 0 to 7).
const KindRow kKinds[] = {
    {"動画ファイル", 8, 1, 3, 3, ""},
    {"画像ファイル", 9, 1, 1, 1, ""},
    {"音声ファイル", 10, 1, 2, 2, ""},
    {"テキスト", 11, 1, 1, 1, ""},
    {"図形", 12, 1, 1, 1, ""},
    {"シーン", 13, 1, 3, 3, ""},
    {"フレームバッファ", 14, 1, 1, 1, ""},
    {"直前オブジェクト", 15, 1, 1, 1, ""},
    {"標準描画", 16, 2, 1, 1, ""},
    {"音声再生", 17, 2, 2, 2, ""},
    {"映像再生", 18, 2, 3, 3, ""},
    {"基本出力", 19, 2, 1, 1, ""},
    {"パーティクル出力", 20, 2, 1, 1, ""},
    {"部分フィルタ", 21, 4, 1, 1, ""},
    {"グループ制御", 22, 4, 1, 1, "オブジェクト制御"},
    {"グループ制御(音声)", 23, 4, 2, 2, "オブジェクト制御"},
    {"カメラ制御", 24, 4, 1, 4, "オブジェクト制御"},
    {"音声波形表示", 25, 1, 1, 1, "カスタムオブジェクト"},
    {"色調補正", 26, 3, 1, 1, "色調整"},
    {"グラデーション", 27, 3, 1, 1, "色調整"},
    {"単色化", 28, 3, 1, 1, "色調整"},
    {"特定色域変換", 29, 3, 1, 1, "色調整"},
    {"クリッピング", 30, 3, 1, 1, "クリッピング"},
    {"斜めクリッピング", 31, 3, 1, 1, "クリッピング"},
    {"扇クリッピング", 32, 3, 1, 1, "クリッピング"},
    {"マスク", 33, 3, 1, 1, "クリッピング"},
    {"ぼかし", 34, 3, 1, 1, "ぼかし"},
    {"レンズブラー", 35, 3, 1, 1, "ぼかし"},
    {"放射ブラー", 36, 3, 1, 1, "ぼかし"},
    {"方向ブラー", 37, 3, 1, 1, "ぼかし"},
    {"境界ぼかし", 38, 3, 1, 1, "ぼかし"},
    {"グロー", 39, 3, 1, 1, "光効果"},
    {"発光", 40, 3, 1, 1, "光効果"},
    {"閃光", 41, 3, 1, 1, "光効果"},
    {"拡散光", 42, 3, 1, 1, "光効果"},
    {"ライト", 43, 3, 1, 1, "光効果"},
    {"色ずれ", 44, 3, 1, 1, "光効果"},
    {"縁取り", 45, 3, 1, 1, "装飾"},
    {"ドロップシャドウ", 46, 3, 1, 1, "装飾"},
    {"凸エッジ", 47, 3, 1, 1, "装飾"},
    {"クロマキー", 48, 3, 1, 1, "抽出"},
    {"ルミナンスキー", 49, 3, 1, 1, "抽出"},
    {"カラーキー", 50, 3, 1, 1, "抽出"},
    {"エッジ抽出", 51, 3, 1, 1, "抽出"},
    {"波紋", 52, 3, 1, 1, "変形"},
    {"ラスター", 53, 3, 1, 1, "変形"},
    {"極座標変換", 54, 3, 1, 1, "変形"},
    {"ディスプレイスメントマップ", 55, 3, 1, 1, "変形"},
    {"リサイズ", 56, 3, 1, 1, "変形"},
    {"シャープ", 57, 3, 1, 1, "加工"},
    {"ノイズ除去", 58, 3, 1, 1, "加工"},
    {"インターレース解除", 59, 3, 1, 1, "加工"},
    {"ノイズ", 60, 3, 1, 1, "加工"},
    {"モザイク", 61, 3, 1, 1, "加工"},
    {"オフスクリーン描画", 62, 3, 1, 1, ""},
    {"画像ループ", 63, 3, 1, 1, "配置"},
    {"オブジェクト分割", 64, 3, 1, 1, "配置"},
    {"フェード", 65, 3, 1, 1, "切り替え効果"},
    {"ワイプ", 66, 3, 1, 1, "切り替え効果"},
    {"シーンチェンジ", 67, 4, 1, 5, "シーンチェンジ"},
    {"振動", 68, 3, 1, 1, "アニメーション効果"},
    // The script files take their indexes here.
    {"スクリプト制御", 69, 3, 1, 1, "アニメーション効果"},
    {"並行光源(カメラ制御)", 70, 3, 4, 4, "カメラ制御"},
    {"環境光(カメラ制御)", 71, 3, 4, 4, "カメラ制御"},
    {"ライトブルーム(カメラ制御)", 72, 3, 4, 4, "カメラ制御"},
    {"材質設定(カメラ制御)", 73, 3, 1, 1, "カメラ制御"},
    {"カメラ制御オプション", 74, 3, 1, 1, "カメラ制御"},
    {"座標", 75, 3, 1, 1, "基本効果"},
    {"拡大率", 76, 3, 1, 1, "基本効果"},
    {"透明度", 77, 3, 1, 1, "基本効果"},
    {"回転", 78, 3, 1, 1, "基本効果"},
    {"領域拡張", 79, 3, 1, 1, "基本効果"},
    {"反転", 80, 3, 1, 1, "基本効果"},
    {"音量フェード", 81, 3, 2, 2, "音声効果"},
    {"モノラル化", 82, 3, 2, 2, "音声効果"},
    {"音量調整", 83, 3, 2, 2, "音声効果"},
};

std::vector<std::string> namesOf(const std::vector<EffectMenuDefine*>& entries) {
  std::vector<std::string> names;
  for (const EffectMenuDefine* entry : entries) names.emplace_back(entry->getName());
  return names;
}

TEST_F(CatalogueTest, EveryKindRegistersInItsPlaceWithItsTypesAndLabel) {
  EffectService& registry = build();
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(registry.getMovementDefines().size(), 8u);
  ASSERT_EQ(registry.getEffectDefines().size(), std::size(kKinds));
  for (const KindRow& row : kKinds) {
    SCOPED_TRACE(row.name);
    const EffectDefine& define = effect(row.name);
    const EffectBase& prototype = *define.getPrototype();
    EXPECT_EQ(define.order, row.order);
    EXPECT_STREQ(prototype.name, row.name);
    EXPECT_EQ(prototype.effectType, row.effectType);
    EXPECT_EQ(prototype.mediaType, row.mediaType);
    EXPECT_EQ(prototype.targetType, row.targetType);
    EXPECT_STREQ(prototype.label, row.label);
    EXPECT_EQ(define.label, row.label);
  }
  EXPECT_EQ(registry.getRegisterCount(), 84);
}

// The kinds that reuse another kind's routines find its prototype by the class.
TEST_F(CatalogueTest, TheBlurPrototypeIsFoundByItsClass) {
  EffectService& registry = build();
  EXPECT_EQ(registry.getDefaultEffect<BokashiFilter>(), &prototype<BokashiFilter>());
}

TEST_F(CatalogueTest, ScriptEntriesPushTheSecondRunBack) {
  TestSupport::Kind scriptA{"スクリプト甲", 3, 1, 1, "アニメーション効果"};
  TestSupport::Kind scriptB{"スクリプト乙", 1, 1, 1, "カスタムオブジェクト"};
  // A script under a built-in name of the first run is refused, but its index is used.
  TestSupport::Kind duplicate{"ぼかし", 3, 1, 1};
  catalogue.scripts = [&](EffectService& registry) {
    TestSupport::registerKinds(registry, {&scriptA, &scriptB, &duplicate});
  };
  EffectService& registry = build();
  EXPECT_EQ(effect("振動").order, 68);
  EXPECT_EQ(effect("スクリプト甲").order, 69);
  EXPECT_EQ(effect("スクリプト乙").order, 70);
  EXPECT_EQ(effect("スクリプト制御").order, 72);
  EXPECT_EQ(effect("音量調整").order, 86);
  EXPECT_NE(dynamic_cast<BokashiFilter*>(effect("ぼかし").getPrototype().get()), nullptr);
  EXPECT_EQ(registry.getEffectDefines().size(), std::size(kKinds) + 2);
  EXPECT_EQ(boxTexts().size(), 1u);
}

TEST_F(CatalogueTest, TheLabelsMakeTheMenuGroupsInOrder) {
  EffectService& registry = build();
  std::vector<std::string> labels;
  for (const std::string* label : registry.getEffectLabelList()) labels.push_back(*label);
  const std::vector<std::string> expected = {"オブジェクト制御",
                                             "カスタムオブジェクト",
                                             "色調整",
                                             "クリッピング",
                                             "ぼかし",
                                             "光効果",
                                             "装飾",
                                             "抽出",
                                             "変形",
                                             "加工",
                                             "配置",
                                             "切り替え効果",
                                             "シーンチェンジ",
                                             "アニメーション効果",
                                             "カメラ制御",
                                             "基本効果",
                                             "音声効果"};
  EXPECT_EQ(labels, expected);
}

TEST_F(CatalogueTest, TheMenusPickKindsByTypeMediaAndTarget) {
  EffectService& registry = build();

  // What can start an object: the inputs, the controls and the particle output, which
  // brings its own figure; no other output and no filter.
  const auto objects = namesOf(registry.getEffectList(EffectService::kObjectKinds, 0, 0));
  const std::vector<std::string> expectedObjects = {"動画ファイル",
                                                    "画像ファイル",
                                                    "音声ファイル",
                                                    "テキスト",
                                                    "図形",
                                                    "シーン",
                                                    "フレームバッファ",
                                                    "直前オブジェクト",
                                                    "パーティクル出力",
                                                    "部分フィルタ",
                                                    "グループ制御",
                                                    "グループ制御(音声)",
                                                    "カメラ制御",
                                                    "音声波形表示",
                                                    "シーンチェンジ"};
  EXPECT_EQ(objects, expectedObjects);

  // The filters a camera object offers, and the sound filters.
  EXPECT_EQ(namesOf(registry.getEffectList(EffectService::kFilterKinds, MediaType::Camera, 0)),
            (std::vector<std::string>{"並行光源(カメラ制御)", "環境光(カメラ制御)",
                                      "ライトブルーム(カメラ制御)"}));
  EXPECT_EQ(namesOf(registry.getEffectList(EffectService::kFilterKinds, MediaType::Audio, 0)),
            (std::vector<std::string>{"音量フェード", "モノラル化", "音量調整"}));

  // Video filters leave out the sound and camera filters; movie objects take both kinds.
  const auto video = registry.getEffectList(EffectService::kFilterKinds, MediaType::Video, 0);
  const auto both = registry.getEffectList(EffectService::kFilterKinds, MediaType::VideoAudio, 0);
  EXPECT_EQ(video.size(), 51u);
  EXPECT_EQ(both.size(), 54u);
}

TEST_F(CatalogueTest, EveryKindKeepsItsMenuSettingsInTheParameterStore) {
  build();
  effect("グロー").hide = 1;
  release();
  std::set<std::string> sections;
  for (const auto& [name, keys] : parameters().sections())
    if (name.starts_with("Effect.")) sections.insert(name);
  EXPECT_EQ(sections.size(), std::size(kKinds));
  for (const KindRow& row : kKinds) {
    SCOPED_TRACE(row.name);
    const std::string section = std::string("Effect.") + row.name;
    EXPECT_EQ(parameters().findValue(section, "order").text, std::to_string(row.order));
    EXPECT_EQ(parameters().findValue(section, "label").text, row.label);
  }
  EXPECT_EQ(parameters().findValue("Effect.グロー", "hide").text, "1");
  EXPECT_EQ(parameters().findValue("Effect.ぼかし", "hide").text, "0");

  // The next start takes them back.
  build();
  EXPECT_EQ(effect("グロー").hide, 1);
}

// Without the shared drawing resources, the scene change still offers its own passages.
TEST_F(CatalogueTest, TheSceneChangeOffersItsPassagesWithoutTheDrawingResources) {
  build();
  const auto& list = *prototype<SceneChange>().kind.list;
  ASSERT_EQ(list.entries.size(), 13u);
  EXPECT_EQ(list.entries.at(0), "クロスフェード");
  EXPECT_EQ(list.entries.at(12), "ぼかし");
}

}  // namespace
