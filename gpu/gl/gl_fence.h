#pragma once
// A point in one context's command stream that other contexts can wait for.
//
// Objects shared between the threads' contexts (textures, samplers, programs, buffers) are
// fenced after they are written: the fence is flushed at once, so a wait in another
// context never waits for commands that were not submitted.
#include <epoxy/gl.h>

#include <cstdint>
#include <memory>

namespace Media {

class GlFence {
 public:
  // Inserts a fence after the commands given so far on the calling thread's context.
  static std::shared_ptr<GlFence> insert();
  GlFence(const GlFence&) = delete;
  GlFence& operator=(const GlFence&) = delete;
  ~GlFence();

  uint64_t contextId() const { return contextId_; }
  // Makes the calling thread's context wait (on the GPU) for the fence, unless the fence
  // belongs to this context, whose commands run in order anyway.
  void waitInCurrentContext() const;
  // Whether the commands before the fence have completed; never blocks.
  bool isSignaled() const;

 private:
  GlFence(GLsync sync, uint64_t contextId, uint64_t deviceId)
      : sync_(sync), contextId_(contextId), deviceId_(deviceId) {}
  GLsync sync_;
  uint64_t contextId_;
  uint64_t deviceId_;
};

}  // namespace Media
