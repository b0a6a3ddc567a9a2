#include "gpu/copy_pass.h"

#include "gpu/direct3d_service.h"
#include "gpu/shader/builtin_pixel_shaders.h"
#include "gpu/shader/pixel_shader.h"

namespace Media {
namespace {

BuiltinPixel shaderFor(CopyKind kind) {
  switch (kind) {
    case CopyKind::Plain: return BuiltinPixel::Copy;
    case CopyKind::Opaque: return BuiltinPixel::OpaqueCopy;
    case CopyKind::Unpremultiply: return BuiltinPixel::Unpremultiply;
    case CopyKind::ClampToAlpha: return BuiltinPixel::ClampToAlpha;
  }
  return BuiltinPixel::Copy;
}

}  // namespace

void drawCopy(CopyKind kind, const ShaderResourceView& source, const RenderTargetView& target) {
  PixelShader& shader = Direct3DService::Get().builtinPixelShaders().get(shaderFor(kind));
  shader.drawViewToView(target, source, nullptr);
}

}  // namespace Media
