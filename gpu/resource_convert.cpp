#include "gpu/resource_convert.h"

#include "gpu/direct3d_service.h"
#include "gpu/gl/cpu_access_buffer.h"
#include "gpu/gl/gl_texture.h"
#include "gpu/image/image_buffer.h"
#include "gpu/image/image_buffer_pool.h"
#include "gpu/pixel_format.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/builtin_pixel_shaders.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "gpu/yuv_matrix.h"
#include "system/exception.h"

namespace Media {
namespace {

constexpr const char* kPlace = "Media::ResourceConvert::convert";

[[noreturn]] void unsupported(int32_t from, int32_t to) {
  throw System::makeFormattedException(kPlace, "unsupported convert format.",
                                       "DXGI format %d -> %d", from, to);
}

// The shader that brings a texture of this format into the working format, and whether it
// reads the input colour-space matrix.
struct InputPath {
  BuiltinPixel shader;
  bool transform;
};

bool inputPathFor(int32_t textureFormat, InputPath& path) {
  switch (textureFormat) {
    case DxgiFormat::R16G16B16A16_FLOAT:
    case DxgiFormat::R16G16B16A16_UNORM:
      path = {BuiltinPixel::Copy, false};
      return true;
    case DxgiFormat::R16G16B16A16_SNORM:
      path = {BuiltinPixel::InputTransform, true};
      return true;
    case DxgiFormat::R8G8B8A8_UNORM:
    case DxgiFormat::B8G8R8A8_UNORM:
      path = {BuiltinPixel::Premultiply, false};
      return true;
    case DxgiFormat::G8R8_G8B8_UNORM:
      // The GPU holds pixel pairs packed in one texel; the shader unpacks them.
      path = {BuiltinPixel::PackedPairInputTransform, true};
      return true;
    case DxgiFormat::B8G8R8X8_UNORM:
      path = {BuiltinPixel::OpaqueCopy, false};
      return true;
    default:
      return false;
  }
}

void makeConstants(ConstantBufferCommon& buffer, const ConversionConstants& constants) {
  ConstantBufferCommon::create(buffer, &constants, sizeof(constants));
}

}  // namespace

ResourceConvert::ResourceConvert() : direct3D_(Direct3DService::Get()) {}

void ResourceConvert::convert(const ImageBuffer& source, ResourceBuffer& target) {
  if (source.width != target.width() || source.height != target.height())
    target.resize(source.width, source.height, true);

  const int32_t sourceFormat = textureFormatOf(source.format);
  InputPath path{};
  if (target.format() != DxgiFormat::R16G16B16A16_FLOAT || !inputPathFor(sourceFormat, path))
    unsupported(sourceFormat, target.format());
  if (target.empty()) return;

  ResourceBuffer temporary;
  temporary.create(source);
  PixelShader& shader = direct3D_.builtinPixelShaders().get(path.shader);
  if (path.transform) {
    const YuvMatrix matrix = chooseYuvMatrix(direct3D_.inputYUVColorSpace, source.height);
    ConstantBufferCommon constants;
    makeConstants(constants, *inputConversion(sourceFormat, matrix));
    shader.drawInputWithConstants(target, temporary, constants, nullptr);
  } else {
    shader.drawInput(target, temporary, nullptr);
  }
}

void ResourceConvert::convertWhenUsed(const ImageBuffer& source, ResourceBuffer& target) {
  if (source.format != DxgiFormat::YUY2 || target.format() != DxgiFormat::R16G16B16A16_FLOAT ||
      source.width == 0 || source.height == 0) {
    convert(source, target);
    return;
  }
  ResourceBuffer uploaded;
  uploaded.create(source);
  ResourceBuffer::PackedPairs pairs;
  pairs.texture = uploaded.texture();
  const YuvMatrix matrix = chooseYuvMatrix(direct3D_.inputYUVColorSpace, source.height);
  pairs.toWorking = *inputConversion(DxgiFormat::G8R8_G8B8_UNORM, matrix);
  target.keepPackedPairs(source.width, source.height, std::move(pairs));
}

void ResourceConvert::drawPackedPairs(const ResourceBuffer::PackedPairs& pairs,
                                      ResourceBuffer& target) {
  ConstantBufferCommon constants;
  makeConstants(constants, pairs.toWorking);
  direct3D_.builtinPixelShaders()
      .get(BuiltinPixel::PackedPairInputTransform)
      .drawViewToView(*target.createRenderTargetView(), ShaderResourceView(pairs.texture),
                      &constants);
}

void ResourceConvert::convertFrame(std::shared_ptr<ImageBuffer>& result, RenderBuffer& frame,
                                   int32_t targetFormat) {
  if (frame.format() != DxgiFormat::R16G16B16A16_FLOAT ||
      (targetFormat != DxgiFormat::R16G16B16A16_SNORM && targetFormat != DxgiFormat::YUY2))
    unsupported(frame.format(), targetFormat);

  const auto width = static_cast<uint32_t>(frame.width());
  const auto height = static_cast<uint32_t>(frame.height());
  const std::shared_ptr<GpuTexture> source = frame.singleSampled(kPlace);
  const ShaderResourceView view(source);
  const YuvMatrix matrix = chooseYuvMatrix(direct3D_.outputYUVColorSpace, height);
  ConstantBufferCommon constants;
  makeConstants(constants, *outputConversion(targetFormat, matrix));

  // The conversion covers the whole target.
  if (targetFormat == DxgiFormat::R16G16B16A16_SNORM) {
    RenderBuffer converted(DxgiFormat::R16G16B16A16_SNORM);
    converted.createTexture2D(frame.width(), frame.height(), true);
    PixelShader& shader = direct3D_.builtinPixelShaders().get(BuiltinPixel::OutputTransform);
    shader.drawViewToView(*converted.createRenderTargetView(), view, &constants);
    result = converted.readBack();
    return;
  }

  // YUY2: the pixel pairs packed on the GPU, (Y0, Cb, Y1, Cr) per texel in 8 bits, so that
  // half as many bytes are drawn and read back and none is moved again in main memory.
  RenderBuffer packed(DxgiFormat::G8R8_G8B8_UNORM);
  packed.createTexture2D(frame.width(), frame.height(), true);
  direct3D_.builtinPixelShaders()
      .get(BuiltinPixel::PackedPairOutputTransform)
      .drawViewToView(*packed.createRenderTargetView(), view, &constants);
  auto image = RenderBuffer::readBackPool().take(DxgiFormat::YUY2, width, height);
  CpuAccessBuffer::readInto(*packed.texture(), image->data(), image->pitch, image->usedSize());
  result = std::move(image);
}

}  // namespace Media
