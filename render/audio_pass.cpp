#include "render/audio_pass.h"

#include <cstring>

#include "edit/object.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "media/audio/audio_buffer.h"
#include "render/audio_timing.h"
#include "render/control_state.h"
#include "render/effect_chain.h"
#include "render/recursion_key.h"
#include "render/render_audio_worker.h"
#include "render/scene_render_pass.h"

namespace Render {
namespace {

namespace Type = Effect::EffectType;
namespace MediaType = Effect::MediaType;

constexpr const char* kGroupAudioControl = "グループ制御(音声)";

Effect::EffectBase* firstEffect(const Edit::Object& object, std::size_t index = 0) {
  return index < object.effects.size() ? object.effects[index].get() : nullptr;
}

}  // namespace

AudioPass::AudioPass(RenderAudioWorker& worker, Edit::Scene& scene, int frame,
                     Media::AudioBuffer* target)
    : worker_(worker), scene_(scene) {
  context_.scene = &scene;
  context_.frame = frame;
  context_.time = frame;
  context_.frameOffset = 0;
  const FrameAudioRange range = frameAudioRange(scene, frame, 0);
  context_.audio.target = target;
  context_.audio.audioRate = range.audioRate;
  context_.audio.sceneSample = range.sceneSample;
  context_.audio.sampleCount = range.sampleCount;
  context_.audio.objectSample = range.objectSample;
}

void AudioPass::run() {
  Media::AudioBuffer* target = context_.audio.target;
  const int count = std::max(context_.audio.sampleCount, 0);
  worker_.postObjectTask([target, count] {
    target->resize(count, 2);
    target->clear();
  });
  RecursionKey recursion(worker_, scene_.id);
  if (!recursion.inserted()) return;  // silence
  walkLayers();
}

void AudioPass::walkLayers() {
  const int last = scene_.layerCount() - 1;
  for (int layer = 0; layer <= last; ++layer) {
    auto object = scene_.findObject(layer, context_.frame, Edit::Scene::Audio);
    if (!object) continue;
    context_.layerIndex = layer;
    while (!groups_.empty() && groups_.back().lastLayer < layer) groups_.pop_back();
    context_.audio.groupAudioControl = groups_.empty() ? nullptr : groups_.back().object;

    const Effect::EffectBase* first = firstEffect(*object);
    if (!first) continue;
    if (first->effectType == Type::Control) {
      if (std::strcmp(first->name, kGroupAudioControl) == 0) {
        if (GroupAudioControlState* state = published<GroupAudioControlState>(object))
          state->enclosingLayer = groups_.empty() ? -1 : groups_.back().object->layer;
        postControlTask(object);
        context_.audio.groupAudioControl = object;
        groups_.push_back({object, ScenePass::lastGovernedLayer(*object)});
      } else {
        postControlTask(object);
      }
    } else if (first->effectType == Type::Input) {
      const Effect::EffectBase* output = firstEffect(*object, 1);
      if (output && (output->mediaType == MediaType::Audio ||
                     output->mediaType == MediaType::VideoAudio))
        postObjectTask(object);
    }
  }
}

void AudioPass::setObject(const std::shared_ptr<Edit::Object>& object) {
  context_.setObject(object, object->frames());
  context_.audio.objectSample = getFrameAudioRange(context_).objectSample;
}

void AudioPass::postObjectTask(const std::shared_ptr<Edit::Object>& object) {
  setObject(object);
  Chain::collectChain(context_, Chain::Audio);
  Chain::collectGroupAudioControls(context_);
  Chain::preInputAudio(context_);
  worker_.postObjectTask([copy = context_]() mutable {
    Effect::EffectBase* input = firstEffect(*copy.object);
    if (!input) return;
    Effect::OwnedAudio sound = input->inputAudio(copy);
    // An object without samples takes no part: its filters and output are not called.
    if (!sound || sound->sampleCount() <= 0) return;
    sound = Chain::filterAudio(copy, std::move(sound));
    if (!sound || sound->sampleCount() <= 0) return;
    Chain::outputAudio(copy, sound);
  });
  context_.objectChain.reset();
}

void AudioPass::postControlTask(const std::shared_ptr<Edit::Object>& object) {
  setObject(object);
  Effect::EffectBase* control = firstEffect(*object);
  control->preInputAudio(context_);
  worker_.postObjectTask([copy = context_]() mutable {
    if (Effect::EffectBase* effect = firstEffect(*copy.object)) effect->controlAudio(copy);
  });
}

}  // namespace Render
