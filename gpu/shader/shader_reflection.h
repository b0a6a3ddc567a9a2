#pragma once
// What a shader's code says about itself, and the GLSL the device runs it as.
//
// Shader code is SPIR-V made from HLSL (at build time or by ShaderCompile at run time). The
// reflection reads it with SPIRV-Cross and turns it into GLSL 4.50 for a separable program
// of one stage, with the HLSL register numbers mapped onto GL binding points:
//   - texture tN is texture unit N; a texture sampled with a sampler sM is drawn with the
//     sampler object bound at unit M (the draw binds it onto unit N when M differs), and a
//     texture sampled with two samplers gets a spare unit from 64 up for the second pair;
//   - unordered-access view uN is image unit N (pixel shaders count them after the render
//     target, as their slots do);
//   - constant buffer bN is uniform-buffer binding N of the stage: pixel 0-13, vertex 14-27,
//     compute 28-41, as each stage has its own 14 slots.
//   - a pixel shader's output to target 1 is the second blend source (location 0, index 1):
//     draws have a single render target, so that output only ever feeds dual-source blending.
//
// Constant buffers are written by the program in HLSL's packing: members fill 16-byte
// registers in order and move to the next register only when they would straddle one;
// arrays, structures and matrices start a register, array elements each take one, and a
// structure ends its register. GLSL cannot declare most such blocks, so the GL block is laid
// out by std140 instead and the reflection keeps the copies that move each member from its
// HLSL offset to its GL offset. Blocks whose members sit at the same offsets both ways are
// read from the program's buffer as they are.
//
// A float4 unordered-access texture is declared in the device's pixel format, the format
// that every four-channel image the shaders write is in; a float one as R32_FLOAT.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Media {

enum class ShaderStage : uint8_t { Vertex = 0, Pixel = 1, Compute = 2 };

// Component types of signature parameters. The numbers are stored with shader signatures
// and choose the formats of vertex inputs (VertexShader::formatOf), so they never change.
namespace ComponentType {
inline constexpr uint32_t UNKNOWN = 0;
inline constexpr uint32_t UINT32 = 1;
inline constexpr uint32_t SINT32 = 2;
inline constexpr uint32_t FLOAT32 = 3;
}  // namespace ComponentType

// One input (or output) of the shader's signature, in declaration order.
struct SignatureParameter {
  std::string semanticName;  // without its trailing index: "TEXCOORD", "SV_Position"
  uint32_t semanticIndex = 0;
  uint32_t componentType = ComponentType::UNKNOWN;
  uint8_t mask = 0;          // one bit per declared component
  bool systemValue = false;  // an SV_ value made by the pipeline, with no location
  uint32_t location = 0;     // GL location of a value that is not a system value
};

struct ConstantBufferVariable {
  std::string name;
  uint32_t startOffset = 0;  // HLSL packing
  uint32_t size = 0;
};

// A byte range moved from the program's HLSL-packed buffer into the GL block.
struct ConstantCopy {
  uint32_t source = 0;
  uint32_t target = 0;
  uint32_t size = 0;
};

struct ConstantBufferDescription {
  std::string name;
  uint32_t slot = 0;   // register bN
  uint32_t size = 0;   // HLSL size, a multiple of 16
  std::vector<ConstantBufferVariable> variables;
  uint32_t glBinding = 0;
  uint32_t glSize = 0;            // size of the GL block, a multiple of 16
  std::vector<ConstantCopy> copies;  // sorted by source, adjacent ranges merged
  bool sameLayout = false;        // every copy keeps its offset
};

// A texture unit the shader samples from, and where its texture and sampler are bound.
struct TextureUnitBinding {
  uint32_t unit = 0;
  uint32_t textureSlot = 0;
  int32_t samplerSlot = -1;  // -1: read without a sampler (Load)
};

class ShaderReflection {
 public:
  // Reads the code; a failure throws `call` ("spvc_context_parse_spirv",
  // "spvc_compiler_compile") at `place` with SPIRV-Cross's message as note.
  // `pixelFormat` is the device's pixel format (for float4 unordered-access textures).
  ShaderReflection(std::span<const uint32_t> spirv, int32_t pixelFormat, std::string_view place);

  ShaderStage stage() const { return stage_; }
  const std::vector<SignatureParameter>& inputParameters() const { return inputs_; }
  const std::vector<SignatureParameter>& outputParameters() const { return outputs_; }
  const std::vector<ConstantBufferDescription>& constantBuffers() const { return constantBuffers_; }
  const ConstantBufferDescription* findConstantBuffer(std::string_view name) const;
  const std::vector<TextureUnitBinding>& textureUnits() const { return textureUnits_; }
  // Image units of the unordered-access views the shader uses.
  const std::vector<uint32_t>& imageUnits() const { return imageUnits_; }
  const std::array<uint32_t, 3>& threadGroupSize() const { return threadGroupSize_; }
  const std::string& glsl() const { return glsl_; }

  // The uniform-buffer binding of constant slot N of a stage.
  static constexpr uint32_t kConstantSlots = 14;
  static uint32_t constantBinding(ShaderStage stage, uint32_t slot) {
    return static_cast<uint32_t>(stage) * kConstantSlots + slot;
  }
  static constexpr uint32_t kTextureSlots = 64;  // tN beyond this is refused
  static constexpr uint32_t kImageSlots = 8;     // uN beyond this is refused

 private:
  ShaderStage stage_ = ShaderStage::Pixel;
  std::vector<SignatureParameter> inputs_;
  std::vector<SignatureParameter> outputs_;
  std::vector<ConstantBufferDescription> constantBuffers_;
  std::vector<TextureUnitBinding> textureUnits_;
  std::vector<uint32_t> imageUnits_;
  std::array<uint32_t, 3> threadGroupSize_{1, 1, 1};
  std::string glsl_;
};

}  // namespace Media
