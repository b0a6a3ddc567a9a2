#include "menu/file_menu.h"

#include <string>
#include <vector>

#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "output/output_service.h"
#include "ui/keyboard_code.h"
#include "ui/menu_item_list.h"
#include "ui/window_service.h"

namespace Menu {
namespace {

using Window::KeyCode;
using Window::WindowMenu::ItemList;

// The actions run long after the menu was built: each reaches the services as they are then.
void createProject() {
  if (auto* edit = Edit::EditService::instance()) edit->createProject();
}

// Asks to discard unsaved work first, so the load that follows does not ask again.
void openProject() {
  auto* edit = Edit::EditService::instance();
  if (!edit || !edit->confirmDiscard()) return;
  std::string path = edit->project.path;
  if (!Edit::editUi().chooseOpenPath(path)) return;
  edit->loadProject(path, false, true);
}

void saveProject() {
  if (auto* edit = Edit::EditService::instance()) edit->saveProjectOverwrite();
}

void saveProjectAs() {
  if (auto* edit = Edit::EditService::instance()) edit->saveProjectAs();
}

// Closing goes the way the user's close does, through the question about unsaved work.
void exitProgram() {
  if (auto* windows = Window::WindowService::instance()) windows->postCloseRequest();
}

// Whatever the save did: after a save that succeeded nothing is left to ask about, after a
// cancelled one the close asks as usual.
void saveProjectAndExit() {
  saveProject();
  exitProgram();
}

Edit::ProjectSession* session() {
  auto* edit = Edit::EditService::instance();
  return edit ? &edit->projectSession() : nullptr;
}

std::vector<std::string> recentProjects() {
  auto* projects = session();
  return projects ? projects->projectHistory.getList() : std::vector<std::string>();
}

std::vector<std::string> backedUpProjects() {
  auto* projects = session();
  return projects ? projects->backupHistory.getList() : std::vector<std::string>();
}

void openRecentProject(int index) {
  if (auto* edit = Edit::EditService::instance())
    edit->loadProject(edit->projectSession().projectHistory.getPath(index), true, true);
}

void openBackedUpProject(int index) {
  if (auto* edit = Edit::EditService::instance())
    edit->loadProject(edit->projectSession().backupHistory.getPath(index), true, true);
}

int writerCount() {
  auto* outputs = Plugin::OutputService::instance();
  return outputs ? static_cast<int>(outputs->plugins().size()) : 0;
}

std::vector<std::string> writerNames() {
  std::vector<std::string> names;
  if (auto* outputs = Plugin::OutputService::instance())
    for (const auto& writer : outputs->plugins())
      names.push_back(Window::translateMenuText(writer->name()));
  return names;
}

void exportWith(int index) {
  if (auto* outputs = Plugin::OutputService::instance()) outputs->outputFile(index);
}

}  // namespace

void FileMenu::initialize() {
  Window::BaseMenu& menu = targetMenu();
  menu.insertItem("プロジェクトを新規作成", createProject).setShortcut(KeyCode::kCtrl | 'N');
  menu.insertItem("プロジェクトを開く", openProject).setShortcut(KeyCode::kCtrl | 'O');
  {
    Window::BaseMenu recent(menu, "最近使ったプロジェクト");
    ItemList::add(recent, kHistoryItemCount, openRecentProject, recentProjects);
  }
  {
    Window::BaseMenu backups(menu, "バックアップしたプロジェクト");
    ItemList::add(backups, kHistoryItemCount, openBackedUpProject, backedUpProjects);
  }
  menu.insertSeparator();
  menu.insertItem("プロジェクトを保存", saveProject).setShortcut(KeyCode::kCtrl | 'S');
  menu.insertItem("プロジェクトを別名で保存", saveProjectAs)
      .setShortcut(KeyCode::kCtrl | KeyCode::kShift | 'S');
  menu.insertSeparator();
  {
    // The writers registered now; each can be given a key of its own, none has one at first.
    Window::BaseMenu exports(menu, "ファイル出力");
    ItemList::add(exports, writerCount(), exportWith, writerNames)
        .registerShortcuts(target->caption);
  }
  menu.insertSeparator();
  menu.insertItem("プロジェクトを保存して終了", saveProjectAndExit).setShortcut(0);
  menu.insertItem("終了", exitProgram).setShortcut(0);
}

}  // namespace Menu
