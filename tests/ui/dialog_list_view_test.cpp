// The table field of the dialogs, driven with synthetic pointer events while its dialog
// runs: texts on demand, check boxes, header sorts, dragging rows into a new order, cell
// editors that refuse a value, and the order the dialog learns when it closes.
#include "ui/dialogs/dialog_list_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

#include "system/exception.h"
#include "ui/dialogs/dialog_template.h"
#include "ui/dialogs/static_callback.h"
#include "ui/tool_tips.h"

namespace {

using Dialog::DialogItemListViewBase;
using Dialog::DialogTemplate;

// A row with a name and a number; the number column is edited with an integer field.
class Row : public DialogItemListViewBase::Item {
 public:
  Row(std::string name, int number, bool checked = false)
      : name(std::move(name)), number(number), checked(checked) {}
  std::string_view getText(int column) override {
    if (column == 0) return name;
    numberText = std::to_string(number);
    return numberText;
  }
  void copyToEditor(int column, Dialog::DialogItem& editor) override {
    if (column == 1) static_cast<Dialog::DialogItemInteger&>(editor).value = number;
  }
  void copyFromEditor(int column, Dialog::DialogItem& editor) override {
    if (column == 1) number = static_cast<Dialog::DialogItemInteger&>(editor).value;
  }
  void setChecked(bool value) override { checked = value; }
  bool isChecked() override { return checked; }

  std::string name;
  int number;
  bool checked;
  std::string numberText;
};

using RowList = Dialog::DialogItemListView<Row>;

// A dialog holding one table of rows "name, number".
struct TableDialog {
  explicit TableDialog(const std::vector<std::pair<std::string, int>>& rows, bool drag = false,
                       bool editNumbers = false) {
    list = dialog.addItem(std::make_unique<RowList>(160, drag));
    list->columns.push_back({"名前", 120, nullptr, true});
    list->columns.push_back(
        {"数", 80, editNumbers ? std::make_unique<Dialog::DialogItemInteger>("", 0, 0, 100) : nullptr,
         true});
    for (const auto& [name, number] : rows) list->addRow(std::make_unique<Row>(name, number));
  }
  std::vector<std::string> names(const std::vector<Row*>& rows) const {
    std::vector<std::string> out;
    for (const Row* row : rows) out.push_back(row->name);
    return out;
  }

  DialogTemplate dialog{"Table"};
  RowList* list = nullptr;
};

QTableView& tableOf(const DialogItemListViewBase& list) { return *list.view(); }

QString shownText(const DialogItemListViewBase& list, int row, int column) {
  const QTableView& table = tableOf(list);
  return table.model()->data(table.model()->index(row, column)).toString();
}

QPoint cellCentre(const DialogItemListViewBase& list, int row, int column) {
  QTableView& table = tableOf(list);
  return table.visualRect(table.model()->index(row, column)).center();
}

void mouse(const DialogItemListViewBase& list, QEvent::Type type, QPoint at,
           Qt::MouseButton button = Qt::LeftButton) {
  QWidget* viewport = tableOf(list).viewport();
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent event(type, QPointF(at), viewport->mapToGlobal(QPointF(at)),
                    type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
  QApplication::sendEvent(viewport, &event);
}

void click(const DialogItemListViewBase& list, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  mouse(list, QEvent::MouseButtonPress, at, button);
  mouse(list, QEvent::MouseButtonRelease, at, button);
}

QPushButton* okButton(QDialog& window) {
  for (QPushButton* button : window.findChildren<QPushButton*>())
    if (button->text() == "OK") return button;
  return nullptr;
}

TEST(DialogListView, ATableShowsItsRowsTextsOnDemandAndMakesTheDialogCentredWithOk) {
  TableDialog table({{"a", 1}, {"b", 2}});
  int rowsShown = -1;
  QString before;
  QString after;
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    rowsShown = tableOf(*table.list).model()->rowCount();
    before = shownText(*table.list, 1, 1);
    table.list->dataItems()[1]->number = 42;
    after = shownText(*table.list, 1, 1);
    okButton(window)->click();
  });
  EXPECT_TRUE(table.dialog.create(0));
  EXPECT_TRUE(table.dialog.okButton) << "the table has a height of its own";
  EXPECT_EQ(rowsShown, 2);
  EXPECT_EQ(before, "2");
  EXPECT_EQ(after, "42");
  EXPECT_EQ(table.names(table.list->viewItems()), (std::vector<std::string>{"a", "b"}));
}

TEST(DialogListView, ATableWithoutColumnsShowsNoRows) {
  DialogTemplate dialog("Empty");
  auto* list = dialog.addItem(std::make_unique<RowList>(100, false));
  list->addRow(std::make_unique<Row>("a", 1));
  int rows = -1;
  const Dialog::ScopedDialogDriver driver(
      [&](DialogTemplate&, QDialog&) { rows = tableOf(*list).model()->rowCount(); });
  dialog.create(0);
  EXPECT_EQ(rows, 0);
  EXPECT_TRUE(list->viewItems().empty());
}

TEST(DialogListView, ACheckBoxClickTogglesTheRowAndTheControlAloneCannotChangeIt) {
  TableDialog table({{"a", 1}, {"b", 2}});
  table.list->checkBoxes = true;
  table.list->dataItems()[1]->checked = true;
  std::vector<int> images;
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    images.push_back(table.list->stateImage(0));
    images.push_back(table.list->stateImage(1));
    click(*table.list, table.list->checkBoxRect(0).center());
    images.push_back(table.list->stateImage(0));
    // The keyboard's toggle reaches the table, not the row: it is put back.
    tableOf(*table.list).model()->setData(tableOf(*table.list).model()->index(1, 0), Qt::Unchecked,
                                          Qt::CheckStateRole);
    images.push_back(table.list->stateImage(1));
    // A click beside the box does not toggle.
    click(*table.list, cellCentre(*table.list, 1, 1));
    images.push_back(table.list->stateImage(1));
    okButton(window)->click();
  });
  EXPECT_TRUE(table.dialog.create(0));
  EXPECT_EQ(images, (std::vector<int>{0x1000, 0x2000, 0x2000, 0x2000, 0x2000}));
  EXPECT_TRUE(table.list->dataItems()[0]->checked);
  EXPECT_TRUE(table.list->dataItems()[1]->checked);
}

TEST(DialogListView, SortTextsCompareWithoutCaseWidthKanaTypeOrSymbolsAndNumbersByValue) {
  struct Case {
    const char* a;
    const char* b;
    int order;
  };
  const Case cases[] = {
      {"abc", "ABC", 0},       {"Ａｂｃ", "abc", 0},    {"ｱｲｳ", "アイウ", 0},
      {"あいう", "アイウ", 0}, {"a-b c", "abc", 0},     {"item2", "item10", -1},
      {"item010", "item10", 0}, {"b", "a", 1},          {"ab", "abc", -1},
      {"", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(Dialog::compareListTexts(c.a, c.b), c.order);
    EXPECT_EQ(Dialog::compareListTexts(c.b, c.a), -c.order);
  }
}

TEST(DialogListView, AHeaderClickSortsAndTheNextClickSortsTheOtherWay) {
  TableDialog table({{"item10", 3}, {"Item2", 1}, {"ｉｔｅｍ1", 2}});
  std::vector<std::string> afterFirst;
  std::vector<std::string> afterSecond;
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    auto* header = tableOf(*table.list).horizontalHeader();
    auto shown = [&] {
      std::vector<std::string> names;
      for (int row = 0; row < 3; ++row) names.push_back(shownText(*table.list, row, 0).toStdString());
      return names;
    };
    emit header->sectionClicked(0);
    afterFirst = shown();
    emit header->sectionClicked(0);
    afterSecond = shown();
    // The number column, ascending: the last order the dialog learns.
    emit header->sectionClicked(1);
    okButton(window)->click();
  });
  EXPECT_TRUE(table.dialog.create(0));
  EXPECT_EQ(afterFirst, (std::vector<std::string>{"ｉｔｅｍ1", "Item2", "item10"}));
  EXPECT_EQ(afterSecond, (std::vector<std::string>{"item10", "Item2", "ｉｔｅｍ1"}));
  EXPECT_TRUE(table.list->columns[0].ascending);
  EXPECT_FALSE(table.list->columns[1].ascending);
  EXPECT_EQ(table.names(table.list->viewItems()),
            (std::vector<std::string>{"Item2", "ｉｔｅｍ1", "item10"}));
  EXPECT_EQ(table.names(table.list->dataItems()),
            (std::vector<std::string>{"item10", "Item2", "ｉｔｅｍ1"}));
}

TEST(DialogListView, ADraggedRowMovesToTheHoveredRowAndScrollsPastTheTop) {
  std::vector<std::pair<std::string, int>> rows;
  for (int i = 0; i < 30; ++i) rows.emplace_back("r" + std::to_string(i), i);
  TableDialog table(rows, true);
  std::vector<std::string> afterDrag;
  int selected = -1;
  int scrolledBy = 0;
  bool draggingAfterRelease = true;
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    const DialogItemListViewBase& list = *table.list;
    mouse(list, QEvent::MouseButtonPress, cellCentre(list, 0, 0));
    mouse(list, QEvent::MouseMove, cellCentre(list, 2, 1));
    for (int row = 0; row < 3; ++row) afterDrag.push_back(shownText(list, row, 0).toStdString());
    selected = tableOf(list).selectionModel()->selectedRows().value(0).row();
    mouse(list, QEvent::MouseButtonRelease, cellCentre(list, 2, 1));
    draggingAfterRelease = list.dragging;

    // From the bottom, a drag above the top edge scrolls up by the distance.
    QScrollBar* bar = tableOf(list).verticalScrollBar();
    bar->setValue(bar->maximum());
    const int start = bar->value();
    mouse(list, QEvent::MouseButtonPress, QPoint(10, tableOf(list).viewport()->height() - 5));
    mouse(list, QEvent::MouseMove, QPoint(10, -7));
    scrolledBy = start - bar->value();
    mouse(list, QEvent::MouseButtonRelease, QPoint(10, -7));
    okButton(window)->click();
  });
  EXPECT_TRUE(table.dialog.create(0));
  EXPECT_EQ(afterDrag, (std::vector<std::string>{"r1", "r2", "r0"}));
  EXPECT_EQ(selected, 2);
  EXPECT_FALSE(draggingAfterRelease);
  EXPECT_EQ(scrolledBy, 7);
  const auto order = table.names(table.list->viewItems());
  ASSERT_EQ(order.size(), 30u);
  EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 3),
            (std::vector<std::string>{"r1", "r2", "r0"}));
}

TEST(DialogListView, AnEditorWithAnInvalidValueKeepsTheDialogAndTheMenuShut) {
  Window::ToolTips::hide();
  TableDialog table({{"a", 5}, {"b", 6}}, false, true);
  int menusAsked = 0;
  table.list->contextMenu.insertItem("Delete", [] {});
  table.list->onContextMenu = [&] {
    ++menusAsked;
    QTimer::singleShot(0, table.list->contextMenu.menu(), [&] { table.list->contextMenu.menu()->close(); });
  };
  bool editorShown = false;
  QString editorText;
  bool openAfterOk = false;
  int menusWhileInvalid = -1;
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    const DialogItemListViewBase& list = *table.list;
    click(list, cellCentre(list, 1, 1));
    auto* editor = qobject_cast<QLineEdit*>(list.columns[1].editor->hwnd.data());
    editorShown = editor && editor->isVisible();
    editorText = editor->text();
    EXPECT_EQ(list.editRow, 1);
    EXPECT_EQ(list.editColumn, 1);
    editor->setText("500");
    okButton(window)->click();
    openAfterOk = window.isVisible();
    click(list, cellCentre(list, 0, 0), Qt::RightButton);
    menusWhileInvalid = menusAsked;
    EXPECT_EQ(Window::ToolTips::text(), "値が不正です (0 - 100)");
    editor->setText("50");
    okButton(window)->click();
  });
  EXPECT_TRUE(table.dialog.create(0));
  EXPECT_TRUE(editorShown);
  EXPECT_EQ(editorText, "6");
  EXPECT_TRUE(openAfterOk);
  EXPECT_EQ(menusWhileInvalid, 0);
  EXPECT_EQ(table.list->dataItems()[1]->number, 50);
  EXPECT_EQ(table.list->editRow, -1);
}

TEST(DialogListView, ScrollingClosesTheOpenEditorWithItsValue) {
  std::vector<std::pair<std::string, int>> rows;
  for (int i = 0; i < 30; ++i) rows.emplace_back("r" + std::to_string(i), i);
  TableDialog table(rows, false, true);
  bool hiddenAfterScroll = false;
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    const DialogItemListViewBase& list = *table.list;
    click(list, cellCentre(list, 0, 1));
    qobject_cast<QLineEdit*>(list.columns[1].editor->hwnd.data())->setText("77");
    tableOf(list).verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    hiddenAfterScroll = !list.columns[1].editor->hwnd->isVisible();
    okButton(window)->click();
  });
  EXPECT_TRUE(table.dialog.create(0));
  EXPECT_TRUE(hiddenAfterScroll);
  EXPECT_EQ(table.list->dataItems()[0]->number, 77);
}

TEST(DialogListView, ARightClickNamesTheRowUnderThePointerBeforeTheMenuOpens) {
  TableDialog table({{"a", 5}, {"b", 6}});
  table.list->contextMenu.insertItem("Delete", [] {});
  std::vector<const DialogItemListViewBase::Item*> named;
  table.list->onContextMenu = [&] {
    named.push_back(table.list->contextItem);
    // Nobody chooses: the menu closes as soon as it is up.
    QTimer::singleShot(0, table.list->contextMenu.menu(), [&] { table.list->contextMenu.menu()->close(); });
  };
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    click(*table.list, cellCentre(*table.list, 1, 0), Qt::RightButton);
    click(*table.list, QPoint(5, tableOf(*table.list).viewport()->height() - 2), Qt::RightButton);
    okButton(window)->click();
  });
  EXPECT_TRUE(table.dialog.create(0));
  ASSERT_EQ(named.size(), 2u);
  EXPECT_EQ(named[0], table.list->dataItems()[1]);
  EXPECT_EQ(named[1], nullptr);
}

TEST(DialogListView, RowsAreFoundByTheirObjectAndMissingOnesAreErrors) {
  TableDialog table({{"a", 1}, {"b", 2}, {"c", 3}});
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    RowList& list = *table.list;
    list.moveItem(2, 0);
    EXPECT_EQ(list.getItemLine(list.dataItems()[2]), 0);
    EXPECT_EQ(list.getItem(1), list.dataItems()[0]);
    list.moveItem(-1, 1);
    list.moveItem(1, 1);
    EXPECT_EQ(list.getItem(2), list.dataItems()[1]);
    EXPECT_THROW(list.getItem(3), System::Exception);
    Row stranger("x", 0);
    EXPECT_THROW(list.getItemLine(&stranger), System::Exception);
    EXPECT_THROW(list.moveItem(0, 3), System::Exception);
    okButton(window)->click();
  });
  EXPECT_TRUE(table.dialog.create(0));
  EXPECT_EQ(table.names(table.list->viewItems()), (std::vector<std::string>{"c", "a", "b"}));
}

TEST(StaticCallback, CallsTheStoredCallableAndFailsWithAnEmptySlot) {
  using Callback = System::StaticCallback<int, int64_t, int64_t, int64_t>;
  try {
    Callback::callbackStatic(1, 2, 3);
    ADD_FAILURE() << "no exception";
  } catch (const System::Exception& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("no callback."), std::string::npos);
    EXPECT_NE(text.find("System::StaticCallback<int,__int64,__int64,__int64>::callbackStatic"),
              std::string::npos);
  }
  {
    const Callback::Scope scope([](int64_t a, int64_t b, int64_t c) { return static_cast<int>(a - b + c); });
    EXPECT_EQ(Callback::callbackStatic(5, 2, 1), 4);
  }
  EXPECT_THROW(Callback::callbackStatic(1, 2, 3), System::Exception);
}

}  // namespace
