#include "gpu/gl/gl_program.h"

#include <string>

#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"

namespace Media {

GlProgram::GlProgram(GLenum stage, std::string_view source, std::string_view place)
    : stage_(stage) {
  const uint64_t deviceId = GlDevice::require(place).id();
  const std::string text(source);
  const char* sources[] = {text.c_str()};
  Gl::clearErrors();
  program_ =
      Gl::Object(Gl::ObjectType::Program, glCreateShaderProgramv(stage, 1, sources), deviceId);
  const GLuint name = program_.name();
  GLint linked = GL_FALSE;
  if (name != 0) glGetProgramiv(name, GL_LINK_STATUS, &linked);
  if (name == 0 || linked != GL_TRUE) {
    std::string log;
    if (name != 0) {
      GLint length = 0;
      glGetProgramiv(name, GL_INFO_LOG_LENGTH, &length);
      log.resize(static_cast<std::size_t>(std::max(length, 1)));
      glGetProgramInfoLog(name, length, nullptr, log.data());
      log.resize(std::char_traits<char>::length(log.c_str()));
      program_.reset();
    }
    if (log.empty()) log = Gl::glErrorName(glGetError());
    throw System::makeException(place, "glCreateShaderProgramv() failed", log);
  }
  // Other contexts use the program only once it is linked.
  program_.markWritten();
}

GlProgram::~GlProgram() {
  if (GlDevice* device = GlDevice::live()) device->forgetCachedObject(this);
}

}  // namespace Media
