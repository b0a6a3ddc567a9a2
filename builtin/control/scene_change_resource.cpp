#include "builtin/control/scene_change_resource.h"

#include <cstring>

#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/builtin_shader_code.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {
namespace {

constexpr const char* kShaderNames[SceneChangeResource::kShaderCount] = {
    "scene_slice_ps", "scene_offset_ps", "scene_random_line_ps"};

static_assert(sizeof(SliceConstants) == Resource::PixelShaderList::kSharedConstantBytes);
static_assert(sizeof(OffsetConstants) == Resource::PixelShaderList::kSharedConstantBytes);
static_assert(sizeof(RandomLineConstants) == Resource::PixelShaderList::kSharedConstantBytes);

// The shared constant buffer filled with `constants`, held for one draw: every user of the
// buffer writes it just before its draw, one at a time.
class SharedConstants {
 public:
  template <class Constants>
  explicit SharedConstants(const Constants& constants)
      : resources_(Resource::ResourceService::Get()), lock_(resources_.sharedConstantsMutex()) {
    Resource::PixelShaderList& shaders = resources_.pixelShaders();
    std::memcpy(shaders.sharedConstants(), &constants, sizeof(constants));
    buffer_ = &shaders.uploadSharedConstants();
  }
  const Media::ConstantBufferCommon& buffer() const { return *buffer_; }

 private:
  Resource::ResourceService& resources_;
  std::lock_guard<std::mutex> lock_;
  const Media::ConstantBufferCommon* buffer_ = nullptr;
};

}  // namespace

SceneChangeResource::SceneChangeResource() = default;
SceneChangeResource::~SceneChangeResource() = default;

Media::PixelShader& SceneChangeResource::shader(Shader which) {
  const std::lock_guard lock(mutex_);
  std::unique_ptr<Media::PixelShader>& slot = shaders_[static_cast<std::size_t>(which)];
  if (!slot || !slot->loaded()) {
    auto loaded = std::make_unique<Media::PixelShader>();
    const auto& code = Media::findBuiltinShaderCode(kShaderNames[which]);
    loaded->loadFromMemory(code.code, code.size);
    slot = std::move(loaded);
  }
  return *slot;
}

void SceneChangeResource::drawSlice(Media::RenderBuffer& target, Media::ResourceBuffer& input,
                                    const SliceConstants& constants) {
  Media::PixelShader& slice = shader(Slice);
  const SharedConstants shared(constants);
  slice.drawInputWithConstantsToRender(target, input, shared.buffer(), nullptr);
}

void SceneChangeResource::drawOffset(Media::RenderBuffer& target, Media::ResourceBuffer& input,
                                     const OffsetConstants& constants) {
  Media::PixelShader& offset = shader(OffsetCopy);
  const SharedConstants shared(constants);
  offset.drawInputWithConstantsToRender(target, input, shared.buffer(), nullptr);
}

void SceneChangeResource::drawRandomLine(Media::RenderBuffer& target,
                                         Media::ResourceBuffer& input,
                                         Media::ResourceBuffer& random,
                                         const RandomLineConstants& constants) {
  Media::PixelShader& lines = shader(RandomLine);
  const SharedConstants shared(constants);
  // The two-input draw takes no constants: they go to slot 0 first and stay bound there.
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &shared.buffer());
  lines.drawTwoInputsToRender(target, input, random, nullptr);
}

}  // namespace Effect
