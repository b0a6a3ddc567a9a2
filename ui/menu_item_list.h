#pragma once
// A run of items whose texts change while the program runs (the recent files, the backups):
// its ids are reserved once, and its menu is rebuilt from a text provider each time a menu
// of its root opens.
#include <QMenu>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

namespace Window {

class BaseMenu;
class RootMenu;

namespace WindowMenu {

class ItemList {
 public:
  using Select = std::function<void(int index)>;
  using Provider = std::function<std::vector<std::string>()>;
  // A number in front of a text and the text itself are cut at this many characters.
  static constexpr int kMaxTextLength = 259;

  // Reserves `count` consecutive command ids in the root of `menu`, the id of index k calling
  // select(k), and hands the list to the root, which owns it. The menu holds only the list.
  static ItemList& add(BaseMenu& menu, int count, Select select, Provider provider);

  // Unless the list is fixed: empties its menu and appends one item per provided text with
  // the reserved ids in order; numbered texts read "&<n> <text>" from 1. Texts beyond the
  // reserved count are dropped (logged), never given ids of other items.
  void updateItemList(bool numbered);
  // Rebuilds the list once without numbers, fixes it, and registers a shortcut without a
  // default key for each item under "<translated caption>:<text>".
  void registerShortcuts(const std::string& caption);

  bool fixed() const { return fixed_; }
  int firstCommandId() const { return firstId_; }
  int count() const { return count_; }
  QMenu* menu() const { return menu_; }

  ItemList(RootMenu& root, QMenu* menu, int firstId, int count, Provider provider);

 private:
  RootMenu* root_;
  QPointer<QMenu> menu_;
  int firstId_;
  int count_;
  Provider provider_;
  bool fixed_ = false;
};

}  // namespace WindowMenu
}  // namespace Window
