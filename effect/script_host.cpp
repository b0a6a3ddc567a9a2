#include "effect/script_host.h"

#include <atomic>
#include <utility>

#include "effect/script_effect.h"
#include "effect/script_header_texts.h"
#include "effect/script_movement.h"

namespace Effect {

namespace {

std::atomic<ScriptHost*> installedHost{nullptr};

// What every host does with the header lines the registry itself shows: the label and
// the information text. The engine is remembered by name for the host that binds it.
void takeHeaderTexts(ScriptRecord& record, std::string* label, const char* engine) {
  ScriptHeaderTexts texts = readScriptHeaderTexts(record.text);
  if (label && texts.label) *label = std::move(*texts.label);
  if (texts.information) record.information = std::move(*texts.information);
  record.engineName = engine ? engine : "";
}

}  // namespace

void ScriptHost::makeScriptParams(ScriptEffect& prototype, std::string* label,
                                  const char* engine) {
  if (prototype.record()) takeHeaderTexts(*prototype.record(), label, engine);
}

void ScriptHost::makeScriptParams(ScriptMovement& movement, std::string* label,
                                  const char* engine) {
  takeHeaderTexts(movement.record, label, engine);
}

void ScriptHost::shareItems(ScriptEffect&, const ScriptEffect&) {}

OwnedImage ScriptHost::inputVideo(ScriptEffect&, EffectContext&) { return {}; }

OwnedImage ScriptHost::filterVideo(ScriptEffect&, EffectContext&, OwnedImage image) {
  return image;
}

void ScriptHost::preInputVideo(ScriptEffect&, EffectContext&) {}

void ScriptHost::controlVideo(ScriptEffect&, EffectContext&) {}

double ScriptHost::getValue(const ScriptMovement&, const EffectItemNumber&,
                            const SectionPosition&, const EffectContext&) {
  return 0;
}

std::string ScriptHost::runTextBlock(ScriptEffect&, EffectContext*, const std::string&) {
  return {};
}

void setScriptHost(ScriptHost* host) { installedHost.store(host); }

ScriptHost& scriptHost() {
  static ScriptHost headless;
  ScriptHost* host = installedHost.load();
  return host ? *host : headless;
}

}  // namespace Effect
