#pragma once
// Buttons that show a text: the plain text button (optionally with a drop-down arrow or an
// ellipsis), the one that also takes the wheel while hovered, and the text button with a
// clickable icon square at its right end.
#include <cstdint>
#include <functional>
#include <string>

#include "gpu/text/text_format.h"
#include "ui/controls/button_control.h"

namespace Control {

class TextButtonControl : public ButtonControl {
 public:
  enum Alignment : int32_t {
    kCentred = 0,
    kDropDown = 1,  // left, with a downward arrow at the right end
    kTrimmed = 2,   // centred, cut with an ellipsis when too wide
    // any other value: top-left
  };

  TextButtonControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w, int32_t h,
                    int32_t alignment);

  void procPaint() override;

  Resource::TextFormatResource* font;
  std::string text;
  const int32_t alignment;
};

// A text button that takes the wheel while the pointer is on it.
class TextButtonWheelControl : public TextButtonControl {
 public:
  using WheelCallback = std::function<void(TextButtonWheelControl&, int32_t delta)>;
  // Whether the button takes the wheel now. The dispatcher asks before it knows the delta.
  using WheelPredicate = std::function<bool(TextButtonWheelControl&)>;

  using TextButtonControl::TextButtonControl;

  void procMouseEnter() override;
  void procMouseLeave() override;
  bool acceptWheel() override;
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;

  WheelCallback wheelCallback;
  WheelPredicate wheelPredicate;
};

class TextIconButtonControl : public ButtonControl {
 public:
  // The icon square's own input target, above the button.
  class IconControl : public Window::WindowMouse {
   public:
    static constexpr int32_t kPriority = 300;
    explicit IconControl(TextIconButtonControl& button);

    void procLButtonDown(int32_t x, int32_t y) override;
    void procMouseHover() override;
    void procMouseEnter() override { button_.redraw(); }
    void procMouseLeave() override { button_.redraw(); }
    void procCaptureCancel() override { button_.redraw(); }

    Window::Rect area;

   private:
    TextIconButtonControl& button_;
  };

  // At (0, 0), `w` wide and as tall as the parent.
  TextIconButtonControl(Window::WindowControl& parent, int32_t w, std::string text);

  void procPaint() override;
  // The icon square follows the button: the right end of its visible part, as high as it.
  void procMove() override;

  Resource::TextFormatResource* font;
  std::string text;
  std::string iconToolTipText;
  const Media::Bitmap* iconBitmap = nullptr;  // none: no icon square
  Callback iconClickCallback;
  IconControl iconControl;
};

}  // namespace Control
