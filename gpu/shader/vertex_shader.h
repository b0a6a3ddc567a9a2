#pragma once
// A vertex shader with the input layout built from its own input signature.
//
// Every input that is not a system value becomes one element, in declaration order: the
// semantic as declared, input slot 0, placed right after the previous element, with a format
// chosen from the input's components and type (see formatOf). A four-component POSITION or
// NORMAL reads three floats, the fourth taking its default, as the vertex lists store them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gpu/shader/shader_binding.h"
#include "gpu/shader/shader_compile.h"

namespace Media {

class Direct3DService;
class ShaderProgram;

class VertexShader {
 public:
  VertexShader();
  VertexShader(const VertexShader&) = delete;
  VertexShader& operator=(const VertexShader&) = delete;
  // Releases the layout, then the shader.
  ~VertexShader();

  // Creates the shader (failures at "Media::VertexShader::loadFromMemory"), then its layout.
  void loadFromMemory(const void* bytecode, std::size_t size);
  void compile(const char* sourceName, const char* sourceText, const char* entryPoint);
  // Builds the layout from the code's input signature; an input without a format throws
  // "Direct3D.device->CreateInputLayout" at "Media::VertexShader::createInputLayout".
  void createInputLayout(const void* bytecode, std::size_t size);

  // Binds the shader and its layout when the context's cache holds another shader.
  void bind();

  // The format of an element from its component mask, component type and semantic name.
  static int32_t formatOf(uint8_t mask, uint32_t componentType, std::string_view semanticName);
  static uint32_t formatSize(int32_t format);

  bool loaded() const { return program_ != nullptr; }
  const std::vector<InputElement>& inputLayout() const { return layout_; }
  ShaderProgram* program() const { return program_.get(); }

 private:
  Direct3DService* direct3D_;
  std::unique_ptr<ShaderProgram> program_;
  std::vector<InputElement> layout_;
  uint64_t layoutId_ = 0;
};

}  // namespace Media
