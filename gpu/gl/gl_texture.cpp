#include "gpu/gl/gl_texture.h"

#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"
#include "gpu/gl/gl_fence.h"
#include "gpu/gl/texture_shelf.h"

namespace Media {
namespace {

bool validSide(uint32_t side) { return side >= 1 && side <= kMaxTextureSide; }

TextureShelf::Shape shapeOf(uint64_t deviceId, GLenum target, const PixelFormatInfo& info,
                            const GpuTexture::Description& description) {
  return {deviceId, target, info.internalFormat, texelWidth(info, description.width),
          description.height, description.sampleCount};
}

}  // namespace

GpuTexture::GpuTexture(const Description& description, const PixelFormatInfo& info)
    : description_(description), info_(&info) {}

std::shared_ptr<GpuTexture> GpuTexture::create(const Description& requested,
                                               const TextureData* data, std::string_view call,
                                               std::string_view place) {
  Description description = requested;
  description.format = textureFormatOf(requested.format);
  const PixelFormatInfo* info = findPixelFormat(description.format);
  if (!info || !validSide(description.width) || !validSide(description.height) ||
      description.sampleCount < 1 || description.sampleCount > 32 ||
      (data && description.sampleCount != 1))
    throw System::makeHresultException(call, place, Hresult::kInvalidArgument);

  const uint64_t deviceId = GlDevice::require(place).id();
  std::shared_ptr<GpuTexture> texture(new GpuTexture(description, *info));
  texture->target_ = description.sampleCount > 1 ? GL_TEXTURE_2D_MULTISAMPLE : GL_TEXTURE_2D;

  Gl::clearErrors();
  const bool shelvable = data != nullptr || description.fullyWritten;
  const TextureShelf::Shape shape = shapeOf(deviceId, texture->target_, *info, description);
  if (shelvable) texture->texture_ = TextureShelf::take(shape);
  const bool reused = static_cast<bool>(texture->texture_);
  if (!reused)
    texture->texture_ = Gl::Object::create(Gl::ObjectType::Texture, deviceId, texture->target_);
  const GLuint name = texture->name();
  const auto width = static_cast<GLsizei>(shape.texelWidth);
  const auto height = static_cast<GLsizei>(shape.height);
  if (!reused) {
    if (description.sampleCount > 1)
      glTextureStorage2DMultisample(name, static_cast<GLsizei>(description.sampleCount),
                                    info->internalFormat, width, height, GL_TRUE);
    else
      glTextureStorage2D(name, 1, info->internalFormat, width, height);
  }
  glTextureParameteriv(name, GL_TEXTURE_SWIZZLE_RGBA, info->swizzle.data());
  if (description.sampleCount == 1) {
    // Reads without a sampler of their own take single texels.
    glTextureParameteri(name, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTextureParameteri(name, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) throw Gl::makeGlException(call, place, error);

  if (data)
    texture->upload(0, 0, texture->texelWidth(), description.height, *data, *info, call, place);
  else
    texture->markWritten();
  // Only a texture made whole goes onto the shelf: one whose set-up failed is deleted.
  texture->shelvable_ = shelvable;
  return texture;
}

GpuTexture::~GpuTexture() {
  // Only the maker's context ever ordered the name's uses: another context may still have
  // reads of it queued, which a write through a reused name would overtake.
  if (!shelvable_ || usedElsewhere_.load(std::memory_order_relaxed) ||
      std::this_thread::get_id() != maker_ || !texture_ ||
      !GlDevice::bindLive(texture_.deviceId()))
    return;
  const TextureShelf::Shape shape = shapeOf(texture_.deviceId(), target_, *info_, description_);
  TextureShelf::keep(shape, std::move(texture_));
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
    throw System::makeHresultException(call, place, Hresult::kInvalidArgument);

  GlDevice::require(place);
  waitReady();
  Gl::clearErrors();
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  const auto* pixels = static_cast<const uint8_t*>(data.pixels);
  if (data.pitch % source.texelBytes == 0 && data.pitch / source.texelBytes <= INT32_MAX) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(data.pitch / source.texelBytes));
    glTextureSubImage2D(name(), 0, static_cast<GLint>(x), static_cast<GLint>(y),
                        static_cast<GLsizei>(width), static_cast<GLsizei>(height),
                        source.transferFormat, source.transferType, pixels);
  } else {
    // A pitch that is not a whole number of texels: row by row.
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    for (uint32_t row = 0; row < height; ++row)
      glTextureSubImage2D(name(), 0, static_cast<GLint>(x), static_cast<GLint>(y + row),
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
  texture_.setFence(std::move(fence));
}

void GpuTexture::waitReady() {
  if (std::this_thread::get_id() != maker_) usedElsewhere_.store(true, std::memory_order_relaxed);
  std::shared_ptr<GlFence> fence;
  {
    std::lock_guard lock(syncMutex_);
    fence = texture_.fence();
  }
  if (!fence) return;
  if (fence->isSignaled()) {
    // Complete for every context: later users need not wait at all.
    std::lock_guard lock(syncMutex_);
    if (texture_.fence() == fence) texture_.setFence(nullptr);
    return;
  }
  fence->waitInCurrentContext();
}

void bindTextureUnit(const ShaderResourceView& view, GLuint unit) {
  GpuTexture& texture = *view.texture();
  texture.waitReady();
  glBindTextureUnit(unit, texture.name());
}

void bindImageUnit(const UnorderedAccessView& view, GLuint unit) {
  GpuTexture& texture = *view.texture();
  texture.waitReady();
  glBindImageTexture(unit, texture.name(), 0, GL_FALSE, 0, GL_READ_WRITE,
                     texture.info().internalFormat);
}

}  // namespace Media
