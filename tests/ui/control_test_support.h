#pragma once
// Helpers of the control library's tests: the window with a plain container, every style
// brush a control draws with in a colour of its own (so that a pixel tells which brush drew
// it), and a parent control that takes no input.
#include <cstdint>
#include <string>

#include "system/file.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"
#include "tests/ui/window_input_support.h"
#include "ui/window_control.h"

namespace ControlTest {

namespace Colour {
inline constexpr uint32_t kBackground = 0x000040, kBorder = 0xff0000, kBorderFocus = 0x00ff80,
                          kText = 0xffffff, kTextDisable = 0x808080, kBody = 0x102030,
                          kBodyHover = 0x204060, kBodyPress = 0x306090, kBodyDisable = 0x404040,
                          kGrouping = 0x503000, kTitleHeader = 0x006000, kZoomGauge = 0xa0a000,
                          kZoomGaugeHover = 0xc0c000, kZoomGaugeOff = 0x600060,
                          kZoomGaugeOffHover = 0x800080;
}  // namespace Colour

inline Media::ColorF colourOf(uint32_t rgb) {
  return {static_cast<float>(rgb >> 16 & 0xff) / 255.0f,
          static_cast<float>(rgb >> 8 & 0xff) / 255.0f, static_cast<float>(rgb & 0xff) / 255.0f,
          1.0f};
}

// A parent rectangle for controls that take one; it draws nothing and takes no input.
class ParentControl : public Window::WindowControlRenderTarget {
 public:
  template <class Owner>
  ParentControl(Owner& owner, int32_t x, int32_t y, int32_t w, int32_t h)
      : WindowControlRenderTarget(owner, x, y, w, h) {
    if (mouseService) mouseService->removeMouse(this);
  }
  void procPaint() override {}
};

// The settings service over an install folder of its own: the style holds the layout
// values it requires and those given.
class ScopedSettings {
 public:
  explicit ScopedSettings(const std::string& extraLayout = "") {
    install_.makeFolder("data");
    install_.writeFile("system.conf", "");
    install_.writeFile("style.conf", "[Layout]\r\nSettingItemHeight=18\r\n"
                                     "ExplorerHeaderHeight=26\r\nListItemHeight=19\r\n" +
                                         extraLayout);
    System::FileName::resetVariableList(install_.path());
    settings_.emplace();
  }
  ~ScopedSettings() {
    settings_.reset();
    System::FileName::resetVariableList();
  }
  Setting::SettingService& get() { return *Setting::SettingService::instance(); }

 private:
  TestSupport::TempFolder install_;
  std::optional<System::ServiceHolder<Setting::SettingService>> settings_;
};

class ControlFixture : public WindowTest::WindowFixture {
 protected:
  ControlFixture() {
    Window::StyleBrushList& b = service().styleBrushes();
    struct Entry {
      Media::ComResource<Media::SolidColorBrush>& brush;
      uint32_t rgb;
    };
    const Entry entries[] = {
        {b.Background, Colour::kBackground}, {b.Border, Colour::kBorder},
        {b.BorderFocus, Colour::kBorderFocus}, {b.Text, Colour::kText},
        {b.TextDisable, Colour::kTextDisable}, {b.ButtonBody, Colour::kBody},
        {b.ButtonBodyHover, Colour::kBodyHover}, {b.ButtonBodyPress, Colour::kBodyPress},
        {b.ButtonBodyDisable, Colour::kBodyDisable}, {b.Grouping, Colour::kGrouping},
        {b.TitleHeader, Colour::kTitleHeader}, {b.ZoomGauge, Colour::kZoomGauge},
        {b.ZoomGaugeHover, Colour::kZoomGaugeHover}, {b.ZoomGaugeOff, Colour::kZoomGaugeOff},
        {b.ZoomGaugeOffHover, Colour::kZoomGaugeOffHover}};
    for (const Entry& e : entries) e.brush.get()->setColor(colourOf(e.rgb));
    container.priority = 100;
    container.parentRect = &area;
    container.clipRect = &area;
    container.updateLayout();
  }

  // Fills the area with one colour, so that a pixel tells whether a control drew there.
  void clearArea(uint32_t rgb) {
    Media::SolidColorBrush brush(colourOf(rgb));
    Media::RenderTarget::DrawScope scope(service().renderTarget(), area.x, area.y,
                                         area.x + area.width, area.y + area.height, true);
    service().renderTarget().fillRectangle(0, 0, area.width, area.height, brush);
  }

  // Whether any pixel of the rectangle has the colour.
  static bool anyPixel(int left, int top, int right, int bottom, uint32_t rgb) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (pixel(x, y) == rgb) return true;
    return false;
  }

  // A click a while after the last one, so that no two presses make a double click.
  void click(int x, int y) {
    now += 10'000;
    press(x, y);
    release(x, y);
  }

  Window::Rect area{0, 0, 400, 300};
  Window::WindowControlContainer container;
};

}  // namespace ControlTest
