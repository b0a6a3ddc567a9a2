#include "main_window/lists/list_tool_window.h"

#include "gpu/draw2d/render_target.h"

namespace Component {

ListToolWindow::ListToolWindow(const std::string& title, const std::string& sectionName,
                               const Placement& defaults)
    : WindowClientRenderTarget(title, sectionName, defaults),
      container(Window::WindowControlContainer::filling(rect, kContainerPriority)),
      header(container, title),
      list(container, header.layoutH) {
  container.updateLayout();
}

void ListToolWindow::procPaint() {
  if (isHidden() || !drawing.renderTarget || rect.width <= 0 || rect.height <= 0) return;
  Media::RenderTarget::DrawScope scope(*drawing.renderTarget, rect.x, rect.y,
                                       rect.x + rect.width, rect.y + rect.height, true);
  // A copy: a control may go while another paints.
  const std::vector<Window::WindowControl*> children = container.children;
  for (Window::WindowControl* child : children) child->procPaint();
}

void ListToolWindow::procMove() { container.updateLayout(); }

void ListToolWindow::relayoutRows() {
  list.updateItemLayout();
  list.procMove();
  list.procPaint();
}

}  // namespace Component
