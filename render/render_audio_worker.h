#pragma once
// The sound half of the render service: the sound of one video frame of a scene, mixed from
// every object that sounds there through its audio filters and output into one stereo float
// buffer.
//
// "RenderAudioWorker" takes requests under the request keys of the video worker (1 the
// preview, 2 the player, 3 export) and walks the scene's layers (the audio pass);
// "RenderObjectWorkerAudio" makes each object's samples, filters and mixes them, in posting
// order, at most 10 tasks behind. Every pass runs on "RenderAudioWorker", so its set of
// scene keys (the recursion check) has one thread.
//
// A failure inside a task is logged and reported to the requester; it never ends the program.
#include <exception>
#include <functional>
#include <memory>

#include "render/render_video_worker.h"
#include "system/sync_event.h"
#include "system/worker_thread.h"

namespace Edit {
class Scene;
}
namespace Media {
class AudioBuffer;
class AudioBlockBuffer;
}  // namespace Media

namespace Render {

class RequestFailure;

class RenderAudioWorker : public RenderWorkerBase {
 public:
  using AudioCallback = std::function<void(int, Media::AudioBuffer&)>;
  using FailureCallback = std::function<void(int, std::exception_ptr)>;
  using BlockCallback = std::function<void(std::shared_ptr<Media::AudioBlockBuffer>)>;

  // The sound of a frame rendered for a synchronous reader: the reader waits on `done`
  // before it reads `audio`.
  struct RenderingBuffer : PreInputBuffer {
    RenderingBuffer();
    ~RenderingBuffer() override;
    std::unique_ptr<Media::AudioBuffer> audio;
    Sync::Event done;
  };

  RenderAudioWorker();
  ~RenderAudioWorker();
  RenderAudioWorker(const RenderAudioWorker&) = delete;
  RenderAudioWorker& operator=(const RenderAudioWorker&) = delete;

  // Posts the sound of the current scene's frame; a key-1 request withdraws the key-1
  // requests still waiting. The callback runs on the request thread with the frame's sound
  // (valid during the call only); a failed request calls `failed` (when given) instead.
  void requestRenderingAudio(int key, int frame, AudioCallback callback,
                             FailureCallback failed = {});
  // Posts the sound of the scene's frame into a shared buffer and returns at once. The caller
  // keeps the scene readable until it has waited for the buffer.
  std::shared_ptr<RenderingBuffer> renderingBuffer(Edit::Scene& scene, int frame);
  // One second (audio-rate samples) of a scene's sound, handed to `callback` on the object
  // thread; the callback runs exactly once, with nothing when the block could not be made.
  // From a pass on the request thread it renders at once; from another thread it is posted
  // to the request thread.
  void createSceneAudioBlock(Edit::Scene& scene, int block, BlockCallback callback);

  // Posts work of the running pass to the object thread. A task that throws is logged and
  // fails the request it belongs to.
  void postObjectTask(std::function<void()> task);

  Worker::WorkerThread& requestThread() { return requestThread_; }
  Worker::WorkerThread& objectThread() { return *objectThread_; }
  // Stops both threads (the running tasks finish; queued ones are dropped).
  void stop();

 private:
  void renderRequest(int key, int frame, const AudioCallback& callback,
                     const FailureCallback& failed);
  void renderSceneBlock(Edit::Scene& scene, int block, BlockCallback callback);

  Worker::WorkerThread requestThread_{"RenderAudioWorker"};
  std::unique_ptr<Worker::WorkerThread> objectThread_;
  // The failure record of the request whose pass is being walked (request thread only).
  std::shared_ptr<RequestFailure> currentFailure_;
};

}  // namespace Render
