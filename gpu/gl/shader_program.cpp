#include "gpu/gl/shader_program.h"

#include <algorithm>
#include <cstring>
#include <regex>

#include "gpu/gl/constant_storage.h"
#include "gpu/gl/fragment_interlock.h"
#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"
#include "gpu/gl/gl_program.h"
#include "gpu/shader/shader_compile.h"

namespace Media {
namespace {

GLenum glStageOf(ShaderStage stage) {
  switch (stage) {
    case ShaderStage::Vertex: return GL_VERTEX_SHADER;
    case ShaderStage::Pixel: return GL_FRAGMENT_SHADER;
    case ShaderStage::Compute: return GL_COMPUTE_SHADER;
  }
  return GL_FRAGMENT_SHADER;
}

// The GLSL of a pixel shader whose output 0 reaches a mask: the translated main runs
// under another name, then the output's alpha is moved into its first channel. Empty when
// the code has no four-channel output at location 0.
std::string maskOutputGlsl(const std::string& glsl) {
  static const std::regex output(R"(layout\(location = 0\) out vec4 (\w+);)");
  std::smatch match;
  if (!std::regex_search(glsl, match, output)) return {};
  const std::string name = match[1].str();
  static const std::regex entry(R"(\bvoid main\(\))");
  if (!std::regex_search(glsl, entry)) return {};
  std::string result = std::regex_replace(glsl, entry, "void translatedMain()",
                                          std::regex_constants::format_first_only);
  result += "\nvoid main()\n{\n    translatedMain();\n    " + name + " = vec4(" + name +
            ".a, 0.0, 0.0, " + name + ".a);\n}\n";
  return result;
}

}  // namespace

ShaderProgram::ShaderProgram(const void* bytecode, std::size_t size, ShaderStage stage,
                             std::string_view createCall, std::string_view place) {
  reflection_ = ShaderCompile::reflect(bytecode, size, place);
  if (reflection_->stage() != stage)
    throw System::makeHresultException(createCall, place, Hresult::kInvalidArgument);
  GlDevice* device = GlDevice::live();
  // A pixel shader writing images keeps its fragments in primitive order where it can.
  if (stage == ShaderStage::Pixel && !reflection_->imageUnits().empty() &&
      device->hasGlExtension(Gl::kFragmentInterlockExtension))
    program_ = std::make_unique<GlProgram>(glStageOf(stage), Gl::withFragmentInterlock(reflection_->glsl()),
                                           place);
  else
    program_ = std::make_unique<GlProgram>(glStageOf(stage), reflection_->glsl(), place);
  place_ = place;
  staging_.resize(reflection_->constantBuffers().size());
  deviceId_ = device->id();
}

ShaderProgram::~ShaderProgram() {
  if (GlDevice* device = GlDevice::live()) device->forgetCachedObject(this);
}

const GlProgram& ShaderProgram::maskProgram() {
  if (const GlProgram* made = maskProgram_.load()) return *made;
  std::lock_guard lock(maskMutex_);
  if (const GlProgram* made = maskProgram_.load()) return *made;
  const std::string glsl = reflection_->stage() == ShaderStage::Pixel
                               ? maskOutputGlsl(reflection_->glsl())
                               : std::string();
  if (glsl.empty()) {
    maskProgram_ = program_.get();
  } else {
    maskOwner_ = std::make_unique<GlProgram>(GL_FRAGMENT_SHADER, glsl, place_);
    maskProgram_ = maskOwner_.get();
  }
  return *maskProgram_.load();
}

void ShaderProgram::bindConstants(const std::vector<std::weak_ptr<ConstantStorage>>& slots) {
  const auto& buffers = reflection_->constantBuffers();
  for (std::size_t i = 0; i < buffers.size(); ++i) {
    const ConstantBufferDescription& description = buffers[i];
    std::shared_ptr<ConstantStorage> source =
        description.slot < slots.size() ? slots[description.slot].lock() : nullptr;
    if (source && description.sameLayout && source->size() >= description.glSize) {
      source->waitReady();
      glBindBufferRange(GL_UNIFORM_BUFFER, description.glBinding, source->name(), 0,
                        source->size());
    } else {
      bindStaged(i, description, source);
    }
  }
}

// A block laid out otherwise than the buffer, or a buffer too small or missing: the shader
// reads a copy with each member moved to its GL offset (missing bytes read as zeros).
void ShaderProgram::bindStaged(std::size_t index, const ConstantBufferDescription& description,
                               const std::shared_ptr<ConstantStorage>& source) {
  std::lock_guard lock(stagingMutex_);
  Staging& staging = staging_[index];
  if (!staging.buffer) staging.buffer = Gl::Object::create(Gl::ObjectType::Buffer, deviceId_);
  const uint64_t version = source ? source->version() : 0;
  if (staging.version != version || !staging.buffer.fence()) {
    std::vector<uint8_t> contents;
    uint64_t copied = 0;
    if (source) source->copyContents(contents, copied);
    scratch_.assign(description.glSize, 0);
    for (const ConstantCopy& copy : description.copies) {
      if (copy.source >= contents.size()) continue;
      const std::size_t size = std::min<std::size_t>(copy.size, contents.size() - copy.source);
      std::memcpy(scratch_.data() + copy.target, contents.data() + copy.source, size);
    }
    glNamedBufferData(staging.buffer.name(), description.glSize, scratch_.data(), GL_DYNAMIC_DRAW);
    staging.version = copied;
    staging.buffer.markWritten();
  } else {
    staging.buffer.waitReady();
  }
  glBindBufferBase(GL_UNIFORM_BUFFER, description.glBinding, staging.buffer.name());
}

}  // namespace Media
