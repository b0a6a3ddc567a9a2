#include "render/effect_chain.h"

#include <cstring>

#include "edit/object.h"
#include "edit/scene.h"
#include "effect/output_effect_base.h"
#include "render/control_state.h"

namespace Render::Chain {
namespace {

using Effect::EffectBase;
using Effect::EffectContext;
namespace Type = Effect::EffectType;
namespace Media = Effect::MediaType;

bool hasVideo(const EffectBase& effect) {
  return effect.mediaType == Media::Video || effect.mediaType == Media::VideoAudio;
}
bool hasAudio(const EffectBase& effect) {
  return effect.mediaType == Media::Audio || effect.mediaType == Media::VideoAudio;
}

// Remembers the context's object and puts it back when the visit ends.
class ObjectRestore {
 public:
  explicit ObjectRestore(EffectContext& context) : context_(context), saved_(context.object) {}
  ~ObjectRestore() { switchTo(context_, saved_); }
  ObjectRestore(const ObjectRestore&) = delete;
  ObjectRestore& operator=(const ObjectRestore&) = delete;

 private:
  EffectContext& context_;
  std::shared_ptr<Edit::Object> saved_;
};

// Calls `call` on each effect of each chain object that passes `test`, in chain order.
template <class Test, class Call>
void visitChain(EffectContext& context, Test test, Call call) {
  if (!context.objectChain) return;
  const auto chain = context.objectChain;  // the chain stays while it is walked
  ObjectRestore restore(context);
  for (const auto& object : *chain) {
    if (!object) continue;
    switchTo(context, object);
    for (const auto& effect : object->effects)
      if (effect && !effect->disable && test(*effect)) call(*effect);
  }
}

// The output effect of the chain's top object, or null.
EffectBase* topOutputEffect(const EffectContext& context) {
  if (!context.objectChain || context.objectChain->empty()) return nullptr;
  const auto& top = context.objectChain->front();
  if (!top || top->effects.size() < 2 || !top->effects[1]) return nullptr;
  return top->effects[1].get();
}

bool isNamed(const std::shared_ptr<Edit::Object>& object, const char* name) {
  return object && !object->effects.empty() && object->effects.front() &&
         std::strcmp(object->effects.front()->name, name) == 0;
}

template <class State>
void collectGroups(EffectContext& context, const std::shared_ptr<Edit::Object>& link,
                   int mediaKind, const char* name) {
  if (!link || !context.objectChain) return;
  if (link->effects.size() > 1) context.objectChain->push_back(link);
  const State* state = published<State>(link);
  int enclosing = state ? state->enclosingLayer : -1;
  while (enclosing != -1 && context.scene) {
    const auto group = context.scene->findObject(enclosing, context.frame, mediaKind);
    if (!group || !isNamed(group, name)) return;
    if (group->effects.size() > 1) context.objectChain->push_back(group);
    const State* groupState = published<State>(group);
    const int next = groupState ? groupState->enclosingLayer : -1;
    // An enclosing layer must lie above the group; anything else would loop.
    if (next >= group->layer) return;
    enclosing = next;
  }
}

}  // namespace

void switchTo(EffectContext& context, const std::shared_ptr<Edit::Object>& object) {
  if (context.object == object) return;
  if (object)
    context.setObject(object, object->frames());
  else
    context.setObject(nullptr, {});
}

void collectChain(EffectContext& context, int mediaKind) {
  context.objectChain = std::make_shared<Effect::ObjectChain>();
  context.objectChain->push_back(context.object);
  if (!context.scene) return;
  const int last = context.scene->layerCount() - 1;
  for (int layer = context.layerIndex + 1; layer <= last; ++layer) {
    auto object = context.scene->findObject(layer, context.frame, mediaKind);
    if (!object) continue;
    if (object->effects.empty() || !object->effects.front() ||
        object->effects.front()->effectType != Type::Filter)
      break;
    context.objectChain->push_back(std::move(object));
  }
}

void collectGroupControls(EffectContext& context) {
  collectGroups<GroupControlState>(context, context.outputView.groupControl, Edit::Scene::Video,
                                   "グループ制御");
}

void collectGroupAudioControls(EffectContext& context) {
  collectGroups<GroupAudioControlState>(context, context.audio.groupAudioControl,
                                        Edit::Scene::Audio, "グループ制御(音声)");
}

void preInputVideo(EffectContext& context) {
  visitChain(
      context,
      [](const EffectBase& e) { return e.effectType == Type::Input || e.effectType == Type::Filter; },
      [&](EffectBase& e) { e.preInputVideo(context); });
}

void preInputAudio(EffectContext& context) {
  visitChain(
      context,
      [](const EffectBase& e) { return e.effectType == Type::Input || e.effectType == Type::Filter; },
      [&](EffectBase& e) { e.preInputAudio(context); });
}

void controlVideo(EffectContext& context) {
  visitChain(
      context, [](const EffectBase& e) { return e.effectType == Type::Filter; },
      [&](EffectBase& e) { e.controlVideo(context); });
}

void updateFilterAnchor(EffectContext& context, int width, int height) {
  if (!context.anchorList) return;
  visitChain(
      context, [](const EffectBase& e) { return e.effectType == Type::Filter && hasVideo(e); },
      [&](EffectBase& e) { e.updateAnchor(context, width, height); });
}

Effect::OwnedImage filterVideo(EffectContext& context, Effect::OwnedImage image,
                               const EffectBase* skipUpTo) {
  if (!context.objectChain) return image;
  const auto chain = context.objectChain;
  ObjectRestore restore(context);
  bool skipping = skipUpTo != nullptr;
  for (const auto& object : *chain) {
    if (!image) break;
    if (!object) continue;
    switchTo(context, object);
    for (const auto& effect : object->effects) {
      if (!effect) continue;
      if (skipping) {
        if (effect.get() == skipUpTo) skipping = false;
        continue;
      }
      if (effect->disable || effect->effectType != Type::Filter || !hasVideo(*effect)) continue;
      image = effect->filterVideo(context, std::move(image));
      if (!image) break;
    }
  }
  return image;
}

Effect::OwnedImage filterVideoFrom(EffectContext& context, Effect::OwnedImage image,
                                   const EffectBase* startAfter, EffectContext* caller) {
  Anchor::AnchorList* anchors = std::exchange(context.anchorList, nullptr);
  struct PutBack {
    EffectContext& context;
    Anchor::AnchorList* anchors;
    ~PutBack() { context.anchorList = anchors; }
  } putBack{context, anchors};
  image = filterVideo(context, std::move(image), startAfter);
  if (caller && context.controlAnchors) caller->controlAnchors = true;
  if (caller && context.frameImage) caller->frameImage = true;
  return image;
}

Effect::OwnedAudio filterAudio(EffectContext& context, Effect::OwnedAudio audio) {
  if (!context.objectChain) return audio;
  const auto chain = context.objectChain;
  ObjectRestore restore(context);
  for (const auto& object : *chain) {
    if (!audio) break;
    if (!object) continue;
    switchTo(context, object);
    for (const auto& effect : object->effects) {
      if (!effect || effect->disable || effect->effectType != Type::Filter || !hasAudio(*effect))
        continue;
      audio = effect->filterAudio(context, std::move(audio));
      // (An empty block also ends the chain once audio blocks carry their length.)
      if (!audio) return {};
    }
  }
  return audio;
}

void outputVideo(EffectContext& context, Effect::OwnedImage& image) {
  EffectBase* output = topOutputEffect(context);
  if (!image || !output || !context.outputView.target) return;
  ObjectRestore restore(context);
  switchTo(context, context.objectChain->front());
  output->outputVideo(context, *context.outputView.target, image);
}

bool drawsPictureUnfiltered(EffectContext& context) {
  if (!dynamic_cast<Effect::BasicOutput*>(topOutputEffect(context))) return false;
  bool filtered = false;
  visitChain(
      context,
      [](const EffectBase& e) { return e.effectType == Type::Filter && hasVideo(e); },
      [&](EffectBase&) { filtered = true; });
  return !filtered;
}

void outputAudio(EffectContext& context, Effect::OwnedAudio& audio) {
  EffectBase* output = topOutputEffect(context);
  if (!audio || !output || !context.audio.target) return;
  ObjectRestore restore(context);
  switchTo(context, context.objectChain->front());
  output->outputAudio(context, *context.audio.target, audio);
}

void updateAnchor(EffectContext& context, int width, int height) {
  EffectBase* output = topOutputEffect(context);
  if (!context.anchorList || !output) return;
  ObjectRestore restore(context);
  switchTo(context, context.objectChain->front());
  output->updateAnchor(context, width, height);
}

Effect::OutputView getOutputView(EffectContext& context) {
  if (context.object && !context.object->effects.empty() && context.object->effects.front() &&
      context.object->effects.front()->effectType == Type::Control)
    return context.object->effects.front()->getOutputView(context);
  EffectBase* output = topOutputEffect(context);
  if (!output) return context.outputView;
  ObjectRestore restore(context);
  switchTo(context, context.objectChain->front());
  return output->getOutputView(context);
}

}  // namespace Render::Chain
