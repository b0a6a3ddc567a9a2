#pragma once
// The sound of one video frame of one scene mixed into a target: the walk over the scene's
// layers on the request thread, with the scopes of the group audio controls, posting each
// sounding object's samples, filters and mix to the object thread. There is no camera, no
// clipping and no handle list in sound. The walk never waits for the mixing; its caller does.
#include <memory>
#include <vector>

#include "effect/effect_context.h"

namespace Edit {
class Object;
class Scene;
}  // namespace Edit
namespace Media {
class AudioBuffer;
}

namespace Render {

class RenderAudioWorker;

class AudioPass {
 public:
  // `target` outlives every task of the pass.
  AudioPass(RenderAudioWorker& worker, Edit::Scene& scene, int frame, Media::AudioBuffer* target);
  void run();

 private:
  void walkLayers();
  void postObjectTask(const std::shared_ptr<Edit::Object>& object);
  void postControlTask(const std::shared_ptr<Edit::Object>& object);
  void setObject(const std::shared_ptr<Edit::Object>& object);

  RenderAudioWorker& worker_;
  Edit::Scene& scene_;
  Effect::EffectContext context_;
  struct GroupEntry {
    std::shared_ptr<Edit::Object> object;
    int lastLayer = 0;
  };
  std::vector<GroupEntry> groups_;
};

}  // namespace Render
