#pragma once
// The render engine of the process: the video worker, the audio worker and the preview
// player. Made after the edit service (and the sound output) at start-up; its threads are
// stopped before any service is released.
#include "render/movie_player.h"
#include "render/render_audio_worker.h"
#include "render/render_video_worker.h"
#include "system/service_holder.h"

namespace Render {

class RenderService : public System::Service<RenderService> {
 public:
  // The service; throws when it has not been created.
  static RenderService& Get();

  RenderService() = default;
  // Stops the render threads before anything they use goes.
  ~RenderService();
  RenderService(const RenderService&) = delete;
  RenderService& operator=(const RenderService&) = delete;

  RenderVideoWorker& video() { return video_; }
  const RenderVideoWorker& video() const { return video_; }
  RenderAudioWorker& audio() { return audio_; }
  MoviePlayer& player() { return player_; }
  // Ends playback, then stops every render thread; running tasks finish, queued ones are
  // dropped.
  void stop();

 private:
  RenderVideoWorker video_;
  RenderAudioWorker audio_;
  // Declared last: it requests from both workers and goes before them.
  MoviePlayer player_{video_, audio_};
};

}  // namespace Render
