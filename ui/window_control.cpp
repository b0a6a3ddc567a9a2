#include "ui/window_control.h"

#include <QWidget>
#include <algorithm>

#include "ui/tool_tips.h"

namespace Window {

WindowControlContainer WindowControlContainer::filling(const Rect& clientRect,
                                                       int32_t priority) {
  WindowControlContainer container;
  container.priority = priority;
  container.parentRect = &clientRect;
  container.clipRect = &clientRect;
  return container;
}

void WindowControlContainer::updateLayout() {
  if (parentRect) {
    rect = *parentRect;
    rect.x -= scrollX;
    rect.y -= scrollY;
  }
  // A control may add or remove others when it moves: walk by index over a copy.
  const std::vector<WindowControl*> list = children;
  for (WindowControl* child : list) {
    if (std::find(children.begin(), children.end(), child) == children.end()) continue;
    child->updateLayout();
    child->procMove();
  }
}

WindowControl::WindowControl(WindowControlContainer& owner, int32_t x, int32_t y, int32_t w,
                             int32_t h)
    : WindowMouse(&visibleRect, owner.priority + 1),
      container(&owner),
      layoutX(x), layoutY(y), layoutW(w), layoutH(h),
      clipRect(owner.clipRect),
      parentRect(&owner.rect) {
  registerIn(owner);
}

WindowControl::WindowControl(WindowControl& parent, int32_t x, int32_t y, int32_t w, int32_t h)
    : WindowMouse(&visibleRect, parent.priority + 1),
      container(parent.container),
      layoutX(x), layoutY(y), layoutW(w), layoutH(h),
      clipRect(&parent.visibleRect),
      parentRect(&parent.fullRect) {
  registerIn(*container);
}

void WindowControl::registerIn(WindowControlContainer& owner) {
  owner.children.push_back(this);
  WindowControl::updateLayout();
}

WindowControl::~WindowControl() {
  auto& list = container->children;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void WindowControl::updateLayout() {
  const Rect parent = parentRect ? *parentRect : Rect{};
  const int32_t left = layoutX + (layoutX < 0 ? parent.x + parent.width : parent.x);
  const int32_t top = layoutY + (layoutY < 0 ? parent.y + parent.height : parent.y);
  const int32_t right =
      layoutW > 0 ? left + layoutW : std::max(left, parent.x + parent.width + layoutW);
  const int32_t bottom =
      layoutH > 0 ? top + layoutH : std::max(top, parent.y + parent.height + layoutH);
  setRect(left, top, right, bottom);
}

void WindowControl::setRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  fullRect = {left, top, right - left, bottom - top};
  if (!clipRect) {
    visibleRect = fullRect;
    return;
  }
  const Rect& clip = *clipRect;
  auto clampX = [&](int32_t v) { return std::clamp(v, clip.x, clip.x + std::max(clip.width, 0)); };
  auto clampY = [&](int32_t v) {
    return std::clamp(v, clip.y, clip.y + std::max(clip.height, 0));
  };
  const int32_t visibleLeft = clampX(left), visibleRight = clampX(right);
  const int32_t visibleTop = clampY(top), visibleBottom = clampY(bottom);
  visibleRect = {visibleLeft, visibleTop, std::max(0, visibleRight - visibleLeft),
                 std::max(0, visibleBottom - visibleTop)};
}

}  // namespace Window

namespace Window {

void WindowControl::showToolTip(const std::string& text) {
  QPoint at(fullRect.x + fullRect.width + 2, fullRect.y);
  if (mouseService && mouseService->window()) at = mouseService->window()->mapToGlobal(at);
  ToolTips::show(at, text, 0);
}

}  // namespace Window
