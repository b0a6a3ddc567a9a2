#pragma once
// The font of the program's native controls (edit boxes, lists, combo boxes): style.conf
// [Font] Control, "size[,family]", at the size in whole pixels and regular weight.
#include <pango/pango.h>

#include <cstdint>
#include <memory>
#include <string>

namespace Resource {

class GdiFontList {
 public:
  // Reads [Font] Control; a missing or malformed size throws the settings reader's error.
  GdiFontList();

  const std::string& family() const { return family_; }
  int32_t pixelSize() const { return pixelSize_; }
  const PangoFontDescription* description() const { return description_.get(); }

 private:
  std::string family_;
  int32_t pixelSize_ = 0;
  std::unique_ptr<PangoFontDescription, void (*)(PangoFontDescription*)> description_{
      nullptr, pango_font_description_free};
};

}  // namespace Resource
