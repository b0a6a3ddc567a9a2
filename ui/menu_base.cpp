#include "ui/menu_base.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <cerrno>

#include "system/exception.h"
#include "system/translate_service.h"
#include "ui/keyboard_shortcut.h"
#include "ui/loop_guard.h"
#include "ui/menu_item_list.h"

namespace Window {
namespace {

// A wrapper whose menu was deleted (the menus were rebuilt after a language change) names
// no menu any more: using it is the caller's fault, reported like an invalid handle.
QWidget* requireHandle(const BaseMenu& menu, const char* call, const char* place) {
  QWidget* handle = menu.handle();
  if (!handle) throw System::makeErrnoException(call, place, EINVAL);
  return handle;
}

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// An item text is its text, then from the first tab on its key text.
qsizetype keyTextStart(const QString& text) {
  const qsizetype tab = text.indexOf(QLatin1Char('\t'));
  return tab < 0 ? text.size() : tab;
}
QString withoutKeyText(const QString& text) { return text.left(keyTextStart(text)); }

}  // namespace

std::string translateMenuText(std::string_view text) {
  return Translate::translateText(Translate::TranslateService::TextKind::Menu, text);
}

BaseMenu::BaseMenu(BaseMenu& parent, std::string_view caption)
    : root_(&parent.root()),
      caption_(caption),
      shortcutCaption_(parent.shortcutCaption().empty() ? caption_ : parent.shortcutCaption()) {
  constexpr const char* kPlace = "Window::BaseMenu::BaseMenu";
  QWidget* parentHandle = requireHandle(parent, "InsertMenu", kPlace);
  auto* menu = new QMenu(toQString(translateMenuText(caption)), parentHandle);
  if (auto* bar = qobject_cast<QMenuBar*>(parentHandle)) bar->addMenu(menu);
  else if (auto* parentMenu = qobject_cast<QMenu*>(parentHandle)) parentMenu->addMenu(menu);
  // Opening any menu of the tree refreshes the root's tables, as the bar's drop-downs do.
  RootMenu* root = root_;
  QObject::connect(menu, &QMenu::aboutToShow, menu,
                   [root] { runGuarded([root] { root->updateMenuState(); }); });
  handle_ = menu;
}

MenuItem BaseMenu::insertItem(std::string_view text, std::function<void()> callback) {
  QWidget* handle = requireHandle(*this, "InsertMenu", "Window::BaseMenu::insertItem");
  const int id = root_->allocateCommand(std::move(callback));
  root_->appendAction(handle, id, toQString(translateMenuText(text)));
  return MenuItem(*this, id);
}

void BaseMenu::insertSeparator() {
  QWidget* handle = requireHandle(*this, "InsertMenu", "Window::BaseMenu::insertSeparator");
  auto* separator = new QAction(handle);
  separator->setSeparator(true);
  handle->addAction(separator);
}

int BaseMenu::getSubMenuPosition(const BaseMenu& subMenu) const {
  if (!handle_ || !subMenu.handle()) return -1;
  const QList<QAction*> actions = handle_->actions();
  for (qsizetype i = 0; i < actions.size(); ++i) {
    if (QMenu::menuInAction(actions[i]) == subMenu.handle()) return static_cast<int>(i);
  }
  return -1;
}

void BaseMenu::appendItem(std::string_view text, std::function<void()> action, bool enabled) {
  const MenuItem item = insertItem(text, std::move(action));
  if (!enabled) item.action()->setEnabled(false);
}

void BaseMenu::appendSeparator() { insertSeparator(); }

RootMenu::RootMenu() : BaseMenu(this, nullptr) {}

RootMenu::~RootMenu() {
  // A shortcut must never run a command of a menu that is gone.
  if (auto* shortcut = Shortcut::instance())
    shortcut->removeIf([this](const Shortcut::Entry& entry) { return entry.root == this; });
}

int RootMenu::allocateCommand(std::function<void()> callback) {
  const int id = kFirstCommandId + static_cast<int>(commands_.size());
  commands_.emplace(id, std::move(callback));
  return id;
}

bool RootMenu::runCommand(int commandId) {
  const auto found = commands_.find(commandId);
  if (found == commands_.end()) return false;
  const std::function<void()> callback = found->second;
  if (callback) callback();
  return true;
}

QAction* RootMenu::findAction(int commandId) const {
  const auto found = actions_.find(commandId);
  return found == actions_.end() ? nullptr : found->second.data();
}

QAction* RootMenu::appendAction(QWidget* handle, int commandId, const QString& text) {
  auto* action = new QAction(text, handle);
  action->setData(commandId);
  handle->addAction(action);
  if (runsOnTrigger()) {
    QObject::connect(action, &QAction::triggered, action, [this, commandId] {
      runGuarded([this, commandId] { runCommand(commandId); });
    });
  }
  actions_[commandId] = action;
  return action;
}

void RootMenu::setEnable(int commandId, Predicate predicate) {
  enableTable_.emplace(commandId, std::move(predicate));
}

void RootMenu::setCheck(int commandId, Predicate predicate) {
  if (QAction* action = findAction(commandId)) action->setCheckable(true);
  checkTable_.emplace(commandId, std::move(predicate));
}

void RootMenu::setText(int commandId, TextProvider provider) {
  textTable_.emplace(commandId, std::move(provider));
}

void RootMenu::updateItemText(int commandId, std::string_view text) {
  QAction* action = findAction(commandId);
  if (!action) return;
  const QString current = action->text();
  action->setText(toQString(text) + current.mid(keyTextStart(current)));
}

void RootMenu::setItemKeyText(int commandId, std::string_view keyText) {
  QAction* action = findAction(commandId);
  if (!action) return;
  QString text = withoutKeyText(action->text());
  if (!keyText.empty()) text += QLatin1Char('\t') + toQString(keyText);
  action->setText(text);
}

void RootMenu::updateMenuState() {
  for (const auto& [id, predicate] : enableTable_)
    if (QAction* action = findAction(id)) action->setEnabled(predicate());
  for (const auto& [id, predicate] : checkTable_)
    if (QAction* action = findAction(id)) action->setChecked(predicate());
  for (const auto& [id, provider] : textTable_) updateItemText(id, provider());
  for (const auto& list : itemLists_)
    if (!list->fixed()) list->updateItemList(true);
}

void RootMenu::clearCommands() {
  if (auto* shortcut = Shortcut::instance())
    shortcut->removeIf([this](const Shortcut::Entry& entry) { return entry.root == this; });
  itemLists_.clear();
  enableTable_.clear();
  checkTable_.clear();
  textTable_.clear();
  actions_.clear();
  commands_.clear();
}

MenuItem& MenuItem::setRadioCheck() {
  if (QAction* item = action()) {
    item->setCheckable(true);
    // An exclusive group of its own gives the item the dot without unchecking the items of
    // other choices in the same menu.
    auto* group = new QActionGroup(item);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    group->addAction(item);
  }
  return *this;
}

MenuItem& MenuItem::setEnable(RootMenu::Predicate predicate) {
  root_->setEnable(commandId_, std::move(predicate));
  return *this;
}

MenuItem& MenuItem::setCheck(RootMenu::Predicate predicate) {
  root_->setCheck(commandId_, std::move(predicate));
  return *this;
}

MenuItem& MenuItem::setText(RootMenu::TextProvider provider) {
  root_->setText(commandId_, std::move(provider));
  return *this;
}

MenuItem& MenuItem::setShortcut(int defaultCode) {
  if (auto* shortcut = Shortcut::instance())
    shortcut->registerShortcut(getShortcutName(), defaultCode, {}, root_, commandId_);
  return *this;
}

std::string MenuItem::getShortcutName() const {
  const QAction* item = action();
  const std::string text = item ? withoutKeyText(item->text()).toStdString() : std::string();
  return translateMenuText(caption_) + ":" + text;
}

}  // namespace Window
