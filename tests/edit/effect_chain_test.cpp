// Where each kind of effect stands in an object's chain, how chains are changed, copied and
// read, and the command that removes an effect.
#include <gtest/gtest.h>

#include "../system/exception_text.h"
#include "edit/effect_command.h"
#include "registry_fixture.h"

namespace {

using ChainFixture::KindEffect;
using Names = std::vector<std::string>;
using TestSupport::whatOf;

class EffectChain : public ChainFixture::RegistryFixture {};

TEST_F(EffectChain, TheTypeRuleMatchesItsTable) {
  // Rows: target type 1..5; columns: media type 0..4.
  const bool fits[5][5] = {
      {true, true, false, true, false}, {true, false, true, true, false},
      {true, true, true, true, false},  {true, false, false, false, true},
      {true, false, false, false, false},
  };
  for (int t = 1; t <= 5; ++t)
    for (int m = 0; m <= 4; ++m)
      EXPECT_EQ(Edit::EffectManager::fitsTargetType(t, m), fits[t - 1][m]) << t << "/" << m;
}

TEST_F(EffectChain, AnInputOnAnEmptyChainBringsTheOutputThatGoesWithIt) {
  const struct {
    const char* input;
    const char* output;
  } cases[] = {{"動画ファイル", "映像再生"},
               {"音声ファイル", "音声再生"},
               {"画像ファイル", "標準描画"},
               {"フレームバッファ", "基本出力"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    Edit::Object object;
    auto* entry = object.setEffectByDefine(define(c.input));
    EXPECT_EQ(entry, &object.effects[0]);
    EXPECT_EQ(chainOf(object), (Names{c.input, c.output}));
  }
}

TEST_F(EffectChain, ReplacingTheInputKeepsOrDropsWhatFollows) {
  // The same input again keeps the instance and its values.
  auto object = chain({"画像ファイル", "色調補正"});
  kindAt(*object, 0).count.value = 42;
  const auto first = object->effects[0];
  object->setInputEffect(define("画像ファイル"));
  EXPECT_EQ(object->effects[0], first);
  EXPECT_EQ(kindAt(*object, 0).count.value, 42);

  // Another video input keeps output and filters.
  object->setInputEffect(define("図形"));
  EXPECT_EQ(chainOf(*object), (Names{"図形", "標準描画", "色調補正"}));
  EXPECT_NE(object->effects[0], first);

  // An audio input: the video filter and output go, the audio output comes.
  object->setInputEffect(define("音声ファイル"));
  object->fitEffectsToInput();
  EXPECT_EQ(chainOf(*object), (Names{"音声ファイル", "音声再生"}));

  // A filter that does not fit the current input blocks the replacement.
  auto audio = chain({"音声ファイル", "音量調整"});
  audio->effects[1] = define("色調補正").createEffect();  // smuggled in
  EXPECT_EQ(whatOf([&] { audio->setInputEffect(define("画像ファイル")); }),
            "different filter effect type.\n\n[Place]\nEdit::EffectManager::setInputEffect()");
}

TEST_F(EffectChain, FittingKeepsTheFiltersThatSuitBehindTheNewOutput) {
  auto object = chain({"動画ファイル", "色調補正", "音量調整", "時間制御"});
  object->setInputEffect(define("画像ファイル"));
  object->fitEffectsToInput();
  // The movie output suits a video input too, so it stays.
  EXPECT_EQ(chainOf(*object), (Names{"画像ファイル", "映像再生", "色調補正", "時間制御"}));
  // A lost output is replaced by the one that goes with the input, ahead of the filters.
  object->effects.erase(object->effects.begin() + 1);
  object->fitEffectsToInput();
  EXPECT_EQ(chainOf(*object), (Names{"画像ファイル", "標準描画", "色調補正", "時間制御"}));
}

TEST_F(EffectChain, OutputsStandAtPositionOne) {
  auto object = chain({"画像ファイル"});
  auto* entry = object->setOutputEffect(define("パーティクル出力"));
  EXPECT_EQ(entry, &object->effects[1]);
  EXPECT_EQ(chainOf(*object), (Names{"画像ファイル", "パーティクル出力"}));

  Edit::Object empty;
  empty.setOutputEffect(define("パーティクル出力"));
  EXPECT_EQ(chainOf(empty), (Names{"図形", "パーティクル出力"}));

  const struct {
    const char* output;
    std::string error;
  } refused[] = {
      {"音声の出力", "not exist input effect.\n\n[Place]\nEdit::EffectManager::setOutputEffect()"},
      {"標準描画", "not exist input effect.\n\n[Place]\nEdit::EffectManager::setOutputEffect()"},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.output);
    Edit::Object none;
    EXPECT_EQ(whatOf([&] { none.setOutputEffect(define(c.output)); }), c.error);
    EXPECT_TRUE(none.effects.empty());
  }
  auto filter = chain({"色調補正"});
  EXPECT_EQ(whatOf([&] { filter->setOutputEffect(define("標準描画")); }),
            "different effect type.\n\n[Place]\nEdit::EffectManager::setOutputEffect()");
}

TEST_F(EffectChain, FiltersMustSuitTheFirstEffect) {
  auto image = chain({"画像ファイル"});
  EXPECT_EQ(whatOf([&] { image->setFilterEffect(define("音量調整")); }),
            "different effect type.\n\n[Place]\nEdit::EffectManager::setFilterEffect()");
  EXPECT_EQ(chainOf(*image), (Names{"画像ファイル", "標準描画"}));
  auto movie = chain({"動画ファイル"});
  movie->setFilterEffect(define("音量調整"));
  EXPECT_EQ(chainOf(*movie), (Names{"動画ファイル", "映像再生", "音量調整"}));
  // A filter on an empty chain makes a filter object.
  EXPECT_EQ(chainOf(*chain({"ぼかし", "色調補正"})), (Names{"ぼかし", "色調補正"}));
}

TEST_F(EffectChain, ControlsReplaceOnlyASceneChange) {
  auto change = chain({"シーンチェンジ", "時間制御"});
  EXPECT_FALSE(change->controlFlag);
  change->setControlEffect(define("シーンチェンジ2"));
  EXPECT_EQ(chainOf(*change), (Names{"シーンチェンジ2"}));
  change->setControlEffect(define("グループ制御"));
  EXPECT_EQ(chainOf(*change), (Names{"グループ制御"}));
  EXPECT_TRUE(change->controlFlag);

  for (auto object : {chain({"グループ制御"}), chain({"画像ファイル"}), chain({"色調補正"})}) {
    const auto before = object->effects;
    EXPECT_EQ(whatOf([&] { object->setControlEffect(define("カメラ制御")); }),
              "can not change control effect.\n\n[Place]\nEdit::EffectManager::setControlEffect()");
    EXPECT_EQ(object->effects, before);
  }
  EXPECT_TRUE(chain({"カメラ制御"})->controlFlag);
}

TEST_F(EffectChain, ByNameTheNewEffectTakesDefaultsAndIsSizedAndTheChainSurvivesFailures) {
  Effect::EffectDefine& blur = *Effect::EffectService::instance()->findEffect("ぼかし");
  const auto edited = blur.createEffect();
  dynamic_cast<KindEffect&>(*edited).count.value = 7;
  blur.saveDefaultFile(*edited);

  auto object = std::make_shared<Edit::Object>(0, 0, 99);
  object->boundaries = {30, 60};
  object->setEffectByName("画像ファイル", nullptr);
  object->setEffectByName("ぼかし", nullptr);
  EXPECT_EQ(kindAt(*object, 2).count.value, 7);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(kindAt(*object, i).x.values.size(), 4u) << i;

  const auto before = object->effects;
  EXPECT_EQ(whatOf([&] { object->setEffectByName("無い効果", nullptr); }),
            "not found effect.\n\n[Note]\n無い効果\n\n[Place]\nEffect::EffectService::findEffect()");
  EXPECT_EQ(whatOf([&] { object->setEffectByName("音量調整", nullptr); }),
            "different effect type.\n\n[Place]\nEdit::EffectManager::setFilterEffect()");
  EXPECT_EQ(object->effects, before);
}

TEST_F(EffectChain, AFilterPlacedAfterAnEffectStopsBehindItOrBehindTheNearestNonFilter) {
  const struct {
    int after;  // chain position of the effect to place after
    Names chain;
  } cases[] = {
      {0, {"画像ファイル", "標準描画", "時間制御", "色調補正", "ぼかし"}},
      {1, {"画像ファイル", "標準描画", "時間制御", "色調補正", "ぼかし"}},
      {2, {"画像ファイル", "標準描画", "色調補正", "時間制御", "ぼかし"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after);
    auto object = chain({"画像ファイル", "色調補正", "ぼかし"});
    const auto* after = object->effects[c.after].get();
    object->setEffectByName("時間制御", after);
    EXPECT_EQ(chainOf(*object), c.chain);
  }
  // Only filters before it: to the front.
  auto filters = chain({"色調補正", "ぼかし"});
  filters->setEffectByName("時間制御", define("図形").getPrototype().get());
  EXPECT_EQ(chainOf(*filters), (Names{"時間制御", "色調補正", "ぼかし"}));
}

TEST_F(EffectChain, ObjectTypeFollowsTheFirstEffect) {
  const struct {
    std::initializer_list<const char*> chain;
    int type;
  } cases[] = {
      {{"画像ファイル"}, 1},           {{"音声ファイル"}, 2},       {{"動画ファイル"}, 3},
      {{"色調補正"}, 4},               {{"音量調整"}, 5},           {{"カメラ効果"}, 6},
      {{"グループ制御"}, 7},           {{"シーンチェンジ"}, 7},
  };
  for (const auto& c : cases) EXPECT_EQ(chain(c.chain)->getObjectType(), c.type);
  // A movie whose output became a plain video output is a video object.
  auto movie = chain({"動画ファイル"});
  movie->effects[1] = define("標準描画").createEffect();
  EXPECT_EQ(movie->getObjectType(), 1);

  Edit::Object empty;
  EXPECT_EQ(whatOf([&] { empty.getObjectType(); }),
            "not exist effect.\n\n[Place]\nEdit::EffectManager::getObjectType()");
  empty.effects.push_back(define("標準描画").createEffect());
  EXPECT_EQ(whatOf([&] { empty.getObjectType(); }),
            "illegal top effect.\n\n[Place]\nEdit::EffectManager::getObjectType()");
}

TEST_F(EffectChain, RemovingAndMovingKeepTheShape) {
  auto filters = chain({"色調補正", "ぼかし"});
  const auto second = filters->effects[1];
  filters->removeEffect(filters->effects[0].get());
  EXPECT_EQ(filters->effects, Edit::EffectManager::EffectList{second});
  filters->removeEffect(second.get());  // the only filter stays
  EXPECT_EQ(filters->effects.size(), 1u);

  auto media = chain({"画像ファイル", "色調補正", "ぼかし"});
  const auto input = media->effects[0].get();
  media->removeEffect(input);
  EXPECT_EQ(media->effects[0].get(), input);
  media->removeEffect(chain({"色調補正"})->effects[0].get());  // not in the chain
  EXPECT_EQ(media->effects.size(), 4u);

  const auto* first = media->effects[2].get();
  const auto* last = media->effects[3].get();
  media->moveEffectUp(first);  // would pass the output
  EXPECT_EQ(media->effects[2].get(), first);
  EXPECT_TRUE(media->canMoveEffectDown(first));
  EXPECT_FALSE(media->canMoveEffectDown(last));
  EXPECT_FALSE(media->canMoveEffectDown(media->effects[1].get()));
  media->moveEffectDown(first);
  EXPECT_EQ(chainOf(*media), (Names{"画像ファイル", "標準描画", "ぼかし", "色調補正"}));
  media->moveEffectUp(first);
  EXPECT_EQ(chainOf(*media), (Names{"画像ファイル", "標準描画", "色調補正", "ぼかし"}));
  media->removeEffect(last);
  EXPECT_EQ(chainOf(*media), (Names{"画像ファイル", "標準描画", "色調補正"}));

  auto control = chain({"グループ制御"});
  control->removeEffect(control->effects[0].get());
  EXPECT_EQ(control->effects.size(), 1u);
}

TEST_F(EffectChain, CopiesAreIndependentWithValuesAndFlags) {
  auto object = chain({"グループ制御", "色調補正"});
  kindAt(*object, 1).count.value = 9;
  object->effects[1]->disable = true;
  object->effects[1]->lock = true;
  Edit::Object copy;
  object->copyEffects(copy);
  EXPECT_EQ(chainOf(copy), chainOf(*object));
  EXPECT_TRUE(copy.controlFlag);
  EXPECT_NE(copy.effects[1], object->effects[1]);
  EXPECT_EQ(kindAt(copy, 1).count.value, 9);
  EXPECT_TRUE(copy.effects[1]->disable);
  EXPECT_FALSE(copy.effects[1]->hide);
  EXPECT_TRUE(copy.effects[1]->lock);
}

TEST_F(EffectChain, PointValuesAreTakenByPointOrEndAndCanLandOnAnotherChain) {
  auto object = std::make_shared<Edit::Object>(0, 0, 99);
  object->boundaries = {30, 60};
  object->setEffectByName("画像ファイル", nullptr);
  auto& x = kindAt(*object, 0).x;
  ASSERT_EQ(x.values.size(), 4u);
  for (int i = 0; i < 4; ++i) x.setValue(10.0 * (i + 1), i);

  const struct {
    int point;
    double value;
  } cases[] = {{0, 10.0}, {2, 30.0}, {3, 40.0}, {9, 40.0}, {-1, 10.0}};
  for (const auto& c : cases) {
    Edit::SectionValueMap out;
    object->copyPointValues(out, *object, c.point, nullptr);
    ASSERT_TRUE(out.contains(&x)) << c.point;
    EXPECT_DOUBLE_EQ(out[&x].value, c.value) << c.point;
    EXPECT_EQ(out[&x].pointIndex, -1);
  }

  auto other = chain({"画像ファイル"});
  Edit::SectionValueMap out;
  object->copyPointValues(out, *object, 3, other.get());
  EXPECT_FALSE(out.contains(&x));
  EXPECT_DOUBLE_EQ(out.at(&kindAt(*other, 0).x).value, 40.0);
  Edit::SectionValueMap none;
  object->copyPointValues(none, *object, 3, chain({"グループ制御"}).get());
  EXPECT_EQ(none.size(), 1u);  // only the input's track has a counterpart
}

TEST_F(EffectChain, TheRemoveCommandIsOneUndoStep) {
  std::shared_ptr<Edit::Object> object;
  {
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    object = scope.scene->createObject("画像ファイル", 0, 0, 99);
    scope.close();
  }
  object->setEffectByName("色調補正", nullptr);
  const auto filter = object->effects[2];
  Edit::EditCommand::removeEffect(object, filter.get());
  EXPECT_EQ(chainOf(*object), (Names{"画像ファイル", "標準描画"}));
  Undo::UndoService::instance()->undo();
  ASSERT_EQ(object->effects.size(), 3u);
  EXPECT_EQ(object->effects[2]->name, filter->name);
}

}  // namespace

namespace {

TEST_F(EffectChain, LoadedEffectsTakeTheSectionsValuesAlsoWhenTheyStayInPlace) {
  System::IniFile ini;
  ini.getOrCreateValue("e", "個数").text = "5";
  ini.getOrCreateValue("e", "display.lock").text = "1";
  const auto section = ini.getSection("e");

  auto object = chain({"画像ファイル"});
  object->boundaries = {50};
  const auto input = object->effects[0];
  object->loadEffectByName("画像ファイル", section, *object, nullptr);
  EXPECT_EQ(object->effects[0], input);
  EXPECT_EQ(kindAt(*object, 0).count.value, 5);
  EXPECT_TRUE(input->lock);

  object->loadEffectByName("ぼかし", section, *object, object->effects[0].get());
  EXPECT_EQ(chainOf(*object), (Names{"画像ファイル", "標準描画", "ぼかし"}));
  EXPECT_EQ(kindAt(*object, 2).count.value, 5);
  EXPECT_EQ(kindAt(*object, 2).x.values.size(), 3u);
}

}  // namespace
