#pragma once
// Texture names kept for reuse by the thread that released them.
//
// A software rasteriser zeroes the memory of every texture it makes, and a large texture's
// memory comes fresh from the system page by page: for a frame-sized temporary made and
// dropped every frame, that costs more than the pass that fills it. A texture that only its
// own thread's context ever used may go onto that thread's shelf when released, and a later
// texture of the same shape made on the same thread takes it instead of a new name. That one
// context orders every earlier use of the name before the new writes, so no other context
// can see the change; a name that another context used is deleted as before.
//
// The shelf holds a few names per thread, the oldest going first; names of a device that
// is gone are dropped without a call.
#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>

#include "gpu/gl/gl_object.h"

namespace Media {

class TextureShelf {
 public:
  struct Shape {
    uint64_t deviceId = 0;
    GLenum target = GL_TEXTURE_2D;
    GLenum internalFormat = 0;
    uint32_t texelWidth = 0;
    uint32_t height = 0;
    uint32_t sampleCount = 1;
    bool operator==(const Shape&) const = default;
  };

  static constexpr std::size_t kCapacity = 4;

  // A kept name of the shape from the calling thread's shelf, or an empty object.
  static Gl::Object take(const Shape& shape);
  // Puts the name on the calling thread's shelf; the oldest name beyond the capacity is
  // deleted. Never throws: a name that cannot be kept is deleted.
  static void keep(const Shape& shape, Gl::Object texture) noexcept;
  // Names on the calling thread's shelf.
  static std::size_t size();
  // Deletes the calling thread's kept names.
  static void clear() noexcept;
};

}  // namespace Media
