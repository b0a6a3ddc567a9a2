#include "builtin/filter/filter_shaders.h"

#include "gpu/shader/builtin_shader_code.h"
#include "system/exception.h"

namespace Effect {

FilterShaders::FilterShaders(std::initializer_list<const char*> names, uint32_t constantBytes)
    : names_(names), constantBytes_(constantBytes), shaders_(names.size()) {}

FilterShaders::~FilterShaders() = default;

Media::PixelShader& FilterShaders::shader(std::size_t index) {
  const std::lock_guard lock(mutex_);
  std::unique_ptr<Media::PixelShader>& shader = shaders_.at(index);
  if (!shader || !shader->loaded()) {
    auto made = std::make_unique<Media::PixelShader>();
    const Media::BuiltinShaderCode& code = Media::findBuiltinShaderCode(names_[index]);
    made->loadFromMemory(code.code, code.size);
    shader = std::move(made);
  }
  return *shader;
}

Media::ConstantBufferCommon& FilterShaders::constants() {
  const std::lock_guard lock(mutex_);
  if (constantBytes_ == 0)
    throw System::makeException("Effect::FilterShaders::constants",
                                "this effect draws with the shared constant buffer.");
  if (constants_.empty()) Media::ConstantBufferCommon::create(constants_, nullptr, constantBytes_);
  return constants_;
}

}  // namespace Effect
