#pragma once
// The process-wide owner of the graphics device.
//
// It opens the device (an OpenGL 4.5 core context per thread over EGL, see gl/gl_device.h),
// reads the [Direct3D] parameters of velumo2.ini and the pixel formats of system.conf,
// checks once what the device supports and logs it, and offers the bindings every GPU user
// shares: a buffer as the only render target with a viewport of its size, with or without
// unordered-access views beside it. The state cache of the calling thread's context lets
// the draw paths skip rebinding what is bound already.
//
// Any thread may create, fill and read back GPU images; drawing is serialised by the
// callers as before, each thread drawing through its own context.
#include <cstdint>
#include <memory>
#include <mutex>

#include "system/config.h"
#include "system/service_holder.h"

namespace Media {

class BuiltinPixelShaders;
class GlContext;
class GlDevice;
class QuadDrawSet;
class RenderBuffer;
class ResourceBuffer;
class UnorderedAccessView;
struct StateCache;

struct SampleDescription {
  uint32_t count = 1;
  uint32_t quality = 0;
};

class Direct3DService : public System::Service<Direct3DService> {
 public:
  static constexpr int32_t kDefaultPixelFormat = 10;  // R16G16B16A16_FLOAT
  static constexpr int32_t kDefaultMaskFormat = 65;   // A8_UNORM
  // What an OpenGL 4.5 core context with compute shaders stands for.
  static constexpr uint32_t kFeatureLevel = 0xb100;
  static constexpr const char* kRovWarning =
      "D3D ROVs not supported.\n\n一部の機能が正しく動作しない可能性があります";

  // The service; throws when it has not been created.
  static Direct3DService& Get();

  // Loads the [Direct3D] block, opens the device and makes the calling thread's context,
  // reads the formats and logs what the device supports. Failures throw at
  // "Media::Direct3DService::Direct3DService".
  Direct3DService();
  // Saves the [Direct3D] block, then closes the device.
  ~Direct3DService();
  Direct3DService(const Direct3DService&) = delete;
  Direct3DService& operator=(const Direct3DService&) = delete;

  GlDevice& device() { return *device_; }
  // The calling thread's context (made on its first use).
  GlContext& context();
  StateCache& stateCache();
  bool rovsSupported() const { return rovsSupported_; }

  // Makes the buffer (its render-target view made when missing) the only render target,
  // with a viewport of its size and depth 0 to 1. What was bound before is unbound.
  void setRenderTarget(RenderBuffer& target);
  // As setRenderTarget, with `count` unordered-access views at slots 1 and up.
  void setRenderTargetAndUnorderedAccess(RenderBuffer& target, uint32_t count,
                                         const UnorderedAccessView* const* views);
  void setRenderTargetBuffer(ResourceBuffer& target);
  // Unbinds the render target and views, publishing what was drawn into them.
  void unbindRenderTargets();

  // The built-in pixel shaders of the copies and conversions, each made on first use.
  BuiltinPixelShaders& builtinPixelShaders();
  // The full-target quads and their vertex shaders, made on first use.
  QuadDrawSet& quadDrawSet();

  // The [Direct3D] parameters; the display colour dialog edits them in place.
  int32_t multiSampleCount = 8;  // stored only
  int32_t maxAnisotropy = 16;    // stored only
  int32_t highDpiMode = 1;
  int32_t inputYUVColorSpace = 0;
  int32_t outputYUVColorSpace = 0;

  int32_t pixelFormat = kDefaultPixelFormat;
  int32_t maskFormat = kDefaultMaskFormat;
  SampleDescription defaultSampleDescription;

 private:
  void readFormats();
  void checkFeatures();

  // Destroyed last: everything below holds GPU objects or saves first.
  std::unique_ptr<GlDevice> device_;
  std::mutex builtinPixelShadersMutex_;
  std::unique_ptr<BuiltinPixelShaders> builtinPixelShaders_;
  std::mutex quadDrawSetMutex_;
  std::unique_ptr<QuadDrawSet> quadDrawSet_;
  bool rovsSupported_ = false;

  System::Config::Section config_{"Direct3D"};
  System::Config::Int multiSampleCountParameter_{config_, "MultiSampleCount", &multiSampleCount, 8};
  System::Config::Int maxAnisotropyParameter_{config_, "MaxAnisotropy", &maxAnisotropy, 16};
  System::Config::Int highDpiModeParameter_{config_, "HighDpiMode", &highDpiMode, 1};
  System::Config::Int inputYUVColorSpaceParameter_{config_, "InputYUVColorSpace",
                                                   &inputYUVColorSpace, 0};
  System::Config::Int outputYUVColorSpaceParameter_{config_, "OutputYUVColorSpace",
                                                    &outputYUVColorSpace, 0};
  System::Config::Binding binding_;
};

}  // namespace Media
