// What the declarations give a new effect: its items in order with their kinds, values,
// ranges, steps and change notices, for a few kinds that show each sort of declaration;
// the position items that move together; and what every kind's declaration keeps to.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "builtin/audio/audio_volume.h"
#include "builtin/basic/basic_scale.h"
#include "builtin/choice_lists.h"
#include "builtin/control/camera_control.h"
#include "builtin/filter/angle_clip_filter.h"
#include "builtin/filter/bloom_filter.h"
#include "builtin/filter/blur_direction_filter.h"
#include "builtin/filter/blur_filter.h"
#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/bokeh_filter.h"
#include "builtin/filter/border_blur_filter.h"
#include "builtin/filter/chroma_key_filter.h"
#include "builtin/filter/color_change_filter.h"
#include "builtin/filter/color_filter.h"
#include "builtin/filter/color_key_filter.h"
#include "builtin/filter/diffusion_filter.h"
#include "builtin/filter/edge_filter.h"
#include "builtin/filter/flash_filter.h"
#include "builtin/filter/glow_filter.h"
#include "builtin/filter/gradation_filter.h"
#include "builtin/filter/line_clip_filter.h"
#include "builtin/filter/luminance_key_filter.h"
#include "builtin/filter/mask_filter.h"
#include "builtin/filter/monochrome_filter.h"
#include "builtin/input/movie_load.h"
#include "builtin/input/scene_load.h"
#include "builtin/input/text_input.h"
#include "builtin/output/particle_output.h"
#include "builtin/output/video_output.h"
#include "catalogue_test_support.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace {

using namespace Effect;
using TestSupport::CatalogueTest;

// An item as its declaration makes it: the kind code, the name, the value as a project file
// writes it, whether a change reaches the effect, and for number and whole-number items the
// range (display units) and, for numbers, the step.
struct ItemRow {
  const char* name;
  uint8_t code;
  std::string text;
  bool notify = false;
  double minimum = 0.0;
  double maximum = 0.0;
  double step = 1.0;
};

int stepUnits(double value, double step) { return static_cast<int>(std::lround(value / step)); }

void expectItems(const EffectBase& effect, const std::vector<ItemRow>& rows) {
  ASSERT_EQ(effect.items.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ItemRow& row = rows[i];
    const EffectItem& item = *effect.items[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(item.name, row.name);
    EXPECT_EQ(item.typeCode, row.code);
    EXPECT_EQ(item.toString(), row.text);
    EXPECT_EQ(item.notify, row.notify);
    if (const auto* number = dynamic_cast<const EffectItemNumber*>(&item)) {
      EXPECT_EQ(number->scale, stepUnits(1.0, row.step));
      EXPECT_EQ(number->minimum, stepUnits(row.minimum, row.step));
      EXPECT_EQ(number->maximum, stepUnits(row.maximum, row.step));
      // One value, or two for the playback range: each the default.
      ASSERT_FALSE(number->values.empty());
      for (int value : number->values) EXPECT_EQ(value, number->defaultValue);
    } else if (const auto* whole = dynamic_cast<const EffectItemInteger*>(&item)) {
      EXPECT_EQ(whole->minimum, row.minimum);
      EXPECT_EQ(whole->maximum, row.maximum);
      EXPECT_EQ(whole->value, whole->defaultValue);
    }
  }
}

TEST_F(CatalogueTest, TheGlowDeclaresItsLightItems) {
  build();
  expectItems(prototype<GlowFilter>(), {
                                           {"強さ", 1, "40.00", false, 0, 500, 0.01},
                                           {"拡散", 1, "50", false, 0, 500, 1},
                                           {"角度", 1, "25.00", false, -3600, 3600, 0.01},
                                           {"しきい値", 1, "80.0", false, 0, 200, 0.1},
                                           {"比率", 1, "100.0", false, 0, 100, 0.1},
                                           {"ぼかし", 1, "1", false, 0, 50, 1},
                                           {"形状", 8, "クロス(4本)"},
                                           {"光色", 14, ""},
                                           {"光成分のみ", 2, "0"},
                                           {"サイズ固定", 2, "0"},
                                       });
}

// The clipping, keying and colour declarations: only "飽和する" starts checked; the fan's
// range turns at most once while its base angle turns ten times.
TEST_F(CatalogueTest, TheClippingKeyingAndColourEffectsDeclareTheirItems) {
  build();
  const ItemRow centreX{"中心X", 1, "0.0", false, -5000, 5000, 0.1};
  const ItemRow centreY{"中心Y", 1, "0.0", false, -5000, 5000, 0.1};
  const ItemRow angle{"角度", 1, "0.00", false, -3600, 3600, 0.01};
  const ItemRow hueRange{"色相範囲", 1, "16", false, 0, 256, 1};
  const ItemRow saturationRange{"彩度範囲", 1, "96", false, 0, 256, 1};
  const ItemRow border{"境界補正", 1, "1", false, 0, 8, 1};
  {
    SCOPED_TRACE("斜めクリッピング");
    expectItems(prototype<LineClipFilter>(), {centreX, centreY, angle,
                                              {"ぼかし", 1, "1", false, 0, 2000, 1},
                                              {"幅", 1, "0", false, -2000, 2000, 1}});
  }
  {
    SCOPED_TRACE("扇クリッピング");
    expectItems(prototype<AngleClipFilter>(), {centreX, centreY,
                                               {"基準角", 1, "0.00", false, -3600, 3600, 0.01},
                                               {"範囲角", 1, "90.00", false, -360, 360, 0.01},
                                               {"ぼかし", 1, "1", false, 0, 2000, 1},
                                               {"基準角を中央にする", 2, "0"}});
  }
  {
    SCOPED_TRACE("マスク");
    expectItems(prototype<MaskFilter>(), {{"X", 1, "0.0", false, -5000, 5000, 0.1},
                                          {"Y", 1, "0.0", false, -5000, 5000, 0.1},
                                          {"回転", 1, "0.00", false, -3600, 3600, 0.01},
                                          {"サイズ", 1, "100", false, 0, 4000, 1},
                                          {"縦横比", 1, "0.00", false, -100, 100, 0.01},
                                          {"ぼかし", 1, "0", false, 0, 1000, 1},
                                          {"マスクの種類", 15, "円"},
                                          {"シーンの長さを合わせる", 2, "0"},
                                          {"マスクの反転", 2, "0"},
                                          {"元のサイズに合わせる", 2, "0"}});
  }
  {
    SCOPED_TRACE("クロマキー");
    expectItems(prototype<ChromaKeyFilter>(), {hueRange, saturationRange, border,
                                               {"基準色", 14, ""},
                                               {"色彩補正", 2, "0"},
                                               {"透過補正", 2, "0"}});
  }
  {
    SCOPED_TRACE("色調補正");
    expectItems(prototype<ColorFilter>(), {{"明るさ", 1, "100.00", false, 0, 200, 0.01},
                                           {"コントラスト", 1, "100.00", false, 0, 200, 0.01},
                                           {"色相", 1, "0.00", false, -3600, 3600, 0.01},
                                           {"輝度", 1, "100.00", false, 0, 200, 0.01},
                                           {"彩度", 1, "100.00", false, 0, 200, 0.01},
                                           {"飽和する", 2, "1"}});
  }
  {
    SCOPED_TRACE("特定色域変換");
    expectItems(prototype<ColorChangeFilter>(), {hueRange, saturationRange, border,
                                                 {"変換前の色", 14, ""},
                                                 {"変換後の色", 14, "ffffff"},
                                                 {"色彩補正", 2, "0"}});
  }
  {
    SCOPED_TRACE("グラデーション");
    expectItems(prototype<GradationFilter>(), {{"強さ", 1, "100.0", false, 0, 100, 0.1},
                                               centreX, centreY, angle,
                                               {"幅", 1, "100", false, 0, 2000, 1},
                                               {"合成モード", 8, "通常"},
                                               {"形状", 8, "線形"},
                                               {"開始色", 14, "ffffff"},
                                               {"終了色", 14, ""}});
  }
  // The preview drags each anchored effect's centre through its two position items.
  EXPECT_EQ(prototype<LineClipFilter>().positionItems,
            (NumberItemList{&prototype<LineClipFilter>().centerX,
                            &prototype<LineClipFilter>().centerY}));
  EXPECT_EQ(prototype<AngleClipFilter>().positionItems,
            (NumberItemList{&prototype<AngleClipFilter>().centerX,
                            &prototype<AngleClipFilter>().centerY}));
  EXPECT_EQ(prototype<MaskFilter>().positionItems,
            (NumberItemList{&prototype<MaskFilter>().x, &prototype<MaskFilter>().y}));
  EXPECT_EQ(prototype<GradationFilter>().positionItems,
            (NumberItemList{&prototype<GradationFilter>().centerX,
                            &prototype<GradationFilter>().centerY}));
}

// The bloom spreads from 10 upwards, where the other light effects start at 0; the flash
// starts in front of the picture. Both start without a light colour.
TEST_F(CatalogueTest, TheBloomAndTheFlashDeclareTheirLightItems) {
  build();
  expectItems(prototype<BloomFilter>(), {
                                            {"強さ", 1, "100.0", false, 0, 500, 0.1},
                                            {"拡散", 1, "250", false, 10, 1000, 1},
                                            {"しきい値", 1, "80.0", false, 0, 200, 0.1},
                                            {"拡散速度", 1, "0", false, 0, 60, 1},
                                            {"光色", 14, ""},
                                            {"サイズ固定", 2, "0"},
                                        });
  expectItems(prototype<FlashFilter>(), {
                                            {"強さ", 1, "100.0", false, 0, 100, 0.1},
                                            {"X", 1, "0.0", false, -2000, 2000, 0.1},
                                            {"Y", 1, "0.0", false, -2000, 2000, 0.1},
                                            {"合成モード", 8, "前方に合成"},
                                            {"光色", 14, ""},
                                            {"サイズ固定", 2, "0"},
                                        });
  for (const char* name : {GlowFilter::kName, BloomFilter::kName, FlashFilter::kName})
    EXPECT_STREQ(effect(name).getPrototype()->label, "光効果") << name;
}

// The shader filters' instances all use their prototype's one set of shaders.
template <class Filter>
void expectSharedShaders(EffectService& registry, Filter& prototype) {
  SCOPED_TRACE(Filter::kName);
  ASSERT_TRUE(prototype.sharedResource());
  const auto first = registry.createEffect(Filter::kName);
  const auto second = registry.createEffect(Filter::kName);
  EXPECT_EQ(dynamic_cast<Filter&>(*first).sharedResource(), prototype.sharedResource());
  EXPECT_EQ(dynamic_cast<Filter&>(*second).sharedResource(), prototype.sharedResource());
}

TEST_F(CatalogueTest, InstancesShareTheirPrototypesShaders) {
  EffectService& registry = build();
  expectSharedShaders(registry, prototype<GlowFilter>());
  expectSharedShaders(registry, prototype<BokashiFilter>());
  expectSharedShaders(registry, prototype<BorderBlurFilter>());
  expectSharedShaders(registry, prototype<BlurFilter>());
  expectSharedShaders(registry, prototype<BlurDirectionFilter>());
  expectSharedShaders(registry, prototype<DiffusionFilter>());
  expectSharedShaders(registry, prototype<BokehFilter>());
  expectSharedShaders(registry, prototype<LineClipFilter>());
  expectSharedShaders(registry, prototype<AngleClipFilter>());
  expectSharedShaders(registry, prototype<MaskFilter>());
  expectSharedShaders(registry, prototype<ChromaKeyFilter>());
  expectSharedShaders(registry, prototype<ColorFilter>());
  expectSharedShaders(registry, prototype<ColorChangeFilter>());
  expectSharedShaders(registry, prototype<GradationFilter>());
  expectSharedShaders(registry, prototype<ColorKeyFilter>());
  expectSharedShaders(registry, prototype<LuminanceKeyFilter>());
  expectSharedShaders(registry, prototype<EdgeFilter>());
  expectSharedShaders(registry, prototype<MonochromeFilter>());
}

TEST_F(CatalogueTest, TheMovieInputPlaysItsFileOverThePlaybackRange) {
  build();
  MovieLoad& movie = prototype<MovieLoad>();
  // The position starts as the playback range, whose two values make its text.
  expectItems(movie, {
                         {"再生位置", 1, "0.000,0.000,再生範囲,0", false, 0, 20000, 0.001},
                         {"再生速度", 1, "100.00", true, -2000, 2000, 0.01},
                         {"ファイル", 6, "", true},
                         {"ループ再生", 2, "0"},
                         {"音声付き", 200, "0", false, 0, 1},
                     });
  EXPECT_EQ(movie.position.movement->name, "再生範囲");
  EXPECT_TRUE(movie.position.movementListHook);
  EXPECT_EQ(movie.hasAudio.getControlKind(), ControlKind::None);
}

TEST_F(CatalogueTest, TheParticleOutputEmitsFromItsPosition) {
  build();
  ParticleOutput& particles = prototype<ParticleOutput>();
  expectItems(particles, {
                             {"X", 1, "0.00", false, -100000, 100000, 0.01},
                             {"Y", 1, "0.00", false, -100000, 100000, 0.01},
                             {"Z", 1, "0.00", false, -100000, 100000, 0.01},
                             {"出力頻度", 1, "20.0", false, 0, 500, 0.1},
                             {"出力速度", 1, "400.0", false, 0, 20000, 0.1},
                             {"加速度", 1, "0.0", false, -20000, 20000, 0.1},
                             {"出力方向", 1, "0.00", false, -3600, 3600, 0.01},
                             {"拡散角度", 1, "30.00", false, 0, 360, 0.01},
                             {"透過率", 1, "0.00", false, 0, 100, 0.01},
                             {"透過速度", 1, "0.00", false, -200, 200, 0.01},
                             {"拡大率", 1, "100.000", false, 0, 10000, 0.001},
                             {"拡大速度", 1, "0.000", false, -1000, 1000, 0.001},
                             {"回転角", 1, "0.00", false, -3600, 3600, 0.01},
                             {"回転速度", 1, "0.00", false, -10, 10, 0.01},
                             {"重力", 1, "0.00", false, -2000, 2000, 0.01},
                             {"生存時間", 1, "0.0", false, 0, 600, 0.1},
                             {"移動範囲の座標からランダムに出力", 2, "0"},
                             {"出力方向の基準を移動方向にする", 2, "0"},
                             {"回転角の基準を移動方向にする", 2, "0"},
                             {"3Dランダム回転", 2, "0"},
                             {"合成モード", 8, "通常"},
                         });
  // Alone on an object it draws particles of a figure, and it has no size handle.
  EXPECT_EQ(particles.getDefaultInputEffect(), &effect("図形"));
  EXPECT_EQ(particles.sizeItem, nullptr);
  EXPECT_EQ(particles.positionItems, (NumberItemList{&particles.x, &particles.y, &particles.z}));
}

TEST_F(CatalogueTest, TheScaleTransformScalesAsAWholeAndPerAxis) {
  build();
  expectItems(prototype<BasicScale>(), {
                                           {"拡大率", 1, "100.000", false, 0, 10000, 0.001},
                                           {"X", 1, "100.000", false, 0, 10000, 0.001},
                                           {"Y", 1, "100.000", false, 0, 10000, 0.001},
                                           {"Z", 1, "100.000", false, 0, 10000, 0.001},
                                       });
}

TEST_F(CatalogueTest, TheVolumeFilterHasAVolumeAndABalance) {
  build();
  expectItems(prototype<AudioVolume>(), {
                                            {"音量", 1, "100.00", false, 0, 1000, 0.01},
                                            {"左右", 1, "0.00", false, -100, 100, 0.01},
                                        });
}

TEST_F(CatalogueTest, TheCameraLooksFromItsPositionAtItsTarget) {
  build();
  CameraControl& camera = prototype<CameraControl>();
  expectItems(camera, {
                          {"X", 1, "0.00", false, -100000, 100000, 0.01},
                          {"Y", 1, "0.00", false, -100000, 100000, 0.01},
                          {"Z", 1, "-1024.00", false, -100000, 100000, 0.01},
                          {"目標X", 1, "0.00", false, -100000, 100000, 0.01},
                          {"目標Y", 1, "0.00", false, -100000, 100000, 0.01},
                          {"目標Z", 1, "0.00", false, -100000, 100000, 0.01},
                          {"目標レイヤー", 1, "0", false, 0, 1000, 1},
                          {"傾き", 1, "0.00", false, -3600, 3600, 0.01},
                          {"視野角", 1, "0.00", false, 0, 120, 0.01},
                          {"対象レイヤー数", 12, "0", false, 0, 1000},
                      });
  EXPECT_NE(dynamic_cast<EffectItemLayerObject*>(&camera.targetLayer), nullptr);
  EXPECT_STREQ(camera.targetLayer.zeroText, "---");
  EXPECT_STREQ(camera.fieldOfView.zeroText, "既定値");
  EXPECT_EQ(camera.getLayerRange(), &camera.layerRange);
  EXPECT_EQ(camera.sizeItem, nullptr);

  // The position and the target offset are two groups that each move as one.
  EXPECT_EQ(camera.positionItems, (NumberItemList{&camera.x, &camera.y, &camera.z}));
  EXPECT_EQ(camera.targetItems,
            (NumberItemList{&camera.targetX, &camera.targetY, &camera.targetZ}));
  for (EffectItemNumber* item : camera.positionItems)
    EXPECT_EQ(item->linkGroup, &camera.positionItems);
  for (EffectItemNumber* item : camera.targetItems) EXPECT_EQ(item->linkGroup, &camera.targetItems);
  EXPECT_EQ(camera.roll.linkGroup, nullptr);
}

TEST_F(CatalogueTest, ColoursDeclaredBlackStartUnspecifiedAndWhiteOnesSpecified) {
  build();
  const EffectItemColor& light = prototype<GlowFilter>().lightColor;
  EXPECT_TRUE(light.none);
  EXPECT_EQ(light.toString(), "");

  GradationFilter& gradation = prototype<GradationFilter>();
  EXPECT_EQ(gradation.startColor.typeCode, ItemType::ColorOrNone);
  EXPECT_FALSE(gradation.startColor.none);
  EXPECT_EQ(gradation.startColor.toString(), "ffffff");
  EXPECT_TRUE(gradation.endColor.none);

  // A colour that always holds one keeps black as a colour.
  const EffectItemColor& shadow = prototype<TextInput>().shadowColor;
  EXPECT_EQ(shadow.typeCode, ItemType::Color);
  EXPECT_FALSE(shadow.none);
  EXPECT_EQ(shadow.toString(), "000000");
}

TEST_F(CatalogueTest, ANumberStoresItsValueInStepUnits) {
  build();
  const EffectItemNumber& angle = prototype<GlowFilter>().angle;
  EXPECT_EQ(angle.scale, 100);
  EXPECT_EQ(angle.defaultValue, 2500);
  EXPECT_EQ(angle.values, std::vector<int>{2500});
}

TEST(ChoiceListTest, TheObjectFacingChoicesAreZeroAndThree) {
  const auto& entries = ObjectFacingList()->entries;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries.at(0), "標準");
  EXPECT_EQ(entries.at(3), "カメラの方を向く");
  EXPECT_FALSE(entries.contains(1));
  EXPECT_FALSE(entries.contains(2));
  EXPECT_EQ(ObjectFacingList()->getValue("カメラの方を向く"), 3);
}

// Every item that offers the blend modes offers the one list of the standard output.
TEST_F(CatalogueTest, TheBlendModesAreOneSharedList) {
  build();
  const auto shared = prototype<VideoOutput>().blendMode.list;
  EXPECT_EQ(BlendModeList(), shared);
  EXPECT_EQ(prototype<GradationFilter>().blendMode.list, shared);
  EXPECT_EQ(prototype<ParticleOutput>().blendMode.list, shared);
  EXPECT_EQ(shared->entries.size(), 13u);
}

TEST_F(CatalogueTest, TheTextStartsWhiteOnBlackAlignedTopLeft) {
  build();
  TextInput& text = prototype<TextInput>();
  EXPECT_EQ(text.textColor.toString(), "ffffff");
  EXPECT_EQ(text.decoration.toString(), "標準文字");
  EXPECT_EQ(text.alignment.toString(), "左寄せ[上]");
  EXPECT_EQ(text.alignment.list->entries.size(), 18u);
  // The four buttons of one row, side by side.
  EXPECT_EQ(std::make_pair(text.decoration.start, text.decoration.end), std::make_pair(0.0f, 0.4f));
  EXPECT_EQ(std::make_pair(text.alignment.start, text.alignment.end), std::make_pair(0.4f, 0.8f));
  EXPECT_EQ(std::make_pair(text.bold.start, text.bold.end), std::make_pair(0.8f, 0.9f));
  EXPECT_EQ(std::make_pair(text.italic.start, text.italic.end), std::make_pair(0.9f, 1.0f));
  EXPECT_EQ(text.font.value, EffectItemFontSelect::getDefaultFontValue());
}

TEST_F(CatalogueTest, OnlyASoundedMovieCanGiveUpItsSound) {
  build();
  struct Case {
    const char* path;
    int hasAudio;
    int mode;
    bool separable;
  };
  const Case cases[] = {
      {"clip.mp4", 1, 0, true},
      {"clip.mp4", 0, 0, false},
      {"", 1, 0, false},
      {"clip.mp4", 1, 1, false},
  };
  for (const Case& c : cases) {
    auto movie = std::dynamic_pointer_cast<MovieLoad>(prototype<MovieLoad>().create());
    movie->file.path = c.path;
    movie->hasAudio.value = c.hasAudio;
    EXPECT_EQ(movie->canSeparateAudio(c.mode), c.separable) << c.path << c.hasAudio << c.mode;
  }
  // A scene always has sound to give.
  EXPECT_TRUE(prototype<SceneLoad>().canSeparateAudio(0));
  EXPECT_FALSE(prototype<SceneLoad>().canSeparateAudio(1));
}

// A new effect of a kind is made with the declaration's defaults, not with the values of
// the effect it is made from, and takes its kind's name.
TEST_F(CatalogueTest, ANewEffectStartsFromTheDeclaration) {
  EffectService& registry = build();
  GlowFilter& glow = prototype<GlowFilter>();
  glow.strength.setValue(300.0, 0);
  const auto made = registry.createEffect(GlowFilter::kName);
  ASSERT_NE(dynamic_cast<GlowFilter*>(made.get()), nullptr);
  EXPECT_EQ(made->name, glow.name);
  EXPECT_EQ(static_cast<GlowFilter&>(*made).strength.toString(), "40.00");
}

// The rules every declaration keeps: a project file finds each item by its name, so no two
// items of a kind share one; defaults lie inside their ranges; choices name a value of
// their list; and a new effect has the same items as its kind's prototype.
TEST_F(CatalogueTest, EveryDeclarationIsConsistent) {
  EffectService& registry = build();
  for (const auto& [name, define] : registry.getEffectDefines()) {
    SCOPED_TRACE(name);
    const EffectBase& prototype = *define.getPrototype();
    std::set<std::string> names;
    for (const EffectItem* item : prototype.items) {
      SCOPED_TRACE(item->name);
      EXPECT_TRUE(names.insert(item->name).second);
      if (const auto* number = dynamic_cast<const EffectItemNumber*>(item)) {
        EXPECT_LE(number->minimum, number->defaultValue);
        EXPECT_LE(number->defaultValue, number->maximum);
      }
      if (const auto* whole = dynamic_cast<const EffectItemInteger*>(item)) {
        EXPECT_LE(whole->minimum, whole->value);
        EXPECT_LE(whole->value, whole->maximum);
      }
      // The wipe list comes with the drawing resources, which this run has not.
      const auto* select = dynamic_cast<const EffectItemSelect*>(item);
      if (select && name != "ワイプ") {
        EXPECT_TRUE(select->list->entries.contains(select->value));
      }
    }
    const auto made = registry.createEffect(name);
    ASSERT_NE(made, nullptr);
    const EffectBase& madeEffect = *made;
    EXPECT_EQ(typeid(madeEffect), typeid(prototype));
    ASSERT_EQ(made->items.size(), prototype.items.size());
    for (std::size_t i = 0; i < made->items.size(); ++i)
      EXPECT_TRUE(made->items[i]->equals(*prototype.items[i])) << prototype.items[i]->name;
  }
}

}  // namespace
