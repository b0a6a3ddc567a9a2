// The object commands that need the effect registry: loading alias files as new objects and
// splitting the sound of a movie off into an audio object.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "../system/log_capture.h"
#include "edit/edit_command_length.h"
#include "edit/edit_command_object.h"
#include "edit/edit_ui.h"
#include "effect/effect_event_param.h"
#include "effect/media_file_probe.h"
#include "registry_fixture.h"
#include "scene_state.h"
#include "system/file.h"

namespace {

using ChainFixture::Kind;
using ChainFixture::KindEffect;
using TestSupport::stateOf;
namespace Command = Edit::EditCommand;

// A movie input whose sound can be split off.
class MovieInput : public KindEffect {
 public:
  explicit MovieInput(const Kind& kind) : KindEffect(kind), kind_(&kind) {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<MovieInput>(*kind_);
  }
  bool canSeparateAudio(int) const override { return true; }

 private:
  const Kind* kind_;
};

// A probe that takes .svg files as figures and .mp4 files as movies.
class FakeProbe : public Effect::MediaFileProbe {
 public:
  FakeProbe() { Effect::setMediaFileProbe(this); }
  FakeProbe(const FakeProbe&) = delete;
  FakeProbe& operator=(const FakeProbe&) = delete;
  ~FakeProbe() override { Effect::setMediaFileProbe(nullptr); }
  bool isMediaExtension(std::string_view extension) const override { return extension == "mp4"; }
  bool checkSvgFile(const std::string& path) const override {
    return System::FileName::getExtension(path) == "svg";
  }
  bool opens = true;
  bool hasAudio = true;
  std::optional<Effect::MediaFileInfo> probeMediaFile(const std::string& path) const override {
    if (!opens || System::FileName::getExtension(path) != "mp4") return std::nullopt;
    Effect::MediaFileInfo info;
    info.hasVideo = true;
    info.videoFrames = 300;
    info.width = 640;
    info.height = 360;
    info.rate = 25;
    info.scale = 1;
    info.hasAudio = hasAudio;
    info.audioRate = 48000;
    return info;
  }
};

// The scene dialog: records what it was shown and confirms it unchanged, or cancels.
class SceneDialog : public Edit::EditUi {
 public:
  SceneDialog() { Edit::setEditUi(this); }
  SceneDialog(const SceneDialog&) = delete;
  SceneDialog& operator=(const SceneDialog&) = delete;
  ~SceneDialog() override { Edit::setEditUi(nullptr); }
  bool editScene(const std::string&, Edit::SceneSettings& settings) override {
    shown.push_back(settings);
    return confirm;
  }
  std::vector<Edit::SceneSettings> shown;
  bool confirm = true;
};

class ObjectFileCommands : public ChainFixture::RegistryFixture {
 protected:
  void SetUp() override {
    startServices(ChainFixture::kindCatalogueWith<MovieInput>("動画ファイル"));
    log.clear();  // the registry's start
  }

  std::string path(const char* name) { return install_.path() + "/" + name; }
  void write(const char* name, const std::string& text) {
    System::File file;
    file.open(path(name), System::File::WriteExclusive);
    file.write(text);
  }
  std::size_t steps() { return scene().undoHistory.steps.size(); }
  // Undo gives back the scene before the command, redo the scene after it.
  void expectUndoRedo(const TestSupport::SceneState& before) {
    const auto after = stateOf(scene());
    Undo::UndoService::instance()->undo();
    EXPECT_EQ(stateOf(scene()), before);
    Undo::UndoService::instance()->redo();
    EXPECT_EQ(stateOf(scene()), after);
  }

  TestSupport::LogCapture log;
};

TEST_F(ObjectFileCommands, LoadObjectAliasAndEffectAlias) {
  write("a.object",
        "[Object]\r\nframe=0,19\r\n[Object.0]\r\neffect.name=図形\r\n"
        "[Object.1]\r\neffect.name=標準描画\r\n");
  write("b.effect", "[Effect.0]\r\neffect.name=ぼかし\r\n");
  const auto before = stateOf(scene());
  Command::loadObject(path("a.object"), 2, 100);
  ASSERT_EQ(steps(), 1u);
  const auto& loaded = scene().getLayerObjects(2).objects.at(0);
  EXPECT_EQ((std::pair{loaded->start, loaded->end}), (std::pair{100, 119}));
  EXPECT_EQ(chainOf(*loaded), (std::vector<std::string>{"図形", "標準描画"}));
  EXPECT_EQ(scene().focusObject, loaded);
  expectUndoRedo(before);
  EXPECT_EQ(log.texts("INFO").at(0), "load object [" + path("a.object") + "] layer=2 frame=100");

  // An effect alias makes a filter object of the default length.
  Command::loadObject(path("b.effect"), 4, 0);
  const auto& filter = scene().getLayerObjects(4).objects.at(0);
  EXPECT_EQ((std::pair{filter->start, filter->end}), (std::pair{0, 80}));
  EXPECT_EQ(chainOf(*filter), (std::vector<std::string>{"ぼかし"}));
}

TEST_F(ObjectFileCommands, AFailedLoadLeavesNothing) {
  write("bad.object", "[Object]\r\n[Object.0]\r\neffect.name=無い効果\r\n");
  for (const char* name : {"missing.object", "bad.object"}) {
    SCOPED_TRACE(name);
    const auto before = stateOf(scene());
    EXPECT_NO_THROW(Command::loadObject(path(name), 0, 0));
    EXPECT_EQ(stateOf(scene()), before);
    EXPECT_EQ(steps(), 0u);
    // The scope was closed: the lock is free again.
    edit().beginUpdate().close();
  }
}

TEST_F(ObjectFileCommands, SeparateAudioPutsTheSoundOnTheFirstFreeLayer) {
  auto movie = put(0, 0, 99, {"動画ファイル", "映像再生"});
  put(1, 50, 60, {"図形"});    // in the movie's frames: the sound goes further down
  put(2, 100, 120, {"図形"});  // after them: no obstacle
  edit().setFocusObject(movie);
  ASSERT_TRUE(Command::canSeparateAudioObject());
  const auto before = stateOf(scene());
  Command::separateAudioObject();
  ASSERT_EQ(steps(), 1u);
  ASSERT_EQ(scene().getLayerObjects(2).objects.size(), 2u);
  const auto& audio = scene().getLayerObjects(2).objects.at(0);
  EXPECT_EQ((std::pair{audio->start, audio->end}), (std::pair{0, 99}));
  EXPECT_EQ(chainOf(*movie), (std::vector<std::string>{"動画ファイル", "標準描画"}));
  EXPECT_EQ(chainOf(*audio), (std::vector<std::string>{"動画ファイル", "音声再生"}));
  EXPECT_EQ(movie->getObjectType(), Edit::EffectManager::VideoObject);
  EXPECT_EQ(audio->getObjectType(), Edit::EffectManager::AudioObject);
  // Both keep the input's settings, each in an instance of its own.
  EXPECT_NE(movie->effects[0], audio->effects[0]);
  EXPECT_EQ(log.texts("INFO").at(0), "separate audio layer=0");
  expectUndoRedo(before);
}

TEST_F(ObjectFileCommands, OnlyASingleMovieCanBeSeparated) {
  auto movie = put(0, 0, 99, {"動画ファイル", "映像再生"});
  auto other = put(1, 0, 99, {"動画ファイル", "映像再生"});
  auto image = put(2, 0, 99, {"画像ファイル", "標準描画"});
  edit().setFocusObject(image);
  EXPECT_FALSE(Command::canSeparateAudioObject());
  edit().selectObject(movie, false);
  edit().selectObject(other, false);
  EXPECT_FALSE(Command::canSeparateAudioObject());  // two targets
  const auto before = stateOf(scene());
  Command::separateAudioObject();
  EXPECT_EQ(stateOf(scene()), before);
  EXPECT_EQ(steps(), 0u);
  EXPECT_TRUE(log.texts("INFO").empty());
}

TEST_F(ObjectFileCommands, SceneFromAFile) {
  FakeProbe probe;
  SceneDialog dialog;
  scene().audioRate = 44100;
  const int firstScene = edit().project.currentSceneId;

  // A figure keeps the proposed 256 x 256 and takes the current scene's sampling rate; the
  // new object carries the file's input effect, in the new scene.
  EXPECT_TRUE(Command::createSceneFromFile("/media/dir.v1/logo.svg"));
  ASSERT_EQ(dialog.shown.size(), 1u);
  EXPECT_EQ(dialog.shown[0].name, "logo");
  EXPECT_EQ((std::tuple{dialog.shown[0].width, dialog.shown[0].height, dialog.shown[0].audioRate}),
            (std::tuple{256, 256, 44100}));
  EXPECT_NE(edit().project.currentSceneId, firstScene);
  EXPECT_EQ(scene().name, "logo");
  const auto& created = scene().getLayerObjects(0).objects.at(0);
  EXPECT_EQ(chainOf(*created).at(0), "図形");
  EXPECT_EQ(created->start, 0);

  // A movie is opened through the readers and gives its size, rates and sampling rate.
  EXPECT_TRUE(Command::createSceneFromFile("/media/clip.take2.mp4"));
  ASSERT_EQ(dialog.shown.size(), 2u);
  EXPECT_EQ(dialog.shown[1].name, "clip.take2");
  EXPECT_EQ((std::tuple{dialog.shown[1].width, dialog.shown[1].height, dialog.shown[1].rate,
                        dialog.shown[1].audioRate}),
            (std::tuple{640, 360, 25, 48000}));
  // A movie without sound keeps the current scene's sampling rate.
  probe.hasAudio = false;
  scene().audioRate = 22050;
  EXPECT_TRUE(Command::createSceneFromFile("/media/silent.mp4"));
  ASSERT_EQ(dialog.shown.size(), 3u);
  EXPECT_EQ(dialog.shown[2].audioRate, 22050);

  // Cancel in the scene dialog and unknown files create nothing.
  dialog.confirm = false;
  const auto before = stateOf(scene());
  const std::size_t stepsBefore = steps();
  const int current = edit().project.currentSceneId;
  EXPECT_FALSE(Command::createSceneFromFile("/media/logo.svg"));
  EXPECT_FALSE(Command::createSceneFromFile("/media/notes.txt"));
  probe.opens = false;
  dialog.confirm = true;
  EXPECT_FALSE(Command::createSceneFromFile("/media/clip.mp4"));  // no reader opens it
  EXPECT_EQ(dialog.shown.size(), 4u);
  EXPECT_EQ(edit().project.currentSceneId, current);
  EXPECT_EQ(stateOf(scene()), before);
  EXPECT_EQ(steps(), stepsBefore);
}

}  // namespace
