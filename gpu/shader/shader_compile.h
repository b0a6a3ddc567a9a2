#pragma once
// The base classes of the shaders: compiling HLSL text at run time and reading what compiled
// code declares.
//
// Shaders stay HLSL (shader model 5). Text given at run time (a script's shader) is compiled
// to SPIR-V by shaderc; the built-in shaders were compiled the same way when the program was
// built (builtin_shader_code.h). Either code is then read by ShaderReflection, which also
// turns it into the GLSL that the device runs.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gpu/shader/shader_reflection.h"

namespace Media {

// Compiled shader code (SPIR-V words).
class ShaderBlob {
 public:
  explicit ShaderBlob(std::vector<uint32_t> words) : words_(std::move(words)) {}
  const void* getBufferPointer() const { return words_.data(); }
  std::size_t getBufferSize() const { return words_.size() * sizeof(uint32_t); }
  std::span<const uint32_t> words() const { return words_; }

 private:
  std::vector<uint32_t> words_;
};

class ShaderBase {
 public:
  virtual ~ShaderBase() = default;
};

class ShaderCompile {
 public:
  // Compiles the whole text (up to its first NUL) for the profile ("ps_5_0", "vs_5_0",
  // "cs_5_0"): no macros; #include "x" resolves against the source name's folder; warnings
  // are errors. A failure with a message throws "shaderc_compile_into_spv() failed" at
  // "Media::ShaderCompile::compileFromMemory" with the compiler's message as note; one
  // without a message throws the call's error with its code.
  static std::shared_ptr<ShaderBlob> compileFromMemory(const char* sourceName,
                                                       const char* sourceText,
                                                       const char* entryPoint,
                                                       const char* targetProfile);

  // What the code declares. Code that cannot be read throws "spvc_context_parse_spirv() failed"
  // (or "spvc_compiler_compile() failed") at "Media::ShaderCompile::getShaderReflection".
  static std::unique_ptr<ShaderReflection> getShaderReflection(const void* bytecode,
                                                               std::size_t size);

  // The same read, reported at the caller's place.
  static std::unique_ptr<ShaderReflection> reflect(const void* bytecode, std::size_t size,
                                                   std::string_view place);
};

}  // namespace Media
