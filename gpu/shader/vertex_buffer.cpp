#include "gpu/shader/vertex_buffer.h"

#include "gpu/gl/gl_object.h"
#include "gpu/gl/vertex_draw.h"

namespace Media {
namespace {

constexpr const char* kCreateCall = "Direct3DService::Get().device->CreateBuffer";

}  // namespace

VertexBufferCommon::VertexBufferCommon() = default;

VertexBufferCommon::~VertexBufferCommon() {
  cpuCopy_.reset();
  buffer_.reset();
}

void VertexBufferCommon::create(VertexBufferCommon& buffer, const void* data, uint32_t count,
                                uint32_t stride) {
  buffer.count_ = count;
  buffer.stride_ = stride;
  buffer.buffer_.reset();
  const std::size_t size = static_cast<std::size_t>(count) * stride;
  buffer.buffer_ = std::make_unique<Gl::Object>(
      Gl::createVertexBuffer(data, size, kCreateCall, "Media::VertexBufferCommon::create"));
}

void VertexBufferCommon::allocateCpuCopy(uint32_t count, uint32_t stride) {
  count_ = count;
  stride_ = stride;
  buffer_.reset();
  cpuCopy_ = std::make_unique<uint8_t[]>(static_cast<std::size_t>(count) * stride);
}

void VertexBufferCommon::uploadCpuCopy() {
  if (!cpuCopy_) return;
  if (buffer_)
    Gl::updateVertexBuffer(*buffer_, cpuCopy_.get(), static_cast<std::size_t>(count_) * stride_);
  else
    create(*this, cpuCopy_.get(), count_, stride_);
}

void VertexBufferCommon::draw() const {
  if (buffer_) Gl::drawVertexBuffer(*buffer_, stride_, topology_, count_);
}

}  // namespace Media
