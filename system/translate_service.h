#pragma once
// The translation service: every text a user sees passes through one of its five tables
// before it is shown, and a text no table holds is shown unchanged.
//
// The language in use is the user parameter "Language" of the section [Translate]: empty for
// none, "*" for the automatic choice (the first language file found, unless the user's
// interface language is Japanese, in which the program's own texts are written), otherwise
// the title of a language file %Language%/<title>.vll2. Changing it reloads the tables and
// runs the refresh callbacks of the parts that show translated texts (menus, windows,
// shortcut tables), which register themselves when they are built.
//
// Everything here runs on the UI thread. Lookups take no lock; the tables change only in
// loadLanguage, which must not overlap a lookup on another thread.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "system/config.h"
#include "system/service_holder.h"
#include "system/translate_table.h"

namespace Translate {

// True while the service's tables hold a loaded language. Callers translate only while it
// is set; when it is clear, texts are used as they are.
bool isLanguageActive();

class TranslateService : public System::Service<TranslateService> {
 public:
  // The kinds of text, one table each, in the order of the language file's sections.
  enum class TextKind { Effect, Message, Menu, Dialog, Name };

  // What a language change refreshes, in the order it runs. Callbacks of one step run in
  // the order they were added.
  enum class RefreshStep {
    // The top-level menus lose their items, the shortcut manager drops its menu-bound
    // entries, the menu tables of the window service are emptied and its cached pop-up
    // menus destroyed.
    ClearMenus,
    // Each menu of the menu bar, in the order File, Edit, Display, Setting, Etc, re-applies
    // its caption and builds its items again.
    RebuildMenus,
    // The menu bar and the manager window are drawn again.
    RedrawWindow,
    // An edit-update scope with every refresh flag set is opened and closed: the setting
    // windows are rebuilt and the change events make every component redraw its texts.
    RefreshViews,
  };
  using RefreshCallback = std::function<void()>;
  using RefreshId = uint64_t;

  // Binds [Translate] to the parameter store (none in tests: the default "*" is used and
  // nothing is saved) and loads the language it names.
  TranslateService();
  // Turns translation off; the section is saved into the parameter store.
  ~TranslateService();
  TranslateService(const TranslateService&) = delete;
  TranslateService& operator=(const TranslateService&) = delete;

  // The Menu table's translation while a language is active, else `text` itself. The
  // result views either the table or the characters `text` views.
  std::string_view translateString(std::string_view text) const;
  // The same through the table of one kind of text.
  std::string_view translate(TextKind kind, std::string_view text) const;
  const TranslateTable& table(TextKind kind) const;

  // (Re)loads the five tables from the file "Language" names and sets the language-active
  // flag. "*" is resolved here once, and the resolved title is what is saved. A missing file
  // leaves the tables empty (every text unchanged); a file that cannot be read, is not
  // UTF-8 or is named by an invalid title turns translation off and empties "Language".
  // Each of these is logged at WARN; nothing is thrown.
  void loadLanguage();
  // "Default", then the title of every language file in %Language%, in display order.
  static std::vector<std::string> getLanguageList();
  // Reloads the language, then runs the refresh callbacks step by step.
  void updateLanguage();
  // Copies a language file into %Language% (atomically: a failed copy leaves no file; a
  // file that is already there is only selected), selects it, updates the language and
  // shows a notice. A failed copy throws "CopyFile() failed." and changes nothing.
  void registerLanguageFile(std::string_view path);

  // Adds a callback that updateLanguage runs at its step. The id removes it again; a part
  // that is destroyed before this service removes its callbacks first.
  RefreshId addRefreshCallback(RefreshStep step, RefreshCallback callback);
  void removeRefreshCallback(RefreshId id);

  // Whether the user's interface language is Japanese: the first of LC_ALL, LC_MESSAGES
  // and LANG that is set and not empty begins with "ja".
  static bool isJapaneseUserInterface();

  // The five tables, in the order of the language file's sections.
  TranslateTable effect;   // [Effect]: names of effects, movements, items and their choices
  TranslateTable message;  // [Message]: message boxes, error texts, tooltips, status texts
  TranslateTable menu;     // [Menu]: menu items and window titles
  TranslateTable dialog;   // [Dialog]: dialog texts, file dialog titles and filters
  TranslateTable name;     // [Name]: default names "Layer", "Root" and "Scene"

  // The "Language" parameter. The language dialog stores its choice here (the empty text
  // for "Default") and then calls updateLanguage.
  std::string language;

 private:
  struct Refresh {
    RefreshId id;
    RefreshStep step;
    RefreshCallback callback;
  };

  void setActive(bool active);
  void clearTables();

  System::Config::Section config_{"Translate"};
  System::Config::String languageParameter_{config_, "Language", &language, "*"};
  System::Config::Binding binding_;

  std::vector<Refresh> refreshes_;
  RefreshId nextRefreshId_ = 1;
};

// A text through the table of its kind while a language is active, else unchanged. Any
// thread; the one place where texts of the core are translated (error boxes, confirmations,
// effect and movement names).
std::string translateText(TranslateService::TextKind kind, std::string_view text);

}  // namespace Translate
