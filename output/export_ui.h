#pragma once
// What an export needs of the user interface: the save dialog, the footer's progress, the
// menus that grey while an export runs, the abort question and the completion notice. The
// UI installs an implementation at start-up; without one (tests, benchmarks, a headless
// run) the save dialog answers "cancel", the question "no", and the rest only logs.
#include <optional>
#include <string>
#include <vector>

#include "system/file.h"

namespace Plugin {

class OutputPlugin;

class ExportUi {
 public:
  virtual ~ExportUi() = default;
  // The save dialog titled `title` with `filter`; with the writer's settings button and
  // text when `settings` is given. The chosen path, or empty when the user cancelled.
  virtual std::string chooseSavePath(const std::string& title, const System::Filter& filter,
                                     OutputPlugin* settings) {
    return {};
  }
  // The footer's status: a text (untranslated; the footer looks it up in the message table),
  // its detail and a progress fraction (0 to 1). An empty text clears it.
  virtual void setStatus(const std::string& text, const std::string& detail, float fraction) {}
  // Greys the editing menus while an export runs (false) and enables them again (true);
  // while they are grey the window drops editing input, and closing or Esc asks
  // `abortQuestion` of the service instead.
  virtual void enableMenus(bool enable) {}
  // Asks with OK and Cancel; true for OK.
  virtual bool confirm(const std::string& text, const std::string& caption) { return false; }
  // A pop-up menu of radio items at the mouse, `checked` marked: the chosen index, or -1
  // when the menu was dismissed.
  virtual int choosePopupItem(const std::vector<std::string>& items, int checked) { return -1; }
  // A modal dialog titled `title` with one integer field `label` holding `value`, accepting
  // only `minimum` to `maximum`: the value on OK, nothing on cancel.
  virtual std::optional<int> askInteger(const std::string& title, const std::string& label,
                                        int value, int minimum, int maximum) {
    return std::nullopt;
  }
  // The completion balloon: shown for five seconds, removed at exit.
  virtual void showNotice(const std::string& title, const std::string& text) {}
};

// Installs the UI (nullptr removes it). On the UI thread, before and after the loop runs.
void setExportUi(ExportUi* ui);
ExportUi& exportUi();

}  // namespace Plugin
