#include <benchmark/benchmark.h>
#include <epoxy/gl.h>
#include <pango/pangocairo.h>

#include <cstring>

#include "gpu/direct3d_service.h"
#include "gpu/gl/gl_context.h"
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
#include "gpu/shader/pipeline_state.h"
#include "gpu/shader/shader_binding.h"
#include "gpu/shader/vertex_list.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/shader_3d_set.h"
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

// Text drawn into a full-HD GPU image at (x, y): laid out (wrapped at `wrapWidth` pixels when
// it is above 0), turned into an outline, drawn with an edge, uploaded and laid over the image.
void drawTextIntoImage(benchmark::State& state, const char* text, int wrapWidth, float x,
                       float y) {
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
    if (wrapWidth > 0) {
      pango_layout_set_width(layout, wrapWidth * PANGO_SCALE);
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    pango_layout_set_text(layout, text, -1);
    const auto outline = Media::PathGeometry::createFromLayout(layout);
    g_object_unref(layout);
    Media::ResourceBuffer::Surface surface(target);
    surface.target().drawGeometry(*outline, &fill, x, y, &edge, 4.0f, nullptr);
    surface.endDraw();
    glFinish();
  }
  pango_font_description_free(font);
  g_object_unref(context);
}

// A line of text.
void BM_GpuTextIntoImage(benchmark::State& state) {
  drawTextIntoImage(state, "Velumo Kivrun2 テキストの描画 0123456789", 0, 100, 400);
}

// 100 characters of Japanese and Latin text wrapped at 1800 pixels (five lines).
void BM_GpuText100CharactersIntoImage(benchmark::State& state) {
  const char* text =
      "字幕のテキストを画像に描く速さを測ります。Subtitles and titles are drawn as outlines "
      "with an edge: 0123456789 かなカナ漢字まじり文。";
  if (g_utf8_strlen(text, -1) != 100) {
    state.SkipWithError("the text is not 100 characters long");
    return;
  }
  drawTextIntoImage(state, text, 1800, 60, 300);
  state.SetItemsProcessed(state.iterations() * 100);
}


// The 3-D set of the run, made after the device.
Resource::Shader3dSet& shader3dSet() {
  services();
  static Resource::Shader3dSet set;
  return set;
}

// A grid of `quads` coloured quads, half of them transparent, over a full-HD frame.
Media::VertexListQuadPosColor quadGrid(int quads) {
  Media::VertexListQuadPosColor list;
  for (int i = 0; i < quads; ++i) {
    const float x = static_cast<float>((i * 37) % 1800), y = static_cast<float>((i * 53) % 1000);
    const float z = 0.2f + 0.6f * static_cast<float>(i % 7) / 7.0f;
    const float a = i % 2 ? 0.5f : 1.0f;
    for (auto [dx, dy] : {std::pair{0.0f, 0.0f}, {120.0f, 0.0f}, {120.0f, 80.0f}, {0.0f, 80.0f}})
      list.vertices.push_back({x + dx, y + dy, z, 0.8f, 0.4f, 0.2f, a});
  }
  return list;
}

// Appending a list of quads through a matrix, as scripts and particles build their geometry.
void BM_VertexListAppendTransformed(benchmark::State& state) {
  const Media::VertexListQuadPosColor source = quadGrid(static_cast<int>(state.range(0)));
  const float matrix[16] = {0.9f, 0.1f, 0, 0, -0.1f, 0.9f, 0, 0, 0, 0, 1, 0.001f, 5, 7, 0, 1};
  for (auto _ : state) {
    Media::VertexListQuadPosColor target;
    target.appendTransformed(source, matrix, 0.5f);
    benchmark::DoNotOptimize(target.vertices.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Quads with normals drawn against the depth and transparency buffers of a full-HD frame.
void BM_GpuVertexListDepthDraw(benchmark::State& state) {
  Resource::Shader3dSet& set = shader3dSet();
  const Media::VertexListQuadPosColor list = quadGrid(static_cast<int>(state.range(0)));
  Media::RenderBuffer frame(kWidth, kHeight);
  auto& c = set.constants();
  const float projection[16] = {2.0f / kWidth, 0, 0, -1, 0, -2.0f / kHeight, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1};
  const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  std::memcpy(c.projection, projection, sizeof(projection));
  std::memcpy(c.normalWorld, identity, sizeof(identity));
  set.uploadConstants();
  const Media::RasterizerState noCulling(Media::RasterizerDescription{.cull = Media::CullMode::NONE});
  const auto frameView = frame.createResourceBuffer(true)->createShaderResourceView();
  const std::shared_ptr<const Media::UnorderedAccessView> views[] = {
      frame.getOitDepthBuffer1()->createUnorderedAccessView(), frame.getOitColorBuffer1()->createUnorderedAccessView(),
      frame.getOitDepthBuffer2()->createUnorderedAccessView(), frame.getOitColorBuffer2()->createUnorderedAccessView(),
      frame.getOitColorBuffer3()->createUnorderedAccessView()};
  const Media::UnorderedAccessView* bound[5];
  for (int i = 0; i < 5; ++i) bound[i] = views[i].get();
  Media::VertexListQuadPosColor drawn = list;
  for (auto _ : state) {
    Media::Direct3DService::Get().setRenderTargetAndUnorderedAccess(frame, 5, bound);
    Media::Direct3DService::Get().context().bindRasterizerState(&noCulling);
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Vertex, 0, &set.constantBuffer());
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &set.constantBuffer());
    Media::ShaderBindings::setShaderResource(1, frameView.get());
    drawn.bindOitShader();
    drawn.drawWithNormal();
    Media::Direct3DService::Get().unbindRenderTargets();
    glFinish();
  }
  Media::ShaderBindings::setShaderResource(1, nullptr);
  state.SetItemsProcessed(state.iterations() * state.range(0));
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
BENCHMARK(BM_GpuText100CharactersIntoImage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VertexListAppendTransformed)->Arg(4096);
BENCHMARK(BM_GpuVertexListDepthDraw)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuConvertYuy2ToWorking)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuConvertWorkingToYuy2)->Unit(benchmark::kMillisecond);

}  // namespace
