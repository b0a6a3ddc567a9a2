#include "builtin/filter/temp_draw.h"

#include "effect/output_video_drawer.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"

namespace Effect {

TempDraw::TempDraw() : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video) {}

std::shared_ptr<EffectBase> TempDraw::create() const { return std::make_shared<TempDraw>(); }

OwnedImage TempDraw::filterVideo(EffectContext& context, OwnedImage image) {
  // Drawn once: a second off-screen drawing in the chain would draw the frame image again.
  if (!image || image->empty() || context.output2D) return image;
  // Without a frame or a drawer there is nothing to draw the object as it would be shown.
  OutputVideoDrawer* drawer = outputVideoDrawer();
  Media::RenderBuffer* frame = context.outputView.target;
  if (!drawer || !frame || frame->width() == 0 || frame->height() == 0) return image;

  auto drawn = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(frame->width()),
                                                       static_cast<int32_t>(frame->height()));
  drawer->drawOffscreen(context, *drawn, *image);
  context.output2D = true;
  context.frameImage = true;
  OutputView& view = context.outputView;
  view.x = view.y = view.z = 0.0f;
  view.rotationX = view.rotationY = view.rotationZ = 0.0f;
  view.scaleX = view.scaleY = view.scaleZ = 1.0f;
  view.centerX = view.centerY = view.centerZ = 0.0f;
  return adoptBuffer(std::move(drawn));
}

}  // namespace Effect
