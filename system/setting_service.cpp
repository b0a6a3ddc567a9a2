#include "system/setting_service.h"

#include <unistd.h>

#include <cmath>
#include <vector>

#include "system/exception.h"
#include "system/log.h"
#include "system/text.h"
#include "system/ui_bridge.h"

namespace Setting {
namespace {

constexpr const char* kSystemPlace = "Setting::SettingService::System::System";

// Loads the user's copy as the primary file and fills missing keys from the installed copy.
// Settings files are written back only when a dialog changed them.
void loadSettingsFile(System::IniFile& store, const char* name) {
  store.loadFile(std::string("%AppData%/") + name);
  store.loadFile(std::string("%AppInstall%/") + name, true);
  store.setWriteBack(false);
}

int32_t installedMemoryMegabytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) {
    // Built for its log line only: the start goes on with the assumed size.
    (void)System::makeLastErrorException("sysconf", kSystemPlace);
    return 16384;
  }
  return static_cast<int32_t>(static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize) >> 20);
}

// max(1, value x scale rounded half away from zero)
int32_t scaleSize(int32_t value, float scale) {
  const long scaled = std::lround(static_cast<double>(value) * scale);
  return scaled <= 1 ? 1 : static_cast<int32_t>(std::min<long>(scaled, INT32_MAX));
}

struct StyleBinding {
  std::function<void(SettingService&)> update;
};

std::vector<StyleBinding>& styleBindings() {
  static std::vector<StyleBinding> bindings;
  return bindings;
}

int32_t requiredLayout(SettingService& s, const char* key) {
  return s.style.getOrCreateValue(s.layout, key).toInt();
}

int32_t layoutOr(SettingService& s, const char* key, int32_t fallback) {
  return s.style.getOrCreateValue(s.layout, key).toInt(fallback);
}

}  // namespace

SettingService::SystemPart::SystemPart() {
  loadSettingsFile(store, "system.conf");
  config = System::IniFile::SectionRef(store, "Config");
  frameRate = System::IniFile::SectionRef(store, "FrameRate");
  keyCode = System::IniFile::SectionRef(store, "KeyCode");

  parameterIni.emplace();

  if (auto* bridge = System::uiBridge()) {
    const System::DesktopMetrics desktop = bridge->desktopMetrics();
    keyDelay = desktop.keyDelayMs;
    keyRepeatInterval = desktop.keyRepeatIntervalMs;
    caretBlinkTime = desktop.caretBlinkMs;
    dragWidth = std::max(1, desktop.dragWidth);
    dragHeight = std::max(1, desktop.dragHeight);
    screenWidth = std::max(1, desktop.screenWidth);
    screenHeight = std::max(1, desktop.screenHeight);
    doubleClickTime = desktop.doubleClickMs;
  }
  installedMemory = installedMemoryMegabytes();

  ParameterIni* parameters = ParameterIni::instance();
  parameters->loadFile("%AppData%/velumo2.ini");
  parameters->setWriteBack(true);
}

SettingService::SettingService() {
  loadSettingsFile(style, "style.conf");
  color = System::IniFile::SectionRef(style, "Color");
  layout = System::IniFile::SectionRef(style, "Layout");
  font = System::IniFile::SectionRef(style, "Font");
  format = System::IniFile::SectionRef(style, "Format");

  loadSettingsFile(effect, "effect.conf");

  const auto* bridge = System::uiBridge();
  applyDpiScale(bridge ? System::uiBridge()->desktopMetrics().dpi : 96);

  for (auto& binding : styleBindings()) binding.update(*this);
}

SettingService::~SettingService() {
  effect.release();
  style.release();
  releaseParameterIni();
  system.store.release();
}

void SettingService::releaseParameterIni() { system.parameterIni.reset(); }

void SettingService::applyDpiScale(int systemDpi) {
  int32_t highDpiMode = 0;
  try {
    highDpiMode = ParameterIni::instance()->getOrCreateValue("Direct3D", "HighDpiMode").toInt(0);
  } catch (const std::exception&) {
    // A damaged value was logged by the conversion; the style stays unscaled.
  }
  if (highDpiMode == 0 || systemDpi == 96 || systemDpi <= 0) return;

  const float scale = static_cast<float>(systemDpi) / 96.0f;
  dpiScale = scale;

  for (auto& [key, value] : style.getOrCreateSection(layout.name())) {
    // A count of windows, not a size.
    if (key == "ExplorerWindowNum") continue;
    if (const auto number = System::IniFile::parseInt(value.text))
      value.text = std::to_string(scaleSize(*number, scale));
  }
  for (auto& [key, value] : style.getOrCreateSection(font.name())) {
    const std::vector<std::string> parts = System::splitByComma(value.text);
    const auto size = System::IniFile::parseInt(parts.front());
    if (!size) continue;
    std::string text = std::to_string(scaleSize(*size, scale));
    if (parts.size() >= 2) text += "," + parts[1];
    value.text = text;
  }
}

void bindStyleValue(int32_t& target, std::function<int32_t(SettingService&)> compute) {
  target = 0;
  styleBindings().push_back({[&target, compute = std::move(compute)](SettingService& s) {
    target = compute(s);
  }});
}

void bindStyleText(std::string& target, std::function<std::string(SettingService&)> compute) {
  styleBindings().push_back({[&target, compute = std::move(compute)](SettingService& s) {
    target = compute(s);
  }});
}

namespace Style {
int32_t settingItemHeight;
int32_t settingItemHeightPlus2;
int32_t scrollBarSize;
int32_t footerHeight;
int32_t windowSeparatorSize;
int32_t explorerHeaderHeight;
int32_t titleHeaderHeight;
int32_t listItemHeight;
std::string defaultFamily;

namespace {
// Registered in one place so that the order of the updates is the order written here.
const bool registered = [] {
  bindStyleValue(settingItemHeight, [](SettingService& s) { return requiredLayout(s, "SettingItemHeight"); });
  bindStyleValue(settingItemHeightPlus2,
                 [](SettingService& s) { return requiredLayout(s, "SettingItemHeight") + 2; });
  bindStyleValue(scrollBarSize, [](SettingService& s) { return layoutOr(s, "ScrollBarSize", 20); });
  bindStyleValue(footerHeight, [](SettingService& s) { return layoutOr(s, "FooterHeight", 24); });
  bindStyleValue(windowSeparatorSize,
                 [](SettingService& s) { return layoutOr(s, "WindowSeparatorSize", 5); });
  bindStyleValue(explorerHeaderHeight,
                 [](SettingService& s) { return requiredLayout(s, "ExplorerHeaderHeight"); });
  bindStyleValue(titleHeaderHeight,
                 [](SettingService& s) { return layoutOr(s, "TitleHeaderHeight", 22); });
  bindStyleValue(listItemHeight, [](SettingService& s) { return requiredLayout(s, "ListItemHeight"); });
  bindStyleText(defaultFamily, [](SettingService& s) {
    return s.style.getOrCreateValue(s.font, "DefaultFamily").toString("Yu Gothic UI");
  });
  return true;
}();
}  // namespace
}  // namespace Style

}  // namespace Setting
