#include "gpu/quad_draw_set.h"

#include "gpu/builtin_shader_code.h"
#include "gpu/gl_device.h"
#include "gpu/gl_error.h"

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

GLuint makeBuffer(const void* data, GLsizeiptr size) {
  GLuint name = 0;
  Gl::clearErrors();
  glCreateBuffers(1, &name);
  glNamedBufferStorage(name, size, data, 0);
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) {
    glDeleteBuffers(1, &name);
    throw Gl::makeGlException("Direct3DService::Get().device->CreateBuffer", kPlace, error);
  }
  return name;
}

}  // namespace

QuadDrawSet::QuadDrawSet() {
  loadBuiltin(positionShader_, "quad_position_vs");
  loadBuiltin(texturedShader_, "quad_texcoord_vs");
  GlDevice* device = GlDevice::live();
  device->current();
  deviceId_ = device->id();
  positionQuad_ = makeBuffer(kPositionQuad, sizeof(kPositionQuad));
  try {
    texturedQuad_ = makeBuffer(kTexturedQuad, sizeof(kTexturedQuad));
  } catch (...) {
    glDeleteBuffers(1, &positionQuad_);
    throw;
  }
  // Made once per device: other threads' contexts may draw with the quads at once.
  glFinish();
}

QuadDrawSet::~QuadDrawSet() {
  if (GlDevice::bindLive(deviceId_)) {
    const GLuint buffers[2] = {positionQuad_, texturedQuad_};
    glDeleteBuffers(2, buffers);
  }
}

}  // namespace Media
