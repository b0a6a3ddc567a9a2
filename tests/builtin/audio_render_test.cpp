// A scene's sound rendered through the audio render worker: a sound file's object mixed by
// "音声再生" with its volume and balance, under the group audio controls above it, and the
// frames' sample counts.
#include <gtest/gtest.h>

#include <future>

#include "builtin/control/group_audio_control.h"
#include "builtin/input/audio_load.h"
#include "builtin/output/audio_output.h"
#include "effect/media_input_source.h"
#include "media/audio/audio_buffer.h"
#include "media/input/input_file.h"
#include "media/input/input_plugin.h"
#include "media/input/input_service_seams.h"
#include "render/render_test_support.h"

namespace {

constexpr int kRate = 48000;

// Ten seconds of a constant stereo sound: 0.5 on the left, -0.25 on the right.
class ToneFile : public Plugin::InputFile {
 public:
  ToneFile() {
    description_.kinds = Plugin::kKindAudio;
    description_.samplingRate = kRate;
    description_.audioSampleCount = int64_t{10} * kRate;
    description_.channels = 2;
    description_.audioFormatTag = Plugin::kAudioTagFloat;
    description_.bitsPerSample = 32;
  }
  std::shared_ptr<Media::AudioBlockBuffer> readAudio(int32_t) override {
    Media::RawAudioBlockBuffer raw;
    raw.formatTag = Plugin::kAudioTagFloat;
    raw.bitsPerSample = 32;
    raw.channels = 2;
    raw.samplingRate = kRate;
    raw.allocateSecond();
    auto* samples = reinterpret_cast<float*>(raw.data.data());
    for (int i = 0; i < kRate; ++i) {
      samples[2 * i] = 0.5f;
      samples[2 * i + 1] = -0.25f;
    }
    return std::make_shared<Media::AudioBlockBuffer>(raw);
  }
};

class ToneReader : public Plugin::InputPlugin {
 public:
  ToneReader() : InputPlugin("tone", {{"Tone", "*.tone"}}, "", Plugin::kReaderAudio) {}
  std::shared_ptr<Plugin::InputFile> openFile(const std::string&) override {
    return std::make_shared<ToneFile>();
  }
};

class AudioRenderTest : public ::testing::Test {
 protected:
  AudioRenderTest()
      : world_(Plugin::InputService::PluginList{std::make_shared<ToneReader>()}),
        source_(*Plugin::InputService::instance()) {
    Effect::setMediaInputSource(&source_);
  }
  ~AudioRenderTest() override { Effect::setMediaInputSource(nullptr); }

  struct Mixed {
    int samples = -1;
    float left = 0.0f;
    float right = 0.0f;
  };
  // The sound of a frame: its length and its middle sample.
  Mixed renderFrame(int frame) {
    Mixed mixed;
    auto& audio = Render::RenderService::Get().audio();
    audio.requestRenderingAudio(2, frame, [&](int, Media::AudioBuffer& buffer) {
      mixed.samples = buffer.sampleCount();
      if (mixed.samples > 0) {
        mixed.left = buffer.getChannelData(0)[mixed.samples / 2];
        mixed.right = buffer.getChannelData(1)[mixed.samples / 2];
      }
    });
    audio.requestThread().waitAllTasks();
    return mixed;
  }
  std::shared_ptr<Effect::AudioOutput> placeTone(int layer) {
    auto tone = std::make_shared<Effect::AudioLoad>();
    tone->file.path = "/media/a.tone";
    auto output = std::make_shared<Effect::AudioOutput>();
    auto object = world_.placeEffect(layer, 0, 299, tone);
    object->effects.push_back(output);
    return output;
  }

  TestSupport::RenderWorld world_;
  Plugin::InputServiceSource source_;
};

TEST_F(AudioRenderTest, AFrameWithoutSoundIsSilenceOfItsLength) {
  const Mixed mixed = renderFrame(3);
  EXPECT_EQ(mixed.samples, 1600);
  EXPECT_EQ(mixed.left, 0.0f);
}

TEST_F(AudioRenderTest, TheOutputMixesWithVolumeAndBalance) {
  auto output = placeTone(0);
  struct Case {
    double volume, balance;
    float left, right;
  };
  const Case cases[] = {
      {100, 0, 0.5f, -0.25f},
      {50, 0, 0.25f, -0.125f},
      {0, 0, 0.0f, 0.0f},
      {100, -100, 0.5f, 0.0f},   // only the left channel
      {100, 50, 0.25f, -0.25f},  // the left lowered by half
  };
  for (const auto& c : cases) {
    output->volume.setValue(c.volume, 0);
    output->balance.setValue(c.balance, 0);
    const Mixed mixed = renderFrame(10);
    EXPECT_EQ(mixed.samples, 1600);
    EXPECT_FLOAT_EQ(mixed.left, c.left) << c.volume << " " << c.balance;
    EXPECT_FLOAT_EQ(mixed.right, c.right) << c.volume << " " << c.balance;
  }
  // Two objects add up.
  placeTone(1);
  output->volume.setValue(100, 0);
  output->balance.setValue(0, 0);
  EXPECT_FLOAT_EQ(renderFrame(10).left, 1.0f);
}

TEST_F(AudioRenderTest, GroupAudioControlsScaleTheSoundOfTheirLayers) {
  auto outer = std::make_shared<Effect::GroupAudioControl>();
  auto inner = std::make_shared<Effect::GroupAudioControl>();
  world_.placeEffect(0, 0, 299, outer);
  world_.placeEffect(1, 0, 299, inner);
  placeTone(2);
  struct Case {
    double outerVolume, innerBalance;
    float left, right;
  };
  const Case cases[] = {
      {100, 0, 0.5f, -0.25f},
      {50, 0, 0.25f, -0.125f},     // the outer group halves everything below it
      {50, 50, 0.125f, -0.125f},   // the inner group lowers the left by half again
      {100, -100, 0.5f, 0.0f},     // only the left channel
  };
  for (const auto& c : cases) {
    outer->volume.setValue(c.outerVolume, 0);
    inner->balance.setValue(c.innerBalance, 0);
    const Mixed mixed = renderFrame(10);
    EXPECT_FLOAT_EQ(mixed.left, c.left) << c.outerVolume << " " << c.innerBalance;
    EXPECT_FLOAT_EQ(mixed.right, c.right) << c.outerVolume << " " << c.innerBalance;
  }
}

}  // namespace
