#include "builtin/filter/light_drawing.h"

#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

void drawMoved(Media::ResourceBuffer& target, Media::ResourceBuffer& source, int32_t dx,
               int32_t dy, LightBlend blend) {
  Resource::ResourceService& service = Resource::ResourceService::Get();
  const int32_t offset[2] = {dx, dy};
  service.drawWithSharedConstants(
      service.pixelShaders().entry(Resource::PixelShaderList::kCopyOffset), target, source,
      offset, sizeof(offset), service.blendStates().get(blend));
}

void drawCentred(Media::ResourceBuffer& target, Media::ResourceBuffer& source, LightBlend blend) {
  const auto half = [](uint32_t from, uint32_t to) {
    return (static_cast<int32_t>(from) - static_cast<int32_t>(to)) / 2;
  };
  drawMoved(target, source, half(source.width(), target.width()),
            half(source.height(), target.height()), blend);
}

void drawColour(Media::ResourceBuffer& target, const float (&rgba)[4], LightBlend blend) {
  Resource::ResourceService& service = Resource::ResourceService::Get();
  const Resource::ResourceService::SharedConstantsScope shared(service, rgba, sizeof(rgba));
  service.pixelShaders()
      .entry(Resource::PixelShaderList::kFill)
      .drawWithConstants(target, shared.buffer(), service.blendStates().get(blend));
}

void tintLight(Media::ResourceBuffer& light, const EffectItemColor& colour) {
  if (colour.none) return;
  const float rgba[4] = {static_cast<float>(colour.red) / 255.0f,
                         static_cast<float>(colour.green) / 255.0f,
                         static_cast<float>(colour.blue) / 255.0f, 1.0f};
  drawColour(light, rgba, kLightMaskByTarget);
}

}  // namespace Effect
