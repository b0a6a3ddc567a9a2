// The supply of an export: its range, the read-ahead caches, the sound cut into frames and
// joined again, failures, and the progress text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "fake_export_source.h"
#include "output/output_file.h"

namespace {

using OutputTest::FakeExportSource;
using OutputTest::smallScene;

// An export whose save() is never run: the tests drive the getters themselves.
class ProbeFile final : public Plugin::OutputFile {
 public:
  ProbeFile(const Plugin::ExportScene& scene, std::shared_ptr<Plugin::ExportSource> source,
            Plugin::ExportCaches& caches)
      : OutputFile("unused", true, scene, std::move(source), caches) {}
  bool save() override { return true; }
};

struct Fixture {
  explicit Fixture(const Plugin::ExportScene& scene)
      : source(std::make_shared<FakeExportSource>(scene)), file(scene, source, caches) {}
  Plugin::ExportCaches caches;
  std::shared_ptr<FakeExportSource> source;
  ProbeFile file;
};

TEST(OutputFileTest, RangeFollowsTheSelection) {
  struct Case {
    int frames, selectStart, selectEnd;
    int startFrame, frameCount;
  };
  const Case cases[] = {
      {1, -1, -1, 0, 1},       // one frame
      {100, 10, 19, 10, 10},   // a selected range
      {100, 90, 500, 90, 10},  // an end past the scene is cut to its last frame
      {100, 10, -1, 0, 100},   // one side unset: the whole scene
      {100, 50, 40, 50, 0},    // an end before the start: nothing, never a negative count
  };
  for (const Case& c : cases) {
    Plugin::ExportScene scene = smallScene(c.frames);
    scene.rate = 30000;
    scene.scale = 1001;
    scene.selectedFrameStart = c.selectStart;
    scene.selectedFrameEnd = c.selectEnd;
    Fixture f(scene);
    EXPECT_EQ(f.file.startFrame(), c.startFrame) << c.selectStart << ".." << c.selectEnd;
    EXPECT_EQ(f.file.frameCount(), c.frameCount) << c.selectStart << ".." << c.selectEnd;
    EXPECT_EQ(f.file.startSample(), f.source->frameStart(c.startFrame));
    EXPECT_EQ(f.file.sampleCount(), f.source->frameStart(c.frameCount));
  }
}

TEST(OutputFileTest, FramesAreClampedToTheScene) {
  Fixture f(smallScene(20));
  const auto before = f.file.getVideoFrame(-5, Plugin::kFrameBgr24, true);
  const auto after = f.file.getVideoFrame(19 + 10, Plugin::kFrameBgr24, true);
  ASSERT_TRUE(before && after);
  EXPECT_EQ(before->data()[0], OutputTest::framePattern(0));
  EXPECT_EQ(after->data()[0], OutputTest::framePattern(19));
}

TEST(OutputFileTest, ReadAheadRequestsHalfTheDepthBeyondTheFrame) {
  Fixture f(smallScene(200));
  f.file.setVideoBufferSize(4);
  const auto image = f.file.getVideoFrame(100, Plugin::kFrameBgra32, true);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->data()[0], OutputTest::framePattern(100));
  f.caches.clear();  // waits for the read-ahead
  std::vector<int> frames = f.source->videoFrames();
  std::sort(frames.begin(), frames.end());
  EXPECT_EQ(frames, (std::vector<int>{100, 101, 102}));
}

TEST(OutputFileTest, ReadAheadDepthIsBounded) {
  Fixture f(smallScene(500));
  for (int depth : {-7, 0, 1}) {
    f.file.setVideoBufferSize(depth);
    f.file.getVideoFrame(10, Plugin::kFrameBgr24, true);
    f.caches.clear();
  }
  EXPECT_EQ(f.source->videoFrames(), (std::vector<int>{10, 10, 10}))
      << "depths of 1 and below read nothing ahead";
  f.file.setVideoBufferSize(1'000'000);
  f.file.getVideoFrame(0, Plugin::kFrameBgr24, true);
  f.caches.clear();
  EXPECT_EQ(f.source->videoFrames().size(), 3u + Plugin::OutputFile::kMaxReadAhead / 2 + 1);
}

TEST(OutputFileTest, AudioBlocksJoinAtNtscRate) {
  Plugin::ExportScene scene = smallScene(10);
  scene.rate = 30000;
  scene.scale = 1001;
  Fixture f(scene);
  const int expected[] = {1602, 1601, 1602, 1601, 1602};
  for (int frame = 0; frame < 5; ++frame) {
    const auto block = f.file.getAudioFrame(frame, Plugin::kAudioPcm16);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->sampleCount, expected[frame]) << frame;
    EXPECT_EQ(block->blockAlign(), 4);
  }
}

TEST(OutputFileTest, SamplesRunAcrossFrameBoundariesAndStopAtTheEnd) {
  Plugin::ExportScene scene = smallScene(10);
  scene.rate = 30000;
  scene.scale = 1001;
  const int64_t sceneSamples = 16016;  // llround(48000 x 10 x 1001 / 30000)
  struct Case {
    int64_t start;
    uint32_t count;
    int32_t tag;
    int32_t expectedCount;
  };
  const Case cases[] = {
      {1500, 3000, Plugin::kAudioPcm16, 3000},                 // across frames 0, 1, 2
      {3203, 1, Plugin::kAudioFloat32, 1},                     // the first sample of frame 2
      {sceneSamples - 100, 1000, Plugin::kAudioPcm16, 100},    // past the end: fewer
      {sceneSamples + 5, 10, Plugin::kAudioPcm16, 0},          // entirely past the end
      {0, 0xffffffffu, Plugin::kAudioFloat32, sceneSamples},   // a huge count: what there is
      {-50, 100, Plugin::kAudioPcm16, 100},                    // silence before the start
  };
  for (const Case& c : cases) {
    Fixture f(scene);
    f.file.setAudioBufferSize(4);
    Media::RawAudioBuffer out;
    f.file.getAudioSamples(out, c.start, c.count, c.tag);
    ASSERT_EQ(out.sampleCount, c.expectedCount) << c.start;
    EXPECT_EQ(out.data.size(), static_cast<uint64_t>(c.expectedCount) * out.blockAlign());
    for (int32_t k = 0; k < out.sampleCount; ++k) {
      const int32_t want = c.start + k < 0 ? 0 : OutputTest::samplePattern(c.start + k);
      const float got = c.tag == Plugin::kAudioPcm16
                            ? reinterpret_cast<const int16_t*>(out.data.data())[2 * k]
                            : reinterpret_cast<const float*>(out.data.data())[2 * k] * 32768.0f;
      ASSERT_EQ(got, static_cast<float>(want)) << "start " << c.start << " sample " << k;
    }
  }
}

TEST(OutputFileTest, AFailedFrameIsEmptyAndRequireThrowsItsError) {
  Fixture f(smallScene(5));
  f.source->failVideo = {2};
  f.source->failAudio = {3};
  EXPECT_FALSE(f.file.getVideoFrame(2, Plugin::kFrameBgr24, true));
  EXPECT_TRUE(f.file.getVideoFrame(1, Plugin::kFrameBgr24, true));
  try {
    f.file.requireVideoFrame(2, Plugin::kFrameBgr24, true);
    FAIL() << "no exception";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "video frame failed");
  }
  EXPECT_THROW(f.file.requireAudioFrame(3, Plugin::kAudioPcm16), std::runtime_error);
  // Sound stops where a frame's block is missing: what follows would not join.
  Media::RawAudioBuffer out;
  f.file.getAudioSamples(out, 0, 5 * 1600, Plugin::kAudioPcm16);
  EXPECT_EQ(out.sampleCount, 3 * 1600);
}

TEST(OutputFileTest, ProgressText) {
  Fixture f(smallScene(300));
  auto& progress = f.file.progress();
  progress.startTick = 1000;
  progress.total = 200;
  struct Case {
    uint32_t position;
    uint64_t now;
    const char* text;
  };
  const Case cases[] = {
      {0, 1000, "0.00% (0/200)"},
      {50, 1000 + 14999, "25.00% (50/200)"},   // before 15 seconds: no estimate
      {14, 1000 + 60000, "7.00% (14/200)"},    // fewer than 15 frames: no estimate
      {50, 1000 + 20000, "25.00% (50/200) | RemainingTime 00:01:00 (2.50fps)"},
  };
  for (const Case& c : cases) {
    progress.position = c.position;
    EXPECT_EQ(f.file.progressText(c.now), c.text);
  }
  progress.total = 0;
  EXPECT_EQ(f.file.progressFraction(), 0.0f);
}

}  // namespace
