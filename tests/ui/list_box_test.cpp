// The popup list: its height, the choice by click, Ctrl+click, keys and selection moves, and
// the manager window's input while it is open.
#include "ui/list_box.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "tests/ui/window_input_support.h"

namespace {

namespace ListBox = Window::ListBox;

class ListBoxTest : public WindowTest::WindowFixture {
 protected:
  ListBoxTest() {
    ListBox::initialize();
    for (const char* name : {"first", "second", "third"})
      ListBox::addItem(name, [this, name] { chosen.push_back(name); });
  }
  ~ListBoxTest() override { ListBox::close(); }

  // A press on a row of the open list, optionally with Ctrl.
  static void pressRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QListWidget* list = ListBox::widget();
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(at),
                      QPointF(list->viewport()->mapToGlobal(at)), Qt::LeftButton,
                      Qt::LeftButton, modifiers);
    QApplication::sendEvent(list->viewport(), &event);
  }

  int owner = 0;
  std::vector<std::string> chosen;
};

TEST(ListBoxHeight, AQuarterOfTheWindowButAtLeast256PlusTheFrame) {
  struct Case {
    int windowHeight, rowHeight, count, height;
  };
  const Case cases[] = {
      {768, 16, 100, 260},   // a quarter is 192: the floor of 256 applies
      {2000, 16, 100, 504},  // a quarter, 500
      {768, 16, 3, 52},      // short lists fit their rows
      {768, 16, 0, 4},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ListBox::listHeight(c.windowHeight, c.rowHeight, c.count), c.height)
        << c.windowHeight << " " << c.count;
}

TEST_F(ListBoxTest, AClickAppliesTheItemAndCloses) {
  ListBox::setCurrentSelection(0);
  ListBox::show(10, 10, 120, 20, &owner);
  ASSERT_TRUE(ListBox::isOpen());
  EXPECT_EQ(ListBox::ownerData(), &owner);

  pressRow(1);
  EXPECT_EQ(chosen, (std::vector<std::string>{"second"}));
  EXPECT_FALSE(ListBox::isOpen());
  EXPECT_EQ(ListBox::widget()->count(), 0) << "closing empties the list";
  EXPECT_EQ(ListBox::currentSelection(), 0);
  ListBox::select();
  EXPECT_EQ(chosen.size(), 1u) << "a closed list applies nothing";
}

TEST_F(ListBoxTest, AChosenEntryFarDownIsTheFirstRowShown) {
  ListBox::close();
  ListBox::initialize();
  for (int i = 0; i < 200; ++i) ListBox::addItem("entry " + std::to_string(i), [] {});
  ListBox::setCurrentSelection(150);
  ListBox::show(10, 10, 120, 20, &owner);
  QListWidget* list = ListBox::widget();
  ASSERT_GT(list->count(), 150);
  EXPECT_EQ(list->row(list->itemAt(QPoint(4, 2))), 150);
  EXPECT_EQ(list->currentRow(), 150);
}

TEST_F(ListBoxTest, CtrlClickAppliesAndKeepsTheListOpen) {
  ListBox::show(10, 10, 120, 20, &owner);
  pressRow(2, Qt::ControlModifier);
  pressRow(0, Qt::ControlModifier);
  EXPECT_EQ(chosen, (std::vector<std::string>{"third", "first"}));
  EXPECT_TRUE(ListBox::isOpen());
}

TEST_F(ListBoxTest, MovingTheSelectionAppliesAtOnceAndStopsAtTheEnds) {
  ListBox::setCurrentSelection(1);
  ListBox::show(10, 10, 120, 20, &owner);
  ListBox::moveSelection(1);
  ListBox::moveSelection(1);  // already the last: stays, applied again
  ListBox::moveSelection(-5);
  EXPECT_EQ(chosen, (std::vector<std::string>{"third", "third", "first"}));
  EXPECT_EQ(ListBox::currentSelection(), 0);
}

TEST_F(ListBoxTest, EscapeClosesWithoutAChoice) {
  ListBox::show(10, 10, 120, 20, &owner);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(ListBox::widget(), &escape);
  EXPECT_FALSE(ListBox::isOpen());
  EXPECT_TRUE(chosen.empty());
}

TEST_F(ListBoxTest, ShowingAnOpenListChangesNothing) {
  ListBox::show(10, 10, 120, 20, &owner);
  const QRect placed = ListBox::widget()->geometry();
  int other = 0;
  ListBox::show(50, 60, 200, 20, &other);
  EXPECT_EQ(ListBox::ownerData(), &owner);
  EXPECT_EQ(ListBox::widget()->geometry(), placed);
}

TEST_F(ListBoxTest, WhileOpenTheWindowsPressesReachNoTarget) {
  WindowTest::Probe a("A", {0, 0, 200, 200}, 0, log);
  ListBox::show(10, 10, 120, 20, &owner);

  press(50, 50, Qt::RightButton);
  release(50, 50, Qt::RightButton);
  EXPECT_TRUE(ListBox::isOpen()) << "a right press neither closes nor reaches a target";
  press(50, 50);
  EXPECT_FALSE(ListBox::isOpen());
  EXPECT_EQ(std::count(log.begin(), log.end(), "A down 50,50"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "A rdown 50,50"), 0);
  release(50, 50);

  press(50, 50);
  EXPECT_EQ(log.back(), "A down 50,50") << "with the list closed the press arrives";
  release(50, 50);
}

}  // namespace
