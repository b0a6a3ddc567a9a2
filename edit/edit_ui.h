#pragma once
// What the edit model asks of the windows above it: questions to the user (confirmations,
// a text, a number, a frame length, the scene and save dialogs), the state of the keyboard
// and of the timeline, and what the windows show after a command (the status text, the
// selected frame range, the time-control window, the setting windows after an edit).
//
// The UI installs its implementation at start-up. The defaults are the headless answers,
// used by tests and by a run without windows: every question is answered the way a user
// who keeps their data would (a confirmation is refused, a dialog is cancelled), the Ctrl
// key is up, the mouse is outside the timeline, and nothing is shown or refreshed. So
// nothing is ever discarded or deleted without someone having agreed.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace Effect {
class EffectItemNumber;
}

namespace Edit {

class Object;
class UpdateSection;

// What the scene dialog shows and gives back.
struct SceneSettings {
  std::string name;
  int32_t width = 1920;
  int32_t height = 1080;
  int32_t rate = 30;
  int32_t scale = 1;
  int32_t audioRate = 44100;
};

// The last mouse position inside the timeline's object area: x and y from the area's
// origin and the layer height in pixels.
struct TimelinePoint {
  int x = 0;
  int y = 0;
  int layerHeight = 1;
};

class EditUi {
 public:
  virtual ~EditUi() = default;

  // --- questions (UI thread; each returns only when the user answered) ---------------------
  // A warning box with OK and Cancel; true only for OK. `text` and `caption` are translated
  // already.
  virtual bool confirm(const std::string& text, const std::string& caption) { return false; }
  // The string input dialog with `title`, starting at `text`; true with the new text on OK.
  virtual bool inputText(const std::string& title, std::string& text) { return false; }
  // The scene dialog with `title`, starting at `settings`; true with the new values on OK.
  virtual bool editScene(const std::string& title, SceneSettings& settings) { return false; }
  // The save file dialog with the project filter, starting at `path`; true with the chosen
  // path on OK.
  virtual bool chooseSavePath(std::string& path) { return false; }
  // The open file dialog with the project filter, starting at `path`; true with the chosen
  // file, which exists, on OK.
  virtual bool chooseOpenPath(std::string& path) { return false; }
  // The frame-length dialog with the caption and the initial frame count; the confirmed
  // frame count, or nothing on Cancel.
  virtual std::optional<int> askFrameLength(const std::string& caption, int initialFrames) {
    return std::nullopt;
  }
  // The number input dialog: a caption, one field with its label, initial value and range;
  // the confirmed value, or nothing on Cancel.
  virtual std::optional<double> askNumber(const std::string& caption, const std::string& label,
                                          double initial, double minimum, double maximum) {
    return std::nullopt;
  }
  // The frame-length dialog of "go to time": the caption, its seconds and frame fields'
  // labels and the initial frame; the confirmed frame, or nothing on Cancel.
  virtual std::optional<int> askTimeFrame(const std::string& caption,
                                          const std::string& secondsLabel,
                                          const std::string& frameLabel, int initialFrame) {
    return std::nullopt;
  }

  // --- state of the keyboard and the timeline ----------------------------------------------
  // Whether the Ctrl key is held down right now.
  virtual bool isControlKeyDown() { return false; }
  // The mouse in the timeline's object area, or nothing when it lies outside the area.
  virtual std::optional<TimelinePoint> timelineMouse() { return std::nullopt; }

  // --- what the windows show ---------------------------------------------------------------
  // The status text of the main window's footer; an empty text clears it.
  virtual void setStatusText(const std::string& text) {}
  // Sets the timeline's selected frame range (-1, -1 clears it).
  virtual void setFrameRange(int start, int end) {}
  // Points the time-control window at a track, when that window is open.
  virtual void showTimeControl(const std::shared_ptr<Object>& object,
                               Effect::EffectItemNumber& item) {}
  // Refreshes the object setting window and its colour, time-control and text windows as
  // the closed scope's requests ask; runs after the edit lock was released.
  virtual void refreshSettingWindows(const UpdateSection& scope) {}
  // A tooltip with `text` at the mouse cursor, one cursor height below it (the information
  // of a media file or a scene).
  virtual void showToolTip(const std::string& text) {}
};

// The project file filter of the open and save dialogs: pairs of label and pattern.
inline constexpr const char* kProjectFileFilter[][2] = {{"ProjectFile (*.vlp2)", "*.vlp2"},
                                                       {"AllFile (*.*)", "*.*"}};

// Installs the UI (nullptr puts the headless answers back). UI thread, while no command
// runs.
void setEditUi(EditUi* ui);
// The installed UI, or the headless one.
EditUi& editUi();

}  // namespace Edit
