#pragma once
// A separable GL program of one shader stage, made from GLSL 4.50 text.
//
// Stages are bound one by one to each context's program pipeline (GlContext::use...Program),
// the way the draw paths bind a vertex and a pixel shader independently. The program object
// is shared by every context; it is fenced after linking so that another thread's context
// uses it only once it is complete.
#include <epoxy/gl.h>

#include <string_view>

#include "gpu/gl/gl_object.h"

namespace Media {

// A vertex stage that covers the whole target with a strip of four corners made from the
// vertex number: no vertex buffer is needed for a full-target pass.
inline constexpr const char* kFullTargetVertexSource = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
void main() {
  vec2 corner = vec2(float(gl_VertexID & 1), float((gl_VertexID >> 1) & 1));
  gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

class GlProgram {
 public:
  // `stage` is GL_VERTEX_SHADER, GL_FRAGMENT_SHADER or GL_COMPUTE_SHADER. A compile or
  // link failure throws "glCreateShaderProgramv() failed" at `place` with the compiler's
  // log as note.
  GlProgram(GLenum stage, std::string_view source, std::string_view place);
  GlProgram(const GlProgram&) = delete;
  GlProgram& operator=(const GlProgram&) = delete;
  // Leaves every context's state cache and deletes the program.
  ~GlProgram();

  GLuint name() const { return program_.name(); }
  GLenum stage() const { return stage_; }
  // Makes the calling thread's context wait until the program is complete, when it was
  // made by another context.
  void waitReady() const { program_.waitReady(); }

 private:
  GLenum stage_;
  Gl::Object program_;
};

}  // namespace Media
