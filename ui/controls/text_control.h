#pragma once
// The passive controls that show text: a label, and the title strip at the top of a tool
// window. Neither takes input.
#include <cstdint>
#include <string>

#include "gpu/text/text_format.h"
#include "ui/window_control.h"

namespace Control {

class TextControl : public Window::WindowControlRenderTarget {
 public:
  enum Alignment : int32_t {
    kLeft = 0,     // left, vertically centred
    kCentred = 1,  // centred both ways
    kTrimmed = 2,  // left, vertically centred, cut with an ellipsis
    // any other value: top-left
  };

  TextControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w, int32_t h,
              std::string text, int32_t alignment);
  // At (x, 0), `w` wide and as tall as the container, left-aligned.
  TextControl(Window::WindowControlContainer& container, int32_t x, int32_t w, std::string text);

  void procPaint() override;

  std::string text;
  int32_t alignment;
  Resource::TextFormatResource* font;
  const Media::Brush* textBrush = nullptr;        // none: `Text`
  const Media::Brush* backgroundBrush = nullptr;  // none: transparent
  // With a border the text keeps 2 pixels further in.
  const Media::Brush* borderBrush = nullptr;
};

class TitleHeaderControl : public Window::WindowControlRenderTarget {
 public:
  // At the top of the container, full width, the style's title height + 2 high.
  TitleHeaderControl(Window::WindowControlContainer& container, std::string title);

  void procPaint() override;

  std::string title;  // translated when drawn
  std::string subTitle;
};

}  // namespace Control
