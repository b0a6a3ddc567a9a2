// The preview's sound output: the voice opened on first use and reopened for another rate,
// a failing sound system that leaves playback silent, the buffers kept until the voice has
// finished them, the volume, and a real voice on SDL's dummy driver.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "render/player_test_support.h"
#include "render/sdl_audio_system.h"
#include "system/log_capture.h"

namespace {

using TestSupport::FakeAudioSystem;
using TestSupport::FakeSound;
using TestSupport::LogCapture;

System::AlignedBuffer stereoFrames(uint64_t frames) {
  System::AlignedBuffer buffer;
  buffer.allocMemory(frames * 8);
  if (frames > 0) std::memset(buffer.data(), 0, frames * 8);
  return buffer;
}

class AudioOutputTest : public ::testing::Test {
 protected:
  std::shared_ptr<FakeSound> sound_ = std::make_shared<FakeSound>();
  Media::XAudio2Service output_{std::make_unique<FakeAudioSystem>(sound_)};
};

TEST_F(AudioOutputTest, TheVoiceIsMadeOnceAndRemadeOnlyForAnotherRate) {
  EXPECT_FALSE(output_.hasSourceVoice());
  output_.createPlayer(48000);
  output_.createPlayer(48000);
  EXPECT_EQ(sound_->enginesOpened, 1);
  EXPECT_EQ(sound_->voicesOpened, 1);
  EXPECT_EQ(output_.samplingRate(), 48000u);

  output_.submitBuffer(stereoFrames(100));
  output_.play();
  output_.createPlayer(44100);
  EXPECT_EQ(sound_->enginesOpened, 1);
  EXPECT_EQ(sound_->voicesOpened, 2);
  EXPECT_EQ(sound_->rate, 44100u);
  // The old voice was stopped and emptied before it went.
  EXPECT_FALSE(output_.playing());
  EXPECT_EQ(output_.bufferCount(), 0u);
  EXPECT_EQ(output_.queuedBytes(), 0u);
}

TEST_F(AudioOutputTest, AFailingSoundSystemIsLoggedAndLeavesNoVoiceUntilItWorks) {
  struct Case {
    const char* what;
    bool failEngine;
    bool failVoice;
  };
  for (const Case& c : {Case{"no engine", true, false}, Case{"no device", false, true}}) {
    SCOPED_TRACE(c.what);
    auto sound = std::make_shared<FakeSound>();
    Media::XAudio2Service output(std::make_unique<FakeAudioSystem>(sound));
    sound->failEngine = c.failEngine;
    sound->failVoice = c.failVoice;
    LogCapture log;
    output.createPlayer(48000);
    EXPECT_FALSE(output.hasSourceVoice());
    EXPECT_EQ(log.texts("WARN"), std::vector<std::string>{"audio player initialize failed."});

    // Every call that needs the voice does nothing.
    output.play();
    output.setVolume(50);
    output.submitBuffer(stereoFrames(10));
    EXPECT_FALSE(output.playing());
    EXPECT_EQ(output.bufferCount(), 0u);
    EXPECT_EQ(sound->volume, -1.0f);

    sound->failEngine = false;
    sound->failVoice = false;
    output.createPlayer(48000);
    EXPECT_TRUE(output.hasSourceVoice());
  }
}

TEST_F(AudioOutputTest, TheVolumeIsAClampedPercentage) {
  output_.setVolume(50);
  EXPECT_EQ(sound_->volume, -1.0f) << "no voice, nothing set";
  output_.createPlayer(48000);
  for (const auto& [percent, gain] :
       std::vector<std::pair<int, float>>{{150, 1.0f}, {-5, 0.0f}, {40, 0.4f}, {100, 1.0f}}) {
    output_.setVolume(percent);
    EXPECT_FLOAT_EQ(sound_->volume, gain) << percent;
  }
}

TEST_F(AudioOutputTest, PlayAndStopLogOnlyWhenTheyChangeSomething) {
  output_.createPlayer(48000);
  LogCapture log;
  output_.stop();
  EXPECT_TRUE(log.texts("INFO").empty());
  output_.play();
  output_.play();
  EXPECT_TRUE(sound_->started);
  output_.stop();
  output_.stop();
  EXPECT_FALSE(sound_->started);
  EXPECT_EQ(log.texts("INFO"),
            (std::vector<std::string>{"start audio player", "stop audio player"}));
}

TEST_F(AudioOutputTest, ABufferIsFreedOnlyWhenTheVoiceHasFinishedIt) {
  output_.createPlayer(48000);
  for (uint64_t frames : {100u, 200u, 300u}) output_.submitBuffer(stereoFrames(frames));
  EXPECT_EQ(output_.bufferCount(), 3u);
  EXPECT_EQ(output_.queuedBytes(), 4800u);

  output_.releasePlayedBuffers();
  EXPECT_EQ(output_.bufferCount(), 3u) << "the voice still reads all three";
  sound_->play(2);
  output_.releasePlayedBuffers();
  EXPECT_EQ(output_.bufferCount(), 1u);
  EXPECT_EQ(output_.queuedBytes(), 2400u);

  // A buffer without a whole frame would be held here and not by the voice, and the count
  // would then free a buffer the voice still reads: it is dropped.
  System::AlignedBuffer stray;
  stray.allocMemory(7);
  output_.submitBuffer(std::move(stray));
  output_.submitBuffer(stereoFrames(0));
  EXPECT_EQ(output_.bufferCount(), 1u);
  EXPECT_EQ(sound_->queued.size(), 1u);

  output_.clearBuffer();
  EXPECT_EQ(sound_->flushes, 1);
  EXPECT_EQ(output_.bufferCount(), 0u);
  EXPECT_EQ(output_.queuedBytes(), 0u);
}

TEST_F(AudioOutputTest, WithoutAVoiceEveryBufferIsFreed) {
  output_.createPlayer(48000);
  output_.submitBuffer(stereoFrames(10));
  output_.submitBuffer(stereoFrames(10));
  output_.destroyPlayer();
  EXPECT_FALSE(sound_->voiceOpen);
  output_.releasePlayedBuffers();
  EXPECT_EQ(output_.bufferCount(), 0u);
  EXPECT_EQ(output_.queuedBytes(), 0u);
}

// The real voice: the dummy driver plays the queued buffers in real time and the service
// frees them once played.
TEST(SdlAudioOutputTest, TheDummyDriverPlaysTheBuffersAndTheyAreFreedAfterwards) {
  Media::XAudio2Service output;
  output.createPlayer(48000);
  ASSERT_TRUE(output.hasSourceVoice()) << "SDL_AUDIODRIVER=dummy opens a voice without a device";
  output.setVolume(30);
  for (int i = 0; i < 4; ++i) output.submitBuffer(stereoFrames(480));  // 10 ms each
  EXPECT_EQ(output.voiceQueuedBuffers(), 4u);
  output.play();
  // A generous bound only, so that a broken voice fails instead of hanging.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (output.voiceQueuedBuffers() > 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(output.voiceQueuedBuffers(), 0u);
  output.releasePlayedBuffers();
  EXPECT_EQ(output.bufferCount(), 0u);

  // Stopped, it keeps what it holds until the flush.
  output.stop();
  output.submitBuffer(stereoFrames(48000));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(output.voiceQueuedBuffers(), 1u);
  output.clearBuffer();
  EXPECT_EQ(output.voiceQueuedBuffers(), 0u);
  EXPECT_EQ(output.bufferCount(), 0u);
}

}  // namespace
