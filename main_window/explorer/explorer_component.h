#pragma once
// The media explorer: a docked window with back, forward and up buttons, a path box, a
// bookmarks button and a folder browser; its context menu adds and removes bookmarks and
// jumps to the program's data folders. Several may exist; the bookmarks are shared.
#include <cstdint>
#include <memory>
#include <string>

#include "main_window/explorer/explorer_bookmarks.h"
#include "main_window/explorer/multi_instance_component.h"
#include "ui/controls/edit_control.h"
#include "ui/controls/explorer_control.h"
#include "ui/controls/icon_button_control.h"
#include "ui/controls/rect_control.h"
#include "ui/window_client.h"
#include "ui/window_control.h"

namespace Window {
class BaseMenu;
}

namespace Component {

class ExplorerComponent : public MultiInstanceComponent, public Window::WindowClientRenderTarget {
 public:
  static constexpr int32_t kContainerPriority = 200;
  static constexpr int kToolTipTime = 3000;

  // Explorer `index` (from 0); the first one is shown by default and reads the bookmarks.
  explicit ExplorerComponent(int32_t index);
  // The first one writes the bookmarks; the browser saves its settings.
  ~ExplorerComponent() override;

  // The name of the first bookmark of the current folder, else the folder's path.
  std::string getFolderName() const;
  void updatePathText();
  // Asks for a name and bookmarks `folderPath` under it.
  void addBookmark(const std::string& folderPath);
  // Removes every bookmark of the current folder.
  void removeBookmark();
  // The sorted bookmarks in the popup list below the path row.
  void showBookmarkList();
  // Whether a bookmark names the current folder.
  bool isBookmarked() const;
  const std::string& currentFolder() const { return explorer.config.folderPath; }

  void procContextMenu(int32_t x, int32_t y) override;
  void procPaint() override;
  void procMove() override;
  // The explorer's items, a separator, then the window menu.
  void createExplorerMenu(Window::BaseMenu& menu);

  Window::WindowControlContainer container;
  Control::LayoutControl headerRow;
  Control::IconButtonControl backButton;
  Control::IconButtonControl forwardButton;
  Control::IconButtonControl upButton;
  Control::LayoutControl pathRow;
  Control::EditControl pathBox;
  Control::IconButtonControl bookmarkButton;
  Control::ExplorerControl explorer;

 private:
  void browseBy(Control::ExplorerBrowser::Browse how);
  // Cleared at destruction, so that the bookmark listener of a gone window does nothing.
  std::shared_ptr<ExplorerComponent*> self_;
};

}  // namespace Component
