#include "gpu/shader/vertex_list.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "gpu/resource/shader_3d_set.h"
#include "gpu/shader/vertex_buffer.h"

namespace Media {
namespace {

using Resource::Shader3dSet;

// Corner orders of a quad P, Q, R, S (0 to 3) split into two triangles along Q-S, and along
// P-R for a folded quad.
constexpr std::array<int, 4> kStrip = {0, 1, 3, 2};
constexpr std::array<int, 4> kFoldedStrip = {1, 2, 0, 3};
constexpr std::array<int, 6> kList = {0, 1, 3, 3, 1, 2};
constexpr std::array<int, 6> kFoldedList = {1, 2, 0, 0, 2, 3};

// What each layout draws as: its 28-byte form, its 40-byte form with a normal, whether it
// stores normals, and which shaders read it.
template <class Vertex>
struct Layout;

template <>
struct Layout<XYZ_UV> {
  static constexpr bool kStoresNormal = false;
  static constexpr bool kTextured = true;
  static XYZ_UV flat(const XYZ_UV& v) { return v; }
  static XYZ_UV_NORM withNormal(const XYZ_UV& v, const FaceNormal& n) {
    return {v.x, v.y, v.z, n.x, n.y, n.z, v.u, v.v, v.alpha, v.extra};
  }
};
template <>
struct Layout<XYZ_UV_NORM> {
  static constexpr bool kStoresNormal = true;
  static constexpr bool kTextured = true;
  static XYZ_UV flat(const XYZ_UV_NORM& v) { return {v.x, v.y, v.z, v.u, v.v, v.alpha, v.extra}; }
  static XYZ_UV_NORM withNormal(const XYZ_UV_NORM& v, const FaceNormal&) { return v; }
};
template <>
struct Layout<XYZ_COL> {
  static constexpr bool kStoresNormal = false;
  static constexpr bool kTextured = false;
  static XYZ_COL flat(const XYZ_COL& v) { return v; }
  static XYZ_COL_NORM withNormal(const XYZ_COL& v, const FaceNormal& n) {
    return {v.x, v.y, v.z, n.x, n.y, n.z, v.r, v.g, v.b, v.a};
  }
};
template <>
struct Layout<XYZ_COL_NORM> {
  static constexpr bool kStoresNormal = true;
  static constexpr bool kTextured = false;
  static XYZ_COL flat(const XYZ_COL_NORM& v) { return {v.x, v.y, v.z, v.r, v.g, v.b, v.a}; }
  static XYZ_COL_NORM withNormal(const XYZ_COL_NORM& v, const FaceNormal&) { return v; }
};

float& alphaOf(XYZ_UV& v) { return v.alpha; }
float& alphaOf(XYZ_UV_NORM& v) { return v.alpha; }
float& alphaOf(XYZ_COL& v) { return v.a; }
float& alphaOf(XYZ_COL_NORM& v) { return v.a; }

// (x, y, z, 1) times the matrix, divided by its fourth component.
std::array<float, 3> transformPoint(float x, float y, float z, Matrix4 m) {
  std::array<float, 4> out{};
  for (int column = 0; column < 4; ++column)
    out[column] = x * m[column] + y * m[4 + column] + z * m[8 + column] + m[12 + column];
  return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
}

template <class Vertex>
Vertex transformVertex(const Vertex& source, Matrix4 m, float alphaFactor) {
  Vertex v = source;
  const auto p = transformPoint(source.x, source.y, source.z, m);
  v.x = p[0];
  v.y = p[1];
  v.z = p[2];
  if constexpr (Layout<Vertex>::kStoresNormal) {
    // The normal moves as the point one normal away from the position does.
    const auto tip = transformPoint(source.x + source.nx, source.y + source.ny,
                                    source.z + source.nz, m);
    v.nx = tip[0] - p[0];
    v.ny = tip[1] - p[1];
    v.nz = tip[2] - p[2];
  }
  alphaOf(v) *= alphaFactor;
  return v;
}

// Draws the whole quads of a list of `vertexCount` vertices. `corners(quad, out)` gives the
// quad's four corners in the drawn layout and tells whether it is folded. One quad is drawn
// as a strip from the shared quad buffer, more as a triangle list from a temporary buffer.
template <class Out, class Corners>
void drawQuads(std::size_t vertexCount, VertexBufferCommon& single, Corners corners) {
  const std::size_t quads = vertexCount / 4;
  if (quads == 0) return;  // no whole quad: nothing to draw
  std::array<Out, 4> corner{};
  if (vertexCount == 4) {
    const auto& order = corners(0, corner) ? kFoldedStrip : kStrip;
    for (std::size_t i = 0; i < 4; ++i)
      std::memcpy(single.cpuCopy() + i * sizeof(Out), &corner[order[i]], sizeof(Out));
    single.uploadCpuCopy();
    single.setTopology(VertexBufferCommon::kTriangleStrip);
    single.draw();
    return;
  }
  std::vector<Out> triangles;
  triangles.reserve(quads * 6);
  for (std::size_t quad = 0; quad < quads; ++quad) {
    const auto& order = corners(quad, corner) ? kFoldedList : kList;
    for (int index : order) triangles.push_back(corner[index]);
  }
  VertexBufferCommon temporary;
  temporary.setTopology(VertexBufferCommon::kTriangleList);
  VertexBufferCommon::create(temporary, triangles.data(), static_cast<uint32_t>(triangles.size()),
                             sizeof(Out));
  temporary.draw();
}

void bindPair(std::size_t vertexShader, std::size_t pixelShader) {
  Shader3dSet& set = Shader3dSet::Get();
  set.vertexShader(vertexShader).bind();
  set.pixelShader(pixelShader).bind();
}

}  // namespace

FaceNormal quadFaceNormal(const float* p, const float* q, const float* r, const float* s) {
  const auto cross = [](const float* a0, const float* a1, const float* b0, const float* b1) {
    const float a[3] = {a1[0] - a0[0], a1[1] - a0[1], a1[2] - a0[2]};
    const float b[3] = {b1[0] - b0[0], b1[1] - b0[1], b1[2] - b0[2]};
    return std::array<float, 3>{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                a[0] * b[1] - a[1] * b[0]};
  };
  const auto f = cross(p, s, p, q);  // (S - P) x (Q - P)
  const auto g = cross(s, r, s, q);  // (R - S) x (Q - S)
  FaceNormal n{};
  n.folded = f[0] * g[0] + f[1] * g[1] + f[2] * g[2] < 0.0f;
  const float sum[3] = {f[0] + g[0], f[1] + g[1], f[2] + g[2]};
  const float lengthSquared = sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2];
  if (std::isinf(lengthSquared)) {
    n.x = n.y = n.z = std::numeric_limits<float>::quiet_NaN();
  } else if (lengthSquared != 0.0f) {
    const float length = std::sqrt(lengthSquared);
    n.x = sum[0] / length;
    n.y = sum[1] / length;
    n.z = sum[2] / length;
  }
  return n;
}

template <class Vertex>
void VertexListTemplate<Vertex>::appendTransformed(const VertexList& other, Matrix4 matrix,
                                                   float alphaFactor) {
  const auto* source = dynamic_cast<const VertexListTemplate<Vertex>*>(&other);
  if (!source) return;
  // Counted first: a list may append itself.
  const std::size_t count = source->vertices.size();
  // Grown geometrically: a list built by many appends (one per particle) would otherwise be
  // copied whole at every append.
  const std::size_t needed = vertices.size() + count;
  if (needed > vertices.capacity()) vertices.reserve(std::max(needed, 2 * vertices.capacity()));
  for (std::size_t i = 0; i < count; ++i)
    vertices.push_back(transformVertex(source->vertices[i], matrix, alphaFactor));
}

template <class Vertex, class List>
void VertexListQuadTemplate<Vertex, List>::draw() {
  using Flat = decltype(Layout<Vertex>::flat(std::declval<const Vertex&>()));
  const auto& stored = this->vertices;
  drawQuads<Flat>(stored.size(), Shader3dSet::Get().vertexListQuad(),
                  [&](std::size_t quad, std::array<Flat, 4>& out) {
                    for (std::size_t i = 0; i < 4; ++i) out[i] = Layout<Vertex>::flat(stored[quad * 4 + i]);
                    return false;
                  });
}

template <class Vertex, class List>
void VertexListQuadTemplate<Vertex, List>::drawWithNormal() {
  using Normal = decltype(Layout<Vertex>::withNormal(std::declval<const Vertex&>(), FaceNormal{}));
  const auto& stored = this->vertices;
  drawQuads<Normal>(stored.size(), Shader3dSet::Get().vertexListNormalQuad(),
                    [&](std::size_t quad, std::array<Normal, 4>& out) {
                      const Vertex* c = &stored[quad * 4];
                      FaceNormal n{};
                      if constexpr (!Layout<Vertex>::kStoresNormal)
                        n = quadFaceNormal(&c[0].x, &c[1].x, &c[2].x, &c[3].x);
                      for (std::size_t i = 0; i < 4; ++i) out[i] = Layout<Vertex>::withNormal(c[i], n);
                      return n.folded;
                    });
}

template <class Vertex, class List>
void VertexListQuadTemplate<Vertex, List>::bindShader() {
  if constexpr (Layout<Vertex>::kTextured)
    bindPair(Shader3dSet::VS_FLAT_UV, Shader3dSet::FLAT_UV);
  else
    bindPair(Shader3dSet::VS_FLAT_COLOR, Shader3dSet::FLAT_COLOR);
}

template <class Vertex, class List>
void VertexListQuadTemplate<Vertex, List>::bindDepthShader() {
  if constexpr (Layout<Vertex>::kTextured)
    bindPair(Shader3dSet::VS_DEPTH_UV, Shader3dSet::DEPTH_UV);
  else
    bindPair(Shader3dSet::VS_DEPTH_COLOR, Shader3dSet::DEPTH_COLOR);
}

template <class Vertex, class List>
void VertexListQuadTemplate<Vertex, List>::bindOitShader() {
  if constexpr (Layout<Vertex>::kTextured)
    bindPair(Shader3dSet::VS_NORMAL_UV, Shader3dSet::NORMAL_UV);
  else
    bindPair(Shader3dSet::VS_NORMAL_COLOR, Shader3dSet::NORMAL_COLOR);
}

std::shared_ptr<VertexListQuadPosUvCommon> VertexListQuadPosUvCommon::getQuad(float width,
                                                                              float height) {
  thread_local const auto shared = std::make_shared<VertexListQuadPosUvCommon>();
  const float w = width / 2, h = height / 2;
  shared->vertices = {{-w, -h, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f},
                      {w, -h, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f},
                      {w, h, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f},
                      {-w, h, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f}};
  return shared;
}

template class VertexListTemplate<XYZ_UV>;
template class VertexListTemplate<XYZ_UV_NORM>;
template class VertexListTemplate<XYZ_COL>;
template class VertexListTemplate<XYZ_COL_NORM>;
template class VertexListQuadTemplate<XYZ_UV, VertexListQuadPosUv>;
template class VertexListQuadTemplate<XYZ_UV_NORM, VertexListQuadPosUvNorm>;
template class VertexListQuadTemplate<XYZ_COL, VertexListQuadPosColor>;
template class VertexListQuadTemplate<XYZ_COL_NORM, VertexListQuadPosColorNorm>;

}  // namespace Media
