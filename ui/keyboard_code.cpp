#include "ui/keyboard_code.h"

namespace Window {

int modifierBitsFromQt(Qt::KeyboardModifiers modifiers) {
  int bits = 0;
  if (modifiers.testFlag(Qt::ControlModifier)) bits |= KeyCode::kCtrl;
  if (modifiers.testFlag(Qt::ShiftModifier)) bits |= KeyCode::kShift;
  if (modifiers.testFlag(Qt::AltModifier)) bits |= KeyCode::kAlt;
  return bits;
}

}  // namespace Window
