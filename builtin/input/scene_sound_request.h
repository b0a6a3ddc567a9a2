#pragma once
// The sound of the current scene's frame for an input that draws it: asked of the audio
// render worker in the pre-input step, kept in the context's pre-input slot, and waited for
// in the input step, on another thread.
#include <memory>

#include "render/render_audio_worker.h"

namespace Effect {

class EffectContext;

using SceneSound = Render::RenderAudioWorker::RenderingBuffer;

// Asks for the sound of the context's scene at its frame and keeps the request in the
// pre-input slot, releasing what the slot held. Without a scene or a render service the
// slot is emptied.
void requestSceneSound(EffectContext& context);
// The request the slot holds; null when it is empty or holds another step's data.
std::shared_ptr<SceneSound> heldSceneSound(const EffectContext& context);

}  // namespace Effect
