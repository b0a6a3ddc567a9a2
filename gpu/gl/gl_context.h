#pragma once
// One thread's GL context of the device, with what lives per context.
//
// Textures, buffers, programs, samplers and fences are shared by every context of the
// device; framebuffers, vertex arrays and program pipelines are not, so each context keeps
// its own: one framebuffer that draws go to (the bound render target is attached to it),
// two scratch framebuffers for checks, resolves and copies (so those never disturb the
// bound target), one empty vertex array for draws that
// make their vertices in the shader, and one program pipeline to which the vertex, pixel
// and compute programs are bound stage by stage (nothing here calls glUseProgram).
//
// Every context is set up with the upper-left origin and a 0..1 depth range, so that
// normalised y = +1 is the first row of an image in memory and clockwise triangles face
// front, as the shaders and vertex lists of the program expect.
//
// A context is used only by the thread it is current on. Its state cache may also be
// cleared from another thread (an object that is destroyed leaves every cache), so the
// entries are atomic.
#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

namespace Media {

class BlendState;
class RasterizerState;
class ShaderProgram;
class SamplerState;
class GpuTexture;
class RenderTargetView;
class UnorderedAccessView;

// The pipeline objects last bound on one context, by identity (plain pointers, not owned).
// The users compare the object they are about to bind with the entry and skip the GL
// call when they match.
struct StateCache {
  std::atomic<const void*> vertexShader{nullptr};
  std::atomic<const void*> pixelShader{nullptr};
  std::atomic<bool> pixelShaderForMask{false};  // its variant for mask targets is bound
  std::atomic<const void*> computeShader{nullptr};
  std::atomic<const void*> blendState{nullptr};
  std::atomic<const void*> rasterizerState{nullptr};
  std::atomic<const void*> samplerState{nullptr};  // pixel-shader sampler slot 0
  // The shader classes' programs last bound through the program bindings, whose constants
  // a draw binds while they are still the bound stage. Kept here rather than beside the
  // bindings so that a destroyed program leaves them too: another object made in its
  // storage must never be taken for it.
  std::atomic<ShaderProgram*> vertexProgram{nullptr};
  std::atomic<ShaderProgram*> pixelProgram{nullptr};
  std::atomic<ShaderProgram*> computeProgram{nullptr};

  // Clears every entry that names the object.
  void forget(const void* object);
  void clear();
};

// Something a later layer keeps per context (its own vertex arrays, say). It is destroyed
// with the context, possibly on another thread and after the context is gone: its
// destructor must not call GL (per-context GL objects die with their context).
class ContextLocal {
 public:
  virtual ~ContextLocal() = default;
};

class GlContext {
 public:
  // Sets the context up; the context must be current on the calling thread.
  GlContext(EGLDisplay display, EGLContext handle, uint64_t id);
  GlContext(const GlContext&) = delete;
  GlContext& operator=(const GlContext&) = delete;
  // Destroys the EGL context (deferred by EGL while it is current on some thread).
  ~GlContext();

  EGLContext handle() const { return handle_; }
  uint64_t id() const { return id_; }
  GLuint drawFramebuffer() const { return drawFramebuffer_; }
  // Attached only for the duration of one check or copy, then detached again.
  GLuint scratchReadFramebuffer() const { return scratchReadFramebuffer_; }
  GLuint scratchDrawFramebuffer() const { return scratchDrawFramebuffer_; }
  GLuint emptyVertexArray() const { return emptyVertexArray_; }
  GLuint programPipeline() const { return programPipeline_; }
  StateCache& stateCache() { return cache_; }

  // Binds `program` to a stage of the pipeline when `key` is not the cached object.
  void useVertexProgram(const void* key, GLuint program);
  // `forMask`: the program is the key's variant for mask targets.
  void usePixelProgram(const void* key, GLuint program, bool forMask = false);
  void useComputeProgram(const void* key, GLuint program);
  // Binds the state when it is not the cached one, or always when a blend factor is
  // given (the factor is part of the binding).
  void bindBlendState(const BlendState* state, const float* blendFactor);
  void bindRasterizerState(const RasterizerState* state);
  void bindPixelSampler0(const SamplerState* sampler);

  // Makes the target the only render target (colour attachment 0 of the draw framebuffer)
  // with a viewport of its size, and the views image units `firstUnorderedSlot` and up.
  // What was bound before is unbound first (see unbindOutputs).
  void bindOutputs(const RenderTargetView& target,
                   std::span<const UnorderedAccessView* const> unorderedViews = {},
                   GLuint firstUnorderedSlot = 1);
  // Detaches the render target and the image units and publishes what was drawn into
  // them: a fence, so that other contexts that use those images wait for the drawing.
  void unbindOutputs();

  // Whether the bound render target stores alpha alone (a mask): draws into it move the
  // pixel shader's alpha into the stored channel and blend with the alpha row.
  bool alphaOnlyTarget() const { return alphaOnlyTarget_; }

  // Checks that the texture can be drawn into, with the scratch framebuffer.
  bool isRenderable(const GpuTexture& texture);

  ContextLocal& local(const void* key, const std::function<std::unique_ptr<ContextLocal>()>& make);

 private:
  EGLDisplay display_;
  EGLContext handle_;
  uint64_t id_;
  GLuint drawFramebuffer_ = 0;
  GLuint scratchReadFramebuffer_ = 0;
  GLuint scratchDrawFramebuffer_ = 0;
  GLuint emptyVertexArray_ = 0;
  GLuint programPipeline_ = 0;
  StateCache cache_;
  std::vector<std::shared_ptr<GpuTexture>> outputs_;
  bool alphaOnlyTarget_ = false;
  // How the cached blend state was applied: for a mask or not, and its blend factor.
  bool blendAppliedForMask_ = false;
  bool blendHasFactor_ = false;
  float blendFactor_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  GLuint boundImageUnits_ = 0;  // image units first..first + n - 1 in use
  GLuint firstImageUnit_ = 0;
  std::unordered_map<const void*, std::unique_ptr<ContextLocal>> locals_;
};

}  // namespace Media
