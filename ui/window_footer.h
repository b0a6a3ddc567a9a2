#pragma once
// The strip at the bottom of the manager window: a left and a right text, and in place of
// the left text a status text over a progress bar while something long runs.
#include <cstdint>
#include <optional>
#include <string>

#include "gpu/draw2d/draw_resource.h"
#include "gpu/text/text_format.h"

namespace Window {

class WindowService;

class WindowFooter {
 public:
  explicit WindowFooter(WindowService& service);

  // Each given text replaces the current one; a repaint follows when one of them changed.
  void setFooterText(std::optional<std::string> left, std::optional<std::string> right);
  // Shows `text` (through the message table; `detail` after a space) with the progress (0 to
  // 1). An unchanged text only stores and repaints a changed progress. While a status text is
  // shown the pointer is the wait cursor; an empty text ends it.
  void setStatusText(std::string_view text, std::optional<std::string_view> detail = {},
                     float progress = 0.0f);
  void paint();

  const std::string& leftText() const { return left_; }
  const std::string& rightText() const { return right_; }
  const std::string& statusText() const { return status_; }
  float progress() const { return progress_; }
  // How often the strip was drawn.
  int32_t paintCount() const { return paintCount_; }

 private:
  // Draws `text` at (x, y) of the current draw scope, cut to `clipWidth` pixels.
  void drawText(PangoLayout* layout, int32_t x, int32_t y);

  WindowService& service_;
  Media::ComResourcePtr<Media::TextFormat> format_;
  std::string left_;
  std::string right_;
  std::string status_;
  float progress_ = 0.0f;
  int32_t paintCount_ = 0;
};

}  // namespace Window
