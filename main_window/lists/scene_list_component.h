#pragma once
// The scene list: a docked tool window with one row per scene of the project, in the
// scenes' display order. A row makes its scene current, can be dragged to reorder the
// scenes, and carries the scene commands; a media file or a legacy object file dropped on
// the window becomes a new scene. One per process, made by the entry point after the text
// setting window and before the object list.
#include <cstdint>
#include <memory>

#include "edit/edit_service.h"
#include "main_window/lists/list_tool_window.h"
#include "system/event_service.h"
#include "system/service_holder.h"

namespace Component {

class SceneListComponent : public ListToolWindow,
                           public Edit::EditInstance,
                           public Event::EventInstance,
                           public System::Service<SceneListComponent> {
 public:
  static constexpr const char* kTitle = "シーンリスト";
  static constexpr const char* kSection = "Window.scene.list";
  static constexpr const char* kDropTip = "シーンを作成";
  // The extension of the legacy object files, which are imported as a scene of their own.
  static constexpr const char* kLegacyObjectExtension = "kvo";

  // Starts empty and fills itself at every scene change.
  SceneListComponent();

  // Rebuilds every row from the project's scenes, in display order.
  void rebuildRows();
  // Creates the row of one scene at the end of the list.
  void appendSceneRow(Control::ListItemControl& target, std::shared_ptr<Edit::Scene> scene);

  // Outside the rows: a new scene, then the window menu.
  void procContextMenu(int32_t x, int32_t y) override;
  void buildContextMenu(Window::BaseMenu& menu);
  // A drag of files: taken when the first file can become a scene; the tip says so.
  bool procDragOver(int32_t x, int32_t y, Window::DropData& data) override;
  bool procDrop(int32_t x, int32_t y, Window::DropData& data) override;

  // Whether the file can become a new scene: a legacy object file, or a file that can
  // become an object.
  static bool acceptsSceneFile(const std::string& path);
};

}  // namespace Component
