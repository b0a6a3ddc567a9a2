// The effect registry: registration order and indexes, lookups by name, refused and failed
// registrations, the menu lists, aliases and the effect chosen for a dropped file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "../system/exception_text.h"
#include "effect/media_file_probe.h"
#include "effect/movement_registry.h"
#include "registry_test_support.h"

namespace {

using namespace Effect;
using TestSupport::BlurStandIn;
using TestSupport::Kind;
using TestSupport::KindEffect;
using TestSupport::OtherBlur;
using TestSupport::RegistryTest;
using TestSupport::whatOf;

std::string notFoundEffect(const std::string& name) {
  return "not found effect.\n\n[Note]\n" + name +
         "\n\n[Place]\nEffect::EffectService::findEffect()";
}

std::vector<std::string> namesOf(const std::vector<EffectMenuDefine*>& entries) {
  std::vector<std::string> names;
  for (const EffectMenuDefine* entry : entries) names.emplace_back(entry->getName());
  return names;
}

bool containsLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(RegistryTest, EveryEntryTakesTheNextIndexInTheFixedOrder) {
  writeData("Alias/Intro.object", "[Object]\r\n");
  writeData("Alias/Soft.effect", "[Effect.0]\r\neffect.name=ぼかし\r\n");
  EffectService& registry = build();

  struct Entry {
    const char* name;
    int order;
  };
  const Entry movements[] = {
      {"移動無し", 0}, {"再生範囲", 1}, {"直線移動", 2}, {"補間移動", 3}, {"瞬間移動", 4},
  };
  for (const Entry& entry : movements) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(registry.findMovement(entry.name)->order, entry.order);
  }
  // The first run, the scripts between the two runs, then the second run.
  const Entry effects[] = {
      {"動画ファイル", 5},   {"画像ファイル", 6},   {"音声ファイル", 7},
      {"図形", 8},           {"フレームバッファ", 9}, {"標準描画", 10},
      {"音声再生", 11},      {"映像再生", 12},      {"基本出力", 13},
      {"パーティクル出力", 14}, {"グループ制御", 15}, {"カメラ制御", 16},
      {"シーンチェンジ", 17}, {"色調補正", 18},      {"グロー", 19},
      {"ぼかし", 20},        {"スクリプト甲", 21},  {"スクリプト乙", 22},
      {"並行光源(カメラ制御)", 23}, {"音量調整", 24},
  };
  for (const Entry& entry : effects) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(effect(entry.name).order, entry.order);
  }
  EXPECT_EQ(registry.getEffectDefines().size(), std::size(effects));
  EXPECT_EQ(registry.getMovementDefines().size(), std::size(movements));

  // Aliases follow everything: object aliases, then effect aliases.
  const auto& aliases = registry.getAliasDefines();
  ASSERT_EQ(aliases.size(), 2u);
  EXPECT_EQ(aliases[0]->getName(), "Intro");
  EXPECT_EQ(aliases[0]->getEffectType(), EffectType::ObjectAlias);
  EXPECT_EQ(aliases[0]->order, 25);
  EXPECT_EQ(aliases[1]->getName(), "Soft");
  EXPECT_EQ(aliases[1]->getEffectType(), EffectType::EffectAlias);
  EXPECT_EQ(aliases[1]->order, 26);
  EXPECT_EQ(registry.getRegisterCount(), 27);

  const auto infos = log.texts("INFO");
  EXPECT_TRUE(containsLine(infos, "register movement [移動無し]"));
  EXPECT_TRUE(containsLine(infos, "register effect [動画ファイル]"));
  EXPECT_TRUE(containsLine(infos, "register alias [Soft]"));
}

TEST_F(RegistryTest, TheScriptStepRegistersOnlyWhileTheRegistryIsBuilt) {
  EffectService& registry = build();
  EXPECT_TRUE(registry.isInitialized());
  EXPECT_EQ(scriptSteps, 1);
  EXPECT_EQ(scriptStepsWhileInitialized, 0);

  // A later reload runs the step again with the registry complete; nothing new is counted.
  const int count = registry.getRegisterCount();
  registry.loadScripts();
  EXPECT_EQ(scriptSteps, 2);
  EXPECT_EQ(scriptStepsWhileInitialized, 1);
  EXPECT_EQ(registry.getRegisterCount(), count);
}

TEST_F(RegistryTest, NumberItemsAndTrackTextsUseTheRegistrysMovements) {
  EffectService& registry = build();
  const MovementBase* noMove = registry.findMovement("移動無し")->getPrototype().get();
  EXPECT_EQ(defaultMovement(), noMove);
  EXPECT_EQ(playbackRangeMovement(), registry.findMovement("再生範囲")->getPrototype().get());
  // The prototypes' items were made after the movements were published.
  const auto& prototype = dynamic_cast<const KindEffect&>(*effect("色調補正").getPrototype());
  EXPECT_EQ(prototype.x.movement, noMove);

  {
    const auto instance = registry.createEffect("色調補正");
    auto& x = dynamic_cast<KindEffect&>(*instance).x;
    x.fromString("1.0,2.0,補間移動,0");
    EXPECT_EQ(x.movement, registry.findMovement("補間移動")->getPrototype().get());
  }
  EXPECT_EQ(MovementRegistry::instance().findMovement("瞬間移動"),
            registry.findMovement("瞬間移動")->getPrototype().get());

  // Kinds added through the movement table while the registry holds it become its entries.
  const MovementBase* added = MovementRegistry::instance().registerMovement(
      std::make_shared<TestSupport::CatalogueMove>("追加移動"));
  EXPECT_EQ(added, registry.findMovement("追加移動")->getPrototype().get());
  EXPECT_EQ(registry.findMovement("追加移動")->order, registry.getRegisterCount() - 1);

  // Without the registry the standalone table answers again.
  release();
  EXPECT_EQ(defaultMovement(), MovementRegistry::instance().findMovement("移動無し"));
  EXPECT_THROW(MovementRegistry::instance().findMovement("補間移動"), std::exception);
}

TEST_F(RegistryTest, NamesAreFoundExactlyAndAliasesNever) {
  Kind mosaic{"Mosaic", 3, 1, 1};
  catalogue.lastEffects = [&](EffectService& registry) {
    registry.registerEffect<KindEffect>(mosaic);
  };
  writeData("Alias/Intro.object", "[Object]\r\n");
  writeData("Alias/Soft.effect", "[Effect.0]\r\neffect.name=ぼかし\r\n");
  EffectService& registry = build();

  for (const std::string name : {"ぼかし ", " ぼかし", "MOSAIC", "mosaic", "Intro", "Soft", ""}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(whatOf([&] { registry.findEffect(name); }), notFoundEffect(name));
    EXPECT_EQ(registry.findEffectDefine(name), nullptr);
    EXPECT_EQ(registry.createEffect(name), nullptr);
  }

  EffectDefine* define = registry.findEffect("Mosaic");
  EXPECT_EQ(define->getName(), "Mosaic");
  EXPECT_EQ(mosaic.resourcesCreated, 1);
  const auto first = registry.createEffect("Mosaic");
  const auto second = registry.createEffect("Mosaic");
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_NE(first, define->getPrototype());
  // Instances share the kind's name text and its resources; none builds its own.
  EXPECT_EQ(first->name, define->getPrototype()->name);
  EXPECT_TRUE(define->isDefineOf(*first));
  EXPECT_FALSE(define->isDefineOf(*registry.createEffect("グロー")));
  EXPECT_EQ(mosaic.resourcesCreated, 1);
  EXPECT_EQ(mosaic.resourcesShared, 2);

  EXPECT_EQ(whatOf([&] { registry.findMovement("直線移動 "); }),
            "not found movement.\n\n[Place]\nEffect::EffectService::findMovement()");
}

TEST_F(RegistryTest, ASecondKindUnderATakenNameIsRefusedAndTheStartGoesOn) {
  Kind scriptVolume{"音量調整", 3, 1, 1, "アニメーション効果"};
  catalogue.movements = [](EffectService& registry) {
    EXPECT_EQ(registry.registerMovement<TestSupport::CatalogueMove>("直線移動"), nullptr);
    registry.registerMovement<TestSupport::CatalogueMove>("補間移動");
  };
  // A script named like a second-run kind takes the name first; the built-in is refused.
  catalogue.scripts = [&](EffectService& registry) {
    if (!registry.isInitialized()) registry.registerEffect<KindEffect>(scriptVolume);
  };
  catalogue.lastEffects = [this](EffectService& registry) {
    EXPECT_EQ(registry.registerEffect<OtherBlur>(), nullptr);
    TestSupport::registerKinds(registry, kinds.lastRun());
  };
  EffectService& registry = build();

  EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                            "Failed to register movement. [直線移動]\n\n"
                            "Duplicate movements with the same key exist.",
                            "Failed to register effect. [ぼかし]\n\n"
                            "Duplicate effects with the same key exist.",
                            "Failed to register effect. [音量調整]\n\n"
                            "Duplicate effects with the same key exist.",
                        }));
  // The first registrations stay; the refused ones built no resources.
  EXPECT_NE(registry.getDefaultEffect<BlurStandIn>(), nullptr);
  EXPECT_EQ(BlurStandIn::resourcesCreated, 1);
  EXPECT_EQ(OtherBlur::resourcesCreated, 0);
  EXPECT_EQ(effect("音量調整").getPrototype()->mediaType, MediaType::Video);
  EXPECT_EQ(kinds.audioFilter.resourcesCreated, 0);
  // A refused registration still used up its index.
  EXPECT_EQ(registry.findMovement("補間移動")->order, 4);
  EXPECT_EQ(effect("音量調整").order, 21);
  EXPECT_EQ(effect("並行光源(カメラ制御)").order, 23);
  EXPECT_EQ(registry.getRegisterCount(), 25);
}

TEST_F(RegistryTest, AKindWhoseClassFailsIsReportedAndLeftOut) {
  catalogue.lastEffects = [this](EffectService& registry) {
    EXPECT_EQ(registry.registerEffect<TestSupport::UnbuildableEffect>(), nullptr);
    EXPECT_EQ(registry.registerEffect<TestSupport::ResourcelessEffect>(), nullptr);
    TestSupport::registerKinds(registry, kinds.lastRun());
  };
  EffectService& registry = build();

  EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                            "Failed to register effect. [class TestSupport::UnbuildableEffect]\n\n"
                            "no shader compiler.",
                            "Failed to register effect. [class TestSupport::ResourcelessEffect]\n\n"
                            "shader compile failed.",
                        }));
  EXPECT_EQ(registry.findEffectDefine("作れない"), nullptr);
  EXPECT_EQ(registry.findEffectDefine(TestSupport::ResourcelessEffect::kName), nullptr);
  // A class that could not be made took no index; one whose resources failed did.
  EXPECT_EQ(effect("並行光源(カメラ制御)").order, 24);
  EXPECT_EQ(effect("音量調整").order, 25);
}

TEST_F(RegistryTest, AStartThatFailsLeavesNoRegistryBehind) {
  catalogue.firstEffects = [](EffectService&) { throw std::runtime_error("catalogue broken."); };
  EXPECT_THROW(build(), std::runtime_error);
  EXPECT_EQ(EffectService::instance(), nullptr);
  // The movement table is the standalone one again.
  EXPECT_EQ(defaultMovement(), MovementRegistry::instance().findMovement("移動無し"));
  EXPECT_THROW(MovementRegistry::instance().findMovement("補間移動"), std::exception);
}

TEST_F(RegistryTest, TheDefaultEffectIsThePrototypeOfItsOwnClass) {
  catalogue.lastEffects = [](EffectService&) {};
  EffectService& registry = build();
  EXPECT_EQ(registry.getDefaultEffect<BlurStandIn>(), effect("ぼかし").getPrototype().get());
  // Another class under the same name, and a class that is not registered at all.
  EXPECT_EQ(whatOf([&] { registry.getDefaultEffect<OtherBlur>(); }),
            "default effect not found\n\n[Note]\nclass TestSupport::OtherBlur\n\n"
            "[Place]\nEffect::EffectService::getDefaultEffect()");
  EXPECT_EQ(whatOf([&] { registry.getDefaultEffect<TestSupport::ResourcelessEffect>(); }),
            "default effect not found\n\n[Note]\nclass TestSupport::ResourcelessEffect\n\n"
            "[Place]\nEffect::EffectService::getDefaultEffect()");
}

TEST_F(RegistryTest, AnInputEffectGetsTheOutputOfItsMedia) {
  EffectService& registry = build();
  const struct {
    const char* input;
    const char* output;
  } cases[] = {
      {"動画ファイル", "映像再生"},
      {"画像ファイル", "標準描画"},
      {"図形", "標準描画"},
      {"フレームバッファ", "基本出力"},
      {"音声ファイル", "音声再生"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(registry.getOutputEffect(effect(c.input))->getName(), c.output);
  }
  EXPECT_EQ(whatOf([&] { registry.getOutputEffect(effect("並行光源(カメラ制御)")); }),
            "invalid input effect type.\n\n[Place]\nEffect::EffectService::getOutputEffect()");
}

TEST_F(RegistryTest, AnOutputThatIsMissingIsNotFound) {
  catalogue.firstEffects = [this](EffectService& registry) {
    TestSupport::registerKinds(registry, {&kinds.audioInput});
  };
  EffectService& registry = build();
  EXPECT_EQ(whatOf([&] { registry.getOutputEffect(effect("音声ファイル")); }),
            notFoundEffect("音声再生"));
}

TEST_F(RegistryTest, LegacyNamesAreMappedThroughTheOldScriptSection) {
  writeData("effect.conf", "[OldScript]\r\n旧ぼかし=ぼかし\r\n旧不明=消えた効果\r\n空=\r\n");
  // What the settings service needs of style.conf.
  writeData("style.conf",
            "[Layout]\r\nSettingItemHeight=18\r\nExplorerHeaderHeight=26\r\nListItemHeight=19\r\n");
  System::ServiceHolder<Setting::SettingService> settings;
  EffectService& registry = build();

  EXPECT_EQ(registry.findLegacyEffect("グロー"), &effect("グロー"));
  EXPECT_EQ(registry.findLegacyEffect("旧ぼかし"), &effect("ぼかし"));
  // The mapped name, or the name itself without a mapping, must be registered.
  EXPECT_EQ(whatOf([&] { registry.findLegacyEffect("旧不明"); }), notFoundEffect("消えた効果"));
  EXPECT_EQ(whatOf([&] { registry.findLegacyEffect("無い"); }), notFoundEffect("無い"));
  // An empty mapping is a broken settings file, not a name.
  EXPECT_THROW(registry.findLegacyEffect("空"), std::exception);
  release();
}

class MenuListTest : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    writeData("Alias/Intro.object", "[Object]\r\nframe=0,59\r\n[Object.0]\r\neffect.name=図形\r\n");
    writeData("Alias/Light.effect", "[Effect.0]\r\neffect.name=並行光源(カメラ制御)\r\n");
    writeData("Alias/Mute.effect", "[Effect.0]\r\neffect.name=音量調整\r\n");
    writeData("Alias/Broken.effect", "[Effect.0]\r\neffect.name=消えた効果\r\n");
  }
};

TEST_F(MenuListTest, EntriesAreFilteredByTypeMediaAndTarget) {
  EffectService& registry = build();
  log.clear();
  using Names = std::set<std::string>;
  const Names videoFilters = {"色調補正", "グロー", "ぼかし", "スクリプト甲"};
  const struct {
    const char* what;
    uint8_t type, media, target;
    Names expected;
  } cases[] = {
      {"object kinds", EffectService::kObjectKinds, 0, 0,
       {"動画ファイル", "画像ファイル", "音声ファイル", "図形", "フレームバッファ", "スクリプト乙",
        "グループ制御", "カメラ制御", "シーンチェンジ", "パーティクル出力", "Intro"}},
      {"filter kinds", EffectService::kFilterKinds, 0, 0,
       {"色調補正", "グロー", "ぼかし", "スクリプト甲", "並行光源(カメラ制御)", "音量調整",
        "Light", "Mute", "Broken"}},
      {"filters of video objects", EffectService::kFilterKinds, 1, 0, videoFilters},
      {"filters of video and audio objects", EffectService::kFilterKinds, 3, 0,
       {"色調補正", "グロー", "ぼかし", "スクリプト甲", "音量調整", "Mute"}},
      {"filters of camera objects", EffectService::kFilterKinds, 4, 0,
       {"並行光源(カメラ制御)", "Light"}},
      {"inputs for an audio object", EffectType::Input, 2, 0, {"音声ファイル", "動画ファイル"}},
      {"outputs", EffectType::Output, 0, 0,
       {"標準描画", "音声再生", "映像再生", "基本出力", "パーティクル出力"}},
      {"scene-change targets", 0, 0, 5, {"シーンチェンジ", "動画ファイル", "映像再生"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto list = registry.getEffectList(c.type, c.media, c.target);
    const auto names = namesOf(list);
    EXPECT_EQ(Names(names.begin(), names.end()), c.expected);
    EXPECT_EQ(names.size(), c.expected.size());
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                               [](auto* a, auto* b) { return a->order < b->order; }));
  }
  // Alias files were read to learn their types; a file naming no known effect says nothing.
  EXPECT_TRUE(log.texts("ERROR").empty());
  EXPECT_TRUE(log.texts("WARN").empty());
}

TEST_F(MenuListTest, SavedMenuSettingsOrderTheListAndHiddenEntriesStayIn) {
  parameters().getOrCreateValue("Effect.グロー", "order").text = "-5";
  parameters().getOrCreateValue("Effect.グロー", "hide").text = "1";
  parameters().getOrCreateValue("Effect.effect.Mute", "order").text = "-1";
  EffectService& registry = build();

  const auto names = namesOf(registry.getEffectList(EffectService::kFilterKinds, 3, 0));
  EXPECT_EQ(names, (std::vector<std::string>{"グロー", "Mute", "色調補正", "ぼかし",
                                             "スクリプト甲", "音量調整"}));
  EXPECT_EQ(effect("グロー").hide, 1);
}

TEST_F(MenuListTest, LabelsAreListedOnceInMenuOrder) {
  EffectService& registry = build();
  const auto labelsOf = [&] {
    std::vector<std::string> labels;
    for (const std::string* label : registry.getEffectLabelList()) labels.push_back(*label);
    return labels;
  };
  const std::vector<std::string> builtIn = {
      "オブジェクト制御", "シーンチェンジ", "色調整", "光効果", "ぼかし", "アニメーション効果",
      "カスタムオブジェクト", "カメラ制御", "音声効果"};
  EXPECT_EQ(labelsOf(), builtIn);

  // An alias with a known label adds nothing; a new label comes after every effect.
  registry.setAliasLabel("Intro", "ぼかし");
  EXPECT_EQ(labelsOf(), builtIn);
  registry.setAliasLabel("Mute", "自作");
  auto withAlias = builtIn;
  withAlias.push_back("自作");
  EXPECT_EQ(labelsOf(), withAlias);
}

TEST_F(MenuListTest, MovementMenusLeaveOutThePlaybackRangeUnlessAsked) {
  EffectService& registry = build();
  const auto namesOfMovements = [](const std::vector<const MovementDefine*>& list) {
    std::vector<std::string> names;
    for (const MovementDefine* define : list) names.emplace_back(define->getName());
    return names;
  };
  EXPECT_EQ(namesOfMovements(registry.getMovementList()),
            (std::vector<std::string>{"移動無し", "直線移動", "補間移動", "瞬間移動"}));

  // A media input's position item adds it; it takes its place by its order.
  const MovementDefine* range = registry.findMovement("再生範囲");
  const auto withRange = registry.getMovementList(
      [range](std::vector<const MovementDefine*>& list) { list.push_back(range); });
  EXPECT_EQ(namesOfMovements(withRange),
            (std::vector<std::string>{"移動無し", "再生範囲", "直線移動", "補間移動", "瞬間移動"}));
}

TEST_F(MenuListTest, AliasTypesComeFromTheirFirstEffect) {
  EffectService& registry = build();
  const struct {
    const char* name;
    uint8_t media, target;
  } cases[] = {
      {"Intro", 0, 0},  // an object alias never tells
      {"Light", MediaType::Camera, TargetType::Camera},
      {"Mute", MediaType::Audio, TargetType::Audio},
      {"Broken", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto& aliases = registry.getAliasDefines();
    const auto found = std::find_if(aliases.begin(), aliases.end(),
                                    [&](const auto& alias) { return alias->getName() == c.name; });
    ASSERT_NE(found, aliases.end());
    EXPECT_EQ((*found)->getMediaType(), c.media);
    EXPECT_EQ((*found)->getTargetType(), c.target);
  }
}

TEST_F(RegistryTest, AliasesShareNamesAndKeepTheirFilesExtension) {
  writeData("Alias/a.object", "[Object]\r\n");
  writeData("Alias/a.effect", "[Effect.0]\r\neffect.name=グロー\r\n");
  writeData("Alias/Up.OBJECT", "[Object]\r\n");
  writeData("Alias/noextension", "");
  EffectService& registry = build();

  const auto& aliases = registry.getAliasDefines();
  ASSERT_EQ(aliases.size(), 3u);
  std::set<std::string> objects{std::string(aliases[0]->getName()),
                                std::string(aliases[1]->getName())};
  EXPECT_EQ(objects, (std::set<std::string>{"a", "Up"}));
  EXPECT_EQ(aliases[2]->getName(), "a");
  EXPECT_EQ(aliases[2]->getKind(), "effect");
  for (const auto& alias : aliases) {
    SCOPED_TRACE(alias->getSectionName());
    EXPECT_TRUE(System::File::exists(alias->getFilePath()));
  }

  // A label goes to the first alias of the name: the object alias.
  registry.setAliasLabel("a", "甲");
  registry.setAliasLabel("無い", "乙");
  for (const auto& alias : aliases)
    EXPECT_EQ(alias->label, alias->getSectionName() == "Effect.object.a" ? "甲" : "");

  // Reading the folder again takes fresh indexes, but every alias wrote its menu settings
  // when it went, so the saved order stands; the saved alias gets its label.
  std::map<std::string, int> orders;
  for (const auto& alias : aliases) orders[alias->getSectionName()] = alias->order;
  const int before = registry.getRegisterCount();
  registry.reloadAlias("a", "丙");
  EXPECT_EQ(registry.getRegisterCount(), before + 3);
  ASSERT_EQ(registry.getAliasDefines().size(), 3u);
  for (const auto& alias : registry.getAliasDefines()) {
    SCOPED_TRACE(alias->getSectionName());
    EXPECT_EQ(alias->order, orders[alias->getSectionName()]);
    EXPECT_EQ(alias->label, alias->getSectionName() == "Effect.object.a" ? "丙" : "");
  }
  registry.clearAlias();
  EXPECT_TRUE(registry.getAliasDefines().empty());
}

class FakeProbe : public MediaFileProbe {
 public:
  FakeProbe() { setMediaFileProbe(this); }
  FakeProbe(const FakeProbe&) = delete;
  FakeProbe& operator=(const FakeProbe&) = delete;
  ~FakeProbe() override { setMediaFileProbe(nullptr); }

  bool isMediaExtension(std::string_view extension) const override {
    return extension == "mp4" || extension == "wav" || extension == "png";
  }
  bool checkSvgFile(const std::string& path) const override {
    opened.push_back(path);
    return path.find("good") != std::string::npos;
  }
  std::optional<MediaFileInfo> probeMediaFile(const std::string& path) const override {
    opened.push_back(path);
    if (path.find("throws") != std::string::npos) throw std::runtime_error("reader crashed.");
    if (path.find("still") != std::string::npos) return MediaFileInfo{true, 1, false};
    if (path.find("movie") != std::string::npos) return MediaFileInfo{true, 2, true};
    if (path.find("sound") != std::string::npos) return MediaFileInfo{false, 0, true};
    if (path.find("empty") != std::string::npos) return MediaFileInfo{};
    return std::nullopt;
  }

  mutable std::vector<std::string> opened;
};

TEST_F(RegistryTest, ADroppedFileGetsTheInputEffectOfWhatItHolds) {
  EffectService& registry = build();
  {
    // Without the media layer only figures count, and nothing is opened.
    EXPECT_TRUE(registry.isObjectFile("/x/star.SVG"));
    EXPECT_FALSE(registry.isObjectFile("/x/clip.mp4"));
    EXPECT_EQ(registry.getFileEffectName("/x/good.svg"), nullptr);
  }
  FakeProbe probe;
  const struct {
    const char* path;
    bool objectFile;
    const char* effect;
  } cases[] = {
      {"/x/good.svg", true, "図形"},
      {"/x/broken.svg", true, nullptr},  // offered to the readers, which refuse it
      {"/x/still.png", true, "画像ファイル"},
      {"/x/movie.mp4", true, "動画ファイル"},
      {"/x/sound.wav", true, "音声ファイル"},
      {"/x/empty.mp4", true, nullptr},
      {"/x/throws.mp4", true, nullptr},
      {"/x/notes.txt", false, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    probe.opened.clear();
    EXPECT_EQ(registry.isObjectFile(c.path), c.objectFile);
    EXPECT_TRUE(probe.opened.empty());
    const char* name = registry.getFileEffectName(c.path);
    EXPECT_EQ(name ? std::string(name) : "(none)", c.effect ? c.effect : "(none)");
  }
}

}  // namespace
