#include "ui/virtual_key.h"

#include <Qt>

namespace Window::VirtualKey {

int32_t fromQtKey(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return qtKey;  // the same numbers as the characters
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kF1 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Backspace: return kBack;
    case Qt::Key_Tab: case Qt::Key_Backtab: return kTab;
    case Qt::Key_Return: case Qt::Key_Enter: return kReturn;
    case Qt::Key_Shift: return kShift;
    case Qt::Key_Control: return kControl;
    case Qt::Key_Alt: return kMenu;
    case Qt::Key_Pause: return kPause;
    case Qt::Key_Escape: return kEscape;
    case Qt::Key_Space: return kSpace;
    case Qt::Key_PageUp: return kPrior;
    case Qt::Key_PageDown: return kNext;
    case Qt::Key_End: return kEnd;
    case Qt::Key_Home: return kHome;
    case Qt::Key_Left: return kLeft;
    case Qt::Key_Up: return kUp;
    case Qt::Key_Right: return kRight;
    case Qt::Key_Down: return kDown;
    case Qt::Key_Insert: return kInsert;
    case Qt::Key_Delete: return kDelete;
    case Qt::Key_Plus: return 0xbb;        // the "=/+" key
    case Qt::Key_Equal: return 0xbb;
    case Qt::Key_Comma: return 0xbc;
    case Qt::Key_Minus: return 0xbd;
    case Qt::Key_Period: return 0xbe;
    case Qt::Key_Slash: return 0xbf;
    case Qt::Key_Semicolon: return 0xba;
    case Qt::Key_BracketLeft: return 0xdb;
    case Qt::Key_Backslash: return 0xdc;
    case Qt::Key_BracketRight: return 0xdd;
    default: return 0;
  }
}

int32_t fromQtKey(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers.testFlag(Qt::KeypadModifier)) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x60 + (qtKey - Qt::Key_0);
    switch (qtKey) {
      case Qt::Key_Asterisk: return 0x6a;
      case Qt::Key_Plus: return 0x6b;
      case Qt::Key_Minus: return 0x6d;
      case Qt::Key_Period: case Qt::Key_Comma: return 0x6e;
      case Qt::Key_Slash: return 0x6f;
      default: break;
    }
  }
  switch (qtKey) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Colon: return 0xba;
    case Qt::Key_Less: return 0xbc;
    case Qt::Key_Underscore: return 0xbd;
    case Qt::Key_Greater: return 0xbe;
    case Qt::Key_Question: return 0xbf;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return 0xc0;
    case Qt::Key_BraceLeft: return 0xdb;
    case Qt::Key_Bar: return 0xdc;
    case Qt::Key_BraceRight: return 0xdd;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return 0xde;
    default: return fromQtKey(qtKey);
  }
}

}  // namespace Window::VirtualKey
