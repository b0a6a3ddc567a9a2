#include "menu/etc_menu.h"

#include <utility>

#include "media/input/input_plugin.h"
#include "media/input/input_service.h"
#include "output/output_plugin.h"
#include "output/output_service.h"
#include "ui/dialogs/dialog_item.h"
#include "ui/message_box.h"

namespace Menu {
namespace {

constexpr int kNameColumnWidth = 550;
constexpr int kKindColumnWidth = 150;

// The list dialog that shows the content is not in the program yet; the menu gathers what
// it would show so that the lists are ready for it.
void showListView(const ListViewContent&) {}

void showPluginList() { showListView(pluginListContent()); }
void showScriptList() { showListView(scriptListContent()); }

void showVersion() {
  Window::MessageBoxRequest request;
  request.icon = Window::MessageBoxIcon::Information;
  request.buttons = Window::MessageBoxButtons::Ok;
  request.caption = kProductName;
  request.text = kVersionText;
  Window::showMessageBox(request);
}

}  // namespace

void ListViewContent::addColumn(std::string columnTitle, int columnWidth) {
  columns.push_back({std::move(columnTitle), columnWidth});
  width += columnWidth;
}

void ListViewContent::addRow(std::vector<std::string> texts) {
  if (texts.size() == columns.size()) rows.push_back(std::move(texts));
}

ListViewContent pluginListContent() {
  ListViewContent content;
  content.title = "プラグイン情報";
  content.addColumn("プラグイン", kNameColumnWidth);
  content.addColumn("種別", kKindColumnWidth);
  if (auto* inputs = Plugin::InputService::instance()) {
    const std::string kind = Dialog::translateDialogText("入力プラグイン");
    for (const auto& plugin : inputs->plugins())
      if (plugin && !plugin->information().empty())
        content.addRow({plugin->information(), kind});
  }
  if (auto* outputs = Plugin::OutputService::instance()) {
    const std::string kind = Dialog::translateDialogText("出力プラグイン");
    for (const auto& plugin : outputs->plugins())
      if (plugin && !plugin->information().empty())
        content.addRow({plugin->information(), kind});
  }
  return content;
}

ListViewContent scriptListContent() {
  ListViewContent content;
  content.title = "スクリプト情報";
  content.addColumn("スクリプト情報", kNameColumnWidth);
  content.addColumn("種別", kKindColumnWidth);
  // The effect registry does not list its scripts by folder yet: the list stays empty.
  return content;
}

void EtcMenu::initialize() {
  Window::BaseMenu& menu = targetMenu();
  menu.insertItem("プラグイン情報", showPluginList);
  menu.insertItem("スクリプト情報", showScriptList);
  menu.insertSeparator();
  menu.insertItem("バージョン情報", showVersion);
}

}  // namespace Menu
