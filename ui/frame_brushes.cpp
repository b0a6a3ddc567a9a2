#include "ui/frame_brushes.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "system/ini_file.h"
#include "system/setting_service.h"

namespace Window {
namespace {

Media::ColorF rgb(uint32_t value) {
  return {((value >> 16) & 0xff) / 255.0f, ((value >> 8) & 0xff) / 255.0f,
          (value & 0xff) / 255.0f, 1.0f};
}

// Entry `index` of the comma-separated colours of [Color] `key` (the last one when the list
// is shorter), or `fallback` when the key is missing or empty.
std::unique_ptr<Media::SolidColorBrush> styleBrush(std::string_view key, uint32_t fallback,
                                                   std::size_t index = 0) {
  const auto* settings = Setting::SettingService::instance();
  if (settings) {
    const auto& value = settings->style.findValue(settings->color.name(), key);
    if (!value.text.empty()) {
      const std::vector<System::IniFile::VALUE> items = value.split(",");
      const auto rgba = items[std::min(index, items.size() - 1)].toRGBA();
      return std::make_unique<Media::SolidColorBrush>(
          Media::ColorF{rgba[0], rgba[1], rgba[2], rgba[3]});
    }
  }
  return std::make_unique<Media::SolidColorBrush>(rgb(fallback));
}

}  // namespace

FrameBrushes::FrameBrushes()
    : background(styleBrush("Background", 0x202020)),
      windowBorder(styleBrush("WindowBorder", 0x404040)),
      windowSeparator(styleBrush("WindowSeparator", 0x181818)),
      borderFocus(styleBrush("BorderFocus", 0x3c78c8)),
      footer(styleBrush("Footer", 0x2a2a2a)),
      text(styleBrush("Text", 0xe0e0e0)),
      footerProgress{styleBrush("FooterProgress", 0x3c78c8, 0),
                     styleBrush("FooterProgress", 0x8cb4e6, 1)} {}

}  // namespace Window
