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

}  // namespace Window::VirtualKey
