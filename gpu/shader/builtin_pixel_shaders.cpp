#include "gpu/shader/builtin_pixel_shaders.h"

#include "gpu/shader/builtin_shader_code.h"
#include "gpu/shader/pixel_shader.h"

namespace Media {
namespace {

const char* codeName(BuiltinPixel which) {
  switch (which) {
    case BuiltinPixel::Copy: return "copy_ps";
    case BuiltinPixel::OpaqueCopy: return "opaque_copy_ps";
    case BuiltinPixel::Premultiply: return "premultiply_ps";
    case BuiltinPixel::Unpremultiply: return "unpremultiply_ps";
    case BuiltinPixel::ClampToAlpha: return "clamp_to_alpha_ps";
    case BuiltinPixel::InputTransform: return "input_transform_ps";
    case BuiltinPixel::PackedPairInputTransform: return "packed_pair_input_transform_ps";
    case BuiltinPixel::OutputTransform: return "output_transform_ps";
    case BuiltinPixel::PackedPairOutputTransform: return "packed_pair_output_transform_ps";
  }
  return "";
}

}  // namespace

BuiltinPixelShaders::BuiltinPixelShaders() = default;
BuiltinPixelShaders::~BuiltinPixelShaders() = default;

PixelShader& BuiltinPixelShaders::get(BuiltinPixel which) {
  const auto index = static_cast<std::size_t>(which);
  std::lock_guard lock(mutex_);
  if (!shaders_[index]) {
    auto shader = std::make_unique<PixelShader>();
    const BuiltinShaderCode& code = findBuiltinShaderCode(codeName(which));
    shader->loadFromMemory(code.code, code.size);
    shaders_[index] = std::move(shader);
  }
  return *shaders_[index];
}

}  // namespace Media
