// The explorer control: the browser made at the first visible placement, the desktop for a
// missing folder, the view settings carried across navigations and restarts, and the saved
// columns that fall back to the default three.
#include "ui/controls/explorer_control.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTreeView>
#include <QWidget>
#include <optional>
#include <string>

#include "system/ini_file.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"
#include "tests/ui/control_test_support.h"

namespace {

using Control::ExplorerBrowser;
using Control::ExplorerControl;
using Control::ExplorerPropertyKey;

const std::string kName = "{B725F130-47EF-101A-A5F1-02608C9EACEB} 10";
const std::string kSize = "{B725F130-47EF-101A-A5F1-02608C9EACEB} 12";
const std::string kType = "{B725F130-47EF-101A-A5F1-02608C9EACEB} 4";
const std::string kDate = "{B725F130-47EF-101A-A5F1-02608C9EACEB} 14";
constexpr const char* kSection = "Window.explorer:1";

class ExplorerControlTest : public ControlTest::ControlFixture {
 protected:
  ExplorerControlTest() {
    folders_.makeFolder("a");
    folders_.makeFolder("b");
  }
  std::string folder(const char* name) const {
    return Control::normalFolderPath(folders_.path() + "/" + name);
  }
  ExplorerControl& make() {
    control_.emplace(container, 0, 0, 0, 0, kSection);
    control_->navigationCallback = [this](ExplorerControl& c) {
      reported_.push_back(c.config.folderPath);
    };
    return *control_;
  }
  // Placed on the area, which lies inside the client area: the browser appears.
  ExplorerControl& place() {
    ExplorerControl& c = control_ ? *control_ : make();
    container.updateLayout();
    return c;
  }
  std::vector<std::string> shownColumns() const {
    std::vector<std::string> texts;
    for (const ExplorerPropertyKey& key : control_->browser->columns())
      texts.push_back(key.toString());
    return texts;
  }
  void setSaved(const std::string& key, const std::string& value) {
    store().getOrCreateValue(kSection, key).text = value;
  }
  System::IniFile& store() { return *Setting::ParameterIni::instance(); }

  System::ServiceHolder<Setting::ParameterIni> ini_;
  TestSupport::TempFolder folders_;
  std::optional<ExplorerControl> control_;
  std::vector<std::string> reported_;
};

TEST_F(ExplorerControlTest, AFirstStartShowsTheDesktopInDetailsWithTheDefaultColumnsUnsorted) {
  ExplorerControl& c = make();
  EXPECT_FALSE(c.initialized);
  place();
  ASSERT_TRUE(c.initialized);
  EXPECT_EQ(c.browser->currentFolder(), Control::normalFolderPath(ExplorerControl::desktopFolder()));
  EXPECT_EQ(c.config.folderPath, c.browser->currentFolder());
  EXPECT_EQ(reported_, std::vector<std::string>{c.browser->currentFolder()});
  EXPECT_EQ(c.browser->viewMode(), ExplorerBrowser::kDetails);
  EXPECT_EQ(c.browser->iconSize(), 48);
  EXPECT_EQ(shownColumns(), (std::vector<std::string>{kName, kSize, kDate}));
  EXPECT_FALSE(c.browser->sortColumn().has_value());
  EXPECT_EQ(c.config.columnNum, 3);
  ASSERT_NE(c.browser->widget(), nullptr);
  EXPECT_TRUE(c.browser->widget()->isVisible() || !c.browser->widget()->isHidden());
  EXPECT_EQ(c.browser->widget()->geometry(), QRect(0, 0, 400, 300));
}

TEST_F(ExplorerControlTest, AFolderThatCannotBeShownGivesTheDesktop) {
  setSaved("FolderPath", folders_.path() + "/missing");
  ExplorerControl& c = place();
  EXPECT_EQ(c.browser->currentFolder(), Control::normalFolderPath(ExplorerControl::desktopFolder()));
  EXPECT_TRUE(c.browseToFolder(folder("a")));
  EXPECT_EQ(c.config.folderPath, folder("a"));
  // Typed with "\" separators it is found all the same.
  std::string backslashed = folder("b");
  std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
  EXPECT_TRUE(c.browseToFolder(backslashed));
  EXPECT_EQ(c.config.folderPath, folder("b"));
}

TEST_F(ExplorerControlTest, SavedColumnsAreAppliedOrReplacedByTheDefaults) {
  struct Case {
    const char* what;
    std::string num, list, widths;
    std::vector<std::string> shown;
    int32_t nameWidth;  // 0: not checked
  };
  const std::vector<std::string> defaults{kName, kSize, kDate};
  const Case cases[] = {
      {"consistent", "3", kType + "," + kName + "," + kDate, "80,210,90", {kType, kName, kDate}, 210},
      {"count differs from the widths", "2", kName + "," + kSize, "100", defaults, 0},
      {"count differs from the keys", "3", kName + "," + kSize, "100,50", defaults, 0},
      {"unreadable key", "2", kName + ",size", "100,50", defaults, 0},
      {"unreadable width", "2", kName + "," + kSize, "100,wide", defaults, 0},
      {"no count", "0", kName, "100", defaults, 0},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    setSaved("FolderPath", folder("a"));
    setSaved("ColumnNum", test.num);
    setSaved("ColumnList", test.list);
    setSaved("ColumnWidth", test.widths);
    reported_.clear();
    control_.reset();
    ExplorerControl& c = place();
    EXPECT_EQ(shownColumns(), test.shown);
    EXPECT_EQ(c.config.columnNum, static_cast<int32_t>(test.shown.size()));
    if (test.nameWidth) {
      EXPECT_EQ(c.browser->columnWidth(*ExplorerPropertyKey::fromString(kName)), test.nameWidth);
    }
    control_.reset();
  }
}

TEST_F(ExplorerControlTest, NavigationKeepsTheViewSettingsAndARestartRestoresThem) {
  setSaved("FolderPath", folder("a"));
  ExplorerControl& c = place();
  ASSERT_EQ(c.browser->currentFolder(), folder("a"));
  // The user changes the view in folder a.
  ASSERT_TRUE(c.browser->setViewModeAndIconSize(ExplorerBrowser::kIcon, 64));
  ASSERT_TRUE(c.browser->setSortColumn(
      ExplorerBrowser::SortColumn{*ExplorerPropertyKey::fromString(kSize), -1}));
  ASSERT_TRUE(c.browser->setColumns({*ExplorerPropertyKey::fromString(kSize),
                                     *ExplorerPropertyKey::fromString(kName)}));
  ASSERT_TRUE(c.browser->setColumnWidth(*ExplorerPropertyKey::fromString(kName), 177));

  ASSERT_TRUE(c.browseToFolder(folder("b")));
  EXPECT_EQ(c.config.folderPath, folder("b"));
  EXPECT_EQ(c.config.folderViewMode, ExplorerBrowser::kIcon);
  EXPECT_EQ(c.config.sortColumn, kSize);
  EXPECT_EQ(c.config.sortDirection, -1);
  EXPECT_EQ(c.config.columnList, kSize + "," + kName);
  EXPECT_EQ(c.browser->viewMode(), ExplorerBrowser::kIcon);
  EXPECT_EQ(c.browser->iconSize(), 64);
  EXPECT_EQ(shownColumns(), (std::vector<std::string>{kSize, kName}));

  control_.reset();
  const System::IniFile::SectionRef saved = store().getSection(kSection);
  EXPECT_EQ(saved.findValue("FolderPath").text, folder("b"));
  EXPECT_EQ(saved.findValue("FolderViewMode").text, "1");
  EXPECT_EQ(saved.findValue("FolderIconSize").text, "64");
  EXPECT_EQ(saved.findValue("SortColumn").text, kSize);
  EXPECT_EQ(saved.findValue("SortDirection").text, "-1");
  EXPECT_EQ(saved.findValue("ColumnNum").text, "2");
  EXPECT_EQ(saved.findValue("ColumnList").text, kSize + "," + kName);
  EXPECT_NE(saved.findValue("ColumnWidth").text.find(",177"), std::string::npos);

  ExplorerControl& again = place();
  EXPECT_EQ(again.browser->currentFolder(), folder("b"));
  EXPECT_EQ(again.browser->viewMode(), ExplorerBrowser::kIcon);
  ASSERT_TRUE(again.browser->sortColumn().has_value());
  EXPECT_EQ(again.browser->sortColumn()->key.toString(), kSize);
  EXPECT_EQ(again.browser->sortColumn()->direction, -1);
  EXPECT_EQ(again.browser->columnWidth(*ExplorerPropertyKey::fromString(kName)), 177);
}

TEST_F(ExplorerControlTest, HistoryAndParentStepsAndTheirEnds) {
  setSaved("FolderPath", folder("a"));
  ExplorerControl& c = place();
  ExplorerBrowser& b = *c.browser;
  EXPECT_FALSE(b.browseTo("", ExplorerBrowser::Browse::kBack));
  ASSERT_TRUE(c.browseToFolder(folder("b")));
  ASSERT_TRUE(b.browseTo("", ExplorerBrowser::Browse::kBack));
  EXPECT_EQ(c.config.folderPath, folder("a"));
  ASSERT_TRUE(b.browseTo("", ExplorerBrowser::Browse::kForward));
  EXPECT_EQ(c.config.folderPath, folder("b"));
  EXPECT_FALSE(b.browseTo("", ExplorerBrowser::Browse::kForward));
  ASSERT_TRUE(b.browseTo("", ExplorerBrowser::Browse::kParent));
  EXPECT_EQ(c.config.folderPath, Control::normalFolderPath(folders_.path()));
  // A new folder after a step back drops the steps ahead.
  ASSERT_TRUE(b.browseTo("", ExplorerBrowser::Browse::kBack));
  ASSERT_TRUE(c.browseToFolder(folder("a")));
  EXPECT_FALSE(b.canGoForward());
  EXPECT_EQ(reported_.back(), folder("a"));
}

TEST_F(ExplorerControlTest, AControlOutsideTheWindowHidesTheBrowserWithoutDestroyingIt) {
  ExplorerControl& c = place();
  ASSERT_TRUE(c.initialized);
  QWidget* widget = c.browser->widget();
  // A hidden tool window parks its rectangle far outside the window.
  area = {0x10000, 0x10000, 400, 300};
  container.updateLayout();
  EXPECT_TRUE(c.initialized);
  EXPECT_EQ(c.browser->widget(), widget);
  EXPECT_TRUE(widget->isHidden());
  area = {0, 0, 400, 300};
  container.updateLayout();
  EXPECT_FALSE(widget->isHidden());
}

TEST(ExplorerPropertyKeyTest, KeysReadOnlyInTheirOwnForm) {
  const auto key = ExplorerPropertyKey::fromString("{b725f130-47ef-101a-a5f1-02608c9eaceb}  14");
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->toString(), kDate);
  EXPECT_EQ(key->column(), 3);
  for (const char* bad : {"", "{B725F130-47EF-101A-A5F1-02608C9EACEB}", "size",
                          "{B725F130-47EF-101A-A5F1-02608C9EACEB} 1x",
                          "B725F130-47EF-101A-A5F1-02608C9EACEB 10",
                          "{B725F130-47EF-101A-A5F1_02608C9EACEB} 10"})
    EXPECT_FALSE(ExplorerPropertyKey::fromString(bad).has_value()) << bad;
  EXPECT_EQ(ExplorerPropertyKey::fromString("{00000000-0000-0000-0000-000000000000} 10")->column(), -1);
}

}  // namespace
