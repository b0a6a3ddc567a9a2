#pragma once
// The frame target of the render engine: a GPU image that may be multisampled, with the
// five auxiliary buffers of the 3-D drawing path and the frame's light sources.
//
// Built in place by its owners (render workers, scripts, read-back paths), possibly at 0 x 0:
// the texture comes with the first real size. Views are made on demand and released with
// the texture on every resize.
#include <cstdint>
#include <memory>
#include <vector>

#include "gpu/direct3d_service.h"
#include "gpu/pixel_format.h"
#include "gpu/texture_view.h"

namespace Media {

class ImageBuffer;
class ImageBufferPool;
class ResourceBuffer;

// One light of the frame, laid out as the lighting shader reads it (32 bytes).
struct LightSource {
  int32_t type = 0;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};
static_assert(sizeof(LightSource) == 32);

class RenderBuffer {
 public:
  // Format UNKNOWN (0) stands for the device's pixel format.
  explicit RenderBuffer(int32_t format = DxgiFormat::UNKNOWN, SampleDescription sample = {});
  RenderBuffer(int32_t width, int32_t height, int32_t format = DxgiFormat::UNKNOWN,
               SampleDescription sample = {});
  RenderBuffer(const RenderBuffer&) = delete;
  RenderBuffer& operator=(const RenderBuffer&) = delete;
  ~RenderBuffer();

  // Nothing when the size is unchanged; otherwise the size is stored, the texture and views
  // released and a new texture made (none for 0 x 0). A bad size throws
  // "Direct3D.device->CreateTexture2D" at "Media::RenderBuffer::createTexture2D". With
  // `fullyWritten` the caller draws every pixel before any read, and the new texture may
  // hold a released one's contents.
  void createTexture2D(int32_t width, int32_t height, bool fullyWritten = false);

  std::shared_ptr<const RenderTargetView> createRenderTargetView();
  // Every sample of every pixel becomes the colour; nothing without a texture.
  void clear(const float color[4]);
  // Only single-sampled buffers are read this way.
  std::shared_ptr<const ShaderResourceView> createShaderResourceView();
  std::shared_ptr<const UnorderedAccessView> createUnorderedAccessView();

  // A new resource buffer of the same size holding the frame: resolved when multisampled,
  // copied exactly when `exactCopy`, else drawn opaque (alpha 1) in the device's format.
  std::unique_ptr<ResourceBuffer> createResourceBuffer(bool exactCopy, bool flag = false);
  // The frame in main memory in this buffer's format, the pitch that of the read-back copy
  // (a multisampled frame is resolved first).
  std::shared_ptr<ImageBuffer> readBack();
  // The frame as a new image in `format`: 28 and 87 without premultiplied alpha when
  // `straightAlpha`, else clamped to alpha; 88 opaque; 13 and 107 (YUY2) through the
  // pixel-format conversion (resource_convert.h); others as they are.
  std::shared_ptr<ImageBuffer> createImageBuffer(int32_t format, bool straightAlpha,
                                                 bool flag = false);
  // Where the images of readBack and createImageBuffer come from: frames read back at the
  // frame rate reuse the memory of the ones their users dropped (image_buffer_pool.h).
  static ImageBufferPool& readBackPool();

  // The auxiliary buffers of the 3-D path, made and cleared on the first request, and made
  // anew when the frame's size changed since.
  ResourceBuffer* getOitDepthBuffer1();   // R32_FLOAT, 1e10
  ResourceBuffer* getOitColorBuffer1();   // this format, (0, 0, 0, 0)
  ResourceBuffer* getOitDepthBuffer2();   // R32_FLOAT, 1e10
  ResourceBuffer* getOitColorBuffer2();   // R16G16B16A16_FLOAT, (0, 0, 0, -1)
  ResourceBuffer* getOitColorBuffer3();   // R16G16B16A16_FLOAT, (0, 0, 0, -1)

  // Releases the views and the texture.
  void releaseViews() noexcept;

  // Whether nothing outside the buffer holds its texture or a view of it: a frame whose
  // texture nobody else holds may be cleared and drawn again without changing what another
  // holder sees.
  bool holdsTextureAlone() const;
  // Readies a frame to be drawn again as a new frame: the auxiliary buffers and the light
  // sources of the last one go; the texture stays, to be cleared by the next pass, which
  // waits for the work on it given so far on the calling thread's context (its reads
  // included). A failing fence throws as GpuTexture::markWritten.
  void prepareNextFrame();

  // The frame as a single-sampled texture (itself, or a resolved copy); without a texture,
  // "CopyResource" (invalid argument) at `place`.
  std::shared_ptr<GpuTexture> singleSampled(const char* place);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t format() const { return format_; }
  const SampleDescription& sampleDescription() const { return sample_; }
  bool isMultisampled() const { return sample_.count > 1; }
  const std::shared_ptr<GpuTexture>& texture() const { return texture_; }

  std::vector<LightSource> lightSources;

 private:
  ResourceBuffer* auxiliary(std::unique_ptr<ResourceBuffer>& slot, int32_t format, bool depth,
                            const float* color);

  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t format_ = 0;
  SampleDescription sample_;
  std::shared_ptr<GpuTexture> texture_;
  std::shared_ptr<const RenderTargetView> renderTargetView_;
  std::shared_ptr<const ShaderResourceView> shaderResourceView_;
  std::shared_ptr<const UnorderedAccessView> unorderedAccessView_;
  std::unique_ptr<ResourceBuffer> oitDepthBuffer1_;
  std::unique_ptr<ResourceBuffer> oitColorBuffer1_;
  std::unique_ptr<ResourceBuffer> oitDepthBuffer2_;
  std::unique_ptr<ResourceBuffer> oitColorBuffer2_;
  std::unique_ptr<ResourceBuffer> oitColorBuffer3_;
};

}  // namespace Media
