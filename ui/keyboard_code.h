#pragma once
// Key codes of the shortcuts: a virtual key in the low 12 bits with one bit per modifier,
// the numbers the keyboard settings file keeps. The toolkit's key events are turned into
// these numbers here.
#include <Qt>

namespace Window {

struct KeyCode {
  static constexpr int kKeyMask = 0xfff;
  static constexpr int kCtrl = 0x4000;
  static constexpr int kShift = 0x2000;
  static constexpr int kAlt = 0x1000;
  static constexpr int kModifierMask = kCtrl | kShift | kAlt;
};

// The virtual key of a toolkit key (a keypad key when `modifiers` has the keypad bit), or 0
// for a key that has none. A symbol typed with Shift is the key it lies on (a US layout):
// "!" is the key of "1".
int virtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);
// The modifier bits of a key code for the toolkit's modifiers.
int modifierBitsFromQt(Qt::KeyboardModifiers modifiers);

}  // namespace Window
