#pragma once
// The recursion check of a pass: a scene that shows (or sounds) itself through a scene input
// would render for ever, so a pass enters its scene's key into its worker's set and a pass
// whose key is already there is refused with a WARN line. The key leaves the set when the
// pass ends, on an exception too.
#include "render/render_video_worker.h"
#include "system/log.h"

namespace Render {

class RecursionKey {
 public:
  RecursionKey(RenderWorkerBase& worker, int key) : worker_(worker), key_(key) {
    inserted_ = worker_.sceneKeys.insert(key).second;
    if (!inserted_)
      System::Log::warn("Render::RenderWorkerBase::RenderSection::RenderSection",
                        "recursive scene. index=%d num=%d", key,
                        static_cast<int>(worker_.sceneKeys.size()));
  }
  ~RecursionKey() {
    if (inserted_) worker_.sceneKeys.erase(key_);
  }
  RecursionKey(const RecursionKey&) = delete;
  RecursionKey& operator=(const RecursionKey&) = delete;
  bool inserted() const { return inserted_; }

 private:
  RenderWorkerBase& worker_;
  int key_;
  bool inserted_ = false;
};

}  // namespace Render
