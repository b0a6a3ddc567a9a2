#pragma once
// A compute shader. Its inputs and outputs are bound slot by slot through ShaderBindings
// (constant buffers of the compute stage, textures, unordered-access views); dispatch runs
// it and publishes what it wrote.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "gpu/shader/shader_binding.h"
#include "gpu/shader/shader_compile.h"

namespace Media {

class Direct3DService;
class ShaderProgram;

class ComputeShader : public ShaderBase, public ShaderCompile {
 public:
  ComputeShader();
  ~ComputeShader() override;

  // Failures at "Media::ComputeShader::loadFromMemory".
  void loadFromMemory(const void* bytecode, std::size_t size);
  // Compiles with the profile "cs_5_0", then loads.
  void compile(const char* sourceName, const char* sourceText, const char* entryPoint);
  // Binds the shader when it is not the cached compute shader, then runs x * y * z groups.
  void dispatch(uint32_t x, uint32_t y, uint32_t z);

  bool loaded() const { return program_ != nullptr; }
  const ShaderReflection* reflection() const;

 private:
  Direct3DService* direct3D_;
  std::unique_ptr<ShaderProgram> program_;
};

}  // namespace Media
