#include "gpu/shader/vertex_shader.h"

#include "gpu/direct3d_service.h"
#include "gpu/gl/program_bindings.h"
#include "gpu/gl/shader_program.h"
#include "gpu/hresult.h"
#include "system/exception.h"

namespace Media {
namespace {

// DXGI numbers of the 32-bit vertex formats, by components and type.
constexpr int32_t kFormats[4][3] = {
    // uint, sint, float
    {42, 43, 41},  // R32
    {17, 18, 16},  // R32G32
    {7, 8, 6},     // R32G32B32
    {3, 4, 2},     // R32G32B32A32
};

}  // namespace

VertexShader::VertexShader() : direct3D_(&Direct3DService::Get()) {}

VertexShader::~VertexShader() {
  layout_.clear();
  program_.reset();
}

void VertexShader::loadFromMemory(const void* bytecode, std::size_t size) {
  program_ = std::make_unique<ShaderProgram>(bytecode, size, ShaderStage::Vertex,
                                             "Direct3D.device->CreateVertexShader",
                                             "Media::VertexShader::loadFromMemory");
  createInputLayout(bytecode, size);
}

void VertexShader::compile(const char* sourceName, const char* sourceText, const char* entryPoint) {
  const auto code = ShaderCompile::compileFromMemory(sourceName, sourceText, entryPoint, "vs_5_0");
  loadFromMemory(code->getBufferPointer(), code->getBufferSize());
}

int32_t VertexShader::formatOf(uint8_t mask, uint32_t componentType, std::string_view semanticName) {
  int type;
  switch (componentType) {
    case ComponentType::UINT32: type = 0; break;
    case ComponentType::SINT32: type = 1; break;
    case ComponentType::FLOAT32: type = 2; break;
    default: return 0;
  }
  int components;
  if (mask == 1)
    components = 1;
  else if (mask <= 3)
    components = 2;
  else if (mask <= 7)
    components = 3;
  else if (mask <= 15)
    components = semanticName.starts_with("POSITION") || semanticName.starts_with("NORMAL") ? 3 : 4;
  else
    return 0;
  return kFormats[components - 1][type];
}

uint32_t VertexShader::formatSize(int32_t format) {
  for (int components = 0; components < 4; ++components)
    for (int32_t candidate : kFormats[components])
      if (candidate == format) return 4u * static_cast<uint32_t>(components + 1);
  return 0;
}

void VertexShader::createInputLayout(const void* bytecode, std::size_t size) {
  constexpr const char* kPlace = "Media::VertexShader::createInputLayout";
  const auto reflection = ShaderCompile::reflect(bytecode, size, kPlace);
  std::vector<InputElement> layout;
  uint32_t offset = 0;
  for (const SignatureParameter& input : reflection->inputParameters()) {
    // Values the pipeline makes (the vertex number) come from no buffer.
    if (input.systemValue) continue;
    InputElement element;
    element.semanticName = input.semanticName;
    element.semanticIndex = input.semanticIndex;
    element.format = formatOf(input.mask, input.componentType, input.semanticName);
    element.inputSlot = 0;
    element.alignedByteOffset = offset;
    element.location = input.location;
    if (element.format == 0)
      throw System::makeHresultException("Direct3D.device->CreateInputLayout", kPlace,
                                         Hresult::kInvalidArgument);
    offset += formatSize(element.format);
    layout.push_back(std::move(element));
  }
  layout_ = std::move(layout);
  layoutId_ = ProgramBindings::newLayoutId();
}

void VertexShader::bind() {
  if (!program_) return;
  ProgramBindings::useVertexShader(*program_, layout_, layoutId_);
}

}  // namespace Media
