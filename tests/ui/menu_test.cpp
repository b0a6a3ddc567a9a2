// The menus on the offscreen platform: command ids, what a menu does when it opens, the
// item lists, context menus and the rebuild after a language change.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <stdexcept>
#include <string>
#include <vector>

#include "system/active_language.h"
#include "system/scoped_install_folder.h"
#include "system/service_holder.h"
#include "system/translate_service.h"
#include "ui/keyboard_shortcut.h"
#include "ui/loop_guard.h"
#include "ui/menu_bar.h"
#include "ui/menu_item_list.h"
#include "ui/menu_popup.h"
#include "ui/window_service.h"

namespace {

using Window::BaseMenu;
using Window::MenuItem;
using Window::PopupMenu;
using Window::WindowMenuManager;
using Window::WindowMenu::ItemList;

std::vector<std::string> texts(const QWidget* menu) {
  std::vector<std::string> result;
  for (const QAction* action : menu->actions())
    result.push_back(action->isSeparator() ? "-" : action->text().toStdString());
  return result;
}

// Opens a menu as the user does and closes it again: it runs what opening a menu runs.
void openAndClose(QWidget* menu) {
  auto* drop = qobject_cast<QMenu*>(menu);
  ASSERT_NE(drop, nullptr);
  drop->popup(QPoint(0, 0));
  drop->hide();
}

// While the next context menu is shown: chooses the item at `index`, or closes the menu
// without a choice when the index is negative.
void chooseInNextPopup(int index) {
  QTimer::singleShot(0, [index] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    if (index < 0) {
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(menu, &escape);
      return;
    }
    menu->setActiveAction(menu->actions().at(index));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(menu, &enter);
  });
}

TEST(Menu, EveryRootNumbersItsCommandsFrom40000) {
  PopupMenu first;
  PopupMenu second;
  EXPECT_EQ(first.insertItem("a", [] {}).commandId(), 40000);
  EXPECT_EQ(first.insertItem("b", [] {}).commandId(), 40001);
  BaseMenu sub(first, "sub");
  EXPECT_EQ(sub.insertItem("c", [] {}).commandId(), 40002);
  EXPECT_EQ(second.insertItem("d", [] {}).commandId(), 40000);
  EXPECT_EQ(first.getSubMenuPosition(sub), 2);
  EXPECT_EQ(second.getSubMenuPosition(sub), -1);
  EXPECT_EQ(texts(first.handle()), (std::vector<std::string>{"a", "b", "sub"}));
}

TEST(Menu, APopupRunsTheChosenItemAfterItClosed) {
  struct Case {
    int choose;
    std::string expected;
  };
  for (const Case& c : {Case{1, "closed,b(popup)"}, Case{-1, "closed"}}) {
    std::string log;
    PopupMenu menu;
    menu.insertItem("a", [&] { log += ",a"; });
    menu.insertSeparator();
    menu.insertItem("b", [&] {
      log += ",b";
      if (PopupMenu::isRunningPopupCommand()) log += "(popup)";
    });
    chooseInNextPopup(c.choose < 0 ? -1 : c.choose + 1);  // the separator counts
    menu.show([&] { log += "closed"; });
    EXPECT_EQ(log, c.expected) << c.choose;
    EXPECT_FALSE(PopupMenu::isRunningPopupCommand());
  }
}

TEST(Menu, AFailingPopupCommandClearsThePopupFlag) {
  PopupMenu menu;
  menu.insertItem("a", [] { throw std::runtime_error("fails"); });
  chooseInNextPopup(0);
  EXPECT_THROW(menu.show(), std::runtime_error);
  EXPECT_FALSE(PopupMenu::isRunningPopupCommand());
}

TEST(Menu, AMenuSinkItemCanBeGreyAndRunsItsAction) {
  PopupMenu menu;
  int runs = 0;
  System::MenuSink& sink = menu;
  sink.appendItem("on", [&] { ++runs; });
  sink.appendSeparator();
  sink.appendItem("off", [&] { runs += 10; }, false);
  const QList<QAction*> actions = menu.menu()->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_TRUE(actions[0]->isEnabled());
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_FALSE(actions[2]->isEnabled());
  EXPECT_TRUE(menu.runCommand(actions[0]->data().toInt()));
  EXPECT_EQ(runs, 1);
}

TEST(Menu, AContextMenuAppliesItsOwnTablesWhenShown) {
  // The bar and the context menu both number from 40000: each keeps its own tables.
  WindowMenuManager bar;
  const MenuItem barItem = bar.topMenu(WindowMenuManager::Edit).insertItem("bar", [] {});
  PopupMenu menu;
  MenuItem item = menu.insertItem("popup", [] {});
  item.setEnable([] { return false; });
  item.setText([] { return std::string("now"); });
  ASSERT_EQ(item.commandId(), barItem.commandId());
  bool enabledWhileShown = true;
  std::string textWhileShown;
  QTimer::singleShot(0, [&] {
    enabledWhileShown = item.action()->isEnabled();
    textWhileShown = item.action()->text().toStdString();
  });
  chooseInNextPopup(-1);
  menu.show();
  EXPECT_FALSE(enabledWhileShown);
  EXPECT_EQ(textWhileShown, "now");
  openAndClose(bar.topMenu(WindowMenuManager::Edit).handle());
  EXPECT_TRUE(barItem.action()->isEnabled());
  EXPECT_EQ(barItem.action()->text().toStdString(), "bar");
}

class MenuBar : public ::testing::Test {
 protected:
  WindowMenuManager bar;
};

TEST_F(MenuBar, HasTheFiveTopMenusInOrder) {
  EXPECT_EQ(texts(bar.menuBar()),
            (std::vector<std::string>{"ファイル", "編集", "表示", "設定", "その他"}));
  for (int position = 0; position < WindowMenuManager::kTopMenuCount; ++position) {
    EXPECT_EQ(bar.getSubMenuPosition(bar.topMenu(position)), position);
    EXPECT_EQ(bar.subMenuText(position).position, position);
  }
}

TEST(WindowMenuBar, TheWindowCarriesTheBarAcrossItsTop) {
  System::ServiceHolder<Window::WindowService> holder;
  auto& service = *Window::WindowService::instance();
  QMenuBar* bar = service.menuManager().menuBar();
  EXPECT_EQ(bar->parentWidget(), service.window());
  EXPECT_EQ(bar->geometry().topLeft(), QPoint(0, 0));
  service.window()->resize(700, 500);
  EXPECT_EQ(bar->width(), 700);
}

TEST_F(MenuBar, ChoosingAnItemRunsItsCommandAndAnExceptionStaysInTheLoopGuard) {
  int runs = 0;
  const MenuItem item = bar.topMenu(WindowMenuManager::File).insertItem("開く", [&] { ++runs; });
  const MenuItem failing = bar.topMenu(WindowMenuManager::File).insertItem("壊れた", [] {
    throw std::runtime_error("broken command");
  });
  item.action()->trigger();
  EXPECT_EQ(runs, 1);
  failing.action()->trigger();
  EXPECT_TRUE(Window::hasPendingException());
  EXPECT_THROW(Window::rethrowPending(), std::runtime_error);
  EXPECT_FALSE(bar.runCommand(40999));
}

TEST_F(MenuBar, OpeningAMenuAppliesTheEnableCheckAndTextTables) {
  BaseMenu& view = bar.topMenu(WindowMenuManager::Display);
  bool enabled = false;
  bool checked = true;
  std::string text = "100%";
  MenuItem a = view.insertItem("a", [] {});
  a.setEnable([&] { return enabled; });
  // An id keeps its first predicate.
  a.setEnable([] { return true; });
  MenuItem b = view.insertItem("b", [] {}).setRadioCheck();
  b.setCheck([&] { return checked; });
  MenuItem c = view.insertItem("zoom\tCtrl+Z", [] {});
  c.setText([&] { return text; });

  openAndClose(view.handle());
  EXPECT_FALSE(a.action()->isEnabled());
  EXPECT_TRUE(b.action()->isChecked());
  EXPECT_EQ(c.action()->text().toStdString(), "100%\tCtrl+Z");

  enabled = true;
  checked = false;
  text = "200%";
  openAndClose(view.handle());
  EXPECT_TRUE(a.action()->isEnabled());
  EXPECT_FALSE(b.action()->isChecked());
  EXPECT_EQ(c.action()->text().toStdString(), "200%\tCtrl+Z");
}

TEST_F(MenuBar, AnItemListIsRebuiltNumberedOnEveryOpening) {
  BaseMenu& file = bar.topMenu(WindowMenuManager::File);
  BaseMenu recent(file, "最近使ったファイル");
  std::vector<std::string> files = {"a.vlp2", "b.vlp2", "c.vlp2"};
  std::vector<int> chosen;
  ItemList& list = ItemList::add(recent, 8, [&](int index) { chosen.push_back(index); },
                                 [&] { return files; });
  bar.topMenu(WindowMenuManager::Edit).insertItem("next", [] {});
  EXPECT_EQ(list.firstCommandId(), 40000);

  openAndClose(file.handle());
  EXPECT_EQ(texts(recent.handle()),
            (std::vector<std::string>{"&1 a.vlp2", "&2 b.vlp2", "&3 c.vlp2"}));
  // The reserved ids stay the list's: the next item took the id after them.
  EXPECT_TRUE(bar.runCommand(40002));
  EXPECT_TRUE(bar.runCommand(40008));
  recent.handle()->actions().at(1)->trigger();
  EXPECT_EQ(chosen, (std::vector<int>{2, 1}));

  // A long text is cut; more texts than ids are dropped.
  files = {std::string(300, 'x'), "2", "3", "4", "5", "6", "7", "8", "9"};
  openAndClose(file.handle());
  const std::vector<std::string> shown = texts(recent.handle());
  ASSERT_EQ(shown.size(), 8u);
  EXPECT_EQ(shown[0], "&1 " + std::string(256, 'x'));
  EXPECT_EQ(shown[7], "&8 8");
}

TEST_F(MenuBar, AFixedItemListRegistersItsShortcutsAndIsNotRebuilt) {
  TestSupport::ScopedInstallFolder install;
  System::ServiceHolder<Window::Shortcut> shortcuts;
  BaseMenu& file = bar.topMenu(WindowMenuManager::File);
  BaseMenu exports(file, "プラグイン出力");
  std::vector<std::string> names = {"動画", "音声"};
  ItemList& list = ItemList::add(exports, 4, [](int) {}, [&] { return names; });
  list.registerShortcuts("プラグイン出力");
  names = {"other"};
  openAndClose(file.handle());
  EXPECT_EQ(texts(exports.handle()), (std::vector<std::string>{"動画", "音声"}));
  const auto& entries = Window::Shortcut::instance()->entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].name, "プラグイン出力:音声");
  EXPECT_EQ(entries[1].code, 0);
  EXPECT_EQ(entries[1].commandId, 40001);
}

// The menus of a language: the captions and items come out of its table.
constexpr const char* kEnglish =
    "[Menu]\r\nファイル=File\r\n編集=Edit\r\n開く=Open\r\n言語=Language\r\n";

TEST(MenuLanguage, ALanguageChangeRebuildsTheMenusWithoutStaleCommandsOrShortcuts) {
  TestSupport::ActiveLanguage english(kEnglish);
  System::ServiceHolder<Window::Shortcut> shortcuts;
  auto& translation = *Translate::TranslateService::instance();
  WindowMenuManager bar;
  int opened = 0;
  int builds = 0;
  bar.setMenuBuilder(WindowMenuManager::File, [&](BaseMenu& file) {
    ++builds;
    file.insertItem("開く", [&] { ++opened; }).setShortcut('O' | Window::KeyCode::kCtrl);
    BaseMenu recent(file, "最近使ったファイル");
    ItemList::add(recent, 2, [](int) {}, [] { return std::vector<std::string>{"a"}; });
    // Changing the language from the menu clears the menu the command came from.
    file.insertItem("言語", [&] {
      translation.language.clear();
      translation.updateLanguage();
    });
  });
  EXPECT_EQ(texts(bar.menuBar()).front(), "File");
  EXPECT_EQ(texts(bar.topMenu(WindowMenuManager::File).handle()),
            (std::vector<std::string>{"Open\tCtrl+O", "最近使ったファイル", "Language"}));
  EXPECT_EQ(Window::Shortcut::instance()->entries().at(0).name, "File:Open");

  bar.topMenu(WindowMenuManager::File).handle()->actions().at(2)->trigger();
  ASSERT_FALSE(Window::hasPendingException());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  EXPECT_EQ(builds, 2);
  EXPECT_EQ(texts(bar.menuBar()).front(), "ファイル");
  EXPECT_EQ(texts(bar.topMenu(WindowMenuManager::File).handle()),
            (std::vector<std::string>{"開く\tCtrl+O", "最近使ったファイル", "言語"}));
  // One entry, one item list, ids from 40000 again.
  const auto& entries = Window::Shortcut::instance()->entries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "ファイル:開く");
  EXPECT_EQ(bar.itemLists().size(), 1u);
  EXPECT_EQ(bar.commandCount(), 4u);
  EXPECT_TRUE(Window::Shortcut::instance()->procKeyDown('O', Window::KeyCode::kCtrl));
  EXPECT_EQ(opened, 1);
}

TEST(MenuLanguage, ADestroyedContextMenuTakesItsShortcutsAlong) {
  TestSupport::ScopedInstallFolder install;
  System::ServiceHolder<Window::Shortcut> shortcuts;
  auto& shortcut = *Window::Shortcut::instance();
  {
    PopupMenu menu;
    menu.insertItem("a", [] {}).setShortcut('A');
    EXPECT_EQ(shortcut.entries().size(), 1u);
  }
  EXPECT_TRUE(shortcut.entries().empty());
  EXPECT_FALSE(shortcut.procKeyDown('A', 0));
}

}  // namespace
