#include "output/output_file.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "output/output_service.h"
#include "system/exception.h"
#include "system/text.h"

namespace Plugin {
namespace {

constexpr uint32_t kBlockAlignPcm16 = 4;
constexpr uint32_t kBlockAlignFloat32 = 8;

// The first sample of frame `frame`: llround(audio rate x frame x scale / rate), halves away
// from zero, so consecutive frames' blocks join without gaps or overlaps.
int64_t frameStartSample(const ExportScene& scene, int64_t frame) {
  return std::llround(static_cast<double>(scene.audioRate) * static_cast<double>(frame) *
                      static_cast<double>(scene.scale) / static_cast<double>(scene.rate));
}

void setAudioFormat(Media::RawAudioBuffer& buffer, int32_t formatTag) {
  buffer.formatTag = formatTag;
  buffer.bitsPerSample = formatTag == kAudioPcm16 ? 16 : 32;
  buffer.channels = 2;
  buffer.sampleCount = 0;
}

ExportCaches& serviceCaches() {
  OutputService* service = OutputService::instance();
  if (!service)
    throw System::makeException("Plugin::OutputFile::OutputFile", "OutputService not created.");
  return service->caches();
}

}  // namespace

uint64_t monotonicMilliseconds() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

OutputFile::OutputFile(std::string path, bool notify)
    : OutputFile(std::move(path), notify, currentExportScene(), makeRenderExportSource(),
                 serviceCaches()) {}

OutputFile::OutputFile(std::string path, bool notify, const ExportScene& scene,
                       std::shared_ptr<ExportSource> source, ExportCaches& caches)
    : path_(std::move(path)),
      scene_(scene),
      source_(std::move(source)),
      caches_(caches),
      notify_(notify) {
  if (scene_.rate <= 0 || scene_.scale <= 0 || scene_.audioRate <= 0 || scene_.lastFrame < 0)
    throw System::makeFormattedException("Plugin::OutputFile::OutputFile", "invalid scene.",
                                         "rate = %d, scale = %d, audio rate = %d, last = %d",
                                         scene_.rate, scene_.scale, scene_.audioRate,
                                         scene_.lastFrame);
  resetCaches();
  computeRange();
}

OutputFile::~OutputFile() {
  // The loaders refer to this file: none may run after it.
  try {
    caches_.clear();
  } catch (...) {
    // Waiting failed (the cache threads were stopped): nothing runs any more.
  }
}

void OutputFile::resetCaches() {
  caches_.clear();
  caches_.image.setLimit(static_cast<uint64_t>(videoDepth_));
  caches_.audio.setLimit(static_cast<uint64_t>(audioDepth_));
}

void OutputFile::computeRange() {
  const int32_t last = scene_.lastFrame;
  startFrame_ = 0;
  frameCount_ = last + 1;
  if (scene_.selectedFrameStart >= 0 && scene_.selectedFrameEnd >= 0) {
    startFrame_ = std::clamp(scene_.selectedFrameStart, 0, last);
    const int32_t end = std::clamp(scene_.selectedFrameEnd, 0, last);
    // A range whose end lies before its start exports nothing rather than a negative count.
    frameCount_ = std::max(0, end - startFrame_ + 1);
  }
  startSample_ = frameStartSample(scene_, startFrame_);
  sampleCount_ = frameStartSample(scene_, frameCount_);
}

void OutputFile::setVideoBufferSize(int depth) {
  videoDepth_ = std::clamp(depth, 1, kMaxReadAhead);
  caches_.image.setLimit(static_cast<uint64_t>(videoDepth_));
}

void OutputFile::setAudioBufferSize(int depth) {
  audioDepth_ = std::clamp(depth, 1, kMaxReadAhead);
  caches_.audio.setLimit(static_cast<uint64_t>(audioDepth_));
}

void OutputFile::recordFailure(std::exception_ptr failure) {
  std::lock_guard lock(failureMutex_);
  if (!failure_) failure_ = std::move(failure);
}

std::exception_ptr OutputFile::failure() const {
  std::lock_guard lock(failureMutex_);
  return failure_;
}

// The frame clamped to the scene: the frames up to half the depth beyond it are asked for in
// the background, then the frame itself is waited for.
template <class Cache, class MakeLoader>
auto OutputFile::readAhead(Cache& cache, int frame, int depth, const MakeLoader& makeLoader) {
  const int32_t last = scene_.lastFrame;
  const int first = std::clamp(frame, 0, last);
  const int end = std::clamp(first + depth / 2, 0, last);
  for (int key = first; key <= end; ++key) cache.request(key, makeLoader(key));
  return cache.get(first, makeLoader(first));
}

std::shared_ptr<Media::ImageBuffer> OutputFile::getVideoFrame(int frame, int format,
                                                              bool straightAlpha) {
  auto loader = [this, format, straightAlpha](int key) {
    return [this, key, format, straightAlpha] {
      try {
        caches_.image.store(key, source_->renderVideo(key, format, straightAlpha), 1);
      } catch (const std::exception& exception) {
        System::Log::error("Plugin::OutputFile::getVideoFrame",
                           "failed to render frame. [%d]\n%s", key, exception.what());
        recordFailure(std::current_exception());
      }
    };
  };
  return readAhead(caches_.image, frame, videoDepth_, loader);
}

std::shared_ptr<Media::RawAudioBuffer> OutputFile::getAudioFrame(int frame, int formatTag) {
  auto loader = [this, formatTag](int key) {
    return [this, key, formatTag] {
      try {
        auto block = std::make_shared<Media::RawAudioBuffer>();
        setAudioFormat(*block, formatTag);
        source_->renderAudio(key, *block);
        caches_.audio.store(key, std::move(block), 1);
      } catch (const std::exception& exception) {
        System::Log::error("Plugin::OutputFile::getAudioFrame",
                           "failed to render audio. [%d]\n%s", key, exception.what());
        recordFailure(std::current_exception());
      }
    };
  };
  return readAhead(caches_.audio, frame, audioDepth_, loader);
}

void OutputFile::throwFailure(const char* place, int frame) const {
  if (std::exception_ptr failure = this->failure()) std::rethrow_exception(failure);
  throw System::makeFormattedException(place, "failed to render frame.", "frame = %d", frame);
}

std::shared_ptr<Media::ImageBuffer> OutputFile::requireVideoFrame(int frame, int format,
                                                                  bool straightAlpha) {
  auto image = getVideoFrame(frame, format, straightAlpha);
  if (!image) throwFailure("Plugin::OutputFile::getVideoFrame", frame);
  return image;
}

std::shared_ptr<Media::RawAudioBuffer> OutputFile::requireAudioFrame(int frame, int formatTag) {
  auto block = getAudioFrame(frame, formatTag);
  if (!block) throwFailure("Plugin::OutputFile::getAudioFrame", frame);
  return block;
}

void OutputFile::getAudioSamples(Media::RawAudioBuffer& out, int64_t start, uint32_t count,
                                 int32_t formatTag) {
  setAudioFormat(out, formatTag);
  const uint32_t blockAlign = formatTag == kAudioPcm16 ? kBlockAlignPcm16 : kBlockAlignFloat32;
  // The count comes from a plug-in: never more than the scene holds from `start` on.
  const int64_t sceneEnd = frameStartSample(scene_, static_cast<int64_t>(scene_.lastFrame) + 1);
  const int64_t available = std::max<int64_t>(0, sceneEnd - start);
  const uint32_t wanted = static_cast<uint32_t>(std::min<int64_t>(count, available));
  out.data.allocMemory(static_cast<uint64_t>(wanted) * blockAlign);
  if (wanted > 0) std::memset(out.data.data(), 0, static_cast<size_t>(wanted) * blockAlign);

  // Samples before the scene's start are silence: the run begins with them, then joins
  // frame 0 (rather than walking every frame for an offset that never becomes valid).
  const uint32_t lead =
      start < 0 ? static_cast<uint32_t>(std::min<int64_t>(-start, wanted)) : 0;
  const int64_t denominator = static_cast<int64_t>(scene_.scale) * scene_.audioRate;
  int64_t i = start >= 0 ? start * scene_.rate / denominator : 0;
  uint32_t copied = lead;
  while (copied < wanted) {
    if (i > scene_.lastFrame) break;
    auto block = getAudioFrame(static_cast<int>(i), formatTag);
    // A frame whose sound cannot be had ends the run: what follows would not join.
    if (!block) break;
    const int64_t offset = copied + start - frameStartSample(scene_, i);
    if (offset >= 0 && block->sampleCount > offset) {
      const uint32_t n = static_cast<uint32_t>(
          std::min<int64_t>(block->sampleCount - offset, wanted - copied));
      std::memcpy(out.data.data() + static_cast<uint64_t>(copied) * blockAlign,
                  block->data.data() + static_cast<uint64_t>(offset) * blockAlign,
                  static_cast<size_t>(n) * blockAlign);
      copied += n;
    }
    ++i;
  }
  out.sampleCount = static_cast<int32_t>(copied);
  out.data.allocMemory(static_cast<uint64_t>(copied) * blockAlign);
}

float OutputFile::progressFraction() const {
  const uint32_t total = progress_.total.load();
  return total == 0 ? 0.0f
                    : static_cast<float>(progress_.position.load()) / static_cast<float>(total);
}

std::string OutputFile::progressText(uint64_t nowTick) const {
  const uint32_t position = progress_.position.load();
  const uint32_t total = progress_.total.load();
  const uint64_t elapsed = nowTick - progress_.startTick;
  const float fraction = progressFraction();
  std::string text = System::formatFixed(fraction * 100.0, 2) + "% (" + std::to_string(position) + "/" +
                     std::to_string(total) + ")";
  if (elapsed >= 15000 && position >= 15) {
    const double remaining = static_cast<double>(static_cast<int64_t>(total) - position) *
                             static_cast<double>(elapsed) / (position * 1000.0);
    const float fps = static_cast<float>(position * 1000.0 / static_cast<double>(elapsed));
    text += " | RemainingTime " + System::formatTimeSeconds(remaining) + " (" + System::formatFixed(fps, 2) +
            "fps)";
  }
  return text;
}

}  // namespace Plugin
