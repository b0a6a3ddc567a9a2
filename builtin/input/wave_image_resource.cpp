#include "builtin/input/wave_image_resource.h"

#include "gpu/pixel_format.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/builtin_shader_code.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {
namespace {

constexpr const char* kShaderNames[WaveImageResource::kShaderCount] = {
    "wave_line_ps", "wave_spectrum_ps", "wave_mirror_ps"};
// The clamping sampler; the shaders read their texels by position, so it only keeps the
// binding the same as the other drawing paths'.
constexpr std::size_t kClampSampler = 1;

}  // namespace

WaveImageResource::WaveImageResource() = default;
WaveImageResource::~WaveImageResource() = default;

void WaveImageResource::load() {
  if (constants_.empty()) Media::ConstantBufferCommon::create(constants_, nullptr, 48);
  for (int i = 0; i < kShaderCount; ++i) {
    std::unique_ptr<Media::PixelShader>& shader = shaders_[static_cast<std::size_t>(i)];
    if (shader && shader->loaded()) continue;
    if (!shader) shader = std::make_unique<Media::PixelShader>();
    const auto& code = Media::findBuiltinShaderCode(kShaderNames[i]);
    shader->loadFromMemory(code.code, code.size);
  }
}

std::unique_ptr<Media::ResourceBuffer> WaveImageResource::draw(Shader shader,
                                                               std::span<const float> values,
                                                               const WaveConstants& constants) {
  const auto count = static_cast<int32_t>(values.size());
  auto texture = std::make_unique<Media::ResourceBuffer>(count, 1, Media::DxgiFormat::R32_FLOAT);
  const uint64_t bytes = values.size_bytes();
  texture->writePixels(0, 0, static_cast<uint32_t>(count), 1, Media::DxgiFormat::R32_FLOAT,
                       values.data(), bytes, bytes);
  auto picture = std::make_unique<Media::ResourceBuffer>(constants.size[0], constants.size[1]);

  const std::lock_guard lock(mutex_);
  load();
  constants_.update(&constants);
  Media::ShaderBindings::setSampler(
      0, Resource::ResourceService::Get().samplerStates().get(kClampSampler));
  shaders_[static_cast<std::size_t>(shader)]->drawInputWithConstants(*picture, *texture,
                                                                      constants_, nullptr);
  return picture;
}

}  // namespace Effect
