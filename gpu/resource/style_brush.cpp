#include "gpu/resource/style_brush.h"

#include <algorithm>
#include <vector>

#include "system/exception.h"
#include "system/setting_service.h"

namespace Resource {
namespace {

// The colours of a [Color] value, in their order.
std::vector<Media::ColorF> styleColours(std::string_view key) {
  const Setting::SettingService* settings = Setting::SettingService::instance();
  if (!settings)
    throw System::makeException("Resource::ColorBrush::create", "SettingService not created.");
  std::vector<Media::ColorF> colours;
  for (const auto& item : settings->style.findValue(settings->color.name(), key).split(",")) {
    const auto rgba = item.toRGBA();
    colours.push_back({rgba[0], rgba[1], rgba[2], rgba[3]});
  }
  return colours;
}

}  // namespace

namespace ColorBrush {

std::unique_ptr<Media::SolidColorBrush> create(const Media::ColorF& colour) {
  return std::make_unique<Media::SolidColorBrush>(colour);
}

std::unique_ptr<Media::SolidColorBrush> create(std::string_view key) {
  return create(styleColours(key).front());
}

std::unique_ptr<Media::SolidColorBrush> createFooterProgress(std::size_t index) {
  const std::vector<Media::ColorF> colours = styleColours("FooterProgress");
  return create(colours[std::min(index, colours.size() - 1)]);
}

}  // namespace ColorBrush

namespace GradientBrush {

std::unique_ptr<Media::LinearGradientBrush> create(const Media::ColorF& start,
                                                   const Media::ColorF& end) {
  return std::make_unique<Media::LinearGradientBrush>(
      std::vector<Media::GradientStop>{{0.0f, start}, {1.0f, end}}, Media::Point2F{},
      Media::Point2F{});
}

std::unique_ptr<Media::LinearGradientBrush> create(std::string_view key) {
  const std::vector<Media::ColorF> colours = styleColours(key);
  return create(colours.front(), colours.back());
}

std::unique_ptr<Media::LinearGradientBrush> createAt(std::string_view key, float alpha) {
  const Media::ColorF last = styleColours(key).back();
  Media::ColorF start = last;
  start.a = alpha;
  return create(start, last);
}

}  // namespace GradientBrush

}  // namespace Resource
