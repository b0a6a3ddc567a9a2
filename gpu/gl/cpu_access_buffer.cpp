#include "gpu/gl/cpu_access_buffer.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"
#include "gpu/gl/gl_texture.h"

namespace Media {
namespace {

constexpr const char* kCreateCall = "Direct3DService::Get().device->CreateTexture2D";
constexpr const char* kCreatePlace = "Media::CpuAccessBuffer::CpuAccessBuffer";
constexpr const char* kCopyPlace = "Media::CpuAccessBuffer::copyFrom";
constexpr const char* kMapPlace = "Media::CpuAccessBuffer::map";
constexpr const char* kReadPlace = "Media::CpuAccessBuffer::readInto";

// Reads the texture's rows into the bound pixel-pack buffer at offset 0 (`pixels` null) or
// into memory at `pixels`, rows `rowPitch` bytes apart; the caller checked the sizes.
void readRows(GpuTexture& texture, uint8_t* pixels, uint32_t rowPitch, const char* place) {
  const PixelFormatInfo& info = texture.info();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ROW_LENGTH, static_cast<GLint>(rowPitch / info.texelBytes));
  // In blocks of rows whose bytes a GLsizei can count (a 16384 x 16384 image of 8-byte
  // texels is 2 GiB).
  const uint32_t height = texture.height();
  const uint32_t rowsPerBlock = std::max<uint32_t>(1, static_cast<uint32_t>(INT32_MAX / rowPitch));
  const auto texels = static_cast<GLsizei>(texture.texelWidth());
  for (uint32_t y = 0; y < height; y += rowsPerBlock) {
    const uint32_t rows = std::min(rowsPerBlock, height - y);
    const uint64_t offset = static_cast<uint64_t>(y) * rowPitch;
    void* destination = pixels ? static_cast<void*>(pixels + offset)
                               : reinterpret_cast<void*>(static_cast<uintptr_t>(offset));
    glGetTextureSubImage(texture.name(), 0, 0, static_cast<GLint>(y), 0, texels,
                         static_cast<GLsizei>(rows), 1, info.transferFormat, info.transferType,
                         static_cast<GLsizei>(static_cast<uint64_t>(rows) * rowPitch),
                         destination);
  }
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) throw Gl::makeGlException("glGetTextureImage", place, error);
}

}  // namespace

CpuAccessBuffer::CpuAccessBuffer(uint32_t width, uint32_t height, int32_t format)
    : width_(width), height_(height), format_(textureFormatOf(format)) {
  info_ = findPixelFormat(format_);
  if (!info_ || width < 1 || height < 1 || width > kMaxTextureSide || height > kMaxTextureSide)
    throw System::makeHresultException(kCreateCall, kCreatePlace, Hresult::kInvalidArgument);
  rowPitch_ = (texelWidth(*info_, width) * info_->texelBytes + 31) & ~uint32_t{31};
  size_ = static_cast<uint64_t>(rowPitch_) * height;

  const uint64_t deviceId = GlDevice::require(kCreatePlace).id();
  Gl::clearErrors();
  storage_ = Gl::Object::create(Gl::ObjectType::Buffer, deviceId);
  glNamedBufferStorage(storage_.name(), static_cast<GLsizeiptr>(size_), nullptr,
                       GL_MAP_READ_BIT | GL_CLIENT_STORAGE_BIT);
  Gl::checkError(kCreateCall, kCreatePlace);
}

void CpuAccessBuffer::copyFrom(GpuTexture& texture) {
  if (texture.format() != format_ || texture.width() != width_ || texture.height() != height_ ||
      texture.sampleCount() != 1)
    throw System::makeHresultException("CopyResource", kCopyPlace, Hresult::kInvalidArgument);
  if (!GlDevice::bindLive(storage_.deviceId()))
    throw System::makeException(kCopyPlace, "graphics device not created.");
  texture.waitReady();
  Gl::clearErrors();
  glBindBuffer(GL_PIXEL_PACK_BUFFER, storage_.name());
  struct Unbind {
    ~Unbind() { glBindBuffer(GL_PIXEL_PACK_BUFFER, 0); }
  } unbind;
  readRows(texture, nullptr, rowPitch_, kCopyPlace);
}

void CpuAccessBuffer::readInto(GpuTexture& texture, uint8_t* pixels, uint32_t rowPitch,
                               uint64_t size) {
  const PixelFormatInfo& info = texture.info();
  if (!pixels || texture.sampleCount() != 1 || info.texelBytes == 0 ||
      rowPitch % info.texelBytes != 0 || rowPitch < texture.texelWidth() * info.texelBytes ||
      size < static_cast<uint64_t>(rowPitch) * texture.height())
    throw System::makeHresultException("CopyResource", kReadPlace, Hresult::kInvalidArgument);
  GlDevice::require(kReadPlace);
  texture.waitReady();
  Gl::clearErrors();
  readRows(texture, pixels, rowPitch, kReadPlace);
}

CpuAccessBuffer::Mapping::Mapping(CpuAccessBuffer& buffer) : buffer_(buffer) {
  if (!GlDevice::bindLive(buffer.storage_.deviceId()))
    throw System::makeException(kMapPlace, "graphics device not created.");
  Gl::clearErrors();
  data_ = static_cast<const uint8_t*>(glMapNamedBufferRange(
      buffer.storage_.name(), 0, static_cast<GLsizeiptr>(buffer.size_), GL_MAP_READ_BIT));
  if (!data_) throw Gl::makeGlException("glMapNamedBufferRange", kMapPlace, glGetError());
}

CpuAccessBuffer::Mapping::~Mapping() {
  const Gl::Object& storage = buffer_.storage_;
  if (data_ && GlDevice::bindLive(storage.deviceId())) glUnmapNamedBuffer(storage.name());
}

}  // namespace Media
