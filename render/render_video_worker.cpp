#include "render/render_video_worker.h"

#include <atomic>
#include <chrono>
#include <exception>

#include "edit/edit_service.h"
#include "edit/scene.h"
#include "edit/update_section.h"
#include "gpu/direct3d_service.h"
#include "gpu/image/image_buffer.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "render/request_failure.h"
#include "render/worker_task_support.h"
#include "render/resource_cache.h"
#include "render/scene_render_pass.h"
#include "system/exception.h"
#include "system/log.h"
#include "system/setting_service.h"

namespace Render {
namespace {

constexpr int kObjectQueueBound = 10;
constexpr int kPreviewKey = 1;
constexpr int kNoLayerLimit = 2147483647;

std::unique_ptr<Media::RenderBuffer> makeFrameBuffer() {
  Media::Direct3DService& direct3D = Media::Direct3DService::Get();
  return std::make_unique<Media::RenderBuffer>(direct3D.pixelFormat,
                                               direct3D.defaultSampleDescription);
}

// A pass over the scene's frame into the target with the cache: every layer, no handles, no
// frame offset, a top-level pass.
ScenePassInput passInput(Edit::Scene& scene, int frame, Media::RenderBuffer* target,
                         std::shared_ptr<ResourceCache> cache) {
  ScenePassInput input;
  input.scene = &scene;
  input.frame = frame;
  input.target = target;
  input.cache = std::move(cache);
  input.layerLimit = kNoLayerLimit;
  return input;
}

const Setting::SettingService& settingService() {
  const Setting::SettingService* settings = Setting::SettingService::instance();
  if (!settings)
    throw System::makeException("Render::RenderVideoWorker::RenderVideoWorker",
                                "SettingService not created.");
  return *settings;
}

}  // namespace

RenderVideoWorker::RenderingBuffer::RenderingBuffer() : buffer(makeFrameBuffer()) {}
RenderVideoWorker::RenderingBuffer::~RenderingBuffer() = default;

RenderVideoWorker::RenderVideoWorker() {
  const Setting::SettingService& settings = settingService();
  temporaryImageCacheSize_ =
      settings.system.store.findValue(settings.system.config.name(), "TemporaryImageCacheSize")
          .toInt();
  binding_ = std::make_unique<System::Config::Binding>(config_,
                                                       Setting::ParameterIni::instance());
  binding_->load();
  objectThread_ = std::make_unique<Worker::WorkerThread>("RenderObjectWorkerVideo");
  objectThread_->queueBound().setMax(kObjectQueueBound);
  const auto mask =
      settings.style.findValue(settings.color.name(), "ClippingObjectMask").toRGBA();
  clippingMaskColor_[0] = mask[0] * mask[3];
  clippingMaskColor_[1] = mask[1] * mask[3];
  clippingMaskColor_[2] = mask[2] * mask[3];
  clippingMaskColor_[3] = mask[3];
}

RenderVideoWorker::~RenderVideoWorker() {
  stop();
  objectThread_.reset();
  binding_.reset();  // writes "Render.video" back
  spare_.reset();
}

void RenderVideoWorker::stop() {
  requestThread_.stop();
  if (objectThread_) objectThread_->stop();
}

VideoSettings RenderVideoWorker::settings() const {
  std::lock_guard lock(settingsMutex_);
  return settings_;
}

void RenderVideoWorker::setCameraGrid(bool on) {
  std::lock_guard lock(settingsMutex_);
  settings_.cameraGrid = on ? 1 : 0;
}

void RenderVideoWorker::setCameraFreeView(bool on) {
  std::lock_guard lock(settingsMutex_);
  settings_.cameraFreeView = on ? 1 : 0;
}

void RenderVideoWorker::setVisibleClippingObject(bool on) {
  std::lock_guard lock(settingsMutex_);
  settings_.visibleClippingObject = on ? 1 : 0;
}

bool RenderVideoWorker::isCameraFreeView() const { return settings().cameraFreeView != 0; }

bool RenderVideoWorker::isVisibleClippingObject() const {
  return settings().visibleClippingObject != 0;
}

void RenderVideoWorker::requestRenderingFrame(int key, int frame, FrameCallback callback,
                                              FailureCallback failed) {
  if (key == kPreviewKey) requestThread_.cancelTask(kPreviewKey);
  requestThread_.addTask(key, [this, key, frame, callback = std::move(callback),
                               failed = std::move(failed)] {
    try {
      renderRequest(key, frame, callback, failed);
    } catch (const std::exception& exception) {
      // A frame that cannot be made is the requester's news, not the program's end.
      System::Log::error("Render::RenderVideoWorker::requestRenderingFrame",
                         "[RenderVideoWorker] exception.\n%s", exception.what());
      if (failed) failed(frame, std::current_exception());
    }
  });
}

void RenderVideoWorker::renderRequest(int key, int frame, const FrameCallback& callback,
                                      const FailureCallback& failed) {
  const auto start = std::chrono::steady_clock::now();
  std::unique_ptr<Media::RenderBuffer> target = takeSpareFrame();
  auto cache = std::make_shared<ResourceCache>(temporaryImageCacheSize_);
  Anchor::AnchorList* anchors = key == kPreviewKey ? anchors_ : nullptr;
  currentFailure_ = std::make_shared<RequestFailure>();
  const std::shared_ptr<RequestFailure> failure = currentFailure_;
  {
    Edit::EditService* edit = Edit::EditService::instance();
    if (!edit)
      throw System::makeException("Render::RenderVideoWorker::requestRenderingFrame",
                                  "EditService not created.");
    const Edit::ReadSection read = edit->beginRead();
    sceneKeys.clear();
    if (read.scene) {
      ScenePassInput input = passInput(*read.scene, frame, target.get(), cache);
      input.anchors = anchors;
      WaitForTasks wait{*objectThread_};
      ScenePass(*this, input).run();
    }
  }
  currentFailure_.reset();
  if (const std::exception_ptr drawingFailure = failure->get()) {
    if (failed) failed(frame, drawingFailure);
    return;
  }
  callback(frame, *target, anchors);
  parkSpareFrame(std::move(target));
  const double milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  System::Log::verbose("Render::RenderVideoWorker::requestRenderingFrame",
                       "rendered video frame [%d] %1.3lf ms", frame, milliseconds);
}

std::unique_ptr<Media::RenderBuffer> RenderVideoWorker::takeSpareFrame() {
  const Media::Direct3DService& direct3D = Media::Direct3DService::Get();
  std::unique_ptr<Media::RenderBuffer> frame = std::move(spareFrame_);
  if (frame && frame->format() == direct3D.pixelFormat &&
      frame->sampleDescription().count == direct3D.defaultSampleDescription.count &&
      frame->sampleDescription().quality == direct3D.defaultSampleDescription.quality)
    return frame;
  return makeFrameBuffer();
}

void RenderVideoWorker::parkSpareFrame(std::unique_ptr<Media::RenderBuffer> frame) {
  if (!frame->holdsTextureAlone()) return;
  try {
    // The next pass clears the frame on the object thread, after the reads made here.
    frame->prepareNextFrame();
  } catch (const std::exception& exception) {
    // The frame was delivered already; only its reuse is lost.
    System::Log::error("Render::RenderVideoWorker::requestRenderingFrame",
                       "[RenderVideoWorker] frame not kept.\n%s", exception.what());
    return;
  }
  spareFrame_ = std::move(frame);
}

std::shared_ptr<RenderVideoWorker::RenderingBuffer> RenderVideoWorker::renderFrameBuffer(
    Edit::Scene& scene, int frame, int frameOffset, int lastLayer) {
  auto buffer = std::make_shared<RenderingBuffer>();
  auto cache = std::make_shared<ResourceCache>(temporaryImageCacheSize_);
  ScenePassInput input = passInput(scene, frame, buffer->buffer.get(), cache);
  input.frameOffset = frameOffset;
  input.layerLimit = lastLayer;
  input.subScene = true;
  ScenePass(*this, input).run();
  // Both outlive every task of the sub-pass.
  postObjectTask([buffer, cache] {});
  return buffer;
}

void RenderVideoWorker::renderFrameImage(
    Edit::Scene& scene, int frame,
    std::function<void(std::shared_ptr<Media::ImageBuffer>)> callback) {
  // The callback runs exactly once: with the picture, or with nothing when the pass or the
  // read-back failed or the object thread stopped before it.
  auto delivery = std::make_shared<OnceDelivery<Media::ImageBuffer>>(std::move(callback));
  std::shared_ptr<Media::RenderBuffer> buffer = makeFrameBuffer();
  auto cache = std::make_shared<ResourceCache>(temporaryImageCacheSize_);
  ScenePass(*this, passInput(scene, frame, buffer.get(), cache)).run();
  postObjectTask([buffer, cache, delivery] { delivery->deliver(buffer->readBack()); });
}

void RenderVideoWorker::postObjectTask(std::function<void()> task) {
  std::shared_ptr<RequestFailure> failure = currentFailure_;
  objectThread_->addTask(0, [task = std::move(task), failure = std::move(failure)] {
    runRecordingFailure(task, failure.get(), "Render::RenderVideoWorker::postObjectTask",
                        "RenderObjectWorkerVideo");
  });
}

Effect::OwnedImage RenderVideoWorker::takeSpareImage() { return std::move(spare_); }

void RenderVideoWorker::parkSpareImage(Effect::OwnedImage image) { spare_ = std::move(image); }

void RenderVideoWorker::releaseSpareImage() { spare_.reset(); }

}  // namespace Render
