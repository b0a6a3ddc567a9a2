// The export's Qt side: while an export runs the menus are grey, and closing the window or
// Esc ask the abort question instead of closing; the progress shows in the title.
#include "ui/qt_export_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>

#include "system/service_holder.h"
#include "ui/menu_bar.h"
#include "ui/window_service.h"

namespace {

TEST(QtExportUiTest, GreyMenusTurnCloseAndEscIntoTheHook) {
  System::ServiceHolder<Window::WindowService> holder;
  Window::WindowService& service = *Window::WindowService::instance();
  int asked = 0;
  service.setMenuHook([&] { ++asked; });
  EXPECT_FALSE(service.menusEnabled());

  service.window()->close();
  EXPECT_FALSE(service.isQuitRequested()) << "the window stays while an export runs";
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(service.window(), &escape);
  EXPECT_EQ(asked, 2);

  service.setMenuHook({});
  service.window()->close();
  EXPECT_TRUE(service.isQuitRequested());
  EXPECT_EQ(asked, 2);
}

TEST(QtExportUiTest, ProgressShowsInTheTitleAndClearsAtTheEnd) {
  System::ServiceHolder<Window::WindowService> holder;
  Window::WindowService& service = *Window::WindowService::instance();
  Window::QtExportUi ui;
  ui.setStatus("ファイル出力中", "25.00% (50/200)", 0.25f);
  EXPECT_EQ(service.window()->windowTitle().toStdString(),
            "Velumo Kivrun2 - ファイル出力中 25.00% (50/200)");
  ui.setStatus({}, {}, 0.0f);
  EXPECT_EQ(service.window()->windowTitle().toStdString(), "Velumo Kivrun2");
  ui.enableMenus(false);
  EXPECT_FALSE(service.menusEnabled());
  ui.enableMenus(true);
  EXPECT_TRUE(service.menusEnabled());
}

// A click on the first caption of the bar; true when it opened a drop-down. The drop-down
// is closed again.
bool clickOpensTheFileMenu(QMenuBar* bar) {
  const QPoint point = bar->actionGeometry(bar->actions().at(0)).center();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(point), QPointF(bar->mapToGlobal(point)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(bar, &press);
  QWidget* popup = QApplication::activePopupWidget();
  if (popup) popup->close();
  return popup != nullptr;
}

TEST(QtExportUiTest, TheMenuBarIsGreyWhileAnExportRuns) {
  System::ServiceHolder<Window::WindowService> holder;
  Window::WindowService& service = *Window::WindowService::instance();
  QMenuBar* bar = service.menuManager().menuBar();
  service.window()->resize(700, 500);
  QApplication::processEvents();
  // A drop-down with an item, as the program's menus have.
  service.menuManager().topMenu(Window::WindowMenuManager::File).insertItem("開く", [] {});
  Window::QtExportUi ui;
  ASSERT_TRUE(clickOpensTheFileMenu(bar));

  ui.enableMenus(false);
  EXPECT_FALSE(bar->isEnabled());
  EXPECT_FALSE(clickOpensTheFileMenu(bar)) << "no menu command can be chosen";

  ui.enableMenus(true);
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_TRUE(clickOpensTheFileMenu(bar));
}

}  // namespace
