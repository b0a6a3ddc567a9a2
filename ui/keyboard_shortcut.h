#pragma once
// The keyboard shortcuts: named entries (every menu command and some other actions) with
// their current and default key codes. The user's choices are read from keyboard.ini at
// start and written back when the keyboard settings are applied; the key text is shown in
// the menu items; a key pressed while no input target has the focus runs its entry.
//
// One per process, created before the window service. UI thread only.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "system/service_holder.h"
#include "ui/keyboard_code.h"
#include "ui/keyboard_key_names.h"

namespace Window {

class RootMenu;

class Shortcut : public System::Service<Shortcut> {
 public:
  static constexpr const char* kFilePath = "%AppData%/keyboard.ini";

  struct Entry {
    std::string name;  // for a menu item: "<menu caption>:<item text>"
    int code = 0;
    int defaultCode = 0;
    std::function<void()> action;  // empty for a menu item
    RootMenu* root = nullptr;      // the menu of a menu item, which runs its command
    int commandId = 0;
    bool userCode = false;  // the code is the user's saved choice
  };

  // Adds the names of system.conf [KeyCode] (when the settings service runs) to the key
  // names, then reads keyboard.ini.
  Shortcut();
  Shortcut(const Shortcut&) = delete;
  Shortcut& operator=(const Shortcut&) = delete;

  // Reads the saved codes from keyboard.ini: sections "shortcut.0", "shortcut.1", ... up to
  // the first missing one, each with "name" and a decimal "code". The first section without
  // either, or with a code that is not a key code, ends the reading; what was read before
  // stays. A name read twice keeps its first code. A missing file saves nothing.
  void load();
  // Writes every entry whose code differs from its default, numbered from 0, and takes
  // these as the saved codes. Failures are logged, never thrown.
  void save() noexcept;

  // Appends an entry. Its code is its saved code when the user saved one, else its default
  // code unless another entry holds that key already (then none). A saved code is taken
  // from an entry that holds it only by default; an entry holding its key by the user's
  // choice keeps it, and the new entry gets none. A menu item shows the key text.
  void registerShortcut(std::string name, int defaultCode, std::function<void()> action,
                        RootMenu* root = nullptr, int commandId = 0);
  // Gives entry `index` the code (0: no key) as the keyboard settings do, and updates its
  // menu item's key text. The settings check for a key in use before they call it.
  void setCode(std::size_t index, int code);

  // The first entry whose code is `code`; none for 0.
  const Entry* findCode(int code) const;
  // The default code of the entry that holds the key with these modifier bits, or 0.
  int getDefaultCode(int virtualKey, int modifierBits) const;
  // "Ctrl+", "Shift+" and "Alt+" for the set bits, then the key's name. A key without a
  // name gives "" (logged).
  std::string getCodeName(int code) const;
  // Cuts the item's text at its first tab and, for a key text, appends a tab and the text.
  static void setMenuItemKeyText(RootMenu& root, int commandId, std::string_view keyText);
  // Removes the matching entries; the others keep their order.
  void removeIf(const std::function<bool(const Entry&)>& predicate);

  // A key press with no focused target: runs the entry of the key with its modifiers, or
  // of the key with only Alt when a Ctrl or Shift combination is unbound. A drag in
  // progress ends first. False when no entry runs (none bound, or an undo step is being
  // recorded).
  bool procKeyDown(int virtualKey, int modifierBits);

  const std::vector<Entry>& entries() const { return entries_; }
  const std::unordered_map<std::string, int>& savedCodes() const { return saved_; }
  const KeyNameTable& keyNames() const { return keyNames_; }

 private:
  Entry* findCodeEntry(int code);
  void showKeyText(const Entry& entry) const;

  KeyNameTable keyNames_;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, int> saved_;
};

}  // namespace Window
