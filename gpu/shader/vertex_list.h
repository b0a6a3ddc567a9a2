#pragma once
// Geometry drawn in 3-D, held as quads: four vertices per quad, in order around it (corners
// P, Q, R, S). A list knows its vertex layout, binds the built-in 3-D shaders that read it
// (flat, with depth, with depth and normals), draws itself as triangles with or without
// normals, and appends another list's vertices moved by a matrix.
//
// A single quad is drawn as a strip from the 3-D set's shared quad buffer, so it overwrites
// the previous single-quad draw's vertices; longer lists go through a temporary buffer as a
// triangle list. Only whole quads are drawn: a list of fewer than four vertices draws
// nothing. Drawing uses what the caller bound (shaders, constants, targets, states), from
// one thread at a time.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace Media {

// Vertex layouts, 32-bit floats without padding.
struct XYZ_UV {
  float x, y, z;
  float u, v;
  float alpha;
  float extra;  // copied unchanged, read by no shader
};
struct XYZ_UV_NORM {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
  float alpha;
  float extra;
};
struct XYZ_COL {
  float x, y, z;
  float r, g, b, a;  // straight colour
};
struct XYZ_COL_NORM {
  float x, y, z;
  float nx, ny, nz;
  float r, g, b, a;
};
static_assert(sizeof(XYZ_UV) == 28 && sizeof(XYZ_COL) == 28);
static_assert(sizeof(XYZ_UV_NORM) == 40 && sizeof(XYZ_COL_NORM) == 40);

// A 4 x 4 matrix as 16 floats, rows in order; a position is the row vector (x, y, z, 1)
// times it.
using Matrix4 = std::span<const float, 16>;

class VertexList {
 public:
  virtual ~VertexList() = default;
  // Draws the quads with the layout's own attributes (normals dropped from normal layouts).
  virtual void draw() = 0;
  // Draws the quads with normals: as stored, or one face normal per quad.
  virtual void drawWithNormal() = 0;
  // Bind the flat pipeline, the one with depth, and the one with depth, transparency layer
  // and normals.
  virtual void bindShader() = 0;
  virtual void bindDepthShader() = 0;
  virtual void bindOitShader() = 0;
  // A new empty list of the same class.
  virtual std::shared_ptr<VertexList> createEmpty() const = 0;
  virtual bool isEmpty() const = 0;
  // Appends `other`'s vertices with positions (and normals) moved by `matrix` and their
  // alpha times `alphaFactor`. A list of another vertex layout appends nothing.
  virtual void appendTransformed(const VertexList& other, Matrix4 matrix, float alphaFactor) = 0;
};

// The vertices of one layout.
template <class Vertex>
class VertexListTemplate : public VertexList {
 public:
  bool isEmpty() const override { return vertices.empty(); }
  void appendTransformed(const VertexList& other, Matrix4 matrix, float alphaFactor) override;

  std::vector<Vertex> vertices;
};

// The quad behaviour of a layout; `List` is the concrete class createEmpty makes.
template <class Vertex, class List>
class VertexListQuadTemplate : public VertexListTemplate<Vertex> {
 public:
  void draw() override;
  void drawWithNormal() override;
  void bindShader() override;
  void bindDepthShader() override;
  void bindOitShader() override;
  std::shared_ptr<VertexList> createEmpty() const override { return std::make_shared<List>(); }
};

class VertexListQuadPosUv : public VertexListQuadTemplate<XYZ_UV, VertexListQuadPosUv> {};
class VertexListQuadPosUvNorm
    : public VertexListQuadTemplate<XYZ_UV_NORM, VertexListQuadPosUvNorm> {};
class VertexListQuadPosColor : public VertexListQuadTemplate<XYZ_COL, VertexListQuadPosColor> {};
class VertexListQuadPosColorNorm
    : public VertexListQuadTemplate<XYZ_COL_NORM, VertexListQuadPosColorNorm> {};

// The unit quad that the output paths draw an object's image with, one per thread: threads
// drawing at once (two render workers) would otherwise refill one quad under each other's
// draws. Empty lists made from it are ordinary textured lists.
class VertexListQuadPosUvCommon : public VertexListQuadPosUv {
 public:
  // Sets the calling thread's quad to a w x h rectangle centred on the origin in the z = 0
  // plane, texture (0, 0) at (-w/2, -h/2), alpha 1, and returns it.
  static std::shared_ptr<VertexListQuadPosUvCommon> getQuad(float width, float height);
};

// The face normal of quad P, Q, R, S: the normalised sum of the normals of its two
// triangles split along Q-S, (S - P) x (Q - P) and (R - S) x (Q - S); `folded` tells whether
// those two point apart (the quad is then drawn split along P-R). A sum of infinite length
// gives NaN, one of no length (0, 0, 0).
struct FaceNormal {
  float x, y, z;
  bool folded;
};
FaceNormal quadFaceNormal(const float* p, const float* q, const float* r, const float* s);

}  // namespace Media

namespace Media {
extern template class VertexListTemplate<XYZ_UV>;
extern template class VertexListTemplate<XYZ_UV_NORM>;
extern template class VertexListTemplate<XYZ_COL>;
extern template class VertexListTemplate<XYZ_COL_NORM>;
extern template class VertexListQuadTemplate<XYZ_UV, VertexListQuadPosUv>;
extern template class VertexListQuadTemplate<XYZ_UV_NORM, VertexListQuadPosUvNorm>;
extern template class VertexListQuadTemplate<XYZ_COL, VertexListQuadPosColor>;
extern template class VertexListQuadTemplate<XYZ_COL_NORM, VertexListQuadPosColorNorm>;
}  // namespace Media
