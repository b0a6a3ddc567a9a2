#pragma once
// The constant buffer every shader reads its parameters from.
//
// Its bytes are laid out as the HLSL source declares them (16-byte registers); the shader
// that reads it moves them into its GL block when the two layouts differ (shader_binding.h).
// The buffer keeps a copy of its contents in main memory for that, next to the GL buffer.
//
// Contents are replaced whole (update); each replacement gets a fresh GL data store, so a
// draw that another thread's context has queued still reads the old contents, and leaves a
// fence that a context of another thread waits for before it reads the new ones.
#include <epoxy/gl.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace Media {

class GlFence;

// The shared part of a constant buffer: bindings of the contexts refer to it weakly.
class ConstantStorage {
 public:
  ConstantStorage(const void* data, uint32_t size, const char* call, const char* place);
  ConstantStorage(const ConstantStorage&) = delete;
  ConstantStorage& operator=(const ConstantStorage&) = delete;
  ~ConstantStorage();

  void update(const void* data);
  GLuint name() const { return name_; }
  uint32_t size() const { return size_; }
  // A number no other contents of any buffer ever had.
  uint64_t version() const;
  // The contents in main memory, with their version, under the buffer's lock.
  void copyContents(std::vector<uint8_t>& to, uint64_t& version) const;
  // Makes the calling thread's context wait for the last update made in another context.
  void waitReady() const;

 private:
  GLuint name_ = 0;
  uint32_t size_ = 0;
  uint64_t deviceId_ = 0;
  mutable std::mutex mutex_;
  std::vector<uint8_t> contents_;
  uint64_t version_ = 0;
  std::shared_ptr<GlFence> written_;
};

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
  uint32_t size() const { return storage_ ? storage_->size() : 0; }
  const std::shared_ptr<ConstantStorage>& storage() const { return storage_; }

 private:
  std::shared_ptr<ConstantStorage> storage_;
};

}  // namespace Media
