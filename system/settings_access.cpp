#include "system/settings_access.h"

#include "system/setting_service.h"

namespace Setting {

int readConfigInt(const char* key, int fallback) {
  const SettingService* service = SettingService::instance();
  if (!service) return fallback;
  // findValue never inserts, so this is safe while other threads read the store too.
  const auto& value = service->system.config.findValue(key);
  if (value.text.empty()) return fallback;
  return System::IniFile::parseInt(value.text).value_or(fallback);
}

}  // namespace Setting
