#include "gpu/shader/compute_shader.h"

#include "gpu/direct3d_service.h"
#include "gpu/gl/program_bindings.h"
#include "gpu/gl/shader_program.h"

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
  if (program_) ProgramBindings::dispatch(*program_, x, y, z);
}

const ShaderReflection* ComputeShader::reflection() const {
  return program_ ? &program_->reflection() : nullptr;
}

}  // namespace Media
