// The media information and the position functions of the media inputs; the edit handlers
// are in media_input_edit_events.cpp.
#include "effect/media_input_effect_base.h"

#include <algorithm>
#include <cmath>

#include "effect/builtin_movements.h"
#include "effect/effect_context.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_service.h"
#include "effect/media_input_host.h"
#include "effect/media_input_source.h"
#include "effect/movement_registry.h"

namespace Effect {

InputMovieEffect::InputMovieEffect(Items items, int mediaKind)
    : items_(items), mediaKind_(mediaKind) {}

void InputMovieEffect::initPositionItem() {
  items_.position.setMovement(*playbackRangeMovement());
  // The playback range is not in the general movement menu; the media inputs offer it.
  items_.position.movementListHook = [](std::vector<const MovementDefine*>& movements) {
    if (const EffectService* service = EffectService::instance())
      movements.push_back(service->findMovement(MovieRange::kName));
  };
}

bool InputMovieEffect::isNoMove() const {
  return items_.position.movement == defaultMovement();
}
bool InputMovieEffect::isPlaybackRange() const {
  return items_.position.movement == playbackRangeMovement();
}
bool InputMovieEffect::isLooping() const { return items_.loop && items_.loop->value; }
bool InputMovieEffect::isReverse() const { return isSpecialPosition() && speedRatio(0) < 0.0; }
bool InputMovieEffect::followsMedia() const {
  return isSpecialPosition() && items_.speed.movement == defaultMovement() && !isLooping();
}

double InputMovieEffect::speedRatio(int index) const {
  return items_.speed.getDisplayValue(index) / 100.0;
}

double InputMovieEffect::startValue() const { return items_.position.getDisplayValue(0); }

InputMovieEffect::MediaInfo InputMovieEffect::mediaInfo() const {
  std::lock_guard lock(mutex_);
  return info_;
}

void InputMovieEffect::clearMediaInfo() {
  std::lock_guard lock(mutex_);
  info_.loaded = false;
}

void InputMovieEffect::readFileInfo() {
  info_ = MediaInfo{};
  info_.loaded = true;
  const MediaInputSource* source = mediaInputSource();
  if (!source || !items_.file || items_.file->path.empty()) return;
  const auto file = source->getInputFile(items_.file->path, mediaKind_);
  if (!file) return;
  info_.hasVideo = file->hasVideo;
  info_.hasAudio = file->hasAudio;
  // The counts come from the file: a stream whose length cannot be computed from them
  // (no rate, a negative count) counts as absent rather than as an infinite length.
  if (mediaKind_ == Audio) {
    if (file->audioRate > 0 && file->audioSamples >= 0)
      info_.length = static_cast<double>(file->audioSamples) / file->audioRate;
    else
      info_.hasAudio = false;
  } else {
    const MediaTime::Timing timing{file->rate, file->scale};
    if (timing.isUsable() && file->videoFrames >= 0)
      info_.length = timing.seconds(static_cast<double>(file->videoFrames));
    else
      info_.hasVideo = false;
  }
}

bool InputMovieEffect::updateMediaInfo() {
  std::lock_guard lock(mutex_);
  if (items_.scene) {
    info_.hasVideo = info_.hasAudio = info_.loaded = true;
    info_.length = 0.0;
    const MediaInputHost* host = mediaInputHost();
    if (items_.scene->value != 0 && host)
      if (const auto scene = host->sceneLength(items_.scene->value))
        if (scene->timing.isUsable() && scene->frames > 0)
          info_.length = scene->timing.seconds(static_cast<double>(scene->frames));
    return info_.length != 0.0;
  }
  if (!info_.loaded) readFileInfo();
  return mediaKind_ == Audio ? info_.hasAudio : info_.hasVideo;
}

MediaTime::Range InputMovieEffect::getPlaybackRange() const {
  const double length = mediaInfo().length;
  if (!isPlaybackRange()) return {0.0, length};
  const double start = std::clamp(items_.position.getDisplayValue(0), 0.0, length);
  // A range of one value ends with that value.
  const double end = items_.position.getDisplayValue(1);
  return {start, end > 0.0 && end <= length ? std::max(end, start) : length};
}

double InputMovieEffect::getMediaTimeAtFrame(const ObjectFrames& object,
                                             MediaTime::Timing timing, double frame) const {
  return MediaTime::mediaTimeAtFrame(
      object, timing, frame, startValue(), [this](int index) { return speedRatio(index); },
      items_.speed.movement == defaultMovement());
}

double InputMovieEffect::wrapPosition(double time, MediaTime::Range range) const {
  return MediaTime::wrapPosition(time, range, isLooping(), isReverse());
}

double InputMovieEffect::positionAt(EffectContext& context) const {
  if (isSpecialPosition())
    return getMediaTimeAtFrame(context.objectFrames, sceneTimingOf(context.scene),
                               static_cast<double>(context.frame) + context.frameOffset);
  return static_cast<float>(items_.position.getValue(context));
}

double InputMovieEffect::getVideoPosition(EffectContext& context) {
  updateMediaInfo();
  const MediaTime::Range range = getPlaybackRange();
  const double time = wrapPosition(positionAt(context), range);
  // Pre-loading ahead may look past the range's end, up to the media's end.
  const double upper =
      context.frameOffset > 0 && isSpecialPosition() ? mediaInfo().length : range.end;
  return std::max(range.start, std::min(time, upper));
}

double InputMovieEffect::getAudioPosition(EffectContext& context) {
  updateMediaInfo();
  const MediaTime::Range range = getPlaybackRange();
  const double time = wrapPosition(positionAt(context), range);
  if (time < range.start || time >= range.end) return mediaInfo().length + 1.0;
  return time;
}

double InputMovieEffect::getSectionSpeed(EffectContext& context) const {
  const int point = context.sectionPosition.sectionIndex;
  const double speed = speedRatio(point);
  if (isSpecialPosition()) return speed;
  // The position movement gives the media time itself: the media runs backwards where the
  // position falls towards the next point.
  const bool falling =
      items_.position.getDisplayValue(point + 1) < items_.position.getDisplayValue(point);
  return falling ? -std::fabs(speed) : std::fabs(speed);
}

double InputMovieEffect::getSpeedElapsedTime(EffectContext& context) const {
  const double speed = std::fabs(speedRatio(context.sectionPosition.sectionIndex));
  return speed * sceneTimingOf(context.scene).seconds(context.time - context.objectFrames.start);
}

}  // namespace Effect
