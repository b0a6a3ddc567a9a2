#include "effect/effect_translate.h"

#include "system/translate_service.h"

namespace Effect {

std::string translateEffectText(std::string_view text) {
  return Translate::translateText(Translate::TranslateService::TextKind::Effect, text);
}

}  // namespace Effect
