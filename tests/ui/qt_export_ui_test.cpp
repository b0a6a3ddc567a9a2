// The export's Qt side: while an export runs the menus are grey, and closing the window or
// Esc ask the abort question instead of closing; the progress shows in the title.
#include "ui/qt_export_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "system/service_holder.h"
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

}  // namespace
