// The registry's definitions: menu settings in the parameter store, the effect
// default-settings files, display names and the edit commands the entries run.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "../system/exception_text.h"
#include "effect/edit_access.h"
#include "effect/effect_translate.h"
#include "registry_test_support.h"
#include "system/active_language.h"

namespace {

using namespace Effect;
using TestSupport::KindEffect;
using TestSupport::readWholeFile;
using TestSupport::RegistryTest;
using TestSupport::whatOf;
using namespace std::string_literals;

// An item whose text form can be made to fail, as a disk that fills up half-way would.
class FailingItem : public EffectItem {
 public:
  FailingItem(EffectItemList& items, bool& fail)
      : EffectItem(items, ItemType::String, "失敗"), fail_(&fail) {}
  void copyFrom(const EffectItem&) override {}
  bool equals(const EffectItem&) const override { return true; }
  std::unique_ptr<EffectItem> clone() const override {
    return std::make_unique<FailingItem>(*this);
  }
  std::string toString() const override {
    if (*fail_) throw std::runtime_error("write failed.");
    return "ok";
  }
  void fromString(std::string_view) override {}

 private:
  bool* fail_;
};

class FailingEffect : public EffectBase {
 public:
  static constexpr const char* kName = "保存失敗";
  static inline bool fail = false;
  FailingEffect() : EffectBase(kName, 3, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<FailingEffect>(); }
  FailingItem item{items, fail};
};

KindEffect& asKind(EffectBase& effect) { return dynamic_cast<KindEffect&>(effect); }

TEST_F(RegistryTest, MenuSettingsLiveInTheParameterStore) {
  writeData("Alias/Intro.object", "[Object]\r\n");
  parameters().getOrCreateValue("Effect.グロー", "label").text = "自作光";
  parameters().getOrCreateValue("Effect.グロー", "order").text = "3";
  parameters().getOrCreateValue("Effect.グロー", "hide").text = "1";
  parameters().getOrCreateValue("Movement.瞬間移動", "order").text = "99";
  EffectService& registry = build();

  const struct {
    const Menu::MenuDefineBase* define;
    const char* section;
    const char* label;
    int order;
    int hide;
  } cases[] = {
      // Nothing stored: the category label, the registration index, shown.
      {&effect("色調補正"), "Effect.色調補正", "色調整", 18, 0},
      {&effect("グロー"), "Effect.グロー", "自作光", 3, 1},
      // A key that is missing takes its default; the others are read.
      {registry.findMovement("瞬間移動"), "Movement.瞬間移動", "", 99, 0},
      {registry.getAliasDefines().at(0).get(), "Effect.object.Intro", "", 25, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    EXPECT_EQ(c.define->getSectionName(), c.section);
    EXPECT_EQ(c.define->label, c.label);
    EXPECT_EQ(c.define->order, c.order);
    EXPECT_EQ(c.define->hide, c.hide);
  }

  // Every entry writes all three keys back when the registry goes, changed or not.
  effect("色調補正").label = "変更";
  release();
  const auto stored = [this](const char* section, const char* key) {
    return parameters().findValue(section, key).text;
  };
  EXPECT_EQ(stored("Effect.色調補正", "label"), "変更");
  EXPECT_EQ(stored("Effect.色調補正", "order"), "18");
  EXPECT_EQ(stored("Effect.色調補正", "hide"), "0");
  EXPECT_EQ(stored("Movement.移動無し", "order"), "0");
  EXPECT_TRUE(parameters().getSection("Movement.移動無し").hasKey("label"));
  EXPECT_EQ(stored("Movement.瞬間移動", "order"), "99");
  EXPECT_EQ(stored("Effect.object.Intro", "order"), "25");
  EXPECT_EQ(stored("Effect.グロー", "label"), "自作光");
}

TEST_F(RegistryTest, SavedDefaultsReachNewEffectsAndDeletingThemBringsBackTheClassDefaults) {
  build();
  EffectDefine& glow = effect("グロー");
  const std::string path = dataPath("Default/グロー.effect");
  EXPECT_EQ(glow.getDefaultFilePath(), path);

  const auto edited = glow.createEffect();
  asKind(*edited).x.fromString("12.5");
  asKind(*edited).count.fromString("7");
  asKind(*edited).text.value = "一行目\n二行目";
  edited->disable = true;
  glow.saveDefaultFile(*edited);
  EXPECT_EQ(readWholeFile(path),
            "[Effect.0]\r\neffect.name=グロー\r\neffect.disable=1\r\nX=12.5\r\n個数=7\r\n"
            "テキスト=一行目\\n二行目\r\n");

  // The prototype reads the file once; new effects copy its item values, not its flags.
  KindEffect& defaults = asKind(glow.loadDefaultFile());
  EXPECT_TRUE(glow.isDefaultLoaded());
  EXPECT_EQ(defaults.x.toString(), "12.5");
  EXPECT_EQ(defaults.count.value, 7);
  EXPECT_EQ(defaults.text.value, "一行目\n二行目");
  EXPECT_TRUE(defaults.disable);
  const auto fresh = glow.createEffect();
  EXPECT_EQ(asKind(*fresh).count.value, 1);
  fresh->setItemData(defaults);
  EXPECT_EQ(asKind(*fresh).count.value, 7);
  EXPECT_FALSE(fresh->disable);

  // Through another kind's definition nothing happens.
  effect("色調補正").saveDefaultFile(*edited);
  effect("色調補正").deleteDefaultFile(*edited);
  EXPECT_FALSE(System::File::exists(dataPath("Default/色調補正.effect")));
  EXPECT_TRUE(System::File::exists(path));

  glow.deleteDefaultFile(*edited);
  EXPECT_FALSE(System::File::exists(path));
  EXPECT_EQ(asKind(glow.loadDefaultFile()).count.value, 1);
  EXPECT_EQ(asKind(glow.loadDefaultFile()).x.toString(), asKind(*fresh->create()).x.toString());
  EXPECT_EQ(asKind(glow.loadDefaultFile()).text.value, "");
}

TEST_F(RegistryTest, ADefaultsFileIsReplacedWholeOrNotAtAll) {
  catalogue.lastEffects = [](EffectService& registry) { registry.registerEffect<FailingEffect>(); };
  build();
  EffectDefine& define = effect(FailingEffect::kName);
  const std::string path = dataPath("Default/保存失敗.effect");
  const std::string old = "[Effect.0]\r\neffect.name=保存失敗\r\n失敗=old\r\n";
  writeData("Default/保存失敗.effect", old);
  // The files of this effect in %Default%, temporary ones beside the target included (the
  // registry's start also writes the default palette there).
  const auto listing = [this] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dataPath("Default"))) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("保存失敗", 0) == 0) names.push_back(name);
    }
    return names;
  };

  // A failure half-way through the text keeps the old file and leaves nothing beside it.
  const auto effectToSave = define.createEffect();
  FailingEffect::fail = true;
  EXPECT_THROW(define.saveDefaultFile(*effectToSave), std::runtime_error);
  FailingEffect::fail = false;
  EXPECT_EQ(readWholeFile(path), old);
  EXPECT_EQ(listing(), std::vector<std::string>{"保存失敗.effect"});

  // A target that cannot be replaced (a folder in its place): the same.
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  EXPECT_THROW(define.saveDefaultFile(*effectToSave), std::exception);
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_EQ(listing(), std::vector<std::string>{"保存失敗.effect"});

  std::filesystem::remove(path);
  define.saveDefaultFile(*effectToSave);
  EXPECT_EQ(readWholeFile(path), "[Effect.0]\r\neffect.name=保存失敗\r\n失敗=ok\r\n");
}

TEST_F(RegistryTest, ADamagedDefaultsFileGivesTheClassDefaults) {
  const struct {
    const char* what;
    std::string text;
    const char* x;
    int count;
    bool disable;
    const char* warning;  // the start of every WARN line, or null for none
  } cases[] = {
      {"a readable file", "[Effect.0]\r\neffect.name=グロー\r\nX=5.5\r\n個数=9\r\n", "5.5", 9, false,
       nullptr},
      {"a flag that is not a number", "[Effect.0]\r\neffect.disable=yes\r\nX=5.5\r\n", "0.0", 1,
       false, "effect default file invalid."},
      {"an item value that is refused", "[Effect.0]\r\nX=much\r\n個数=9\r\n", "0.0", 9, false,
       "ini file effect parameter invalid."},
      {"no effect section", "[Other]\r\nX=5.5\r\neffect.disable=1\r\n", "0.0", 1, false, nullptr},
      {"keys of no item", "[Effect.0]\r\neffect.disable=1\r\n不明=1\r\n", "0.0", 1, true, nullptr},
      {"bytes of no text", "\0\xff\xfe[[\r\n==\r\n[Effect.0\r\n\x80=\x81"s, "0.0", 1,
       false, "ini file line illegal format."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    writeData("Default/グロー.effect", c.text);
    build();
    log.clear();
    KindEffect& defaults = asKind(effect("グロー").loadDefaultFile());
    EXPECT_EQ(defaults.x.toString(), c.x);
    EXPECT_EQ(defaults.count.value, c.count);
    EXPECT_EQ(defaults.disable, c.disable);
    const auto warnings = log.texts("WARN");
    if (c.warning) {
      ASSERT_FALSE(warnings.empty());
      for (const std::string& warning : warnings)
        EXPECT_EQ(warning.rfind(c.warning, 0), 0u) << warning;
    } else {
      EXPECT_TRUE(warnings.empty()) << warnings.front();
    }
    release();
  }
}

TEST_F(RegistryTest, DisplayNamesOfKindsAreTranslatedAndAliasNamesAreNot) {
  writeData("Alias/Intro.object", "[Object]\r\n");
  EffectService& registry = build();
  TestSupport::ActiveLanguage language(
      "[Effect]\r\nグロー=Glow\r\n直線移動=Straight line\r\nIntro=Opening\r\n");
  EXPECT_EQ(effect("グロー").getDisplayName(), "Glow");
  EXPECT_EQ(effect("グロー").getName(), "グロー");
  EXPECT_EQ(registry.findMovement("直線移動")->getDisplayName(), "Straight line");
  EXPECT_EQ(registry.getAliasDefines().at(0)->getDisplayName(), "Intro");
}

// Records the edit commands the menu entries run.
class RecordingEditAccess : public EditAccess {
 public:
  std::vector<std::string> ran;
  void createObject(std::string_view name, int layer, int frame) override {
    ran.push_back("create " + std::string(name) + " " + std::to_string(layer) + " " +
                  std::to_string(frame));
  }
  void setEffect(const std::shared_ptr<Edit::Object>&, std::string_view name, EffectBase* after,
                 bool replace) override {
    ran.push_back("set " + std::string(name) + (after ? " after" : "") +
                  (replace ? " replace" : ""));
  }
  void loadObject(const std::string& path, int layer, int frame) override {
    ran.push_back("load object " + path + " " + std::to_string(layer) + " " +
                  std::to_string(frame));
  }
  void loadEffect(const std::shared_ptr<Edit::Object>&, const std::string& path,
                  EffectBase* after, bool replace) override {
    ran.push_back("load effect " + path + (after ? " after" : "") + (replace ? " replace" : ""));
  }
  void runPresetColorUpdate(const std::function<void()>& change) override { change(); }
};

TEST_F(RegistryTest, EntriesRunTheEditCommandsOnceTheyAreInstalled) {
  writeData("Alias/Intro.object", "[Object]\r\n");
  writeData("Alias/Soft.effect", "[Effect.0]\r\neffect.name=ぼかし\r\n");
  EffectService& registry = build();
  const EffectDefine& glow = effect("グロー");
  const AliasDefine& intro = *registry.getAliasDefines().at(0);
  const AliasDefine& soft = *registry.getAliasDefines().at(1);

  EXPECT_EQ(whatOf([&] { glow.createObject(1, 2); }),
            "not implement.\n\n[Place]\nEffect::EffectDefine::createObject()");
  EXPECT_EQ(whatOf([&] { soft.addEffect(nullptr, nullptr, false); }),
            "not implement.\n\n[Place]\nEffect::AliasDefine::addEffect()");

  RecordingEditAccess access;
  setEditAccess(&access);
  const auto after = glow.createEffect();
  glow.createObject(3, 40);
  glow.addEffect(nullptr, after.get(), true);
  intro.createObject(0, 5);
  soft.addEffect(nullptr, nullptr, false);
  setEditAccess(nullptr);
  const std::vector<std::string>& ran = access.ran;

  EXPECT_EQ(ran, (std::vector<std::string>{
                     "create グロー 3 40",
                     "set グロー after replace",
                     "load object " + dataPath("Alias/Intro.object") + " 0 5",
                     "load effect " + dataPath("Alias/Soft.effect"),
                 }));
}

}  // namespace
