// Each built-in pass that draws a whole target from an input image, on a full-HD frame in
// the working format already on the GPU: one pass, then a wait for the GPU (glFinish) so
// that the time is the pass's own. One benchmark per entry, BM_GpuBuiltinPass/<entry name>,
// timed by the wall clock: the drawing runs on the driver's threads, not the caller's.
//
// Most passes draw a full-HD target. The shrinking ones read the whole frame into a smaller
// target, as they are used: the box reductions by 4 along their axis, the resize to half of
// each side (2 x 2 samples a pixel).
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "gpu/direct3d_service.h"
#include "gpu/image/image_buffer.h"
#include "gpu/resource/pixel_shader_list.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/blend_state_list.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/sampler_state_list.h"
#include "gpu/shader/shader_binding.h"
#include "system/service_holder.h"

namespace {

using Resource::PixelShaderList;

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;

// A full-HD frame in the working format: every half float 0.5 (colour and alpha).
Media::ImageBuffer frameImage() {
  Media::ImageBuffer image(10, kWidth, kHeight);
  auto* halves = reinterpret_cast<uint16_t*>(image.data());
  for (uint64_t i = 0; i < image.usedSize() / 2; ++i) halves[i] = 0x3800;
  return image;
}

// The device, the shader list and the inputs for every pass of the run; the list goes
// before the device.
struct PassWorld {
  PassWorld() {
    const Media::ImageBuffer image = frameImage();
    frame.create(image);
    second.create(image);
  }
  System::ServiceHolder<Media::Direct3DService> direct3D;
  PixelShaderList list;
  Shader::SamplerStateList samplers;
  Shader::BlendStateList blends;
  Media::ResourceBuffer frame;
  Media::ResourceBuffer second;
};

PassWorld& world() {
  static PassWorld instance;
  return instance;
}

// The constants of one pass, written as floats or integers (80 bytes for the transforms).
struct Constants {
  std::array<uint8_t, 80> bytes{};
  uint32_t size = 16;
  Constants& f(int at, float value) {
    std::memcpy(bytes.data() + at * 4, &value, 4);
    return *this;
  }
  Constants& i(int at, int32_t value) {
    std::memcpy(bytes.data() + at * 4, &value, 4);
    return *this;
  }
};

// The identity transform with no offset.
Constants transformConstants() {
  Constants c;
  c.size = 80;
  for (int k = 0; k < 4; ++k) c.f(k * 5, 1.0f);
  return c;
}

struct Pass {
  int entry;
  Constants constants;
  int32_t width = kWidth, height = kHeight;  // of the target
  bool twoInputs = false;
  int blend = -1;  // blend-state entry, -1: none
};

// Every entry with an input, with constants of an ordinary use; the fill and white passes
// read nothing and are left out.
const Pass kPasses[] = {
    {PixelShaderList::kInputTransform, transformConstants()},
    {PixelShaderList::kOutputTransform, transformConstants()},
    {PixelShaderList::kCopy, {}},
    {PixelShaderList::kCopyOffset, Constants().i(0, 3).i(1, -2)},
    {PixelShaderList::kCopyOffsetClamp, Constants().i(0, 3).i(1, -2)},
    // As the mask wipes draw it: the second input is the mix factor of blend entry 4.
    {PixelShaderList::kCopyTwoTargets, {}, kWidth, kHeight, true, 4},
    {PixelShaderList::kCoverageColor, Constants().f(0, 1).f(1, 0.5f).f(2, 0.25f).f(3, 1)},
    {PixelShaderList::kOpacity, Constants().f(0, 0.75f)},
    {PixelShaderList::kOpacityOffset, Constants().f(0, 0.75f).i(1, 3).i(2, -2)},
    {PixelShaderList::kSampledCopy, {}},
    {PixelShaderList::kPremultiply, {}},
    {PixelShaderList::kUnpremultiply, {}},
    {PixelShaderList::kOpaqueCopy, {}},
    {PixelShaderList::kClampToAlpha, {}},
    {PixelShaderList::kSaturate, {}},
    {PixelShaderList::kBoxReduceHorizontal, Constants().i(0, 4).i(1, 0), kWidth / 4, kHeight},
    {PixelShaderList::kBoxReduceVertical, Constants().i(0, 4).i(1, 0), kWidth, kHeight / 4},
    {PixelShaderList::kResample, Constants().f(0, 2).f(1, 2), kWidth / 2, kHeight / 2},
    {PixelShaderList::kBrightPass, Constants().f(0, 0.3f).f(1, 2).f(2, 1)},
    {PixelShaderList::kExponential, Constants().f(0, 0.7f)},
    {PixelShaderList::kLogarithmic, Constants().f(0, 1 / 0.7f)},
    {PixelShaderList::kLuminanceKey, Constants().f(0, 0.2f).f(1, 0.7f).f(2, 1).f(3, 1)},
    // Mode 0 at full opacity over the frame, as the 2-D output draws objects.
    {PixelShaderList::kBlendMode, Constants().i(0, 0).f(1, 1), kWidth, kHeight, true, 0},
    {PixelShaderList::kBlendModeOffset, Constants().i(0, 0).f(1, 1).i(2, 3).i(3, -2), kWidth,
     kHeight, true, 0},
};

void BM_GpuBuiltinPass(benchmark::State& state, const Pass& pass) {
  PassWorld& w = world();
  Media::ResourceBuffer target(pass.width, pass.height);
  const float clear[4] = {0, 0, 0, 0};
  target.clearRenderTarget(clear);
  Media::ConstantBufferCommon constants;
  Media::ConstantBufferCommon::create(constants, pass.constants.bytes.data(), pass.constants.size);
  // Linear filtering with clamped edges for the passes that sample.
  Media::ShaderBindings::setSampler(0, w.samplers.get(1));
  const Media::BlendState* blend = pass.blend >= 0 ? w.blends.get(std::size_t(pass.blend)) : nullptr;
  Media::PixelShader& shader = w.list.entry(pass.entry);
  for (auto _ : state) {
    if (pass.twoInputs) {
      Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &constants);
      shader.drawTwoInputs(target, w.frame, w.second, blend);
    } else {
      shader.drawInputWithConstants(target, w.frame, constants, blend);
    }
    glFinish();
  }
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, nullptr);
  Media::ShaderBindings::setSampler(0, nullptr);
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 8 * (pass.twoInputs ? 2 : 1));
}

const bool kRegistered = [] {
  for (const Pass& pass : kPasses)
    benchmark::RegisterBenchmark(
        (std::string("BM_GpuBuiltinPass/") + PixelShaderList::entryName(pass.entry)).c_str(),
        BM_GpuBuiltinPass, pass)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  return true;
}();

}  // namespace
