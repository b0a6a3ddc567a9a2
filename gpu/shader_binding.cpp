#include "gpu/shader_binding.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>

#include "gpu/constant_buffer.h"
#include "gpu/gl_context.h"
#include "gpu/gl_device.h"
#include "gpu/gl_error.h"
#include "gpu/gl_fence.h"
#include "gpu/gl_program.h"
#include "gpu/gpu_texture.h"
#include "gpu/pipeline_state.h"
#include "gpu/shader_compile.h"

namespace Media {
namespace {

constexpr std::size_t kStages = 3;
constexpr GLuint kMaxVertexAttributes = 16;

// The calling thread's bindings. It holds no GL object that outlives its context: the
// vertex array dies with the context, and buffers and textures are referred to weakly.
struct BindingTable : ContextLocal {
  BindingTable() {
    for (auto& stage : constants) stage.resize(ShaderReflection::kConstantSlots);
  }
  std::array<std::vector<std::weak_ptr<ConstantStorage>>, kStages> constants;
  std::array<std::weak_ptr<GpuTexture>, ShaderReflection::kImageSlots> images;
  ShaderProgram* vertex = nullptr;
  ShaderProgram* pixel = nullptr;
  ShaderProgram* compute = nullptr;
  GLuint layoutVertexArray = 0;
  uint64_t appliedLayout = 0;
};

const char kTableKey = 0;

GlContext& currentContext() {
  GlDevice* device = GlDevice::live();
  if (!device) throw System::makeException("Media::ShaderBindings", "graphics device not created.");
  return device->current();
}

BindingTable& tableOf(GlContext& context) {
  return static_cast<BindingTable&>(
      context.local(&kTableKey, [] { return std::make_unique<BindingTable>(); }));
}

GLenum glStageOf(ShaderStage stage) {
  switch (stage) {
    case ShaderStage::Vertex: return GL_VERTEX_SHADER;
    case ShaderStage::Pixel: return GL_FRAGMENT_SHADER;
    case ShaderStage::Compute: return GL_COMPUTE_SHADER;
  }
  return GL_FRAGMENT_SHADER;
}

GLint boundOnUnit(GLuint unit, GLenum query) {
  glActiveTexture(GL_TEXTURE0 + unit);
  GLint name = 0;
  glGetIntegerv(query, &name);
  return name;
}

// Puts the textures and samplers that the shader reads on a unit of another slot there.
void moveToUnits(const ShaderReflection& reflection, DrawPreparation& preparation) {
  for (const TextureUnitBinding& binding : reflection.textureUnits()) {
    if (binding.unit != binding.textureSlot)
      glBindTextureUnit(binding.unit,
                        static_cast<GLuint>(boundOnUnit(binding.textureSlot, GL_TEXTURE_BINDING_2D)));
    if (binding.samplerSlot >= 0 && static_cast<GLuint>(binding.samplerSlot) != binding.unit) {
      const GLint sampler = boundOnUnit(static_cast<GLuint>(binding.samplerSlot), GL_SAMPLER_BINDING);
      preparation.keep(binding.unit,
                       static_cast<GLuint>(boundOnUnit(binding.unit, GL_SAMPLER_BINDING)));
      glBindSampler(binding.unit, static_cast<GLuint>(sampler));
    }
  }
  glActiveTexture(GL_TEXTURE0);
}

struct AttributeFormat {
  GLint components;
  GLenum type;
};

// Components and type of an input element's format; false for UNKNOWN.
bool attributeFormatOf(int32_t format, AttributeFormat& attribute) {
  switch (format) {
    case 41: attribute = {1, GL_FLOAT}; return true;         // R32_FLOAT
    case 42: attribute = {1, GL_UNSIGNED_INT}; return true;  // R32_UINT
    case 43: attribute = {1, GL_INT}; return true;           // R32_SINT
    case 16: attribute = {2, GL_FLOAT}; return true;         // R32G32_FLOAT
    case 17: attribute = {2, GL_UNSIGNED_INT}; return true;
    case 18: attribute = {2, GL_INT}; return true;
    case 6: attribute = {3, GL_FLOAT}; return true;          // R32G32B32_FLOAT
    case 7: attribute = {3, GL_UNSIGNED_INT}; return true;
    case 8: attribute = {3, GL_INT}; return true;
    case 2: attribute = {4, GL_FLOAT}; return true;          // R32G32B32A32_FLOAT
    case 3: attribute = {4, GL_UNSIGNED_INT}; return true;
    case 4: attribute = {4, GL_INT}; return true;
    default: return false;
  }
}

void applyLayout(GLuint vertexArray, const std::vector<InputElement>& layout) {
  for (GLuint location = 0; location < kMaxVertexAttributes; ++location)
    glDisableVertexArrayAttrib(vertexArray, location);
  for (const InputElement& element : layout) {
    AttributeFormat attribute;
    if (!attributeFormatOf(element.format, attribute) || element.location >= kMaxVertexAttributes)
      continue;
    glEnableVertexArrayAttrib(vertexArray, element.location);
    if (attribute.type == GL_FLOAT)
      glVertexArrayAttribFormat(vertexArray, element.location, attribute.components, GL_FLOAT,
                                GL_FALSE, element.alignedByteOffset);
    else
      glVertexArrayAttribIFormat(vertexArray, element.location, attribute.components,
                                 attribute.type, element.alignedByteOffset);
    glVertexArrayAttribBinding(vertexArray, element.location, element.inputSlot);
  }
}

void ensureLayoutVertexArray(BindingTable& table) {
  if (table.layoutVertexArray == 0) glCreateVertexArrays(1, &table.layoutVertexArray);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

ShaderProgram::ShaderProgram(const void* bytecode, std::size_t size, ShaderStage stage,
                             std::string_view createCall, std::string_view place) {
  reflection_ = ShaderCompile::reflect(bytecode, size, place);
  if (reflection_->stage() != stage)
    throw System::makeHresultException(createCall, place, Gl::kInvalidArgument);
  program_ = std::make_unique<GlProgram>(glStageOf(stage), reflection_->glsl(), place);
  staging_.resize(reflection_->constantBuffers().size());
  deviceId_ = GlDevice::live()->id();
}

ShaderProgram::~ShaderProgram() {
  if (GlDevice* device = GlDevice::live()) device->forgetCachedObject(this);
  bool bound = false;
  for (Staging& staging : staging_) {
    staging.written.reset();
    if (staging.name == 0) continue;
    if (!bound && !(bound = GlDevice::bindLive(deviceId_))) break;
    glDeleteBuffers(1, &staging.name);
  }
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
  if (staging.name == 0) glCreateBuffers(1, &staging.name);
  const uint64_t version = source ? source->version() : 0;
  if (staging.version != version || !staging.written) {
    std::vector<uint8_t> contents;
    uint64_t copied = 0;
    if (source) source->copyContents(contents, copied);
    scratch_.assign(description.glSize, 0);
    for (const ConstantCopy& copy : description.copies) {
      if (copy.source >= contents.size()) continue;
      const std::size_t size = std::min<std::size_t>(copy.size, contents.size() - copy.source);
      std::memcpy(scratch_.data() + copy.target, contents.data() + copy.source, size);
    }
    glNamedBufferData(staging.name, description.glSize, scratch_.data(), GL_DYNAMIC_DRAW);
    staging.version = copied;
    staging.written = GlFence::insert();
  } else {
    staging.written->waitInCurrentContext();
  }
  glBindBufferBase(GL_UNIFORM_BUFFER, description.glBinding, staging.name);
}

// ---------------------------------------------------------------------------------------------

DrawPreparation::~DrawPreparation() {
  for (auto it = restore_.rbegin(); it != restore_.rend(); ++it) glBindSampler(it->unit, it->sampler);
}

void ShaderBindings::setConstantBuffer(ShaderStage stage, uint32_t slot,
                                       const ConstantBufferCommon* buffer) {
  if (slot >= ShaderReflection::kConstantSlots) return;
  BindingTable& table = tableOf(currentContext());
  table.constants[static_cast<std::size_t>(stage)][slot] =
      buffer ? buffer->storage() : std::shared_ptr<ConstantStorage>();
}

void ShaderBindings::setShaderResource(uint32_t slot, const ShaderResourceView* view) {
  currentContext();
  if (view)
    view->bind(slot);
  else
    glBindTextureUnit(slot, 0);
}

void ShaderBindings::setSampler(uint32_t slot, const SamplerState* sampler) {
  GlContext& context = currentContext();
  if (slot == 0) {
    context.bindPixelSampler0(sampler);
  } else if (sampler) {
    sampler->bind(slot);
  } else {
    glBindSampler(slot, 0);
  }
}

void ShaderBindings::setUnorderedAccess(uint32_t slot, const UnorderedAccessView* view) {
  if (slot >= ShaderReflection::kImageSlots) return;
  BindingTable& table = tableOf(currentContext());
  if (view) {
    view->bind(slot);
    table.images[slot] = view->texture();
  } else {
    glBindImageTexture(slot, 0, 0, GL_FALSE, 0, GL_READ_ONLY, GL_R8);
    table.images[slot].reset();
  }
}

void ShaderBindings::useVertexShader(ShaderProgram& program, const std::vector<InputElement>& layout,
                                     uint64_t layoutId) {
  GlContext& context = currentContext();
  BindingTable& table = tableOf(context);
  program.program().waitReady();
  context.useVertexProgram(&program, program.program().name());
  table.vertex = &program;
  ensureLayoutVertexArray(table);
  glBindVertexArray(table.layoutVertexArray);
  if (table.appliedLayout != layoutId) {
    applyLayout(table.layoutVertexArray, layout);
    table.appliedLayout = layoutId;
  }
}

void ShaderBindings::usePixelShader(ShaderProgram& program) {
  GlContext& context = currentContext();
  program.program().waitReady();
  context.usePixelProgram(&program, program.program().name());
  tableOf(context).pixel = &program;
}

void ShaderBindings::useComputeShader(ShaderProgram& program) {
  GlContext& context = currentContext();
  program.program().waitReady();
  context.useComputeProgram(&program, program.program().name());
  tableOf(context).compute = &program;
}

void ShaderBindings::setVertexBuffer(GLuint buffer, uint32_t stride, uint32_t offset) {
  BindingTable& table = tableOf(currentContext());
  ensureLayoutVertexArray(table);
  glVertexArrayVertexBuffer(table.layoutVertexArray, 0, buffer, offset,
                            static_cast<GLsizei>(stride));
}

DrawPreparation ShaderBindings::prepareDraw() {
  GlContext& context = currentContext();
  BindingTable& table = tableOf(context);
  StateCache& cache = context.stateCache();
  DrawPreparation preparation;
  // A program bound by other code (or destroyed since) is not one of these.
  if (table.vertex && cache.vertexShader.load() == table.vertex) {
    table.vertex->bindConstants(table.constants[static_cast<std::size_t>(ShaderStage::Vertex)]);
    moveToUnits(table.vertex->reflection(), preparation);
  }
  if (table.pixel && cache.pixelShader.load() == table.pixel) {
    table.pixel->bindConstants(table.constants[static_cast<std::size_t>(ShaderStage::Pixel)]);
    moveToUnits(table.pixel->reflection(), preparation);
  }
  return preparation;
}

DrawPreparation ShaderBindings::prepareDispatch() {
  GlContext& context = currentContext();
  BindingTable& table = tableOf(context);
  DrawPreparation preparation;
  if (table.compute && context.stateCache().computeShader.load() == table.compute) {
    table.compute->bindConstants(table.constants[static_cast<std::size_t>(ShaderStage::Compute)]);
    moveToUnits(table.compute->reflection(), preparation);
  }
  return preparation;
}

void ShaderBindings::finishDispatch() {
  BindingTable& table = tableOf(currentContext());
  glMemoryBarrier(GL_ALL_BARRIER_BITS);
  std::shared_ptr<GlFence> fence;
  for (auto& image : table.images) {
    std::shared_ptr<GpuTexture> texture = image.lock();
    if (!texture) continue;
    if (!fence) fence = GlFence::insert();
    texture->markWritten(fence);
  }
}

uint64_t ShaderBindings::newLayoutId() {
  static std::atomic<uint64_t> counter{0};
  return ++counter;
}

}  // namespace Media
