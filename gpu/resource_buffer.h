#pragma once
// A single-sampled image on the GPU that shaders read and draw into: object images, effect
// intermediates, script buffers.
//
// Its format is the device's pixel format unless the creator names another; each side is
// at most 16384. A buffer of 0 x 0 has no texture. Images in the device's pixel format, its
// mask format and R32_FLOAT can be drawn into and written by shaders; others can only be
// read. Views are made on first request and released with the texture.
//
// A buffer is used by one thread at a time; it may move between threads (made and filled
// on one, drawn with on another): the texture's fences order the work of their contexts.
//
// A picture uploaded in packed YUV pixel pairs (a decoded movie frame) may keep its pairs and
// leave the conversion into the working format to its first use that needs it: a flat draw
// of the object converts while it samples (packedPairs()) and spares a full-frame pass. Every
// other use converts first: a view, the texture, a copy, a clear, the pixels.
#include <cstdint>
#include <memory>

#include "gpu/texture_view.h"
#include "gpu/yuv_matrix.h"

namespace Media {

class ImageBuffer;
class RenderTargetDirect3D;

class ResourceBuffer {
 public:
  // 2-D drawing into the image (draw2d/resource_surface.h).
  class Surface;
  // An empty buffer throws "buffer.As", one without render-target use
  // "CreateBitmapFromDxgiSurface" (drawing on it would be lost).
  static RenderTargetDirect3D getSurface(ResourceBuffer& buffer);

  // An empty buffer in the device's pixel format.
  ResourceBuffer();
  // A buffer in the device's pixel format; a side above 16384 is clamped to 16384. Both
  // sides 0: no texture. A negative side, or one side 0 beside another that is not, is
  // refused: "Direct3D.device->CreateTexture2D" (invalid argument) at
  // "Media::ResourceBuffer::createTexture2D", before any memory is asked for.
  ResourceBuffer(int32_t width, int32_t height);
  // The same in the given format.
  ResourceBuffer(int32_t width, int32_t height, int32_t format);
  ResourceBuffer(const ResourceBuffer&) = delete;
  ResourceBuffer& operator=(const ResourceBuffer&) = delete;
  ~ResourceBuffer() { release(); }

  static std::unique_ptr<ResourceBuffer> createBuffer(int32_t width, int32_t height,
                                                      int32_t format);
  // The pairs of a picture whose conversion waits: a texel per pixel pair (Y0, U, Y1, V) in
  // G8R8_G8B8_UNORM, and the input matrix that turns them into the working format.
  struct PackedPairs {
    std::shared_ptr<GpuTexture> texture;
    ConversionConstants toWorking{};
  };
  enum class YuvUpload { Convert, Defer };

  // Null for a null image. An image in the device's pixel format is uploaded as it is;
  // other formats go through the pixel-format conversion (resource_convert.h). With Defer,
  // a YUY2 image keeps its pairs until a use needs the working format.
  static std::unique_ptr<ResourceBuffer> createFromImageBuffer(
      const ImageBuffer* image, YuvUpload yuv = YuvUpload::Convert);

  // Takes the image's size and format (YUY2 becomes G8R8_G8B8 of the same width in pixels;
  // no clamping) and makes the texture from its pixels.
  void create(const ImageBuffer& image);
  // Takes the size (each side clamped to 16384), releases the texture and views and makes a
  // new texture of this format (none for 0 x 0). With `fullyWritten` the caller writes every
  // texel before any read, and the new texture may hold a released one's contents.
  void resize(uint32_t width, uint32_t height, bool fullyWritten = false);
  // Makes the texture of the current size and format, filled from `initial` when given.
  // Failure: "Direct3D.device->CreateTexture2D" at "Media::ResourceBuffer::createTexture2D".
  void createTexture2D(const TextureData* initial, bool fullyWritten = false);

  std::shared_ptr<const ShaderResourceView> createShaderResourceView();
  std::shared_ptr<const RenderTargetView> createRenderTargetView();
  std::shared_ptr<const UnorderedAccessView> createUnorderedAccessView();

  // A full copy in a new buffer of the same size and format.
  std::unique_ptr<ResourceBuffer> clone();
  // A new buffer of width x height in the device's pixel format, transparent black, with
  // this image copied so that its pixel (0, 0) lands at (x, y); clipped to both. Its sides
  // are refused as the constructor refuses them.
  std::unique_ptr<ResourceBuffer> crop(int32_t width, int32_t height, int32_t x, int32_t y);
  // Copies the box at (x, y) of width x height of the source to (0, 0) of this buffer.
  // Nothing happens when x + width or y + height (unsigned sums) is smaller than this
  // buffer's width or height: a negative x or y skips the copy. The box is clipped to both.
  void copyRect(ResourceBuffer& source, int32_t x, int32_t y, uint32_t width, uint32_t height);
  // Every channel of every pixel becomes v, through the unordered-access view.
  void clear(float value);
  // Every pixel becomes the colour, through the render-target view.
  void clearRenderTarget(const float color[4]);

  // The image as a new shared image in main memory in this buffer's format; the pitch is
  // the row pitch of the read-back copy.
  std::shared_ptr<ImageBuffer> readBack();
  // Replaces a rectangle of pixels (not for the packed-pair formats) from memory laid out
  // in `sourceFormat` (87 takes the BGRA bytes of a 2-D drawing surface, for example).
  void writePixels(uint32_t x, uint32_t y, uint32_t width, uint32_t height, int32_t sourceFormat,
                   const void* pixels, uint64_t pitch, uint64_t size);

  // Releases the views and the texture (and pairs still waiting); never throws.
  void release() noexcept;

  uint32_t width() const { return width_; }
  uint32_t height() const { return height_; }
  int32_t format() const { return format_; }
  bool empty() const { return !texture_ && !packed_; }
  // Converts waiting pairs first.
  const std::shared_ptr<GpuTexture>& texture() {
    convertPackedPairs();
    return texture_;
  }

  // Keeps the pairs as this buffer's picture, of width x height pixels in the device's pixel
  // format, converted at the first use that needs them.
  void keepPackedPairs(uint32_t width, uint32_t height, PackedPairs pairs);
  // The pairs while their conversion still waits, else null.
  const PackedPairs* packedPairs() const { return packed_.get(); }
  // Draws waiting pairs into a texture of the working format now; nothing when none wait.
  // The draw binds its own target, shader and constants: call it before binding any.
  void convertPackedPairs();

 private:
  void requireTexture(const char* call, const char* place) const;

  uint32_t width_ = 0;
  uint32_t height_ = 0;
  int32_t format_ = 0;
  std::shared_ptr<GpuTexture> texture_;
  std::unique_ptr<PackedPairs> packed_;
  std::shared_ptr<const RenderTargetView> renderTargetView_;
  std::shared_ptr<const ShaderResourceView> shaderResourceView_;
  std::shared_ptr<const UnorderedAccessView> unorderedAccessView_;
};

}  // namespace Media
