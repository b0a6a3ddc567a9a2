#include "gpu/text/text_format.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <mutex>

#include "gpu/draw2d/direct2d_service.h"
#include "gpu/hresult.h"
#include "system/exception.h"
#include "system/setting_service.h"

namespace Resource {
namespace {

constexpr float kMaxLayoutSide = 65536.0f;

struct ContextDeleter {
  void operator()(PangoContext* context) const { g_object_unref(context); }
};

}  // namespace

FontValue readFontValue(std::string_view key) {
  const Setting::SettingService* settings = Setting::SettingService::instance();
  if (!settings)
    throw System::makeException("Resource::readFontValue", "SettingService not created.");
  const auto& value = settings->style.findValue(settings->font.name(), key);
  const auto items = value.split(",");
  FontValue font;
  font.size = items.front().toFloat();
  if (items.size() >= 2 && !items[1].text.empty()) {
    font.family = items[1].text;
  } else if (Media::Direct2DService* service = Media::Direct2DService::instance()) {
    font.family = service->defaultFamilyName();
  } else {
    font.family = Setting::Style::defaultFamily;
  }
  return font;
}

namespace TextFormat {

Media::ComResourcePtr<Media::TextFormat> create(std::string_view family, float size) {
  if (!(size > 0.0f) || !std::isfinite(size))
    throw System::makeHresultException("Direct2DService::Get().writeFactory->CreateTextFormat",
                                       "Resource::TextFormat::create", Media::Hresult::kInvalidArgument);
  auto format = std::make_unique<Media::TextFormat>();
  format->family = std::string(family);
  format->size = size;
  format->description.reset(pango_font_description_new());
  pango_font_description_set_family(format->description.get(), format->family.c_str());
  pango_font_description_set_weight(format->description.get(), PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(format->description.get(), PANGO_STYLE_NORMAL);
  pango_font_description_set_stretch(format->description.get(), PANGO_STRETCH_NORMAL);
  pango_font_description_set_absolute_size(format->description.get(), size * PANGO_SCALE);
  return format;
}

float getLineHeight(TextFormatResource& format) {
  if (format.lineHeight == 0.0f) {
    auto layout = TextLayout::create(*format.format.get(), "");
    format.lineHeight = TextLayout::getMetrics(layout.get()).height;
  }
  return format.lineHeight;
}

std::string getName(TextFormatResource& format) { return format.format.get()->family; }

Media::TrimmingSign* getTrimmingSign(TextFormatResource& format) {
  if (!format.trimmingSign.hasGenerator())
    format.trimmingSign.setGenerator([](Media::ComResourcePtr<Media::TrimmingSign>* slot) {
      *slot = std::make_unique<Media::TrimmingSign>();
    });
  return format.trimmingSign.get();
}

}  // namespace TextFormat

namespace TextLayout {

Media::ComResourcePtr<PangoLayout> create(const Media::TextFormat& format, std::string_view text,
                                          std::size_t length) {
  constexpr const char* kPlace = "Resource::TextLayout::create";
  Media::Direct2DService& service = Media::Direct2DService::Get();
  std::lock_guard lock(service.multithread());
  std::unique_ptr<PangoContext, ContextDeleter> context(
      pango_font_map_create_context(service.fontMap()));
  if (!context)
    throw System::makeHresultException("Direct2DService::Get().writeFactory->CreateTextLayout",
                                       kPlace, Media::Hresult::kFail);
  Media::ComResourcePtr<PangoLayout> layout(pango_layout_new(context.get()));
  if (!layout)
    throw System::makeHresultException("Direct2DService::Get().writeFactory->CreateTextLayout",
                                       kPlace, Media::Hresult::kFail);
  if (length != 0 && length < text.size()) text = text.substr(0, length);
  pango_layout_set_font_description(layout.get(), format.description.get());
  pango_layout_set_width(layout.get(), -1);  // no wrapping
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  return layout;
}

void setTrimming(PangoLayout* layout, int maxWidth, const Media::TrimmingSign& sign) {
  pango_layout_set_ellipsize(layout, sign.mode);
  const float width = std::min(static_cast<float>(std::max(maxWidth, 0)), kMaxLayoutSide);
  pango_layout_set_width(layout, static_cast<int>(width) * PANGO_SCALE);
}

Metrics getMetrics(PangoLayout* layout) {
  std::lock_guard lock(Media::Direct2DService::Get().multithread());
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  Metrics metrics;
  metrics.width = std::min(static_cast<float>(logical.width) / PANGO_SCALE, kMaxLayoutSide);
  metrics.height = std::min(static_cast<float>(logical.height) / PANGO_SCALE, kMaxLayoutSide);
  return metrics;
}

}  // namespace TextLayout

namespace FontResource {

uint32_t getTextWidth(TextFormatResource& format, std::string_view text) {
  auto layout = TextLayout::create(*format.format.get(), text);
  return static_cast<uint32_t>(std::ceil(TextLayout::getMetrics(layout.get()).width));
}

}  // namespace FontResource

}  // namespace Resource
