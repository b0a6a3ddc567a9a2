#pragma once
// A texture of the device and the views through which it is read, drawn into and written
// by shaders.
//
// The texture is shared by every thread's context. Work on it in one context becomes
// visible to another only after that work is complete, so every operation that writes it
// (an upload, a copy, a clear, a draw once the target is unbound) ends with
// markWritten(), which leaves a fence, and every operation that uses it starts with
// waitReady(), which makes the calling context wait for the last writer's fence when the
// writer was another context. No draw can thus sample a half-written texture.
//
// Views hold the texture as the buffers do, so a view handed on keeps its image alive.
#include <epoxy/gl.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>

#include "gpu/pixel_format.h"

namespace Media {
class GlFence;
}

namespace Media {

namespace BindFlag {
inline constexpr uint32_t SHADER_RESOURCE = 0x08;
inline constexpr uint32_t RENDER_TARGET = 0x20;
inline constexpr uint32_t UNORDERED_ACCESS = 0x80;
}  // namespace BindFlag

// Pixels in main memory handed to a texture: rows of `pitch` bytes, `size` bytes in all.
struct TextureData {
  const void* pixels = nullptr;
  uint64_t pitch = 0;
  uint64_t size = 0;
};

class GpuTexture {
 public:
  struct Description {
    uint32_t width = 0;   // in pixels (a packed-pair format has half as many texels)
    uint32_t height = 0;
    int32_t format = 0;   // a DXGI number that has a texture form
    uint32_t sampleCount = 1;
    uint32_t bindFlags = BindFlag::SHADER_RESOURCE;
  };

  // Creates the texture on the calling thread's context, filled from `data` when given.
  // A size of 0 or above the side limit, a format without a texture form, pixels that do
  // not cover the image and a failing GL call throw `call` at `place` (invalid argument,
  // out of memory).
  static std::shared_ptr<GpuTexture> create(const Description& description,
                                            const TextureData* data, std::string_view call,
                                            std::string_view place);
  GpuTexture(const GpuTexture&) = delete;
  GpuTexture& operator=(const GpuTexture&) = delete;
  ~GpuTexture();

  GLuint name() const { return name_; }
  GLenum target() const { return target_; }
  uint32_t width() const { return description_.width; }
  uint32_t height() const { return description_.height; }
  uint32_t texelWidth() const { return Media::texelWidth(*info_, description_.width); }
  int32_t format() const { return description_.format; }
  uint32_t sampleCount() const { return description_.sampleCount; }
  uint32_t bindFlags() const { return description_.bindFlags; }
  const PixelFormatInfo& info() const { return *info_; }

  // Writes a rectangle of texels (x, y, width and height in texels) from memory laid out
  // as `source` describes (transfer format and type, bytes per texel); the rectangle must
  // lie inside the texture and the pixels must cover it, or `call` is thrown at `place`.
  void upload(uint32_t x, uint32_t y, uint32_t width, uint32_t height, const TextureData& data,
              const PixelFormatInfo& source, std::string_view call, std::string_view place);

  // Publishes the writes made so far on the calling thread's context, with a new fence or
  // with one that several written textures share.
  void markWritten(std::shared_ptr<GlFence> fence = nullptr);
  // Makes the calling thread's context wait for the last writer in another context.
  void waitReady();

 private:
  GpuTexture(const Description& description, const PixelFormatInfo& info, uint64_t deviceId);

  Description description_;
  const PixelFormatInfo* info_;
  uint64_t deviceId_;
  GLuint name_ = 0;
  GLenum target_ = GL_TEXTURE_2D;

  std::mutex syncMutex_;
  std::shared_ptr<GlFence> lastWrite_;
};

// Reading the texture in shaders (a texture unit).
class ShaderResourceView {
 public:
  explicit ShaderResourceView(std::shared_ptr<GpuTexture> texture) : texture_(std::move(texture)) {}
  const std::shared_ptr<GpuTexture>& texture() const { return texture_; }
  // Waits for the last writer and binds the texture to the unit.
  void bind(GLuint unit) const;

 private:
  std::shared_ptr<GpuTexture> texture_;
};

// Drawing into the texture (attached to the context's draw framebuffer when bound).
class RenderTargetView {
 public:
  explicit RenderTargetView(std::shared_ptr<GpuTexture> texture) : texture_(std::move(texture)) {}
  const std::shared_ptr<GpuTexture>& texture() const { return texture_; }

 private:
  std::shared_ptr<GpuTexture> texture_;
};

// Reading and writing the texture from shaders at any texel (an image unit).
class UnorderedAccessView {
 public:
  explicit UnorderedAccessView(std::shared_ptr<GpuTexture> texture)
      : texture_(std::move(texture)) {}
  const std::shared_ptr<GpuTexture>& texture() const { return texture_; }
  // Waits for the last writer and binds the texture to the image unit for reading and
  // writing in its internal format.
  void bind(GLuint unit) const;

 private:
  std::shared_ptr<GpuTexture> texture_;
};

}  // namespace Media
