#pragma once
// One stage's GL program made from shader code, with what the code declares.
//
// A shader whose GL block is laid out differently from the HLSL constant buffer reads a
// repacked copy (see shader_reflection.h): the program keeps one staging buffer per such
// block, rewritten whenever the buffer bound to its slot has new contents.
#include <epoxy/gl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "gpu/gl/gl_object.h"
#include "gpu/shader/shader_reflection.h"

namespace Media {

class ConstantStorage;
class GlProgram;

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
  // Leaves every context's cache; the staging buffers go with it.
  ~ShaderProgram();

  const ShaderReflection& reflection() const { return *reflection_; }
  const GlProgram& program() const { return *program_; }
  // The pixel program for a mask target, made on first use: the same code with the alpha
  // of output 0 written to its first channel, the one a mask stores. A shader without a
  // four-channel output 0 serves masks as it is.
  const GlProgram& maskProgram();

  // Binds the constant buffers that the stage's slots hold for the shader's blocks.
  void bindConstants(const std::vector<std::weak_ptr<ConstantStorage>>& slots);

 private:
  struct Staging {
    Gl::Object buffer;                // its fence: the last write of the contents
    uint64_t version = ~uint64_t{0};  // of the source contents it holds (0: none)
  };
  void bindStaged(std::size_t index, const ConstantBufferDescription& description,
                  const std::shared_ptr<ConstantStorage>& source);

  std::unique_ptr<ShaderReflection> reflection_;
  std::unique_ptr<GlProgram> program_;
  std::string place_;
  std::mutex maskMutex_;
  std::unique_ptr<GlProgram> maskOwner_;
  std::atomic<const GlProgram*> maskProgram_{nullptr};
  uint64_t deviceId_ = 0;  // of the staging buffers
  std::mutex stagingMutex_;
  std::vector<Staging> staging_;
  std::vector<uint8_t> scratch_;
};

}  // namespace Media
