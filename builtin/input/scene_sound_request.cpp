#include "builtin/input/scene_sound_request.h"

#include "effect/effect_context.h"
#include "render/render_service.h"

namespace Effect {
namespace {

// The slot's owner: its type tells a request apart from whatever else a pre-input step may
// leave in the untyped slot (std::get_deleter finds it only in a slot made here).
struct SceneSoundHolder {
  std::shared_ptr<SceneSound> request;
  void operator()(void*) noexcept { request.reset(); }
};

}  // namespace

void requestSceneSound(EffectContext& context) {
  context.preInputData.reset();
  Render::RenderService* render = Render::RenderService::instance();
  if (!render || !context.scene) return;
  std::shared_ptr<SceneSound> request = render->audio().renderingBuffer(*context.scene,
                                                                        context.frame);
  SceneSound* raw = request.get();
  context.preInputData = std::shared_ptr<void>(raw, SceneSoundHolder{std::move(request)});
}

std::shared_ptr<SceneSound> heldSceneSound(const EffectContext& context) {
  const auto* holder = std::get_deleter<SceneSoundHolder>(context.preInputData);
  return holder ? holder->request : nullptr;
}

}  // namespace Effect
