#pragma once
// The menus of the program: the menu bar and every context menu are toolkit menus wrapped by
// a few small classes. A root owns a command table from command id to callback; sub-menus
// and items are appended to it in order, and choosing an item runs its callback.
//
// A root also keeps the tables that are evaluated each time one of its menus opens: enable
// and check predicates, dynamic item texts and numbered item lists (recent files and the
// like). The tables are per root, so the ids of a context menu never touch the menu bar's.
//
// UI thread only.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "system/menu_sink.h"

class QAction;
class QString;
class QMenu;

namespace Window {

class RootMenu;
class MenuItem;
namespace WindowMenu {
class ItemList;
}

// One menu level: the root it belongs to and its toolkit menu (a drop-down, a context menu
// or the menu bar itself). A root is a BaseMenu of itself.
class BaseMenu : public System::MenuSink {
 public:
  // A sub-menu appended to the end of `parent` under the caption (translated through the
  // menu table). It belongs to the parent's root.
  BaseMenu(BaseMenu& parent, std::string_view caption);
  BaseMenu(const BaseMenu&) = delete;
  BaseMenu& operator=(const BaseMenu&) = delete;
  ~BaseMenu() override = default;

  // Appends an item with the translated text; choosing it runs the callback.
  MenuItem insertItem(std::string_view text, std::function<void()> callback);
  void insertSeparator();
  // The position of the sub-menu in this menu, or -1.
  int getSubMenuPosition(const BaseMenu& subMenu) const;

  void appendItem(std::string_view text, std::function<void()> action,
                  bool enabled = true) override;
  void appendSeparator() override;

  RootMenu& root() const { return *root_; }
  // The toolkit menu; null once the menu has been deleted (after a language change).
  QWidget* handle() const { return handle_; }
  // The caption as given, before translation ("" for a root).
  const std::string& caption() const { return caption_; }
  // What the shortcut names of the items below begin with: the untranslated caption of the
  // menu that hangs directly from the root (a top menu of the bar), also inside its
  // sub-menus; "" for a root.
  const std::string& shortcutCaption() const { return shortcutCaption_; }

 protected:
  BaseMenu(RootMenu* root, QWidget* handle) : root_(root), handle_(handle) {}
  void setHandle(QWidget* handle) { handle_ = handle; }

 private:
  RootMenu* root_;
  QPointer<QWidget> handle_;
  std::string caption_;
  std::string shortcutCaption_;
};

// A menu whose tree numbers its commands from 40000 and keeps the tables of its items.
class RootMenu : public BaseMenu {
 public:
  static constexpr int kFirstCommandId = 40000;
  using Predicate = std::function<bool()>;
  using TextProvider = std::function<std::string()>;

  ~RootMenu() override;

  // Stores the callback under the next command id (40000 + the table's size) and returns
  // the id.
  int allocateCommand(std::function<void()> callback);
  // Runs the callback of the id. It runs from a copy, so the command may clear and rebuild
  // the menus (a language change) while it runs. False for an unknown id.
  bool runCommand(int commandId);
  std::size_t commandCount() const { return commands_.size(); }

  // The item of the id in this root's tree, or null.
  QAction* findAction(int commandId) const;

  // Registers a predicate or a text provider under the id; an id already present keeps its
  // first one.
  void setEnable(int commandId, Predicate predicate);
  void setCheck(int commandId, Predicate predicate);
  void setText(int commandId, TextProvider provider);
  // Keeps the part of the item's text from the first tab on (its key text) and puts `text`
  // before it.
  void updateItemText(int commandId, std::string_view text);
  // Keeps the item's text before the first tab and appends a tab and the key text, or
  // nothing for an empty key text.
  void setItemKeyText(int commandId, std::string_view keyText);

  // What a menu of this root does when it opens: every enable predicate greys or enables its
  // item, every check predicate checks it, every text provider rewrites it, and every item
  // list that is not fixed is rebuilt numbered.
  void updateMenuState();

  const std::vector<std::unique_ptr<WindowMenu::ItemList>>& itemLists() const {
    return itemLists_;
  }

 protected:
  RootMenu();
  void setRootHandle(QWidget* handle) { setHandle(handle); }
  // Forgets every command, item, table and item list (the toolkit items are gone or about to
  // go), and the shortcuts bound to this root's items: the next id is 40000 again.
  void clearCommands();
  // Whether choosing an item runs it at once (the menu bar); a context menu runs the chosen
  // item itself once it has closed.
  virtual bool runsOnTrigger() const = 0;

 private:
  friend class BaseMenu;
  friend class WindowMenu::ItemList;
  // Appends an item of this root's tree to `handle` under the id.
  QAction* appendAction(QWidget* handle, int commandId, const QString& text);

  std::unordered_map<int, std::function<void()>> commands_;
  std::unordered_map<int, QPointer<QAction>> actions_;
  std::unordered_map<int, Predicate> enableTable_;
  std::unordered_map<int, Predicate> checkTable_;
  std::unordered_map<int, TextProvider> textTable_;
  std::vector<std::unique_ptr<WindowMenu::ItemList>> itemLists_;
};

// One item of a menu: its menu, its command id and the caption of its menu (shortcut names
// begin with it).
class MenuItem {
 public:
  MenuItem(BaseMenu& menu, int commandId)
      : root_(&menu.root()), menu_(menu.handle()), commandId_(commandId),
        caption_(menu.shortcutCaption()) {}

  // The look of a choice among several (the check shows as a dot).
  MenuItem& setRadioCheck();
  MenuItem& setEnable(RootMenu::Predicate predicate);
  MenuItem& setCheck(RootMenu::Predicate predicate);
  MenuItem& setText(RootMenu::TextProvider provider);
  // A keyboard shortcut for the item under getShortcutName, with its default key code.
  MenuItem& setShortcut(int defaultCode);
  // The translated caption of the item's menu, ":" and the item's text as the menu shows it
  // (without a key text).
  std::string getShortcutName() const;

  int commandId() const { return commandId_; }
  QAction* action() const { return root_->findAction(commandId_); }

 private:
  RootMenu* root_;
  QPointer<QWidget> menu_;
  int commandId_;
  std::string caption_;
};

// The menu's translation of a program text.
std::string translateMenuText(std::string_view text);

}  // namespace Window
