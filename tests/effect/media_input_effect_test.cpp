#include "effect/media_input_effect_base.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "effect/builtin_movements.h"
#include "effect/effect_base.h"
#include "effect/effect_event_param.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/media_info_text.h"
#include "effect/media_input_host.h"
#include "effect/media_input_source.h"
#include "effect/movement_registry.h"
#include "effect_test_support.h"

namespace {

using Effect::EffectEventParam;
using Effect::InputMovieEffect;
using TestSupport::FakeObject;

// A media input as the built-in movie input makes one: position, speed, file and loop.
class TestMovieInput : public Effect::EffectBase, public InputMovieEffect {
 public:
  explicit TestMovieInput(int mediaKind = Video)
      : EffectBase("テスト動画", Effect::EffectType::Input, 1, 1),
        InputMovieEffect({position, speed, &file, nullptr, &loop}, mediaKind) {}
  std::shared_ptr<EffectBase> create() const override { return nullptr; }

  Effect::EffectItemNumber position{items, "再生位置", 0.0, 0.0, 100000.0, 0.01};
  Effect::EffectItemNumber speed{items, "再生速度", 100.0, -2000.0, 2000.0, 0.1};
  Effect::EffectItemFile file{items, "ファイル", ""};
  Effect::EffectItemCheck loop{items, "ループ再生", false};
};

class TestSceneInput : public Effect::EffectBase, public InputMovieEffect {
 public:
  TestSceneInput()
      : EffectBase("テストシーン", Effect::EffectType::Input, 3, 3),
        InputMovieEffect({position, speed, nullptr, &scene, nullptr}, Video) {}
  std::shared_ptr<EffectBase> create() const override { return nullptr; }

  Effect::EffectItemNumber position{items, "再生位置", 0.0, 0.0, 100000.0, 0.01};
  Effect::EffectItemNumber speed{items, "再生速度", 100.0, -2000.0, 2000.0, 0.1};
  Effect::EffectItemScene scene{items, "シーン", 0};
};

// Media files by path, as the input readers would describe them.
class FakeSource : public Effect::MediaInputSource {
 public:
  std::optional<Effect::MediaInputFile> getInputFile(const std::string& path,
                                                     int) const override {
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  std::map<std::string, Effect::MediaInputFile> files;
};

// The edit model at 30 frames per second, recording what the effect asks of it.
class FakeHost : public Effect::MediaInputHost {
 public:
  Effect::MediaTime::Timing sceneTiming(const Edit::Scene*) const override { return {30, 1}; }
  Effect::ObjectFrames objectFrames(const Edit::Object& object) const override {
    const auto& fake = reinterpret_cast<const FakeObject&>(object);
    return {fake.start, fake.end, fake.midpoints};
  }
  Effect::MediaTime::Timing objectTiming(const Edit::Object&) const override { return {30, 1}; }
  std::optional<Effect::SceneLength> sceneLength(int id) const override {
    if (id == 5) return Effect::SceneLength{900, {30, 1}};
    return std::nullopt;
  }
  bool fixedMovieTimeRange() const override { return fixedRange; }
  void recordObjectUpdate(const EffectEventParam&) override { ++objectRecords; }
  void recordEffectUpdate(const EffectEventParam&) override { ++effectRecords; }
  void markChanged(const EffectEventParam&, bool layers) override {
    ++marks;
    layerMarks += layers;
  }
  void resizeObject(const EffectEventParam& event, int32_t frames, bool moveStart) override {
    resizes.push_back({frames, moveStart});
    auto& fake = reinterpret_cast<FakeObject&>(*event.object);
    (moveStart ? fake.start = fake.end - frames + 1 : fake.end = fake.start + frames - 1);
  }
  void showToolTip(const std::string& text) override { toolTip = text; }
  void showSceneInfo(int id) override { sceneInfo = id; }

  bool fixedRange = false;
  int objectRecords = 0, effectRecords = 0, marks = 0, layerMarks = 0, sceneInfo = -1;
  std::vector<std::pair<int, bool>> resizes;
  std::string toolTip;
};

Effect::MediaInputFile videoFile(int64_t frames) {
  Effect::MediaInputFile file;
  file.hasVideo = true;
  file.videoFrames = frames;
  file.rate = 30;
  file.scale = 1;
  return file;
}

class MediaInputEffectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source.files["/media/ten.mp4"] = videoFile(300);  // 10 s
    source.files["/media/broken.mp4"] = videoFile(300);
    source.files["/media/broken.mp4"].rate = 0;  // a reader reporting no rate
    Effect::setMediaInputSource(&source);
    Effect::setMediaInputHost(&host);
    effect.file.path = "/media/ten.mp4";
  }
  void TearDown() override {
    Effect::setMediaInputSource(nullptr);
    Effect::setMediaInputHost(nullptr);
  }

  // The context of a frame of `object`.
  Effect::EffectContext at(const std::shared_ptr<Edit::Object>& object, int frame) {
    Effect::EffectContext context;
    context.frame = frame;
    context.time = frame;
    TestSupport::setFakeObject(context, object);
    return context;
  }
  EffectEventParam event(int kind, const std::shared_ptr<Edit::Object>& object,
                         decltype(EffectEventParam::datum) datum = {}) {
    EffectEventParam param;
    param.kind = kind;
    param.object = object.get();
    param.datum = std::move(datum);
    return param;
  }
  EffectEventParam splitEvent(const std::shared_ptr<Edit::Object>& part,
                              const std::shared_ptr<Edit::Object>& before) {
    return event(EffectEventParam::ObjectSplit, part,
                 static_cast<const Edit::Object*>(before.get()));
  }
  EffectEventParam itemEvent(const std::shared_ptr<Edit::Object>& object,
                             Effect::EffectItem& item) {
    return event(EffectEventParam::ItemChanged, object, &item);
  }
  void useRange(double start, double end) {
    effect.initPositionItem();
    effect.position.setValue(start, 0);
    effect.position.setValue(end, 1);
  }

  FakeSource source;
  FakeHost host;
  TestMovieInput effect;
};

TEST_F(MediaInputEffectTest, NormalSpeedFromTheStart) {
  const auto object = TestSupport::makeObject(100, 399);
  auto context = at(object, 130);
  EXPECT_DOUBLE_EQ(effect.getVideoPosition(context), 1.0);
  EXPECT_DOUBLE_EQ(effect.getAudioPosition(context), 1.0);
  EXPECT_DOUBLE_EQ(effect.getSpeedElapsedTime(context), 1.0);
}

TEST_F(MediaInputEffectTest, ReversePlaybackCountsDownFromTheRangeEnd) {
  useRange(2.0, 5.0);
  effect.speed.setValue(-100.0, 0);
  const auto object = TestSupport::makeObject(0, 89);
  auto first = at(object, 0);
  EXPECT_DOUBLE_EQ(effect.getVideoPosition(first), 5.0);
  auto second = at(object, 30);
  EXPECT_DOUBLE_EQ(effect.getVideoPosition(second), 4.0);
  EXPECT_DOUBLE_EQ(effect.getSectionSpeed(second), -1.0);
}

TEST_F(MediaInputEffectTest, LoopingWrapsAtTheRangeEnd) {
  useRange(0.0, 4.0);
  effect.loop.value = true;
  const auto object = TestSupport::makeObject(0, 299);  // 10 s
  const std::pair<int, double> cases[] = {{60, 2.0}, {150, 1.0}, {270, 1.0}};
  for (const auto& [frame, seconds] : cases) {
    auto context = at(object, frame);
    EXPECT_DOUBLE_EQ(effect.getVideoPosition(context), seconds) << frame;
  }
}

TEST_F(MediaInputEffectTest, NothingPlaysOutsideTheRange) {
  useRange(1.0, 3.0);
  const auto object = TestSupport::makeObject(0, 299);
  auto inside = at(object, 30);
  EXPECT_DOUBLE_EQ(effect.getAudioPosition(inside), 2.0);
  auto beyond = at(object, 60);
  EXPECT_DOUBLE_EQ(effect.getAudioPosition(beyond), 11.0);  // length + 1
  EXPECT_DOUBLE_EQ(effect.getVideoPosition(beyond), 3.0);   // the picture holds the end
  beyond.frameOffset = 30;  // pre-loading may look up to the media's end
  EXPECT_DOUBLE_EQ(effect.getVideoPosition(beyond), 4.0);
}

TEST_F(MediaInputEffectTest, SplitKeepsTheMediaTimeContinuous) {
  const auto before = TestSupport::makeObject(0, 149);
  const auto second = TestSupport::makeObject(60, 149);
  auto param = splitEvent(second, before);
  EXPECT_TRUE(effect.handleEditEvent(param));
  EXPECT_DOUBLE_EQ(effect.position.getDisplayValue(0), 2.0);
  EXPECT_EQ(host.effectRecords, 0);  // the split command records the effects itself

  TestMovieInput first;
  first.file.path = "/media/ten.mp4";
  const auto firstPart = TestSupport::makeObject(0, 59);
  auto firstParam = splitEvent(firstPart, before);
  EXPECT_TRUE(first.handleEditEvent(firstParam));
  EXPECT_DOUBLE_EQ(first.position.getDisplayValue(0), 0.0);
}

TEST_F(MediaInputEffectTest, SplitOfAPlaybackRangeSharesTheRange) {
  useRange(1.0, 9.0);
  const auto before = TestSupport::makeObject(0, 239);
  const auto firstPart = TestSupport::makeObject(0, 89);
  auto param = splitEvent(firstPart, before);
  EXPECT_TRUE(effect.updatePositionOnEdit(param));
  EXPECT_DOUBLE_EQ(effect.position.getDisplayValue(0), 1.0);
  EXPECT_DOUBLE_EQ(effect.position.getDisplayValue(1), 4.0);
}

TEST_F(MediaInputEffectTest, ReverseEndTrimKeepsTheStartOfANoMovePosition) {
  effect.speed.setValue(-100.0, 0);
  const auto object = TestSupport::makeObject(0, 149);
  auto param = event(EffectEventParam::EndCut, object, 299);
  EXPECT_TRUE(effect.updatePositionOnEdit(param));
  EXPECT_DOUBLE_EQ(effect.position.getDisplayValue(0), 0.0);
  EXPECT_EQ(host.effectRecords, 1);
}

TEST_F(MediaInputEffectTest, ReverseTrimsMoveThePlaybackRange) {
  useRange(2.0, 8.0);
  effect.speed.setValue(-100.0, 0);
  // The end cut from frame 179 to 89: the object now plays 8 s down to 5 s.
  const auto object = TestSupport::makeObject(0, 89);
  auto param = event(EffectEventParam::EndCut, object, 179);
  EXPECT_TRUE(effect.updatePositionOnEdit(param));
  EXPECT_DOUBLE_EQ(effect.position.getDisplayValue(0), 5.0);
  EXPECT_DOUBLE_EQ(effect.position.getDisplayValue(1), 8.0);
  // The start cut from frame 0 to 30: the object now begins at 7 s.
  auto& fake = reinterpret_cast<FakeObject&>(*object);
  fake.start = 30;
  auto cut = event(EffectEventParam::StartCut, object, 0);
  EXPECT_TRUE(effect.updatePositionOnEdit(cut));
  EXPECT_DOUBLE_EQ(effect.position.getDisplayValue(0), 5.0);
  EXPECT_DOUBLE_EQ(effect.position.getDisplayValue(1), 7.0);
}

TEST_F(MediaInputEffectTest, TrimmingOnlyShortensToTheMedia) {
  struct Case {
    int start, end, formerEnd;
    std::vector<std::pair<int, bool>> resizes;
  };
  // 10 s of media from 0 at 30 fps fills 300 frames.
  const Case cases[] = {
      {0, 399, 499, {{300, false}}},  // still longer than the media: cut to it
      {0, 199, 299, {}},              // inside the media: left as cut
  };
  for (const Case& c : cases) {
    host.resizes.clear();
    const auto object = TestSupport::makeObject(c.start, c.end);
    auto param = event(EffectEventParam::EndCut, object, c.formerEnd);
    EXPECT_TRUE(effect.updatePositionOnEdit(param));
    EXPECT_EQ(host.resizes, c.resizes) << c.end;
  }
  EXPECT_EQ(host.objectRecords, 0);  // a trim records the object itself
}

TEST_F(MediaInputEffectTest, FixedTimeRangeLeavesARangeAsItIsOnTrims) {
  host.fixedRange = true;
  useRange(1.0, 9.0);
  const auto object = TestSupport::makeObject(30, 239);
  auto param = event(EffectEventParam::StartCut, object, 0);
  EXPECT_FALSE(effect.updatePositionOnEdit(param));
  EXPECT_DOUBLE_EQ(effect.position.getDisplayValue(0), 1.0);
}

TEST_F(MediaInputEffectTest, SpeedEditsFitTheObjectDownToTenPercent) {
  struct Case {
    double speed;
    std::vector<std::pair<int, bool>> resizes;
  };
  const Case cases[] = {{200.0, {{150, false}}}, {10.0, {{3000, false}}}, {9.9, {}}};
  for (const Case& c : cases) {
    host.resizes.clear();
    const auto object = TestSupport::makeObject(0, 299);
    effect.speed.setValue(c.speed, 0);
    auto param = itemEvent(object, effect.speed);
    EXPECT_EQ(effect.handleEditEvent(param), !c.resizes.empty()) << c.speed;
    EXPECT_EQ(host.resizes, c.resizes) << c.speed;
  }
}

TEST_F(MediaInputEffectTest, ANewFileResetsThePositionAndFitsTheObject) {
  effect.position.setValue(3.0, 0);
  const auto object = TestSupport::makeObject(10, 20);
  auto param = event(EffectEventParam::FileSet, object, std::string("/media/ten.mp4"));
  EXPECT_TRUE(effect.handleEditEvent(param));
  EXPECT_DOUBLE_EQ(effect.position.getDisplayValue(0), 0.0);
  EXPECT_EQ(host.resizes, (std::vector<std::pair<int, bool>>{{300, false}}));
  EXPECT_EQ(host.marks, 0);  // the file-set command records and marks itself

  effect.speed.setValue(9.9, 0);
  host.resizes.clear();
  auto change = itemEvent(object, effect.file);
  EXPECT_TRUE(effect.handleEditEvent(change));
  EXPECT_TRUE(host.resizes.empty());
}

TEST_F(MediaInputEffectTest, AnUnusableFileIsCleared) {
  for (const char* path : {"/media/missing.mp4", "/media/broken.mp4"}) {
    effect.file.path = path;
    const auto object = TestSupport::makeObject(0, 99);
    auto param = itemEvent(object, effect.file);
    EXPECT_FALSE(effect.handleEditEvent(param)) << path;
    EXPECT_EQ(effect.file.path, "") << path;
    EXPECT_TRUE(host.resizes.empty());
    EXPECT_FALSE(effect.mediaInfo().hasVideo);
  }
}

TEST_F(MediaInputEffectTest, OtherItemsAndNoHostAreLeftToTheUsualHandling) {
  const auto object = TestSupport::makeObject(0, 99);
  auto param = itemEvent(object, effect.position);
  EXPECT_FALSE(effect.handleEditEvent(param));
  Effect::setMediaInputHost(nullptr);
  param.datum = static_cast<Effect::EffectItem*>(&effect.speed);
  EXPECT_FALSE(effect.handleEditEvent(param));
  EXPECT_TRUE(host.resizes.empty());
}

TEST_F(MediaInputEffectTest, SceneInputLengthComesFromTheScene) {
  TestSceneInput scene;
  EXPECT_FALSE(scene.updateMediaInfo());  // scene id 0
  scene.scene.value = 7;                  // no such scene
  EXPECT_FALSE(scene.updateMediaInfo());
  scene.scene.value = 5;
  EXPECT_TRUE(scene.updateMediaInfo());
  EXPECT_DOUBLE_EQ(scene.mediaInfo().length, 30.0);
  const auto object = TestSupport::makeObject(0, 9);
  EffectEventParam param = event(EffectEventParam::ShowInfo, object);
  EXPECT_TRUE(scene.handleEditEvent(param));
  EXPECT_EQ(host.sceneInfo, 5);
}

TEST_F(MediaInputEffectTest, MediaInformationTooltip) {
  Effect::MediaInputFile& file = source.files["/media/ten.mp4"];
  file.width = 1920;
  file.height = 1080;
  file.rate = 30000;
  file.scale = 1001;
  file.pixelFormat = 107;
  file.hasAudio = true;
  file.audioRate = 44100;
  file.channels = 2;
  file.sampleFormat = 1;
  file.bitsPerSample = 16;
  file.pluginName = "テスト入力";
  const auto object = TestSupport::makeObject(0, 9);
  auto param = event(EffectEventParam::ShowInfo, object);
  effect.handleEditEvent(param);
  EXPECT_EQ(host.toolTip,
            "/media/ten.mp4\nTotalTime: 00:00:10\nVideo: 1920 x 1080 / 29.97003fps / YUY2\n"
            "Audio: 44.1khz / 2ch / PCM16bit\nPlugin: テスト入力");
  effect.file.path = "/media/missing.mp4";
  effect.handleEditEvent(param);
  EXPECT_EQ(host.toolTip, "/media/missing.mp4");
}

TEST(MediaInfoTextTest, FormatNames) {
  const std::pair<int, const char*> pixels[] = {{87, "RGB32bit"}, {88, "RGB24bit"},
                                                {107, "YUY2"},      {13, "YCC6"},
                                                {11, "RGBA64bit(RU64)"}, {10, "RGBA64bit(RF64)"},
                                                {28, ""}};
  for (const auto& [code, name] : pixels) EXPECT_STREQ(Effect::pixelFormatName(code), name);
  EXPECT_STREQ(Effect::sampleFormatName(1), "PCM");
  EXPECT_STREQ(Effect::sampleFormatName(3), "PCM(float)");
  EXPECT_STREQ(Effect::sampleFormatName(2), "");
}

}  // namespace
