#pragma once
// What the scene commands of the edit service and the project session share around the
// project dialogs: the OK/Cancel question before data is lost, and taking over the values
// the scene dialog gave.
#include "edit/edit_ui.h"

namespace Edit {

class Scene;

// Asks the question (translated through the Message table while a language is active)
// under the program's caption; true only when the user agreed. Without dialogs nobody can
// agree: false.
bool confirmWithUser(const char* question);

// Stores what the scene dialog gave. The dialog keeps its numbers positive; a value that is
// not leaves the scene's own, as a scene with a zero size or rate cannot be rendered.
void applySceneSettings(Scene& scene, const SceneSettings& settings);

}  // namespace Edit
