#pragma once
// Key codes as the input targets and the shortcut table know them: the desktop-neutral
// virtual-key numbers (letters and digits are their upper-case characters, VK_LEFT 0x25 and
// so on), made from the toolkit's key codes.
#include <Qt>
#include <cstdint>

namespace Window::VirtualKey {

constexpr int32_t kBack = 0x08, kTab = 0x09, kReturn = 0x0d, kShift = 0x10, kControl = 0x11,
                  kMenu = 0x12, kPause = 0x13, kEscape = 0x1b, kSpace = 0x20, kPrior = 0x21,
                  kNext = 0x22, kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kUp = 0x26,
                  kRight = 0x27, kDown = 0x28, kInsert = 0x2d, kDelete = 0x2e, kF1 = 0x70;

// The virtual key of a toolkit key code (Qt::Key), or 0 for a key without one.
int32_t fromQtKey(int qtKey);
// The same for a key event: a keypad key (its modifiers have the keypad bit) is the keypad's
// own key, and a symbol typed with Shift is the key it lies on in a US layout ("!" is "1").
int32_t fromQtKey(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace Window::VirtualKey
