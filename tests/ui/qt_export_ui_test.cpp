// The export's Qt side: while an export runs the menus are grey, and closing the window or
// Esc ask the abort question instead of closing; the progress shows in the footer; the save
// dialog adds the chosen entry's extension and carries the writer's settings row.
#include "ui/qt_export_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include "output/output_plugin.h"
#include "system/service_holder.h"
#include "ui/menu_bar.h"
#include "ui/window_footer.h"
#include "ui/window_mouse.h"
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

TEST(QtExportUiTest, ProgressShowsInTheFooterAndClearsAtTheEnd) {
  System::ServiceHolder<Window::WindowService> holder;
  Window::WindowService& service = *Window::WindowService::instance();
  Window::WindowFooter& footer = service.footer();
  const QString title = service.window()->windowTitle();
  Window::QtExportUi ui;

  ui.setStatus("ファイル出力中", "25.00% (50/200)", 0.25f);
  EXPECT_EQ(footer.statusText(), "ファイル出力中 25.00% (50/200)");
  EXPECT_FLOAT_EQ(footer.progress(), 0.25f);
  EXPECT_EQ(Window::WindowMouseService::instance()->appliedCursor(), Window::MouseCursor::Wait);
  ui.setStatus("ファイル出力中", "50.00% (100/200)", 0.5f);
  EXPECT_EQ(footer.statusText(), "ファイル出力中 50.00% (100/200)");
  EXPECT_FLOAT_EQ(footer.progress(), 0.5f);
  EXPECT_EQ(service.window()->windowTitle(), title) << "the title is not the progress";

  // The end of the export: the detail goes with the text, and the wait cursor with both.
  ui.setStatus({}, "100.00% (200/200)", 1.0f);
  EXPECT_EQ(footer.statusText(), "");
  EXPECT_EQ(Window::WindowMouseService::instance()->appliedCursor(), Window::MouseCursor::Arrow);
  EXPECT_EQ(service.window()->windowTitle(), title);
}

TEST(QtExportUiTest, AStatusWithoutDetailHasNoTrailingSpace) {
  System::ServiceHolder<Window::WindowService> holder;
  Window::QtExportUi ui;
  ui.setStatus("ファイル出力中", {}, 0.0f);
  EXPECT_EQ(Window::WindowService::instance()->footer().statusText(), "ファイル出力中");
  ui.setStatus({}, {}, 0.0f);
}

const System::Filter kVideoFilter = {{"AVI File (*.avi)", "*.avi"},
                                     {"Image", "*.png"},
                                     {"AllFile (*.*)", "*.*"}};

// The file the dialog would return for a name typed into its name field.
QString typedFile(QFileDialog& dialog, const QString& name) {
  dialog.selectFile(name);
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : QFileInfo(files.front()).fileName();
}

TEST(QtExportSaveDialog, ATypedNameGetsTheChosenEntrysExtension) {
  QTemporaryDir directory;
  ASSERT_TRUE(directory.isValid());
  struct Case {
    const char* proposed;  // the proposed file's name, empty for none
    const char* entry;     // the entry chosen from it
    const char* typed;
    const char* file;
  };
  const Case cases[] = {
      {"", "AVI File (*.avi)", "out", "out.avi"},
      {"", "AVI File (*.avi)", "out.avi", "out.avi"},
      {"shot.PNG", "Image (*.png)", "out", "out.png"},
      {"clip.avi", "AVI File (*.avi)", "out", "out.avi"},
      // No entry names the extension: the first entry and its extension.
      {"notes.xyz", "AVI File (*.avi)", "out", "out.avi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.proposed) + " / " + c.typed);
    const std::string path =
        *c.proposed ? QDir(directory.path()).filePath(c.proposed).toStdString() : std::string();
    QFileDialog dialog;
    dialog.setDirectory(directory.path());
    Window::setUpExportSaveDialog(dialog, path, "AVIファイル出力", kVideoFilter, nullptr);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.windowTitle(), "AVIファイル出力");
    EXPECT_EQ(dialog.selectedNameFilter(), c.entry);
    EXPECT_EQ(typedFile(dialog, c.typed), c.file);
  }
}

TEST(QtExportSaveDialog, TheExtensionFollowsTheEntryTheUserPicks) {
  QTemporaryDir directory;
  ASSERT_TRUE(directory.isValid());
  QFileDialog dialog;
  dialog.setDirectory(directory.path());
  Window::setUpExportSaveDialog(dialog, {}, "AVIファイル出力", kVideoFilter, nullptr);
  ASSERT_EQ(typedFile(dialog, "out"), "out.avi");

  // An all-files entry adds nothing.
  dialog.selectNameFilter("AllFile (*.*)");
  emit dialog.filterSelected("AllFile (*.*)");
  EXPECT_EQ(typedFile(dialog, "out"), "out");
  dialog.selectNameFilter("Image (*.png)");
  emit dialog.filterSelected("Image (*.png)");
  EXPECT_EQ(typedFile(dialog, "out"), "out.png");
}

// A writer with a settings dialog: each showing of it changes its text.
class SettingWriter : public Plugin::OutputPlugin {
 public:
  SettingWriter()
      : OutputPlugin("Writer", kVideoFilter, {}, Plugin::kWriterVideo | Plugin::kWriterSettings) {}
  std::shared_ptr<Plugin::OutputFile> openFile() override { return nullptr; }
  void showSetting() override { ++shown; }
  std::string getSettingText() override { return "Quality " + std::to_string(shown); }
  int shown = 0;
};

TEST(QtExportSaveDialog, TheSettingsRowShowsTheWritersTextAndButton) {
  SettingWriter writer;
  QFileDialog dialog;
  Window::setUpExportSaveDialog(dialog, {}, "Writer", kVideoFilter, &writer);
  auto* text = dialog.findChild<QLabel*>("settingText");
  auto* button = dialog.findChild<QPushButton*>("settingButton");
  ASSERT_NE(text, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(text->text(), "Quality 0");
  button->click();
  EXPECT_EQ(writer.shown, 1);
  EXPECT_EQ(text->text(), "Quality 1") << "the text follows the new settings at once";

  QFileDialog plain;
  Window::setUpExportSaveDialog(plain, {}, "Writer", kVideoFilter, nullptr);
  EXPECT_EQ(plain.findChild<QPushButton*>("settingButton"), nullptr);
}

TEST(QtExportSaveDialog, OffscreenTheExportIsCancelled) {
  Window::QtExportUi ui;
  EXPECT_EQ(ui.chooseSavePath("Writer", kVideoFilter, nullptr), "");
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
