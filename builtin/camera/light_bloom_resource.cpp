#include "builtin/camera/light_bloom_resource.h"

#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {
namespace {

// The shared blend state that adds the source scaled by the blend factor.
constexpr std::size_t kAddScaled = 13;

}  // namespace

LightBloomResource::LightBloomResource() = default;
LightBloomResource::~LightBloomResource() = default;

void LightBloomResource::blur(Media::ResourceBuffer& image, Media::ResourceBuffer& scratch,
                              int range) {
  if (range <= 0) return;
  const auto lock = shaders_.lock();
  blurLoaded(image, scratch, range);
}

void LightBloomResource::blurLoaded(Media::ResourceBuffer& image, Media::ResourceBuffer& scratch,
                                    int range) {
  if (range <= 0) return;
  BloomBlurConstants values;
  values.range = range;
  values.divive = 1.0f / static_cast<float>(2 * range + 1);
  Media::ConstantBufferCommon& constants = shaders_.writeConstants(&values);
  shaders_.pixelShader(0).drawInputWithConstants(scratch, image, constants, nullptr);
  shaders_.pixelShader(1).drawInputWithConstants(image, scratch, constants, nullptr);
}

void LightBloomResource::apply(Media::RenderBuffer& frame, float strength, int spread) {
  if (!(strength > 0.0f) || spread <= 0 || !frame.texture()) return;
  const auto lock = shaders_.lock();
  Resource::ResourceService& resources = Resource::ResourceService::Get();
  Resource::PixelShaderList& shaders = resources.pixelShaders();

  // The bright part: what lies above a luma of 1, limited to 1.
  Media::ResourceBuffer bright(frame.width(), frame.height());
  const float pass[3] = {1.0f, 1.0f, 1.0f};  // threshold, ratio, limit
  {
    const Resource::ResourceService::SharedConstantsScope shared(resources, pass, sizeof(pass));
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &shared.buffer());
    shaders.entry(Resource::PixelShaderList::kBrightPass).drawRenderInput(bright, frame);
  }

  Media::ResourceBuffer scratch(bright.width(), bright.height());
  const float weight = static_cast<float>(spread) * strength / 800.0f;
  const float factor[4] = {weight, weight, weight, weight};
  Media::PixelShader& copy = shaders.entry(Resource::PixelShaderList::kCopy);
  const auto addToFrame = [&] {
    copy.drawInputToRender(frame, bright, factor, resources.blendStates().get(kAddScaled));
  };
  blurLoaded(bright, scratch, spread / 16);
  blurLoaded(bright, scratch, spread / 16);
  addToFrame();
  blurLoaded(bright, scratch, spread / 8);
  addToFrame();
  blurLoaded(bright, scratch, spread / 4);
  addToFrame();
  blurLoaded(bright, scratch, spread / 2);
  addToFrame();
}

}  // namespace Effect
