// The runs of the four script kinds at render time.
#include <exception>
#include <memory>
#include <utility>

#include "builtin/control/scene_change.h"
#include "builtin/control/scene_change_transition.h"
#include "effect/effect_context.h"
#include "effect/script_effect.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "script/script_effect_host.h"
#include "script/script_plugin_instance.h"
#include "script/script_service.h"
#include "system/exception.h"
#include "system/log.h"

namespace Plugin {

namespace {

constexpr const char* kInputPlace = "Effect::ScriptInput::inputVideo";
constexpr const char* kFilterPlace = "Effect::ScriptFilter::filterVideo";
constexpr const char* kCameraPlace = "Effect::CameraScript::preInputVideo";
constexpr const char* kSceneChangePlace = "Effect::SceneChangeScript::controlVideo";

// One run of the effect's script: `before` prepares the new instance, `after` takes what
// the run left in it. A failure anywhere (the engine, the script, the host) is logged at
// `place`; true when the run went through.
template <class Before, class After>
bool runScript(const char* place, Effect::ScriptEffect& effect, Effect::EffectContext& context,
               Before&& before, After&& after) {
  try {
    const std::shared_ptr<const Effect::ScriptRecord> record = effect.record();
    // The engine outlives its instance.
    const std::shared_ptr<ScriptPlugin> engine = record ? record->engine : nullptr;
    if (!engine) throw System::makeException(place, "script engine not bound.");
    const std::unique_ptr<ScriptPluginInstance> instance =
        engine->createEffectInstance(effect, context);
    before(*instance);
    instance->executeEffect(record->text);
    after(*instance);
    return true;
  } catch (const std::exception& failure) {
    System::Log::warn(place, "script exception: %s", failure.what());
    return false;
  }
}

void nothing(ScriptPluginInstance&) {}

}  // namespace

Effect::OwnedImage ScriptEffectHost::inputVideo(Effect::ScriptEffect& effect,
                                                Effect::EffectContext& context) {
  Effect::OwnedImage result;
  runScript(kInputPlace, effect, context, nothing,
            [&](ScriptPluginInstance& instance) { result = instance.takeObjectImage(); });
  return result;
}

Effect::OwnedImage ScriptEffectHost::filterVideo(Effect::ScriptEffect& effect,
                                                 Effect::EffectContext& context,
                                                 Effect::OwnedImage image) {
  Effect::OwnedImage result;
  runScript(
      kFilterPlace, effect, context,
      [&](ScriptPluginInstance& instance) { instance.setObjectImage(std::move(image)); },
      [&](ScriptPluginInstance& instance) { result = instance.takeObjectImage(); });
  return result;
}

void ScriptEffectHost::preInputVideo(Effect::ScriptEffect& effect,
                                     Effect::EffectContext& context) {
  if (dynamic_cast<Effect::SceneChangeScript*>(&effect)) {
    Effect::SceneChange::prepareBeforeFrame(context);
    return;
  }
  runScript(kCameraPlace, effect, context, nothing, nothing);
}

void ScriptEffectHost::controlVideo(Effect::ScriptEffect& effect,
                                    Effect::EffectContext& context) {
  if (!context.preInputData) {
    System::Log::warn(kSceneChangePlace, "no before frame buffer");
    return;
  }
  Media::RenderBuffer* before = Effect::SceneChange::beforeFrame(context);
  if (!before) {
    System::Log::warn(kSceneChangePlace, "invalid before frame buffer");
    return;
  }
  const float progress = Effect::sceneChangeProgress(context.frame, context.objectFrames.start,
                                                     context.objectFrames.end);
  // The passage is drawn with no handles of its own in the preview.
  context.anchorList = nullptr;
  runScript(
      kSceneChangePlace, effect, context,
      [&](ScriptPluginInstance& instance) {
        instance.setObjectImage(Effect::adoptBuffer(before->createResourceBuffer(true)));
        instance.sceneChangeProgress = progress;
      },
      nothing);
}

std::string ScriptEffectHost::runTextBlock(Effect::ScriptEffect& effect,
                                           Effect::EffectContext* context,
                                           const std::string& script) {
  const std::shared_ptr<const Effect::ScriptRecord> record = effect.record();
  std::shared_ptr<ScriptPlugin> engine = record ? record->engine : nullptr;
  if (!engine) {
    const char* name = record && !record->engineName.empty() ? record->engineName.c_str()
                                                             : nullptr;
    engine = ScriptService::findEngine(name);
  }
  // While the text is only measured there is no frame: the block sees an empty context.
  Effect::EffectContext measuring;
  const std::unique_ptr<ScriptPluginInstance> instance =
      engine->createEffectInstance(effect, context ? *context : measuring);
  instance->executeEffect(script);
  return instance->scriptText;
}

}  // namespace Plugin
