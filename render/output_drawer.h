#pragma once
// The output effects' draws into the frame: an object's image (or its vertex list) placed
// with its transform, opacity and blend mode, through the governing camera's or group's view
// or the default view; and the direct path for an image a filter already drew through the
// camera.
//
// Every draw runs on the object thread of the frame ("RenderObjectWorkerVideo"): the shared
// 3-D constants, the built-in shaders' constants and the bound states are used by one draw
// at a time because nothing else draws with them on another thread.
#include "effect/output_video_drawer.h"

namespace Render {

class OutputDrawer : public Effect::OutputVideoDrawer {
 public:
  void drawObject(Effect::EffectContext& context, Media::RenderBuffer& target,
                  Media::ResourceBuffer& image) override;
  void drawObjectReplacing(Effect::EffectContext& context, Media::RenderBuffer& target,
                           Media::ResourceBuffer& image) override;
  void drawObject2D(Effect::EffectContext& context, Media::RenderBuffer& target,
                    Media::ResourceBuffer& image) override;
  void drawOffscreen(Effect::EffectContext& context, Media::ResourceBuffer& target,
                     Media::ResourceBuffer& image) override;

 private:
  // The standard path with the blend state of that entry.
  void drawWithBlend(Effect::EffectContext& context, Media::RenderBuffer& target,
                     Media::ResourceBuffer& image, int blendEntry);
};

}  // namespace Render
