#include "effect/effect_translate.h"

#include <atomic>

#include "system/translate_service.h"

namespace Effect {

namespace {
std::atomic<TranslateHook> translateHook{nullptr};
}  // namespace

void setTranslateHook(TranslateHook hook) { translateHook.store(hook); }

std::string translateEffectText(std::string_view text) {
  if (const TranslateHook hook = translateHook.load()) return hook(text);
  const auto* service = Translate::TranslateService::instance();
  if (service && Translate::isLanguageActive())
    return std::string(service->translate(Translate::TranslateService::TextKind::Effect, text));
  return std::string(text);
}

}  // namespace Effect
