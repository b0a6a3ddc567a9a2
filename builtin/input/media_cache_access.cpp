#include "builtin/input/media_cache_access.h"

#include "effect/effect_context.h"
#include "effect/media_input_effect_base.h"
#include "gpu/image/image_buffer.h"
#include "gpu/resource_buffer.h"
#include "media/audio/audio_buffer.h"
#include "render/cache_service.h"

namespace Effect {
namespace {

struct AudioRequest {
  Cache::AudioPosition position;
  int32_t count = 0;
  double offset = 0.0;
  double speed = 1.0;
};

// The stretch of the source under the context's samples; nothing outside the range.
std::optional<AudioRequest> audioRequest(InputMovieEffect& media, EffectContext& context) {
  if (!media.updateMediaInfo()) return std::nullopt;
  const double position = media.getAudioPosition(context);
  if (!(position < media.mediaInfo().length)) return std::nullopt;
  AudioRequest request;
  request.speed = media.getSectionSpeed(context);
  request.offset = position - media.getSpeedElapsedTime(context);
  request.position = {context.audio.objectSample,
                      static_cast<uint32_t>(std::max(context.audio.audioRate, 0))};
  request.count = context.audio.sampleCount;
  return request;
}

}  // namespace

OwnedImage uploadPicture(const std::shared_ptr<Media::ImageBuffer>& picture) {
  if (!picture) return {};
  auto image = Media::ResourceBuffer::createFromImageBuffer(picture.get());
  return image ? adoptBuffer(std::move(image)) : OwnedImage();
}

OwnedImage inputMediaFrame(InputMovieEffect& media, const std::string& source,
                           EffectContext& context) {
  Cache::CacheService* caches = Cache::CacheService::instance();
  if (!caches || source.empty() || !media.updateMediaInfo()) return {};
  return uploadPicture(caches->image().getFrameImage(source, media.getVideoPosition(context)));
}

void preInputMediaFrame(InputMovieEffect& media, const std::string& source,
                        EffectContext& context) {
  Cache::CacheService* caches = Cache::CacheService::instance();
  if (!caches || source.empty() || !media.updateMediaInfo()) return;
  caches->image().preloadFrameImage(source, media.getVideoPosition(context));
}

OwnedAudio inputMediaAudio(InputMovieEffect& media, const std::string& source,
                           EffectContext& context) {
  Cache::CacheService* caches = Cache::CacheService::instance();
  if (!caches || source.empty()) return {};
  const auto request = audioRequest(media, context);
  if (!request) return {};
  auto sound = caches->audio().getAudio(source, request->position, request->count,
                                        request->offset, request->speed);
  return sound ? adoptBuffer(std::move(sound)) : OwnedAudio();
}

void preInputMediaAudio(InputMovieEffect& media, const std::string& source,
                        EffectContext& context) {
  Cache::CacheService* caches = Cache::CacheService::instance();
  if (!caches || source.empty()) return;
  if (const auto request = audioRequest(media, context))
    caches->audio().preloadAudio(source, request->position, request->count, request->offset,
                                 request->speed);
}

std::string fileDisplayName(const std::string& path, std::string fallback) {
  if (path.empty()) return fallback;
  const auto separator = path.find_last_of("/\\");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace Effect
