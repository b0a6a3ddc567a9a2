// The Etc menu: the plug-in list with its kinds, the script list's frame, and the version
// message.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "menu/etc_menu.h"
#include "menu/menu_fixture.h"
#include "output/output_plugin.h"
#include "output/output_service.h"
#include "ui/message_box.h"

namespace {

using Strings = std::vector<std::string>;
constexpr int kEtc = Window::WindowMenuManager::Etc;

class DescribedWriter final : public Plugin::OutputPlugin {
 public:
  DescribedWriter(std::string name, std::string information)
      : OutputPlugin(std::move(name), {{"Test (*.tst)", "*.tst"}}, std::move(information),
                     Plugin::kWriterVideo) {}
  std::shared_ptr<Plugin::OutputFile> openFile() override { return nullptr; }
};

class EtcMenuTest : public ::testing::Test, public TestSupport::MenuBarFixture {
 protected:
  void startWithWriters(const char* languageFile = nullptr) {
    start(languageFile);
    Plugin::OutputService::PluginList writers;
    writers.push_back(std::make_shared<DescribedWriter>("A", "Writer A 1.0"));
    writers.push_back(std::make_shared<DescribedWriter>("B", ""));
    writers.push_back(std::make_shared<DescribedWriter>("C", "Writer C 2.1"));
    outputs_.emplace(std::move(writers));
  }
  void TearDown() override { outputs_.reset(); }

  std::optional<System::ServiceHolder<Plugin::OutputService>> outputs_;
};

TEST_F(EtcMenuTest, TheMenuOffersTheThreeItems) {
  start();
  EXPECT_EQ(texts(topMenu(kEtc)), (Strings{"プラグイン情報", "スクリプト情報", "-", "バージョン情報"}));
  EXPECT_EQ(shortcut("その他:プラグイン情報"), nullptr);
}

TEST_F(EtcMenuTest, PluginListShowsTheWritersThatDescribeThemselves) {
  startWithWriters();
  const Menu::ListViewContent content = Menu::pluginListContent();
  EXPECT_EQ(content.title, "プラグイン情報");
  ASSERT_EQ(content.columns.size(), 2u);
  EXPECT_EQ(content.columns[0].title, "プラグイン");
  EXPECT_EQ(content.columns[0].width, 550);
  EXPECT_EQ(content.columns[1].width, 150);
  EXPECT_EQ(content.width, 700);
  EXPECT_EQ(content.rows, (std::vector<Strings>{{"Writer A 1.0", "出力プラグイン"},
                                                {"Writer C 2.1", "出力プラグイン"}}));
}

TEST_F(EtcMenuTest, PluginListWithoutDescriptionsKeepsItsColumns) {
  start();
  const Menu::ListViewContent content = Menu::pluginListContent();
  EXPECT_EQ(content.columns.size(), 2u);
  EXPECT_TRUE(content.rows.empty());
}

TEST_F(EtcMenuTest, KindTextsPassTheDialogTable) {
  startWithWriters("[Dialog]\r\n出力プラグイン=Output plug-in\r\n");
  const Menu::ListViewContent content = Menu::pluginListContent();
  ASSERT_EQ(content.rows.size(), 2u);
  EXPECT_EQ(content.rows[0][1], "Output plug-in");
}

TEST_F(EtcMenuTest, RowsMustFillEveryColumn) {
  Menu::ListViewContent content;
  content.addColumn("a", 10);
  content.addColumn("b", 20);
  content.addRow({"only one"});
  content.addRow({"one", "two", "three"});
  content.addRow({"one", "two"});
  EXPECT_EQ(content.rows, (std::vector<Strings>{{"one", "two"}}));
  EXPECT_EQ(content.width, 30);
}

TEST_F(EtcMenuTest, VersionMessageNamesTheProductAndVersion) {
  start();
  std::vector<Window::MessageBoxRequest> shown;
  Window::ScopedMessageBoxSink sink([&](const Window::MessageBoxRequest& request) {
    shown.push_back(request);
    return Window::MessageBoxAnswer::Ok;
  });
  choose(kEtc, "バージョン情報");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Velumo Kivrun2");
  EXPECT_EQ(shown[0].text, "Velumo Kivrun2  version 2.0.0");
  EXPECT_EQ(shown[0].icon, Window::MessageBoxIcon::Information);
  EXPECT_EQ(shown[0].buttons, Window::MessageBoxButtons::Ok);
}

}  // namespace
