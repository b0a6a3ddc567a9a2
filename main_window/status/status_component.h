#pragma once
// The status bar's two user-defined texts and the main window's caption.
//
// The footer texts are templates from style.conf [Format] FooterLeft and FooterRight with
// {Name} placeholders for the status variables (project and scene names, picture size, rates,
// cursor and total time and frames). The component owns no window: it writes the expanded
// texts into the manager window's footer and the project's file name into its caption, and
// follows the scene, the cursor and the edits through the event lists.
#include <cstdint>
#include <string>

namespace Edit {
class EditService;
}
namespace Event {
class EventService;
}
namespace Window {
class WindowService;
}

namespace Component {

class StatusComponent {
 public:
  // Takes the edit, event and window services, reads both templates (a value that is not
  // UTF-8 throws the settings reader's error) and adds its listeners: the scene (list 5),
  // the cursor frame (list 0) and the edit data (list 7).
  StatusComponent();
  StatusComponent(const StatusComponent&) = delete;
  StatusComponent& operator=(const StatusComponent&) = delete;

  // The current text of a status variable; a name that is none is logged and gives "".
  std::string expandStatusVariable(const std::string& name) const;
  // ProjectName, SceneName, Resolution, FrameRate and SamplingRate.
  void updateSceneVariables();
  // CurrentTime, TotalTime, CurrentFrame and TotalFrame.
  void updateTimeVariables();
  // Expands both templates and hands them to the footer, which repaints when one changed.
  void updateFooter();
  // The caption: the project file's name, or the program's name without a project file.
  void updateWindowTitle();

  const std::string& leftText() const { return leftText_; }
  const std::string& rightText() const { return rightText_; }

 private:
  // The cursor and length refresh shared by the cursor and edit listeners: only a change of
  // the cursor frame or of the scene's last frame recomputes the times and the footer.
  void refreshTime(int32_t cursorFrame);

  Edit::EditService* edit_;
  Event::EventService* events_;
  Window::WindowService* window_;
  int32_t cachedCursorFrame_ = -1;
  int32_t cachedLastFrame_ = -1;
  std::string leftTemplate_;
  std::string rightTemplate_;
  std::string leftText_;
  std::string rightText_;
  std::string currentTime_;
  std::string totalTime_;
  std::string currentFrame_;
  std::string totalFrame_;
  std::string projectName_;
  std::string sceneName_;
  std::string resolution_;
  std::string frameRate_;
  std::string samplingRate_;
};

}  // namespace Component
