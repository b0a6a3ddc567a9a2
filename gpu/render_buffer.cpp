#include "gpu/render_buffer.h"

#include "gpu/copy_pass.h"
#include "gpu/gl/cpu_access_buffer.h"
#include "gpu/gl/gl_context.h"
#include "gpu/gl/gl_texture.h"
#include "gpu/gl/texture_copy.h"
#include "gpu/hresult.h"
#include "gpu/image/image_buffer.h"
#include "gpu/image/image_buffer_pool.h"
#include "gpu/resource_buffer.h"
#include "gpu/resource_convert.h"
#include "system/exception.h"

namespace Media {
namespace {

constexpr const char* kCreateTextureCall = "Direct3D.device->CreateTexture2D";
constexpr const char* kCreateTexturePlace = "Media::RenderBuffer::createTexture2D";

int32_t resolveFormat(int32_t format) {
  return format == DxgiFormat::UNKNOWN ? Direct3DService::Get().pixelFormat : format;
}

CopyKind copyKindFor(int32_t format, bool straightAlpha) {
  switch (format) {
    case DxgiFormat::R8G8B8A8_UNORM:
    case DxgiFormat::B8G8R8A8_UNORM:
      return straightAlpha ? CopyKind::Unpremultiply : CopyKind::ClampToAlpha;
    case DxgiFormat::B8G8R8X8_UNORM:
      return CopyKind::Opaque;
    default:
      return CopyKind::Plain;
  }
}

}  // namespace

RenderBuffer::RenderBuffer(int32_t format, SampleDescription sample)
    : format_(resolveFormat(format)), sample_(sample) {}

RenderBuffer::RenderBuffer(int32_t width, int32_t height, int32_t format, SampleDescription sample)
    : RenderBuffer(format, sample) {
  createTexture2D(width, height);
}

RenderBuffer::~RenderBuffer() {
  releaseViews();
  oitColorBuffer3_.reset();
  oitColorBuffer2_.reset();
  oitDepthBuffer2_.reset();
  oitColorBuffer1_.reset();
  oitDepthBuffer1_.reset();
}

void RenderBuffer::createTexture2D(int32_t width, int32_t height, bool fullyWritten) {
  if (width == width_ && height == height_ && (texture_ || (width == 0 && height == 0))) return;
  width_ = width;
  height_ = height;
  releaseViews();
  if (width == 0 && height == 0) return;
  if (width < 0 || height < 0)
    throw System::makeHresultException(kCreateTextureCall, kCreateTexturePlace,
                                       Hresult::kInvalidArgument);

  const bool multisampled = sample_.count > 1;
  GpuTexture::Description description;
  description.width = static_cast<uint32_t>(width);
  description.height = static_cast<uint32_t>(height);
  description.format = format_;
  description.sampleCount = sample_.count == 0 ? 1 : sample_.count;
  description.fullyWritten = fullyWritten;
  if (multisampled)
    description.bindFlags = BindFlag::RENDER_TARGET;
  else if (format_ == Direct3DService::Get().pixelFormat)
    description.bindFlags =
        BindFlag::RENDER_TARGET | BindFlag::SHADER_RESOURCE | BindFlag::UNORDERED_ACCESS;
  else
    description.bindFlags = BindFlag::RENDER_TARGET | BindFlag::SHADER_RESOURCE;
  texture_ = GpuTexture::create(description, nullptr, kCreateTextureCall, kCreateTexturePlace);
}

std::shared_ptr<const RenderTargetView> RenderBuffer::createRenderTargetView() {
  if (renderTargetView_) return renderTargetView_;
  constexpr const char* kCall = "Direct3D.device->CreateRenderTargetView";
  constexpr const char* kPlace = "Media::RenderBuffer::createRenderTargetView";
  if (!texture_ || !Direct3DService::Get().context().isRenderable(*texture_))
    throw System::makeHresultException(kCall, kPlace, Hresult::kInvalidArgument);
  renderTargetView_ = std::make_shared<RenderTargetView>(texture_);
  return renderTargetView_;
}

std::shared_ptr<const ShaderResourceView> RenderBuffer::createShaderResourceView() {
  if (shaderResourceView_) return shaderResourceView_;
  constexpr const char* kCall = "Direct3D.device->CreateShaderResourceView";
  constexpr const char* kPlace = "Media::RenderBuffer::createShaderResourceView";
  if (!texture_ || (texture_->bindFlags() & BindFlag::SHADER_RESOURCE) == 0)
    throw System::makeHresultException(kCall, kPlace, Hresult::kInvalidArgument);
  shaderResourceView_ = std::make_shared<ShaderResourceView>(texture_);
  return shaderResourceView_;
}

std::shared_ptr<const UnorderedAccessView> RenderBuffer::createUnorderedAccessView() {
  if (unorderedAccessView_) return unorderedAccessView_;
  constexpr const char* kCall = "Direct3D.device->CreateUnorderedAccessView";
  constexpr const char* kPlace = "Media::RenderBuffer::createUnorderedAccessView";
  if (!texture_ || (texture_->bindFlags() & BindFlag::UNORDERED_ACCESS) == 0)
    throw System::makeHresultException(kCall, kPlace, Hresult::kInvalidArgument);
  unorderedAccessView_ = std::make_shared<UnorderedAccessView>(texture_);
  return unorderedAccessView_;
}

std::shared_ptr<GpuTexture> RenderBuffer::singleSampled(const char* place) {
  if (!texture_) throw System::makeHresultException("CopyResource", place, Hresult::kInvalidArgument);
  if (!isMultisampled()) return texture_;
  GpuTexture::Description description;
  description.width = texture_->width();
  description.height = texture_->height();
  description.format = format_;
  description.bindFlags = BindFlag::SHADER_RESOURCE | BindFlag::RENDER_TARGET;
  auto resolved = GpuTexture::create(description, nullptr, kCreateTextureCall, place);
  resolveTexture(*resolved, *texture_, place);
  return resolved;
}

std::unique_ptr<ResourceBuffer> RenderBuffer::createResourceBuffer(bool exactCopy, bool) {
  constexpr const char* kPlace = "Media::RenderBuffer::createResourceBuffer";
  if (!texture_)
    return std::make_unique<ResourceBuffer>(0, 0);
  if (isMultisampled() || exactCopy) {
    // Resolved or copied in this frame's format, which both operations need.
    auto buffer = std::make_unique<ResourceBuffer>(width_, height_, format_);
    if (isMultisampled())
      resolveTexture(*buffer->texture(), *texture_, kPlace);
    else
      copyTexture(*buffer->texture(), *texture_, kPlace);
    return buffer;
  }
  auto buffer = std::make_unique<ResourceBuffer>(width_, height_);
  drawCopy(CopyKind::Opaque, *createShaderResourceView(), *buffer->createRenderTargetView());
  return buffer;
}

std::shared_ptr<ImageBuffer> RenderBuffer::readBack() {
  constexpr const char* kPlace = "Media::RenderBuffer::readBack";
  const std::shared_ptr<GpuTexture> source = singleSampled(kPlace);
  // Rows of the texel bytes rounded up to 32, read straight into the image.
  const uint32_t pitch = (source->texelWidth() * source->info().texelBytes + 31) & ~uint32_t{31};
  auto image = readBackPool().take(format_, static_cast<uint32_t>(width_),
                                   static_cast<uint32_t>(height_), pitch);
  CpuAccessBuffer::readInto(*source, image->data(), pitch, image->usedSize());
  return image;
}

ImageBufferPool& RenderBuffer::readBackPool() {
  // A few frames of the largest kind (1920 x 1080 in 16-bit channels is 16 MB).
  static ImageBufferPool pool(uint64_t{96} << 20);
  return pool;
}

std::shared_ptr<ImageBuffer> RenderBuffer::createImageBuffer(int32_t format, bool straightAlpha,
                                                             bool) {
  constexpr const char* kPlace = "Media::RenderBuffer::createImageBuffer";
  if (format == DxgiFormat::YUY2 || format == DxgiFormat::R16G16B16A16_SNORM) {
    std::shared_ptr<ImageBuffer> result;
    ResourceConvert().convertFrame(result, *this, format);
    return result;
  }
  const std::shared_ptr<GpuTexture> source = singleSampled(kPlace);
  RenderBuffer converted(format);
  converted.createTexture2D(width_, height_, true);
  drawCopy(copyKindFor(format, straightAlpha), ShaderResourceView(source),
           *converted.createRenderTargetView());
  return converted.readBack();
}

ResourceBuffer* RenderBuffer::auxiliary(std::unique_ptr<ResourceBuffer>& slot, int32_t format,
                                        bool depth, const float* color) {
  // A frame resized since (a scene of another size) must not draw 3-D into buffers of the
  // old size.
  if (slot && slot->width() == static_cast<uint32_t>(width_) &&
      slot->height() == static_cast<uint32_t>(height_))
    return slot.get();
  auto buffer = std::make_unique<ResourceBuffer>(width_, height_, format);
  if (depth)
    buffer->clear(color[0]);
  else
    buffer->clearRenderTarget(color);
  slot = std::move(buffer);
  return slot.get();
}

void RenderBuffer::clear(const float color[4]) {
  if (!texture_) return;
  clearTexture(*texture_, color, "Media::RenderBuffer::clear");
}

ResourceBuffer* RenderBuffer::getOitDepthBuffer1() {
  static constexpr float kFar[4] = {1e10f, 1e10f, 1e10f, 1e10f};
  return auxiliary(oitDepthBuffer1_, DxgiFormat::R32_FLOAT, true, kFar);
}

ResourceBuffer* RenderBuffer::getOitColorBuffer1() {
  static constexpr float kTransparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  return auxiliary(oitColorBuffer1_, format_, false, kTransparent);
}

ResourceBuffer* RenderBuffer::getOitDepthBuffer2() {
  static constexpr float kFar[4] = {1e10f, 1e10f, 1e10f, 1e10f};
  return auxiliary(oitDepthBuffer2_, DxgiFormat::R32_FLOAT, true, kFar);
}

ResourceBuffer* RenderBuffer::getOitColorBuffer2() {
  static constexpr float kNoNormal[4] = {0.0f, 0.0f, 0.0f, -1.0f};
  return auxiliary(oitColorBuffer2_, DxgiFormat::R16G16B16A16_FLOAT, false, kNoNormal);
}

ResourceBuffer* RenderBuffer::getOitColorBuffer3() {
  static constexpr float kNoNormal[4] = {0.0f, 0.0f, 0.0f, -1.0f};
  return auxiliary(oitColorBuffer3_, DxgiFormat::R16G16B16A16_FLOAT, false, kNoNormal);
}

bool RenderBuffer::holdsTextureAlone() const {
  // Each view of the buffer holds the texture once; each must be held by the buffer alone.
  long owners = 1;
  const auto held = [&owners](const auto& view) {
    if (!view) return true;
    ++owners;
    return view.use_count() == 1;
  };
  return texture_ && held(renderTargetView_) && held(shaderResourceView_) &&
         held(unorderedAccessView_) && texture_.use_count() == owners;
}

void RenderBuffer::prepareNextFrame() {
  // The fence orders this context's reads before another context's next writes.
  if (texture_) texture_->markWritten();
  lightSources.clear();
  oitColorBuffer3_.reset();
  oitColorBuffer2_.reset();
  oitDepthBuffer2_.reset();
  oitColorBuffer1_.reset();
  oitDepthBuffer1_.reset();
}

void RenderBuffer::releaseViews() noexcept {
  unorderedAccessView_.reset();
  shaderResourceView_.reset();
  renderTargetView_.reset();
  texture_.reset();
}

}  // namespace Media
