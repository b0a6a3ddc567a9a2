#include "gpu/shader/pixel_shader.h"

#include <algorithm>
#include <vector>

#include "gpu/direct3d_service.h"
#include "gpu/gl/gl_context.h"
#include "gpu/gl/program_bindings.h"
#include "gpu/gl/quad_draw_set.h"
#include "gpu/gl/shader_program.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/constant_buffer.h"

namespace Media {
namespace {

// Covers the bound target with one of the full-target quads.
void drawQuad(PixelShader& shader, const BlendState* blend, const float* blendFactor,
              bool textured) {
  Direct3DService::Get().quadDrawSet().draw(shader, textured, blend, blendFactor);
}

bool isFloatInput(const SignatureParameter& input, std::string_view prefix) {
  return input.semanticName.starts_with(prefix) && input.componentType == ComponentType::FLOAT32;
}

void bindTarget(Direct3DService& service, ResourceBuffer& target) {
  service.setRenderTargetBuffer(target);
}
void bindTarget(Direct3DService& service, RenderBuffer& target) { service.setRenderTarget(target); }
void bindTarget(Direct3DService& service, const RenderTargetView& target) {
  service.context().bindOutputs(target);
}

}  // namespace

PixelShader::PixelShader() : direct3D_(&Direct3DService::Get()) {}

const ShaderReflection* PixelShader::reflection() const {
  return program_ ? &program_->reflection() : nullptr;
}

PixelShader::~PixelShader() {
  draw_ = nullptr;
  program_.reset();
}

void PixelShader::loadFromMemory(const void* bytecode, std::size_t size) {
  program_ = std::make_unique<ShaderProgram>(bytecode, size, ShaderStage::Pixel,
                                             "Direct3D.device->CreatePixelShader",
                                             "Media::PixelShader::loadFromMemory");
  // The code was read just now: its signature is at hand.
  selectDrawFunction(program_->reflection());
}

void PixelShader::compile(const char* sourceName, const char* sourceText, const char* entryPoint) {
  const auto code = compileFromMemory(sourceName, sourceText, entryPoint, "ps_5_0");
  loadFromMemory(code->getBufferPointer(), code->getBufferSize());
}

void PixelShader::selectDrawFunction(const void* bytecode, std::size_t size) {
  selectDrawFunction(*getShaderReflection(bytecode, size));
}

void PixelShader::selectDrawFunction(const ShaderReflection& reflection) {
  // A position the code never reads is not in the code at all: a signature without it is
  // read as if it began with it.
  std::vector<const SignatureParameter*> inputs;
  for (const SignatureParameter& input : reflection.inputParameters()) inputs.push_back(&input);
  const bool positionFirst = !inputs.empty() && isFloatInput(*inputs[0], "SV_Position");
  const std::size_t rest = positionFirst ? 1 : 0;
  const bool positionElsewhere =
      std::any_of(inputs.begin() + static_cast<std::ptrdiff_t>(rest), inputs.end(),
                  [](const SignatureParameter* input) { return input->semanticName == "SV_Position"; });
  if (positionElsewhere) return;
  if (inputs.size() == rest) {
    draw_ = [](PixelShader& shader, const BlendState* blend, const float* factor) {
      drawQuad(shader, blend, factor, false);
    };
  } else if (inputs.size() == rest + 1 && isFloatInput(*inputs[rest], "TEXCOORD")) {
    draw_ = [](PixelShader& shader, const BlendState* blend, const float* factor) {
      drawQuad(shader, blend, factor, true);
    };
  }
}

void PixelShader::bind() {
  if (program_) ProgramBindings::usePixelShader(*program_);
}

template <class Target>
void PixelShader::drawToTarget(Target& target,
                               std::initializer_list<const ShaderResourceView*> inputs,
                               const ConstantBufferCommon* constants, const BlendState* blend,
                               const float* blendFactor) {
  bindTarget(*direct3D_, target);
  // Whatever happens in the draw, the inputs and the target are unbound after it.
  struct Unbind {
    Direct3DService& service;
    uint32_t inputs;
    ~Unbind() {
      for (uint32_t slot = 0; slot < inputs; ++slot) ShaderBindings::setShaderResource(slot, nullptr);
      service.unbindRenderTargets();
    }
  } unbind{*direct3D_, static_cast<uint32_t>(inputs.size())};
  if (constants) ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 0, constants);
  uint32_t slot = 0;
  for (const ShaderResourceView* input : inputs) ShaderBindings::setShaderResource(slot++, input);
  draw(blend, blendFactor);
}

void PixelShader::drawWithConstants(ResourceBuffer& target, const ConstantBufferCommon& constants,
                                    const BlendState* blend) {
  drawToTarget(target, {}, &constants, blend, nullptr);
}

void PixelShader::drawInputWithConstants(ResourceBuffer& target, ResourceBuffer& input,
                                         const ConstantBufferCommon& constants,
                                         const BlendState* blend) {
  const auto view = input.createShaderResourceView();
  drawToTarget(target, {view.get()}, &constants, blend, nullptr);
}

void PixelShader::drawInputWithConstantsToRender(RenderBuffer& target, ResourceBuffer& input,
                                                 const ConstantBufferCommon& constants,
                                                 const BlendState* blend) {
  const auto view = input.createShaderResourceView();
  drawToTarget(target, {view.get()}, &constants, blend, nullptr);
}

void PixelShader::drawInputToRender(RenderBuffer& target, ResourceBuffer& input,
                                    const float* blendFactor, const BlendState* blend) {
  const auto view = input.createShaderResourceView();
  drawToTarget(target, {view.get()}, nullptr, blend, blendFactor);
}

void PixelShader::drawInput(ResourceBuffer& target, ResourceBuffer& input, const BlendState* blend) {
  const auto view = input.createShaderResourceView();
  drawToTarget(target, {view.get()}, nullptr, blend, nullptr);
}

void PixelShader::copyToRender(RenderBuffer& target, ResourceBuffer& input) {
  const auto view = input.createShaderResourceView();
  drawToTarget(target, {view.get()}, nullptr, nullptr, nullptr);
}

void PixelShader::drawTwoInputs(ResourceBuffer& target, ResourceBuffer& input0,
                                ResourceBuffer& input1, const BlendState* blend) {
  const auto view0 = input0.createShaderResourceView();
  const auto view1 = input1.createShaderResourceView();
  drawToTarget(target, {view0.get(), view1.get()}, nullptr, blend, nullptr);
}

void PixelShader::drawTwoInputsToRender(RenderBuffer& target, ResourceBuffer& input0,
                                        ResourceBuffer& input1, const BlendState* blend) {
  const auto view0 = input0.createShaderResourceView();
  const auto view1 = input1.createShaderResourceView();
  drawToTarget(target, {view0.get(), view1.get()}, nullptr, blend, nullptr);
}

void PixelShader::drawViewToRender(RenderBuffer& target, const ShaderResourceView& view,
                                   const BlendState* blend) {
  drawToTarget(target, {&view}, nullptr, blend, nullptr);
}

void PixelShader::drawViewWithConstantsToRender(RenderBuffer& target,
                                                const ShaderResourceView& view,
                                                const ConstantBufferCommon& constants,
                                                const BlendState* blend) {
  drawToTarget(target, {&view}, &constants, blend, nullptr);
}

void PixelShader::drawTwoViewsToRender(RenderBuffer& target, const ShaderResourceView& view0,
                                       const ShaderResourceView& view1, const BlendState* blend) {
  drawToTarget(target, {&view0, &view1}, nullptr, blend, nullptr);
}

void PixelShader::drawRenderInput(ResourceBuffer& target, RenderBuffer& input) {
  const auto view = input.createShaderResourceView();
  drawToTarget(target, {view.get()}, nullptr, nullptr, nullptr);
}

void PixelShader::drawViewToView(const RenderTargetView& target, const ShaderResourceView& input,
                                 const ConstantBufferCommon* constants) {
  drawToTarget(target, {&input}, constants, nullptr, nullptr);
}

}  // namespace Media
