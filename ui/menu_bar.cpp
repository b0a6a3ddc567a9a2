#include "ui/menu_bar.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "system/translate_service.h"
#include "ui/loop_guard.h"

namespace Window {
void WindowMenu::SubMenuText::update() const {
  if (!root || !root->handle()) return;
  const QList<QAction*> actions = root->handle()->actions();
  if (position < 0 || position >= actions.size()) return;
  actions[position]->setText(QString::fromStdString(translateMenuText(caption)));
}

WindowMenuManager::WindowMenuManager() : bar_(new QMenuBar) {
  setRootHandle(bar_);
  for (int position = 0; position < kTopMenuCount; ++position) {
    auto& menu = topMenus_[static_cast<std::size_t>(position)];
    menu = std::make_unique<BaseMenu>(*this, kCaptions[static_cast<std::size_t>(position)]);
    texts_[static_cast<std::size_t>(position)] = {this, qobject_cast<QMenu*>(menu->handle()),
                                                  menu->caption(), position};
  }
  if (auto* translation = Translate::TranslateService::instance()) {
    using Step = Translate::TranslateService::RefreshStep;
    refreshIds_.push_back(translation->addRefreshCallback(Step::ClearMenus, [this] {
      clearMenus();
    }));
    refreshIds_.push_back(translation->addRefreshCallback(Step::RebuildMenus, [this] {
      rebuildMenus();
    }));
    refreshIds_.push_back(translation->addRefreshCallback(Step::RedrawWindow, [this] {
      if (bar_) bar_->update();
    }));
  }
}

WindowMenuManager::~WindowMenuManager() {
  if (auto* translation = Translate::TranslateService::instance())
    for (const uint64_t id : refreshIds_) translation->removeRefreshCallback(id);
  // The window may have taken the bar with it already.
  delete bar_.data();
}

void WindowMenuManager::attach(QWidget* window) {
  // As the layout's menu bar it takes the window's width and the height it needs, and the
  // layout gives the client area only what is left below it.
  if (QLayout* layout = window->layout()) layout->setMenuBar(bar_);
  else bar_->setParent(window);
  bar_->show();
}

void WindowMenuManager::setMenuBuilder(int position, Builder builder) {
  auto& slot = builders_.at(static_cast<std::size_t>(position));
  slot = std::move(builder);
  if (slot) slot(*topMenus_[static_cast<std::size_t>(position)]);
}

void WindowMenuManager::clearMenus() {
  for (const auto& top : topMenus_) {
    QWidget* menu = top->handle();
    if (!menu) continue;
    // Items and sub-menus leave the menu now and are deleted once control is back in the
    // loop: the clearing may run from inside the signal of one of them (a language chosen
    // from the menu).
    for (QAction* action : menu->actions()) {
      menu->removeAction(action);
      if (QMenu* subMenu = QMenu::menuInAction(action)) subMenu->deleteLater();
      else if (action->parent() == menu) action->deleteLater();
    }
  }
  clearCommands();
}

void WindowMenuManager::rebuildMenus() {
  for (const auto& text : texts_) text.update();
  for (int position = 0; position < kTopMenuCount; ++position) {
    const Builder builder = builders_[static_cast<std::size_t>(position)];
    if (builder) builder(*topMenus_[static_cast<std::size_t>(position)]);
  }
}

}  // namespace Window
