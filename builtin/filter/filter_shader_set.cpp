#include "builtin/filter/filter_shader_set.h"

#include "gpu/shader/builtin_shader_code.h"

namespace Effect {
namespace {

template <class Shader>
Shader& loaded(std::unique_ptr<Shader>& shader, const char* name) {
  if (shader && shader->loaded()) return *shader;
  if (!shader) shader = std::make_unique<Shader>();
  const auto& code = Media::findBuiltinShaderCode(name);
  shader->loadFromMemory(code.code, code.size);
  return *shader;
}

}  // namespace

FilterShaderSet::FilterShaderSet(std::initializer_list<const char*> pixelShaders,
                                 std::initializer_list<const char*> computeShaders,
                                 uint32_t constantBytes)
    : pixelNames_(pixelShaders),
      computeNames_(computeShaders),
      constantBytes_(constantBytes),
      pixelShaders_(pixelNames_.size()),
      computeShaders_(computeNames_.size()) {}

FilterShaderSet::~FilterShaderSet() = default;

Media::PixelShader& FilterShaderSet::pixelShader(std::size_t index) {
  return loaded(pixelShaders_.at(index), pixelNames_.at(index));
}

Media::ComputeShader& FilterShaderSet::computeShader(std::size_t index) {
  return loaded(computeShaders_.at(index), computeNames_.at(index));
}

Media::ConstantBufferCommon& FilterShaderSet::writeConstants(const void* data) {
  if (constants_.empty())
    Media::ConstantBufferCommon::create(constants_, data, constantBytes_);
  else
    constants_.update(data);
  return constants_;
}

void FilterShaderSet::loadAll() {
  for (std::size_t i = 0; i < pixelShaders_.size(); ++i) pixelShader(i);
  for (std::size_t i = 0; i < computeShaders_.size(); ++i) computeShader(i);
}

}  // namespace Effect
