#include "gpu/compute_shader.h"

#include "gpu/direct3d_service.h"

namespace Media {

ComputeShader::ComputeShader() : direct3D_(&Direct3DService::Get()) {}

ComputeShader::~ComputeShader() = default;

void ComputeShader::loadFromMemory(const void* bytecode, std::size_t size) {
  program_ = std::make_unique<ShaderProgram>(bytecode, size, ShaderStage::Compute,
                                             "Direct3D.device->CreateComputeShader",
                                             "Media::ComputeShader::loadFromMemory");
}

void ComputeShader::compile(const char* sourceName, const char* sourceText,
                            const char* entryPoint) {
  const auto code = compileFromMemory(sourceName, sourceText, entryPoint, "cs_5_0");
  loadFromMemory(code->getBufferPointer(), code->getBufferSize());
}

void ComputeShader::dispatch(uint32_t x, uint32_t y, uint32_t z) {
  if (!program_) return;
  ShaderBindings::useComputeShader(*program_);
  {
    const DrawPreparation preparation = ShaderBindings::prepareDispatch();
    glDispatchCompute(x, y, z);
  }
  ShaderBindings::finishDispatch();
}

}  // namespace Media
