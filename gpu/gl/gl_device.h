#pragma once
// The graphics device: one EGL display with an OpenGL 4.5 core context per thread, all in
// one share group.
//
// The display is Mesa's surfaceless platform when it gives a 4.5 core context, else the
// first device of the EGL device platform that does, so the same program runs on a desktop
// GPU and on a machine with the software rasteriser only. No surface is ever made: every
// picture is drawn into textures.
//
// A share-group root context is made at creation and never made current; each thread that
// touches the GPU gets a context of its own sharing with it, made current once, on its
// first use, and kept current until the thread ends (its context is then destroyed) or the
// device goes (every context is destroyed with it).
#include <epoxy/egl.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gpu/gl/gl_context.h"

namespace Media {

class GlDevice {
 public:
  enum class Platform { Surfaceless, Device };

  // Opens the display and the root context; failures throw at `place` naming the call
  // that failed ("eglGetPlatformDisplayEXT", "eglInitialize", "eglCreateContext"). With
  // `only` set, just that platform is tried.
  explicit GlDevice(std::string_view place, std::optional<Platform> only = std::nullopt);
  GlDevice(const GlDevice&) = delete;
  GlDevice& operator=(const GlDevice&) = delete;
  ~GlDevice();

  // The calling thread's context, created and made current on the first call.
  GlContext& current();

  uint64_t id() const { return id_; }
  Platform platform() const { return platform_; }
  const char* platformName() const;
  EGLDisplay display() const { return display_; }
  int glMajorVersion() const { return major_; }
  int glMinorVersion() const { return minor_; }
  const std::string& renderer() const { return renderer_; }
  // Contexts alive (threads that used the device and still run).
  std::size_t contextCount() const;

  // Whether the device's GL has the extension.
  bool hasGlExtension(const char* name) const;
  // Whether textures of the internal format can be made.
  bool supportsTextureFormat(GLenum internalFormat) const;

  // Clears every context's state cache of the object.
  void forgetCachedObject(const void* object);

  // The device that exists now, or null.
  static GlDevice* live();
  // The device that exists now, with the calling thread's context current; without one,
  // throws "graphics device not created." at `place`.
  static GlDevice& require(std::string_view place);
  // Makes the calling thread's context of the device `deviceId` current; false when that
  // device is gone (its objects went with it) or no context can be had. For destructors
  // of GPU objects: it never throws.
  static bool bindLive(uint64_t deviceId) noexcept;

 private:
  struct Failure {
    int stage = -1;
    const char* call = "eglGetPlatformDisplayEXT";
    EGLint error = EGL_SUCCESS;
  };
  friend struct GlThreadBinding;

  bool tryDisplay(EGLDisplay display, Platform platform, Failure& failure);
  std::unique_ptr<GlContext> createContext(std::string_view place);
  void destroyThreadContext(GlContext* context);

  uint64_t id_;
  EGLDisplay display_ = EGL_NO_DISPLAY;
  EGLConfig config_ = nullptr;
  EGLContext root_ = EGL_NO_CONTEXT;
  Platform platform_ = Platform::Surfaceless;
  int major_ = 0;
  int minor_ = 0;
  std::string renderer_;

  mutable std::mutex mutex_;  // guards contexts_
  std::vector<std::unique_ptr<GlContext>> contexts_;
};

}  // namespace Media
