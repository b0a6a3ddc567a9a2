#pragma once
// A table field of a dialog: rows of texts in columns, where a column may carry an editor
// field that opens over a clicked cell, rows may have check boxes and may be dragged into
// a new order, a header click sorts by that column, and a right click opens the dialog's
// context menu. The rows are the dialog's objects: the table shows their texts on demand
// and, when the dialog closes, records them in the order the user left them.
#include <QRect>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialogs/dialog_item.h"
#include "ui/menu_popup.h"

class QTableView;

namespace Dialog {

// Notification codes of the table.
inline constexpr int32_t kListItemChanged = -101;  // LVN_ITEMCHANGED
inline constexpr int32_t kListColumnClick = -108;  // LVN_COLUMNCLICK
inline constexpr int32_t kListGetDispInfo = -177;  // LVN_GETDISPINFOW
inline constexpr int32_t kListBeginScroll = -180;  // LVN_BEGINSCROLL

// The state images of a row with a check box.
inline constexpr int32_t kStateUnchecked = 0x1000;
inline constexpr int32_t kStateChecked = 0x2000;

struct ListViewNotify : NotifyHeader {
  int32_t item = -1;     // row
  int32_t subItem = -1;  // column
  std::string_view text;  // the cell text a display request asks for
};

// Compares two cell texts as the sort does: case, width, kana type and symbols ignored,
// digit runs by value. -1, 0 or 1.
int compareListTexts(std::string_view a, std::string_view b);

class DialogItemListViewBase : public DialogItem {
 public:
  class Item {
   public:
    virtual ~Item() = default;
    // The cell's text, valid until the row changes.
    virtual std::string_view getText(int column) = 0;
    virtual void copyToEditor(int column, DialogItem& editor) = 0;
    virtual void copyFromEditor(int column, DialogItem& editor) = 0;
    virtual void setChecked(bool) {}
    virtual bool isChecked() { return false; }
  };

  struct Column {
    std::string title;  // translated when the column is made
    int32_t width = 0;
    std::unique_ptr<DialogItem> editor;  // none: read-only
    bool ascending = true;  // the order of the next sort by this column
  };

  DialogItemListViewBase(int32_t height, bool dragReorder);
  ~DialogItemListViewBase() override;

  void create(QWidget* parent, int x, int y, int width, int height) override;
  bool submit() override { return endEdit(); }
  void update() override;
  bool procNotify(NotifyHeader& header) override;

  Item* getItem(int row) const;
  int getItemLine(const Item* item) const;
  void moveItem(int from, int to);
  void updateItemViewList();
  // Closes the open cell editor with its value; false when the editor refuses it.
  bool endEdit();
  void setFocus(int row, int column);
  void selectLine(int row);
  void setClickCursor();
  void setDragCursor();
  bool procMessage(QWidget* window, QEvent* event);

  QTableView* view() const;
  // Where a row's check box is, in the view's viewport.
  QRect checkBoxRect(int row) const;
  // The state image of a row: kStateChecked or kStateUnchecked.
  int32_t stateImage(int row) const;
  // Sets the state image as the control itself would (the keyboard), and reports it.
  void setStateImageFromControl(int row, int32_t state);

  int32_t editRow = -1;
  int32_t editColumn = -1;
  std::function<void()> onContextMenu;
  Window::PopupMenu contextMenu;
  bool checkBoxes = false;
  bool dragReorder;
  bool dragging = false;
  Item* dragItem = nullptr;
  Item* contextItem = nullptr;
  std::vector<Column> columns;
  std::vector<std::unique_ptr<Item>> items;
  std::vector<Item*> itemViewList;

 private:
  class Model;
  struct Hit {
    int row = -1;
    int column = -1;
    bool onStateIcon = false;
  };
  Hit hitTest(QPoint point) const;
  void setStateImage(int row, int32_t state);
  void sortByColumn(int column);
  bool mouseMove(QPoint point);
  void leftButtonDown(QPoint point);

  std::unique_ptr<Model> model_;
};

// The field with typed rows.
template <class T>
class DialogItemListView : public DialogItemListViewBase {
 public:
  using DialogItemListViewBase::DialogItemListViewBase;

  T* addRow(std::unique_ptr<T> row) {
    T* typed = row.get();
    items.push_back(std::move(row));
    return typed;
  }
  // The rows as the dialog built them.
  std::vector<T*> dataItems() const {
    std::vector<T*> rows;
    for (const auto& row : items) rows.push_back(static_cast<T*>(row.get()));
    return rows;
  }
  // The rows in the order the table showed them when the dialog closed.
  std::vector<T*> viewItems() const {
    std::vector<T*> rows;
    for (Item* row : itemViewList) rows.push_back(static_cast<T*>(row));
    return rows;
  }
};

// The simplest row: one fixed text per column (read-only lists).
class ListViewItem : public DialogItemListViewBase::Item {
 public:
  explicit ListViewItem(std::vector<std::string> texts) : texts_(std::move(texts)) {}
  std::string_view getText(int column) override;
  void copyToEditor(int, DialogItem&) override {}
  void copyFromEditor(int, DialogItem&) override {}

 private:
  std::vector<std::string> texts_;
};

}  // namespace Dialog
