#pragma once
// Where the toolkit's message boxes go: over the manager window, and nowhere on the
// offscreen platform (tests, a run without a display), where nobody could close one.
class QWidget;

namespace Window {

bool isHeadlessPlatform();
QWidget* messageBoxOwner();

}  // namespace Window
