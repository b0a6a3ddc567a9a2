#include "gpu/gl/gl_fence.h"

#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"

namespace Media {

std::shared_ptr<GlFence> GlFence::insert() {
  GlDevice& device = GlDevice::require("Media::GlFence::insert");
  GlContext& context = device.current();
  GLsync sync = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
  if (!sync) throw Gl::makeGlException("glFenceSync", "Media::GlFence::insert", glGetError());
  glFlush();
  return std::shared_ptr<GlFence>(new GlFence(sync, context.id(), device.id()));
}

GlFence::~GlFence() {
  if (GlDevice::bindLive(deviceId_)) glDeleteSync(sync_);
}

void GlFence::waitInCurrentContext() const {
  GlDevice* device = GlDevice::live();
  if (!device || device->id() != deviceId_) return;
  if (device->current().id() == contextId_) return;
  glWaitSync(sync_, 0, GL_TIMEOUT_IGNORED);
}

bool GlFence::isSignaled() const {
  if (!GlDevice::bindLive(deviceId_)) return true;
  GLint status = GL_UNSIGNALED;
  glGetSynciv(sync_, GL_SYNC_STATUS, 1, nullptr, &status);
  return status == GL_SIGNALED;
}

}  // namespace Media
