#pragma once
// The share of work of the media input effects (the movie, audio and scene inputs and the
// waveform display): mapping the object's frames to a time in the media file (or in the
// referenced scene), keeping the object's length in step with the media, keeping playback
// continuous when the object is split or trimmed, and the media-information tooltip.
//
// A concrete input derives from EffectBase and from this mix-in and hands it its items. The
// position item has two special movements: "移動無し" holds the media time at the object's
// start, from where playback runs at the speed; "再生範囲" holds the start and the end of
// the playback range. Any other movement gives the media time directly, in seconds.
//
// The position functions run on the render workers, the edit handlers on the UI thread
// inside the edit scope that carries the event. The media information is read at the first
// request and kept until the file changes; a lock guards it between the two.
#include <mutex>
#include <string>

#include "effect/media_time.h"
#include "effect/section_position.h"

namespace Effect {

class EffectContext;
class EffectItem;
class EffectItemCheck;
class EffectItemFile;
class EffectItemNumber;
class EffectItemScene;
struct EffectEventParam;

class InputMovieEffect {
 public:
  enum MediaKind : int { Video = 1, Audio = 2 };

  // The items of the concrete effect: the position 再生位置 (seconds), the speed 再生速度
  // (percent: 100 normal speed, negative reverse), the file ファイル (file inputs) or the
  // scene (the scene input), and the loop ループ再生 when the effect has one. They belong
  // to the effect and outlive this mix-in.
  struct Items {
    EffectItemNumber& position;
    EffectItemNumber& speed;
    EffectItemFile* file = nullptr;
    EffectItemScene* scene = nullptr;
    EffectItemCheck* loop = nullptr;
  };

  // What is known of the media.
  struct MediaInfo {
    double length = 0.0;  // seconds
    bool hasVideo = false;
    bool hasAudio = false;
    bool loaded = false;
  };

  InputMovieEffect(Items items, int mediaKind);
  InputMovieEffect(const InputMovieEffect&) = delete;
  InputMovieEffect& operator=(const InputMovieEffect&) = delete;

  // Gives the position item the playback range and offers that movement in its menu.
  void initPositionItem();

  // Reads the media information when it is not loaded (a scene's is read every time, as the
  // scene may change). True when the media can play: it has the kind's stream, a scene has
  // a length.
  bool updateMediaInfo();
  MediaInfo mediaInfo() const;

  // The stretch of the media that plays: the playback range's values inside the media, or
  // the whole media.
  MediaTime::Range getPlaybackRange() const;
  // The media time at an object frame under a special position movement.
  double getMediaTimeAtFrame(const ObjectFrames& object, MediaTime::Timing timing,
                             double frame) const;
  double wrapPosition(double time, MediaTime::Range range) const;

  // The media time of the picture at the context's frame, inside the range (ahead of it up
  // to the media's end while pre-loading).
  double getVideoPosition(EffectContext& context);
  // The media time of the sound at the context's frame, or the length + 1 when nothing
  // plays there.
  double getAudioPosition(EffectContext& context);
  // The speed ratio of the context's section; negative where a position movement runs the
  // media backwards.
  double getSectionSpeed(EffectContext& context) const;
  // Media seconds played from the object's start to the context's time at that speed.
  double getSpeedElapsedTime(EffectContext& context) const;

  // The media inputs' editEvent: true when the event was handled here.
  bool handleEditEvent(EffectEventParam& event);
  bool onFileChanged(EffectEventParam& event);
  bool onSpeedChanged(EffectEventParam& event);
  bool setFile(EffectEventParam& event, const std::string& path);
  bool updatePositionOnEdit(EffectEventParam& event);
  void showMediaInfo(EffectEventParam& event);
  // Shortens the object to the media it holds, or (with `reset`) starts playback at the
  // media's start and gives the object the whole media's length.
  void fitObjectLength(EffectEventParam& event, bool reset);

 private:
  bool isNoMove() const;
  bool isPlaybackRange() const;
  bool isSpecialPosition() const { return isNoMove() || isPlaybackRange(); }
  bool isLooping() const;
  bool isReverse() const;
  // Where length fitting and position keeping apply: a special position, a speed without
  // movement and no looping.
  bool followsMedia() const;
  double speedRatio(int index) const;
  double startValue() const;
  double positionAt(EffectContext& context) const;
  void clearMediaInfo();
  void readFileInfo();

  Items items_;
  int mediaKind_;
  mutable std::mutex mutex_;  // guards info_
  MediaInfo info_;
};

}  // namespace Effect
