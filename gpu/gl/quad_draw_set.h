#pragma once
// What a pixel shader needs to cover a whole target: the built-in position-only and
// position-and-texture-coordinate vertex shaders, their two quads, and the states of a plain
// quad draw (rasterizer entry 0, solid without culling; blend entry 3, no blending).
//
// The quads are triangle strips of four corners at (-1, -1, 0), (1, -1, 0), (-1, 1, 0),
// (1, 1, 0): 12-byte positions, and 28-byte vertices of position, texture coordinate
// ((0, 1), (1, 1), (0, 0), (1, 0)), alpha 1 and a last float 0. Made once per device, on the
// first quad draw, by the device service.
#include <epoxy/gl.h>

#include <cstdint>

#include "gpu/gl/gl_object.h"
#include "gpu/shader/blend_state_list.h"
#include "gpu/shader/rasterizer_state_list.h"
#include "gpu/shader/vertex_shader.h"

namespace Media {

class PixelShader;

class QuadDrawSet {
 public:
  static constexpr uint32_t kPositionStride = 12;
  static constexpr uint32_t kTexturedStride = 28;

  QuadDrawSet();
  QuadDrawSet(const QuadDrawSet&) = delete;
  QuadDrawSet& operator=(const QuadDrawSet&) = delete;

  VertexShader& positionShader() { return positionShader_; }
  VertexShader& texturedShader() { return texturedShader_; }
  GLuint positionQuad() const { return positionQuad_.name(); }
  GLuint texturedQuad() const { return texturedQuad_.name(); }
  RasterizerState* rasterizer() { return rasterizers_.get(0); }
  BlendState* noBlending() { return blends_.get(3); }

  // Covers the bound target with one of the quads (with texture coordinates when
  // `textured`), drawn by the pixel shader with the blend state (null: none) and factor.
  void draw(PixelShader& shader, bool textured, const BlendState* blend, const float* blendFactor);

 private:
  Shader::RasterizerStateList rasterizers_;
  Shader::BlendStateList blends_;
  VertexShader positionShader_;
  VertexShader texturedShader_;
  Gl::Object positionQuad_;
  Gl::Object texturedQuad_;
};

}  // namespace Media
