// The File menu in the manager window's bar: its items and keys, the history sub-menus, the
// export writers, what opening and leaving do, and the rebuild after a language change.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "edit/edit_test_support.h"
#include "edit/scripted_edit_ui.h"
#include "menu/main_menu.h"
#include "output/output_service.h"
#include "system/active_language.h"
#include "system/fake_ui_bridge.h"
#include "system/scoped_install_folder.h"
#include "system/service_holder.h"
#include "system/translate_service.h"
#include "ui/keyboard_shortcut.h"
#include "ui/menu_bar.h"
#include "ui/window_service.h"

namespace {

using Strings = std::vector<std::string>;
using Window::KeyCode;
using Window::WindowMenuManager;

// A writer that counts how often the user chose it and then cancels its save dialog.
class CountingWriter final : public Plugin::OutputPlugin {
 public:
  explicit CountingWriter(std::string name)
      : OutputPlugin(std::move(name), {{"Test (*.tst)", "*.tst"}}, {}, Plugin::kWriterVideo) {}
  std::shared_ptr<Plugin::OutputFile> openFile() override {
    ++chosen;
    return nullptr;
  }
  int chosen = 0;
};

const Strings kJapaneseItems = {"プロジェクトを新規作成\tCtrl+N",
                                "プロジェクトを開く\tCtrl+O",
                                "最近使ったプロジェクト",
                                "バックアップしたプロジェクト",
                                "-",
                                "プロジェクトを保存\tCtrl+S",
                                "プロジェクトを別名で保存\tCtrl+Shift+S",
                                "-",
                                "ファイル出力",
                                "-",
                                "プロジェクトを保存して終了",
                                "終了"};

Strings texts(const QWidget* menu) {
  Strings result;
  for (const QAction* action : menu->actions())
    result.push_back(action->isSeparator() ? "-" : action->text().toStdString());
  return result;
}

class FileMenuTest : public ::testing::Test {
 protected:
  ~FileMenuTest() override {
    // Items of a rebuilt menu are deleted once control is back in the loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // The services in their start-up order, then the main menu. `languageFile` makes a
  // language active first.
  void start(std::vector<std::string> writerNames = {}, const char* languageFile = nullptr) {
    if (languageFile) language_.emplace(languageFile);
    install_.emplace();
    events_.emplace();
    shortcuts_.emplace();
    windows_.emplace();
    Plugin::OutputService::PluginList writers;
    for (auto& name : writerNames) writers.push_back(std::make_shared<CountingWriter>(name));
    outputs_.emplace(std::move(writers));
    edit_.emplace();
    menu_.emplace();
  }
  // Releases what start made, in reverse order.
  void stop() {
    menu_.reset();
    edit_.reset();
    outputs_.reset();
    windows_.reset();
    shortcuts_.reset();
    events_.reset();
    install_.reset();
    language_.reset();
  }

  static WindowMenuManager& bar() { return Window::WindowService::instance()->menuManager(); }
  static QMenu* fileMenu() {
    return qobject_cast<QMenu*>(bar().topMenu(WindowMenuManager::File).handle());
  }
  static QAction* item(const QWidget* menu, const std::string& text) {
    for (QAction* action : menu->actions())
      if (action->text().toStdString() == text) return action;
    return nullptr;
  }
  static QMenu* subMenu(const std::string& caption) {
    QAction* action = item(fileMenu(), caption);
    return action ? action->menu() : nullptr;
  }
  // Opens the File menu as the user does and closes it again: the bar refreshes its lists.
  static void openFileMenu() {
    fileMenu()->popup(QPoint(0, 0));
    fileMenu()->hide();
  }
  // Chooses the entry of a sub-menu as it shows after the File menu was opened.
  static void chooseIn(const std::string& caption, const std::string& entry) {
    QMenu* menu = subMenu(caption);
    ASSERT_NE(menu, nullptr) << caption;
    QAction* action = item(menu, entry);
    ASSERT_NE(action, nullptr) << entry;
    action->trigger();
  }
  static void choose(const std::string& text) {
    QAction* action = item(fileMenu(), text);
    ASSERT_NE(action, nullptr) << text;
    action->trigger();
  }

  Edit::EditService& edit() { return edit_->edit(); }
  Edit::ProjectSession& session() { return edit().projectSession(); }
  CountingWriter& writer(std::size_t index) {
    return static_cast<CountingWriter&>(*Plugin::OutputService::instance()->plugins().at(index));
  }
  // A project file that can be opened.
  std::string projectFile(const std::string& name) {
    const std::string path = install_->folder().path() + "/" + name;
    EXPECT_TRUE(edit().saveProject(path, true)) << path;
    return path;
  }
  // Answers the discard question and records it.
  void answerDiscard(bool answer) {
    ui_.onConfirm = [this, answer](const std::string& text, const std::string&) {
      questions.push_back(text);
      return answer;
    };
  }

  TestSupport::ScriptedEditUi ui_;
  Strings questions;
  std::optional<TestSupport::ActiveLanguage> language_;
  std::optional<TestSupport::ScopedInstallFolder> install_;
  std::optional<System::ServiceHolder<Event::EventService>> events_;
  std::optional<System::ServiceHolder<Window::Shortcut>> shortcuts_;
  std::optional<System::ServiceHolder<Window::WindowService>> windows_;
  std::optional<System::ServiceHolder<Plugin::OutputService>> outputs_;
  std::optional<TestSupport::EditServices> edit_;
  std::optional<System::ServiceHolder<Menu::MainMenu>> menu_;
};

TEST_F(FileMenuTest, TheItemsComeInOrderWithTheirDefaultKeys) {
  start();
  EXPECT_EQ(texts(fileMenu()), kJapaneseItems);

  struct Expected {
    const char* name;
    int defaultCode;
  };
  const Expected expected[] = {
      {"ファイル:プロジェクトを新規作成", KeyCode::kCtrl | 'N'},
      {"ファイル:プロジェクトを開く", KeyCode::kCtrl | 'O'},
      {"ファイル:プロジェクトを保存", KeyCode::kCtrl | 'S'},
      {"ファイル:プロジェクトを別名で保存", KeyCode::kCtrl | KeyCode::kShift | 'S'},
      {"ファイル:プロジェクトを保存して終了", 0},
      {"ファイル:終了", 0},
  };
  // The File menu is built first; the other menus' entries follow.
  const auto& entries = Window::Shortcut::instance()->entries();
  ASSERT_GT(entries.size(), std::size(expected));
  EXPECT_NE(entries[std::size(expected)].name.rfind("ファイル:", 0), 0u);
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(entries[i].name, expected[i].name);
    EXPECT_EQ(entries[i].defaultCode, expected[i].defaultCode);
    EXPECT_EQ(entries[i].code, expected[i].defaultCode);
    EXPECT_EQ(entries[i].root, &bar());
  }
}

TEST_F(FileMenuTest, ReleasingTheMainMenuLeavesItsItemsInTheBar) {
  start();
  menu_.reset();
  EXPECT_EQ(texts(fileMenu()), kJapaneseItems);
  int offered = 0;
  ui_.onChooseOpenPath = [&](std::string&) {
    ++offered;
    return false;
  };
  EXPECT_TRUE(Window::Shortcut::instance()->procKeyDown('O', KeyCode::kCtrl));
  EXPECT_EQ(offered, 1);
}

TEST_F(FileMenuTest, ANewInstallationShowsEmptySubMenus) {
  start();
  openFileMenu();
  for (const char* caption : {"最近使ったプロジェクト", "バックアップしたプロジェクト", "ファイル出力"}) {
    SCOPED_TRACE(caption);
    QMenu* menu = subMenu(caption);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().isEmpty());
  }
}

TEST_F(FileMenuTest, RecentProjectsAreNumberedNewestFirstAndFollowTheHistory) {
  start();
  const std::string a = projectFile("a.vlp2");
  const std::string b = projectFile("b.vlp2");
  const std::string c = projectFile("c.vlp2");
  for (const std::string& path : {a, b, c}) session().projectHistory.add(path);

  openFileMenu();
  EXPECT_EQ(texts(subMenu("最近使ったプロジェクト")), (Strings{"&1 " + c, "&2 " + b, "&3 " + a}));

  // Unsaved work is asked about first: keeping it opens nothing.
  Undo::UndoService::instance()->modified = true;
  answerDiscard(false);
  chooseIn("最近使ったプロジェクト", "&3 " + a);
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(edit().project.path, "");

  answerDiscard(true);
  chooseIn("最近使ったプロジェクト", "&3 " + a);
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(edit().project.path, a);

  openFileMenu();
  EXPECT_EQ(texts(subMenu("最近使ったプロジェクト")), (Strings{"&1 " + a, "&2 " + c, "&3 " + b}));
}

TEST_F(FileMenuTest, AVanishedRecentProjectIsReportedAndStaysInTheList) {
  TestSupport::FakeUiBridge bridge;
  start();
  const std::string kept = projectFile("kept.vlp2");
  const std::string gone = projectFile("gone.vlp2");
  session().projectHistory.add(gone);
  session().projectHistory.add(kept);
  ASSERT_EQ(std::remove(gone.c_str()), 0);

  openFileMenu();
  chooseIn("最近使ったプロジェクト", "&2 " + gone);
  ASSERT_EQ(bridge.boxes.size(), 1u);
  EXPECT_EQ(bridge.boxes[0].text, "指定のファイルが存在しません");
  EXPECT_EQ(edit().project.path, "");
  openFileMenu();
  EXPECT_EQ(texts(subMenu("最近使ったプロジェクト")), (Strings{"&1 " + kept, "&2 " + gone}));
}

TEST_F(FileMenuTest, BackedUpProjectsOpenUnderTheirOwnPath) {
  start();
  const std::string older = projectFile("AutoBackup_1.vlp2");
  const std::string newer = projectFile("AutoBackup_2.vlp2");
  session().backupHistory.add(older);
  session().backupHistory.add(newer);

  openFileMenu();
  EXPECT_EQ(texts(subMenu("バックアップしたプロジェクト")),
            (Strings{"&1 " + newer, "&2 " + older}));
  chooseIn("バックアップしたプロジェクト", "&2 " + older);
  EXPECT_EQ(edit().project.path, older);
  EXPECT_EQ(session().projectHistory.getPath(0), older);
}

TEST_F(FileMenuTest, EachWriterIsAnUnnumberedExportEntryWithAShortcutName) {
  start({"動画出力", "連番画像出力"});
  openFileMenu();
  EXPECT_EQ(texts(subMenu("ファイル出力")), (Strings{"動画出力", "連番画像出力"}));

  Strings names;
  for (const auto& entry : Window::Shortcut::instance()->entries()) {
    if (entry.name.find("出力") == std::string::npos) continue;
    names.push_back(entry.name);
    EXPECT_EQ(entry.defaultCode, 0) << entry.name;
  }
  EXPECT_EQ(names, (Strings{"ファイル:動画出力", "ファイル:連番画像出力"}));

  chooseIn("ファイル出力", "連番画像出力");
  EXPECT_EQ(writer(0).chosen, 0);
  EXPECT_EQ(writer(1).chosen, 1);
}

TEST_F(FileMenuTest, CtrlOOpensTheChosenProjectAfterOneQuestion) {
  start();
  const std::string path = projectFile("chosen.vlp2");
  Strings offered;
  ui_.onChooseOpenPath = [&](std::string& proposed) {
    offered.push_back(proposed);
    proposed = path;
    return true;
  };
  Undo::UndoService::instance()->modified = true;
  answerDiscard(false);

  // Keeping the unsaved work ends the command before the dialog.
  EXPECT_TRUE(Window::Shortcut::instance()->procKeyDown('O', KeyCode::kCtrl));
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_TRUE(offered.empty());

  answerDiscard(true);
  EXPECT_TRUE(Window::Shortcut::instance()->procKeyDown('O', KeyCode::kCtrl));
  // The dialog starts at the project's path, empty for a project never saved; the load
  // does not ask a second time.
  EXPECT_EQ(offered, Strings{""});
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(edit().project.path, path);
  EXPECT_EQ(session().projectHistory.getPath(0), path);

  // A cancelled dialog leaves the open project.
  ui_.onChooseOpenPath = [&](std::string& proposed) {
    offered.push_back(proposed);
    return false;
  };
  EXPECT_TRUE(Window::Shortcut::instance()->procKeyDown('O', KeyCode::kCtrl));
  EXPECT_EQ(offered, (Strings{"", path}));
  EXPECT_EQ(edit().project.path, path);
}

TEST_F(FileMenuTest, LeavingGoesThroughTheUsualCloseQuestion) {
  struct Case {
    const char* item;
    bool hasPath;      // the project was saved before: "save and exit" saves it silently
    bool answer;       // to the discard question
    bool asked;
    bool quits;
  };
  const Case cases[] = {
      {"終了", false, false, true, false},
      {"終了", false, true, true, true},
      {"プロジェクトを保存して終了", true, false, false, true},
      // The save asks for a path and is cancelled: the close asks as usual.
      {"プロジェクトを保存して終了", false, false, true, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.item) + (test.hasPath ? " with a path" : "") +
                 (test.answer ? ", discarding" : ", keeping"));
    start();
    Window::WindowService::instance()->setCloseQuery(
        [] { return Edit::EditService::instance()->confirmDiscard(); });
    if (test.hasPath) edit().project.path = projectFile("saved.vlp2");
    Undo::UndoService::instance()->modified = true;
    questions.clear();
    answerDiscard(test.answer);

    choose(test.item);
    // Nothing closes from inside the command.
    EXPECT_TRUE(questions.empty());
    QCoreApplication::sendPostedEvents();

    EXPECT_EQ(questions.size(), test.asked ? 1u : 0u);
    EXPECT_EQ(Window::WindowService::instance()->isQuitRequested(), test.quits);
    EXPECT_EQ(Undo::UndoService::instance()->modified, !test.hasPath);
    stop();
  }
}

// A language whose menu table holds the File menu.
constexpr const char* kEnglish =
    "[Menu]\r\n"
    "ファイル=File\r\n"
    "プロジェクトを新規作成=New project\r\n"
    "プロジェクトを開く=Open project\r\n"
    "最近使ったプロジェクト=Recent projects\r\n"
    "バックアップしたプロジェクト=Backups\r\n"
    "プロジェクトを保存=Save project\r\n"
    "プロジェクトを別名で保存=Save project as\r\n"
    "ファイル出力=Export\r\n"
    "動画出力=Video\r\n"
    "プロジェクトを保存して終了=Save and exit\r\n"
    "終了=Exit\r\n";

TEST_F(FileMenuTest, ALanguageChangeBuildsTheSameItemsAgainWithoutStaleHandles) {
  start({"動画出力"}, kEnglish);
  EXPECT_EQ(texts(fileMenu()),
            (Strings{"New project\tCtrl+N", "Open project\tCtrl+O", "Recent projects", "Backups",
                     "-", "Save project\tCtrl+S", "Save project as\tCtrl+Shift+S", "-", "Export",
                     "-", "Save and exit", "Exit"}));
  openFileMenu();
  EXPECT_EQ(texts(subMenu("Export")), Strings{"Video"});
  EXPECT_EQ(Window::Shortcut::instance()->entries().at(1).name, "File:Open project");
  const std::size_t commands = bar().commandCount();

  auto& translation = *Translate::TranslateService::instance();
  translation.language.clear();
  translation.updateLanguage();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  Strings expected = kJapaneseItems;
  EXPECT_EQ(texts(fileMenu()), expected);
  EXPECT_EQ(bar().commandCount(), commands);
  EXPECT_EQ(bar().itemLists().size(), 3u);
  Strings names;
  for (const auto& entry : Window::Shortcut::instance()->entries())
    if (entry.name.rfind("ファイル:", 0) == 0) names.push_back(entry.name);
  EXPECT_EQ(names, (Strings{"ファイル:プロジェクトを新規作成", "ファイル:プロジェクトを開く",
                            "ファイル:プロジェクトを保存", "ファイル:プロジェクトを別名で保存",
                            "ファイル:動画出力", "ファイル:プロジェクトを保存して終了",
                            "ファイル:終了"}));

  // The new items run and refresh: a key, a history entry, an export entry.
  int opened = 0;
  ui_.onChooseOpenPath = [&](std::string&) {
    ++opened;
    return false;
  };
  EXPECT_TRUE(Window::Shortcut::instance()->procKeyDown('O', KeyCode::kCtrl));
  EXPECT_EQ(opened, 1);
  session().projectHistory.add("/projects/new.vlp2");
  openFileMenu();
  EXPECT_EQ(texts(subMenu("最近使ったプロジェクト")), Strings{"&1 /projects/new.vlp2"});
  chooseIn("ファイル出力", "動画出力");
  EXPECT_EQ(writer(0).chosen, 1);
}

}  // namespace
