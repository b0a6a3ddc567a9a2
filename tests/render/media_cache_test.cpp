// The picture and sound caches over a fake reader: which frame a time picks, which blocks a
// stretch of sound reads and how they are resampled, and what a scene source name means.
#include <gtest/gtest.h>

#include <cstring>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/input/input_file.h"
#include "media/input/input_plugin.h"
#include "media/input/input_service.h"
#include "render/audio_cache.h"
#include "render/cache_keys.h"
#include "render/image_cache.h"

namespace {

constexpr int32_t kRate = 8;  // source samples per second: blocks of 8 samples

// A movie of 10 frames at 10 fps whose frame n is 1 x 1 pixel of value n, and a sound whose
// sample i (over the whole stream) is i on channel 0 and -i on channel 1; 3 seconds long,
// block 1 unreadable when `brokenBlock` says so.
class FakeFile : public Plugin::InputFile {
 public:
  FakeFile(bool video, int channels, int brokenBlock) : channels_(channels), broken_(brokenBlock) {
    if (video) {
      description_.kinds |= Plugin::kKindVideo;
      description_.frameCount = 10;
      description_.rate = 10;
      description_.scale = 1;
      description_.width = description_.height = 1;
      description_.pixelFormat = Plugin::PixelFormat::kRgba;
    }
    if (channels > 0) {
      description_.kinds |= Plugin::kKindAudio;
      description_.samplingRate = kRate;
      description_.audioSampleCount = 3 * kRate;
      description_.channels = channels;
    }
  }
  std::shared_ptr<Media::ImageBuffer> readVideo(int32_t frame) override {
    auto image = Media::ImageBuffer::makeShared(Plugin::PixelFormat::kRgba, 1, 1);
    image->data()[0] = static_cast<uint8_t>(frame);
    return image;
  }
  std::shared_ptr<Media::AudioBlockBuffer> readAudio(int32_t block) override {
    if (block == broken_) throw std::runtime_error("unreadable block");
    Media::RawAudioBlockBuffer raw;
    raw.formatTag = Plugin::kAudioTagFloat;
    raw.bitsPerSample = 32;
    raw.channels = channels_;
    raw.samplingRate = kRate;
    raw.allocateSecond();
    auto* samples = reinterpret_cast<float*>(raw.data.data());
    for (int i = 0; i < kRate; ++i) {
      const float value = block < 3 ? static_cast<float>(block * kRate + i) : 0.0f;
      samples[i * channels_] = value;
      if (channels_ == 2) samples[i * 2 + 1] = -value;
    }
    return std::make_shared<Media::AudioBlockBuffer>(raw);
  }

 private:
  int channels_;
  int broken_;
};

// ".mov": picture and stereo sound; ".mono": mono sound; ".broken": sound whose block 1
// fails; ".still": a picture without sound.
class FakeReader : public Plugin::InputPlugin {
 public:
  FakeReader()
      : InputPlugin("fake", {{"Fake", "*.mov;*.mono;*.broken;*.still"}}, "",
                    Plugin::kReaderVideo | Plugin::kReaderAudio) {}
  std::shared_ptr<Plugin::InputFile> openFile(const std::string& path) override {
    const std::string extension = path.substr(path.rfind('.') + 1);
    if (extension == "mov") return std::make_shared<FakeFile>(true, 2, -1);
    if (extension == "mono") return std::make_shared<FakeFile>(false, 1, -1);
    if (extension == "broken") return std::make_shared<FakeFile>(false, 2, 1);
    return std::make_shared<FakeFile>(true, 0, -1);
  }
};

class MediaCacheTest : public ::testing::Test {
 protected:
  Plugin::InputService inputs{{std::make_shared<FakeReader>()}};
};

TEST_F(MediaCacheTest, AFramesTimeIsClampedIntoTheMovie) {
  Cache::ImageCache cache(inputs);
  struct Case {
    double time;
    int frame;
  };
  const Case cases[] = {{0.0, 0}, {0.34, 3}, {0.35, 4}, {5.0, 9}, {-1.0, 0}};
  for (const auto& c : cases) {
    auto image = cache.getFrameImage("/m/a.mov", c.time);
    ASSERT_NE(image, nullptr) << c.time;
    EXPECT_EQ(image->data()[0], c.frame) << c.time;
  }
  EXPECT_EQ(cache.getImage("/m/none.xyz"), nullptr);
}

// Frames are mostly asked for in order: preloading one decodes the next as well, but not past
// the movie's last frame.
TEST_F(MediaCacheTest, PreloadingAFramesDecodesTheNextOneToo) {
  Cache::ImageCache cache(inputs);
  cache.preloadFrameImage("/m/a.mov", 0.3);
  cache.preloadFrameImage("/m/b.mov", 0.9);
  // The loader thread works in order: once a later load is done, the earlier ones are.
  ASSERT_NE(cache.getImage("/m/c.still"), nullptr);
  EXPECT_TRUE(cache.store().contains({"/m/a.mov", 3}));
  EXPECT_TRUE(cache.store().contains({"/m/a.mov", 4}));
  EXPECT_FALSE(cache.store().contains({"/m/a.mov", 5}));
  EXPECT_TRUE(cache.store().contains({"/m/b.mov", 9}));
  EXPECT_FALSE(cache.store().contains({"/m/b.mov", 10}));
}

TEST_F(MediaCacheTest, ASceneChangeDropsOnlyThatScenesFrames) {
  Cache::ImageCache cache(inputs);
  auto picture = Media::ImageBuffer::makeShared(Plugin::PixelFormat::kRgba, 1, 1);
  cache.store().store({"*3", 0}, picture, 64);
  cache.store().store({"*13", 0}, picture, 64);
  cache.preloadImage("/m/a.mov");
  ASSERT_NE(cache.getImage("/m/a.mov"), nullptr);
  cache.forgetScene(3);
  EXPECT_FALSE(cache.store().contains({"*3", 0}));
  EXPECT_TRUE(cache.store().contains({"*13", 0}));
  EXPECT_TRUE(cache.store().contains({"/m/a.mov", 0}));
  // A smaller limit applies at once.
  cache.setImageCacheSize(0);
  EXPECT_EQ(cache.store().total(), 0u);
}

TEST(CacheKeysTest, SceneSourceNames) {
  EXPECT_EQ(Cache::getSceneFileName(12), "*12");
  for (const char* name : {"*", "*0", "*abc", "", "/m/a.mov"})
    EXPECT_EQ(Cache::getSceneFromFileName(name), nullptr) << name;
  EXPECT_TRUE(Cache::isSceneFileName("*4"));
  EXPECT_FALSE(Cache::isSceneFileName("4*"));
  // A scene name that names no scene gives nothing and starts nothing.
  Plugin::InputService inputs{{}};
  Cache::ImageCache cache(inputs);
  cache.preloadFrameImage("*5", 1.0);
  EXPECT_EQ(cache.getFrameImage("*5", 1.0), nullptr);
  EXPECT_FALSE(cache.store().isPending({"*5", 30}));
}

TEST(AudioBlockPositionTest, PositionsInBlocks) {
  struct Case {
    int64_t position;
    uint32_t outputRate;
    int32_t sourceRate;
    double offset, speed;
    Cache::AudioBlockPosition expected;  // block, length, index, fraction, denominator, step
  };
  const Case cases[] = {
      {0, 48000, 48000, 0.0, 1.0, {0, 48000, 0, 0, 48000, 48000}},
      {48001, 48000, 48000, 0.0, 1.0, {1, 48000, 1, 0, 48000, 48000}},
      {1, 48000, 44100, 0.0, 1.0, {0, 44100, 0, 44100, 48000, 44100}},
      {10, 48000, 48000, 0.0, -2.0, {0, 48000, 20, 0, 48000, 96000}},
      {0, 48000, 48000, 1.5, 1.0, {1, 48000, 24000, 0, 48000, 48000}},
      {0, 48000, 48000, -1.0, 1.0, {0, 48000, 0, 0, 48000, 48000}},  // before the start
      {-5, 48000, 48000, 0.0, 1.0, {0, 48000, 0, 0, 48000, 48000}},
  };
  for (const auto& c : cases) {
    const auto at = Cache::getAudioBlockPosition({c.position, c.outputRate}, c.sourceRate,
                                                 c.offset, c.speed);
    EXPECT_EQ(at.block, c.expected.block) << c.position;
    EXPECT_EQ(at.index, c.expected.index) << c.position;
    EXPECT_EQ(at.fraction, c.expected.fraction) << c.position;
    EXPECT_EQ(at.step, c.expected.step) << c.position;
    EXPECT_EQ(at.blockLength, c.expected.blockLength);
    EXPECT_EQ(at.denominator, c.expected.denominator);
  }
}

std::vector<float> channel(const Media::AudioBuffer& buffer, int index) {
  const float* data = buffer.getChannelData(index);
  return {data, data + buffer.sampleCount()};
}

TEST_F(MediaCacheTest, SoundIsResampledBySpeed) {
  Cache::AudioCache cache(inputs);
  struct Case {
    const char* name;
    int64_t position;
    int count;
    double speed;
    std::vector<float> left;
  };
  const Case cases[] = {
      {"unchanged", 0, 4, 1.0, {0, 1, 2, 3}},
      {"across a block boundary", 6, 4, 1.0, {6, 7, 8, 9}},
      {"speed 2 averages pairs", 0, 4, 2.0, {0.5f, 2.5f, 4.5f, 6.5f}},
      {"speed 0.5 repeats", 0, 4, 0.5, {0, 0, 1, 1}},
      {"speed -1 reverses", 0, 4, -1.0, {3, 2, 1, 0}},
  };
  for (const auto& c : cases) {
    auto sound = cache.getAudio("/m/a.mov", {c.position, kRate}, c.count, 0.0, c.speed);
    ASSERT_NE(sound, nullptr) << c.name;
    EXPECT_EQ(channel(*sound, 0), c.left) << c.name;
    std::vector<float> right;
    for (float v : c.left) right.push_back(v == 0.0f ? 0.0f : -v);
    EXPECT_EQ(channel(*sound, 1), right) << c.name;
  }
}

TEST_F(MediaCacheTest, MonoPlaysOnBothChannelsAndMissingSoundIsSilence) {
  Cache::AudioCache cache(inputs);
  auto mono = cache.getAudio("/m/a.mono", {2, kRate}, 3, 0.0, 1.0);
  ASSERT_NE(mono, nullptr);
  EXPECT_EQ(channel(*mono, 0), (std::vector<float>{2, 3, 4}));
  EXPECT_EQ(channel(*mono, 1), (std::vector<float>{2, 3, 4}));
  EXPECT_EQ(cache.getAudio("/m/p.still", {0, kRate}, 4, 0.0, 1.0), nullptr);
  // Block 1 cannot be read: the sound ends where it begins.
  auto broken = cache.getAudio("/m/a.broken", {6, kRate}, 4, 0.0, 1.0);
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(channel(*broken, 0), (std::vector<float>{6, 7, 0, 0}));
  auto brokenFirst = cache.getAudio("/m/a.broken", {kRate, kRate}, 2, 0.0, 1.0);
  ASSERT_NE(brokenFirst, nullptr);
  EXPECT_EQ(channel(*brokenFirst, 0), (std::vector<float>{0, 0}));
  // Past the end of the stream the reader hands out silent blocks.
  auto past = cache.getAudio("/m/a.mov", {100, kRate}, 2, 0.0, 1.0);
  ASSERT_NE(past, nullptr);
  EXPECT_EQ(channel(*past, 0), (std::vector<float>{0, 0}));
}

TEST_F(MediaCacheTest, PreloadDecodesTheBlocksAGetWillRead) {
  Cache::AudioCache cache(inputs);
  cache.preloadAudio("/m/a.mov", {6, kRate}, 4, 0.0, 1.0);
  cache.store().clear();  // waits for the queued loads
  EXPECT_FALSE(cache.store().contains({"/m/a.mov", 0}));
  cache.preloadAudio("/m/a.mov", {6, kRate}, 4, 0.0, 1.0);
  // get waits for the pending loads of the same blocks.
  cache.getAudio("/m/a.mov", {6, kRate}, 4, 0.0, 1.0);
  EXPECT_TRUE(cache.store().contains({"/m/a.mov", 0}));
  EXPECT_TRUE(cache.store().contains({"/m/a.mov", 1}));
}

}  // namespace
