// Pixel and compute shaders on the device: passes compared with the same maths on the CPU,
// constants in HLSL packing, the choice of the quad draw and the binding of samplers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "gpu/gpu_test_support.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/builtin_shader_code.h"
#include "gpu/shader/compute_shader.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "gpu/shader/sampler_state_list.h"

namespace {

using testing::HasSubstr;
using TestSupport::GpuTest;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

// An image of premultiplied colours in half floats, the same for every run.
std::shared_ptr<Media::ImageBuffer> noiseImage(uint32_t width, uint32_t height) {
  auto image = Media::ImageBuffer::makeShared(10, width, height);
  std::mt19937 random(7);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const float alpha = unit(random);
      TestSupport::setHalfPixel(*image, x, y,
                                {unit(random) * alpha, unit(random) * alpha, unit(random) * alpha, alpha});
    }
  return image;
}

// What the image holds after a round trip through half floats.
Rgba stored(const Media::ImageBuffer& image, uint32_t x, uint32_t y) { return halfPixel(image, x, y); }

void loadBuiltin(Media::PixelShader& shader, const char* name) {
  const auto& code = Media::findBuiltinShaderCode(name);
  shader.loadFromMemory(code.code, code.size);
}

// A built-in pixel shader (compiled when the program was built) drawn over a whole image.
TEST_F(GpuTest, BuiltInPixelPassMatchesTheCpu) {
  constexpr uint32_t kWidth = 37, kHeight = 23;
  const auto image = noiseImage(kWidth, kHeight);
  Media::ResourceBuffer source;
  source.create(*image);
  Media::ResourceBuffer target(kWidth, kHeight);

  Media::PixelShader opacity;
  loadBuiltin(opacity, "opacity_ps");
  ASSERT_TRUE(opacity.hasDrawFunction());
  Media::ConstantBufferCommon constants;
  const float alpha[4] = {0.37f, 0, 0, 0};
  Media::ConstantBufferCommon::create(constants, alpha, sizeof(alpha));
  opacity.drawInputWithConstants(target, source, constants, nullptr);

  const auto result = target.readBack();
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x) {
      Rgba expected = stored(*image, x, y);
      for (float& channel : expected) channel *= 0.37f;
      ASSERT_TRUE(nearHalf(halfPixel(*result, x, y), expected)) << x << ", " << y;
    }
}

// The textured quad puts texture coordinate (0, 0) on the first row in memory, and the
// pixel position is the centre of the pixel, as the shaders are written for.
TEST_F(GpuTest, TexturedQuadCoordinatesAndPixelPositions) {
  Media::PixelShader shader;
  shader.compile("coordinates.hlsl",
                 "float4 main(float4 p : SV_Position, float2 uv : TEXCOORD0) : SV_Target {\n"
                 "  return float4(uv, p.xy / 16); }\n",
                 "main");
  Media::RenderBuffer target(8, 4);
  Media::ResourceBuffer unused(1, 1);
  shader.copyToRender(target, unused);
  const auto result = target.readBack();
  for (uint32_t y = 0; y < 4; ++y)
    for (uint32_t x = 0; x < 8; ++x)
      ASSERT_TRUE(nearHalf(halfPixel(*result, x, y),
                           {(x + 0.5f) / 8, (y + 0.5f) / 4, (x + 0.5f) / 16, (y + 0.5f) / 16}))
          << x << ", " << y;
}

// The program writes constants in HLSL packing; the shader reads the same values whether its
// GL block has the same layout or a repacked one, and again after an update.
TEST_F(GpuTest, ConstantsInHlslPackingReachTheShader) {
  Media::PixelShader shader;
  shader.compile("constants.hlsl",
                 "cbuffer constant0 : register(b0) {\n"
                 "  float alpha; int2 offset; float3 tint; float4x4 transform;\n"
                 "  float arr[2]; float after; };\n"
                 "float4 main(float4 p : SV_Position) : SV_Target {\n"
                 "  if (p.x < 1) return float4(alpha, offset, after);\n"
                 "  if (p.x < 2) return float4(tint, arr[1]);\n"
                 "  return mul(transform, float4(1, 2, 3, 4)); }\n",
                 "main");
  const auto& layout = *shader.reflection()->findConstantBuffer("constant0");
  EXPECT_FALSE(layout.sameLayout);
  ASSERT_EQ(layout.size, 128u);

  // Offsets of the HLSL packing: alpha 0, offset 4, tint 16, transform 32 (one register per
  // column), arr 96 and 112, after 116.
  uint8_t bytes[128] = {};
  auto put = [&](uint32_t at, float value) { std::memcpy(bytes + at, &value, 4); };
  auto putInt = [&](uint32_t at, int32_t value) { std::memcpy(bytes + at, &value, 4); };
  put(0, 0.5f);
  putInt(4, 3);
  putInt(8, -2);
  put(16, 0.25f), put(20, 0.125f), put(24, 2.0f);
  float matrix[4][4];  // matrix[row][column]
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      matrix[r][c] = static_cast<float>(r * 4 + c) / 8;
      put(32 + c * 16 + r * 4, matrix[r][c]);
    }
  put(96, 7.0f), put(112, 1.5f), put(116, 9.0f);

  Media::ConstantBufferCommon constants;
  Media::ConstantBufferCommon::create(constants, bytes, sizeof(bytes));
  Media::ResourceBuffer target(3, 1);
  shader.drawWithConstants(target, constants, nullptr);
  auto result = target.readBack();
  EXPECT_TRUE(nearHalf(halfPixel(*result, 0, 0), {0.5f, 3, -2, 9}));
  EXPECT_TRUE(nearHalf(halfPixel(*result, 1, 0), {0.25f, 0.125f, 2, 1.5f}));
  Rgba product{};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) product[r] += matrix[r][c] * static_cast<float>(c + 1);
  EXPECT_TRUE(nearHalf(halfPixel(*result, 2, 0), product));

  put(0, 0.75f);
  constants.update(bytes);
  shader.drawWithConstants(target, constants, nullptr);
  result = target.readBack();
  EXPECT_TRUE(nearHalf(halfPixel(*result, 0, 0), {0.75f, 3, -2, 9}));

  // A buffer smaller than the block: what it lacks reads as zeros.
  Media::ConstantBufferCommon shortBuffer;
  Media::ConstantBufferCommon::create(shortBuffer, bytes, 16);
  shader.drawWithConstants(target, shortBuffer, nullptr);
  result = target.readBack();
  EXPECT_TRUE(nearHalf(halfPixel(*result, 0, 0), {0.75f, 3, -2, 0}));
  EXPECT_TRUE(nearHalf(halfPixel(*result, 1, 0), {0, 0, 0, 0}));
}

TEST_F(GpuTest, ConstantBufferSizesAreChecked) {
  Media::ConstantBufferCommon constants;
  for (uint32_t size : {0u, 65537u})
    EXPECT_THAT([&] { Media::ConstantBufferCommon::create(constants, nullptr, size); },
                testing::ThrowsMessage<std::exception>(AllOf(
                    HasSubstr("Direct3DService::Get().device->CreateBuffer() failed."),
                    HasSubstr("Media::ConstantBufferCommon::create()"))));
  EXPECT_TRUE(constants.empty());
}

// The signature chooses the quad draw; other signatures draw nothing through the family.
TEST_F(GpuTest, TheSignatureChoosesTheQuadDraw) {
  struct Case {
    const char* name;
    const char* parameters;
    const char* use;
    bool draws;
  };
  // min(abs(v), 0) reads an input without changing the colour (v * 0 would be folded away,
  // and an input the code never reads leaves no trace in it).
  const Case cases[] = {
      {"position", "float4 p : SV_Position", "min(abs(p.x), 0)", true},
      {"position unread", "float4 p : SV_Position", "0", true},
      {"position and coordinates", "float4 p : SV_Position, float2 uv : TEXCOORD",
       "min(abs(uv.x), 0)", true},
      {"coordinates with the position unread", "float4 p : SV_Position, float2 uv : TEXCOORD",
       "min(abs(uv.x), 0)", true},
      {"position and colour", "float4 p : SV_Position, float4 c : COLOR", "min(abs(c.x), 0)", false},
      {"colour unread", "float4 p : SV_Position, float4 c : COLOR", "0", true},
      {"two coordinates", "float4 p : SV_Position, float2 a : TEXCOORD0, float2 b : TEXCOORD1",
       "min(abs(a.x + b.x), 0)", false},
      {"integer coordinates", "float4 p : SV_Position, int2 uv : TEXCOORD", "min(abs(uv.x), 0)",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string source = std::string("float4 main(") + c.parameters +
                               ") : SV_Target { return float4(1, 1, 1, 1) + " + c.use + "; }\n";
    Media::PixelShader shader;
    shader.compile("choice.hlsl", source.c_str(), "main");
    EXPECT_EQ(shader.hasDrawFunction(), c.draws);
    Media::ResourceBuffer target(2, 2);
    Media::ResourceBuffer input(2, 2);
    const float clear[4] = {0, 0, 0, 0};
    target.clearRenderTarget(clear);
    shader.drawInput(target, input, nullptr);
    const float expected = c.draws ? 1.0f : 0.0f;
    EXPECT_TRUE(nearHalf(halfPixel(*target.readBack(), 1, 1), {expected, expected, expected, expected}));
  }
}

TEST_F(GpuTest, CodeOfAnotherStageIsRefused) {
  const auto& code = Media::findBuiltinShaderCode("premultiply_cs");
  Media::PixelShader shader;
  EXPECT_THAT([&] { shader.loadFromMemory(code.code, code.size); },
              testing::ThrowsMessage<std::exception>(AllOf(
                  HasSubstr("Direct3D.device->CreatePixelShader() failed."),
                  HasSubstr("Media::PixelShader::loadFromMemory()"))));
  EXPECT_FALSE(shader.loaded());
}

// A texture sampled with the sampler of another slot is filtered by that sampler: a linear
// sample half-way between a black and a white texel is grey, a nearest one is not.
TEST_F(GpuTest, ATextureSampledWithAnotherSlotsSampler) {
  Media::PixelShader shader;
  shader.compile("sampling.hlsl",
                 "Texture2D texture0 : register(t0);\n"
                 "Texture2D texture1 : register(t1);\n"
                 "SamplerState sampler0 : register(s0);\n"
                 "float4 main(float4 p : SV_Position, float2 uv : TEXCOORD) : SV_Target {\n"
                 "  return texture1.Sample(sampler0, float2(0.5, 0.5)) + texture0.Load(int3(0, 0, 0)); }\n",
                 "main");
  auto pair = Media::ImageBuffer::makeShared(10, 2, 1);
  TestSupport::setHalfPixel(*pair, 0, 0, {0, 0, 0, 1});
  TestSupport::setHalfPixel(*pair, 1, 0, {1, 1, 1, 1});
  Media::ResourceBuffer black(1, 1);
  const float zero[4] = {0, 0, 0, 0};
  black.clearRenderTarget(zero);
  Media::ResourceBuffer texture;
  texture.create(*pair);
  Media::ResourceBuffer target(1, 1);

  Shader::SamplerStateList samplers;
  service().context().bindPixelSampler0(samplers.get(1));  // linear, clamp
  shader.drawTwoInputs(target, black, texture, nullptr);
  EXPECT_TRUE(nearHalf(halfPixel(*target.readBack(), 0, 0), {0.5f, 0.5f, 0.5f, 1}));

  service().context().bindPixelSampler0(samplers.get(6));  // point, clamp
  shader.drawTwoInputs(target, black, texture, nullptr);
  const float value = halfPixel(*target.readBack(), 0, 0)[0];
  EXPECT_TRUE(value == 0.0f || value == 1.0f) << value;
  service().context().bindPixelSampler0(nullptr);
}

// A built-in compute shader over an image in place, through its unordered-access view.
TEST_F(GpuTest, BuiltInComputePassMatchesTheCpu) {
  constexpr uint32_t kWidth = 21, kHeight = 13;
  auto image = Media::ImageBuffer::makeShared(10, kWidth, kHeight);
  std::mt19937 random(11);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x)
      TestSupport::setHalfPixel(*image, x, y, {unit(random), unit(random), unit(random), unit(random)});
  Media::ResourceBuffer buffer(kWidth, kHeight);
  buffer.writePixels(0, 0, kWidth, kHeight, 10, image->data(), image->pitch, image->usedSize());

  Media::ComputeShader premultiply;
  const auto& code = Media::findBuiltinShaderCode("premultiply_cs");
  premultiply.loadFromMemory(code.code, code.size);
  EXPECT_EQ(premultiply.reflection()->threadGroupSize(), (std::array<uint32_t, 3>{8, 8, 1}));
  Media::ConstantBufferCommon constants;
  const uint32_t size[4] = {kWidth, kHeight, 0, 0};
  Media::ConstantBufferCommon::create(constants, size, sizeof(size));
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Compute, 0, &constants);
  const auto view = buffer.createUnorderedAccessView();
  Media::ShaderBindings::setUnorderedAccess(0, view.get());
  premultiply.dispatch((kWidth + 7) / 8, (kHeight + 7) / 8, 1);
  Media::ShaderBindings::setUnorderedAccess(0, nullptr);

  const auto result = buffer.readBack();
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x) {
      const Rgba in = stored(*image, x, y);
      ASSERT_TRUE(nearHalf(halfPixel(*result, x, y), {in[0] * in[3], in[1] * in[3], in[2] * in[3], in[3]}))
          << x << ", " << y;
    }
}

// A shader compiled at run time that sums each row in group-shared memory: a loop of
// halving steps, each behind a barrier.
TEST_F(GpuTest, RunTimeComputeWithGroupSharedMemoryAndBarriers) {
  constexpr uint32_t kWidth = 64, kRows = 4;
  Media::ComputeShader sum;
  sum.compile("sum.hlsl",
              "Texture2D<float> values : register(t0);\n"
              "RWTexture2D<float> sums : register(u0);\n"
              "groupshared float partial[64];\n"
              "[numthreads(64, 1, 1)]\n"
              "void main(uint3 group : SV_GroupID, uint index : SV_GroupIndex) {\n"
              "  partial[index] = values.Load(int3(index, group.y, 0));\n"
              "  GroupMemoryBarrierWithGroupSync();\n"
              "  for (uint stride = 32; stride > 0; stride >>= 1) {\n"
              "    if (index < stride) partial[index] += partial[index + stride];\n"
              "    GroupMemoryBarrierWithGroupSync();\n"
              "  }\n"
              "  if (index == 0) sums[uint2(0, group.y)] = partial[0];\n"
              "}\n",
              "main");
  std::vector<float> values(kWidth * kRows);
  std::vector<double> expected(kRows, 0.0);
  for (uint32_t row = 0; row < kRows; ++row)
    for (uint32_t i = 0; i < kWidth; ++i) {
      values[row * kWidth + i] = static_cast<float>((i * 7 + row * 3) % 11) * 0.25f;
      expected[row] += values[row * kWidth + i];
    }
  Media::ResourceBuffer input(kWidth, kRows, Media::DxgiFormat::R32_FLOAT);
  input.writePixels(0, 0, kWidth, kRows, Media::DxgiFormat::R32_FLOAT, values.data(), kWidth * 4,
                    values.size() * 4);
  Media::ResourceBuffer output(1, kRows, Media::DxgiFormat::R32_FLOAT);
  output.clear(-1.0f);

  const auto inputView = input.createShaderResourceView();
  const auto outputView = output.createUnorderedAccessView();
  Media::ShaderBindings::setShaderResource(0, inputView.get());
  Media::ShaderBindings::setUnorderedAccess(0, outputView.get());
  sum.dispatch(1, kRows, 1);
  Media::ShaderBindings::setUnorderedAccess(0, nullptr);
  Media::ShaderBindings::setShaderResource(0, nullptr);

  const auto result = output.readBack();
  for (uint32_t row = 0; row < kRows; ++row) {
    float value;
    std::memcpy(&value, result->row(row), 4);
    EXPECT_NEAR(value, expected[row], 1e-4) << row;
  }
}

}  // namespace
