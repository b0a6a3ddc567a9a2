// The keyboard shortcuts: key names, the toolkit's keys, keyboard.ini, which entry holds a
// key, and a key press running its entry.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "edit/undo_service.h"
#include "system/file.h"
#include "system/log_capture.h"
#include "system/scoped_install_folder.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"
#include "ui/keyboard_code.h"
#include "ui/keyboard_shortcut.h"
#include "ui/menu_bar.h"
#include "ui/virtual_key.h"
#include "ui/window_mouse.h"
#include "ui/window_service.h"

namespace {

using Window::KeyCode;
using Window::Shortcut;
constexpr int kCtrl = KeyCode::kCtrl;
constexpr int kShift = KeyCode::kShift;
constexpr int kAlt = KeyCode::kAlt;

// The shortcut manager over an install folder of its own, so keyboard.ini is the test's.
class Shortcuts : public ::testing::Test {
 protected:
  Shortcut& shortcut() { return *Shortcut::instance(); }
  std::string keyboardFile() const { return install_.folder() / "data/keyboard.ini"; }
  void writeKeyboardFile(const std::string& text) const {
    install_.folder().writeFile("data/keyboard.ini", text);
  }
  // A new manager, as at the next start of the program.
  void restart() {
    holder_.reset();
    holder_.emplace();
  }

  TestSupport::ScopedInstallFolder install_;
  std::optional<System::ServiceHolder<Shortcut>> holder_{std::in_place};
};

TEST_F(Shortcuts, ACodeShowsItsModifiersAndTheKeyName) {
  struct Case {
    int code;
    const char* text;
  };
  const Case cases[] = {
      {'A' | kCtrl, "Ctrl+A"},
      {'7' | kCtrl | kShift | kAlt, "Ctrl+Shift+Alt+7"},
      {46 | kAlt, "Alt+Delete"},
      {8, "BackSpace"},
      {13 | kShift, "Shift+Enter"},
      {33, "PageUp"},
      {38, "↑"},
      {37 | kCtrl, "Ctrl+←"},
      {96, "0 (NumPad)"},
      {105, "9 (NumPad)"},
      {106, "* (NumPad)"},
      {111, "/ (NumPad)"},
      {112, "F1"},
      {123, "F12"},
      {0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(shortcut().getCodeName(c.code), c.text) << c.code;

  TestSupport::LogCapture log;
  EXPECT_EQ(shortcut().getCodeName(124 | kCtrl), "");
  EXPECT_EQ(log.texts("WARN"), (std::vector<std::string>{"invalid shortcut key code. 0000407c"}));
}

TEST(KeyNames, SystemConfKeyCodesAddAndReplaceNames) {
  TestSupport::TempFolder install;
  install.makeFolder("data");
  install.writeFile("style.conf",
                    "[Layout]\r\nSettingItemHeight=18\r\nExplorerHeaderHeight=26\r\n"
                    "ListItemHeight=19\r\n");
  install.writeFile("system.conf",
                    "[KeyCode]\r\n65=\r\n66=Bee\r\n192=@\r\nx=bad\r\n8195=Masked\r\n");
  System::FileName::resetVariableList(install.path());
  {
    System::ServiceHolder<Setting::SettingService> settings;
    System::ServiceHolder<Shortcut> shortcuts;
    struct Case {
      int code;
      const char* text;
    };
    const Case cases[] = {{'A' | kCtrl, "Ctrl+A"}, {'B' | kAlt, "Alt+Bee"}, {192, "@"},
                          {3 | kShift, "Shift+Masked"}, {191, ""}};
    for (const Case& c : cases)
      EXPECT_EQ(Shortcut::instance()->getCodeName(c.code), c.text) << c.code;
  }
  System::FileName::resetVariableList();
}

TEST(KeyCodes, ToolkitKeysBecomeVirtualKeys) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    int virtualKey;
  };
  const Case cases[] = {
      {Qt::Key_A, Qt::NoModifier, 0x41},     {Qt::Key_Z, Qt::ControlModifier, 0x5a},
      {Qt::Key_5, Qt::NoModifier, '5'},      {Qt::Key_5, Qt::KeypadModifier, 0x65},
      {Qt::Key_Plus, Qt::KeypadModifier, 0x6b}, {Qt::Key_Slash, Qt::KeypadModifier, 0x6f},
      {Qt::Key_Exclam, Qt::ShiftModifier, '1'}, {Qt::Key_F1, Qt::NoModifier, 112},
      {Qt::Key_F12, Qt::NoModifier, 123},    {Qt::Key_Delete, Qt::NoModifier, 46},
      {Qt::Key_Return, Qt::NoModifier, 13},  {Qt::Key_Enter, Qt::KeypadModifier, 13},
      {Qt::Key_Left, Qt::NoModifier, 37},    {Qt::Key_Down, Qt::NoModifier, 40},
      {Qt::Key_Space, Qt::NoModifier, 32},   {Qt::Key_Semicolon, Qt::NoModifier, 0xba},
      {Qt::Key_unknown, Qt::NoModifier, 0},  {Qt::Key_VolumeUp, Qt::NoModifier, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Window::VirtualKey::fromQtKey(c.key, c.modifiers), c.virtualKey) << c.key;
  EXPECT_EQ(Window::modifierBitsFromQt(Qt::ControlModifier | Qt::AltModifier), kCtrl | kAlt);
  EXPECT_EQ(Window::modifierBitsFromQt(Qt::ShiftModifier | Qt::KeypadModifier), kShift);
}

TEST_F(Shortcuts, ReadingTheKeyboardFileEndsAtTheFirstBadOrMissingSection) {
  struct Case {
    const char* file;
    std::unordered_map<std::string, int> saved;
  };
  const Case cases[] = {
      {"[shortcut.0]\r\nname=a\r\ncode=65\r\n[shortcut.2]\r\nname=b\r\ncode=66\r\n",
       {{"a", 65}}},
      {"[shortcut.0]\r\nname=a\r\ncode=65\r\n[shortcut.1]\r\nname=b\r\n"
       "[shortcut.2]\r\nname=c\r\ncode=67\r\n",
       {{"a", 65}}},
      {"[shortcut.0]\r\nname=a\r\ncode=x65\r\n", {}},
      {"[shortcut.0]\r\nname=a\r\ncode=0\r\n[shortcut.1]\r\nname=b\r\ncode=99999999\r\n",
       {{"a", 0}}},
      {"[shortcut.0]\r\nname=a\r\ncode=65\r\n[shortcut.1]\r\nname=a\r\ncode=66\r\n",
       {{"a", 65}}},
      {"garbage", {}},
  };
  for (const Case& c : cases) {
    writeKeyboardFile(c.file);
    shortcut().load();
    EXPECT_EQ(shortcut().savedCodes(), c.saved) << c.file;
  }
}

TEST_F(Shortcuts, SavedChoicesComeBackAtTheNextStart) {
  shortcut().registerShortcut("ファイル:開く", 'O' | kCtrl, [] {});
  shortcut().registerShortcut("ファイル:保存", 'S' | kCtrl, [] {});
  shortcut().registerShortcut("編集:削除", 46, [] {});
  shortcut().setCode(0, 'P' | kCtrl);
  shortcut().setCode(2, 0);
  shortcut().save();
  EXPECT_EQ(TestSupport::readWholeFile(keyboardFile()),
            "[shortcut.0]\r\nname=ファイル:開く\r\ncode=16464\r\n"
            "[shortcut.1]\r\nname=編集:削除\r\ncode=0\r\n");

  restart();
  shortcut().registerShortcut("ファイル:開く", 'O' | kCtrl, [] {});
  shortcut().registerShortcut("ファイル:保存", 'S' | kCtrl, [] {});
  shortcut().registerShortcut("編集:削除", 46, [] {});
  const auto& entries = shortcut().entries();
  EXPECT_EQ(entries[0].code, 'P' | kCtrl);
  EXPECT_EQ(entries[1].code, 'S' | kCtrl);
  EXPECT_EQ(entries[2].code, 0);

  // Every default restored: nothing to keep.
  shortcut().setCode(0, 'O' | kCtrl);
  shortcut().setCode(2, 46);
  shortcut().save();
  EXPECT_EQ(TestSupport::readWholeFile(keyboardFile()), "");
}

TEST_F(Shortcuts, ASavedKeyIsNeverTakenByAnotherEntrysDefault) {
  // Each case: the saved file, then entries registered in order (name, default); the codes
  // they end with.
  struct Entry {
    const char* name;
    int defaultCode;
    int code;
  };
  struct Case {
    const char* label;
    const char* file;
    std::vector<Entry> entries;
  };
  const int save = 'S' | kCtrl;
  const Case cases[] = {
      {"one default, two entries", "", {{"a", save, save}, {"b", save, 0}}},
      {"saved first, default later",
       "[shortcut.0]\r\nname=a\r\ncode=16467\r\n",
       {{"a", 'A', save}, {"b", save, 0}}},
      {"default first, saved later",
       "[shortcut.0]\r\nname=b\r\ncode=16467\r\n",
       {{"a", save, 0}, {"b", 'B', save}}},
      {"one key saved twice",
       "[shortcut.0]\r\nname=a\r\ncode=16467\r\n[shortcut.1]\r\nname=b\r\ncode=16467\r\n",
       {{"a", 'A', save}, {"b", 'B', 0}}},
      {"a removed key stays removed",
       "[shortcut.0]\r\nname=a\r\ncode=0\r\n",
       {{"a", save, 0}, {"b", save, save}}},
  };
  for (const Case& c : cases) {
    writeKeyboardFile(c.file);
    restart();
    for (const Entry& entry : c.entries)
      shortcut().registerShortcut(entry.name, entry.defaultCode, [] {});
    for (std::size_t i = 0; i < c.entries.size(); ++i)
      EXPECT_EQ(shortcut().entries()[i].code, c.entries[i].code) << c.label << " " << i;
  }
}

TEST_F(Shortcuts, AKeyRunsItsEntryOrTheEntryOfTheKeyAlone) {
  std::string ran;
  shortcut().registerShortcut("delete", 46, [&] { ran += "delete,"; });
  shortcut().registerShortcut("select", 'A', [&] { ran += "a,"; });
  shortcut().registerShortcut("all", 'A' | kCtrl, [&] { ran += "ctrl+a,"; });
  struct Case {
    int key;
    int modifiers;
    bool handled;
    const char* ran;
  };
  const Case cases[] = {
      {46, 0, true, "delete,"},
      {46, kShift, true, "delete,"},
      {46, kAlt, false, ""},
      {46, kCtrl | kAlt, false, ""},
      {'A', kCtrl, true, "ctrl+a,"},
      {'A', kCtrl | kShift, true, "a,"},
      {'B', 0, false, ""},
  };
  for (const Case& c : cases) {
    ran.clear();
    EXPECT_EQ(shortcut().procKeyDown(c.key, c.modifiers), c.handled)
        << c.key << " " << c.modifiers;
    EXPECT_EQ(ran, c.ran) << c.key << " " << c.modifiers;
  }
  EXPECT_EQ(shortcut().getDefaultCode('A', kCtrl), 'A' | kCtrl);
  EXPECT_EQ(shortcut().getDefaultCode('Q', 0), 0);
}

TEST_F(Shortcuts, NothingRunsWhileAnUndoStepIsRecorded) {
  System::ServiceHolder<Undo::UndoService> undo;
  int runs = 0;
  shortcut().registerShortcut("x", 'X', [&] { ++runs; });
  Undo::UndoService::instance()->beginStep();
  EXPECT_FALSE(shortcut().procKeyDown('X', 0));
  Undo::UndoService::instance()->discardStep();
  EXPECT_TRUE(shortcut().procKeyDown('X', 0));
  EXPECT_EQ(runs, 1);
}

TEST_F(Shortcuts, AMenuItemShowsItsKeyAndRunsThroughTheMenu) {
  Window::WindowMenuManager bar;
  int opened = 0;
  Window::BaseMenu& file = bar.topMenu(Window::WindowMenuManager::File);
  Window::MenuItem open = file.insertItem("開く", [&] { ++opened; }).setShortcut('O' | kCtrl);
  Window::MenuItem none = file.insertItem("閉じる", [] {}).setShortcut(0);
  EXPECT_EQ(open.action()->text().toStdString(), "開く\tCtrl+O");
  EXPECT_EQ(none.action()->text().toStdString(), "閉じる");
  EXPECT_EQ(shortcut().entries().at(0).name, "ファイル:開く");

  EXPECT_TRUE(shortcut().procKeyDown('O', kCtrl));
  EXPECT_EQ(opened, 1);

  shortcut().setCode(0, 0);
  EXPECT_EQ(open.action()->text().toStdString(), "開く");
  shortcut().setCode(0, 'P' | kCtrl | kShift);
  EXPECT_EQ(open.action()->text().toStdString(), "開く\tCtrl+Shift+P");
}

TEST_F(Shortcuts, AKeyEventOfTheWindowRunsItsShortcut) {
  System::ServiceHolder<Window::WindowService> window;
  int saves = 0;
  shortcut().registerShortcut("save", 'S' | kCtrl, [&] { ++saves; });
  QWidget* manager = Window::WindowService::instance()->window();

  QKeyEvent press(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier);
  QCoreApplication::sendEvent(manager, &press);
  EXPECT_EQ(saves, 1);
  // Without Ctrl the key is another one.
  QKeyEvent plain(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier);
  QCoreApplication::sendEvent(manager, &plain);
  EXPECT_EQ(saves, 1);

  // While the menus are grey (an export runs) no shortcut runs.
  Window::WindowService::instance()->setMenuHook([] {});
  QKeyEvent blocked(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier);
  QCoreApplication::sendEvent(manager, &blocked);
  Window::WindowService::instance()->setMenuHook({});
  EXPECT_EQ(saves, 1);
}

}  // namespace
