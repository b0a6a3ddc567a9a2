#include "ui/keyboard_code.h"

#include <unordered_map>

namespace Window {
namespace {

// Virtual keys of the keys outside the letters and digits.
const std::unordered_map<int, int>& namedKeys() {
  static const std::unordered_map<int, int> keys = {
      {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},       {Qt::Key_Backtab, 0x09},
      {Qt::Key_Return, 0x0d},    {Qt::Key_Enter, 0x0d},     {Qt::Key_Shift, 0x10},
      {Qt::Key_Control, 0x11},   {Qt::Key_Alt, 0x12},       {Qt::Key_Pause, 0x13},
      {Qt::Key_CapsLock, 0x14},  {Qt::Key_Escape, 0x1b},    {Qt::Key_Space, 0x20},
      {Qt::Key_PageUp, 0x21},    {Qt::Key_PageDown, 0x22},  {Qt::Key_End, 0x23},
      {Qt::Key_Home, 0x24},      {Qt::Key_Left, 0x25},      {Qt::Key_Up, 0x26},
      {Qt::Key_Right, 0x27},     {Qt::Key_Down, 0x28},      {Qt::Key_Print, 0x2c},
      {Qt::Key_Insert, 0x2d},    {Qt::Key_Delete, 0x2e},    {Qt::Key_Menu, 0x5d},
      // The punctuation keys of a US layout, unshifted and shifted.
      {Qt::Key_Semicolon, 0xba}, {Qt::Key_Colon, 0xba},     {Qt::Key_Equal, 0xbb},
      {Qt::Key_Plus, 0xbb},      {Qt::Key_Comma, 0xbc},     {Qt::Key_Less, 0xbc},
      {Qt::Key_Minus, 0xbd},     {Qt::Key_Underscore, 0xbd}, {Qt::Key_Period, 0xbe},
      {Qt::Key_Greater, 0xbe},   {Qt::Key_Slash, 0xbf},     {Qt::Key_Question, 0xbf},
      {Qt::Key_QuoteLeft, 0xc0}, {Qt::Key_AsciiTilde, 0xc0}, {Qt::Key_BracketLeft, 0xdb},
      {Qt::Key_BraceLeft, 0xdb}, {Qt::Key_Backslash, 0xdc}, {Qt::Key_Bar, 0xdc},
      {Qt::Key_BracketRight, 0xdd}, {Qt::Key_BraceRight, 0xdd}, {Qt::Key_Apostrophe, 0xde},
      {Qt::Key_QuoteDbl, 0xde},
      // The digits' shifted symbols.
      {Qt::Key_Exclam, '1'},     {Qt::Key_At, '2'},         {Qt::Key_NumberSign, '3'},
      {Qt::Key_Dollar, '4'},     {Qt::Key_Percent, '5'},    {Qt::Key_AsciiCircum, '6'},
      {Qt::Key_Ampersand, '7'},  {Qt::Key_Asterisk, '8'},   {Qt::Key_ParenLeft, '9'},
      {Qt::Key_ParenRight, '0'},
  };
  return keys;
}

// The keypad's keys other than its digits.
int keypadKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Asterisk: return 0x6a;
    case Qt::Key_Plus: return 0x6b;
    case Qt::Key_Minus: return 0x6d;
    case Qt::Key_Period: return 0x6e;
    case Qt::Key_Slash: return 0x6f;
    default: return 0;
  }
}

}  // namespace

int virtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return keypad ? 0x60 + (qtKey - Qt::Key_0) : qtKey;
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
  if (keypad) {
    if (const int key = keypadKey(qtKey)) return key;
  }
  const auto found = namedKeys().find(qtKey);
  return found == namedKeys().end() ? 0 : found->second;
}

int modifierBitsFromQt(Qt::KeyboardModifiers modifiers) {
  int bits = 0;
  if (modifiers.testFlag(Qt::ControlModifier)) bits |= KeyCode::kCtrl;
  if (modifiers.testFlag(Qt::ShiftModifier)) bits |= KeyCode::kShift;
  if (modifiers.testFlag(Qt::AltModifier)) bits |= KeyCode::kAlt;
  return bits;
}

}  // namespace Window
