#pragma once
// The GL buffer behind a constant buffer (shader/constant_buffer.h), with the copy of its
// contents in main memory that repacking shaders read from.
//
// Contents are replaced whole; each replacement gets a fresh GL data store, so a draw that
// another thread's context has queued still reads the old contents, and leaves a fence that
// a context of another thread waits for before it reads the new ones.
#include <epoxy/gl.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "gpu/gl/gl_object.h"

namespace Media {

// The shared part of a constant buffer: bindings of the contexts refer to it weakly.
class ConstantStorage {
 public:
  ConstantStorage(const void* data, uint32_t size, const char* call, const char* place);
  ConstantStorage(const ConstantStorage&) = delete;
  ConstantStorage& operator=(const ConstantStorage&) = delete;

  void update(const void* data);
  GLuint name() const { return buffer_.name(); }
  uint32_t size() const { return size_; }
  // A number no other contents of any buffer ever had.
  uint64_t version() const;
  // The contents in main memory, with their version, under the buffer's lock.
  void copyContents(std::vector<uint8_t>& to, uint64_t& version) const;
  // Makes the calling thread's context wait for the last update made in another context.
  void waitReady() const;

 private:
  uint32_t size_ = 0;
  mutable std::mutex mutex_;  // guards the contents, their version and the buffer's fence
  std::vector<uint8_t> contents_;
  uint64_t version_ = 0;
  Gl::Object buffer_;
};

}  // namespace Media
