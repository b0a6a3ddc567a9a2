#include "system/dialog.h"

#include "system/event_service.h"
#include "system/exception.h"
#include "system/log.h"
#include "system/translate_service.h"
#include "system/ui_bridge.h"

namespace Dialog {
namespace {
void showBox(const std::string& text, const char* caption) {
  System::stopPreviewPlayer();
  if (auto* bridge = System::uiBridge()) bridge->showErrorBox(text, caption);
}
}  // namespace

void showException(const std::exception& exception) {
  System::Log::error("Dialog::showException", "show exception dialog.\n%s", exception.what());
  showBox(exception.what(), kExceptionCaption);
}

void showError(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string text = System::formatStringV(format, args);
  va_end(args);
  System::Log::error("Dialog::showError", "show error dialog.\n%s", text.c_str());
  text = Translate::translateText(Translate::TranslateService::TextKind::Message, text);
  showBox(text, kApplicationCaption);
}

void showWarning(const char* place, const std::string& text) {
  System::Log::warn(place, "%s", text.c_str());
  System::stopPreviewPlayer();
  if (auto* bridge = System::uiBridge())
    bridge->showWarningBox(
        Translate::translateText(Translate::TranslateService::TextKind::Message, text),
        kApplicationCaption);
}

void postError(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string text = System::formatStringV(format, args);
  va_end(args);
  const std::string kept = text;
  if (!Event::EventService::postCommand(Event::EventCommandType::ShowError, std::move(text)))
    System::Log::warn("Dialog::postError", "error not shown.\n%s", kept.c_str());
}

void postException(const std::exception& exception) {
  auto copy = std::make_exception_ptr(System::Exception(exception.what()));
  if (!Event::EventService::postCommand(Event::EventCommandType::ShowException, std::move(copy)))
    System::Log::warn("Dialog::postException", "exception not shown.\n%s", exception.what());
}

}  // namespace Dialog
