#include <benchmark/benchmark.h>
#include <epoxy/gl.h>
#include <pango/pangocairo.h>

#include <cstring>

#include "gpu/direct3d_service.h"
#include "gpu/draw2d/direct2d_service.h"
#include "gpu/draw2d/resource_surface.h"
#include "gpu/gl/texture_copy.h"
#include "gpu/image/image_buffer.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "gpu/resource_convert.h"
#include "gpu/shader/builtin_shader_code.h"
#include "gpu/shader/compute_shader.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "system/service_holder.h"

namespace {

constexpr uint32_t kWidth = 1920;
constexpr uint32_t kHeight = 1080;

// The services for every benchmark of the run.
void services() {
  static System::ServiceHolder<Media::Direct3DService> direct3D;
  static System::ServiceHolder<Media::Direct2DService> direct2D;
}

// A full-HD frame in the working format, every half float 0.5.
Media::ImageBuffer frameImage() {
  Media::ImageBuffer image(10, kWidth, kHeight);
  auto* halves = reinterpret_cast<uint16_t*>(image.data());
  for (uint64_t i = 0; i < image.usedSize() / 2; ++i) halves[i] = 0x3800;
  return image;
}

// A frame through the shaders: uploaded, one full-image pixel pass (a built-in shader with a
// constant buffer), one compute pass over the result in place, read back.
void BM_GpuShaderPassesRoundTrip(benchmark::State& state) {
  services();
  const Media::ImageBuffer image = frameImage();
  Media::PixelShader opacity;
  const auto& pixelCode = Media::findBuiltinShaderCode("opacity_ps");
  opacity.loadFromMemory(pixelCode.code, pixelCode.size);
  Media::ComputeShader premultiply;
  const auto& computeCode = Media::findBuiltinShaderCode("premultiply_cs");
  premultiply.loadFromMemory(computeCode.code, computeCode.size);
  Media::ConstantBufferCommon alpha, size;
  const float alphaValue[4] = {0.75f, 0, 0, 0};
  const uint32_t sizeValue[4] = {kWidth, kHeight, 0, 0};
  Media::ConstantBufferCommon::create(alpha, alphaValue, sizeof(alphaValue));
  Media::ConstantBufferCommon::create(size, sizeValue, sizeof(sizeValue));
  Media::ResourceBuffer target(kWidth, kHeight);
  const auto view = target.createUnorderedAccessView();
  for (auto _ : state) {
    Media::ResourceBuffer source;
    source.create(image);
    opacity.drawInputWithConstants(target, source, alpha, nullptr);
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Compute, 0, &size);
    Media::ShaderBindings::setUnorderedAccess(0, view.get());
    premultiply.dispatch((kWidth + 7) / 8, (kHeight + 7) / 8, 1);
    Media::ShaderBindings::setUnorderedAccess(0, nullptr);
    benchmark::DoNotOptimize(target.readBack());
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 8);
}

// The passes alone, on an image already on the GPU.
void BM_GpuPixelPass(benchmark::State& state) {
  services();
  Media::PixelShader opacity;
  const auto& code = Media::findBuiltinShaderCode("opacity_ps");
  opacity.loadFromMemory(code.code, code.size);
  Media::ConstantBufferCommon alpha;
  const float alphaValue[4] = {0.75f, 0, 0, 0};
  Media::ConstantBufferCommon::create(alpha, alphaValue, sizeof(alphaValue));
  Media::ResourceBuffer source;
  source.create(frameImage());
  Media::ResourceBuffer target(kWidth, kHeight);
  for (auto _ : state) {
    opacity.drawInputWithConstants(target, source, alpha, nullptr);
    glFinish();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 8);
}

void BM_GpuComputePass(benchmark::State& state) {
  services();
  Media::ComputeShader premultiply;
  const auto& code = Media::findBuiltinShaderCode("premultiply_cs");
  premultiply.loadFromMemory(code.code, code.size);
  Media::ConstantBufferCommon size;
  const uint32_t sizeValue[4] = {kWidth, kHeight, 0, 0};
  Media::ConstantBufferCommon::create(size, sizeValue, sizeof(sizeValue));
  Media::ResourceBuffer target(kWidth, kHeight);
  const auto view = target.createUnorderedAccessView();
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Compute, 0, &size);
  Media::ShaderBindings::setUnorderedAccess(0, view.get());
  for (auto _ : state) {
    premultiply.dispatch((kWidth + 7) / 8, (kHeight + 7) / 8, 1);
    glFinish();
  }
  Media::ShaderBindings::setUnorderedAccess(0, nullptr);
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 8);
}

// A line of text drawn into a full-HD GPU image: laid out, turned into an outline, drawn
// with an edge, uploaded and laid over the image.
void BM_GpuTextIntoImage(benchmark::State& state) {
  services();
  Media::ResourceBuffer target(kWidth, kHeight);
  const float clear[4] = {0, 0, 0, 0};
  target.clearRenderTarget(clear);
  PangoContext* context = pango_font_map_create_context(Media::Direct2DService::Get().fontMap());
  PangoFontDescription* font = pango_font_description_from_string("Noto Sans CJK JP 64px");
  const Media::SolidColorBrush fill({1, 1, 1, 1}), edge({0, 0, 0, 1});
  for (auto _ : state) {
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, "Velumo Kivrun2 テキストの描画 0123456789", -1);
    const auto outline = Media::PathGeometry::createFromLayout(layout);
    g_object_unref(layout);
    Media::ResourceBuffer::Surface surface(target);
    surface.target().drawGeometry(*outline, &fill, 100, 400, &edge, 4.0f, nullptr);
    surface.endDraw();
    glFinish();
  }
  pango_font_description_free(font);
  g_object_unref(context);
}

// A full-HD YUY2 frame in main memory (mid grey) converted into the working format: upload,
// the colour-space pass, then a wait for the GPU.
void BM_GpuConvertYuy2ToWorking(benchmark::State& state) {
  services();
  auto image = Media::ImageBuffer::makeShared(107, kWidth, kHeight);
  std::memset(image->data(), 128, static_cast<std::size_t>(image->usedSize()));
  Media::ResourceBuffer target(kWidth, kHeight);
  for (auto _ : state) {
    Media::ResourceConvert().convert(*image, target);
    glFinish();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 2);
}

// A full-HD frame in the working format converted into a YUY2 image in main memory: the
// colour-space pass into 8 bits, the read-back and the packing of pixel pairs.
void BM_GpuConvertWorkingToYuy2(benchmark::State& state) {
  services();
  Media::ResourceBuffer source;
  source.create(frameImage());
  Media::RenderBuffer frame(kWidth, kHeight);
  Media::copyTexture(*frame.texture(), *source.texture(), "BM_GpuConvertWorkingToYuy2");
  for (auto _ : state) benchmark::DoNotOptimize(frame.createImageBuffer(107, false));
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 8);
}

BENCHMARK(BM_GpuShaderPassesRoundTrip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuPixelPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuComputePass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuTextIntoImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuConvertYuy2ToWorking)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuConvertWorkingToYuy2)->Unit(benchmark::kMillisecond);

}  // namespace
