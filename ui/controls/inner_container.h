#pragma once
// The container of a control's own parts (a bar's arrows, a list's rows): laid out in the
// control's full rectangle, clipped to its visible part, its parts one priority above it.
// Made before the parts are, since a part takes its clip and priority when it is built.
#include "ui/window_control.h"

namespace Control {

inline Window::WindowControlContainer innerContainer(const Window::WindowControl& owner) {
  Window::WindowControlContainer inner;
  inner.priority = owner.priority;
  inner.clipRect = &owner.visibleRect;
  inner.parentRect = &owner.fullRect;
  return inner;
}

}  // namespace Control
