#include "gpu/gl/gl_context.h"

#include <algorithm>

#include "gpu/gl/gl_error.h"
#include "gpu/gl/gl_fence.h"
#include "gpu/gl/gl_pipeline_state.h"
#include "gpu/gl/gl_texture.h"

namespace Media {
namespace {

constexpr const char* kPlace = "Media::GlContext::GlContext";

template <class T>
void forgetEntry(std::atomic<T*>& entry, const void* object) {
  T* expected = entry.load();
  if (expected == object) entry.compare_exchange_strong(expected, nullptr);
}

// The states bound for a null state: blending off, solid fill without culling.
const BlendState& defaultBlendState() {
  static const BlendState state{BlendDescription{}};
  return state;
}
const RasterizerState& defaultRasterizerState() {
  static const RasterizerState state{RasterizerDescription{}};
  return state;
}

}  // namespace

void StateCache::forget(const void* object) {
  if (!object) return;
  forgetEntry(vertexShader, object);
  forgetEntry(pixelShader, object);
  forgetEntry(computeShader, object);
  forgetEntry(blendState, object);
  forgetEntry(rasterizerState, object);
  forgetEntry(samplerState, object);
  forgetEntry(vertexProgram, object);
  forgetEntry(pixelProgram, object);
  forgetEntry(computeProgram, object);
}

void StateCache::clear() {
  vertexShader = nullptr;
  pixelShader = nullptr;
  pixelShaderForMask = false;
  computeShader = nullptr;
  blendState = nullptr;
  rasterizerState = nullptr;
  samplerState = nullptr;
  vertexProgram = nullptr;
  pixelProgram = nullptr;
  computeProgram = nullptr;
}

GlContext::GlContext(EGLDisplay display, EGLContext handle, uint64_t id)
    : display_(display), handle_(handle), id_(id) {
  Gl::clearErrors();
  // The conventions of the program's pictures: the first row in memory is the top, y = +1
  // in normalised coordinates, depth from 0 to 1, clockwise triangles face front.
  glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
  glFrontFace(GL_CW);
  // Colours are written as computed: 8-bit targets are not dithered.
  glDisable(GL_DITHER);

  GLuint framebuffers[3] = {0, 0, 0};
  glCreateFramebuffers(3, framebuffers);
  drawFramebuffer_ = framebuffers[0];
  scratchReadFramebuffer_ = framebuffers[1];
  scratchDrawFramebuffer_ = framebuffers[2];
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, drawFramebuffer_);
  glNamedFramebufferDrawBuffer(drawFramebuffer_, GL_COLOR_ATTACHMENT0);
  glCreateVertexArrays(1, &emptyVertexArray_);
  glBindVertexArray(emptyVertexArray_);
  glCreateProgramPipelines(1, &programPipeline_);
  glBindProgramPipeline(programPipeline_);
  Gl::checkError("glCreateFramebuffers", kPlace);
}

GlContext::~GlContext() {
  // Its framebuffers, vertex arrays and pipelines go with it.
  locals_.clear();
  eglDestroyContext(display_, handle_);
}

void GlContext::useVertexProgram(const void* key, GLuint program) {
  if (cache_.vertexShader.load(std::memory_order_relaxed) == key) return;
  glUseProgramStages(programPipeline_, GL_VERTEX_SHADER_BIT, program);
  cache_.vertexShader.store(key, std::memory_order_relaxed);
}

void GlContext::usePixelProgram(const void* key, GLuint program, bool forMask) {
  if (cache_.pixelShader.load(std::memory_order_relaxed) == key &&
      cache_.pixelShaderForMask.load(std::memory_order_relaxed) == forMask)
    return;
  glUseProgramStages(programPipeline_, GL_FRAGMENT_SHADER_BIT, program);
  cache_.pixelShader.store(key, std::memory_order_relaxed);
  cache_.pixelShaderForMask.store(forMask, std::memory_order_relaxed);
}

void GlContext::useComputeProgram(const void* key, GLuint program) {
  if (cache_.computeShader.load(std::memory_order_relaxed) == key) return;
  glUseProgramStages(programPipeline_, GL_COMPUTE_SHADER_BIT, program);
  cache_.computeShader.store(key, std::memory_order_relaxed);
}

void GlContext::bindBlendState(const BlendState* state, const float* blendFactor) {
  const BlendState& bound = state ? *state : defaultBlendState();
  if (!blendFactor && cache_.blendState.load(std::memory_order_relaxed) == &bound &&
      blendAppliedForMask_ == alphaOnlyTarget_)
    return;
  bound.apply(blendFactor, alphaOnlyTarget_);
  blendAppliedForMask_ = alphaOnlyTarget_;
  blendHasFactor_ = blendFactor != nullptr;
  if (blendFactor) std::copy(blendFactor, blendFactor + 4, blendFactor_);
  cache_.blendState.store(&bound, std::memory_order_relaxed);
}

void GlContext::bindRasterizerState(const RasterizerState* state) {
  const RasterizerState& bound = state ? *state : defaultRasterizerState();
  if (cache_.rasterizerState.load(std::memory_order_relaxed) == &bound) return;
  bound.apply();
  cache_.rasterizerState.store(&bound, std::memory_order_relaxed);
}

void GlContext::bindPixelSampler0(const SamplerState* sampler) {
  if (sampler && cache_.samplerState.load(std::memory_order_relaxed) == sampler) return;
  if (sampler)
    bindSampler(*sampler, 0);
  else
    glBindSampler(0, 0);
  cache_.samplerState.store(sampler, std::memory_order_relaxed);
}

void GlContext::bindOutputs(const RenderTargetView& target,
                            std::span<const UnorderedAccessView* const> unorderedViews,
                            GLuint firstUnorderedSlot) {
  unbindOutputs();
  const auto& texture = target.texture();
  texture->waitReady();
  glNamedFramebufferTexture(drawFramebuffer_, GL_COLOR_ATTACHMENT0, texture->name(), 0);
  glViewport(0, 0, static_cast<GLsizei>(texture->texelWidth()),
             static_cast<GLsizei>(texture->height()));
  glDepthRangef(0.0f, 1.0f);
  outputs_.push_back(texture);
  alphaOnlyTarget_ = texture->info().alphaOnly;
  // A state bound before the target was bound for the other kind of target: bound again.
  // The cache names only live states (a state leaves it when destroyed).
  if (const void* blend = cache_.blendState.load(std::memory_order_relaxed);
      blend && blendAppliedForMask_ != alphaOnlyTarget_) {
    static_cast<const BlendState*>(blend)->apply(blendHasFactor_ ? blendFactor_ : nullptr,
                                                 alphaOnlyTarget_);
    blendAppliedForMask_ = alphaOnlyTarget_;
  }
  firstImageUnit_ = firstUnorderedSlot;
  boundImageUnits_ = 0;
  for (const UnorderedAccessView* view : unorderedViews) {
    const GLuint unit = firstUnorderedSlot + boundImageUnits_++;
    if (!view) continue;
    bindImageUnit(*view, unit);
    outputs_.push_back(view->texture());
  }
}

void GlContext::unbindOutputs() {
  if (outputs_.empty()) return;
  glNamedFramebufferTexture(drawFramebuffer_, GL_COLOR_ATTACHMENT0, 0, 0);
  if (boundImageUnits_ > 0) {
    for (GLuint i = 0; i < boundImageUnits_; ++i)
      glBindImageTexture(firstImageUnit_ + i, 0, 0, GL_FALSE, 0, GL_READ_ONLY, GL_R8);
    // Image stores become visible to the reads that follow in this context.
    glMemoryBarrier(GL_TEXTURE_FETCH_BARRIER_BIT | GL_SHADER_IMAGE_ACCESS_BARRIER_BIT |
                    GL_FRAMEBUFFER_BARRIER_BIT | GL_TEXTURE_UPDATE_BARRIER_BIT |
                    GL_PIXEL_BUFFER_BARRIER_BIT);
    boundImageUnits_ = 0;
  }
  std::shared_ptr<GlFence> fence = GlFence::insert();
  for (auto& texture : outputs_) texture->markWritten(fence);
  outputs_.clear();
}

bool GlContext::isRenderable(const GpuTexture& texture) {
  glNamedFramebufferTexture(scratchDrawFramebuffer_, GL_COLOR_ATTACHMENT0, texture.name(), 0);
  const GLenum status =
      glCheckNamedFramebufferStatus(scratchDrawFramebuffer_, GL_DRAW_FRAMEBUFFER);
  glNamedFramebufferTexture(scratchDrawFramebuffer_, GL_COLOR_ATTACHMENT0, 0, 0);
  return status == GL_FRAMEBUFFER_COMPLETE;
}

ContextLocal& GlContext::local(const void* key,
                               const std::function<std::unique_ptr<ContextLocal>()>& make) {
  auto found = locals_.find(key);
  if (found != locals_.end()) return *found->second;
  return *locals_.emplace(key, make()).first->second;
}

}  // namespace Media
