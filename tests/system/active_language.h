#pragma once
// A language made active for one scope: the translation service is created over an install
// folder of its own whose only language file is the text the test gives, so texts go
// through the test's tables exactly as they would through a user's language file.
#include <optional>
#include <string>

#include "system/scoped_install_folder.h"
#include "system/service_holder.h"
#include "system/temp_folder.h"
#include "system/translate_service.h"

namespace TestSupport {

class ActiveLanguage {
 public:
  // `languageFile`: the text of a language file, e.g. "[Effect]\r\nグロー=Glow\r\n".
  explicit ActiveLanguage(const std::string& languageFile) {
    install_.folder().writeFile("data/Language/Test.vll2", languageFile);
    // Without a parameter store the language is "*": a desktop that is not Japanese takes
    // the first language file.
    translation_.emplace();
  }
  ActiveLanguage(const ActiveLanguage&) = delete;
  ActiveLanguage& operator=(const ActiveLanguage&) = delete;

 private:
  ScopedInstallFolder install_;
  ScopedEnvironment noAll_{"LC_ALL", nullptr};
  ScopedEnvironment noMessages_{"LC_MESSAGES", nullptr};
  ScopedEnvironment english_{"LANG", "en_US.UTF-8"};
  std::optional<System::ServiceHolder<Translate::TranslateService>> translation_;
};

}  // namespace TestSupport
