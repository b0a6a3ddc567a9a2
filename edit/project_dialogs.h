#pragma once
// The questions the scene and project commands ask the user: OK/Cancel confirmations, the
// text input of a scene name, the scene dialog, the save dialog and the status text of the
// main window. The windows that answer them live above the edit model; the UI installs an
// implementation at start-up.
//
// Without one (tests, a headless run) every question is answered the way a user who keeps
// their data would: a confirmation is refused, a dialog is cancelled, and the status text
// goes nowhere. So nothing is ever discarded or deleted without someone having agreed.
#include <cstdint>
#include <string>

namespace Edit {

// What the scene dialog shows and gives back.
struct SceneSettings {
  std::string name;
  int32_t width = 1920;
  int32_t height = 1080;
  int32_t rate = 30;
  int32_t scale = 1;
  int32_t audioRate = 44100;
};

class ProjectDialogs {
 public:
  virtual ~ProjectDialogs() = default;
  // A warning box with OK and Cancel; true only for OK. `text` and `caption` are translated
  // already.
  virtual bool confirm(const std::string& text, const std::string& caption) = 0;
  // The string input dialog with `title`, starting at `text`; true with the new text on OK.
  virtual bool inputText(const std::string& title, std::string& text) = 0;
  // The scene dialog with `title`, starting at `settings`; true with the new values on OK.
  virtual bool editScene(const std::string& title, SceneSettings& settings) = 0;
  // The save file dialog with the project filter, starting at `path`; true with the chosen
  // path on OK.
  virtual bool chooseSavePath(std::string& path) = 0;
  // The status text of the main window's footer; an empty text clears it.
  virtual void setStatusText(const std::string& text) { (void)text; }
};

// Installs the dialogs (nullptr removes them). UI thread only.
void setProjectDialogs(ProjectDialogs* dialogs);
ProjectDialogs* projectDialogs();

// The project file filter of the open and save dialogs: pairs of label and pattern.
inline constexpr const char* kProjectFileFilter[][2] = {{"ProjectFile (*.vlp2)", "*.vlp2"},
                                                       {"AllFile (*.*)", "*.*"}};

}  // namespace Edit
