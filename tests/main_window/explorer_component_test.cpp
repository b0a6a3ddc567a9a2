// The media explorer window: its numbered title and section, the path box that shows a
// bookmark's name in every explorer, adding and removing bookmarks from its menu actions,
// and Enter in the path box.
#include "main_window/explorer/explorer_component.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <optional>

#include "system/event_service.h"
#include "system/file.h"
#include "system/service_holder.h"
#include "system/temp_folder.h"
#include "tests/ui/control_test_support.h"
#include "ui/dialogs/dialog_template.h"
#include "system/ui_bridge.h"
#include "ui/message_box.h"
#include "ui/qt_ui_bridge.h"

namespace {

using Component::ExplorerComponent;


class ExplorerComponentTest : public ControlTest::ControlFixture {
 protected:
  ExplorerComponentTest() {
    System::setUiBridge(&bridge_);
    Component::explorerBookmarks().clear();
    folders_.makeFolder("Clips.2024");
    folders_.makeFolder("music");
    service().resize(800, 600);
    first_.emplace(0);
    second_.emplace(1);
    show(*second_);
  }
  ~ExplorerComponentTest() override {
    second_.reset();
    first_.reset();
    Component::explorerBookmarks().clear();
    System::setUiBridge(nullptr);
  }
  void show(ExplorerComponent& window) {
    if (window.isHidden()) service().docking().toggleVisible(window);
    service().resize(800, 600);
  }
  std::string folder(const char* name) const {
    return Control::normalFolderPath(folders_.path() + "/" + name);
  }

  Window::QtUiBridge bridge_;
  ControlTest::ScopedSettings settings_;
  System::ServiceHolder<Event::EventService> events_;
  TestSupport::TempFolder folders_;
  std::optional<ExplorerComponent> first_;
  std::optional<ExplorerComponent> second_;
};

TEST_F(ExplorerComponentTest, EachExplorerHasItsNumberInTitleAndSection) {
  EXPECT_EQ(first_->title, "メディアエクスプローラー:1");
  EXPECT_EQ(first_->instanceSectionName, "Window.explorer:1");
  EXPECT_EQ(second_->title, "メディアエクスプローラー:2");
  EXPECT_EQ(second_->instanceSectionName, "Window.explorer:2");
  EXPECT_TRUE(first_->explorer.initialized);
}

TEST_F(ExplorerComponentTest, ABookmarkNameShowsInEveryExplorerOfThatFolder) {
  ASSERT_TRUE(first_->explorer.browseToFolder(folder("Clips.2024")));
  ASSERT_TRUE(second_->explorer.browseToFolder(folder("Clips.2024")));
  EXPECT_EQ(second_->pathBox.textUtf8(), folder("Clips.2024"));
  EXPECT_FALSE(first_->isBookmarked());

  // A bookmark added in the first explorer: the change event refreshes every path box.
  Component::explorerBookmarks().push_back({"Clips", first_->currentFolder()});
  Event::EventService::instance()->bookmarksChanged().fire();
  EXPECT_TRUE(first_->isBookmarked());
  EXPECT_EQ(first_->pathBox.textUtf8(), "Clips");
  EXPECT_EQ(second_->pathBox.textUtf8(), "Clips");

  first_->removeBookmark();
  EXPECT_TRUE(Component::explorerBookmarks().empty());
  EXPECT_EQ(first_->pathBox.textUtf8(), folder("Clips.2024"));
  EXPECT_EQ(second_->pathBox.textUtf8(), folder("Clips.2024"));
}

TEST_F(ExplorerComponentTest, AFolderThatDoesNotExistCannotBeBookmarked) {
  std::vector<std::string> shown;
  const Window::ScopedMessageBoxSink sink([&](const Window::MessageBoxRequest& request) {
    shown.push_back(request.text);
    return Window::MessageBoxAnswer::Ok;
  });
  first_->addBookmark(folders_.path() + "/gone");
  EXPECT_EQ(shown, std::vector<std::string>{"このフォルダはブックマークに追加できません"});
  EXPECT_TRUE(Component::explorerBookmarks().empty());
}

TEST_F(ExplorerComponentTest, EnterInThePathBoxBrowsesThereOrToTheDesktop) {
  first_->pathBox.setTextUtf8(folder("music"));
  EXPECT_TRUE(first_->pathBox.keyHook(Control::EditControl::kEnter));
  EXPECT_EQ(first_->currentFolder(), folder("music"));
  EXPECT_FALSE(first_->pathBox.keyHook('A'));
  first_->pathBox.setTextUtf8(folders_.path() + "/nowhere");
  first_->pathBox.keyHook(Control::EditControl::kEnter);
  EXPECT_EQ(first_->currentFolder(),
            Control::normalFolderPath(Control::ExplorerControl::desktopFolder()));
}

TEST_F(ExplorerComponentTest, TheFirstExplorerWritesAndReadsExplorerIni) {
  Component::explorerBookmarks() = {{"b", "/b"}, {"a", "/a"}};
  second_.reset();
  first_.reset();
  const std::string file = System::FileName::expandVariable(Component::kBookmarkFile);
  EXPECT_EQ(TestSupport::readWholeFile(file),
            "[bookmark.0]\r\nname=b\r\npath=/b\r\n[bookmark.1]\r\nname=a\r\npath=/a\r\n");
  Component::explorerBookmarks().clear();
  first_.emplace(0);
  EXPECT_EQ(Component::explorerBookmarks().size(), 2u);
}

}  // namespace
