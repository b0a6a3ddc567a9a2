#pragma once
// What is bound for the shaders of the calling thread's context, the way the draw paths
// set it slot by slot: constant buffers per stage, textures and samplers, and
// unordered-access views of compute shaders.
//
// Texture, sampler and image slots are bound at once; constant buffers are remembered per
// stage and slot and bound by the draw or dispatch that knows which shaders read them (see
// gl/program_bindings.h).
#include <cstdint>
#include <string>

#include "gpu/shader/shader_reflection.h"

namespace Media {

class BlendState;
class ConstantBufferCommon;
class RasterizerState;
class SamplerState;
class ShaderResourceView;
class UnorderedAccessView;

// One element of a vertex shader's input layout.
struct InputElement {
  std::string semanticName;
  uint32_t semanticIndex = 0;
  int32_t format = 0;            // DXGI number; 0 when no format fits
  uint32_t inputSlot = 0;
  uint32_t alignedByteOffset = 0;
  uint32_t location = 0;         // GL attribute location
};

class ShaderBindings {
 public:
  static void setConstantBuffer(ShaderStage stage, uint32_t slot, const ConstantBufferCommon* buffer);
  // Texture slot N is texture unit N (null unbinds it).
  static void setShaderResource(uint32_t slot, const ShaderResourceView* view);
  // Sampler slot N is the sampler of texture unit N (slot 0 through the context's cache).
  static void setSampler(uint32_t slot, const SamplerState* sampler);
  // The blend state of the next draws (null: blending off) with its blend factor.
  static void setBlendState(const BlendState* state, const float* blendFactor = nullptr);
  // The rasterizer state of the next draws (null: the default).
  static void setRasterizerState(const RasterizerState* state);
  // A compute shader's unordered-access slot N is image unit N (null unbinds it); what the
  // dispatch writes there is published when the dispatch ends.
  static void setUnorderedAccess(uint32_t slot, const UnorderedAccessView* view);
};

}  // namespace Media
