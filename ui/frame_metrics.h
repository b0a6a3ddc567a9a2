#pragma once
// The sizes and timings the window frame works with: the style's [Layout] metrics and the
// desktop's input timing, with their usual values while no settings are loaded (a window
// made without the settings service, as in tools and tests).
#include <cstdint>

namespace Window::Metrics {

int32_t separatorSize();    // WindowSeparatorSize, gap between docked windows
int32_t footerHeight();     // FooterHeight, the status strip at the bottom
int32_t doubleClickTime();  // ms
int32_t dragWidth();        // px a press must move horizontally before it counts as a drag
int32_t dragHeight();       // px, vertically

}  // namespace Window::Metrics
