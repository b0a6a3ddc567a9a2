#include "gpu/gl/gl_error.h"

#include <string>

#include "system/log.h"

namespace Media::Gl {
namespace {
constexpr const char* kPlace = "Media::Gl";
}

int32_t hresultFromGlError(GLenum error) {
  switch (error) {
    case GL_NO_ERROR:
      return 0;
    case GL_OUT_OF_MEMORY:
      return Hresult::kOutOfMemory;
    case GL_INVALID_ENUM:
    case GL_INVALID_VALUE:
      return Hresult::kInvalidArgument;
    default:
      return Hresult::kFail;
  }
}

int32_t hresultFromEglError(EGLint error) {
  switch (error) {
    case EGL_SUCCESS:
      return Hresult::kFail;  // the call failed without saying why
    case EGL_BAD_ALLOC:
      return Hresult::kOutOfMemory;
    case EGL_BAD_MATCH:
    case EGL_BAD_CONFIG:
    case EGL_BAD_ATTRIBUTE:
    case EGL_NOT_INITIALIZED:
      return Hresult::kUnsupported;
    case EGL_BAD_PARAMETER:
      return Hresult::kInvalidArgument;
    default:
      return Hresult::kFail;
  }
}

const char* glErrorName(GLenum error) {
  switch (error) {
    case GL_NO_ERROR: return "GL_NO_ERROR";
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
    case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW";
    case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW";
    case GL_CONTEXT_LOST: return "GL_CONTEXT_LOST";
    default: return "unknown GL error";
  }
}

const char* eglErrorName(EGLint error) {
  switch (error) {
    case EGL_SUCCESS: return "EGL_SUCCESS";
    case EGL_NOT_INITIALIZED: return "EGL_NOT_INITIALIZED";
    case EGL_BAD_ACCESS: return "EGL_BAD_ACCESS";
    case EGL_BAD_ALLOC: return "EGL_BAD_ALLOC";
    case EGL_BAD_ATTRIBUTE: return "EGL_BAD_ATTRIBUTE";
    case EGL_BAD_CONTEXT: return "EGL_BAD_CONTEXT";
    case EGL_BAD_CONFIG: return "EGL_BAD_CONFIG";
    case EGL_BAD_CURRENT_SURFACE: return "EGL_BAD_CURRENT_SURFACE";
    case EGL_BAD_DISPLAY: return "EGL_BAD_DISPLAY";
    case EGL_BAD_SURFACE: return "EGL_BAD_SURFACE";
    case EGL_BAD_MATCH: return "EGL_BAD_MATCH";
    case EGL_BAD_PARAMETER: return "EGL_BAD_PARAMETER";
    case EGL_BAD_NATIVE_PIXMAP: return "EGL_BAD_NATIVE_PIXMAP";
    case EGL_BAD_NATIVE_WINDOW: return "EGL_BAD_NATIVE_WINDOW";
    case EGL_CONTEXT_LOST: return "EGL_CONTEXT_LOST";
    default: return "unknown EGL error";
  }
}

void clearErrors() {
  // A lost context keeps answering with an error; a bound keeps this from spinning.
  for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
  }
}

void checkError(std::string_view call, std::string_view place) {
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) throw makeGlException(call, place, error);
}

System::Exception makeGlException(std::string_view call, std::string_view place, GLenum error) {
  System::Log::error(kPlace, "%s: %s (0x%04X)", std::string(call).c_str(), glErrorName(error),
                     static_cast<unsigned>(error));
  return System::makeHresultException(call, place, hresultFromGlError(error));
}

System::Exception makeEglException(std::string_view call, std::string_view place) {
  const EGLint error = eglGetError();
  System::Log::error(kPlace, "%s: %s (0x%04X)", std::string(call).c_str(), eglErrorName(error),
                     static_cast<unsigned>(error));
  return System::makeHresultException(call, place, hresultFromEglError(error));
}

}  // namespace Media::Gl
