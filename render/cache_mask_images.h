#pragma once
// The images of the mask selection, from the picture cache and the render's named buffers.
// A scene's frame is taken when it was rendered ahead (the mask preloads it before the frame
// is drawn); the object thread never starts a render of its own, which would wait for itself.
#include "effect/mask_image_source.h"

namespace Render {

class CacheMaskImages : public Effect::MaskImageSource {
 public:
  void preloadImage(const std::string& path) override;
  void preloadSceneFrame(int32_t sceneId, double seconds) override;
  Effect::OwnedImage fileImage(const std::string& path) override;
  Effect::OwnedImage sceneFrameImage(int32_t sceneId, double seconds) override;
  Effect::OwnedImage namedBuffer(ResourceCache& cache, const std::string& name) override;
};

}  // namespace Render
