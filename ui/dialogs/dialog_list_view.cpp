#include "ui/dialogs/dialog_list_view.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <algorithm>

#include "system/exception.h"
#include "ui/dialogs/static_callback.h"

namespace Dialog {
namespace {

constexpr uint32_t kListReport = 0x0001;        // LVS_REPORT
constexpr uint32_t kListSingleSel = 0x0004;     // LVS_SINGLESEL
constexpr uint32_t kListShowSelAlways = 0x0008; // LVS_SHOWSELALWAYS
constexpr uint32_t kListNoLabelWrap = 0x0080;   // LVS_NOLABELWRAP

using SortCallback = System::StaticCallback<int, int64_t, int64_t, int64_t>;

// The sort key of a text: compatibility forms folded (full and half width), katakana as
// hiragana, case folded, symbols, punctuation and spaces left out.
QString sortKey(std::string_view text) {
  const QString normal = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                             .normalized(QString::NormalizationForm_KC);
  QString key;
  key.reserve(normal.size());
  for (QChar c : normal) {
    if (c.isPunct() || c.isSymbol() || c.isSpace()) continue;
    const char16_t unit = c.unicode();
    if (unit >= 0x30A1 && unit <= 0x30F6) c = QChar(static_cast<char16_t>(unit - 0x60));
    key.append(c.toCaseFolded());
  }
  return key;
}

int sign(int value) { return (value > 0) - (value < 0); }

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

int compareListTexts(std::string_view a, std::string_view b) {
  const QString x = sortKey(a);
  const QString y = sortKey(b);
  qsizetype i = 0;
  qsizetype j = 0;
  while (i < x.size() && j < y.size()) {
    if (isAsciiDigit(x[i]) && isAsciiDigit(y[j])) {
      // Digit runs compare by value: without leading zeros, the longer is larger.
      while (i < x.size() && x[i] == u'0') ++i;
      while (j < y.size() && y[j] == u'0') ++j;
      qsizetype ei = i;
      qsizetype ej = j;
      while (ei < x.size() && isAsciiDigit(x[ei])) ++ei;
      while (ej < y.size() && isAsciiDigit(y[ej])) ++ej;
      if (ei - i != ej - j) return ei - i < ej - j ? -1 : 1;
      const int byDigits = sign(QStringView(x).mid(i, ei - i).compare(QStringView(y).mid(j, ej - j)));
      if (byDigits != 0) return byDigits;
      i = ei;
      j = ej;
      continue;
    }
    if (x[i] != y[j]) return x[i] < y[j] ? -1 : 1;
    ++i;
    ++j;
  }
  return sign(static_cast<int>((x.size() - i) - (y.size() - j)));
}

// The rows as the table shows them: each list row holds its row object (the item data)
// and its check box state; the texts are asked from the field whenever they are drawn.
class DialogItemListViewBase::Model : public QAbstractTableModel {
 public:
  explicit Model(DialogItemListViewBase& field) : field_(field) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(field_.columns.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) {
      ListViewNotify request;
      request.from = field_.hwnd;
      request.code = kListGetDispInfo;
      request.item = index.row();
      request.subItem = index.column();
      field_.procNotify(request);
      return QString::fromUtf8(request.text.data(), static_cast<qsizetype>(request.text.size()));
    }
    if (role == Qt::CheckStateRole && field_.checkBoxes && index.column() == 0)
      return states[static_cast<std::size_t>(index.row())] == kStateChecked ? Qt::Checked
                                                                           : Qt::Unchecked;
    return {};
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::CheckStateRole || !index.isValid()) return false;
    field_.setStateImageFromControl(
        index.row(), value.toInt() == Qt::Checked ? kStateChecked : kStateUnchecked);
    return true;
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (field_.checkBoxes && index.column() == 0) flags |= Qt::ItemIsUserCheckable;
    return flags;
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(field_.columns.size()))
      return {};
    return QString::fromStdString(
        translateDialogText(field_.columns[static_cast<std::size_t>(section)].title));
  }

  void fill(std::vector<Item*> newRows, std::vector<int32_t> newStates) {
    beginResetModel();
    rows = std::move(newRows);
    states = std::move(newStates);
    endResetModel();
  }

  void refreshRow(int row) { emit dataChanged(index(row, 0), index(row, columnCount({}) - 1)); }
  void refreshCell(int row, int column) { emit dataChanged(index(row, column), index(row, column)); }
  void refreshAll() {
    if (!rows.empty()) emit dataChanged(index(0, 0), index(rowCount({}) - 1, columnCount({}) - 1));
  }
  void reorder() { emit layoutChanged(); }

  std::vector<Item*> rows;
  std::vector<int32_t> states;

 private:
  DialogItemListViewBase& field_;
};

std::string_view ListViewItem::getText(int column) {
  if (column < 0 || column >= static_cast<int>(texts_.size())) return {};
  return texts_[static_cast<std::size_t>(column)];
}

DialogItemListViewBase::DialogItemListViewBase(int32_t height, bool dragReorder)
    : dragReorder(dragReorder), model_(std::make_unique<Model>(*this)) {
  this->height = height;
}

DialogItemListViewBase::~DialogItemListViewBase() { subclass.removeProc(); }

QTableView* DialogItemListViewBase::view() const { return qobject_cast<QTableView*>(hwnd.data()); }

void DialogItemListViewBase::create(QWidget* parent, int x, int y, int width, int height) {
  hwnd = createControl(parent, "SysListView32",
                       kStyleBorder | kListReport | kListSingleSel | kListShowSelAlways |
                           kListNoLabelWrap,
                       {}, 0, x, y, width, height);
  QTableView* table = view();
  table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  table->setShowGrid(true);
  model_->fill({}, {});
  table->setModel(model_.get());
  subclass.registerProc(table, [this](Window::Subclass&, QWidget* window, QEvent* event) {
    return procMessage(window, event);
  });

  for (Column& column : columns) {
    if (column.editor) {
      column.editor->create(table, 0, 0, 0, 0);
      if (column.editor->hwnd) column.editor->hwnd->hide();
    }
  }
  std::vector<Item*> rows;
  std::vector<int32_t> states;
  if (!columns.empty()) {
    for (const auto& item : items) {
      rows.push_back(item.get());
      states.push_back(checkBoxes && item->isChecked() ? kStateChecked : kStateUnchecked);
    }
  }
  model_->fill(std::move(rows), std::move(states));
  // After the rows: a reset model lays its header out anew.
  for (std::size_t i = 0; i < columns.size(); ++i)
    table->setColumnWidth(static_cast<int>(i), columns[i].width);

  // The header click and the start of a scroll, as the table reports them.
  QObject::connect(table->horizontalHeader(), &QHeaderView::sectionClicked, table,
                   [this](int section) {
                     ListViewNotify click;
                     click.from = hwnd;
                     click.code = kListColumnClick;
                     click.subItem = section;
                     procNotify(click);
                   });
  for (QScrollBar* bar : {table->verticalScrollBar(), table->horizontalScrollBar()}) {
    QObject::connect(bar, &QScrollBar::actionTriggered, table, [this] {
      NotifyHeader scroll{hwnd, kListBeginScroll};
      procNotify(scroll);
    });
  }
}

void DialogItemListViewBase::update() { model_->refreshAll(); }

bool DialogItemListViewBase::procNotify(NotifyHeader& header) {
  auto& list = static_cast<ListViewNotify&>(header);
  switch (header.code) {
    case kListBeginScroll:
      endEdit();
      break;
    case kListGetDispInfo:
      list.text = getItem(list.item)->getText(list.subItem);
      break;
    case kListColumnClick:
      endEdit();
      if (list.subItem >= 0 && list.subItem < static_cast<int>(columns.size()))
        sortByColumn(list.subItem);
      break;
    case kListItemChanged:
      if (list.item >= 0 && list.item < static_cast<int>(model_->rows.size())) {
        // The check box always mirrors the row object.
        const bool imageChecked = model_->states[static_cast<std::size_t>(list.item)] != kStateUnchecked;
        const bool rowChecked = getItem(list.item)->isChecked();
        if (imageChecked != rowChecked)
          setStateImage(list.item, rowChecked ? kStateChecked : kStateUnchecked);
      }
      break;
    default:
      break;
  }
  return false;
}

void DialogItemListViewBase::sortByColumn(int column) {
  const bool ascending = columns[static_cast<std::size_t>(column)].ascending;
  const SortCallback::Scope scope([this, ascending](int64_t a, int64_t b, int64_t sortColumn) {
    const int c = static_cast<int>(sortColumn);
    const int order = compareListTexts(reinterpret_cast<Item*>(a)->getText(c),
                                       reinterpret_cast<Item*>(b)->getText(c));
    return ascending ? order : -order;
  });
  // A row keeps its check box state while it moves.
  std::vector<std::pair<Item*, int32_t>> rows;
  for (std::size_t i = 0; i < model_->rows.size(); ++i)
    rows.emplace_back(model_->rows[i], model_->states[i]);
  std::stable_sort(rows.begin(), rows.end(), [column](const auto& a, const auto& b) {
    return SortCallback::callbackStatic(reinterpret_cast<int64_t>(a.first),
                                        reinterpret_cast<int64_t>(b.first), column) < 0;
  });
  for (std::size_t i = 0; i < rows.size(); ++i) {
    model_->rows[i] = rows[i].first;
    model_->states[i] = rows[i].second;
  }
  model_->reorder();
  columns[static_cast<std::size_t>(column)].ascending = !ascending;
}

DialogItemListViewBase::Item* DialogItemListViewBase::getItem(int row) const {
  if (row < 0 || row >= static_cast<int>(model_->rows.size()))
    throw System::makeException("Dialog::DialogItemListViewBase::getItem", "ListView_GetItem failed.");
  return model_->rows[static_cast<std::size_t>(row)];
}

int DialogItemListViewBase::getItemLine(const Item* item) const {
  const auto found = std::find(model_->rows.begin(), model_->rows.end(), item);
  if (found == model_->rows.end())
    throw System::makeException("Dialog::DialogItemListViewBase::getItemLine",
                                "ListView_FindItem not found.");
  return static_cast<int>(found - model_->rows.begin());
}

void DialogItemListViewBase::moveItem(int from, int to) {
  if (from < 0 || to < 0 || from == to) return;
  const int count = static_cast<int>(model_->rows.size());
  if (from >= count || to >= count)
    throw System::makeException("Dialog::DialogItemListViewBase::moveItem", "ListView_GetItem failed.");
  // Only the row objects travel, one place at a time; the texts follow when drawn and the
  // check boxes when the change is reported.
  const int step = from < to ? 1 : -1;
  for (int at = from; at != to; at += step) {
    std::swap(model_->rows[static_cast<std::size_t>(at)], model_->rows[static_cast<std::size_t>(at + step)]);
    for (int row : {at, at + step}) {
      model_->refreshRow(row);
      ListViewNotify changed;
      changed.from = hwnd;
      changed.code = kListItemChanged;
      changed.item = row;
      procNotify(changed);
    }
  }
}

void DialogItemListViewBase::updateItemViewList() {
  if (!hwnd) return;
  itemViewList = model_->rows;
}

bool DialogItemListViewBase::endEdit() {
  if (editRow == -1 && editColumn == -1) return true;
  DialogItem* editor = editColumn >= 0 && editColumn < static_cast<int>(columns.size())
                           ? columns[static_cast<std::size_t>(editColumn)].editor.get()
                           : nullptr;
  if (!editor) {
    editRow = editColumn = -1;
    return true;
  }
  if (!editor->submit()) return false;
  const int row = editRow;
  const int column = editColumn;
  getItem(row)->copyFromEditor(column, *editor);
  model_->refreshCell(row, column);
  // Cleared before the editor hides: its loss of the focus comes back here.
  editRow = editColumn = -1;
  if (editor->hwnd) editor->hwnd->hide();
  if (QTableView* table = view(); table && table->parentWidget()) table->parentWidget()->setFocus();
  return true;
}

void DialogItemListViewBase::setFocus(int row, int column) {
  if (row < 0 || column < 0 || column >= static_cast<int>(columns.size())) return;
  DialogItem* editor = columns[static_cast<std::size_t>(column)].editor.get();
  if (!editor) return;
  getItem(row)->copyToEditor(column, *editor);
  editor->update();
  QTableView* table = view();
  const QModelIndex index = model_->index(row, column);
  if (!table || !index.isValid() || !editor->hwnd)
    throw System::makeException("Dialog::DialogItemListViewBase::setFocus",
                                "ListView_GetItemIndexRect failed.");
  const QRect cell = table->visualRect(index).translated(table->viewport()->geometry().topLeft());
  editor->hwnd->setGeometry(cell);
  editor->hwnd->show();
  editor->hwnd->raise();
  editor->hwnd->setFocus();
}

void DialogItemListViewBase::selectLine(int row) {
  QTableView* table = view();
  if (!table) return;
  if (table->selectionModel()->isRowSelected(row, {})) return;
  table->selectionModel()->select(model_->index(row, 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void DialogItemListViewBase::setClickCursor() {
  if (QTableView* table = view()) table->viewport()->setCursor(Qt::PointingHandCursor);
}

void DialogItemListViewBase::setDragCursor() {
  if (QTableView* table = view()) table->viewport()->setCursor(Qt::ClosedHandCursor);
}

QRect DialogItemListViewBase::checkBoxRect(int row) const {
  QTableView* table = view();
  if (!table) return {};
  QStyleOptionViewItem option;
  option.initFrom(table->viewport());
  option.rect = table->visualRect(model_->index(row, 0));
  option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  return table->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, table);
}

int32_t DialogItemListViewBase::stateImage(int row) const {
  return model_->states.at(static_cast<std::size_t>(row));
}

void DialogItemListViewBase::setStateImage(int row, int32_t state) {
  model_->states.at(static_cast<std::size_t>(row)) = state;
  model_->refreshCell(row, 0);
}

void DialogItemListViewBase::setStateImageFromControl(int row, int32_t state) {
  setStateImage(row, state);
  ListViewNotify changed;
  changed.from = hwnd;
  changed.code = kListItemChanged;
  changed.item = row;
  procNotify(changed);
}

DialogItemListViewBase::Hit DialogItemListViewBase::hitTest(QPoint point) const {
  Hit hit;
  QTableView* table = view();
  if (!table) return hit;
  const QModelIndex index = table->indexAt(point);
  if (!index.isValid()) return hit;
  hit.row = index.row();
  hit.column = index.column();
  hit.onStateIcon = checkBoxes && hit.column == 0 && checkBoxRect(hit.row).contains(point);
  return hit;
}

bool DialogItemListViewBase::mouseMove(QPoint point) {
  QTableView* table = view();
  if (dragging) {
    // Past the top or bottom edge the list scrolls by the distance.
    QScrollBar* bar = table->verticalScrollBar();
    if (point.y() < 0) bar->setValue(bar->value() + point.y());
    else if (point.y() > table->viewport()->height())
      bar->setValue(bar->value() + point.y() - table->viewport()->height());
    const Hit hit = hitTest(point);
    if (hit.row >= 0 && hit.column >= 0) {
      const int line = getItemLine(dragItem);
      if (line != hit.row) {
        moveItem(line, hit.row);
        selectLine(hit.row);
      }
    }
    setDragCursor();
    return true;
  }
  table->viewport()->unsetCursor();
  const Hit hit = hitTest(point);
  if (hit.row >= 0 && hit.column >= 0) {
    if (dragReorder || hit.onStateIcon || columns[static_cast<std::size_t>(hit.column)].editor)
      setClickCursor();
    // Hovering selects: clicks never do.
    selectLine(hit.row);
  }
  return true;
}

void DialogItemListViewBase::leftButtonDown(QPoint point) {
  const Hit hit = hitTest(point);
  if (!endEdit()) return;
  if (hit.row < 0 || hit.column < 0) return;
  Item* row = getItem(hit.row);
  if (checkBoxes && hit.onStateIcon) {
    row->setChecked(!row->isChecked());
    setStateImage(hit.row, row->isChecked() ? kStateChecked : kStateUnchecked);
  } else if (columns[static_cast<std::size_t>(hit.column)].editor) {
    if (editRow == hit.row && editColumn == hit.column) return;
    if (!endEdit()) return;
    editRow = hit.row;
    editColumn = hit.column;
    setFocus(hit.row, hit.column);
  } else if (dragReorder) {
    dragItem = row;
    if (dragItem) {
      dragging = true;
      setDragCursor();
    }
  }
}

bool DialogItemListViewBase::procMessage(QWidget* window, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == Window::Subclass::destroyEventType()) {
    updateItemViewList();
    hwnd = nullptr;
    return false;
  }
  if (type == CommandEvent::eventType()) {
    // The cell editors are the table's children: their loss of the focus arrives here.
    const auto* command = static_cast<CommandEvent*>(event);
    if (command->code == kComboKillFocus || command->code == kEditKillFocus) endEdit();
    return false;
  }
  switch (type) {
    case QEvent::MouseMove:
      return mouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) leftButtonDown(mouse->position().toPoint());
      else if (mouse->button() == Qt::RightButton) endEdit();
      else return false;
      return true;
    }
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) {
        // The end of the press ends the capture, and with it a drag.
        dragging = false;
        return true;
      }
      if (mouse->button() != Qt::RightButton) return false;
      // An editor that refuses its value keeps the menu shut until it is fixed.
      if (!endEdit()) return true;
      if (contextMenu.commandCount() > 0) {
        const Hit hit = hitTest(mouse->position().toPoint());
        contextItem = hit.row >= 0 ? getItem(hit.row) : nullptr;
        if (onContextMenu) onContextMenu();
        contextMenu.show();
      }
      return true;
    }
    case QEvent::FocusIn:
      if (window->parentWidget()) window->parentWidget()->setFocus();
      return true;
    default:
      return false;
  }
}

}  // namespace Dialog
