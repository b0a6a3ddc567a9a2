#pragma once
// The pixel shaders of one effect class and the constant buffer they read, which all the
// class's instances share: createResource makes the set on the class's prototype and
// shareResource hands it to each new instance, so no instance compiles its own.
//
// The shaders and the buffer are made on first use, not with the set: the effect kinds are
// registered before, and without, a graphics device.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <vector>

#include "effect/effect_base.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"

namespace Effect {

class FilterShaders {
 public:
  // The built-in shaders of those names ("line_clip_edge_ps"), in that order, and a constant
  // buffer of `constantBytes` (0 when the class writes its few constants into the shared
  // 16-byte buffer of the built-in shader list instead).
  FilterShaders(std::initializer_list<const char*> names, uint32_t constantBytes);
  static std::shared_ptr<FilterShaders> make(std::initializer_list<const char*> names,
                                             uint32_t constantBytes) {
    return std::make_shared<FilterShaders>(names, constantBytes);
  }
  ~FilterShaders();
  FilterShaders(const FilterShaders&) = delete;
  FilterShaders& operator=(const FilterShaders&) = delete;

  // The shader at that position, made now if not yet. A shader the device refuses throws
  // the exception of Media::PixelShader::loadFromMemory; the next use tries again.
  Media::PixelShader& shader(std::size_t index);
  // The class's constant buffer, made now if not yet; it starts as zeros.
  Media::ConstantBufferCommon& constants();

  std::size_t shaderCount() const { return names_.size(); }
  uint32_t constantBytes() const { return constantBytes_; }

 private:
  // Render threads of several instances may be the first to ask at once.
  std::mutex mutex_;
  std::vector<const char*> names_;
  uint32_t constantBytes_;
  std::vector<std::unique_ptr<Media::PixelShader>> shaders_;
  Media::ConstantBufferCommon constants_;
};

// The holder of a class's set in each effect of the class: empty until createResource (on
// the prototype) or shareResource (on an instance) fills it.
class FilterShaderHolder {
 public:
  using CommonResource = FilterShaders;

  const std::shared_ptr<FilterShaders>& commonResource() const { return resource_; }

 protected:
  std::shared_ptr<FilterShaders> resource_;
};

// What shareResource of `Filter` takes: the prototype's shaders when it is a `Filter`,
// else (never through the registry) the ones already held.
template <class Filter>
std::shared_ptr<FilterShaders> sharedShaders(const EffectBase& prototype,
                                             const std::shared_ptr<FilterShaders>& held) {
  const auto* same = dynamic_cast<const Filter*>(&prototype);
  return same ? same->commonResource() : held;
}

}  // namespace Effect
