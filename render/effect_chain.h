#pragma once
// How the render engine drives the effects of one object: its chain (the object, the filter
// objects on the following layers that reach it, and the governing group controls that
// carry filters) and the calls of the effect operations along that chain in a fixed order.
//
// Every operation that visits the chain makes each visited object the context's object
// (recomputing the section position) and puts the caller's object back at the end. All of
// them do nothing (and hand their input back) when the context has no chain. Switched-off
// effects are always skipped.
#include <cstdint>

#include "effect/effect_base.h"
#include "effect/effect_context.h"
#include "effect/owned_buffer.h"

namespace Render::Chain {

// What a chain is collected for (Edit::Scene::findObject's kinds).
enum MediaKind : int { Video = 1, Audio = 2, CameraFilters = 4 };

// Makes the context's object current with its frames (nothing when it already is).
void switchTo(Effect::EffectContext& context, const std::shared_ptr<Edit::Object>& object);

// A new chain: the context's object, then the filter objects of the following layers at
// the context's frame, up to the first layer whose object is not a filter object.
void collectChain(Effect::EffectContext& context, int mediaKind);
// Appends the governing group controls (video, or audio) that carry filters, innermost
// first, following each group's enclosing layer.
void collectGroupControls(Effect::EffectContext& context);
void collectGroupAudioControls(Effect::EffectContext& context);

void preInputVideo(Effect::EffectContext& context);
void preInputAudio(Effect::EffectContext& context);
void controlVideo(Effect::EffectContext& context);
// The video filters of the chain over the image; none as soon as a filter gives none.
// With `skipUpTo`, every effect up to and including it is skipped (nothing runs when it is
// not in the chain).
Effect::OwnedImage filterVideo(Effect::EffectContext& context, Effect::OwnedImage image,
                               const Effect::EffectBase* skipUpTo = nullptr);
// filterVideo without collecting handles; a caller's context learns when control handles
// were added, and when the picture became a frame image.
Effect::OwnedImage filterVideoFrom(Effect::EffectContext& context, Effect::OwnedImage image,
                                   const Effect::EffectBase* startAfter,
                                   Effect::EffectContext* caller);
Effect::OwnedAudio filterAudio(Effect::EffectContext& context, Effect::OwnedAudio audio);
// The chain's top object drawn (mixed) through its output effect.
void outputVideo(Effect::EffectContext& context, Effect::OwnedImage& image);
// Whether the picture goes from the input straight to the standard draw of its output: no
// video filter of the chain runs, and the top output effect draws through the output drawer.
bool drawsPictureUnfiltered(Effect::EffectContext& context);
void outputAudio(Effect::EffectContext& context, Effect::OwnedAudio& audio);
void updateAnchor(Effect::EffectContext& context, int width, int height);
void updateFilterAnchor(Effect::EffectContext& context, int width, int height);
// The object's view: its control effect's for a control object, else the chain's top
// object's output effect's.
Effect::OutputView getOutputView(Effect::EffectContext& context);

}  // namespace Render::Chain
