#pragma once
// The GPU side that all instances of one filter class share: its pixel and compute shaders
// and one constant buffer of a fixed size.
//
// The shaders and the buffer are made on first use, not when the set is made: the effect
// kinds are registered before, and without, a graphics device. Every render thread's
// instances share the one buffer, so a pass holds the set's lock from writing the constants
// until its draw or dispatch has been issued.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <vector>

#include "gpu/shader/compute_shader.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"

namespace Effect {

class FilterShaderSet {
 public:
  // The built-in shaders by name (builtin_shader_code.h) and the buffer's size in bytes.
  FilterShaderSet(std::initializer_list<const char*> pixelShaders,
                  std::initializer_list<const char*> computeShaders, uint32_t constantBytes);
  ~FilterShaderSet();
  FilterShaderSet(const FilterShaderSet&) = delete;
  FilterShaderSet& operator=(const FilterShaderSet&) = delete;

  [[nodiscard]] std::unique_lock<std::mutex> lock() { return std::unique_lock(mutex_); }

  // The rest is called with the lock held. The shader of that position, loaded on the first
  // call (a refused shader throws and is tried again on the next call).
  Media::PixelShader& pixelShader(std::size_t index);
  Media::ComputeShader& computeShader(std::size_t index);
  // Replaces the buffer's contents with constantBytes() bytes from `data`; the buffer is
  // made on the first call.
  Media::ConstantBufferCommon& writeConstants(const void* data);
  // Loads every shader now, so that a fault shows without drawing.
  void loadAll();

  std::size_t pixelShaderCount() const { return pixelNames_.size(); }
  std::size_t computeShaderCount() const { return computeNames_.size(); }
  uint32_t constantBytes() const { return constantBytes_; }

 private:
  std::mutex mutex_;
  std::vector<const char*> pixelNames_;
  std::vector<const char*> computeNames_;
  uint32_t constantBytes_;
  std::vector<std::unique_ptr<Media::PixelShader>> pixelShaders_;
  std::vector<std::unique_ptr<Media::ComputeShader>> computeShaders_;
  Media::ConstantBufferCommon constants_;
};

}  // namespace Effect
