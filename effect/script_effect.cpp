#include "effect/script_effect.h"

#include <utility>

#include "effect/effect_context.h"
#include "effect/script_host.h"

namespace Effect {

ScriptEffect::ScriptEffect(std::string_view name, uint8_t effectType, uint8_t mediaAndTargetType,
                           const char* label)
    : EffectBase("", effectType, mediaAndTargetType, mediaAndTargetType, label),
      ownName_(name) {
  this->name = ownName_.c_str();
}

void ScriptEffect::createResource() { record_ = std::make_shared<ScriptRecord>(); }

void ScriptEffect::shareResource(const EffectBase& prototype) {
  const auto& source = dynamic_cast<const ScriptEffect&>(prototype);
  record_ = source.record_;
  // Every effect of the script carries the prototype's very name text.
  name = source.name;
  scriptHost().shareItems(*this, source);
}

void ScriptEffect::loadScript(ScriptEntry& entry, std::string directory, std::string* label,
                              const char* engine) {
  if (!record_) createResource();
  record_->name = std::move(entry.name);
  record_->text = std::move(entry.text);
  record_->directory = std::move(directory);
  name = record_->name.c_str();
  scriptHost().makeScriptParams(*this, label, engine);
}

void ScriptEffect::replaceScriptText(ScriptEntry& entry) {
  if (!record_) createResource();
  record_->text = std::move(entry.text);
  record_->compiled.reset();
}

bool ScriptEffect::addScriptItem(std::string name, std::unique_ptr<EffectItem> item) {
  EffectItem* added = item.get();
  scriptItems_.push_back(std::move(item));
  if (findScriptVariable(name)) return false;
  scriptVariables_.push_back({std::move(name), added});
  return true;
}

EffectItem* ScriptEffect::findScriptVariable(std::string_view name) const {
  for (const ScriptVariable& variable : scriptVariables_)
    if (variable.name == name) return variable.item;
  return nullptr;
}

// ---- the four kinds ----------------------------------------------------------------------

ScriptInput::ScriptInput(std::string_view name)
    : ScriptFamily(name, EffectType::Input, MediaType::Video, kLabel) {}

OwnedImage ScriptInput::inputVideo(EffectContext& context) {
  return scriptHost().inputVideo(*this, context);
}

ScriptFilter::ScriptFilter(std::string_view name)
    : ScriptFamily(name, EffectType::Filter, MediaType::Video, kLabel) {}

OwnedImage ScriptFilter::filterVideo(EffectContext& context, OwnedImage image) {
  return scriptHost().filterVideo(*this, context, std::move(image));
}

CameraScript::CameraScript(std::string_view name)
    : ScriptFamily(name, EffectType::Filter, MediaType::Camera, kLabel) {}

void CameraScript::preInputVideo(EffectContext& context) {
  scriptHost().preInputVideo(*this, context);
}

SceneChangeScript::SceneChangeScript(std::string_view name)
    : ScriptFamily(name, EffectType::Control, MediaType::Video, kLabel) {
  targetType = TargetType::SceneChange;
}

void SceneChangeScript::preInputVideo(EffectContext& context) {
  scriptHost().preInputVideo(*this, context);
}

void SceneChangeScript::controlVideo(EffectContext& context) {
  scriptHost().controlVideo(*this, context);
}

OutputView SceneChangeScript::getOutputView(EffectContext& context) { return context.outputView; }

}  // namespace Effect
