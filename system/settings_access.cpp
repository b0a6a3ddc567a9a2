#include "system/settings_access.h"

namespace Setting {

// Until the settings service exists every key reads as its fallback.
int readConfigInt(const char*, int fallback) { return fallback; }

}  // namespace Setting
