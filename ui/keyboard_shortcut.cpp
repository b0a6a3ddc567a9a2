#include "ui/keyboard_shortcut.h"

#include <algorithm>
#include <exception>

#include "edit/undo_service.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"
#include "system/setting_service.h"
#include "ui/menu_base.h"
#include "ui/window_mouse.h"

namespace Window {
namespace {

constexpr const char* kSection = "shortcut";

bool isKeyCode(int code) {
  return code >= 0 && (code & ~(KeyCode::kKeyMask | KeyCode::kModifierMask)) == 0;
}

// A name is one line of the file: a line break in it would make keys of the next lines.
bool isStorableName(const std::string& name) {
  return name.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

Shortcut::Shortcut() {
  if (auto* settings = Setting::SettingService::instance())
    keyNames_.addNames(settings->system.keyCode);
  load();
}

void Shortcut::load() {
  saved_.clear();
  System::IniFile file;
  try {
    file.loadFile(kFilePath);
  } catch (const std::exception& exception) {
    System::Log::warn("Window::Shortcut::load", "keyboard file not read. %s", exception.what());
    return;
  }
  for (int index = 0;; ++index) {
    const System::IniFile::SectionRef section = file.getSection(kSection, index);
    if (!section.exists() || !section.hasKey("name") || !section.hasKey("code")) break;
    const auto code = System::IniFile::parseInt(section.findValue("code").text);
    if (!code || !isKeyCode(*code)) break;
    saved_.emplace(section.findValue("name").text, *code);
  }
}

void Shortcut::save() noexcept {
  try {
    const std::string path = System::FileName::expandVariable(kFilePath);
    System::Log::verbose("System::IniFile::Save::Save", "saveFile : %s", path.c_str());
    std::string text;
    int index = 0;
    for (const Entry& entry : entries_) {
      if (entry.code == entry.defaultCode) continue;
      if (!isStorableName(entry.name)) {
        System::Log::warn("Window::Shortcut::save", "shortcut name not saved. %s",
                          entry.name.c_str());
        continue;
      }
      text += "[";
      text += kSection;
      text += "." + std::to_string(index++) + "]\r\n";
      text += "name=" + entry.name + "\r\n";
      text += "code=" + std::to_string(entry.code) + "\r\n";
    }
    System::SafeFileWriter writer(path);
    writer.write(text);
    writer.commit();
    // A rebuild of the menus (a language change) registers the entries again: they keep
    // the choices just saved.
    for (const Entry& entry : entries_) {
      if (entry.code != entry.defaultCode) saved_[entry.name] = entry.code;
      else saved_.erase(entry.name);
    }
  } catch (const std::exception& exception) {
    System::Log::warn("Window::Shortcut::save", "keyboard file not saved. %s", exception.what());
  } catch (...) {
    System::Log::warn("Window::Shortcut::save", "keyboard file not saved.");
  }
}

void Shortcut::registerShortcut(std::string name, int defaultCode, std::function<void()> action,
                                RootMenu* root, int commandId) {
  Entry entry;
  entry.defaultCode = defaultCode;
  entry.action = std::move(action);
  entry.root = root;
  entry.commandId = commandId;
  if (const auto saved = saved_.find(name); saved != saved_.end()) {
    int code = saved->second;
    if (Entry* holder = findCodeEntry(code)) {
      if (holder->userCode) {
        // Two saved choices of one key: the entry registered first keeps it.
        code = 0;
      } else {
        holder->code = 0;
        showKeyText(*holder);
      }
    }
    entry.code = code;
    entry.userCode = code != 0;
  } else {
    // A default key in use stays with its holder, whether the user chose it or not.
    entry.code = findCodeEntry(defaultCode) ? 0 : defaultCode;
  }
  entry.name = std::move(name);
  showKeyText(entry);
  entries_.push_back(std::move(entry));
}

void Shortcut::setCode(std::size_t index, int code) {
  Entry& entry = entries_.at(index);
  entry.code = code;
  entry.userCode = code != entry.defaultCode;
  showKeyText(entry);
}

Shortcut::Entry* Shortcut::findCodeEntry(int code) {
  if (code == 0) return nullptr;
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [code](const Entry& entry) { return entry.code == code; });
  return found == entries_.end() ? nullptr : &*found;
}

const Shortcut::Entry* Shortcut::findCode(int code) const {
  return const_cast<Shortcut*>(this)->findCodeEntry(code);
}

int Shortcut::getDefaultCode(int virtualKey, int modifierBits) const {
  const Entry* entry = findCode((virtualKey & KeyCode::kKeyMask) | modifierBits);
  return entry ? entry->defaultCode : 0;
}

std::string Shortcut::getCodeName(int code) const {
  const std::string* name = keyNames_.find(code);
  if (!name) {
    System::Log::warn("Window::Shortcut::getCodeName", "invalid shortcut key code. %08x",
                      static_cast<unsigned>(code));
    return {};
  }
  std::string text;
  if (code & KeyCode::kCtrl) text += "Ctrl+";
  if (code & KeyCode::kShift) text += "Shift+";
  if (code & KeyCode::kAlt) text += "Alt+";
  return text + *name;
}

void Shortcut::setMenuItemKeyText(RootMenu& root, int commandId, std::string_view keyText) {
  root.setItemKeyText(commandId, keyText);
}

void Shortcut::showKeyText(const Entry& entry) const {
  if (entry.root) setMenuItemKeyText(*entry.root, entry.commandId, getCodeName(entry.code));
}

void Shortcut::removeIf(const std::function<bool(const Entry&)>& predicate) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), predicate), entries_.end());
}

bool Shortcut::procKeyDown(int virtualKey, int modifierBits) {
  const int code = (virtualKey & KeyCode::kKeyMask) | (modifierBits & KeyCode::kModifierMask);
  const Entry* entry = findCode(code);
  if (!entry) {
    // An unbound Ctrl or Shift combination falls back to the key alone (Alt kept).
    const int alone = code & (KeyCode::kKeyMask | KeyCode::kAlt);
    if (alone == code || (alone & KeyCode::kKeyMask) == 0) return false;
    entry = findCode(alone);
    if (!entry) return false;
  }
  // The entry may be removed by what it runs (a language change rebuilds the menus).
  RootMenu* root = entry->root;
  const int commandId = entry->commandId;
  const std::function<void()> action = entry->action;
  if (auto* mice = WindowMouseService::instance()) mice->cancelDrag();
  if (auto* undo = Undo::UndoService::instance(); undo && undo->isRecording()) return false;
  if (root) root->runCommand(commandId);
  else if (action) action();
  return true;
}

}  // namespace Window
