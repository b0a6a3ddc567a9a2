#pragma once
// What the media inputs share: a picture from the picture cache uploaded as the object's
// image, and the sound of a movie, audio file or scene from the sound cache at the context's
// samples. Without the cache service (a run without media) they give nothing.
#include <memory>
#include <string>

#include "effect/owned_buffer.h"

namespace Media {
class ImageBuffer;
}

namespace Effect {

class EffectContext;
class InputMovieEffect;

// The picture as a new GPU image, or nothing. A YUY2 picture keeps its pixel pairs until a
// use needs the working format (ResourceBuffer::packedPairs).
OwnedImage uploadPicture(const std::shared_ptr<Media::ImageBuffer>& picture);

// The frame of a file or scene source at the media input's video position, waiting for it.
OwnedImage inputMediaFrame(InputMovieEffect& media, const std::string& source,
                           EffectContext& context);
// Queues the same frame without waiting.
void preInputMediaFrame(InputMovieEffect& media, const std::string& source,
                        EffectContext& context);

// The sound of the source for the context's samples, or nothing when the media cannot play
// or its position lies outside the playback range.
OwnedAudio inputMediaAudio(InputMovieEffect& media, const std::string& source,
                           EffectContext& context);
void preInputMediaAudio(InputMovieEffect& media, const std::string& source,
                        EffectContext& context);
// The same for the samples under the context's video frame (a video pass sets no sample
// range of its own): what a picture drawn from the sound of its frame reads.
OwnedAudio inputFrameAudio(InputMovieEffect& media, const std::string& source,
                           EffectContext& context);
void preInputFrameAudio(InputMovieEffect& media, const std::string& source,
                        EffectContext& context);

// The text after the last path separator ("/" or "\"), or `fallback` (the effect's own
// display name) for an empty path.
std::string fileDisplayName(const std::string& path, std::string fallback);

}  // namespace Effect
