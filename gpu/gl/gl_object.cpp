#include "gpu/gl/gl_object.h"

#include <utility>

#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_fence.h"

namespace Media::Gl {

Object Object::create(ObjectType type, uint64_t deviceId, GLenum textureTarget) {
  GLuint name = 0;
  switch (type) {
    case ObjectType::Texture: glCreateTextures(textureTarget, 1, &name); break;
    case ObjectType::Buffer: glCreateBuffers(1, &name); break;
    case ObjectType::Sampler: glCreateSamplers(1, &name); break;
    case ObjectType::Program: break;  // made from source, see the header
  }
  return Object(type, name, deviceId);
}

Object::Object(Object&& other) noexcept
    : type_(other.type_),
      name_(std::exchange(other.name_, 0)),
      deviceId_(std::exchange(other.deviceId_, 0)),
      fence_(std::move(other.fence_)) {}

Object& Object::operator=(Object&& other) noexcept {
  if (this != &other) {
    reset();
    type_ = other.type_;
    name_ = std::exchange(other.name_, 0);
    deviceId_ = std::exchange(other.deviceId_, 0);
    fence_ = std::move(other.fence_);
  }
  return *this;
}

void Object::markWritten() { fence_ = GlFence::insert(); }

void Object::waitReady() const {
  if (fence_) fence_->waitInCurrentContext();
}

void Object::reset() noexcept {
  fence_.reset();
  const GLuint name = std::exchange(name_, 0);
  const uint64_t deviceId = std::exchange(deviceId_, 0);
  if (name == 0 || !GlDevice::bindLive(deviceId)) return;
  switch (type_) {
    case ObjectType::Texture: glDeleteTextures(1, &name); break;
    case ObjectType::Buffer: glDeleteBuffers(1, &name); break;
    case ObjectType::Sampler: glDeleteSamplers(1, &name); break;
    case ObjectType::Program: glDeleteProgram(name); break;
  }
}

}  // namespace Media::Gl
