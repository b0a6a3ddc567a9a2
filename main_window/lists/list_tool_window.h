#pragma once
// What the scene list and the object list windows share: a docked window whose one control
// container holds a title strip at the top and, below it, a scrolling list of rows.
#include <memory>
#include <string>

#include "ui/controls/list_item_control.h"
#include "ui/controls/text_control.h"
#include "ui/window_client.h"
#include "ui/window_control.h"

namespace Component {

class ListToolWindow : public Window::WindowClientRenderTarget {
 public:
  static constexpr int32_t kContainerPriority = 200;

  // The window is registered under `sectionName` with the title `title`, which the title
  // strip shows as well.
  ListToolWindow(const std::string& title, const std::string& sectionName,
                 const Placement& defaults);

  // Draws every control of the container inside one drawing scope on the client rectangle.
  void procPaint() override;
  void procMove() override;

  // Lays the rows out from the top and shows them.
  void relayoutRows();

  Window::WindowControlContainer container;
  Control::TitleHeaderControl header;
  Control::ListItemControl list;

 protected:
  // Whether the window still exists, for listeners of event lists that outlive it (the
  // event service never forgets a listener).
  std::weak_ptr<void> lifetime() const { return alive_; }

 private:
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace Component
