#pragma once
// The constant buffer every shader reads its parameters from.
//
// Its bytes are laid out as the HLSL source declares them (16-byte registers); the shader
// that reads it moves them into its GL block when the two layouts differ (shader_reflection.h).
// The buffer keeps a copy of its contents in main memory for that, next to the device's
// buffer (gl/constant_storage.h).
//
// Contents are replaced whole (update); a draw that another thread has queued still reads
// the old contents.
#include <cstdint>
#include <memory>

namespace Media {

// The shared part of a constant buffer: bindings of the contexts refer to it weakly.
class ConstantStorage;

class ConstantBufferCommon {
 public:
  static constexpr uint32_t kMaxSize = 65536;

  ConstantBufferCommon() = default;
  ConstantBufferCommon(const ConstantBufferCommon&) = delete;
  ConstantBufferCommon& operator=(const ConstantBufferCommon&) = delete;

  // Releases the buffer's old storage and makes one of `size` bytes, filled from `data`
  // (zeros when null). A size of 0 or above 65536 bytes, or a failing GL call, throws
  // "Direct3DService::Get().device->CreateBuffer" at "Media::ConstantBufferCommon::create".
  static void create(ConstantBufferCommon& buffer, const void* data, uint32_t size);
  // Replaces the whole contents (size() bytes from `data`).
  void update(const void* data);
  void release() { storage_.reset(); }

  bool empty() const { return !storage_; }
  uint32_t size() const;
  const std::shared_ptr<ConstantStorage>& storage() const { return storage_; }

 private:
  std::shared_ptr<ConstantStorage> storage_;
};

}  // namespace Media
