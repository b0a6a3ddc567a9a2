// Drawing into masks (images that store alpha alone) and the context's cache of bound
// states, which must never mistake a new object for a destroyed one at the same address.
#include <gtest/gtest.h>

#include <optional>
#include <variant>

#include "gpu/gl/program_bindings.h"
#include "gpu/gl/shader_program.h"
#include "gpu/gpu_test_support.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pipeline_state.h"
#include "gpu/shader/pixel_shader.h"

namespace {

using Media::Blend;
using Media::BlendDescription;
using Media::BlendState;
using Media::ResourceBuffer;
using TestSupport::GpuTest;
using TestSupport::halfPixel;
using TestSupport::nearHalf;

constexpr const char* kConstantColourSource =
    "cbuffer constant0 : register(b0) { float4 colour; };\n"
    "float4 main(float4 p : SV_Position) : SV_Target { return colour; }\n";

struct ColourShader {
  ColourShader(const float (&colour)[4]) {
    shader.compile("colour.hlsl", kConstantColourSource, "main");
    Media::ConstantBufferCommon::create(constants, colour, sizeof(colour));
  }
  Media::PixelShader shader;
  Media::ConstantBufferCommon constants;
};

// The shader draws (0.2, 0.4, 0.6, 0.8) over a mask holding 0.5; the mask keeps the
// alpha, blended with the alpha row of the state.
TEST_F(GpuTest, AMaskKeepsTheAlphaThatAShaderWrites) {
  BlendDescription over;  // premultiplied over, with colour factors that differ from alpha's
  over.enable = true;
  over.srcColor = Blend::SRC_ALPHA;
  over.destColor = Blend::INV_SRC_ALPHA;
  over.srcAlpha = Blend::ONE;
  over.destAlpha = Blend::INV_SRC_ALPHA;
  BlendDescription destination;  // alpha times the stored alpha
  destination.enable = true;
  destination.srcColor = Blend::ONE;
  destination.destColor = Blend::ZERO;
  destination.srcAlpha = Blend::DEST_ALPHA;
  destination.destAlpha = Blend::ZERO;
  BlendDescription colourOnly;
  colourOnly.writeMask = 7;
  struct Case {
    const char* name;
    std::optional<BlendDescription> blend;
    int expected;  // stored byte
  };
  const Case cases[] = {
      {"no blending", std::nullopt, 204},      // 0.8
      {"over", over, 230},                     // 0.8 + 0.5 x 0.2
      {"destination alpha", destination, 102}, // 0.8 x 0.5
      {"alpha not written", colourOnly, 128},
  };
  const float colour[4] = {0.2f, 0.4f, 0.6f, 0.8f};
  ColourShader draw(colour);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<BlendState> state;
    if (c.blend) state.emplace(*c.blend);
    auto mask = ResourceBuffer::createBuffer(2, 2, 65);
    mask->clear(0.5f);
    draw.shader.drawWithConstants(*mask, draw.constants, state ? &*state : nullptr);
    EXPECT_NEAR(mask->readBack()->row(1)[1], c.expected, 1);
  }

  // The same state bound for a colour image right after blends the colours again.
  const BlendState state(over);
  auto mask = ResourceBuffer::createBuffer(1, 1, 65);
  draw.shader.drawWithConstants(*mask, draw.constants, &state);
  ResourceBuffer image(1u, 1u);
  image.clear(0.5f);
  draw.shader.drawWithConstants(image, draw.constants, &state);
  EXPECT_TRUE(nearHalf(halfPixel(*image.readBack(), 0, 0), {0.26f, 0.42f, 0.58f, 0.9f}));
}

// Draws the full-target quad into the image with the pixel program and blend state given.
void drawQuad(ResourceBuffer& target, Media::ShaderProgram& pixel, const BlendState* blend,
              const Media::GlProgram& vertex) {
  Media::Direct3DService& service = Media::Direct3DService::Get();
  Media::GlContext& context = service.context();
  service.setRenderTargetBuffer(target);
  static const Media::RasterizerState solid{
      Media::RasterizerDescription{Media::FillMode::SOLID, Media::CullMode::NONE}};
  context.bindRasterizerState(&solid);
  context.bindBlendState(blend, nullptr);
  vertex.waitReady();
  context.useVertexProgram(&vertex, vertex.name());
  Media::ProgramBindings::usePixelShader(pixel);
  glBindVertexArray(context.emptyVertexArray());
  {
    const Media::DrawPreparation preparation = Media::ProgramBindings::prepareDraw();
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  }
  service.unbindRenderTargets();
}

std::shared_ptr<Media::ShaderBlob> colourCode(const char* colour) {
  const std::string source =
      std::string("float4 main(float4 p : SV_Position) : SV_Target { return float4(") + colour +
      "); }\n";
  return Media::ShaderCompile::compileFromMemory("fixed.hlsl", source.c_str(), "main", "ps_5_0");
}

// A shader and a blend state are bound, drawn with and destroyed; new ones are made in the
// very same storage. Binding the new ones must reach the device.
TEST_F(GpuTest, ANewObjectWhereADestroyedOneWasIsStillBound) {
  const Media::GlProgram vertex(GL_VERTEX_SHADER, TestSupport::kQuadVertexSource, "test");
  const auto red = colourCode("1, 0, 0, 1");
  const auto green = colourCode("0, 1, 0, 1");
  BlendDescription keepTarget;  // draws leave the image as it was
  keepTarget.enable = true;
  keepTarget.srcColor = keepTarget.srcAlpha = Blend::ZERO;
  keepTarget.destColor = keepTarget.destAlpha = Blend::ONE;

  std::optional<Media::ShaderProgram> pixel;
  std::optional<BlendState> blend;
  ResourceBuffer image(1u, 1u);

  pixel.emplace(red->getBufferPointer(), red->getBufferSize(), Media::ShaderStage::Pixel, "create",
                "test");
  blend.emplace(BlendDescription{});
  drawQuad(image, *pixel, &*blend, vertex);
  EXPECT_TRUE(nearHalf(halfPixel(*image.readBack(), 0, 0), {1, 0, 0, 1}));

  // The blend state at the same address now keeps the target.
  blend.reset();
  blend.emplace(keepTarget);
  image.clear(0.25f);
  drawQuad(image, *pixel, &*blend, vertex);
  EXPECT_TRUE(nearHalf(halfPixel(*image.readBack(), 0, 0), {0.25f, 0.25f, 0.25f, 0.25f}));

  // The shader at the same address now draws green.
  blend.reset();
  blend.emplace(BlendDescription{});
  pixel.reset();
  pixel.emplace(green->getBufferPointer(), green->getBufferSize(), Media::ShaderStage::Pixel,
                "create", "test");
  drawQuad(image, *pixel, &*blend, vertex);
  EXPECT_TRUE(nearHalf(halfPixel(*image.readBack(), 0, 0), {0, 1, 0, 1}));
}

// A shader program is destroyed and a plain GL program is made in its storage, then
// bound and drawn with: the draw must not take the new program for the old shader.
TEST_F(GpuTest, AProgramInTheStorageOfADestroyedShaderIsNotTakenForIt) {
  const Media::GlProgram vertex(GL_VERTEX_SHADER, TestSupport::kQuadVertexSource, "test");
  const auto red = colourCode("1, 0, 0, 1");
  std::variant<std::monostate, Media::ShaderProgram, Media::GlProgram> storage;
  ResourceBuffer image(1u, 1u);

  auto& shader = storage.emplace<Media::ShaderProgram>(red->getBufferPointer(), red->getBufferSize(),
                                                       Media::ShaderStage::Pixel, "create", "test");
  drawQuad(image, shader, nullptr, vertex);
  EXPECT_TRUE(nearHalf(halfPixel(*image.readBack(), 0, 0), {1, 0, 0, 1}));

  const auto& green = storage.emplace<Media::GlProgram>(
      GL_FRAGMENT_SHADER,
      "#version 450 core\nlayout(location = 0) out vec4 result;\n"
      "void main() { result = vec4(0.0, 1.0, 0.0, 1.0); }\n",
      "test");
  ASSERT_EQ(static_cast<const void*>(&green), static_cast<const void*>(&shader));
  Media::Direct3DService& service = Media::Direct3DService::Get();
  Media::GlContext& context = service.context();
  service.setRenderTargetBuffer(image);
  context.bindBlendState(nullptr, nullptr);
  green.waitReady();
  context.usePixelProgram(&green, green.name());
  {
    const Media::DrawPreparation preparation = Media::ProgramBindings::prepareDraw();
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  }
  service.unbindRenderTargets();
  EXPECT_TRUE(nearHalf(halfPixel(*image.readBack(), 0, 0), {0, 1, 0, 1}));
}

}  // namespace
