#include "gpu/gl_program.h"

#include <string>

#include "gpu/gl_device.h"
#include "gpu/gl_error.h"
#include "gpu/gl_fence.h"

namespace Media {

GlProgram::GlProgram(GLenum stage, std::string_view source, std::string_view place)
    : stage_(stage) {
  GlDevice* device = GlDevice::live();
  if (!device) throw System::makeException(place, "graphics device not created.");
  device->current();
  deviceId_ = device->id();

  const std::string text(source);
  const char* sources[] = {text.c_str()};
  Gl::clearErrors();
  name_ = glCreateShaderProgramv(stage, 1, sources);
  GLint linked = GL_FALSE;
  if (name_ != 0) glGetProgramiv(name_, GL_LINK_STATUS, &linked);
  if (name_ == 0 || linked != GL_TRUE) {
    std::string log;
    if (name_ != 0) {
      GLint length = 0;
      glGetProgramiv(name_, GL_INFO_LOG_LENGTH, &length);
      log.resize(static_cast<std::size_t>(std::max(length, 1)));
      glGetProgramInfoLog(name_, length, nullptr, log.data());
      log.resize(std::char_traits<char>::length(log.c_str()));
      glDeleteProgram(name_);
      name_ = 0;
    }
    if (log.empty()) log = Gl::glErrorName(glGetError());
    throw System::makeException(place, "glCreateShaderProgramv() failed", log);
  }
  ready_ = GlFence::insert();
}

GlProgram::~GlProgram() {
  if (GlDevice* device = GlDevice::live()) device->forgetCachedObject(this);
  ready_.reset();
  if (name_ != 0 && GlDevice::bindLive(deviceId_)) glDeleteProgram(name_);
}

void GlProgram::waitReady() const { ready_->waitInCurrentContext(); }

}  // namespace Media
