// Legacy object files imported as scenes: the old header and numbering, chained objects,
// track texts in the old notation, and damaged files that lose only what is damaged.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../system/exception_text.h"
#include "../system/fake_ui_bridge.h"
#include "edit/edit_command_length.h"
#include "edit/effect_edit_access.h"
#include "edit/legacy_object_file.h"
#include "edit/legacy_track_convert.h"
#include "effect/edit_access.h"
#include "registry_fixture.h"
#include "system/setting_service.h"

namespace {

using ChainFixture::KindEffect;
using TestSupport::whatOf;

const char* const kEffectConf =
    "[OldScript]\r\n旧ぼかし=ぼかし\r\n"
    "[OldScript.アニメーション効果]\r\n3=ぼかし\r\n"
    "[OldScript.画像ファイル]\r\nx=X\r\n"
    "[OldScript.trackmode]\r\n1=直線移動\r\n";

class LegacyImport : public ChainFixture::RegistryFixture {
 protected:
  void SetUp() override {
    install_.writeFile("data/effect.conf", kEffectConf);
    install_.writeFile("data/style.conf",
                       "[Layout]\r\nSettingItemHeight=18\r\nExplorerHeaderHeight=26\r\n"
                       "ListItemHeight=19\r\n");
    RegistryFixture::SetUp();
    settings_.emplace();
    Effect::setEditAccess(&access_);
  }
  void TearDown() override {
    Effect::setEditAccess(nullptr);
    settings_.reset();
    RegistryFixture::TearDown();
  }
  std::string write(const std::string& name, const std::string& text) {
    return install_.writeFile(name, text);
  }
  std::vector<std::string> postedErrors() {
    Event::EventService::instance()->processEventCommands();
    std::vector<std::string> texts;
    for (const auto& box : bridge_.boxes) texts.push_back(box.text);
    return texts;
  }
  static std::vector<std::pair<int, int>> objectsOn(const Edit::Scene& scene, int layer) {
    std::vector<std::pair<int, int>> frames;
    for (const auto& object : scene.getLayerObjects(layer).objects)
      if (object->layer == layer) frames.emplace_back(object->start, object->end);
    return frames;
  }

  TestSupport::FakeUiBridge bridge_;
  Edit::EffectEditAccess access_;
  std::optional<System::ServiceHolder<Setting::SettingService>> settings_;
};

const char* const kHeader =
    "[kivrun]\r\nwidth=640\r\nheight=480\r\nrate=30000\r\nscale=1001\r\naudio_rate=44100\r\n";

TEST(LegacyTrack, OldModeNumbersBecomeMovementNamesAndFlags) {
  System::IniFile conf;
  conf.loadText("[OldScript.trackmode]\r\n1=N\r\nSingleSection=2\r\n", "effect.conf");
  const auto table = conf.getSection("OldScript.trackmode");
  struct Case {
    const char* legacy;
    const char* converted;
  };
  for (const Case& c : {Case{"0,100,1", "0,100,N,0"}, Case{"0,100,97", "0,100,N,3"},
                        Case{"0,100,15@S,20", "0,100,S,0|20"}, Case{"0,100, 1 @x", "0,100,N,0"},
                        Case{"0,100,34", "0,100,,6"}, Case{"0,100,1,7,8", "0,100,N,0|7"},
                        Case{"12.5", "12.5"}, Case{"1,2", "1,2"}}) {
    SCOPED_TRACE(c.legacy);
    EXPECT_EQ(Edit::ProjectConvert::convertTrackParameter(c.legacy, table), c.converted);
  }
  EXPECT_NE(whatOf([&] { Edit::ProjectConvert::convertTrackParameter("0,1,x", table); })
                .find("invalid stoi argument"),
            std::string::npos);
  EXPECT_NE(whatOf([&] { Edit::ProjectConvert::convertTrackParameter("0,1,99999999999", table); })
                .find("stoi argument out of range"),
            std::string::npos);
}

TEST(LegacyTrack, SceneNameIsTheFileNameWithoutFolderAndExtension) {
  EXPECT_EQ(Edit::ProjectConvert::sceneNameOfPath("D:\\old\\intro.kvo"), "intro");
  EXPECT_EQ(Edit::ProjectConvert::sceneNameOfPath("D:\\old\\noext"), "noext");
  EXPECT_EQ(Edit::ProjectConvert::sceneNameOfPath("/a/b.c/x.y.kvo"), "x.y");
}

TEST_F(LegacyImport, ALegacyFileBecomesANewCurrentSceneThatSavesAsExpected) {
  // CP932 bytes for the effect name: the file is not UTF-8 and is converted.
  const std::string image = "\x89\xe6\x91\x9c\x83\x74\x83\x40\x83\x43\x83\x8b";
  const std::string path = write(
      "intro.kvo", std::string(kHeader) +
                       "[0]\r\nlayer=2\r\nstart=1\r\nend=30\r\ncamera=0\r\n[0.0]\r\n_name=" +
                       image + "\r\nx=0,100,1\r\n");
  ASSERT_TRUE(Edit::EditCommand::importLegacyScene(path));
  EXPECT_TRUE(postedErrors().empty());
  const auto& scene = *edit().currentScene();
  EXPECT_EQ(scene.id, 1);
  EXPECT_EQ(scene.name, "intro");
  EXPECT_EQ(scene.rate, 30000);
  EXPECT_EQ(scene.scale, 1001);
  EXPECT_EQ(scene.audioRate, 44100);
  EXPECT_EQ(objectsOn(scene, 1), (std::vector<std::pair<int, int>>{{0, 29}}));

  const std::string saved = install_.path() + "/saved.vlp2";
  edit().project.saveFile(saved);
  const std::string text = TestSupport::readWholeFile(saved);
  EXPECT_EQ(text,
            "[project]\r\nfile=\r\ndisplay.scene=1\r\n"
            "[scene.0]\r\nscene=0\r\nname=Root\r\nvideo.width=1920\r\nvideo.height=1080\r\n"
            "video.rate=30\r\nvideo.scale=1\r\naudio.rate=48000\r\ncursor.frame=0\r\n"
            "display.frame=0\r\ndisplay.layer=0\r\ndisplay.zoom=10000\r\ndisplay.order=0\r\n"
            "display.camera=\r\n"
            "[scene.1]\r\nscene=1\r\nname=intro\r\nvideo.width=640\r\nvideo.height=480\r\n"
            "video.rate=30000\r\nvideo.scale=1001\r\naudio.rate=44100\r\ncursor.frame=0\r\n"
            "display.frame=0\r\ndisplay.layer=0\r\ndisplay.zoom=10000\r\ndisplay.order=1\r\n"
            "display.camera=\r\n"
            "[0]\r\nlayer=1\r\nscene=1\r\nframe=0,29\r\ncamera=0\r\n"
            "[0.0]\r\neffect.name=画像ファイル\r\n個数=1\r\nテキスト=\r\n"
            "X=0.0,100.0,直線移動,0\r\n対象レイヤー数=0\r\n"
            "[0.1]\r\neffect.name=標準描画\r\n個数=1\r\nテキスト=\r\n"
            "X=0.0,0.0,直線移動,0\r\n対象レイヤー数=0\r\n");
}

TEST_F(LegacyImport, ChainedObjectsJoinTheObjectBeforeThemAsSections) {
  std::string text = kHeader;
  const char* ranges[][3] = {{"1", "30", "0"}, {"31", "60", "1"}, {"61", "90", "1"},
                             {"95", "99", "1"}};
  const char* tracks[] = {"0,100,1", "200,300,1", "400,500,1", "7,8,1"};
  for (int m = 0; m < 4; ++m) {
    const std::string n = std::to_string(m);
    text += "[" + n + "]\r\nlayer=1\r\nstart=" + ranges[m][0] + "\r\nend=" + ranges[m][1] +
            "\r\nchain=" + ranges[m][2] + "\r\n[" + n + ".0]\r\n_name=画像ファイル\r\nx=" +
            tracks[m] + "\r\n";
  }
  ASSERT_TRUE(edit().importSceneFromKvo(write("chain.kvo", text)));
  const auto& scene = *edit().currentScene();
  // The third joins the same object; the fourth leaves a gap and stays on its own.
  EXPECT_EQ(objectsOn(scene, 0), (std::vector<std::pair<int, int>>{{0, 89}, {94, 98}}));
  const auto& joined = *scene.getLayerObjects(0).objects.at(0);
  EXPECT_EQ(joined.boundaries, (std::vector<int32_t>{30, 60}));
  const auto& x = dynamic_cast<KindEffect&>(*joined.effects.at(0)).x;
  EXPECT_EQ(x.values, (std::vector<int>{0, 1000, 3000, 5000}));
}

TEST_F(LegacyImport, OldScriptKindsAndOldNamesAreMapped) {
  const std::string text =
      std::string(kHeader) +
      "[0]\r\nlayer=1\r\nstart=1\r\nend=10\r\n[0.0]\r\n_name=画像ファイル\r\n"
      "[0.1]\r\n_name=アニメーション効果\r\nname=\r\ntype=3\r\n_disable=1\r\n"
      "[0.2]\r\n_name=旧ぼかし\r\n";
  ASSERT_TRUE(edit().importSceneFromKvo(write("names.kvo", text)));
  const auto& object = *edit().currentScene()->getLayerObjects(0).objects.at(0);
  EXPECT_EQ(chainOf(object), (std::vector<std::string>{"画像ファイル", "標準描画", "ぼかし", "ぼかし"}));
  EXPECT_TRUE(object.effects.at(2)->disable);
}

TEST_F(LegacyImport, ABadObjectIsDroppedAloneWithOneSummary) {
  std::string text = kHeader;
  const char* objects[] = {
      "layer=1\r\nstart=1\r\nend=10\r\n",                  // good
      "layer=1\r\nstart=5\r\nend=20\r\n",                  // overlaps the first
      "layer=0\r\nstart=1\r\nend=10\r\n",                  // layer below 1
      "layer=2\r\nstart=10\r\nend=5\r\n",                  // end before start
      "layer=2\r\nstart=-2147483648\r\nend=5\r\n",         // frame below 1
      "layer=2\r\nstart=1\r\nend=99999999999\r\n",         // not an int
      "layer=3000\r\nstart=1\r\nend=2\r\n",                // past the layer limit
      "layer=2\r\nstart=1\r\nend=10\r\nnoeffect=1\r\n",    // no effect (section below)
      "layer=3\r\nstart=1\r\nend=10\r\n",                  // filter first (section below)
      "layer=4\r\nstart=1\r\nend=10\r\n",                  // unknown effect
      "layer=5\r\nstart=1\r\nend=10\r\n",                  // a refused track: loads
  };
  const char* effects[] = {"_name=画像ファイル", "_name=画像ファイル", "_name=画像ファイル",
                           "_name=画像ファイル", "_name=画像ファイル", "_name=画像ファイル",
                           "_name=画像ファイル", nullptr,            "_name=ぼかし",
                           "_name=無い効果",      "_name=画像ファイル\r\nx=1,2,z"};
  for (int m = 0; m < 11; ++m) {
    const std::string n = std::to_string(m);
    text += "[" + n + "]\r\n" + objects[m];
    if (effects[m]) text += "[" + n + ".0]\r\n" + effects[m] + "\r\n";
  }
  // Cut off in the middle of a line: read as far as it goes.
  text += "[11]\r\nlayer=9\r\nstart=1\r\nend=3\r\n[11.0]\r\n_na";
  ASSERT_TRUE(edit().importSceneFromKvo(write("bad.kvo", text)));
  EXPECT_EQ(postedErrors(), (std::vector<std::string>{"一部のオブジェクトの読み込みに失敗しました"}));
  const auto& scene = *edit().currentScene();
  EXPECT_EQ(objectsOn(scene, 0), (std::vector<std::pair<int, int>>{{0, 9}}));
  EXPECT_EQ(objectsOn(scene, 4), (std::vector<std::pair<int, int>>{{0, 9}}));
  for (int layer : {1, 2, 3, 8}) EXPECT_TRUE(objectsOn(scene, layer).empty()) << layer;
  EXPECT_EQ(scene.lastUsedLayer(), 4);
}

TEST_F(LegacyImport, AFileWithoutHeaderLeavesNoScene) {
  for (const std::string& text :
       {std::string("[0]\r\nlayer=1\r\nstart=1\r\nend=2\r\n"),
        std::string("[kivrun]\r\nwidth=640\r\nheight=0\r\nrate=30\r\nscale=1\r\n"),
        std::string("[kivrun]\r\nwidth=640\r\nrate=30\r\nscale=1\r\n")}) {
    SCOPED_TRACE(text);
    bridge_.boxes.clear();
    EXPECT_FALSE(edit().importSceneFromKvo(write("x.kvo", text)));
    EXPECT_EQ(postedErrors(), (std::vector<std::string>{"シーンの読み込みに失敗しました"}));
    EXPECT_EQ(edit().project.scenes.size(), 1u);
    EXPECT_EQ(edit().currentScene()->id, 0);
  }
  EXPECT_NE(whatOf([&] {
              Edit::Scene scene(5, 5);
              Edit::ProjectConvert::loadSceneFromKvo(scene, write("y.kvo", "[0]\r\n"));
            }).find("kivrun section not found"),
            std::string::npos);
}

}  // namespace
