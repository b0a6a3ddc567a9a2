#include "ui/menu_bar.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "system/translate_service.h"
#include "ui/loop_guard.h"

namespace Window {
namespace {

// Keeps the bar across the top of its window whenever the window changes size.
class BarPlacement : public QObject {
 public:
  explicit BarPlacement(QMenuBar* bar) : bar_(bar) {}

  void place(const QWidget* window) {
    if (bar_) bar_->setGeometry(0, 0, window->width(), bar_->sizeHint().height());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) place(static_cast<QWidget*>(watched));
    return false;
  }

 private:
  QPointer<QMenuBar> bar_;
};

}  // namespace

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
  bar_->setParent(window);
  auto placement = std::make_unique<BarPlacement>(bar_);
  placement->place(window);
  window->installEventFilter(placement.get());
  resizeFilter_ = std::move(placement);
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
