#pragma once
// One video frame of one scene composed into a target: the walk over the scene's layers on
// the request thread, deciding which objects take part and in which order, applying the
// scopes of group controls, camera controls and clipping objects, and posting the drawing of
// each object to the object thread. The walk never waits for the drawing; its caller does.
#include <memory>
#include <vector>

#include "effect/effect_context.h"

namespace Anchor {
class AnchorList;
}
namespace Edit {
class Object;
class Scene;
}  // namespace Edit
namespace Media {
class RenderBuffer;
}

namespace Render {

class RenderVideoWorker;
class ResourceCache;

struct ScenePassInput {
  Edit::Scene* scene = nullptr;
  int frame = 0;
  Media::RenderBuffer* target = nullptr;  // outlives every task of the pass
  std::shared_ptr<ResourceCache> cache;
  Anchor::AnchorList* anchors = nullptr;
  int frameOffset = 0;
  int layerLimit = 2147483647;
  bool subScene = false;
};

class ScenePass {
 public:
  ScenePass(RenderVideoWorker& worker, const ScenePassInput& input);
  // Walks the layers and posts the frame's drawing.
  void run();

  // The last layer a control object governs: its layer plus its range (0: a million).
  static int lastGovernedLayer(const Edit::Object& object);

 private:
  struct Deferred {
    Effect::EffectContext context;
    std::shared_ptr<Edit::Object> object;
    float depth = 1000000000.0f;
  };
  struct ClippingScope;

  void walkLayers();
  void dispatchControl(const std::shared_ptr<Edit::Object>& object);
  void dispatchInput(const std::shared_ptr<Edit::Object>& object);
  void postObjectTask(Effect::EffectContext& context, const std::shared_ptr<Edit::Object>& object,
                      bool clipping);
  void postControlTask(const std::shared_ptr<Edit::Object>& object);
  void flushCameraScope();
  void placeClippingObject(const std::shared_ptr<Edit::Object>& object);
  void compositeClippingScope();
  void fixClippingLastLayer(const Edit::Object& object);

  RenderVideoWorker& worker_;
  ScenePassInput input_;
  Effect::EffectContext context_;
  struct GroupEntry {
    std::shared_ptr<Edit::Object> object;
    int lastLayer = 0;
  };
  std::vector<GroupEntry> groups_;
  int cameraLastLayer_ = 0;
  std::vector<Deferred> deferred_;
  std::shared_ptr<ClippingScope> clipping_;
};

}  // namespace Render
