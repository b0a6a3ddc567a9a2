#pragma once
// Binding the shader programs of the calling thread's context and preparing its draws and
// dispatches.
//
// GL keeps textures, samplers and image units as the slots themselves (slot N is unit N).
// Constant buffers set through ShaderBindings are only bound when a draw or dispatch knows
// which shaders read them, so every draw made through the shader classes' programs calls
// prepareDraw first, and every dispatch goes through dispatch().
#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

#include "gpu/shader/shader_binding.h"

namespace Media {

class ShaderProgram;

// Restores the samplers that a draw moved onto other units, when it ends.
class DrawPreparation {
 public:
  DrawPreparation() = default;
  DrawPreparation(DrawPreparation&& other) noexcept : restore_(std::move(other.restore_)) {}
  DrawPreparation& operator=(DrawPreparation&&) = delete;
  ~DrawPreparation();
  void keep(GLuint unit, GLuint sampler) { restore_.push_back({unit, sampler}); }

 private:
  struct Restore {
    GLuint unit;
    GLuint sampler;
  };
  std::vector<Restore> restore_;
};

class ProgramBindings {
 public:
  // Binds a stage's program when it is not the one the context's cache holds.
  static void useVertexShader(ShaderProgram& program, const std::vector<InputElement>& layout,
                              uint64_t layoutId);
  static void usePixelShader(ShaderProgram& program);
  // The vertex buffer of input slot 0 of the input layouts.
  static void setVertexBuffer(GLuint buffer, uint32_t stride, uint32_t offset);

  // Right before a draw: the constants of the vertex and pixel shader in use, and samplers
  // onto the units of textures that a shader samples with another slot's sampler.
  [[nodiscard]] static DrawPreparation prepareDraw();
  // Binds the compute program and its constants, runs x * y * z groups and makes what they
  // wrote visible to what follows, in this and in other contexts.
  static void dispatch(ShaderProgram& program, uint32_t x, uint32_t y, uint32_t z);

  static uint64_t newLayoutId();
};

}  // namespace Media
