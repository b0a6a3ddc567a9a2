#pragma once
// The views through which a GPU image is read, drawn into and written by shaders, and what
// describes an image when it is made.
//
// A view holds its texture as the buffers do, so a view handed on keeps its image alive.
// The texture itself belongs to the device back-end (gl/gl_texture.h); users of the views
// only hand them to the shaders and to the device service.
#include <cstdint>
#include <memory>

namespace Media {

class GpuTexture;

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

// Reading the texture in shaders (a texture unit).
class ShaderResourceView {
 public:
  explicit ShaderResourceView(std::shared_ptr<GpuTexture> texture) : texture_(std::move(texture)) {}
  const std::shared_ptr<GpuTexture>& texture() const { return texture_; }

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

 private:
  std::shared_ptr<GpuTexture> texture_;
};

}  // namespace Media
