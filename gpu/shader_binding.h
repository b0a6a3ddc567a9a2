#pragma once
// What is bound for the shaders of the calling thread's context, the way the draw paths
// set it slot by slot: constant buffers per stage, textures and samplers, unordered-access
// views of compute shaders, and the vertex, pixel and compute shader in use.
//
// GL keeps textures, samplers and image units as the slots themselves (slot N is unit N).
// Constant buffers are remembered per stage and slot, and only bound when a draw or dispatch
// knows which shaders read them: a shader whose GL block is laid out differently from the
// HLSL buffer reads a repacked copy (see shader_reflection.h). Every draw made through the
// shader classes' programs calls prepareDraw first; every dispatch, prepareDispatch and
// finishDispatch around it.
#include <epoxy/gl.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "gpu/shader_reflection.h"

namespace Media {

class ConstantBufferCommon;
class ConstantStorage;
class GlFence;
class GlProgram;
class SamplerState;
class ShaderResourceView;
class UnorderedAccessView;

// One stage's program made from shader code, with what the code declares and the buffers
// that hold its repacked constants. Shared by every context; used by one thread at a time.
class ShaderProgram {
 public:
  // Reads and translates the code (failures as ShaderReflection's) and makes the program
  // (failure "glCreateShaderProgramv() failed" with the GL compiler's log), both at `place`.
  // Code of another stage than `stage` throws `createCall` at `place` (invalid argument).
  ShaderProgram(const void* bytecode, std::size_t size, ShaderStage stage,
                std::string_view createCall, std::string_view place);
  ShaderProgram(const ShaderProgram&) = delete;
  ShaderProgram& operator=(const ShaderProgram&) = delete;
  // Leaves every context's cache and deletes the staging buffers.
  ~ShaderProgram();

  const ShaderReflection& reflection() const { return *reflection_; }
  const GlProgram& program() const { return *program_; }

  // Binds the constant buffers that the stage's slots hold for the shader's blocks.
  void bindConstants(const std::vector<std::weak_ptr<ConstantStorage>>& slots);

 private:
  struct Staging {
    GLuint name = 0;
    uint64_t version = ~uint64_t{0};  // of the source contents it holds (0: none)
    std::shared_ptr<GlFence> written;
  };
  void bindStaged(std::size_t index, const ConstantBufferDescription& description,
                  const std::shared_ptr<ConstantStorage>& source);

  std::unique_ptr<ShaderReflection> reflection_;
  std::unique_ptr<GlProgram> program_;
  uint64_t deviceId_ = 0;
  std::mutex stagingMutex_;
  std::vector<Staging> staging_;
  std::vector<uint8_t> scratch_;
};

// One element of a vertex shader's input layout.
struct InputElement {
  std::string semanticName;
  uint32_t semanticIndex = 0;
  int32_t format = 0;            // DXGI number; 0 when no format fits
  uint32_t inputSlot = 0;
  uint32_t alignedByteOffset = 0;
  uint32_t location = 0;         // GL attribute location
};

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

class ShaderBindings {
 public:
  static void setConstantBuffer(ShaderStage stage, uint32_t slot, const ConstantBufferCommon* buffer);
  // Texture slot N is texture unit N (null unbinds it).
  static void setShaderResource(uint32_t slot, const ShaderResourceView* view);
  // Sampler slot N is the sampler of texture unit N (slot 0 through the context's cache).
  static void setSampler(uint32_t slot, const SamplerState* sampler);
  // A compute shader's unordered-access slot N is image unit N (null unbinds it); what the
  // dispatch writes there is published by finishDispatch.
  static void setUnorderedAccess(uint32_t slot, const UnorderedAccessView* view);

  // Binds a stage's program when it is not the one the context's cache holds.
  static void useVertexShader(ShaderProgram& program, const std::vector<InputElement>& layout,
                              uint64_t layoutId);
  static void usePixelShader(ShaderProgram& program);
  static void useComputeShader(ShaderProgram& program);
  // The vertex buffer of input slot 0 of the input layouts (GL buffer name).
  static void setVertexBuffer(GLuint buffer, uint32_t stride, uint32_t offset);

  // Right before a draw: the constants of the vertex and pixel shader in use, and samplers
  // onto the units of textures that a shader samples with another slot's sampler.
  [[nodiscard]] static DrawPreparation prepareDraw();
  [[nodiscard]] static DrawPreparation prepareDispatch();
  // Right after a dispatch: its writes become visible to what follows, in this and in
  // other contexts.
  static void finishDispatch();

  static uint64_t newLayoutId();
};

}  // namespace Media
