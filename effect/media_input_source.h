#pragma once
// What the media inputs ask of the input readers, which lie above the effect framework: the
// description of a media file opened for video or for audio. The input plug-in service
// implements it and the program installs it at start-up. Without one no file opens: every
// media input counts as unusable and plays nothing.
#include <cstdint>
#include <optional>
#include <string>

namespace Effect {

// What a reader tells of an opened media file. The numbers come from the file and are
// checked before they are used (a rate of 0 makes no length).
struct MediaInputFile {
  bool hasVideo = false;
  bool hasAudio = false;
  // Video.
  int64_t videoFrames = 0;
  int32_t rate = 0;  // frames per `scale` seconds
  int32_t scale = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pixelFormat = 0;  // the program's pixel format number
  // Audio.
  int64_t audioSamples = 0;
  int32_t audioRate = 0;  // samples per second
  int32_t channels = 0;
  int32_t sampleFormat = 0;  // 1 integer PCM, 3 floating-point PCM
  int32_t bitsPerSample = 0;
  // The translated name of the reader that opened it.
  std::string pluginName;
};

class MediaInputSource {
 public:
  virtual ~MediaInputSource() = default;
  // The file opened for `mediaKind` (1 video, 2 audio), or nothing when no reader takes
  // it. Called from the UI thread and from the render workers.
  virtual std::optional<MediaInputFile> getInputFile(const std::string& path,
                                                     int mediaKind) const = 0;
};

// Installs the source (nullptr removes it). UI thread, while no render worker runs.
void setMediaInputSource(const MediaInputSource* source);
const MediaInputSource* mediaInputSource();

}  // namespace Effect
