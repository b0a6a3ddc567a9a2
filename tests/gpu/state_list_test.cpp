#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "gpu/gpu_test_support.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/blend_state_list.h"
#include "gpu/shader/rasterizer_state_list.h"
#include "gpu/shader/sampler_state_list.h"

namespace {

using Media::Blend;
using Media::BlendOp;
using Media::GlProgram;
using Media::RenderBuffer;
using testing::HasSubstr;
using TestSupport::GpuTest;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

struct Counted {
  static inline int alive = 0;
  Counted() { ++alive; }
  ~Counted() { --alive; }
};

}  // namespace

namespace Media {
template <>
struct ComResourceTraits<Counted> {
  static constexpr const char* name = "struct Counted";
  using Deleter = std::default_delete<Counted>;
};
}  // namespace Media

namespace {

TEST(ComResourceTest, TheGeneratorRunsOnceAndTheResourceGoesWithTheSlot) {
  int calls = 0;
  {
    Media::ComResource<Counted> slot([&](Media::ComResourcePtr<Counted>* resource) {
      ++calls;
      *resource = std::make_unique<Counted>();
    });
    EXPECT_EQ(slot.peek(), nullptr) << "nothing is made before the first use";
    Counted* first = slot.createResource();
    EXPECT_EQ(slot.get(), first);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Counted::alive, 1);
  }
  EXPECT_EQ(Counted::alive, 0);
}

TEST(ComResourceTest, WithoutAGeneratorOrAfterAFailureTheSlotStaysEmpty) {
  Media::ComResource<Media::BlendState> none;
  EXPECT_THAT([&] { none.createResource(); },
              testing::ThrowsMessage<std::exception>(AllOf(
                  HasSubstr("resource generator not set."),
                  HasSubstr("Media::ComResource<struct ID3D11BlendState>::createResource()"))));
  EXPECT_EQ(none.peek(), nullptr);

  bool fail = true;
  Media::ComResource<Counted> flaky([&](Media::ComResourcePtr<Counted>* resource) {
    if (fail) throw std::runtime_error("device lost");
    *resource = std::make_unique<Counted>();
  });
  EXPECT_THROW(flaky.createResource(), std::runtime_error);
  EXPECT_EQ(flaky.peek(), nullptr);
  fail = false;
  EXPECT_NE(flaky.createResource(), nullptr) << "the next use tries again";
}

TEST(StateListTest, AnEntryIsMadeOnceAndKept) {
  Shader::BlendStateList blends;
  Media::BlendState* replace = blends.get(3);
  EXPECT_EQ(blends.get(3), replace);
  EXPECT_FALSE(replace->description().enable);
  EXPECT_EQ(blends.entry(0).peek(), nullptr) << "entries not used are not made";
  EXPECT_THAT([&] { blends.get(21); },
              testing::ThrowsMessage<std::exception>(HasSubstr("state index out of range.")));

  Shader::RasterizerStateList rasterizers;
  EXPECT_EQ(rasterizers.get(2), rasterizers.get(2));
  EXPECT_THROW(rasterizers.get(3), std::exception);
}

// The blend equation of the states, per channel: source x source factor (op) target x
// target factor, with the factors as their names define them.
float factor(Blend blend, int c, const Rgba& src, const Rgba& src1, const Rgba& dst,
             const Rgba& constant) {
  switch (blend) {
    case Blend::ZERO: return 0.0f;
    case Blend::ONE: return 1.0f;
    case Blend::SRC_COLOR: return src[c];
    case Blend::INV_SRC_COLOR: return 1.0f - src[c];
    case Blend::SRC_ALPHA: return src[3];
    case Blend::INV_SRC_ALPHA: return 1.0f - src[3];
    case Blend::DEST_ALPHA: return dst[3];
    case Blend::INV_DEST_ALPHA: return 1.0f - dst[3];
    case Blend::DEST_COLOR: return dst[c];
    case Blend::INV_DEST_COLOR: return 1.0f - dst[c];
    case Blend::SRC_ALPHA_SAT: return c == 3 ? 1.0f : std::min(src[3], 1.0f - dst[3]);
    case Blend::BLEND_FACTOR: return constant[c];
    case Blend::INV_BLEND_FACTOR: return 1.0f - constant[c];
    case Blend::SRC1_COLOR: return src1[c];
    case Blend::INV_SRC1_COLOR: return 1.0f - src1[c];
    case Blend::SRC1_ALPHA: return src1[3];
    case Blend::INV_SRC1_ALPHA: return 1.0f - src1[3];
  }
  return 0.0f;
}

float combine(BlendOp op, float s, float d) {
  switch (op) {
    case BlendOp::ADD: return s + d;
    case BlendOp::SUBTRACT: return s - d;
    case BlendOp::REV_SUBTRACT: return d - s;
    case BlendOp::MIN: return std::min(s, d);
    case BlendOp::MAX: return std::max(s, d);
  }
  return 0.0f;
}

struct BlendRow {
  bool enable;
  Blend srcColor, destColor;
  BlendOp colorOp;
  Blend srcAlpha, destAlpha;
  BlendOp alphaOp;
};

Rgba blendReference(const BlendRow& row, const Rgba& src, const Rgba& src1, const Rgba& dst,
                    const Rgba& constant) {
  if (!row.enable) return src;
  Rgba out{};
  for (int c = 0; c < 4; ++c) {
    const bool alpha = c == 3;
    const BlendOp op = alpha ? row.alphaOp : row.colorOp;
    if (op == BlendOp::MIN || op == BlendOp::MAX) {
      out[c] = combine(op, src[c], dst[c]);  // the factors play no part
      continue;
    }
    const float s = src[c] * factor(alpha ? row.srcAlpha : row.srcColor, c, src, src1, dst, constant);
    const float d = dst[c] * factor(alpha ? row.destAlpha : row.destColor, c, src, src1, dst, constant);
    out[c] = combine(op, s, d);
  }
  return out;
}

// The contract of the 21 entries, as the state list promises it to its users.
constexpr BlendOp ADD = BlendOp::ADD;
const BlendRow kBlendTable[21] = {
    {true, Blend::ONE, Blend::INV_SRC_ALPHA, ADD, Blend::ONE, Blend::INV_SRC_ALPHA, ADD},
    {true, Blend::INV_DEST_ALPHA, Blend::ONE, ADD, Blend::INV_DEST_ALPHA, Blend::ONE, ADD},
    {true, Blend::SRC_ALPHA, Blend::INV_SRC_ALPHA, ADD, Blend::ONE, Blend::INV_SRC_ALPHA, ADD},
    {false, Blend::ZERO, Blend::ZERO, ADD, Blend::ZERO, Blend::ZERO, ADD},
    {true, Blend::INV_SRC1_ALPHA, Blend::SRC1_ALPHA, ADD, Blend::INV_SRC1_ALPHA, Blend::SRC1_ALPHA, ADD},
    {true, Blend::SRC1_ALPHA, Blend::INV_SRC1_ALPHA, ADD, Blend::SRC1_ALPHA, Blend::INV_SRC1_ALPHA, ADD},
    {true, Blend::INV_SRC1_ALPHA, Blend::ZERO, ADD, Blend::INV_SRC1_ALPHA, Blend::ZERO, ADD},
    {true, Blend::ZERO, Blend::SRC_ALPHA, ADD, Blend::ZERO, Blend::SRC_ALPHA, ADD},
    {true, Blend::ZERO, Blend::INV_SRC_ALPHA, ADD, Blend::ZERO, Blend::INV_SRC_ALPHA, ADD},
    {true, Blend::ZERO, Blend::SRC_ALPHA, ADD, Blend::ONE, Blend::ZERO, ADD},
    {true, Blend::ZERO, Blend::SRC_COLOR, ADD, Blend::ZERO, Blend::ONE, ADD},
    {true, Blend::ONE, Blend::ONE, ADD, Blend::ONE, Blend::INV_SRC_ALPHA, ADD},
    {true, Blend::ONE, Blend::ONE, ADD, Blend::INV_DEST_ALPHA, Blend::ONE, ADD},
    {true, Blend::BLEND_FACTOR, Blend::ONE, ADD, Blend::BLEND_FACTOR, Blend::INV_SRC_ALPHA, ADD},
    {true, Blend::DEST_ALPHA, Blend::ZERO, ADD, Blend::DEST_ALPHA, Blend::ZERO, ADD},
    {true, Blend::ONE, Blend::ONE, BlendOp::MAX, Blend::ONE, Blend::ONE, BlendOp::MAX},
    {true, Blend::ZERO, Blend::SRC_ALPHA, ADD, Blend::ZERO, Blend::ONE, ADD},
    {true, Blend::ONE, Blend::ONE, ADD, Blend::ONE, Blend::ONE, ADD},
    {true, Blend::DEST_ALPHA, Blend::ONE, ADD, Blend::ZERO, Blend::ONE, ADD},
    {true, Blend::BLEND_FACTOR, Blend::INV_BLEND_FACTOR, ADD, Blend::BLEND_FACTOR, Blend::INV_BLEND_FACTOR, ADD},
    {true, Blend::INV_BLEND_FACTOR, Blend::BLEND_FACTOR, ADD, Blend::INV_BLEND_FACTOR, Blend::BLEND_FACTOR, ADD},
};

class BlendTest : public GpuTest {
 protected:
  // Draws a full-target quad whose outputs are `src` and `src1` over a target filled with
  // `dst`, through blend entry `entry`, and reads the result back.
  Rgba draw(std::size_t entry, const Rgba& src, const Rgba& src1, const Rgba& dst,
            const float* constant) {
    if (!vertex_) {
      vertex_ = std::make_unique<GlProgram>(GL_VERTEX_SHADER, TestSupport::kQuadVertexSource, "test");
      pixel_ = std::make_unique<GlProgram>(GL_FRAGMENT_SHADER, TestSupport::kTwoColorPixelSource, "test");
    }
    Media::ResourceBuffer target(2u, 2u);
    target.clearRenderTarget(dst.data());
    Media::GlContext& context = service().context();
    service().setRenderTargetBuffer(target);
    context.bindRasterizerState(rasterizers_.get(0));
    context.bindBlendState(blends_.get(entry), constant);
    TestSupport::usePrograms(context, *vertex_, *pixel_);
    glProgramUniform4fv(pixel_->name(), 0, 1, src.data());
    glProgramUniform4fv(pixel_->name(), 1, 1, src1.data());
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    service().unbindRenderTargets();
    return halfPixel(*target.readBack(), 1, 1);
  }

  Shader::BlendStateList blends_;
  Shader::RasterizerStateList rasterizers_;
  std::unique_ptr<GlProgram> vertex_;
  std::unique_ptr<GlProgram> pixel_;
};

TEST_F(BlendTest, EveryEntryDrawsItsBlendEquation) {
  // Different in every channel, so that a factor taken from the wrong channel shows.
  const Rgba src{0.6f, 0.3f, 0.2f, 0.5f};
  const Rgba src1{0.1f, 0.2f, 0.3f, 0.25f};
  const Rgba dst{0.2f, 0.4f, 0.8f, 0.6f};
  const Rgba constant{0.25f, 0.5f, 0.75f, 0.4f};
  for (std::size_t entry = 0; entry < Shader::BlendStateList::kCount; ++entry) {
    SCOPED_TRACE(testing::Message() << "blend entry " << entry);
    const Rgba expected = blendReference(kBlendTable[entry], src, src1, dst, constant);
    EXPECT_TRUE(nearHalf(draw(entry, src, src1, dst, constant.data()), expected));
  }
}

TEST_F(BlendTest, OverAndCrossFadeGiveTheirKnownColours) {
  EXPECT_TRUE(nearHalf(draw(0, {0.5f, 0, 0, 0.5f}, {}, {1, 1, 1, 1}, nullptr), {1, 0.5f, 0.5f, 1}));
  const float quarter[4] = {0.25f, 0.25f, 0.25f, 0.25f};
  const Rgba src{1.0f, 0.5f, 0.0f, 1.0f};
  const Rgba dst{0.0f, 0.5f, 1.0f, 0.5f};
  Rgba expected;
  for (int c = 0; c < 4; ++c) expected[c] = 0.25f * src[c] + 0.75f * dst[c];
  EXPECT_TRUE(nearHalf(draw(19, src, {}, dst, quarter), expected));
}

// A triangle in normalised coordinates drawn in white into an 8 x 8 target through a
// rasterizer entry; the result tells which pixels it covered.
class RasterizerTest : public GpuTest {
 protected:
  std::shared_ptr<Media::ImageBuffer> draw(std::size_t entry, const std::array<float, 6>& points) {
    if (!vertex_) {
      vertex_ = std::make_unique<GlProgram>(GL_VERTEX_SHADER, TestSupport::kTriangleVertexSource, "test");
      pixel_ = std::make_unique<GlProgram>(GL_FRAGMENT_SHADER, TestSupport::kTwoColorPixelSource, "test");
    }
    Media::ResourceBuffer target(8u, 8u);
    target.clear(0.0f);
    Media::GlContext& context = service().context();
    service().setRenderTargetBuffer(target);
    context.bindRasterizerState(rasterizers_.get(entry));
    context.bindBlendState(blends_.get(3), nullptr);
    TestSupport::usePrograms(context, *vertex_, *pixel_);
    glProgramUniform2fv(vertex_->name(), 0, 3, points.data());
    const float white[4] = {1, 1, 1, 1};
    glProgramUniform4fv(pixel_->name(), 0, 1, white);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    service().unbindRenderTargets();
    return target.readBack();
  }
  static bool covered(const Media::ImageBuffer& image, uint32_t x, uint32_t y) {
    return halfPixel(image, x, y)[3] > 0.5f;
  }

  Shader::BlendStateList blends_;
  Shader::RasterizerStateList rasterizers_;
  std::unique_ptr<GlProgram> vertex_;
  std::unique_ptr<GlProgram> pixel_;
};

// y = +1 is the first row in memory, and a triangle that runs clockwise on the screen
// faces front.
// The upper-left half of the target, corners on the centres of the corner pixels.
constexpr std::array<float, 6> kClockwise = {-0.875f, 0.875f, 0.875f, 0.875f, -0.875f, -0.875f};
constexpr std::array<float, 6> kCounterClockwise = {-0.875f, 0.875f, -0.875f, -0.875f, 0.875f, 0.875f};
constexpr std::array<float, 6> kTopHalf = {-1, 1, 3, 1, -1, -0.0f};

TEST_F(RasterizerTest, TheTopOfTheTargetIsTheFirstRowInMemory) {
  const auto image = draw(0, kTopHalf);
  EXPECT_TRUE(covered(*image, 0, 0));
  EXPECT_TRUE(covered(*image, 1, 3));
  EXPECT_FALSE(covered(*image, 0, 4));
  EXPECT_FALSE(covered(*image, 7, 7));
}

TEST_F(RasterizerTest, CullingKeepsClockwiseTrianglesAndWireframeDrawsOnlyEdges) {
  struct Case {
    std::size_t entry;
    const std::array<float, 6>* points;
    bool interior;  // pixel (2, 2), well inside the triangle
    bool edge;      // pixel (0, 3), whose centre lies on its left edge
  };
  const Case cases[] = {
      {0, &kClockwise, true, true},         {0, &kCounterClockwise, true, true},
      {1, &kClockwise, true, true},         {1, &kCounterClockwise, false, false},
      {2, &kClockwise, false, true},        {2, &kCounterClockwise, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rasterizer entry " << c.entry
                                    << (c.points == &kClockwise ? ", clockwise" : ", counter-clockwise"));
    const auto image = draw(c.entry, *c.points);
    EXPECT_EQ(covered(*image, 2, 2), c.interior);
    EXPECT_EQ(covered(*image, 0, 3), c.edge);
  }
}

// A 2 x 1 texture, red then green, sampled at one coordinate through each sampler entry.
TEST_F(GpuTest, EverySamplerAddressesAndFiltersAsItsEntrySays) {
  auto image = Media::ImageBuffer::makeShared(10, 2, 1);
  TestSupport::setHalfPixel(*image, 0, 0, {1, 0, 0, 1});
  TestSupport::setHalfPixel(*image, 1, 0, {0, 1, 0, 1});
  Media::ResourceBuffer texture;
  texture.create(*image);

  const GlProgram vertex(GL_VERTEX_SHADER, TestSupport::kQuadVertexSource, "test");
  const GlProgram pixel(GL_FRAGMENT_SHADER, TestSupport::kSamplePixelSource, "test");
  Shader::SamplerStateList samplers;
  Shader::BlendStateList blends;
  Shader::RasterizerStateList rasterizers;

  const Rgba red{1, 0, 0, 1};
  const Rgba green{0, 1, 0, 1};
  const Rgba mix{0.5f, 0.5f, 0, 1};
  const Rgba none{0, 0, 0, 0};
  struct Case {
    std::size_t entry;
    float u;
    float v;
    Rgba expected;
  };
  const Case cases[] = {
      {0, -0.5f, 0.5f, none},   // border outside
      {0, 0.5f, 0.5f, mix},     // linear between the two texel centres
      {1, -0.5f, 0.5f, red},    // clamp repeats the edge
      {1, 1.5f, 0.5f, green},
      {2, 1.25f, 0.5f, red},    // wrap: as u = 0.25
      {2, -0.25f, 0.5f, green}, // as u = 0.75
      {3, 1.25f, 0.5f, green},  // mirror: as u = 0.75
      {4, 1.25f, 0.5f, green},  // mirror across ...
      {4, 0.25f, 1.5f, none},   // ... border down
      {5, 0.5f, 0.5f, green},   // point: the texel the coordinate falls in
      {5, 0.25f, -0.5f, none},
      {6, -0.5f, 0.5f, red},
      {6, 0.49f, 0.5f, red},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "sampler entry " << c.entry << " at (" << c.u << ", " << c.v << ")");
    Media::ResourceBuffer target(1u, 1u);
    Media::GlContext& context = service().context();
    service().setRenderTargetBuffer(target);
    context.bindRasterizerState(rasterizers.get(0));
    context.bindBlendState(blends.get(3), nullptr);
    TestSupport::usePrograms(context, vertex, pixel);
    Media::bindTextureUnit(*texture.createShaderResourceView(), 0);
    context.bindPixelSampler0(samplers.get(c.entry));
    glProgramUniform2f(pixel.name(), 0, c.u, c.v);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    service().unbindRenderTargets();
    EXPECT_TRUE(nearHalf(halfPixel(*target.readBack(), 0, 0), c.expected));
  }
  glBindTextureUnit(0, 0);
}

}  // namespace
