#include "gpu/gl/gl_device.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "gpu/gl/gl_error.h"
#include "system/log.h"

namespace Media {
namespace {

constexpr const char* kCurrentPlace = "Media::GlDevice::current";

std::atomic<uint64_t> nextId{1};
// The device that exists now. Written under liveMutex; read without it by the threads that
// use the device, which all start using it after it was created.
std::mutex liveMutex;
std::atomic<GlDevice*> liveDevice{nullptr};

bool hasExtension(const char* list, const char* name) {
  if (!list) return false;
  const std::size_t length = std::strlen(name);
  for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length) {
    const bool startsWord = at == list || at[-1] == ' ';
    const bool endsWord = at[length] == ' ' || at[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

// Set once the thread's binding is gone (the thread is ending): GPU objects destroyed after
// that on this thread, such as those of static objects at exit, cannot reach GL any more.
thread_local bool threadEnded = false;

constexpr EGLint kContextAttributes[] = {
    EGL_CONTEXT_MAJOR_VERSION, 4,
    EGL_CONTEXT_MINOR_VERSION, 5,
    EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
    EGL_NONE,
};

}  // namespace

// The context of the calling thread. Its destructor runs when the thread ends and destroys
// the context, unless the device went first (it destroyed every context then).
struct GlThreadBinding {
  uint64_t deviceId = 0;
  GlContext* context = nullptr;
  bool usedEgl = false;

  ~GlThreadBinding() {
    threadEnded = true;
    if (!usedEgl) return;
    {
      std::lock_guard lock(liveMutex);
      GlDevice* device = liveDevice.load();
      if (device && context && device->id_ == deviceId) device->destroyThreadContext(context);
    }
    deviceId = 0;
    context = nullptr;
    eglReleaseThread();
  }
};

namespace {
thread_local GlThreadBinding threadBinding;
}

GlDevice::GlDevice(std::string_view place, std::optional<Platform> only) : id_(nextId++) {
  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  Failure failure;
  bool opened = false;

  if (hasExtension(clientExtensions, "EGL_EXT_platform_base")) {
    if ((!only || *only == Platform::Surfaceless) &&
        hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
      EGLDisplay display =
          eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
      if (display == EGL_NO_DISPLAY) {
        if (failure.stage < 0) failure = {0, "eglGetPlatformDisplayEXT", eglGetError()};
      } else {
        opened = tryDisplay(display, Platform::Surfaceless, failure);
      }
    }
    if (!opened && (!only || *only == Platform::Device) &&
        hasExtension(clientExtensions, "EGL_EXT_device_enumeration") &&
        hasExtension(clientExtensions, "EGL_EXT_platform_device")) {
      EGLDeviceEXT devices[16];
      EGLint count = 0;
      if (!eglQueryDevicesEXT(16, devices, &count)) count = 0;
      for (EGLint i = 0; i < count && !opened; ++i) {
        EGLDisplay display = eglGetPlatformDisplayEXT(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
        if (display == EGL_NO_DISPLAY) {
          if (failure.stage < 0) failure = {0, "eglGetPlatformDisplayEXT", eglGetError()};
          continue;
        }
        opened = tryDisplay(display, Platform::Device, failure);
      }
    }
  }

  if (!opened) {
    System::Log::error("Media::GlDevice", "%s: %s (0x%04X)", failure.call,
                       Gl::eglErrorName(failure.error), static_cast<unsigned>(failure.error));
    throw System::makeHresultException(failure.call, place, Gl::hresultFromEglError(failure.error));
  }

  // One device serves the program; a second one (a probe) works alone and is not live.
  std::lock_guard lock(liveMutex);
  if (!liveDevice.load()) liveDevice.store(this);
}

// Initialises the display and makes the share-group root on it; on failure the failure is
// recorded when it got further than the one recorded before.
bool GlDevice::tryDisplay(EGLDisplay display, Platform platform, Failure& failure) {
  auto fail = [&](int stage, const char* call, EGLint error) {
    if (stage > failure.stage) failure = {stage, call, error};
    return false;
  };
  EGLint major = 0;
  EGLint minor = 0;
  if (!eglInitialize(display, &major, &minor)) return fail(1, "eglInitialize", eglGetError());

  // A display that cannot serve stays initialised, as every display does (see the
  // destructor).
  auto giveUp = [&](int stage, const char* call, EGLint error) { return fail(stage, call, error); };
  const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
  if (!hasExtension(extensions, "EGL_KHR_surfaceless_context"))
    return giveUp(3, "eglMakeCurrent", EGL_BAD_MATCH);
  if (!eglBindAPI(EGL_OPENGL_API)) return giveUp(2, "eglBindAPI", eglGetError());

  EGLConfig config = EGL_NO_CONFIG_KHR;
  if (!hasExtension(extensions, "EGL_KHR_no_config_context")) {
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLint found = 0;
    if (!eglChooseConfig(display, wanted, &config, 1, &found) || found < 1)
      return giveUp(2, "eglChooseConfig", found < 1 ? EGL_BAD_CONFIG : eglGetError());
  }

  EGLContext root = eglCreateContext(display, config, EGL_NO_CONTEXT, kContextAttributes);
  if (root == EGL_NO_CONTEXT) return giveUp(2, "eglCreateContext", eglGetError());

  // The root tells what the device gives; the thread's own context is current again after.
  const EGLDisplay previousDisplay = eglGetCurrentDisplay();
  const EGLContext previousContext = eglGetCurrentContext();
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, root)) {
    const EGLint error = eglGetError();
    eglDestroyContext(display, root);
    return giveUp(3, "eglMakeCurrent", error);
  }
  threadBinding.usedEgl = true;
  GLint glMajor = 0;
  GLint glMinor = 0;
  glGetIntegerv(GL_MAJOR_VERSION, &glMajor);
  glGetIntegerv(GL_MINOR_VERSION, &glMinor);
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (previousContext != EGL_NO_CONTEXT)
    eglMakeCurrent(previousDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, previousContext);
  else
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (glMajor < 4 || (glMajor == 4 && glMinor < 5)) {
    eglDestroyContext(display, root);
    return giveUp(2, "eglCreateContext", EGL_BAD_MATCH);
  }

  display_ = display;
  config_ = config;
  root_ = root;
  platform_ = platform;
  major_ = glMajor;
  minor_ = glMinor;
  renderer_ = std::string(renderer ? renderer : "unknown") + " / " + (version ? version : "");
  return true;
}

GlDevice::~GlDevice() {
  std::lock_guard live(liveMutex);
  if (liveDevice.load() == this) liveDevice.store(nullptr);
  if (threadBinding.deviceId == id_) {
    glFinish();
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    threadBinding.deviceId = 0;
    threadBinding.context = nullptr;
  }
  {
    std::lock_guard lock(mutex_);
    contexts_.clear();  // contexts still current on other threads go when those release them
  }
  eglDestroyContext(display_, root_);
  // The display stays initialised for the rest of the process: terminating it unloads the
  // driver, which then leaves blocks behind that nothing can free, and a later device of
  // the same process finds the display ready.
}

GlContext& GlDevice::current() {
  if (threadBinding.deviceId == id_) return *threadBinding.context;
  if (threadEnded)
    throw System::makeException(kCurrentPlace, "the thread has ended: no graphics context.");
  std::unique_ptr<GlContext> context = createContext(kCurrentPlace);
  GlContext* raw = context.get();
  {
    std::lock_guard lock(mutex_);
    contexts_.push_back(std::move(context));
  }
  threadBinding.deviceId = id_;
  threadBinding.context = raw;
  return *raw;
}

std::unique_ptr<GlContext> GlDevice::createContext(std::string_view place) {
  // The client API is chosen per thread.
  if (!eglBindAPI(EGL_OPENGL_API)) throw Gl::makeEglException("eglBindAPI", place);
  EGLContext handle = eglCreateContext(display_, config_, root_, kContextAttributes);
  if (handle == EGL_NO_CONTEXT) throw Gl::makeEglException("eglCreateContext", place);
  threadBinding.usedEgl = true;
  if (!eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, handle)) {
    auto exception = Gl::makeEglException("eglMakeCurrent", place);
    eglDestroyContext(display_, handle);
    throw exception;
  }
  static std::atomic<uint64_t> nextContextId{1};
  try {
    return std::make_unique<GlContext>(display_, handle, nextContextId++);
  } catch (...) {
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display_, handle);
    throw;
  }
}

void GlDevice::destroyThreadContext(GlContext* context) {
  // Whatever this thread queued completes before its context goes.
  glFinish();
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  std::lock_guard lock(mutex_);
  auto found = std::find_if(contexts_.begin(), contexts_.end(),
                            [context](const auto& held) { return held.get() == context; });
  if (found != contexts_.end()) contexts_.erase(found);
}

const char* GlDevice::platformName() const {
  return platform_ == Platform::Surfaceless ? "surfaceless" : "device";
}

std::size_t GlDevice::contextCount() const {
  std::lock_guard lock(mutex_);
  return contexts_.size();
}

void GlDevice::forgetCachedObject(const void* object) {
  std::lock_guard lock(mutex_);
  for (auto& context : contexts_) context->stateCache().forget(object);
}

GlDevice* GlDevice::live() { return liveDevice.load(); }

GlDevice& GlDevice::require(std::string_view place) {
  GlDevice* device = liveDevice.load();
  if (!device) throw System::makeException(place, "graphics device not created.");
  device->current();
  return *device;
}

bool GlDevice::hasGlExtension(const char* name) const { return epoxy_has_gl_extension(name); }

bool GlDevice::supportsTextureFormat(GLenum internalFormat) const {
  GLint supported = GL_FALSE;
  glGetInternalformativ(GL_TEXTURE_2D, internalFormat, GL_INTERNALFORMAT_SUPPORTED, 1, &supported);
  return supported == GL_TRUE;
}

bool GlDevice::bindLive(uint64_t deviceId) noexcept {
  if (deviceId == 0 || threadEnded) return false;
  if (threadBinding.deviceId == deviceId) return true;
  GlDevice* device = liveDevice.load();
  if (!device || device->id_ != deviceId) return false;
  try {
    device->current();
    return true;
  } catch (const std::exception&) {
    // A thread that cannot get a context cannot reach the object: it stays until the
    // device goes, which frees it with everything else.
    return false;
  }
}

}  // namespace Media
