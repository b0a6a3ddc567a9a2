#include "builtin/control/scene_change_resource.h"

#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {
namespace {

static_assert(sizeof(SliceConstants) == Resource::PixelShaderList::kSharedConstantBytes);
static_assert(sizeof(OffsetConstants) == Resource::PixelShaderList::kSharedConstantBytes);
static_assert(sizeof(RandomLineConstants) == Resource::PixelShaderList::kSharedConstantBytes);

// The shared constant buffer filled with `constants` for one draw.
class SharedConstants : public Resource::ResourceService::SharedConstantsScope {
 public:
  template <class Constants>
  explicit SharedConstants(const Constants& constants)
      : SharedConstantsScope(Resource::ResourceService::Get(), &constants, sizeof(constants)) {}
};

}  // namespace

SceneChangeResource::SceneChangeResource() = default;
SceneChangeResource::~SceneChangeResource() = default;

void SceneChangeResource::drawSlice(Media::RenderBuffer& target, Media::ResourceBuffer& input,
                                    const SliceConstants& constants) {
  const auto lock = shaders_.lock();
  Media::PixelShader& slice = shaders_.pixelShader(Slice);
  const SharedConstants shared(constants);
  slice.drawInputWithConstantsToRender(target, input, shared.buffer(), nullptr);
}

void SceneChangeResource::drawOffset(Media::RenderBuffer& target, Media::ResourceBuffer& input,
                                     const OffsetConstants& constants) {
  const auto lock = shaders_.lock();
  Media::PixelShader& offset = shaders_.pixelShader(OffsetCopy);
  const SharedConstants shared(constants);
  offset.drawInputWithConstantsToRender(target, input, shared.buffer(), nullptr);
}

void SceneChangeResource::drawRandomLine(Media::RenderBuffer& target,
                                         Media::ResourceBuffer& input,
                                         Media::ResourceBuffer& random,
                                         const RandomLineConstants& constants) {
  const auto lock = shaders_.lock();
  Media::PixelShader& lines = shaders_.pixelShader(RandomLine);
  const SharedConstants shared(constants);
  // The two-input draw takes no constants: they go to slot 0 first and stay bound there.
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &shared.buffer());
  lines.drawTwoInputsToRender(target, input, random, nullptr);
}

}  // namespace Effect
