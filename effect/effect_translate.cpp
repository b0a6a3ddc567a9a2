#include "effect/effect_translate.h"

#include <atomic>

namespace Effect {

namespace {
std::atomic<TranslateHook> translateHook{nullptr};
}  // namespace

void setTranslateHook(TranslateHook hook) { translateHook.store(hook); }

std::string translateEffectText(std::string_view text) {
  const TranslateHook hook = translateHook.load();
  return hook ? hook(text) : std::string(text);
}

}  // namespace Effect
