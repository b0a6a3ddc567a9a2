#include "ui/frame_metrics.h"

#include <algorithm>

#include "system/setting_service.h"

namespace Window::Metrics {
namespace {

// The style values stay 0 until the settings service has read style.conf.
int32_t styleOr(int32_t value, int32_t fallback) {
  return Setting::SettingService::instance() && value > 0 ? value : fallback;
}

const Setting::SettingService::SystemPart* desktop() {
  const auto* settings = Setting::SettingService::instance();
  return settings ? &settings->system : nullptr;
}

}  // namespace

int32_t separatorSize() { return styleOr(Setting::Style::windowSeparatorSize, 5); }
int32_t footerHeight() { return styleOr(Setting::Style::footerHeight, 24); }
int32_t doubleClickTime() { return desktop() ? desktop()->doubleClickTime : 500; }
int32_t dragWidth() { return std::max(1, desktop() ? desktop()->dragWidth : 6); }
int32_t dragHeight() { return std::max(1, desktop() ? desktop()->dragHeight : 6); }

}  // namespace Window::Metrics
