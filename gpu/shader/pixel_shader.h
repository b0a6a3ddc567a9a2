#pragma once
// A pixel shader with its own way of covering a target, and the draws that use it.
//
// At load the shader's input signature chooses its quad draw: SV_Position alone draws the
// position-only quad; SV_Position then TEXCOORD (both float) draws the quad with texture
// coordinates. Any other signature installs nothing, and the draw family then draws nothing
// (such shaders are drawn through vertex lists). A position input that the code never reads
// is dropped by the compiler, so a signature without one counts as if it began with it.
//
// Each member of the draw family binds the target with a viewport of its size, the constant
// buffer to pixel slot 0 and the inputs to texture slots 0 and up, draws, then unbinds the
// inputs and the target. The constant buffer stays bound.
#include <cstddef>
#include <functional>
#include <memory>

#include "gpu/shader/shader_binding.h"
#include "gpu/shader/shader_compile.h"

namespace Media {

class BlendState;
class ConstantBufferCommon;
class Direct3DService;
class RenderBuffer;
class RenderTargetView;
class ResourceBuffer;
class ShaderProgram;
class ShaderResourceView;

class PixelShader : public ShaderBase, public ShaderCompile {
 public:
  // The shader, a blend state (null: blending off) and a blend factor (null: none).
  using DrawFunction = std::function<void(PixelShader&, const BlendState*, const float*)>;

  PixelShader();
  // Destroys the draw function, then releases the shader.
  ~PixelShader() override;

  // Creates the shader (failures at "Media::PixelShader::loadFromMemory") and chooses its
  // draw function from the same code.
  void loadFromMemory(const void* bytecode, std::size_t size);
  // Compiles with the profile "ps_5_0", then loads.
  void compile(const char* sourceName, const char* sourceText, const char* entryPoint);
  void selectDrawFunction(const void* bytecode, std::size_t size);

  // The draw family. The blend factor of drawInputToRender comes before its blend state.
  void drawWithConstants(ResourceBuffer& target, const ConstantBufferCommon& constants,
                         const BlendState* blend);
  void drawInputWithConstants(ResourceBuffer& target, ResourceBuffer& input,
                              const ConstantBufferCommon& constants, const BlendState* blend);
  void drawInputWithConstantsToRender(RenderBuffer& target, ResourceBuffer& input,
                                      const ConstantBufferCommon& constants,
                                      const BlendState* blend);
  void drawInputToRender(RenderBuffer& target, ResourceBuffer& input, const float* blendFactor,
                         const BlendState* blend);
  void drawInput(ResourceBuffer& target, ResourceBuffer& input, const BlendState* blend);
  void copyToRender(RenderBuffer& target, ResourceBuffer& input);
  void drawTwoInputs(ResourceBuffer& target, ResourceBuffer& input0, ResourceBuffer& input1,
                     const BlendState* blend);
  void drawTwoInputsToRender(RenderBuffer& target, ResourceBuffer& input0,
                             ResourceBuffer& input1, const BlendState* blend);
  void drawViewToRender(RenderBuffer& target, const ShaderResourceView& view,
                        const BlendState* blend);
  void drawViewWithConstantsToRender(RenderBuffer& target, const ShaderResourceView& view,
                                     const ConstantBufferCommon& constants,
                                     const BlendState* blend);
  // Two inputs already in views (render buffers give theirs), slots 0 and 1.
  void drawTwoViewsToRender(RenderBuffer& target, const ShaderResourceView& view0,
                            const ShaderResourceView& view1, const BlendState* blend);
  void drawRenderInput(ResourceBuffer& target, RenderBuffer& input);
  // Draws one input into a target view, with constants when given and blending off.
  void drawViewToView(const RenderTargetView& target, const ShaderResourceView& input,
                      const ConstantBufferCommon* constants);

  // Binds the shader when the context's cache holds another pixel shader.
  void bind();
  // Runs the draw function on what is bound.
  void draw(const BlendState* blend, const float* blendFactor) {
    if (draw_) draw_(*this, blend, blendFactor);
  }

  bool loaded() const { return program_ != nullptr; }
  bool hasDrawFunction() const { return static_cast<bool>(draw_); }
  const ShaderReflection* reflection() const;

 private:
  void selectDrawFunction(const ShaderReflection& reflection);
  template <class Target>
  void drawToTarget(Target& target, std::initializer_list<const ShaderResourceView*> inputs,
                    const ConstantBufferCommon* constants, const BlendState* blend,
                    const float* blendFactor);

  Direct3DService* direct3D_;
  std::unique_ptr<ShaderProgram> program_;
  DrawFunction draw_;
};

}  // namespace Media
