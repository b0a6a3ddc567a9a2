// The declarations with the shared drawing resources of a real start: the wipe and scene
// change choices come from the transition list, and every kind's values survive its
// default-settings file.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "builtin/control/scene_change.h"
#include "builtin/effect_catalogue.h"
#include "builtin/filter/wipe_filter.h"
#include "builtin/input/figure_load.h"
#include "effect/effect_service.h"
#include "gpu/resource/effect_drawing_resources.h"
#include "gpu/style_services_support.h"
#include "system/ini_file.h"

namespace {

using namespace Effect;

class DrawingResourcesTest : public TestSupport::StyleServicesTest {
 protected:
  void SetUp() override {
    StyleServicesTest::SetUp();
    writeStyle(TestSupport::kStyleFonts);
    install_.writeFile("data/Transition/fog.png", "");
    install_.makeFolder("data/Default");
    startServices();
    setDrawingResources(&drawing_);
    EffectService::setCatalogue(
        {{}, registerFirstEffects, [](EffectService&) {}, registerLastEffects});
    registry_.emplace();
  }
  void TearDown() override {
    registry_.reset();
    EffectService::setCatalogue({});
    setDrawingResources(nullptr);
    StyleServicesTest::TearDown();
  }

  EffectService& registry() { return *EffectService::instance(); }
  template <class T>
  T& prototype() {
    return dynamic_cast<T&>(*registry().findEffect(T::kName)->getPrototype());
  }

 private:
  Resource::EffectDrawingResources drawing_;
  std::optional<System::ServiceHolder<EffectService>> registry_;
};

TEST_F(DrawingResourcesTest, WipesAreOfferedByTheWipeAndAfterTheScenePassages) {
  const auto& wipe = prototype<WipeFilter>().kind;
  EXPECT_EQ(wipe.list, resources().transitionList().choices());
  EXPECT_EQ(wipe.toString(), "ワイプ(円)");

  const auto& passages = prototype<SceneChange>().kind.list->entries;
  ASSERT_EQ(passages.size(), 13u + 8u);
  EXPECT_EQ(passages.at(12), "ぼかし");
  EXPECT_EQ(passages.at(13), "ワイプ(円)");
  EXPECT_EQ(passages.at(19), "ワイプ(ハート)");
  EXPECT_EQ(passages.at(20), "fog");

  // The figure input starts with the circle of the figure list, under its own item code.
  const auto& figure = prototype<FigureLoad>().figure;
  EXPECT_EQ(figure.typeCode, 13);
  EXPECT_EQ(figure.toString(), "円");
}

// Every item of every kind writes a value that reads back as the same value.
TEST_F(DrawingResourcesTest, EveryKindsDefaultsSurviveItsDefaultSettingsFile) {
  for (const auto& kind : registry().getEffectDefines()) {
    const std::string& name = kind.first;
    SCOPED_TRACE(name);
    EffectDefine& entry = *registry().findEffect(name);
    const auto effect = entry.createEffect();
    ASSERT_NO_THROW(entry.saveDefaultFile(*effect));
    System::IniFile file;
    file.loadFile(entry.getDefaultFilePath());
    const auto section = file.getSection("Effect.0");
    for (const EffectItem* item : effect->items)
      EXPECT_EQ(section.findValue(item->name).text, item->toString()) << item->name;

    const EffectBase& loaded = entry.loadDefaultFile();
    ASSERT_EQ(loaded.items.size(), effect->items.size());
    for (std::size_t i = 0; i < loaded.items.size(); ++i)
      EXPECT_TRUE(loaded.items[i]->equals(*effect->items[i])) << loaded.items[i]->name;
  }
}

}  // namespace
