#pragma once
// Vertex buffers of the device and the draws that read them through input slot 0 of the
// bound vertex shader's layout.
//
// Draws use the shaders, constants, targets and states that the caller bound. Pixel shaders
// may write images while they draw (the 3-D depth and transparency buffers); every draw ends
// with a barrier so that the next draw reads what this one wrote.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gpu/gl/gl_object.h"

namespace Media::Gl {

// A buffer of `size` bytes with `data` (zeros when null) as its contents, which later
// updates may replace. A failure (a size of 0 among them) throws `call` at `place`.
Object createVertexBuffer(const void* data, std::size_t size, std::string_view call,
                          std::string_view place);
// Replaces the first `size` bytes of the buffer's contents.
void updateVertexBuffer(Object& buffer, const void* data, std::size_t size);

// GL primitive mode of a topology in the device's numbering (4 triangle list, 5 triangle
// strip, 1 to 3 points and lines); 0 for a number without one.
GLenum primitiveOf(int32_t topology);

// Binds the buffer as vertex buffer 0 and draws `count` vertices. A topology without a
// GL primitive draws nothing.
void drawVertexBuffer(const Object& buffer, uint32_t stride, int32_t topology, uint32_t count);

}  // namespace Media::Gl
