#include "gpu/readback_image.h"

#include <cstring>

#include "gpu/copy_pass.h"
#include "gpu/gl/cpu_access_buffer.h"
#include "gpu/gl/gl_texture.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"

namespace Media {

ReadbackImage::ReadbackImage() { image_.format = DxgiFormat::R8G8B8A8_UNORM; }

void ReadbackImage::setImage(RenderBuffer& frame) {
  std::unique_ptr<ResourceBuffer> resolved;
  std::shared_ptr<const ShaderResourceView> input;
  if (frame.isMultisampled()) {
    resolved = frame.createResourceBuffer(true);
    input = resolved->createShaderResourceView();
  } else {
    input = frame.createShaderResourceView();
  }

  RenderBuffer converted(frame.width(), frame.height(), DxgiFormat::R8G8B8A8_UNORM);
  drawCopy(CopyKind::Plain, *input, *converted.createRenderTargetView());
  CpuAccessBuffer staging(static_cast<uint32_t>(frame.width()),
                          static_cast<uint32_t>(frame.height()), DxgiFormat::R8G8B8A8_UNORM);
  staging.copyFrom(*converted.texture());
  const auto mapping = staging.map();

  std::lock_guard lock(mutex_);
  image_.format = DxgiFormat::R8G8B8A8_UNORM;
  image_.allocate(static_cast<uint32_t>(frame.width()), static_cast<uint32_t>(frame.height()),
                  mapping.rowPitch());
  std::memcpy(image_.data(), mapping.data(), static_cast<std::size_t>(image_.usedSize()));
}

}  // namespace Media
