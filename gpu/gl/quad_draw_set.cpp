#include "gpu/gl/quad_draw_set.h"

#include "gpu/direct3d_service.h"
#include "gpu/gl/gl_context.h"
#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"
#include "gpu/gl/program_bindings.h"
#include "gpu/shader/builtin_shader_code.h"
#include "gpu/shader/pixel_shader.h"

namespace Media {
namespace {

constexpr const char* kPlace = "Media::QuadDrawSet::QuadDrawSet";

constexpr float kPositionQuad[4][3] = {
    {-1.0f, -1.0f, 0.0f}, {1.0f, -1.0f, 0.0f}, {-1.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 0.0f}};
constexpr float kTexturedQuad[4][7] = {
    {-1.0f, -1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f},
    {1.0f, -1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f},
    {-1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f},
    {1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f},
};
static_assert(sizeof(kPositionQuad) == 4 * QuadDrawSet::kPositionStride);
static_assert(sizeof(kTexturedQuad) == 4 * QuadDrawSet::kTexturedStride);

void loadBuiltin(VertexShader& shader, const char* name) {
  const BuiltinShaderCode& code = findBuiltinShaderCode(name);
  shader.loadFromMemory(code.code, code.size);
}

Gl::Object makeBuffer(uint64_t deviceId, const void* data, GLsizeiptr size) {
  Gl::clearErrors();
  Gl::Object buffer = Gl::Object::create(Gl::ObjectType::Buffer, deviceId);
  glNamedBufferStorage(buffer.name(), size, data, 0);
  Gl::checkError("Direct3DService::Get().device->CreateBuffer", kPlace);
  return buffer;
}

}  // namespace

QuadDrawSet::QuadDrawSet() {
  loadBuiltin(positionShader_, "quad_position_vs");
  loadBuiltin(texturedShader_, "quad_texcoord_vs");
  GlDevice* device = GlDevice::live();
  device->current();
  positionQuad_ = makeBuffer(device->id(), kPositionQuad, sizeof(kPositionQuad));
  texturedQuad_ = makeBuffer(device->id(), kTexturedQuad, sizeof(kTexturedQuad));
  // Made once per device: other threads' contexts may draw with the quads at once.
  glFinish();
}

void QuadDrawSet::draw(PixelShader& shader, bool textured, const BlendState* blend,
                       const float* blendFactor) {
  GlContext& context = Direct3DService::Get().context();
  context.bindRasterizerState(rasterizer());
  context.bindBlendState(blend ? blend : noBlending(), blendFactor);
  (textured ? texturedShader_ : positionShader_).bind();
  shader.bind();
  if (textured)
    ProgramBindings::setVertexBuffer(texturedQuad(), kTexturedStride, 0);
  else
    ProgramBindings::setVertexBuffer(positionQuad(), kPositionStride, 0);
  const DrawPreparation preparation = ProgramBindings::prepareDraw();
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

}  // namespace Media
