// The open and save dialogs as they are set up (looked at without exec), and their
// offscreen answers.
#include "ui/file_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>

#include "ui/qt_edit_ui.h"

namespace {

const System::Filter kImageFilter = {{"Video (*.mp4;*.avi)", "*.mp4;*.avi"},
                                     {"Image", "*.PNG; *.jpg"},
                                     {"AllFile (*.*)", "*.*"}};

TEST(FileDialog, FilterEntriesListTheirPatternsForTheToolkit) {
  EXPECT_EQ(Window::fileDialogFilter(kImageFilter),
            "Video (*.mp4 *.avi);;Image (*.PNG *.jpg);;AllFile (*.*)");
  EXPECT_EQ(Window::fileDialogFilter({}), "");
}

TEST(FileDialog, ThePathsExtensionChoosesTheEntryAndTheDefaultExtension) {
  struct Case {
    const char* path;
    const char* selected;
    const char* suffix;
  };
  const Case cases[] = {
      {"/tmp/shot.png", "Image (*.PNG *.jpg)", "png"},
      {"/tmp/clip.AVI", "Video (*.mp4 *.avi)", "mp4"},
      // No entry names the extension: the first entry and its extension.
      {"/tmp/notes.txt", "Video (*.mp4 *.avi)", "mp4"},
      {"", "Video (*.mp4 *.avi)", "mp4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    QFileDialog dialog;
    Window::setUpOpenFileDialog(dialog, c.path, kImageFilter);
    EXPECT_EQ(dialog.nameFilters().size(), 3);
    EXPECT_EQ(dialog.selectedNameFilter(), c.selected);
    EXPECT_EQ(dialog.defaultSuffix(), c.suffix);
  }
}

TEST(FileDialog, AnAllFilesEntryAddsNoExtension) {
  QFileDialog dialog;
  Window::setUpSaveFileDialog(dialog, "/tmp/any.xyz", {{"AllFile (*.*)", "*.*"}}, "");
  EXPECT_EQ(dialog.defaultSuffix(), "");
}

TEST(FileDialog, TheOpenDialogTakesOnlyAnExistingFileTheSaveDialogAsksBeforeOverwriting) {
  QTemporaryDir directory;
  ASSERT_TRUE(directory.isValid());
  const std::string path = QDir(directory.path()).filePath("project.vlp2").toStdString();

  QFileDialog open;
  Window::setUpOpenFileDialog(open, path, Window::projectFileFilter());
  EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(open.directory().absolutePath(), directory.path());

  QFileDialog save;
  Window::setUpSaveFileDialog(save, path, Window::projectFileFilter(), "Save as");
  EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(save.fileMode(), QFileDialog::AnyFile);
  EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(save.windowTitle(), "Save as");
  EXPECT_EQ(save.selectedNameFilter(), "ProjectFile (*.vlp2)");
  EXPECT_EQ(save.defaultSuffix(), "vlp2");
  EXPECT_EQ(save.directory().absolutePath(), directory.path());
}

TEST(FileDialog, OffscreenTheDialogsAreCancelledAndThePathKept) {
  std::string path = "/tmp/kept.vlp2";
  EXPECT_FALSE(Window::showOpenFileDialog(path, Window::projectFileFilter()));
  EXPECT_FALSE(Window::showSaveFileDialog(path, Window::projectFileFilter(), "Save"));
  Window::QtEditUi ui;
  EXPECT_FALSE(ui.chooseSavePath(path));
  EXPECT_FALSE(ui.chooseOpenPath(path));
  EXPECT_EQ(path, "/tmp/kept.vlp2");
}

}  // namespace
