// Script files becoming effect and movement kinds: the order they are read in, the kinds
// and labels they get, the names they are refused, what a reload refreshes, and the script
// information list.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "registry_test_support.h"
#include "effect/script_effect.h"
#include "effect/script_movement.h"

namespace {

using Effect::EffectBase;
using Effect::EffectService;
using Effect::ScriptEffect;
using Effect::ScriptMovement;
using Effect::ScriptRecord;

// A built-in effect whose work is a script of its own, like the text input.
class ScriptedBuiltIn : public ScriptEffect {
 public:
  ScriptedBuiltIn() : ScriptEffect("テキスト", 1, 1, "") {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<ScriptedBuiltIn>();
  }
  void createResource() override {
    ScriptEffect::createResource();
    record()->text = "built-in text";
  }
};

std::string duplicateEffect(const std::string& name) {
  return "Failed to register effect. [" + name + "]\n\nDuplicate effects with the same key exist.";
}

class ScriptRegistrationTest : public TestSupport::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    // The script files themselves, not the catalogue's stand-in kinds.
    catalogue.scripts = nullptr;
  }

  std::string writeScript(const std::string& name, const std::string& contents) {
    return writeData("Script/" + name, contents);
  }
  // Every bundle, each with the scripts given (the others with none).
  void writeBundles(const std::string& obj2, const std::string& anm2, const std::string& cam2,
                    const std::string& scn2, const std::string& tra2) {
    writeInstall("script.obj2", obj2);
    writeInstall("script.anm2", anm2);
    writeInstall("script.cam2", cam2);
    writeInstall("script.scn2", scn2);
    writeInstall("script.tra2", tra2);
  }

  const ScriptRecord& record(const char* name) {
    return *dynamic_cast<const ScriptEffect&>(*effect(name).getPrototype()).record();
  }
  ScriptMovement& movement(const char* name) {
    return dynamic_cast<ScriptMovement&>(
        *EffectService::instance()->findMovement(name)->getPrototype());
  }
  int order(const char* name) { return effect(name).order; }
};

TEST_F(ScriptRegistrationTest, BundlesTakeTheIndexesBetweenTheTwoRunsInTheirOrder) {
  writeBundles("@Obj1\nobj.x=1\n@Obj2\nobj.x=2\n", "@Anm1\nobj.y=1\n", "@Cam1\n",
               "@Scn1\n", "@Tra1\nreturn 0\n");
  EffectService& registry = build();

  struct Expected {
    const char* name;
    int order;
    const std::type_info& kind;
    uint8_t effectType, mediaType, targetType;
    const char* label;
  };
  // The first run ends with "ぼかし" at 20; the movement script takes 26 among them.
  const Expected effects[] = {
      {"Obj1", 21, typeid(Effect::ScriptInput), 1, 1, 1, "カスタムオブジェクト"},
      {"Obj2", 22, typeid(Effect::ScriptInput), 1, 1, 1, "カスタムオブジェクト"},
      {"Anm1", 23, typeid(Effect::ScriptFilter), 3, 1, 1, "アニメーション効果"},
      {"Cam1", 24, typeid(Effect::CameraScript), 3, 4, 4, "カメラ効果"},
      {"Scn1", 25, typeid(Effect::SceneChangeScript), 4, 1, 5, "シーンチェンジ"},
  };
  for (const Expected& e : effects) {
    SCOPED_TRACE(e.name);
    const Effect::EffectDefine& define = effect(e.name);
    const EffectBase& prototype = *define.getPrototype();
    EXPECT_EQ(define.order, e.order);
    EXPECT_EQ(typeid(prototype), e.kind);
    EXPECT_EQ(prototype.effectType, e.effectType);
    EXPECT_EQ(prototype.mediaType, e.mediaType);
    EXPECT_EQ(prototype.targetType, e.targetType);
    EXPECT_EQ(define.label, e.label);
    // The record holds the name the kind is known by, and the bundle's folder.
    EXPECT_EQ(prototype.name, record(e.name).name.c_str());
    EXPECT_EQ(record(e.name).directory, System::FileName::getVariable("%AppInstall%"));
    EXPECT_EQ(record(e.name).engineName, "");
  }
  EXPECT_EQ(record("Obj2").text, "obj.x=2\n");
  EXPECT_EQ(registry.findMovement("Tra1")->order, 26);
  EXPECT_EQ(order("並行光源(カメラ制御)"), 27);
  EXPECT_EQ(order("音量調整"), 28);

  // A movement script starts with one value per point, no speed options, no parameters.
  const ScriptMovement& tra = movement("Tra1");
  EXPECT_EQ(tra.name, "Tra1");
  EXPECT_EQ(tra.record.text, "return 0\n");
  EXPECT_EQ(tra.valueCount, -1);
  EXPECT_EQ(tra.accelerate, Effect::MovementBase::NotOffered);
  EXPECT_EQ(tra.decelerate, Effect::MovementBase::NotOffered);
  EXPECT_EQ(tra.ignoreMidpoints, Effect::MovementBase::OfferedOff);
  EXPECT_TRUE(tra.midpointAnchors);
  EXPECT_FALSE(tra.timeControl);
  EXPECT_TRUE(tra.defaultParams.empty());
  const auto movements = registry.getMovementList();
  EXPECT_TRUE(std::any_of(movements.begin(), movements.end(),
                          [](const auto* define) { return define->getName() == "Tra1"; }));

  // Every effect of a script shares the prototype's record and name text.
  const auto instance = registry.createEffect("Anm1");
  ASSERT_NE(instance, nullptr);
  EXPECT_TRUE(effect("Anm1").isDefineOf(*instance));
  EXPECT_EQ(dynamic_cast<const ScriptEffect&>(*instance).record().get(), &record("Anm1"));

  EXPECT_TRUE(log.texts("WARN").empty());
  const auto infos = log.texts("INFO");
  EXPECT_NE(std::find(infos.begin(), infos.end(), "register effect [Cam1]"), infos.end());
  EXPECT_NE(std::find(infos.begin(), infos.end(), "register movement [Tra1]"), infos.end());
}

TEST_F(ScriptRegistrationTest, MissingBundlesAreWarnedAndTheStartGoesOn) {
  build();
  const auto warnings = log.texts("WARN");
  ASSERT_EQ(warnings.size(), 5u);
  for (const std::string& warning : warnings)
    EXPECT_EQ(warning.rfind("script file load faild.\nfailed to open file.", 0), 0u) << warning;
  EXPECT_NE(warnings[0].find("/script.obj2"), std::string::npos);
  EXPECT_NE(warnings[4].find("/script.tra2"), std::string::npos);
  EXPECT_EQ(order("並行光源(カメラ制御)"), 21);
}

TEST_F(ScriptRegistrationTest, FoldersAreReadOneLevelDeepAndSubFoldersNameTheLabel) {
  writeScript("x.anm2", "obj.x=1\n");
  writeScript("t.cam2", "--label:自作カメラ\n");
  writeScript("Foo/v.obj2", "--label:自作\n");
  writeScript("Foo/y.anm2", "obj.y=1\n");
  writeScript("Foo/u.anm2", "obj.u=1\n");
  writeScript("Foo/w.tra2", "return 1\n");
  writeScript("Foo/Bar/z.anm2", "obj.z=1\n");
  writeScript(".hidden/h.anm2", "obj.h=1\n");
  // The user saved menu values for u: its saved label stands.
  parameters().getOrCreateValue("Effect.u", "label").text = "保存";
  EffectService& registry = build();

  EXPECT_EQ(effect("x").label, "アニメーション効果");
  EXPECT_EQ(effect("t").label, "自作カメラ");
  EXPECT_EQ(effect("v").label, "自作");
  EXPECT_EQ(effect("y").label, "Foo");
  EXPECT_EQ(effect("u").label, "保存");
  EXPECT_EQ(registry.findMovement("w")->label, "Foo");
  EXPECT_EQ(registry.findEffectDefine("z"), nullptr);
  EXPECT_EQ(registry.findEffectDefine("h"), nullptr);
  EXPECT_EQ(record("y").directory, dataPath("Script/Foo"));
  EXPECT_EQ(record("x").directory, dataPath("Script"));

  // The script folder itself by the patterns, then the sub-folder by the patterns.
  EXPECT_LT(order("x"), order("t"));
  EXPECT_LT(order("t"), order("v"));
  EXPECT_LT(order("v"), std::min(order("y"), order("u")));
  EXPECT_LT(std::max(order("y"), order("u")), registry.findMovement("w")->order);
  EXPECT_LT(registry.findMovement("w")->order, order("並行光源(カメラ制御)"));
}

TEST_F(ScriptRegistrationTest, CurrentFilesComeFirstAndTakenNamesAreRefused) {
  writeBundles("", "@Dup\nbundle text\n", "", "", "");
  writeScript("Dup.anm2", "user text\n");
  writeScript("x.obj", "legacy\n");
  writeScript("x.obj2", "current\n");
  writeScript("直線移動.tra2", "return 2\n");
  // "テスト" in the legacy code page.
  writeScript("y.obj", "--information:\x83\x65\x83\x58\x83\x67\n");
  build();

  EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                            duplicateEffect("Dup"),
                            "Failed to register movement. [直線移動]\n\n"
                            "Duplicate movements with the same key exist.",
                            duplicateEffect("x"),
                        }));
  EXPECT_EQ(record("Dup").text, "bundle text\n");
  EXPECT_EQ(record("Dup").directory, System::FileName::getVariable("%AppInstall%"));
  EXPECT_EQ(record("x").text, "current\n");
  EXPECT_EQ(record("x").engineName, "");
  // Legacy scripts are converted and run on the plain Lua engine.
  EXPECT_EQ(record("y").text, "--information:テスト\n");
  EXPECT_EQ(record("y").information, "テスト");
  EXPECT_EQ(record("y").engineName, "lua");
  // Refused names still took their index: x.obj2, Dup, 直線移動, x.obj, y.obj.
  EXPECT_EQ(order("並行光源(カメラ制御)"), order("x") + 5);
}

TEST_F(ScriptRegistrationTest, AReloadReplacesTheTextOfTheSameKindOnly) {
  catalogue.firstEffects = [this](EffectService& registry) {
    TestSupport::registerKinds(registry, kinds.firstRun());
    registry.registerEffect<TestSupport::BlurStandIn>();
    registry.registerEffect<ScriptedBuiltIn>();
  };
  writeScript("s.obj2", "obj v1\n");
  writeScript("s.anm2", "anm v1\n");
  writeScript("テキスト.anm2", "user v1\n");
  writeScript("ぼかし.anm2", "blur v1\n");
  writeScript("m.tra2", "move v1\n");
  EffectService& registry = build();
  ASSERT_EQ(boxTexts().size(), 3u);  // s.anm2, テキスト and ぼかし refused at the start

  auto& s = dynamic_cast<ScriptEffect&>(*effect("s").getPrototype());
  s.record()->compiled = std::make_shared<Effect::CompiledScript>();
  const auto instance = registry.createEffect("s");
  const int count = registry.getRegisterCount();

  writeScript("s.obj2", "--information:new\nobj v2\n");
  writeScript("s.anm2", "anm v2\n");
  writeScript("テキスト.anm2", "user v2\n");
  writeScript("ぼかし.anm2", "blur v2\n");
  writeScript("m.tra2", "move v2\n");
  writeScript("new.anm2", "new\n");
  log.clear();
  registry.loadScripts();

  // The custom object keeps its kind and takes its own file's text; the header is not
  // read again and what was compiled from the old text is gone.
  EXPECT_EQ(record("s").text, "--information:new\nobj v2\n");
  EXPECT_EQ(record("s").information, "");
  EXPECT_EQ(record("s").compiled, nullptr);
  EXPECT_EQ(dynamic_cast<const ScriptEffect&>(*instance).record()->text, record("s").text);
  const EffectBase& prototype = *effect("s").getPrototype();
  EXPECT_EQ(typeid(prototype), typeid(Effect::ScriptInput));
  // A user script never replaces a built-in script effect's text.
  EXPECT_EQ(record("テキスト").text, "built-in text");
  EXPECT_EQ(movement("m").record.text, "move v2\n");
  // New files wait for the next start; nothing was registered or shown.
  EXPECT_EQ(registry.findEffectDefine("new"), nullptr);
  EXPECT_EQ(registry.getRegisterCount(), count);
  EXPECT_EQ(boxTexts().size(), 3u);

  const auto records = log.records();
  std::vector<std::string> warnings;
  for (const auto& r : records)
    if (r.level == "WARN" && r.place == "Effect::EffectService::registerScriptEffect")
      warnings.push_back(r.text);
  std::sort(warnings.begin(), warnings.end());
  EXPECT_EQ(warnings, (std::vector<std::string>{
                          "script not reloaded [s]\nthe name is registered as another kind.",
                          "script not reloaded [テキスト]\nthe name is registered as another "
                          "kind.",
                      }));
}

TEST_F(ScriptRegistrationTest, TheInformationListShowsTheScriptFolderOnly) {
  writeBundles("", "@Bundled\n--information:bundle\n", "", "", "");
  writeScript("a.anm2", "--information:説明文\n");
  writeScript("Foo/b.obj2", "obj.x=1\n");
  writeScript("c.cam2", "");
  writeScript("d.scn2", "--information:scene\n");
  writeScript("m.tra2", "--information:動き\n");
  EffectService& registry = build();

  const auto rows = registry.getScriptInfoList();
  std::vector<std::pair<std::string, std::string>> texts;
  for (const auto& row : rows) texts.emplace_back(row.text, row.kind);
  EXPECT_EQ(texts, (std::vector<std::pair<std::string, std::string>>{
                       {"説明文", "フィルタ効果"},
                       {"b", "オブジェクト"},
                       {"c", "カメラ効果"},
                       {"動き", "トラックバー"},
                   }));
}

}  // namespace
