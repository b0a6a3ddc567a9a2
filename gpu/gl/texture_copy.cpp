#include "gpu/gl/texture_copy.h"

#include <algorithm>
#include <string>

#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"
#include "gpu/gl/gl_texture.h"
#include "system/log.h"

namespace Media {

bool copyTextureRegion(GpuTexture& target, uint32_t x, uint32_t y, GpuTexture& source,
                       uint32_t sourceX, uint32_t sourceY, uint32_t width, uint32_t height,
                       std::string_view place) {
  if (target.format() != source.format() || target.sampleCount() != source.sampleCount()) {
    System::Log::warn(std::string(place).c_str(),
                      "copy between different formats skipped (%d -> %d)", source.format(),
                      target.format());
    return false;
  }
  if (x >= target.texelWidth() || y >= target.height() || sourceX >= source.texelWidth() ||
      sourceY >= source.height())
    return false;
  width = std::min({width, target.texelWidth() - x, source.texelWidth() - sourceX});
  height = std::min({height, target.height() - y, source.height() - sourceY});
  if (width == 0 || height == 0) return false;

  GlDevice::require(place);
  source.waitReady();
  target.waitReady();
  Gl::clearErrors();
  glCopyImageSubData(source.name(), source.target(), 0, static_cast<GLint>(sourceX),
                     static_cast<GLint>(sourceY), 0, target.name(), target.target(), 0,
                     static_cast<GLint>(x), static_cast<GLint>(y), 0, static_cast<GLsizei>(width),
                     static_cast<GLsizei>(height), 1);
  Gl::checkError("glCopyImageSubData", place);
  target.markWritten();
  return true;
}

bool copyTexture(GpuTexture& target, GpuTexture& source, std::string_view place) {
  return copyTextureRegion(target, 0, 0, source, 0, 0, source.texelWidth(), source.height(),
                           place);
}

void resolveTexture(GpuTexture& target, GpuTexture& source, std::string_view place) {
  GlContext& context = GlDevice::require(place).current();
  source.waitReady();
  target.waitReady();
  Gl::clearErrors();
  const GLuint read = context.scratchReadFramebuffer();
  const GLuint draw = context.scratchDrawFramebuffer();
  glNamedFramebufferTexture(read, GL_COLOR_ATTACHMENT0, source.name(), 0);
  glNamedFramebufferTexture(draw, GL_COLOR_ATTACHMENT0, target.name(), 0);
  const auto width = static_cast<GLint>(std::min(source.texelWidth(), target.texelWidth()));
  const auto height = static_cast<GLint>(std::min(source.height(), target.height()));
  glBlitNamedFramebuffer(read, draw, 0, 0, width, height, 0, 0, width, height,
                         GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glNamedFramebufferTexture(read, GL_COLOR_ATTACHMENT0, 0, 0);
  glNamedFramebufferTexture(draw, GL_COLOR_ATTACHMENT0, 0, 0);
  Gl::checkError("glBlitNamedFramebuffer", place);
  target.markWritten();
}

void clearTexture(GpuTexture& target, const float color[4], std::string_view place) {
  GlDevice::require(place);
  target.waitReady();
  Gl::clearErrors();
  // A mask keeps its single channel in red: it takes the alpha of the colour.
  const float mask[4] = {color[3], 0.0f, 0.0f, 0.0f};
  glClearTexImage(target.name(), 0, GL_RGBA, GL_FLOAT, target.info().alphaOnly ? mask : color);
  Gl::checkError("glClearTexImage", place);
  target.markWritten();
}

}  // namespace Media
