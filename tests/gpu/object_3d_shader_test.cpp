// The 3-D object shaders drawn through vertex lists, checked at chosen pixels against the
// same maths on the CPU: flat drawing with the projection and the blend modes, the depth
// test, the transparent layer and its resolve, and the lighting of the kept normals.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "gpu/gl/fragment_interlock.h"
#include "gpu/gpu_test_support.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/shader_3d_set.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/blend_state_list.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pipeline_state.h"
#include "gpu/shader/sampler_state_list.h"
#include "gpu/shader/shader_binding.h"
#include "gpu/shader/vertex_list.h"

namespace {

using Media::ShaderBindings;
using Media::ShaderStage;
using Resource::Shader3dSet;
using TestSupport::GpuTest;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

constexpr int kSize = 16;
constexpr Rgba kClear = {0.0f, 0.0f, 0.0f, 0.0f};
constexpr Rgba kFrame = {0.5f, 0.5f, 0.5f, 1.0f};

// A rectangle in pixels at depth z (the projection keeps z; the shaders' depth is 51.2 / z).
struct Rect {
  float left, top, right, bottom, z;
};

Media::VertexListQuadPosColor colouredQuad(const Rect& r, const Rgba& colour) {
  Media::VertexListQuadPosColor list;
  const auto [cr, cg, cb, ca] = colour;
  list.vertices = {{r.left, r.top, r.z, cr, cg, cb, ca},
                   {r.right, r.top, r.z, cr, cg, cb, ca},
                   {r.right, r.bottom, r.z, cr, cg, cb, ca},
                   {r.left, r.bottom, r.z, cr, cg, cb, ca}};
  return list;
}

Rgba premultiplied(const Rgba& c, float alpha) {
  return {c[0] * c[3] * alpha, c[1] * c[3] * alpha, c[2] * c[3] * alpha, c[3] * alpha};
}

class Object3dTest : public GpuTest {
 protected:
  void SetUp() override {
    GpuTest::SetUp();
    set_.emplace();
    target_.emplace(kSize, kSize);
    clear(*target_, kClear);
    frame_.emplace();
    frame_->create(*TestSupport::solidHalfImage(kSize, kSize, kFrame));
    frameView_ = frame_->createShaderResourceView();
    // Pixel coordinates with y down onto the target; z kept, w 1.
    auto& c = set_->constants();
    const float projection[16] = {2.0f / kSize, 0, 0, -1, 0, -2.0f / kSize, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1};
    std::memcpy(c.projection, projection, sizeof(projection));
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::memcpy(c.normalWorld, identity, sizeof(identity));
    service().context().bindRasterizerState(&noCulling_);
  }
  void TearDown() override {
    service().unbindRenderTargets();
    for (uint32_t slot = 0; slot < 2; ++slot) ShaderBindings::setShaderResource(slot, nullptr);
    frameView_.reset();
    frame_.reset();
    target_.reset();
    set_.reset();
    GpuTest::TearDown();
  }

  static void clear(Media::RenderBuffer& buffer, const Rgba& colour) {
    buffer.texture()->waitReady();
    glClearTexImage(buffer.texture()->name(), 0, GL_RGBA, GL_FLOAT, colour.data());
  }

  // The constants of the next draws, the frame copy at t1 and the target, with the
  // auxiliary buffers when `depth`.
  void begin(float alpha, int32_t blend, bool depth, float shine = 0.0f) {
    auto& c = set_->constants();
    c.alpha = alpha;
    c.blend = blend;
    c.shine = shine;
    set_->uploadConstants();
    ShaderBindings::setConstantBuffer(ShaderStage::Vertex, 0, &set_->constantBuffer());
    ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 0, &set_->constantBuffer());
    ShaderBindings::setShaderResource(1, frameView_.get());
    service().context().bindBlendState(nullptr, nullptr);
    if (!depth) {
      service().setRenderTarget(*target_);
      return;
    }
    Media::RenderBuffer& t = *target_;
    auxiliaryViews_ = {t.getOitDepthBuffer1()->createUnorderedAccessView(),
                       t.getOitColorBuffer1()->createUnorderedAccessView(),
                       t.getOitDepthBuffer2()->createUnorderedAccessView(),
                       t.getOitColorBuffer2()->createUnorderedAccessView(),
                       t.getOitColorBuffer3()->createUnorderedAccessView()};
    const Media::UnorderedAccessView* views[5];
    for (int i = 0; i < 5; ++i) views[i] = auxiliaryViews_[i].get();
    service().setRenderTargetAndUnorderedAccess(t, 5, views);
  }

  Rgba pixel(int x, int y) { return halfPixel(*target_->readBack(), x, y); }

  static float floatPixel(Media::ResourceBuffer& buffer, int x, int y) {
    const auto image = buffer.readBack();
    float value;
    std::memcpy(&value, image->row(y) + x * 4, 4);
    return value;
  }

  std::optional<Shader3dSet> set_;
  std::optional<Media::RenderBuffer> target_;
  std::optional<Media::ResourceBuffer> frame_;
  std::shared_ptr<const Media::ShaderResourceView> frameView_;
  std::array<std::shared_ptr<const Media::UnorderedAccessView>, 5> auxiliaryViews_;
  Media::RasterizerState noCulling_{Media::RasterizerDescription{.cull = Media::CullMode::NONE}};
  Shader::BlendStateList blends_;
};

TEST_F(Object3dTest, AFlatColouredQuadLandsWhereTheProjectionPutsIt) {
  const Rgba colour = {0.8f, 0.4f, 0.2f, 0.5f};
  auto quad = colouredQuad({4, 4, 12, 12, 0.5f}, colour);
  begin(0.5f, 0, false);
  quad.bindShader();
  quad.draw();
  service().unbindRenderTargets();
  const auto image = target_->readBack();
  const Rgba inside = premultiplied(colour, 0.5f);
  for (auto [x, y] : {std::pair{4, 4}, {11, 11}, {8, 5}})
    EXPECT_TRUE(nearHalf(halfPixel(*image, x, y), inside)) << x << ", " << y;
  for (auto [x, y] : {std::pair{3, 3}, {12, 12}, {8, 2}, {2, 8}})
    EXPECT_TRUE(nearHalf(halfPixel(*image, x, y), kClear)) << x << ", " << y;
}

TEST_F(Object3dTest, AFlatTexturedQuadSamplesItsTextureTimesTheAlphas) {
  // Four texels, one per quarter of an 8 x 8 pixel quad: one sample per pixel.
  auto texels = Media::ImageBuffer::makeShared(10, 2, 2);
  const Rgba t[2][2] = {{{1, 0, 0, 1}, {0, 1, 0, 1}}, {{0, 0, 1, 1}, {0.5f, 0.5f, 0.5f, 0.5f}}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) TestSupport::setHalfPixel(*texels, x, y, t[y][x]);
  Media::ResourceBuffer texture;
  texture.create(*texels);
  const auto textureView = texture.createShaderResourceView();
  Shader::SamplerStateList samplers;
  ShaderBindings::setSampler(0, samplers.get(6));  // point, clamp

  Media::VertexListQuadPosUv quad;
  quad.vertices = {{4, 4, 0.5f, 0, 0, 0.5f, 0}, {12, 4, 0.5f, 1, 0, 0.5f, 0},
                   {12, 12, 0.5f, 1, 1, 0.5f, 0}, {4, 12, 0.5f, 0, 1, 0.5f, 0}};
  begin(0.8f, 0, false);
  ShaderBindings::setShaderResource(0, textureView.get());
  quad.bindShader();
  quad.draw();
  service().unbindRenderTargets();
  ShaderBindings::setShaderResource(0, nullptr);

  const auto image = target_->readBack();
  const auto scaled = [](Rgba c) {
    for (float& channel : c) channel *= 0.4f;
    return c;
  };
  EXPECT_TRUE(nearHalf(halfPixel(*image, 5, 5), scaled(t[0][0])));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 10, 5), scaled(t[0][1])));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 5, 10), scaled(t[1][0])));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 10, 10), scaled(t[1][1])));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 2, 2), kClear));
}

// Where a pixel covers several texels the texture is averaged over the pixel's footprint.
// 24 columns over 8 pixels: three samples per pixel across, one on each texel's centre.
TEST_F(Object3dTest, AMinifiedTextureIsAveragedOverThePixelFootprint) {
  auto stripes = Media::ImageBuffer::makeShared(10, 24, 8);
  for (uint32_t y = 0; y < 8; ++y)
    for (uint32_t x = 0; x < 24; ++x) {
      const float v = static_cast<float>(x % 2);
      TestSupport::setHalfPixel(*stripes, x, y, {v, v, v, 1});
    }
  Media::ResourceBuffer texture;
  texture.create(*stripes);
  const auto textureView = texture.createShaderResourceView();
  Shader::SamplerStateList samplers;
  ShaderBindings::setSampler(0, samplers.get(1));  // linear, clamp

  Media::VertexListQuadPosUv quad;
  quad.vertices = {{4, 4, 0.5f, 0, 0, 1, 0}, {12, 4, 0.5f, 1, 0, 1, 0},
                   {12, 12, 0.5f, 1, 1, 1, 0}, {4, 12, 0.5f, 0, 1, 1, 0}};
  begin(1.0f, 0, false);
  ShaderBindings::setShaderResource(0, textureView.get());
  quad.bindShader();
  quad.draw();
  service().unbindRenderTargets();
  ShaderBindings::setShaderResource(0, nullptr);

  const auto image = target_->readBack();
  for (int column = 0; column < 8; ++column) {
    // Columns 3c, 3c + 1 and 3c + 2: one or two of the three are bright.
    const float mean = (column % 2 == 0 ? 1.0f : 2.0f) / 3.0f;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 4 + column, 7), {mean, mean, mean, 1})) << column;
  }
}

TEST_F(Object3dTest, FlatDrawingAppliesTheBlendModeAgainstTheFrame) {
  const Rgba colour = {0.3f, 0.6f, 0.9f, 1.0f};
  const Rgba& d = kFrame;
  struct Case {
    int32_t mode;
    Rgba expected;
  };
  const Case cases[] = {
      {1, {0.3f + d[0], 0.6f + d[1], 0.9f + d[2], 1}},          // add
      {3, {0.3f * d[0], 0.6f * d[1], 0.9f * d[2], 1}},          // multiply
      {12, {std::fabs(d[0] - 0.3f), std::fabs(d[1] - 0.6f), std::fabs(d[2] - 0.9f), 1}},
      // Both opaque: the mean of the two, less the frame.
      {20, {(0.3f - d[0]) / 2, (0.6f - d[1]) / 2, (0.9f - d[2]) / 2, 0}},
  };
  for (const Case& c : cases) {
    clear(*target_, kClear);
    auto quad = colouredQuad({0, 0, 16, 16, 0.5f}, colour);
    begin(1.0f, c.mode, false);
    quad.bindShader();
    quad.draw();
    service().unbindRenderTargets();
    EXPECT_TRUE(nearHalf(pixel(7, 9), c.expected)) << "mode " << c.mode;
  }
}

TEST_F(Object3dTest, TheDepthTestKeepsTheNearerQuadInEitherOrder) {
  const Rgba nearColour = {1, 0, 0, 1}, farColour = {0, 1, 0, 1};
  const Rect nearRect = {2, 2, 10, 10, 0.8f}, farRect = {6, 6, 14, 14, 0.4f};
  for (bool nearFirst : {true, false}) {
    target_.emplace(kSize, kSize);
    clear(*target_, kClear);
    auto nearQuad = colouredQuad(nearRect, nearColour);
    auto farQuad = colouredQuad(farRect, farColour);
    begin(1.0f, 0, true);
    nearQuad.bindDepthShader();
    if (nearFirst) {
      nearQuad.draw();
      farQuad.draw();
    } else {
      farQuad.draw();
      nearQuad.draw();
    }
    service().unbindRenderTargets();
    const auto image = target_->readBack();
    EXPECT_TRUE(nearHalf(halfPixel(*image, 8, 8), nearColour)) << "near first " << nearFirst;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 3, 3), nearColour)) << "near first " << nearFirst;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 12, 12), farColour)) << "near first " << nearFirst;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 1, 1), kClear)) << "near first " << nearFirst;
    EXPECT_NEAR(floatPixel(*target_->getOitDepthBuffer1(), 8, 8), 51.2f / 0.8f, 1e-3f);
    EXPECT_NEAR(floatPixel(*target_->getOitDepthBuffer1(), 12, 12), 51.2f / 0.4f, 1e-3f);
    EXPECT_EQ(floatPixel(*target_->getOitDepthBuffer1(), 1, 1), 1e10f);
  }
}

TEST_F(Object3dTest, ATransparentQuadInFrontResolvesOverTheOpaqueOne) {
  const Rgba opaque = {0, 1, 0, 1}, glass = {0, 0, 1, 0.5f};
  const Rect opaqueRect = {2, 2, 14, 14, 0.4f}, glassRect = {4, 4, 12, 12, 0.8f};
  // A second glass quad, hidden by the opaque one where they overlap (row 2).
  const Rect hiddenRect = {0, 0, 16, 3, 0.2f};
  for (bool opaqueFirst : {true, false}) {
    target_.emplace(kSize, kSize);
    clear(*target_, kClear);
    auto opaqueQuad = colouredQuad(opaqueRect, opaque);
    auto glassQuad = colouredQuad(glassRect, glass);
    auto hiddenQuad = colouredQuad(hiddenRect, glass);
    begin(1.0f, 0, true);
    opaqueQuad.bindDepthShader();
    if (opaqueFirst) {
      opaqueQuad.draw();
      glassQuad.draw();
      hiddenQuad.draw();
    } else {
      hiddenQuad.draw();
      glassQuad.draw();
      opaqueQuad.draw();
    }
    // Transparent fragments go to the layer only.
    EXPECT_TRUE(nearHalf(pixel(8, 8), opaque)) << "opaque first " << opaqueFirst;

    // The resolve pass, drawn over the target with premultiplied "over".
    set_->pixelShader(Shader3dSet::TRANSPARENT_RESOLVE).draw(blends_.get(0), nullptr);
    service().unbindRenderTargets();
    const auto image = target_->readBack();
    const Rgba g = premultiplied(glass, 1.0f);
    const Rgba over = {g[0] + opaque[0] * (1 - g[3]), g[1] + opaque[1] * (1 - g[3]),
                       g[2] + opaque[2] * (1 - g[3]), g[3] + opaque[3] * (1 - g[3])};
    EXPECT_TRUE(nearHalf(halfPixel(*image, 8, 8), over)) << "opaque first " << opaqueFirst;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 3, 8), opaque)) << "opaque first " << opaqueFirst;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 8, 2), opaque)) << "opaque first " << opaqueFirst;
    // Beyond the opaque quad the same glass has nothing behind it and shows over the clear.
    EXPECT_TRUE(nearHalf(halfPixel(*image, 8, 0), g)) << "opaque first " << opaqueFirst;
  }
}

// With depth, a blend mode draws over the frame with the nearer transparent layer under it.
TEST_F(Object3dTest, BlendModesWithDepthSeeTheTransparentLayerUnderTheFrame) {
  frame_->create(*TestSupport::solidHalfImage(kSize, kSize, kClear));
  frameView_ = frame_->createShaderResourceView();
  auto glass = colouredQuad({0, 0, 8, 16, 0.8f}, {0, 0, 1, 0.5f});
  auto white = colouredQuad({0, 0, 16, 16, 0.4f}, {1, 1, 1, 1});
  begin(1.0f, 0, true);
  glass.bindDepthShader();
  glass.draw();
  begin(1.0f, 3, true);  // multiply
  white.draw();
  service().unbindRenderTargets();
  const auto image = target_->readBack();
  // White times the glass layer (0, 0, 0.5, 0.5) over an empty frame; beside the glass,
  // white times the empty frame.
  EXPECT_TRUE(nearHalf(halfPixel(*image, 4, 8), {0, 0, 0.5f, 1}));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 12, 8), {0, 0, 0, 1}));
}

// The normal variants keep the normal turned by the rows of normalWorld, facing the viewer
// (negated on back faces), with the shine beside it.
TEST_F(Object3dTest, KeptNormalsAreTurnedByTheNormalMatrixAndFaceTheViewer) {
  // Rows (1, 0, 0), (0, 0, 1), (0, -1, 0): the face normal (0, 0, -1) becomes (0, -1, 0)
  // (the columns would make it (0, 1, 0)).
  const float turn[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1};
  std::memcpy(set_->constants().normalWorld, turn, sizeof(turn));
  auto front = colouredQuad({0, 0, 8, 16, 0.5f}, {1, 1, 1, 1});
  // The same quad with its corners the other way round is seen from behind, and its face
  // normal points the other way too: both turn into the same kept normal.
  auto back = colouredQuad({8, 0, 16, 16, 0.5f}, {1, 1, 1, 1});
  std::swap(back.vertices[1], back.vertices[3]);
  begin(1.0f, 0, true, 0.25f);
  front.bindOitShader();
  front.drawWithNormal();
  back.drawWithNormal();
  service().unbindRenderTargets();
  const auto normals = target_->getOitColorBuffer2()->readBack();
  EXPECT_TRUE(nearHalf(halfPixel(*normals, 4, 8), {0, -1, 0, 0.25f}));
  EXPECT_TRUE(nearHalf(halfPixel(*normals, 12, 8), {0, -1, 0, 0.25f}));
}

// One light as the lighting shader reads it, and the CPU's answer for it.
struct LightConstants {
  Media::LightSource source[8];
  int32_t lightNum = 0;
  float ambient[3] = {};
};
static_assert(sizeof(LightConstants) == 272);

Rgba directionalLight(const std::array<double, 3>& N, const std::array<double, 3>& V,
                      const std::array<double, 3>& L, double shine, const Rgba& col) {
  const auto dot = [](const auto& a, const auto& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
  const auto saturate = [](double v) { return std::clamp(v, 0.0, 1.0); };
  std::array<double, 3> H = {V[0] + L[0], V[1] + L[1], V[2] + L[2]};
  const double length = std::sqrt(dot(H, H));
  for (double& h : H) h /= length;
  const double a = (1 - shine) * (1 - shine), a2 = a * a;
  const double F = 0.04 + 0.96 * std::pow(1 - saturate(dot(H, L)), 5);
  const double NH = saturate(dot(N, H)), NL = saturate(dot(N, L)), NV = saturate(dot(N, V));
  const double d = NH * NH * (a2 - 1) + 1;
  const double D = a2 / (d * d);
  const double Vis = 0.5 / (NV * std::sqrt(NL * NL * (1 - a2) + a2) + NL * std::sqrt(NV * NV * (1 - a2) + a2) + 1e-5);
  const double k = (D * Vis * F + 1 - F) * NL;
  return {static_cast<float>(col[0] * k), static_cast<float>(col[1] * k), static_cast<float>(col[2] * k),
          static_cast<float>(col[3] * k)};
}

TEST_F(Object3dTest, LightingAddsDirectionalLightsToTheAmbientWhereASurfaceIsKept) {
  // An opaque surface facing the viewer keeps its normal (0, 0, -1) and shine.
  auto surface = colouredQuad({4, 4, 12, 12, 0.5f}, {1, 1, 1, 1});
  begin(1.0f, 0, true, 0.5f);
  surface.bindOitShader();
  surface.drawWithNormal();
  service().unbindRenderTargets();
  const auto normals = target_->getOitColorBuffer2()->readBack();
  ASSERT_TRUE(nearHalf(halfPixel(*normals, 8, 8), {0, 0, -1, 0.5f}));
  ASSERT_TRUE(nearHalf(halfPixel(*normals, 1, 1), {0, 0, 0, -1}));

  // The full-target pass: the view direction comes in as the vertices' normal.
  Media::VertexListQuadPosUvNorm pass;
  pass.vertices = {{-1, -1, 0, 0, 0, -1, 0, 1, 1, 0}, {1, -1, 0, 0, 0, -1, 1, 1, 1, 0},
                   {1, 1, 0, 0, 0, -1, 1, 0, 1, 0}, {-1, 1, 0, 0, 0, -1, 0, 0, 1, 0}};
  const auto normalView = target_->getOitColorBuffer2()->createShaderResourceView();
  const Rgba colour = {1.0f, 0.8f, 0.6f, 1.0f};
  const std::array<double, 3> L = {0, 0.6, -0.8};
  const Rgba lit = directionalLight({0, 0, -1}, {0, 0, -1}, L, 0.5, colour);
  const float ambient[3] = {0.1f, 0.2f, 0.3f};

  struct Case {
    const char* name;
    int32_t lightNum;
    Rgba inside;
  };
  const Case cases[] = {
      {"ambient only", 0, {0.1f, 0.2f, 0.3f, 0}},
      {"one directional light", 1, {0.1f + lit[0], 0.2f + lit[1], 0.3f + lit[2], lit[3]}},
      // The second source is of another type and adds nothing.
      {"a light of another type", 2, {0.1f + lit[0], 0.2f + lit[1], 0.3f + lit[2], lit[3]}},
  };
  for (const Case& c : cases) {
    LightConstants lights;
    lights.source[0] = {1, static_cast<float>(L[0]), static_cast<float>(L[1]), static_cast<float>(L[2]),
                        colour[0], colour[1], colour[2], colour[3]};
    lights.source[1] = {2, 0, 0, -1, 5, 5, 5, 5};
    lights.lightNum = c.lightNum;
    std::memcpy(lights.ambient, ambient, sizeof(ambient));
    Media::ConstantBufferCommon lightBuffer;
    Media::ConstantBufferCommon::create(lightBuffer, &lights, sizeof(lights));

    Media::RenderBuffer output(kSize, kSize);
    clear(output, kClear);
    service().setRenderTarget(output);
    ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 0, &lightBuffer);
    ShaderBindings::setShaderResource(0, normalView.get());
    set_->vertexShader(Shader3dSet::VS_FULL_TARGET).bind();
    set_->pixelShader(Shader3dSet::LIGHTING).bind();
    pass.drawWithNormal();
    service().unbindRenderTargets();
    ShaderBindings::setShaderResource(0, nullptr);

    const auto image = output.readBack();
    EXPECT_TRUE(nearHalf(halfPixel(*image, 8, 8), c.inside)) << c.name;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 1, 1), kClear)) << c.name;
    EXPECT_TRUE(nearHalf(halfPixel(*image, 13, 6), kClear)) << c.name;
  }
}

// Where the driver has fragment shader interlock, a pixel shader writing images runs its
// whole body inside the critical section.
TEST(FragmentInterlock, TheBodyRunsBetweenBeginAndEnd) {
  const std::string glsl =
      "#version 450\n#extension GL_EXT_other : require\nlayout(location = 0) out vec4 o;\n"
      "void main()\n{\n    if (o.x > 0.0) return;\n    o = vec4(1.0);\n}\n";
  const std::string ordered = Media::Gl::withFragmentInterlock(glsl);
  EXPECT_EQ(ordered.find("#version 450\n#extension GL_ARB_fragment_shader_interlock : require\n"
                         "layout(pixel_interlock_ordered) in;\n#extension GL_EXT_other"),
            0u);
  EXPECT_NE(ordered.find("void orderedFragmentMain()\n{\n    if (o.x > 0.0) return;"), std::string::npos);
  EXPECT_NE(ordered.find("void main()\n{\n    beginInvocationInterlockARB();\n    orderedFragmentMain();\n"
                         "    endInvocationInterlockARB();\n}\n"),
            std::string::npos);
  // Nothing to wrap: the text stays as it is.
  EXPECT_EQ(Media::Gl::withFragmentInterlock("void main() {}"), "void main() {}");
  EXPECT_EQ(Media::Gl::withFragmentInterlock("#version 450\nvoid helper() {}\n"),
            "#version 450\nvoid helper() {}\n");
}

}  // namespace
