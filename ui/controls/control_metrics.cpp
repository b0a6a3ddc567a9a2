#include "ui/controls/control_metrics.h"

#include "system/setting_service.h"

namespace Control::Metrics {
namespace {

// The style values stay 0 until the settings service has read style.conf.
int32_t styleOr(int32_t value, int32_t fallback) {
  return Setting::SettingService::instance() && value > 0 ? value : fallback;
}

}  // namespace

int32_t scrollBarSize() { return styleOr(Setting::Style::scrollBarSize, 20); }
int32_t titleHeaderHeight() { return styleOr(Setting::Style::titleHeaderHeight, 22); }

}  // namespace Control::Metrics
