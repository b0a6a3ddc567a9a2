#pragma once
// Text formats and text layouts of the user interface, over Pango.
//
// A format is a family and a size (no wrapping); a layout is a text laid out with a format
// on the font map of the 2-D service, never wider or taller than 65536 pixels. Windows and
// controls measure and draw their labels with them on the UI thread.
#include <pango/pango.h>

#include <memory>
#include <string>
#include <string_view>

#include "gpu/com_resource.h"

namespace Media {

struct TextFormat {
  std::string family;
  float size = 0.0f;  // em size in pixels
  // The description layouts use.
  std::unique_ptr<PangoFontDescription, void (*)(PangoFontDescription*)> description{
      nullptr, pango_font_description_free};
};

// What text that does not fit ends in: an ellipsis at a character boundary.
struct TrimmingSign {
  PangoEllipsizeMode mode = PANGO_ELLIPSIZE_END;
};

struct TextLayoutDeleter {
  void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};

template <>
struct ComResourceTraits<TextFormat> {
  static constexpr const char* name = "struct IDWriteTextFormat";
  using Deleter = std::default_delete<TextFormat>;
};
template <>
struct ComResourceTraits<TrimmingSign> {
  static constexpr const char* name = "struct IDWriteInlineObject";
  using Deleter = std::default_delete<TrimmingSign>;
};
template <>
struct ComResourceTraits<PangoLayout> {
  static constexpr const char* name = "struct IDWriteTextLayout";
  using Deleter = TextLayoutDeleter;
};

}  // namespace Media

namespace Resource {

// A text format of the shared resources: made on first use, with its line height and its
// trimming sign kept once measured or made.
struct TextFormatResource {
  Media::ComResource<Media::TextFormat> format;
  float lineHeight = 0.0f;
  Media::ComResource<Media::TrimmingSign> trimmingSign;
};

// The size and family of a style.conf [Font] value "size[,family]": the family is the
// default family when the value names none. A missing, empty or non-numeric size throws the
// settings reader's float error.
struct FontValue {
  float size = 0.0f;
  std::string family;
};
FontValue readFontValue(std::string_view key);

namespace TextFormat {
Media::ComResourcePtr<Media::TextFormat> create(std::string_view family, float size);
// The height of a line of the format (measured once, then kept).
float getLineHeight(TextFormatResource& format);
std::string getName(TextFormatResource& format);
Media::TrimmingSign* getTrimmingSign(TextFormatResource& format);
}  // namespace TextFormat

namespace TextLayout {
struct Metrics {
  float width = 0.0f;
  float height = 0.0f;
};
// `length` 0 lays out the whole text, otherwise its first `length` bytes.
Media::ComResourcePtr<PangoLayout> create(const Media::TextFormat& format, std::string_view text,
                                          std::size_t length = 0);
// Text wider than max(maxWidth, 0) ends in the sign.
void setTrimming(PangoLayout* layout, int maxWidth, const Media::TrimmingSign& sign);
Metrics getMetrics(PangoLayout* layout);
}  // namespace TextLayout

namespace FontResource {
// The width of the text in the format, rounded up to whole pixels.
uint32_t getTextWidth(TextFormatResource& format, std::string_view text);
}  // namespace FontResource

}  // namespace Resource
