// The media inputs' edit handlers: a new file, a new speed, a split or a trim of the
// object, and the information tooltip. They run on the UI thread inside the edit scope that
// carries the event and reach the edit model through the media input host.
#include <algorithm>

#include "effect/effect_event_param.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/media_info_text.h"
#include "effect/media_input_effect_base.h"
#include "effect/media_input_host.h"
#include "effect/media_input_source.h"
#include "system/dialog.h"

namespace Effect {

bool InputMovieEffect::handleEditEvent(EffectEventParam& event) {
  switch (event.kind) {
    case EffectEventParam::ItemChanged: {
      EffectItem* item = event.item();
      if (item == &items_.speed) return onSpeedChanged(event);
      // Only a new file or scene changes the media; the position, speed and loop items
      // change as any item does.
      if (item && (item == items_.file || item == items_.scene)) return onFileChanged(event);
      return false;
    }
    case EffectEventParam::FileSet:
      if (const std::string* path = event.filePath()) return setFile(event, *path);
      return false;
    case EffectEventParam::ObjectSplit:
    case EffectEventParam::StartCut:
    case EffectEventParam::EndCut:
      return updatePositionOnEdit(event);
    case EffectEventParam::ShowInfo:
      showMediaInfo(event);
      return true;
    default:
      return false;
  }
}

void InputMovieEffect::fitObjectLength(EffectEventParam& event, bool reset) {
  MediaInputHost* host = mediaInputHost();
  if (!host || !event.object || !followsMedia()) return;
  if (!host->objectFrames(*event.object).midpoints.empty() || !updateMediaInfo()) return;
  const ObjectFrames frames = host->objectFrames(*event.object);
  MediaTime::Range range = getPlaybackRange();
  double from = isNoMove() ? startValue() : range.start;
  if (reset) {
    const double length = mediaInfo().length;
    items_.position.setValue(0.0, 0);
    if (isPlaybackRange()) items_.position.setValue(std::max(length, 0.0), 1);
    from = 0.0;
    range.end = length;
  }
  const auto fitted =
      MediaTime::fitFrames(range.end - from, speedRatio(0), host->objectTiming(*event.object));
  if (!fitted) return;
  const int64_t current = int64_t{frames.end} - frames.start + 1;
  if (!reset && *fitted >= current) return;
  // A file set is recorded and marked by the command that sets it.
  if (event.kind != EffectEventParam::FileSet) {
    if (event.kind != EffectEventParam::StartCut && event.kind != EffectEventParam::EndCut)
      host->recordObjectUpdate(event);
    host->markChanged(event, true);
  }
  host->resizeObject(event, *fitted, event.kind == EffectEventParam::StartCut);
}

bool InputMovieEffect::onSpeedChanged(EffectEventParam& event) {
  MediaInputHost* host = mediaInputHost();
  if (!host || !event.object || !followsMedia()) return false;
  if (!host->objectFrames(*event.object).midpoints.empty() || !updateMediaInfo()) return false;
  const MediaTime::Range range = getPlaybackRange();
  // The object ends where the media does: from the start position, as a fit does.
  const double from = isNoMove() ? startValue() : range.start;
  const auto fitted =
      MediaTime::fitFrames(range.end - from, speedRatio(0), host->objectTiming(*event.object));
  if (!fitted) return false;
  host->recordObjectUpdate(event);
  host->markChanged(event, true);
  host->resizeObject(event, *fitted, false);
  return true;
}

bool InputMovieEffect::setFile(EffectEventParam& event, const std::string& path) {
  if (!items_.file) return false;
  clearMediaInfo();
  items_.file->fromString(path);  // expands a leading path variable
  fitObjectLength(event, true);
  return true;
}

bool InputMovieEffect::onFileChanged(EffectEventParam& event) {
  clearMediaInfo();
  if (items_.file && items_.file->path.empty()) return false;
  if (updateMediaInfo()) {
    fitObjectLength(event, true);
    return true;
  }
  if (items_.file) {
    items_.file->path.clear();
    Dialog::postError("%s", "このファイルには対応していません");
  }
  return false;
}

bool InputMovieEffect::updatePositionOnEdit(EffectEventParam& event) {
  MediaInputHost* host = mediaInputHost();
  if (!host || !event.object || !followsMedia() || !updateMediaInfo()) return false;
  const bool split = event.kind == EffectEventParam::ObjectSplit;
  if (!split && isPlaybackRange() && host->fixedMovieTimeRange()) return false;

  // The object as it was before the edit.
  const ObjectFrames now = host->objectFrames(*event.object);
  ObjectFrames before = now;
  if (split) {
    const Edit::Object* original = event.objectBeforeSplit();
    if (!original) return false;
    before = host->objectFrames(*original);
  } else {
    const int* former = event.formerFrame();
    if (!former) return false;
    (event.kind == EffectEventParam::StartCut ? before.start : before.end) = *former;
  }

  const MediaTime::Timing timing = host->objectTiming(*event.object);
  const MediaTime::Range range = getPlaybackRange();
  const double c = isNoMove() ? startValue() : range.start;
  const double e = range.end;
  double start = c;
  double end = e;
  if (!isReverse()) {
    if (now.start != before.start) start = getMediaTimeAtFrame(before, timing, now.start);
    if (now.end != before.end) end = getMediaTimeAtFrame(before, timing, now.end + 1.0);
  } else {
    // Reverse playback counts down from the range's end: the new end frame fixes the new
    // range start and the new start frame the new range end. Both come from the range as
    // it was. A position without movement names the object's start, which a cut end
    // leaves where it is.
    if (now.end != before.end && isPlaybackRange())
      start = getMediaTimeAtFrame(before, timing, now.end + 1.0) + e - c;
    if (now.start != before.start) end = getMediaTimeAtFrame(before, timing, now.start) + e - c;
  }

  if (!split) host->recordEffectUpdate(event);
  host->markChanged(event, false);
  const double length = mediaInfo().length;
  const double first = std::clamp(start, 0.0, length);
  items_.position.setValue(first, 0);
  if (isPlaybackRange()) items_.position.setValue(std::clamp(end, first, length), 1);
  // A trim keeps the object within what the media still holds.
  if (!split) fitObjectLength(event, false);
  return true;
}

void InputMovieEffect::showMediaInfo(EffectEventParam&) {
  MediaInputHost* host = mediaInputHost();
  if (!host) return;
  if (items_.scene) {
    host->showSceneInfo(items_.scene->value);
    return;
  }
  if (!items_.file || items_.file->path.empty()) return;
  const std::string& path = items_.file->path;
  std::optional<MediaInputFile> file;
  if (const MediaInputSource* source = mediaInputSource())
    file = source->getInputFile(path, mediaKind_);
  updateMediaInfo();
  host->showToolTip(file ? mediaInfoText(path, mediaInfo().length, *file) : path);
}

}  // namespace Effect
