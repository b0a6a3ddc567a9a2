#include "ui/menu_item_list.h"

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <cerrno>
#include <string>

#include "system/exception.h"
#include "system/log.h"
#include "ui/keyboard_shortcut.h"
#include "ui/menu_base.h"

namespace Window::WindowMenu {
namespace {

// Cuts at `length` UTF-16 units without splitting a surrogate pair.
QString cutText(QString text, qsizetype length) {
  if (text.size() <= length) return text;
  if (length > 0 && text.at(length - 1).isHighSurrogate()) --length;
  text.truncate(length);
  return text;
}

}  // namespace

ItemList::ItemList(RootMenu& root, QMenu* menu, int firstId, int count, Provider provider)
    : root_(&root), menu_(menu), firstId_(firstId), count_(count),
      provider_(std::move(provider)) {}

ItemList& ItemList::add(BaseMenu& menu, int count, Select select, Provider provider) {
  auto* handle = qobject_cast<QMenu*>(menu.handle());
  if (!handle) {
    throw System::makeErrnoException("AppendMenu", "Window::WindowMenu::ItemList::ItemList",
                                     EINVAL);
  }
  RootMenu& root = menu.root();
  count = std::max(count, 0);
  const int firstId = RootMenu::kFirstCommandId + static_cast<int>(root.commandCount());
  auto shared = std::make_shared<Select>(std::move(select));
  for (int k = 0; k < count; ++k) {
    root.allocateCommand([shared, k] {
      if (*shared) (*shared)(k);
    });
  }
  root.itemLists_.push_back(
      std::make_unique<ItemList>(root, handle, firstId, count, std::move(provider)));
  return *root.itemLists_.back();
}

void ItemList::updateItemList(bool numbered) {
  if (fixed_ || !menu_) return;
  // The old items leave the menu now and are deleted once control is back in the loop: the
  // rebuild may run from inside a signal of one of them.
  for (QAction* action : menu_->actions()) {
    menu_->removeAction(action);
    if (action->parent() == menu_) action->deleteLater();
  }
  std::vector<std::string> texts = provider_ ? provider_() : std::vector<std::string>();
  if (texts.size() > static_cast<std::size_t>(count_)) {
    System::Log::warn("Window::WindowMenu::ItemList::updateItemList",
                      "item list has %zu texts for %d items.", texts.size(), count_);
    texts.resize(static_cast<std::size_t>(count_));
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    QString text = QString::fromStdString(texts[i]);
    if (numbered) {
      text = cutText(QStringLiteral("&") + QString::number(i + 1) + QLatin1Char(' ') + text,
                     kMaxTextLength);
    }
    root_->appendAction(menu_, firstId_ + static_cast<int>(i), text);
  }
}

void ItemList::registerShortcuts(const std::string& caption) {
  updateItemList(false);
  fixed_ = true;
  auto* shortcut = Shortcut::instance();
  if (!shortcut || !menu_) return;
  const std::string prefix = translateMenuText(caption) + ":";
  for (QAction* action : menu_->actions()) {
    shortcut->registerShortcut(prefix + action->text().toStdString(), 0, {}, root_,
                               action->data().toInt());
  }
}

}  // namespace Window::WindowMenu
