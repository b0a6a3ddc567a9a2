#pragma once
// A texture of the device.
//
// The texture is shared by every thread's context. Work on it in one context becomes
// visible to another only after that work is complete, so every operation that writes it
// (an upload, a copy, a clear, a draw once the target is unbound) ends with
// markWritten(), which leaves a fence, and every operation that uses it starts with
// waitReady(), which makes the calling context wait for the last writer's fence when the
// writer was another context. No draw can thus sample a half-written texture.
//
// A texture that is filled from memory at creation, or whose maker writes every texel before
// any read (`fullyWritten`), may take a name of the same shape from the thread's texture
// shelf (texture_shelf.h), and goes back onto it when released by the thread that made it,
// unless another thread's context used it meanwhile.
#include <epoxy/gl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "gpu/gl/gl_object.h"
#include "gpu/gl/gl_pixel_format.h"
#include "gpu/texture_view.h"

namespace Media {

class GpuTexture {
 public:
  struct Description {
    uint32_t width = 0;   // in pixels (a packed-pair format has half as many texels)
    uint32_t height = 0;
    int32_t format = 0;   // a DXGI number that has a texture form
    uint32_t sampleCount = 1;
    uint32_t bindFlags = BindFlag::SHADER_RESOURCE;
    // The maker writes every texel before anything reads the texture: its first contents
    // may be those of a released texture instead of zeroes.
    bool fullyWritten = false;
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

  GLuint name() const { return texture_.name(); }
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
  // Makes the calling thread's context wait for the last writer in another context. Every
  // use of the texture in a context starts here.
  void waitReady();

 private:
  GpuTexture(const Description& description, const PixelFormatInfo& info);

  Description description_;
  const PixelFormatInfo* info_;
  GLenum target_ = GL_TEXTURE_2D;
  std::mutex syncMutex_;  // guards the texture's fence
  Gl::Object texture_;
  // Whether the name may go onto the shelf of the thread that made it when released.
  bool shelvable_ = false;
  std::thread::id maker_ = std::this_thread::get_id();
  std::atomic<bool> usedElsewhere_{false};
};

// Waits for the view's last writer and binds its texture to the texture unit.
void bindTextureUnit(const ShaderResourceView& view, GLuint unit);
// Waits for the view's last writer and binds its texture to the image unit for reading and
// writing in its internal format.
void bindImageUnit(const UnorderedAccessView& view, GLuint unit);

}  // namespace Media
