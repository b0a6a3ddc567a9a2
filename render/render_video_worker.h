#pragma once
// The video half of the render service: the two threads on which every picture is composed.
//
// "RenderVideoWorker" takes frame requests under request keys (1 the preview's cursor frame,
// 2 the player, 3 export and the clipboard copies) and walks the scene for each (the scene
// render pass); "RenderObjectWorkerVideo" runs the per-object drawing the walk posts, in
// posting order, at most 10 tasks behind. All GPU drawing of a frame happens on the object
// thread, on that thread's own GL context; the request thread waits for it before it hands
// the frame over, so the frame's buffers are never touched by two threads at once.
//
// A failure inside a render task is logged and reported to the requester; it never ends the
// program.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_set>

#include "edit/render_switches.h"
#include "effect/owned_buffer.h"
#include "system/config.h"
#include "system/worker_thread.h"

namespace Anchor {
class AnchorList;
}
namespace Edit {
class Scene;
}
namespace Media {
class ImageBuffer;
class RenderBuffer;
class ResourceBuffer;
}  // namespace Media

namespace Render {

class RequestFailure;
class ResourceCache;

// A result handed out before it is finished; effects keep it in their pre-input slot.
class PreInputBuffer {
 public:
  virtual ~PreInputBuffer() = default;
};

// The scene keys a worker's running pass tree is rendering (the recursion check).
class RenderWorkerBase {
 public:
  std::unordered_set<int> sceneKeys;
};

// The "Render.video" settings. The UI thread writes them, workers read copies.
struct VideoSettings {
  float gridStep = 200.0f;
  int32_t cameraGrid = 1;
  float cameraGridStep = 200.0f;
  float cameraGridRange = 10000.0f;
  int32_t visibleClippingObject = 1;
  int32_t cameraFreeView = 0;
};

class RenderVideoWorker : public RenderWorkerBase, public Edit::RenderSwitches {
 public:
  struct RenderingBuffer : PreInputBuffer {
    RenderingBuffer();
    ~RenderingBuffer() override;
    std::unique_ptr<Media::RenderBuffer> buffer;
  };
  // The frame number, the frame (valid during the call only) and the handles collected for
  // a key-1 frame (null otherwise, or when no preview collects handles).
  using FrameCallback = std::function<void(int, Media::RenderBuffer&, Anchor::AnchorList*)>;
  using FailureCallback = std::function<void(int, std::exception_ptr)>;

  // Reads [Config] TemporaryImageCacheSize (system.conf) and [Color] ClippingObjectMask
  // (style.conf), both required, and loads "Render.video".
  RenderVideoWorker();
  ~RenderVideoWorker();
  RenderVideoWorker(const RenderVideoWorker&) = delete;
  RenderVideoWorker& operator=(const RenderVideoWorker&) = delete;

  // Posts a frame request; a key-1 request first withdraws the key-1 requests still
  // waiting. The callback runs on the request thread; a withdrawn request calls nothing; a
  // failed one calls `failed` (when given) instead.
  void requestRenderingFrame(int key, int frame, FrameCallback callback,
                             FailureCallback failed = {});
  // From inside a pass: the frame of a scene as a sub-scene pass up to `lastLayer`; its
  // picture is complete for every object task posted after this call.
  std::shared_ptr<RenderingBuffer> renderFrameBuffer(Edit::Scene& scene, int frame,
                                                     int frameOffset, int lastLayer);
  // From inside a pass: the frame of a scene read back, handed to `callback` on the object
  // thread; `callback` gets nothing when the frame could not be made, and runs exactly once.
  void renderFrameImage(Edit::Scene& scene, int frame,
                        std::function<void(std::shared_ptr<Media::ImageBuffer>)> callback);

  // Posts drawing work of the running pass to the object thread. A task that throws is
  // logged and fails the request it belongs to.
  void postObjectTask(std::function<void()> task);

  // The last drawn object's image, which the next object may reuse (object thread only).
  Effect::OwnedImage takeSpareImage();
  void parkSpareImage(Effect::OwnedImage image);
  void releaseSpareImage();

  VideoSettings settings() const;
  // The preview's view switches (the edit commands set them through Edit::RenderSwitches).
  void setCameraGrid(bool on) override;
  void setCameraFreeView(bool on) override;
  void setVisibleClippingObject(bool on) override;
  bool isCameraFreeView() const override;
  bool isVisibleClippingObject() const override;
  // The clipping mask colour, premultiplied.
  const float* clippingMaskColor() const { return clippingMaskColor_; }
  int32_t temporaryImageCacheSize() const { return temporaryImageCacheSize_; }

  // Where key-1 frames collect their handles (the preview installs it; none by default).
  void setAnchorList(Anchor::AnchorList* anchors) { anchors_ = anchors; }

  Worker::WorkerThread& requestThread() { return requestThread_; }
  Worker::WorkerThread& objectThread() { return *objectThread_; }

  // Stops both threads (the running tasks finish; queued ones are dropped).
  void stop();

 private:
  void renderRequest(int key, int frame, const FrameCallback& callback,
                     const FailureCallback& failed);
  // The frame of the last request, kept for the next one when its kind is still the
  // device's, else a new one (request thread only).
  std::unique_ptr<Media::RenderBuffer> takeSpareFrame();
  // Keeps a delivered frame for the next request when nothing else holds its texture.
  void parkSpareFrame(std::unique_ptr<Media::RenderBuffer> frame);

  Worker::WorkerThread requestThread_{"RenderVideoWorker"};
  int32_t temporaryImageCacheSize_ = 0;
  mutable std::mutex settingsMutex_;
  VideoSettings settings_;
  System::Config::Section config_{"Render.video"};
  System::Config::Float gridStepParameter_{config_, "GridStep", &settings_.gridStep, 200.0f};
  System::Config::Int cameraGridParameter_{config_, "CameraGrid", &settings_.cameraGrid, 1};
  System::Config::Float cameraGridStepParameter_{config_, "CameraGridStep",
                                                 &settings_.cameraGridStep, 200.0f};
  System::Config::Float cameraGridRangeParameter_{config_, "CameraGridRange",
                                                  &settings_.cameraGridRange, 10000.0f};
  System::Config::Int visibleClippingParameter_{config_, "VisibleClippingObject",
                                                &settings_.visibleClippingObject, 1};
  System::Config::Int cameraFreeViewParameter_{config_, "CameraFreeView",
                                               &settings_.cameraFreeView, 0};
  std::unique_ptr<System::Config::Binding> binding_;
  Anchor::AnchorList* anchors_ = nullptr;
  std::unique_ptr<Worker::WorkerThread> objectThread_;
  float clippingMaskColor_[4] = {};
  Effect::OwnedImage spare_;
  // A frame-sized texture made and zeroed by the driver for every request costs more than
  // clearing the last one again.
  std::unique_ptr<Media::RenderBuffer> spareFrame_;
  // The failure record of the request whose pass is being walked (request thread only).
  std::shared_ptr<RequestFailure> currentFailure_;
};

}  // namespace Render
