#include "builtin/filter/filter_shader_set.h"

#include <typeinfo>

#include "effect/effect_base.h"
#include "gpu/shader/builtin_shader_code.h"
#include "system/exception.h"

namespace Effect {

FilterShaderSet::FilterShaderSet(std::span<const char* const> names, uint32_t constantBytes)
    : names_(names.begin(), names.end()), constantBytes_(constantBytes) {}

FilterShaderSet::~FilterShaderSet() = default;

void FilterShaderSet::load() {
  const std::lock_guard lock(loadMutex_);
  if (!shaders_.empty()) return;
  std::vector<std::unique_ptr<Media::PixelShader>> loaded;
  for (const char* name : names_) {
    const Media::BuiltinShaderCode& code = Media::findBuiltinShaderCode(name);
    loaded.push_back(std::make_unique<Media::PixelShader>());
    loaded.back()->loadFromMemory(code.code, code.size);
  }
  if (constantBytes_ > 0 && buffer_.empty())
    Media::ConstantBufferCommon::create(buffer_, nullptr, constantBytes_);
  shaders_ = std::move(loaded);
}

Media::PixelShader& FilterShaderSet::shader(std::size_t index) {
  load();
  return *shaders_.at(index);
}

Media::ConstantBufferCommon& FilterShaderSet::constants(const void* data) {
  if (constantBytes_ == 0)
    throw System::makeException("Effect::FilterShaderSet::constants",
                                "the filter has no constant buffer of its own.");
  load();
  buffer_.update(data);
  return buffer_;
}

void FilterShaderHolder::makeShaders(std::span<const char* const> names, uint32_t constantBytes) {
  shaders_ = std::make_shared<FilterShaderSet>(names, constantBytes);
}

void FilterShaderHolder::shareShaders(const EffectBase& self, const EffectBase& prototype) {
  if (typeid(self) != typeid(prototype)) return;
  shaders_ = dynamic_cast<const FilterShaderHolder&>(prototype).shaders_;
}

}  // namespace Effect
