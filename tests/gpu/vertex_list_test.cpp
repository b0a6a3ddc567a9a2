// Vertex lists: quads turned into strips and lists, face normals and folded quads, lists
// appended through a matrix, and the 3-D shader set the lists draw with.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>

#include "gpu/gpu_test_support.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/shader_3d_set.h"
#include "gpu/shader/pipeline_state.h"
#include "gpu/shader/vertex_buffer.h"
#include "gpu/shader/vertex_list.h"

namespace {

using Media::XYZ_COL;
using Media::XYZ_COL_NORM;
using Media::XYZ_UV;
using Media::XYZ_UV_NORM;
using Resource::Shader3dSet;
using testing::HasSubstr;
using TestSupport::GpuTest;

constexpr std::array<float, 16> kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

std::string messageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

// ---------------------------------------------------------------------------------------------
// Face normals.

struct FaceNormalCase {
  const char* name;
  std::array<std::array<float, 3>, 4> corners;  // P, Q, R, S
  std::array<float, 3> normal;
  bool folded;
};

TEST(QuadFaceNormal, FlatFoldedAndDegenerateQuads) {
  const FaceNormalCase cases[] = {
      {"counter-clockwise square", {{{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}}, {0, 0, -1}, false},
      {"clockwise square", {{{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}}}, {0, 0, 1}, false},
      {"square in the x = 2 plane", {{{2, 0, 0}, {2, 3, 0}, {2, 3, 3}, {2, 0, 3}}}, {-1, 0, 0}, false},
      // R lies inside triangle P Q S: the two halves along Q-S face apart.
      {"folded", {{{0, 0, 0}, {1, 0, 0}, {0.2f, 0.2f, 0}, {0, 1, 0}}}, {0, 0, -1}, true},
      {"all corners equal", {{{3, 3, 3}, {3, 3, 3}, {3, 3, 3}, {3, 3, 3}}}, {0, 0, 0}, false},
  };
  for (const auto& c : cases) {
    const auto n = Media::quadFaceNormal(c.corners[0].data(), c.corners[1].data(), c.corners[2].data(),
                                         c.corners[3].data());
    EXPECT_NEAR(n.x, c.normal[0], 1e-6f) << c.name;
    EXPECT_NEAR(n.y, c.normal[1], 1e-6f) << c.name;
    EXPECT_NEAR(n.z, c.normal[2], 1e-6f) << c.name;
    EXPECT_EQ(n.folded, c.folded) << c.name;
  }
}

TEST(QuadFaceNormal, AnInfiniteLengthGivesNaN) {
  const float p[] = {0, 0, 0}, q[] = {1e30f, 0, 0}, r[] = {1e30f, 1e30f, 0}, s[] = {0, 1e30f, 0};
  const auto n = Media::quadFaceNormal(p, q, r, s);
  EXPECT_TRUE(std::isnan(n.x) && std::isnan(n.y) && std::isnan(n.z));
}

// ---------------------------------------------------------------------------------------------
// Appending through a matrix.

TEST(VertexList, AppendTransformedMovesPositionsAndScalesAlpha) {
  Media::VertexListQuadPosUv source;
  source.vertices = {{1, 2, 3, 0.25f, 0.75f, 0.8f, 7}, {-1, 0, 2, 1, 0, 0.4f, 0}};
  // Scale by 2, move by (10, 20, 30), and a fourth column that makes w = 1 + z.
  const std::array<float, 16> m = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 1, 10, 20, 30, 1};
  Media::VertexListQuadPosUv target;
  target.vertices = {{9, 9, 9, 0, 0, 1, 0}};
  target.appendTransformed(source, m, 0.5f);

  ASSERT_EQ(target.vertices.size(), 3u);
  const XYZ_UV& a = target.vertices[1];
  EXPECT_FLOAT_EQ(a.x, 12.0f / 4);
  EXPECT_FLOAT_EQ(a.y, 24.0f / 4);
  EXPECT_FLOAT_EQ(a.z, 36.0f / 4);
  EXPECT_FLOAT_EQ(a.u, 0.25f);
  EXPECT_FLOAT_EQ(a.v, 0.75f);
  EXPECT_FLOAT_EQ(a.alpha, 0.4f);
  EXPECT_FLOAT_EQ(a.extra, 7.0f);
  EXPECT_FLOAT_EQ(target.vertices[2].x, 8.0f / 3);
  EXPECT_FLOAT_EQ(target.vertices[2].alpha, 0.2f);
  // The source is read, never changed.
  EXPECT_FLOAT_EQ(source.vertices[0].x, 1.0f);
  EXPECT_FLOAT_EQ(source.vertices[0].alpha, 0.8f);
}

TEST(VertexList, AppendTransformedTurnsNormalsAndColours) {
  Media::VertexListQuadPosColorNorm source;
  source.vertices = {{1, 0, 0, 0, 0, -1, 0.2f, 0.4f, 0.6f, 0.8f}};
  // A quarter turn about y: (x, y, z) -> (-z, y, x) as a row vector, then a move that must
  // not reach the normal.
  const std::array<float, 16> m = {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 5, 5, 5, 1};
  Media::VertexListQuadPosColorNorm target;
  target.appendTransformed(source, m, 0.25f);
  ASSERT_EQ(target.vertices.size(), 1u);
  const XYZ_COL_NORM& v = target.vertices[0];
  EXPECT_FLOAT_EQ(v.x, 5.0f);
  EXPECT_FLOAT_EQ(v.z, 6.0f);
  EXPECT_NEAR(v.nx, 1.0f, 1e-6f);
  EXPECT_NEAR(v.ny, 0.0f, 1e-6f);
  EXPECT_NEAR(v.nz, 0.0f, 1e-6f);
  EXPECT_FLOAT_EQ(v.r, 0.2f);
  EXPECT_FLOAT_EQ(v.b, 0.6f);
  EXPECT_FLOAT_EQ(v.a, 0.2f);
}

TEST(VertexList, AppendingAnotherLayoutDoesNothing) {
  Media::VertexListQuadPosColor colours;
  colours.vertices = {{0, 0, 0, 1, 1, 1, 1}};
  Media::VertexListQuadPosUv textured;
  textured.appendTransformed(colours, kIdentity, 1.0f);
  EXPECT_TRUE(textured.isEmpty());
  // The same vertex size is not the same layout either.
  Media::VertexListQuadPosUvNorm withNormals;
  Media::VertexListQuadPosColorNorm colourNormals;
  colourNormals.vertices = {{0, 0, 0, 0, 0, 1, 1, 1, 1, 1}};
  withNormals.appendTransformed(colourNormals, kIdentity, 1.0f);
  EXPECT_TRUE(withNormals.isEmpty());
}

TEST(VertexList, AListMayAppendItself) {
  Media::VertexListQuadPosColor list;
  list.vertices = {{1, 0, 0, 1, 1, 1, 1}, {2, 0, 0, 1, 1, 1, 0.5f}};
  const std::array<float, 16> move = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
  list.appendTransformed(list, move, 0.5f);
  ASSERT_EQ(list.vertices.size(), 4u);
  EXPECT_FLOAT_EQ(list.vertices[2].x, 11.0f);
  EXPECT_FLOAT_EQ(list.vertices[3].x, 12.0f);
  EXPECT_FLOAT_EQ(list.vertices[3].a, 0.25f);
}

TEST(VertexList, CreateEmptyMakesTheSameClass) {
  Media::VertexListQuadPosColorNorm list;
  list.vertices.resize(4);
  const auto empty = list.createEmpty();
  EXPECT_TRUE(empty->isEmpty());
  EXPECT_NE(dynamic_cast<Media::VertexListQuadPosColorNorm*>(empty.get()), nullptr);
  EXPECT_FALSE(list.isEmpty());
}

TEST(VertexList, TheCommonQuadIsCentredWithUnitCoordinates) {
  const auto quad = Media::VertexListQuadPosUvCommon::getQuad(8, 6);
  ASSERT_EQ(quad->vertices.size(), 4u);
  const float expected[4][5] = {{-4, -3, 0, 0, 0}, {4, -3, 0, 1, 0}, {4, 3, 0, 1, 1}, {-4, 3, 0, 0, 1}};
  for (int i = 0; i < 4; ++i) {
    const XYZ_UV& v = quad->vertices[i];
    EXPECT_EQ((std::array<float, 7>{v.x, v.y, v.z, v.u, v.v, v.alpha, v.extra}),
              (std::array<float, 7>{expected[i][0], expected[i][1], expected[i][2], expected[i][3],
                                    expected[i][4], 1, 0}))
        << i;
  }
  // One list per thread, refilled by every call on it.
  EXPECT_EQ(Media::VertexListQuadPosUvCommon::getQuad(2, 2), quad);
  EXPECT_FLOAT_EQ(quad->vertices[0].x, -1.0f);
}

// A thread drawing its object's quad keeps its size while another thread asks for one.
TEST(VertexList, AnotherThreadsQuadLeavesThisThreadsQuadAlone) {
  const auto mine = Media::VertexListQuadPosUvCommon::getQuad(4, 4);
  std::shared_ptr<Media::VertexListQuadPosUvCommon> theirs;
  std::thread other([&] { theirs = Media::VertexListQuadPosUvCommon::getQuad(10, 2); });
  other.join();
  EXPECT_NE(theirs, mine);
  EXPECT_FLOAT_EQ(mine->vertices[2].x, 2.0f);
  EXPECT_FLOAT_EQ(mine->vertices[2].y, 2.0f);
  EXPECT_FLOAT_EQ(theirs->vertices[2].x, 5.0f);
}

// ---------------------------------------------------------------------------------------------
// Drawing.

class VertexListDrawTest : public GpuTest {
 protected:
  void SetUp() override {
    GpuTest::SetUp();
    set_.emplace();
    target_.emplace(8, 8);
    service().setRenderTarget(*target_);
    service().context().bindRasterizerState(&noCulling_);
  }
  void TearDown() override {
    service().unbindRenderTargets();
    target_.reset();
    set_.reset();
    GpuTest::TearDown();
  }

  // Triangles the list's draw sends down the pipeline.
  template <class Draw>
  GLuint trianglesOf(Draw draw) {
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint count = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
  }

  std::optional<Shader3dSet> set_;
  std::optional<Media::RenderBuffer> target_;
  Media::RasterizerState noCulling_{Media::RasterizerDescription{.cull = Media::CullMode::NONE}};
};

Media::VertexListQuadPosColor colouredQuads(std::size_t vertexCount) {
  Media::VertexListQuadPosColor list;
  for (std::size_t i = 0; i < vertexCount; ++i)
    list.vertices.push_back({static_cast<float>(i % 4 == 1 || i % 4 == 2), static_cast<float>(i % 4 >= 2),
                             0.5f, 1, 0, 0, 1});
  return list;
}

TEST_F(VertexListDrawTest, WholeQuadsAreDrawnAsStripOrList) {
  struct Case {
    std::size_t vertices;
    GLuint triangles;
  };
  // One quad: a strip of 4; more: 6 list vertices a quad; a partial quad is left out, and
  // a list without a whole quad draws nothing at all.
  const Case cases[] = {{4, 2}, {8, 4}, {6, 2}, {11, 4}, {0, 0}, {3, 0}};
  for (const Case& c : cases) {
    auto list = colouredQuads(c.vertices);
    list.bindShader();
    EXPECT_EQ(trianglesOf([&] { list.draw(); }), c.triangles) << c.vertices << " vertices";
    EXPECT_EQ(trianglesOf([&] { list.drawWithNormal(); }), c.triangles) << c.vertices << " vertices";
  }
  EXPECT_EQ(set_->vertexListQuad().topology(), Media::VertexBufferCommon::kTriangleStrip);
  EXPECT_EQ(set_->vertexListQuad().count(), 4u);
}

TEST_F(VertexListDrawTest, OneQuadGoesToTheSharedBufferInStripOrder) {
  EXPECT_FALSE(set_->vertexListQuad().hasBuffer());
  Media::VertexListQuadPosUvNorm list;
  for (int i = 0; i < 4; ++i)
    list.vertices.push_back({float(i), 0, 0, 0, 0, -1, 0, 0, 1, float(10 + i)});
  list.bindShader();
  list.draw();
  ASSERT_TRUE(set_->vertexListQuad().hasBuffer());
  // P, Q, S, R with the normals dropped.
  XYZ_UV drawn[4];
  std::memcpy(drawn, set_->vertexListQuad().cpuCopy(), sizeof(drawn));
  const float order[4] = {0, 1, 3, 2};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(drawn[i].x, order[i]);
    EXPECT_EQ(drawn[i].extra, 10 + order[i]);
  }
}

TEST_F(VertexListDrawTest, AFoldedQuadIsSplitAlongItsOtherDiagonal) {
  Media::VertexListQuadPosColor list;
  list.vertices = {{0, 0, 0, 0, 0, 0, 1}, {1, 0, 0, 1, 0, 0, 1}, {0.2f, 0.2f, 0, 2, 0, 0, 1},
                   {0, 1, 0, 3, 0, 0, 1}};
  list.bindOitShader();
  list.drawWithNormal();
  XYZ_COL_NORM drawn[4];
  std::memcpy(drawn, set_->vertexListNormalQuad().cpuCopy(), sizeof(drawn));
  const float order[4] = {1, 2, 0, 3};  // Q, R, P, S
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(drawn[i].r, order[i]) << i;
    EXPECT_NEAR(drawn[i].nz, -1.0f, 1e-6f) << i;
  }
}

TEST_F(VertexListDrawTest, AFlatSquareGetsOneUnitNormal) {
  Media::VertexListQuadPosUv list;
  list.vertices = {{-1, -1, 0, 0, 0, 1, 0}, {1, -1, 0, 1, 0, 1, 0}, {1, 1, 0, 1, 1, 1, 0},
                   {-1, 1, 0, 0, 1, 1, 0}};
  list.bindOitShader();
  list.drawWithNormal();
  XYZ_UV_NORM drawn[4];
  std::memcpy(drawn, set_->vertexListNormalQuad().cpuCopy(), sizeof(drawn));
  for (const XYZ_UV_NORM& v : drawn) {
    EXPECT_EQ((std::array<float, 3>{v.nx, v.ny, v.nz}), (std::array<float, 3>{0, 0, -1}));
    EXPECT_EQ(v.alpha, 1.0f);
  }
}

// ---------------------------------------------------------------------------------------------
// The set itself.

TEST_F(GpuTest, OneShaderSetAtATimeIsReachable) {
  EXPECT_THAT(messageOf([] { Shader3dSet::Get(); }), HasSubstr("the 3-D shader set has not been created."));
  {
    Shader3dSet set;
    EXPECT_EQ(&Shader3dSet::Get(), &set);
    EXPECT_THAT(messageOf([] { Shader3dSet second; }), HasSubstr("another 3-D shader set already exists."));
    EXPECT_EQ(&Shader3dSet::Get(), &set);
    EXPECT_THAT(messageOf([&] { set.pixelShader(25); }), HasSubstr("Resource::Shader3dSet::pixelShader"));
    EXPECT_THAT(messageOf([&] { set.vertexShader(7); }), HasSubstr("Resource::Shader3dSet::vertexShader"));
    for (std::size_t entry = 26; entry <= 33; ++entry) EXPECT_TRUE(set.pixelShader(entry).loaded()) << entry;
    for (std::size_t index = 0; index < 7; ++index) EXPECT_TRUE(set.vertexShader(index).loaded()) << index;
    EXPECT_EQ(set.constantBuffer().size(), 160u);
    // The constants the shaders read are the 160 bytes the program writes.
    const auto* block = set.pixelShader(Shader3dSet::DEPTH_UV).reflection()->findConstantBuffer("Constant");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->size, 160u);
  }
  EXPECT_THAT(messageOf([] { Shader3dSet::Get(); }), HasSubstr("has not been created"));
}

TEST_F(GpuTest, DrawingWithoutAShaderSetThrows) {
  auto list = colouredQuads(4);
  EXPECT_THAT(messageOf([&] { list.draw(); }), HasSubstr("Resource::Shader3dSet::Get"));
}

TEST_F(GpuTest, AVertexBufferOfNoBytesIsRefused) {
  Media::VertexBufferCommon buffer;
  EXPECT_THAT(messageOf([&] { Media::VertexBufferCommon::create(buffer, nullptr, 0, 28); }),
              HasSubstr("Direct3DService::Get().device->CreateBuffer"));
  Media::VertexBufferCommon::create(buffer, nullptr, 3, 12);
  EXPECT_TRUE(buffer.hasBuffer());
  EXPECT_EQ(buffer.count(), 3u);
  EXPECT_EQ(buffer.stride(), 12u);
  EXPECT_EQ(buffer.topology(), Media::VertexBufferCommon::kTriangleStrip);
}

}  // namespace
