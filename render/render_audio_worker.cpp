#include "render/render_audio_worker.h"

#include <algorithm>
#include <cstring>

#include "edit/edit_service.h"
#include "edit/scene.h"
#include "edit/update_section.h"
#include "media/audio/audio_buffer.h"
#include "render/audio_pass.h"
#include "render/audio_timing.h"
#include "render/request_failure.h"
#include "render/worker_task_support.h"
#include "system/exception.h"
#include "system/log.h"

namespace Render {
namespace {

constexpr int kObjectQueueBound = 10;
constexpr int kPreviewKey = 1;
constexpr int kExportKey = 3;
constexpr const char* kBlockPlace = "Render::RenderAudioWorker::createSceneAudioBlock";

using BlockDelivery = OnceDelivery<Media::AudioBlockBuffer>;

// A silent stereo block of `samples` samples.
std::shared_ptr<Media::AudioBlockBuffer> silentBlock(int32_t samples) {
  Media::RawAudioBlockBuffer raw;
  raw.formatTag = 3;
  raw.bitsPerSample = 32;
  raw.channels = 2;
  raw.samplingRate = std::max(samples, 0);
  raw.allocateSecond();
  return std::make_shared<Media::AudioBlockBuffer>(raw);
}

}  // namespace

RenderAudioWorker::RenderingBuffer::RenderingBuffer()
    : audio(std::make_unique<Media::AudioBuffer>()) {}
RenderAudioWorker::RenderingBuffer::~RenderingBuffer() = default;

RenderAudioWorker::RenderAudioWorker() {
  objectThread_ = std::make_unique<Worker::WorkerThread>("RenderObjectWorkerAudio");
  objectThread_->queueBound().setMax(kObjectQueueBound);
}

RenderAudioWorker::~RenderAudioWorker() { stop(); }

void RenderAudioWorker::stop() {
  requestThread_.stop();
  if (objectThread_) objectThread_->stop();
}

void RenderAudioWorker::postObjectTask(std::function<void()> task) {
  std::shared_ptr<RequestFailure> failure = currentFailure_;
  objectThread_->addTask(0, [task = std::move(task), failure = std::move(failure)] {
    runRecordingFailure(task, failure.get(), "Render::RenderAudioWorker::postObjectTask",
                        "RenderObjectWorkerAudio");
  });
}

void RenderAudioWorker::requestRenderingAudio(int key, int frame, AudioCallback callback,
                                              FailureCallback failed) {
  if (key == kPreviewKey) requestThread_.cancelTask(kPreviewKey);
  requestThread_.addTask(key, [this, key, frame, callback = std::move(callback),
                               failed = std::move(failed)] {
    try {
      renderRequest(key, frame, callback, failed);
    } catch (const std::exception& exception) {
      System::Log::error("Render::RenderAudioWorker::requestRenderingAudio",
                         "[RenderAudioWorker] exception.\n%s", exception.what());
      if (failed) failed(frame, std::current_exception());
    }
  });
}

void RenderAudioWorker::renderRequest(int, int frame, const AudioCallback& callback,
                                      const FailureCallback& failed) {
  Media::AudioBuffer buffer;
  currentFailure_ = std::make_shared<RequestFailure>();
  const std::shared_ptr<RequestFailure> failure = currentFailure_;
  {
    Edit::EditService* edit = Edit::EditService::instance();
    if (!edit)
      throw System::makeException("Render::RenderAudioWorker::requestRenderingAudio",
                                  "EditService not created.");
    const Edit::ReadSection read = edit->beginRead();
    sceneKeys.clear();
    if (read.scene) {
      WaitForTasks wait{*objectThread_};
      AudioPass(*this, *read.scene, frame, &buffer).run();
    }
  }
  currentFailure_.reset();
  if (const std::exception_ptr mixingFailure = failure->get()) {
    if (failed) failed(frame, mixingFailure);
    return;
  }
  callback(frame, buffer);
}

std::shared_ptr<RenderAudioWorker::RenderingBuffer> RenderAudioWorker::renderingBuffer(
    Edit::Scene& scene, int frame) {
  auto buffer = std::make_shared<RenderingBuffer>();
  // The caller's read scope keeps the scene alive until it has waited for the buffer.
  requestThread_.addTask(kExportKey, [this, scene = &scene, frame, buffer] {
    struct SetWhenDone {
      Sync::Event& event;
      ~SetWhenDone() { event.set(); }
    } done{buffer->done};
    sceneKeys.clear();
    WaitForTasks wait{*objectThread_};
    AudioPass(*this, *scene, frame, buffer->audio.get()).run();
  });
  return buffer;
}

void RenderAudioWorker::createSceneAudioBlock(Edit::Scene& scene, int block,
                                              BlockCallback callback) {
  if (Worker::WorkerThread::current() == &requestThread_) {
    renderSceneBlock(scene, block, std::move(callback));
    return;
  }
  // From another thread (the video walk): the passes run here, where the key set lives.
  auto delivery = std::make_shared<BlockDelivery>(std::move(callback));
  requestThread_.addTask(kExportKey, [this, scene = &scene, block, delivery] {
    renderSceneBlock(*scene, block, [delivery](std::shared_ptr<Media::AudioBlockBuffer> made) {
      if (made) delivery->deliver(std::move(made));
    });
  });
}

void RenderAudioWorker::renderSceneBlock(Edit::Scene& scene, int block, BlockCallback callback) {
  auto delivery = std::make_shared<BlockDelivery>(std::move(callback));
  const int32_t rate = scene.audioRate;
  auto made = silentBlock(rate);
  if (rate > 0 && scene.rate > 0 && scene.scale > 0 && block >= 0) {
    auto frameBuffer = std::make_shared<Media::AudioBuffer>();
    const int64_t blockStart = int64_t{block} * rate;
    int64_t frame = blockStart * scene.rate / (int64_t{scene.scale} * rate);
    int64_t filled = 0;
    const int64_t lastFrame = scene.lastFrame();
    while (filled < rate && frame <= lastFrame) {
      AudioPass(*this, scene, static_cast<int>(frame), frameBuffer.get()).run();
      const FrameAudioRange range = frameAudioRange(scene, frame, 0);
      const int64_t offset = blockStart + filled - range.sceneSample;
      const int64_t count = range.sampleCount;
      if (static_cast<uint64_t>(offset) > static_cast<uint64_t>(count)) {
        System::Log::error(kBlockPlace, "invalid rendering sample position.");
        break;
      }
      postObjectTask([made, frameBuffer, filled, offset, count, rate] {
        if (frameBuffer->sampleCount() != count) {
          System::Log::error(kBlockPlace, "invalid rendering sample num.");
          return;
        }
        if (offset >= count) return;
        const int64_t n = std::min<int64_t>(rate - filled, count - offset);
        for (int channel : {0, 1})
          std::memcpy(made->getChannelData(channel) + filled,
                      frameBuffer->getChannelData(channel) + offset,
                      static_cast<std::size_t>(n) * sizeof(float));
      });
      filled += count - offset;
      ++frame;
    }
  }
  postObjectTask([made, delivery] { delivery->deliver(made); });
}

}  // namespace Render
