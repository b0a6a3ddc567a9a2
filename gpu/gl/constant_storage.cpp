#include "gpu/gl/constant_storage.h"

#include <atomic>
#include <cstring>

#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"
#include "gpu/gl/gl_fence.h"
#include "gpu/shader/constant_buffer.h"

namespace Media {
namespace {

uint64_t nextVersion() {
  static std::atomic<uint64_t> counter{0};
  return ++counter;
}

}  // namespace

ConstantStorage::ConstantStorage(const void* data, uint32_t size, const char* call,
                                 const char* place)
    : size_(size) {
  if (size == 0 || size > ConstantBufferCommon::kMaxSize)
    throw System::makeHresultException(call, place, Hresult::kInvalidArgument);
  const uint64_t deviceId = GlDevice::require(place).id();
  contents_.assign(size, 0);
  if (data) std::memcpy(contents_.data(), data, size);

  Gl::clearErrors();
  buffer_ = Gl::Object::create(Gl::ObjectType::Buffer, deviceId);
  glNamedBufferData(buffer_.name(), size, contents_.data(), GL_DYNAMIC_DRAW);
  Gl::checkError(call, place);
  version_ = nextVersion();
  buffer_.markWritten();
}

void ConstantStorage::update(const void* data) {
  if (!data) return;
  GlDevice* device = GlDevice::live();
  if (!device || device->id() != buffer_.deviceId()) return;
  device->current();
  std::lock_guard lock(mutex_);
  std::memcpy(contents_.data(), data, size_);
  // A fresh data store: draws queued with the old contents keep reading those.
  glNamedBufferData(buffer_.name(), size_, contents_.data(), GL_DYNAMIC_DRAW);
  version_ = nextVersion();
  buffer_.markWritten();
}

uint64_t ConstantStorage::version() const {
  std::lock_guard lock(mutex_);
  return version_;
}

void ConstantStorage::copyContents(std::vector<uint8_t>& to, uint64_t& version) const {
  std::lock_guard lock(mutex_);
  to = contents_;
  version = version_;
}

void ConstantStorage::waitReady() const {
  std::shared_ptr<GlFence> fence;
  {
    std::lock_guard lock(mutex_);
    fence = buffer_.fence();
  }
  if (fence) fence->waitInCurrentContext();
}

}  // namespace Media
