#include "gpu/gpu_texture.h"

#include "gpu/gl_device.h"
#include "gpu/gl_error.h"
#include "gpu/gl_fence.h"

namespace Media {
namespace {

GlDevice& liveDevice(std::string_view place) {
  GlDevice* device = GlDevice::live();
  if (!device) throw System::makeException(place, "graphics device not created.");
  return *device;
}

bool validSide(uint32_t side) { return side >= 1 && side <= kMaxTextureSide; }

}  // namespace

GpuTexture::GpuTexture(const Description& description, const PixelFormatInfo& info,
                       uint64_t deviceId)
    : description_(description), info_(&info), deviceId_(deviceId) {}

std::shared_ptr<GpuTexture> GpuTexture::create(const Description& requested,
                                               const TextureData* data, std::string_view call,
                                               std::string_view place) {
  Description description = requested;
  description.format = textureFormatOf(requested.format);
  const PixelFormatInfo* info = findPixelFormat(description.format);
  if (!info || !validSide(description.width) || !validSide(description.height) ||
      description.sampleCount < 1 || description.sampleCount > 32 ||
      (data && description.sampleCount != 1))
    throw System::makeHresultException(call, place, Gl::kInvalidArgument);

  GlDevice& device = liveDevice(place);
  device.current();
  std::shared_ptr<GpuTexture> texture(new GpuTexture(description, *info, device.id()));
  texture->target_ = description.sampleCount > 1 ? GL_TEXTURE_2D_MULTISAMPLE : GL_TEXTURE_2D;

  Gl::clearErrors();
  glCreateTextures(texture->target_, 1, &texture->name_);
  const auto width = static_cast<GLsizei>(texture->texelWidth());
  const auto height = static_cast<GLsizei>(description.height);
  if (description.sampleCount > 1)
    glTextureStorage2DMultisample(texture->name_, static_cast<GLsizei>(description.sampleCount),
                                  info->internalFormat, width, height, GL_TRUE);
  else
    glTextureStorage2D(texture->name_, 1, info->internalFormat, width, height);
  glTextureParameteriv(texture->name_, GL_TEXTURE_SWIZZLE_RGBA, info->swizzle.data());
  if (description.sampleCount == 1) {
    // Reads without a sampler of their own take single texels.
    glTextureParameteri(texture->name_, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTextureParameteri(texture->name_, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) throw Gl::makeGlException(call, place, error);

  if (data)
    texture->upload(0, 0, texture->texelWidth(), description.height, *data, *info, call, place);
  else
    texture->markWritten();
  return texture;
}

GpuTexture::~GpuTexture() {
  if (name_ != 0 && GlDevice::bindLive(deviceId_)) glDeleteTextures(1, &name_);
}

void GpuTexture::upload(uint32_t x, uint32_t y, uint32_t width, uint32_t height,
                        const TextureData& data, const PixelFormatInfo& source,
                        std::string_view call, std::string_view place) {
  const uint64_t rowBytes = static_cast<uint64_t>(width) * source.texelBytes;
  const bool inside = width > 0 && height > 0 && x <= texelWidth() && width <= texelWidth() - x &&
                      y <= description_.height && height <= description_.height - y;
  // size >= pitch x (height - 1) + rowBytes, without overflowing.
  const bool covered = data.pixels && data.pitch >= rowBytes && data.size >= rowBytes &&
                       (height == 1 || (data.size - rowBytes) / (height - 1) >= data.pitch);
  if (!inside || !covered || description_.sampleCount != 1)
    throw System::makeHresultException(call, place, Gl::kInvalidArgument);

  liveDevice(place).current();
  waitReady();
  Gl::clearErrors();
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  const auto* pixels = static_cast<const uint8_t*>(data.pixels);
  if (data.pitch % source.texelBytes == 0 && data.pitch / source.texelBytes <= INT32_MAX) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(data.pitch / source.texelBytes));
    glTextureSubImage2D(name_, 0, static_cast<GLint>(x), static_cast<GLint>(y),
                        static_cast<GLsizei>(width), static_cast<GLsizei>(height),
                        source.transferFormat, source.transferType, pixels);
  } else {
    // A pitch that is not a whole number of texels: row by row.
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    for (uint32_t row = 0; row < height; ++row)
      glTextureSubImage2D(name_, 0, static_cast<GLint>(x), static_cast<GLint>(y + row),
                          static_cast<GLsizei>(width), 1, source.transferFormat,
                          source.transferType, pixels + data.pitch * row);
  }
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) throw Gl::makeGlException(call, place, error);
  markWritten();
}

void GpuTexture::markWritten(std::shared_ptr<GlFence> fence) {
  if (!fence) fence = GlFence::insert();
  std::lock_guard lock(syncMutex_);
  lastWrite_ = std::move(fence);
}

void GpuTexture::waitReady() {
  std::shared_ptr<GlFence> fence;
  {
    std::lock_guard lock(syncMutex_);
    fence = lastWrite_;
  }
  if (!fence) return;
  if (fence->isSignaled()) {
    // Complete for every context: later users need not wait at all.
    std::lock_guard lock(syncMutex_);
    if (lastWrite_ == fence) lastWrite_.reset();
    return;
  }
  fence->waitInCurrentContext();
}

void ShaderResourceView::bind(GLuint unit) const {
  texture_->waitReady();
  glBindTextureUnit(unit, texture_->name());
}

void UnorderedAccessView::bind(GLuint unit) const {
  texture_->waitReady();
  glBindImageTexture(unit, texture_->name(), 0, GL_FALSE, 0, GL_READ_WRITE,
                     texture_->info().internalFormat);
}

}  // namespace Media
