#pragma once
// Key codes of the shortcuts: a virtual key (ui/virtual_key.h) in the low 12 bits with one
// bit per modifier, the numbers the keyboard settings file keeps.
#include <Qt>

namespace Window {

struct KeyCode {
  static constexpr int kKeyMask = 0xfff;
  static constexpr int kCtrl = 0x4000;
  static constexpr int kShift = 0x2000;
  static constexpr int kAlt = 0x1000;
  static constexpr int kModifierMask = kCtrl | kShift | kAlt;
};

// The modifier bits of a key code for the toolkit's modifiers.
int modifierBitsFromQt(Qt::KeyboardModifiers modifiers);

}  // namespace Window
