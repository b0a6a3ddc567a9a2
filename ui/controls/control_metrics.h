#pragma once
// The style's [Layout] sizes that the controls are built with, with their usual values
// while no settings are loaded (a window made without the settings service).
#include <cstdint>

namespace Control::Metrics {

int32_t scrollBarSize();      // ScrollBarSize: the width of a vertical scroll bar
int32_t titleHeaderHeight();  // TitleHeaderHeight: the title strip of a tool window

}  // namespace Control::Metrics
