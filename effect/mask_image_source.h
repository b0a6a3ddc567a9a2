#pragma once
// What the mask selection asks of the render engine, which lies above the effect framework:
// loading a mask image file or a scene's frame in the background before a frame is
// rendered, and handing over the decoded image, the scene's frame or a named buffer of the
// render as an image of the graphics processor. The render engine implements it and the
// program installs it at start-up.
//
// Without one (a run without a render engine) nothing is loaded and no mask has an image:
// the filters that use the mask then do what they do for a missing mask.
#include <cstdint>
#include <string>

#include "effect/outer_types.h"
#include "effect/owned_buffer.h"

namespace Effect {

class MaskImageSource {
 public:
  virtual ~MaskImageSource() = default;
  // Starts loading the image file (an expanded path) in the background.
  virtual void preloadImage(const std::string& path) = 0;
  // Starts rendering the scene's frame at `seconds` into the scene in the background.
  virtual void preloadSceneFrame(int32_t sceneId, double seconds) = 0;
  // The decoded image of the file, waiting for its load; none when it cannot be read.
  virtual OwnedImage fileImage(const std::string& path) = 0;
  // The scene's frame at `seconds`, rendered now when it is not cached yet.
  virtual OwnedImage sceneFrameImage(int32_t sceneId, double seconds) = 0;
  // A copy of the named buffer of the render's cache; none when the cache has no such name.
  virtual OwnedImage namedBuffer(Render::ResourceCache& cache, const std::string& name) = 0;
};

// Installs the source (nullptr removes it). UI thread, while no render worker runs.
void setMaskImageSource(MaskImageSource* source);
MaskImageSource* maskImageSource();

}  // namespace Effect
