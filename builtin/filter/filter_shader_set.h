#pragma once
// The pixel shaders of one filter class and the constant buffer they read: made once for
// the class's prototype and shared by every instance (FilterShaderHolder), never compiled
// per instance.
//
// The shaders are loaded on first use, not when the set is made: the effect kinds are
// registered before, and without, a graphics device.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"

namespace Effect {

class EffectBase;

class FilterShaderSet {
 public:
  // `names`: built-in shader names, in the order the filter's body asks for them.
  // `constantBytes`: the size of the class's own constant buffer; 0 when its constants fit
  // the shared 16-byte buffer of the built-in shader list and its draws use that one.
  FilterShaderSet(std::span<const char* const> names, uint32_t constantBytes);
  ~FilterShaderSet();
  FilterShaderSet(const FilterShaderSet&) = delete;
  FilterShaderSet& operator=(const FilterShaderSet&) = delete;

  std::size_t shaderCount() const { return names_.size(); }
  uint32_t constantBytes() const { return constantBytes_; }

  // The shader at `index` (below shaderCount()), loaded with the whole set on first use. A
  // shader the device refuses throws; nothing of that attempt is kept, the next use retries.
  Media::PixelShader& shader(std::size_t index);
  // The class's own constant buffer holding `data` (constantBytes() bytes). Throws
  // "the filter has no constant buffer of its own." when constantBytes() is 0.
  Media::ConstantBufferCommon& constants(const void* data);

  // Held by a body from writing the constants to its last draw with them: every instance
  // of the class, on any render thread, writes the same buffer.
  std::mutex& drawMutex() { return drawMutex_; }

 private:
  void load();

  std::vector<const char*> names_;
  uint32_t constantBytes_;
  std::mutex loadMutex_;
  std::vector<std::unique_ptr<Media::PixelShader>> shaders_;  // empty until loaded
  Media::ConstantBufferCommon buffer_;
  std::mutex drawMutex_;
};

// The share of a filter class in its shader set: createResource makes it, shareResource
// takes the prototype's.
class FilterShaderHolder {
 public:
  using CommonResource = FilterShaderSet;

  // The class's shader set; empty before createResource or shareResource.
  const std::shared_ptr<FilterShaderSet>& shaders() const { return shaders_; }

 protected:
  // A new set for the prototype; the one held before is released.
  void makeShaders(std::span<const char* const> names, uint32_t constantBytes);
  // The prototype's set, when `prototype` is of the same class as `self`; otherwise the
  // set held stays.
  void shareShaders(const EffectBase& self, const EffectBase& prototype);

 private:
  std::shared_ptr<FilterShaderSet> shaders_;
};

}  // namespace Effect
