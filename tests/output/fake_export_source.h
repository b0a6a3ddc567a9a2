#pragma once
// An export source without the render engine: frame n is filled with the byte (n * 16 + 1)
// mod 256 (each pixel's bytes alike), and the sound of frame n holds exactly its samples,
// sample k of the export's timeline carrying the value k mod 30000 in both channels (as
// 16-bit PCM, or that value / 32768 as float). Frames listed in `failVideo` / `failAudio`
// throw. Every call is recorded.
#include <cmath>
#include <cstring>
#include <mutex>
#include <set>
#include <stdexcept>
#include <vector>

#include "output/export_source.h"

namespace OutputTest {

inline uint8_t framePattern(int frame) { return static_cast<uint8_t>((frame * 16 + 1) & 0xff); }
inline int32_t samplePattern(int64_t sample) { return static_cast<int32_t>(sample % 30000); }

class FakeExportSource : public Plugin::ExportSource {
 public:
  explicit FakeExportSource(const Plugin::ExportScene& scene) : scene_(scene) {}

  std::shared_ptr<Media::ImageBuffer> renderVideo(int frame, int format,
                                                  bool straightAlpha) override {
    {
      std::lock_guard lock(mutex_);
      videoCalls.push_back(frame);
      if (failVideo.count(frame)) throw std::runtime_error("video frame failed");
    }
    auto image = Media::ImageBuffer::makeShared(format, static_cast<uint32_t>(scene_.width),
                                                static_cast<uint32_t>(scene_.height));
    std::memset(image->data(), framePattern(frame),
                static_cast<size_t>(image->pitch) * image->height);
    return image;
  }

  void renderAudio(int frame, Media::RawAudioBuffer& out) override {
    {
      std::lock_guard lock(mutex_);
      audioCalls.push_back(frame);
      if (failAudio.count(frame)) throw std::runtime_error("audio frame failed");
    }
    const int64_t first = frameStart(frame);
    const int32_t count = static_cast<int32_t>(frameStart(frame + 1) - first);
    out.sampleCount = count;
    out.data.allocMemory(static_cast<uint64_t>(count) * out.blockAlign());
    for (int32_t k = 0; k < count; ++k) {
      const int32_t value = samplePattern(first + k);
      if (out.formatTag == 1) {
        auto* pcm = reinterpret_cast<int16_t*>(out.data.data());
        pcm[2 * k] = pcm[2 * k + 1] = static_cast<int16_t>(value);
      } else {
        auto* samples = reinterpret_cast<float*>(out.data.data());
        samples[2 * k] = samples[2 * k + 1] = static_cast<float>(value) / 32768.0f;
      }
    }
  }

  int64_t frameStart(int64_t frame) const {
    return std::llround(static_cast<double>(scene_.audioRate) * static_cast<double>(frame) *
                        scene_.scale / scene_.rate);
  }

  std::vector<int> videoFrames() {
    std::lock_guard lock(mutex_);
    return videoCalls;
  }
  std::vector<int> audioFrames() {
    std::lock_guard lock(mutex_);
    return audioCalls;
  }

  std::set<int> failVideo;
  std::set<int> failAudio;

 private:
  Plugin::ExportScene scene_;
  std::mutex mutex_;
  std::vector<int> videoCalls;
  std::vector<int> audioCalls;
};

// A scene of `frames` frames at 30/1, 48000 Hz, 320 x 240.
inline Plugin::ExportScene smallScene(int frames) {
  Plugin::ExportScene scene;
  scene.width = 320;
  scene.height = 240;
  scene.rate = 30;
  scene.scale = 1;
  scene.audioRate = 48000;
  scene.lastFrame = frames - 1;
  return scene;
}

// A scene of 4 x 2 pixels at 30/1 with 3000 Hz sound (100 samples a frame), frames 0 to
// `lastFrame`, with frames `selectedStart` to `selectedEnd` selected: small enough for every
// frame and sound to be written out byte for byte.
inline Plugin::ExportScene tinyScene(int lastFrame, int selectedStart, int selectedEnd) {
  Plugin::ExportScene scene;
  scene.width = 4;
  scene.height = 2;
  scene.rate = 30;
  scene.scale = 1;
  scene.audioRate = 3000;
  scene.lastFrame = lastFrame;
  scene.selectedFrameStart = selectedStart;
  scene.selectedFrameEnd = selectedEnd;
  return scene;
}

}  // namespace OutputTest
