#include "main_window/timeline/timeline_settings.h"

namespace Component {

TimelineSettings::TimelineSettings() { System::Config::setDefaults(*this, entries()); }

std::span<const System::Config::Entry<TimelineSettings>> TimelineSettings::entries() {
  using S = TimelineSettings;
  static const System::Config::Entry<TimelineSettings> table[] = {
      {"DisplayLayerRange", &S::displayLayerRange, 1},
      {"TempoGrid", &S::tempoGrid, 0},
      {"TempoBeatPerMinute", &S::tempoBeatPerMinute, 120.0f},
      {"TempoBeatTime", &S::tempoBeatTime, 4},
      {"TempoOffsetTime", &S::tempoOffsetTime, 0.0f},
      {"ShowMoveObjectTime", &S::showMoveObjectTime, 1},
      {"LayerWheelMode", &S::layerWheelMode, 0},
      {"DisplayObjectNameFromHead", &S::displayObjectNameFromHead, 0},
  };
  return table;
}

}  // namespace Component
