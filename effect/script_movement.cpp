#include "effect/script_movement.h"

#include <utility>

#include "effect/script_host.h"

namespace Effect {

ScriptMovement::ScriptMovement(std::string name) : MovementBase(std::move(name), -1) {
  ignoreMidpoints = OfferedOff;
}

double ScriptMovement::getValue(const EffectItemNumber& track, const SectionPosition& position,
                                const EffectContext& context) const {
  return scriptHost().getValue(*this, track, position, context);
}

void ScriptMovement::loadScript(ScriptEntry& entry, std::string directory, std::string* label,
                                const char* engine) {
  record.name = std::move(entry.name);
  record.text = std::move(entry.text);
  record.directory = std::move(directory);
  name = record.name;
  makeScriptParams(label, engine);
}

void ScriptMovement::makeScriptParams(std::string* label, const char* engine) {
  scriptHost().makeScriptParams(*this, label, engine);
}

void ScriptMovement::replaceScriptText(ScriptEntry& entry) {
  record.text = std::move(entry.text);
  record.compiled.reset();
}

}  // namespace Effect
