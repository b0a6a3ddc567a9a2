#include "builtin/input/media_cache_access.h"

#include "effect/effect_context.h"
#include "effect/media_input_effect_base.h"
#include "gpu/image/image_buffer.h"
#include "gpu/resource_buffer.h"
#include "media/audio/audio_buffer.h"
#include "render/audio_timing.h"
#include "render/cache_service.h"

namespace Effect {
namespace {

struct AudioRequest {
  Cache::AudioPosition position;
  int32_t count = 0;
  double offset = 0.0;
  double speed = 1.0;
};

struct SampleRange {
  int64_t objectSample = 0;
  int32_t audioRate = 0;
  int32_t sampleCount = 0;
};

SampleRange passSamples(const EffectContext& context) {
  return {context.audio.objectSample, context.audio.audioRate, context.audio.sampleCount};
}

SampleRange frameSamples(const EffectContext& context) {
  const Render::FrameAudioRange range = Render::getFrameAudioRange(context);
  return {range.objectSample, range.audioRate, range.sampleCount};
}

// The stretch of the source under the samples; nothing outside the playback range.
std::optional<AudioRequest> audioRequest(InputMovieEffect& media, EffectContext& context,
                                         const SampleRange& samples) {
  if (!media.updateMediaInfo()) return std::nullopt;
  const double position = media.getAudioPosition(context);
  if (!(position < media.mediaInfo().length)) return std::nullopt;
  AudioRequest request;
  request.speed = media.getSectionSpeed(context);
  request.offset = position - media.getSpeedElapsedTime(context);
  request.position = {samples.objectSample, static_cast<uint32_t>(std::max(samples.audioRate, 0))};
  request.count = samples.sampleCount;
  return request;
}

OwnedAudio readAudio(InputMovieEffect& media, const std::string& source, EffectContext& context,
                     const SampleRange& samples) {
  Cache::CacheService* caches = Cache::CacheService::instance();
  if (!caches || source.empty()) return {};
  const auto request = audioRequest(media, context, samples);
  if (!request) return {};
  auto sound = caches->audio().getAudio(source, request->position, request->count,
                                        request->offset, request->speed);
  return sound ? adoptBuffer(std::move(sound)) : OwnedAudio();
}

void preloadAudio(InputMovieEffect& media, const std::string& source, EffectContext& context,
                  const SampleRange& samples) {
  Cache::CacheService* caches = Cache::CacheService::instance();
  if (!caches || source.empty()) return;
  if (const auto request = audioRequest(media, context, samples))
    caches->audio().preloadAudio(source, request->position, request->count, request->offset,
                                 request->speed);
}

}  // namespace

OwnedImage uploadPicture(const std::shared_ptr<Media::ImageBuffer>& picture) {
  if (!picture) return {};
  // A movie frame in YUV keeps its pixel pairs: a plain draw converts them as it samples.
  auto image = Media::ResourceBuffer::createFromImageBuffer(
      picture.get(), Media::ResourceBuffer::YuvUpload::Defer);
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
  return readAudio(media, source, context, passSamples(context));
}

void preInputMediaAudio(InputMovieEffect& media, const std::string& source,
                        EffectContext& context) {
  preloadAudio(media, source, context, passSamples(context));
}

OwnedAudio inputFrameAudio(InputMovieEffect& media, const std::string& source,
                           EffectContext& context) {
  return readAudio(media, source, context, frameSamples(context));
}

void preInputFrameAudio(InputMovieEffect& media, const std::string& source,
                        EffectContext& context) {
  preloadAudio(media, source, context, frameSamples(context));
}

std::string fileDisplayName(const std::string& path, std::string fallback) {
  if (path.empty()) return fallback;
  const auto separator = path.find_last_of("/\\");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace Effect
