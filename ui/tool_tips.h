#pragma once
// The one tooltip of the program: a small text window that controls, dialogs and the
// components place at a screen point for hints and short messages.
//
// The timeout says how the tip goes away: positive, after that many milliseconds; negative,
// at the next pointer move or press (the input dispatcher hides it); 0, when its owner hides
// it. UI thread only.
#include <QPoint>
#include <QString>
#include <string>

class QWidget;

namespace Window {

namespace ToolTips {

// The longest text shown, in UTF-16 units; longer texts are cut.
inline constexpr int kMaxTextLength = 1023;

// Shows the translated text at the screen point, pulled left when it would pass the right
// edge of the screens (the bottom is left as it is).
void show(QPoint screenPoint, const std::string& text, int timeout);
// Shows "text detail" just below `window` for three seconds.
void showBelow(const QWidget& window, const std::string& text, const std::string& detail);
void hide();
// Hides the tip when it waits for the next pointer move or press.
void hideTransient();
// The timed hide (what the timer runs when it fires).
void timerElapsed();
// Hides and forgets the tip window (program exit).
void release();

bool isShown();
QString text();
// The tip window's top-left corner on the screen.
QPoint position();
int timeout();
bool isTimerActive();

}  // namespace ToolTips

}  // namespace Window
