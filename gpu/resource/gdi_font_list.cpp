#include "gpu/resource/gdi_font_list.h"

#include <algorithm>
#include <cmath>

#include "gpu/text/text_format.h"

namespace Resource {

GdiFontList::GdiFontList() {
  const FontValue value = readFontValue("Control");
  family_ = value.family;
  // Whole pixels, as control fonts are sized; never below one pixel.
  pixelSize_ = std::max(1, static_cast<int32_t>(std::clamp(value.size, -16384.0f, 16384.0f)));
  description_.reset(pango_font_description_new());
  pango_font_description_set_family(description_.get(), family_.c_str());
  pango_font_description_set_weight(description_.get(), PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description_.get(), PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(description_.get(),
                                           static_cast<double>(pixelSize_) * PANGO_SCALE);
}

}  // namespace Resource
