#include "gpu/gl/program_bindings.h"

#include <array>
#include <atomic>

#include "gpu/gl/constant_storage.h"
#include "gpu/gl/gl_context.h"
#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_fence.h"
#include "gpu/gl/gl_pipeline_state.h"
#include "gpu/gl/gl_program.h"
#include "gpu/gl/gl_texture.h"
#include "gpu/gl/shader_program.h"
#include "gpu/shader/constant_buffer.h"
#include "system/exception.h"

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
    bindTextureUnit(*view, slot);
  else
    glBindTextureUnit(slot, 0);
}

void ShaderBindings::setSampler(uint32_t slot, const SamplerState* sampler) {
  GlContext& context = currentContext();
  if (slot == 0) {
    context.bindPixelSampler0(sampler);
  } else if (sampler) {
    bindSampler(*sampler, slot);
  } else {
    glBindSampler(slot, 0);
  }
}

void ShaderBindings::setBlendState(const BlendState* state, const float* blendFactor) {
  currentContext().bindBlendState(state, blendFactor);
}

void ShaderBindings::setRasterizerState(const RasterizerState* state) {
  currentContext().bindRasterizerState(state);
}

void ShaderBindings::setUnorderedAccess(uint32_t slot, const UnorderedAccessView* view) {
  if (slot >= ShaderReflection::kImageSlots) return;
  BindingTable& table = tableOf(currentContext());
  if (view) {
    bindImageUnit(*view, slot);
    table.images[slot] = view->texture();
  } else {
    glBindImageTexture(slot, 0, 0, GL_FALSE, 0, GL_READ_ONLY, GL_R8);
    table.images[slot].reset();
  }
}

void ProgramBindings::useVertexShader(ShaderProgram& program, const std::vector<InputElement>& layout,
                                     uint64_t layoutId) {
  GlContext& context = currentContext();
  BindingTable& table = tableOf(context);
  program.program().waitReady();
  context.useVertexProgram(&program, program.program().name());
  context.stateCache().vertexProgram = &program;
  ensureLayoutVertexArray(table);
  glBindVertexArray(table.layoutVertexArray);
  if (table.appliedLayout != layoutId) {
    applyLayout(table.layoutVertexArray, layout);
    table.appliedLayout = layoutId;
  }
}

void ProgramBindings::usePixelShader(ShaderProgram& program) {
  GlContext& context = currentContext();
  program.program().waitReady();
  context.usePixelProgram(&program, program.program().name());
  context.stateCache().pixelProgram = &program;
}

void ProgramBindings::setVertexBuffer(GLuint buffer, uint32_t stride, uint32_t offset) {
  BindingTable& table = tableOf(currentContext());
  ensureLayoutVertexArray(table);
  glVertexArrayVertexBuffer(table.layoutVertexArray, 0, buffer, offset,
                            static_cast<GLsizei>(stride));
}

DrawPreparation ProgramBindings::prepareDraw() {
  GlContext& context = currentContext();
  BindingTable& table = tableOf(context);
  StateCache& cache = context.stateCache();
  DrawPreparation preparation;
  // A program bound by other code is not one of these; a destroyed one has left the cache.
  ShaderProgram* vertex = cache.vertexProgram.load();
  if (vertex && cache.vertexShader.load() == vertex) {
    vertex->bindConstants(table.constants[static_cast<std::size_t>(ShaderStage::Vertex)]);
    moveToUnits(vertex->reflection(), preparation);
  }
  ShaderProgram* pixel = cache.pixelProgram.load();
  if (pixel && cache.pixelShader.load() == pixel) {
    // A mask keeps the shader's alpha: its variant writes alpha into the stored channel.
    if (context.alphaOnlyTarget()) {
      const GlProgram& mask = pixel->maskProgram();
      mask.waitReady();
      context.usePixelProgram(pixel, mask.name(), true);
    } else {
      context.usePixelProgram(pixel, pixel->program().name());
    }
    pixel->bindConstants(table.constants[static_cast<std::size_t>(ShaderStage::Pixel)]);
    moveToUnits(pixel->reflection(), preparation);
  }
  return preparation;
}

void ProgramBindings::dispatch(ShaderProgram& program, uint32_t x, uint32_t y, uint32_t z) {
  GlContext& context = currentContext();
  BindingTable& table = tableOf(context);
  program.program().waitReady();
  context.useComputeProgram(&program, program.program().name());
  context.stateCache().computeProgram = &program;
  {
    DrawPreparation preparation;
    program.bindConstants(table.constants[static_cast<std::size_t>(ShaderStage::Compute)]);
    moveToUnits(program.reflection(), preparation);
    glDispatchCompute(x, y, z);
  }
  // The dispatch's writes become visible to what follows, in this and in other contexts.
  glMemoryBarrier(GL_ALL_BARRIER_BITS);
  std::shared_ptr<GlFence> fence;
  for (auto& image : table.images) {
    std::shared_ptr<GpuTexture> texture = image.lock();
    if (!texture) continue;
    if (!fence) fence = GlFence::insert();
    texture->markWritten(fence);
  }
}

uint64_t ProgramBindings::newLayoutId() {
  static std::atomic<uint64_t> counter{0};
  return ++counter;
}

}  // namespace Media
