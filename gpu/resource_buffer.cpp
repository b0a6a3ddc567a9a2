#include "gpu/resource_buffer.h"

#include <algorithm>
#include <cstring>

#include "gpu/direct3d_service.h"
#include "gpu/gl/cpu_access_buffer.h"
#include "gpu/gl/gl_context.h"
#include "gpu/gl/gl_texture.h"
#include "gpu/gl/texture_copy.h"
#include "gpu/hresult.h"
#include "gpu/image/image_buffer.h"
#include "gpu/resource_convert.h"
#include "system/exception.h"

namespace Media {
namespace {

constexpr const char* kCreateTextureCall = "Direct3D.device->CreateTexture2D";
constexpr const char* kCreateTexturePlace = "Media::ResourceBuffer::createTexture2D";

// A negative side is refused before it can become a huge unsigned size; a side above the
// limit is clamped to it.
uint32_t checkedSide(int32_t side) {
  if (side < 0)
    throw System::makeHresultException(kCreateTextureCall, kCreateTexturePlace,
                                       Hresult::kInvalidArgument);
  return std::min(static_cast<uint32_t>(side), kMaxTextureSide);
}

}  // namespace

ResourceBuffer::ResourceBuffer() : format_(Direct3DService::Get().pixelFormat) {}

ResourceBuffer::ResourceBuffer(int32_t width, int32_t height)
    : ResourceBuffer(width, height, Direct3DService::Get().pixelFormat) {}

ResourceBuffer::ResourceBuffer(int32_t width, int32_t height, int32_t format)
    : width_(checkedSide(width)), height_(checkedSide(height)), format_(format) {
  // One side 0 beside another is refused by the texture itself.
  if (width_ != 0 || height_ != 0) createTexture2D(nullptr);
}

std::unique_ptr<ResourceBuffer> ResourceBuffer::createBuffer(int32_t width, int32_t height,
                                                             int32_t format) {
  return std::make_unique<ResourceBuffer>(width, height, format);
}

std::unique_ptr<ResourceBuffer> ResourceBuffer::createFromImageBuffer(const ImageBuffer* image,
                                                                     YuvUpload yuv) {
  if (!image) return nullptr;
  auto buffer = std::make_unique<ResourceBuffer>();
  if (image->format == buffer->format())
    buffer->create(*image);
  else if (yuv == YuvUpload::Defer)
    ResourceConvert().convertWhenUsed(*image, *buffer);
  else
    ResourceConvert().convert(*image, *buffer);
  return buffer;
}

void ResourceBuffer::create(const ImageBuffer& image) {
  width_ = image.width;
  height_ = image.height;
  format_ = textureFormatOf(image.format);
  release();
  const TextureData data{image.data(), image.pitch, image.usedSize()};
  createTexture2D(&data);
}

void ResourceBuffer::resize(uint32_t width, uint32_t height, bool fullyWritten) {
  width_ = std::min(width, kMaxTextureSide);
  height_ = std::min(height, kMaxTextureSide);
  release();
  if (width_ != 0 || height_ != 0) createTexture2D(nullptr, fullyWritten);
}

void ResourceBuffer::createTexture2D(const TextureData* initial, bool fullyWritten) {
  const Direct3DService& service = Direct3DService::Get();
  const bool drawable = format_ == service.pixelFormat || format_ == service.maskFormat ||
                        format_ == DxgiFormat::R32_FLOAT;
  GpuTexture::Description description;
  description.width = width_;
  description.height = height_;
  description.format = format_;
  description.fullyWritten = fullyWritten;
  description.bindFlags = drawable ? BindFlag::SHADER_RESOURCE | BindFlag::RENDER_TARGET |
                                         BindFlag::UNORDERED_ACCESS
                                   : BindFlag::SHADER_RESOURCE;
  texture_ = GpuTexture::create(description, initial, kCreateTextureCall, kCreateTexturePlace);
}

void ResourceBuffer::keepPackedPairs(uint32_t width, uint32_t height, PackedPairs pairs) {
  release();
  width_ = std::min(width, kMaxTextureSide);
  height_ = std::min(height, kMaxTextureSide);
  format_ = Direct3DService::Get().pixelFormat;
  if (pairs.texture) packed_ = std::make_unique<PackedPairs>(std::move(pairs));
}

void ResourceBuffer::convertPackedPairs() {
  if (!packed_) return;
  // Taken out first: the draw asks this buffer for its target view.
  const std::unique_ptr<PackedPairs> pairs = std::move(packed_);
  createTexture2D(nullptr, true);
  ResourceConvert().drawPackedPairs(*pairs, *this);
}

void ResourceBuffer::requireTexture(const char* call, const char* place) const {
  if (!texture_) throw System::makeHresultException(call, place, Hresult::kInvalidArgument);
}

std::shared_ptr<const ShaderResourceView> ResourceBuffer::createShaderResourceView() {
  convertPackedPairs();
  if (shaderResourceView_) return shaderResourceView_;
  constexpr const char* kCall = "Direct3D.device->CreateShaderResourceView";
  constexpr const char* kPlace = "Media::ResourceBuffer::createShaderResourceView";
  requireTexture(kCall, kPlace);
  shaderResourceView_ = std::make_shared<ShaderResourceView>(texture_);
  return shaderResourceView_;
}

std::shared_ptr<const RenderTargetView> ResourceBuffer::createRenderTargetView() {
  convertPackedPairs();
  if (renderTargetView_) return renderTargetView_;
  constexpr const char* kCall = "Direct3D.device->CreateRenderTargetView";
  constexpr const char* kPlace = "Media::ResourceBuffer::createRenderTargetView";
  requireTexture(kCall, kPlace);
  if ((texture_->bindFlags() & BindFlag::RENDER_TARGET) == 0 ||
      !Direct3DService::Get().context().isRenderable(*texture_))
    throw System::makeHresultException(kCall, kPlace, Hresult::kInvalidArgument);
  renderTargetView_ = std::make_shared<RenderTargetView>(texture_);
  return renderTargetView_;
}

std::shared_ptr<const UnorderedAccessView> ResourceBuffer::createUnorderedAccessView() {
  convertPackedPairs();
  if (unorderedAccessView_) return unorderedAccessView_;
  constexpr const char* kCall = "Direct3D.device->CreateUnorderedAccessView";
  constexpr const char* kPlace = "Media::ResourceBuffer::createUnorderedAccessView";
  requireTexture(kCall, kPlace);
  if ((texture_->bindFlags() & BindFlag::UNORDERED_ACCESS) == 0)
    throw System::makeHresultException(kCall, kPlace, Hresult::kInvalidArgument);
  unorderedAccessView_ = std::make_shared<UnorderedAccessView>(texture_);
  return unorderedAccessView_;
}

std::unique_ptr<ResourceBuffer> ResourceBuffer::clone() {
  convertPackedPairs();
  // Same format as this one, so that the copy is always made.
  auto copy = std::make_unique<ResourceBuffer>(width_, height_, format_);
  if (texture_) copyTexture(*copy->texture_, *texture_, "Media::ResourceBuffer::clone");
  return copy;
}

std::unique_ptr<ResourceBuffer> ResourceBuffer::crop(int32_t width, int32_t height, int32_t x,
                                                     int32_t y) {
  convertPackedPairs();
  auto cropped = std::make_unique<ResourceBuffer>(width, height);
  if (!cropped->texture_) return cropped;
  static constexpr float kTransparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  clearTexture(*cropped->texture_, kTransparent, "Media::ResourceBuffer::crop");
  if (!texture_) return cropped;
  const auto sourceX = static_cast<uint32_t>(std::max(-static_cast<int64_t>(x), int64_t{0}));
  const auto sourceY = static_cast<uint32_t>(std::max(-static_cast<int64_t>(y), int64_t{0}));
  const auto targetX = static_cast<uint32_t>(std::max(x, 0));
  const auto targetY = static_cast<uint32_t>(std::max(y, 0));
  copyTextureRegion(*cropped->texture_, targetX, targetY, *texture_, sourceX, sourceY,
                    texture_->texelWidth(), height_, "Media::ResourceBuffer::crop");
  return cropped;
}

void ResourceBuffer::copyRect(ResourceBuffer& source, int32_t x, int32_t y, uint32_t width,
                              uint32_t height) {
  if (static_cast<uint32_t>(x) + width < width_ || static_cast<uint32_t>(y) + height < height_)
    return;
  convertPackedPairs();
  source.convertPackedPairs();
  if (!texture_ || !source.texture_ || x < 0 || y < 0) return;
  copyTextureRegion(*texture_, 0, 0, *source.texture_, static_cast<uint32_t>(x),
                    static_cast<uint32_t>(y), width, height, "Media::ResourceBuffer::copyRect");
}

void ResourceBuffer::clear(float value) {
  convertPackedPairs();
  if (!texture_) return;
  createUnorderedAccessView();
  const float color[4] = {value, value, value, value};
  clearTexture(*texture_, color, "Media::ResourceBuffer::clear");
}

void ResourceBuffer::clearRenderTarget(const float color[4]) {
  convertPackedPairs();
  if (!texture_) return;
  createRenderTargetView();
  clearTexture(*texture_, color, "Media::ResourceBuffer::clearRenderTarget");
}

std::shared_ptr<ImageBuffer> ResourceBuffer::readBack() {
  constexpr const char* kPlace = "Media::ResourceBuffer::readBack";
  convertPackedPairs();
  requireTexture("CopyResource", kPlace);
  CpuAccessBuffer staging(width_, height_, format_);
  staging.copyFrom(*texture_);
  const auto mapping = staging.map();
  auto image = std::make_shared<ImageBuffer>(format_, width_, height_, mapping.rowPitch());
  std::memcpy(image->data(), mapping.data(), static_cast<std::size_t>(image->usedSize()));
  return image;
}

void ResourceBuffer::writePixels(uint32_t x, uint32_t y, uint32_t width, uint32_t height,
                                 int32_t sourceFormat, const void* pixels, uint64_t pitch,
                                 uint64_t size) {
  constexpr const char* kCall = "glTextureSubImage2D";
  constexpr const char* kPlace = "Media::ResourceBuffer::writePixels";
  convertPackedPairs();
  requireTexture(kCall, kPlace);
  const PixelFormatInfo* source = findPixelFormat(sourceFormat);
  if (!source || source->pixelsPerTexel != 1 || texture_->info().pixelsPerTexel != 1)
    throw System::makeHresultException(kCall, kPlace, Hresult::kInvalidArgument);
  texture_->upload(x, y, width, height, TextureData{pixels, pitch, size}, *source, kCall, kPlace);
}

void ResourceBuffer::release() noexcept {
  unorderedAccessView_.reset();
  renderTargetView_.reset();
  shaderResourceView_.reset();
  texture_.reset();
  packed_.reset();
}

}  // namespace Media
