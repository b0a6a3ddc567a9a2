#pragma once
// The owner of one GL object name of the device: a texture, buffer, sampler or program.
//
// These objects are shared by every thread's context, so the name is deleted on whichever
// thread drops the last owner: that thread's context of the same device is made current
// first, and when the device is gone (its objects went with it) nothing is called. The
// object keeps the fence that other contexts wait for before they use it (left after it
// was made, or after it was last written), and lets go of the fence before the name.
//
// A name is owned from the moment it is made, so an error later in the owner's set-up
// frees it as the owner unwinds.
#include <epoxy/gl.h>

#include <cstdint>
#include <memory>

namespace Media {
class GlFence;
}

namespace Media::Gl {

enum class ObjectType : uint8_t { Texture, Buffer, Sampler, Program };

class Object {
 public:
  Object() noexcept = default;
  // Takes a name made on the calling thread's context of the device `deviceId`.
  Object(ObjectType type, GLuint name, uint64_t deviceId) noexcept
      : type_(type), name_(name), deviceId_(deviceId) {}
  // Makes a texture (of `textureTarget`), buffer or sampler on the calling thread's
  // context, which must be current for the device `deviceId`. Programs are made from their
  // source and taken by the constructor above.
  static Object create(ObjectType type, uint64_t deviceId, GLenum textureTarget = GL_TEXTURE_2D);

  Object(Object&& other) noexcept;
  Object& operator=(Object&& other) noexcept;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  ~Object() { reset(); }

  GLuint name() const { return name_; }
  ObjectType type() const { return type_; }
  uint64_t deviceId() const { return deviceId_; }
  explicit operator bool() const { return name_ != 0; }

  // The fence of the last write (null: nothing to wait for).
  const std::shared_ptr<GlFence>& fence() const { return fence_; }
  void setFence(std::shared_ptr<GlFence> fence) { fence_ = std::move(fence); }
  // Leaves a new fence after the commands given so far on the calling thread's context.
  void markWritten();
  // Makes the calling thread's context wait for the fence, when another context left it.
  void waitReady() const;

  // Drops the fence and deletes the name now; the object is empty after. Never throws.
  void reset() noexcept;

 private:
  ObjectType type_ = ObjectType::Buffer;
  GLuint name_ = 0;
  uint64_t deviceId_ = 0;
  std::shared_ptr<GlFence> fence_;
};

}  // namespace Media::Gl
