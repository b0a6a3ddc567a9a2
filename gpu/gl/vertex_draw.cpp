#include "gpu/gl/vertex_draw.h"

#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"
#include "gpu/gl/program_bindings.h"

namespace Media::Gl {

Object createVertexBuffer(const void* data, std::size_t size, std::string_view call,
                          std::string_view place) {
  GlDevice* device = GlDevice::live();
  if (!device || size == 0 || size > static_cast<std::size_t>(INT32_MAX))
    throw System::makeHresultException(call, place, Hresult::kInvalidArgument);
  device->current();
  clearErrors();
  Object buffer = Object::create(ObjectType::Buffer, device->id());
  glNamedBufferStorage(buffer.name(), static_cast<GLsizeiptr>(size), data, GL_DYNAMIC_STORAGE_BIT);
  checkError(call, place);
  buffer.markWritten();
  return buffer;
}

void updateVertexBuffer(Object& buffer, const void* data, std::size_t size) {
  buffer.waitReady();
  glNamedBufferSubData(buffer.name(), 0, static_cast<GLsizeiptr>(size), data);
  buffer.markWritten();
}

GLenum primitiveOf(int32_t topology) {
  switch (topology) {
    case 1: return GL_POINTS;
    case 2: return GL_LINES;
    case 3: return GL_LINE_STRIP;
    case 4: return GL_TRIANGLES;
    case 5: return GL_TRIANGLE_STRIP;
    default: return 0;
  }
}

void drawVertexBuffer(const Object& buffer, uint32_t stride, int32_t topology, uint32_t count) {
  const GLenum mode = primitiveOf(topology);
  if (mode == 0 || count == 0) return;
  buffer.waitReady();
  ProgramBindings::setVertexBuffer(buffer.name(), stride, 0);
  const DrawPreparation preparation = ProgramBindings::prepareDraw();
  glDrawArrays(mode, 0, static_cast<GLsizei>(count));
  // Fragments of the next draw read the depth and transparency images this one wrote.
  glMemoryBarrier(GL_SHADER_IMAGE_ACCESS_BARRIER_BIT);
}

}  // namespace Media::Gl
