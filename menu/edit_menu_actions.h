#pragma once
// The Edit menu's own small computations on the current scene: which object the Tab key or
// the next/previous keys move the focus to, and which state a show/hide sets. Each reads the
// scene as it is and changes it only through the edit service or the edit commands.
#include <memory>

namespace Edit {
class Object;
class Scene;
}  // namespace Edit

namespace Menu::EditMenuActions {

// The object the Tab key focuses: the search begins on the layer after the focus object
// when the focus covers the cursor frame (else on layer 0) and wraps through the used
// layers, so repeated presses cycle through the objects under the cursor. Null when no
// object covers the cursor frame.
std::shared_ptr<Edit::Object> objectAtCursor(const Edit::Scene& scene);
// The object after / before the focus object on its layer, or null (no focus, none there).
std::shared_ptr<Edit::Object> nextOnLayer(const Edit::Scene& scene);
std::shared_ptr<Edit::Object> previousOnLayer(const Edit::Scene& scene);

// The menu's actions on the current scene of the edit service (nothing without one).
void focusAtCursor();
void focusNextOnLayer();
void focusPreviousOnLayer();
// Switches every target to the opposite of the first target's state.
void toggleVisibility();
// The cursor to the selected range's start (0 without a range) or end (the last frame
// without a range, never past it).
void moveToRangeStart();
void moveToRangeEnd();
// Empties the picture and sound caches and the input plug-ins' open files, registers the
// scripts anew, and refreshes the setting windows and the preview through one edit scope.
void discardCaches();
// Renders the cursor frame and puts it on the clipboard, opaque or with its alpha.
void copyPicture(bool withAlpha);

}  // namespace Menu::EditMenuActions
