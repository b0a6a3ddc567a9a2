#pragma once
// The one popup list of the program, shared by the drop-down choice controls: the owner
// fills it with items and one action per item, then opens it under (or above) itself.
// Choosing an item runs its action; a plain click also closes the list, a click with Ctrl
// keeps it open for another choice. UI thread only.
#include <functional>
#include <string>

class QEvent;
class QListWidget;

namespace Window::ListBox {

// Makes the list on first use, then closes an open one (which empties it) and clears the
// current selection (-1).
void initialize();
// Adds an item and the action that choosing it runs.
void addItem(const std::string& text, std::function<void()> onSelect);
void setCurrentSelection(int index);
int currentSelection();

// Opens the list for the owner at (x, y) of the manager window's client area, `width` wide,
// below the owner's `ownerHeight` unless that passes the bottom of the screens. Nothing
// happens while the list is open.
void show(int x, int y, int width, int ownerHeight, void* ownerData);
// Hides and empties the open list; the selection becomes 0.
void close();
// Runs the action of the selected item while the list is open.
void select();
// Moves the selection by `delta` (clamped to the items) and applies the choice at once.
void moveSelection(int delta);

bool isOpen();
void* ownerData();
// The list's height for `count` rows of `rowHeight` in a manager window `windowHeight` high:
// at most a quarter of the window but never less than 256, plus the frame.
int listHeight(int windowHeight, int rowHeight, int count);

// The manager window's input while the list is open: a left press closes the list, and
// neither it nor a right press or a context-menu request reaches a target. True when the
// event is held back.
bool holdsInput(QEvent* event);

// The list window, for the toolkit's events (tests).
QListWidget* widget();

}  // namespace Window::ListBox
