#pragma once
// The timeline window's own user settings, kept beside the edit model's keys in [Edit] of
// the parameter store. Each is declared once, in the table of timeline_settings.cpp.
#include <cstdint>
#include <span>

#include "system/config.h"

namespace Component {

struct TimelineSettings {
  // Every setting at its default.
  TimelineSettings();
  static std::span<const System::Config::Entry<TimelineSettings>> entries();

  // Draw the layer ranges that control objects act on.
  int32_t displayLayerRange;
  // The BPM grid on the rows (objects also snap to it): on or off, tempo, beats per bar and
  // the time of its origin in seconds.
  int32_t tempoGrid;
  float tempoBeatPerMinute;
  int32_t tempoBeatTime;
  float tempoOffsetTime;
  // The time tooltip while an edge or a midpoint is dragged.
  int32_t showMoveObjectTime;
  // The wheel over the rows scrolls layers instead of frames.
  int32_t layerWheelMode;
  // Object names stay readable when the object starts left of the view.
  int32_t displayObjectNameFromHead;
};

}  // namespace Component
