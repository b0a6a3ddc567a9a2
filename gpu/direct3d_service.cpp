#include "gpu/direct3d_service.h"

#include <array>

#include "gpu/gl/gl_context.h"
#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"
#include "gpu/gl/gl_pixel_format.h"
#include "gpu/gl/quad_draw_set.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/builtin_pixel_shaders.h"
#include "system/dialog.h"
#include "system/log.h"
#include "system/setting_service.h"
#include "system/ui_bridge.h"

namespace Media {
namespace {

constexpr const char* kPlace = "Media::Direct3DService::Direct3DService";

// The formats whose support the start-up log reports, in this order.
const std::array<int32_t, 7>& reportedFormats() {
  static const std::array<int32_t, 7> formats = {
      DxgiFormat::R8G8B8A8_UNORM,     DxgiFormat::B8G8R8A8_UNORM,
      DxgiFormat::A8_UNORM,           DxgiFormat::R16G16B16A16_FLOAT,
      DxgiFormat::G8R8_G8B8_UNORM,    DxgiFormat::R16G16B16A16_UNORM,
      DxgiFormat::R16G16B16A16_SNORM,
  };
  return formats;
}

}  // namespace

Direct3DService& Direct3DService::Get() {
  Direct3DService* service = instance();
  if (!service)
    throw System::makeException("Media::Direct3DService::Get", "Direct3DService not created.");
  return *service;
}

Direct3DService::Direct3DService() : binding_(config_, Setting::ParameterIni::instance()) {
  binding_.load();
  try {
    device_ = std::make_unique<GlDevice>(kPlace);
    device_->current();
    System::Log::info(kPlace, "D3D feature level : 0x%08x", kFeatureLevel);
    System::Log::info(kPlace, "GL renderer : %s (EGL %s platform)", device_->renderer().c_str(),
                      device_->platformName());

    readFormats();
    defaultSampleDescription = {1, 0};
    checkFeatures();
  } catch (...) {
    // A start that failed writes nothing back.
    config_.freeParameterList();
    throw;
  }
}

Direct3DService::~Direct3DService() = default;

GlContext& Direct3DService::context() { return device_->current(); }

StateCache& Direct3DService::stateCache() { return context().stateCache(); }

void Direct3DService::readFormats() {
  Setting::SettingService* settings = Setting::SettingService::instance();
  if (!settings) return;
  System::IniFile& store = settings->system.store;
  pixelFormat = store.getOrCreateValue(settings->system.config, "PixelFormat").toInt(kDefaultPixelFormat);
  maskFormat = store.getOrCreateValue(settings->system.config, "MaskFormat").toInt(kDefaultMaskFormat);
}

void Direct3DService::checkFeatures() {
  // Rasterizer-ordered views are fragment shader interlock here.
  rovsSupported_ = device_->hasGlExtension("GL_ARB_fragment_shader_interlock");
  System::Log::info(kPlace, "D3D ROVsSupported : %d", rovsSupported_ ? 1 : 0);
  if (!rovsSupported_) {
    // Start-up goes on; the 3-D paths that need ordered views may draw wrongly.
    Dialog::showWarning(kPlace, kRovWarning);
  }

  for (int32_t format : reportedFormats()) {
    const PixelFormatInfo& info = *findPixelFormat(format);
    System::Log::info(kPlace, "D3D %s Texture2D Supported : %d", info.name,
                      device_->supportsTextureFormat(info.internalFormat) ? 1 : 0);
  }
  Gl::clearErrors();
}

void Direct3DService::setRenderTarget(RenderBuffer& target) {
  const auto view = target.createRenderTargetView();
  context().bindOutputs(*view);
}

void Direct3DService::setRenderTargetAndUnorderedAccess(RenderBuffer& target, uint32_t count,
                                                        const UnorderedAccessView* const* views) {
  const auto view = target.createRenderTargetView();
  context().bindOutputs(*view, std::span<const UnorderedAccessView* const>(views, count), 1);
}

void Direct3DService::setRenderTargetBuffer(ResourceBuffer& target) {
  const auto view = target.createRenderTargetView();
  context().bindOutputs(*view);
}

void Direct3DService::unbindRenderTargets() { context().unbindOutputs(); }

BuiltinPixelShaders& Direct3DService::builtinPixelShaders() {
  std::lock_guard lock(builtinPixelShadersMutex_);
  if (!builtinPixelShaders_) builtinPixelShaders_ = std::make_unique<BuiltinPixelShaders>();
  return *builtinPixelShaders_;
}

QuadDrawSet& Direct3DService::quadDrawSet() {
  std::lock_guard lock(quadDrawSetMutex_);
  if (!quadDrawSet_) quadDrawSet_ = std::make_unique<QuadDrawSet>();
  return *quadDrawSet_;
}

}  // namespace Media
