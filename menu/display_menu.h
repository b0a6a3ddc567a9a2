#pragma once
// The Display menu: showing and hiding the tool windows, the zoom of the preview and of the
// timeline, the display aids of the preview, and playback.
#include <cstdint>
#include <string_view>
#include <vector>

#include "menu/menu_base.h"
#include "system/ini_file.h"

namespace Menu {

// The preview zoom steps of the system settings' "PreviewZoom" in the section: decimal
// integers between commas, an empty part counting as -1; none without the key. Throws the
// settings error for a part that is no integer.
std::vector<int32_t> previewZoomList(const System::IniFile::SectionRef& config);

class DisplayMenu : public MenuBase {
 public:
  void initialize() override;
};

}  // namespace Menu
