#include "gpu/constant_buffer.h"

#include <atomic>
#include <cstring>

#include "gpu/gl_device.h"
#include "gpu/gl_error.h"
#include "gpu/gl_fence.h"

namespace Media {
namespace {

constexpr const char* kCreateCall = "Direct3DService::Get().device->CreateBuffer";
constexpr const char* kCreatePlace = "Media::ConstantBufferCommon::create";

uint64_t nextVersion() {
  static std::atomic<uint64_t> counter{0};
  return ++counter;
}

}  // namespace

ConstantStorage::ConstantStorage(const void* data, uint32_t size, const char* call,
                                 const char* place)
    : size_(size) {
  if (size == 0 || size > ConstantBufferCommon::kMaxSize)
    throw System::makeHresultException(call, place, Gl::kInvalidArgument);
  GlDevice* device = GlDevice::live();
  if (!device) throw System::makeException(place, "graphics device not created.");
  device->current();
  deviceId_ = device->id();
  contents_.assign(size, 0);
  if (data) std::memcpy(contents_.data(), data, size);

  Gl::clearErrors();
  glCreateBuffers(1, &name_);
  glNamedBufferData(name_, size, contents_.data(), GL_DYNAMIC_DRAW);
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) {
    if (name_ != 0) glDeleteBuffers(1, &name_);
    name_ = 0;
    throw Gl::makeGlException(call, place, error);
  }
  version_ = nextVersion();
  written_ = GlFence::insert();
}

ConstantStorage::~ConstantStorage() {
  written_.reset();
  if (name_ != 0 && GlDevice::bindLive(deviceId_)) glDeleteBuffers(1, &name_);
}

void ConstantStorage::update(const void* data) {
  if (!data) return;
  GlDevice* device = GlDevice::live();
  if (!device || device->id() != deviceId_) return;
  device->current();
  std::lock_guard lock(mutex_);
  std::memcpy(contents_.data(), data, size_);
  // A fresh data store: draws queued with the old contents keep reading those.
  glNamedBufferData(name_, size_, contents_.data(), GL_DYNAMIC_DRAW);
  version_ = nextVersion();
  written_ = GlFence::insert();
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
    fence = written_;
  }
  if (fence) fence->waitInCurrentContext();
}

void ConstantBufferCommon::create(ConstantBufferCommon& buffer, const void* data, uint32_t size) {
  buffer.storage_.reset();
  buffer.storage_ = std::make_shared<ConstantStorage>(data, size, kCreateCall, kCreatePlace);
}

void ConstantBufferCommon::update(const void* data) {
  if (storage_) storage_->update(data);
}

}  // namespace Media
