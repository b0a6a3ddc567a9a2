#include "builtin/input/frame_load.h"

#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"

namespace Effect {

FrameLoad::FrameLoad()
    : EffectBase(kName, EffectType::Input, MediaType::Video, TargetType::Video),
      keepAlpha(items, "アルファチャンネルを維持", true),
      clear(items, "フレームバッファをクリア", false) {}

std::shared_ptr<EffectBase> FrameLoad::create() const { return std::make_shared<FrameLoad>(); }

}  // namespace Effect

namespace Effect {

OwnedImage FrameLoad::inputVideo(EffectContext& context) {
  Media::RenderBuffer* frame = context.outputView.target;
  if (!frame || !frame->texture()) return {};
  // Exact keeps the alpha; otherwise the copy is drawn opaque.
  std::unique_ptr<Media::ResourceBuffer> copy = frame->createResourceBuffer(keepAlpha.value);
  if (clear.value) {
    static constexpr float kTransparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    frame->clear(kTransparent);
  }
  return adoptBuffer(std::move(copy));
}

}  // namespace Effect
