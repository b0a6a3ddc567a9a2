#pragma once
// Failures of EGL and OpenGL calls, reported in the program's one exception form.
//
// The error texts keep the 32-bit HRESULT-style code of every other failure: a GL or EGL
// error is turned into the code of the same meaning (out of memory, invalid argument,
// unsupported, unspecified), and its own name is written to the log beside it so that the
// driver's exact answer is not lost.
#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <string_view>

#include "gpu/hresult.h"
#include "system/exception.h"

namespace Media::Gl {

int32_t hresultFromGlError(GLenum error);
int32_t hresultFromEglError(EGLint error);
const char* glErrorName(GLenum error);
const char* eglErrorName(EGLint error);

// Drops errors left by earlier calls on this thread's context, so that the next check
// reports only what the checked calls did.
void clearErrors();
// Throws the exception of a failed `call` when the context holds an error.
void checkError(std::string_view call, std::string_view place);
// The exception of a failed EGL call, read from eglGetError().
System::Exception makeEglException(std::string_view call, std::string_view place);
System::Exception makeGlException(std::string_view call, std::string_view place, GLenum error);

}  // namespace Media::Gl
