#include "gpu/shader/constant_buffer.h"

#include "gpu/gl/constant_storage.h"

namespace Media {
namespace {

constexpr const char* kCreateCall = "Direct3DService::Get().device->CreateBuffer";
constexpr const char* kCreatePlace = "Media::ConstantBufferCommon::create";

}  // namespace

void ConstantBufferCommon::create(ConstantBufferCommon& buffer, const void* data, uint32_t size) {
  buffer.storage_.reset();
  buffer.storage_ = std::make_shared<ConstantStorage>(data, size, kCreateCall, kCreatePlace);
}

void ConstantBufferCommon::update(const void* data) {
  if (storage_) storage_->update(data);
}

uint32_t ConstantBufferCommon::size() const { return storage_ ? storage_->size() : 0; }

}  // namespace Media
