#pragma once
// What the registry and the edit commands ask of the media layer about a file dropped onto
// the timeline or opened as a scene: whether an input reader takes its extension, whether
// it loads as a figure, and what it holds. The media layer lies above the effect framework
// and its probe is installed once its readers exist; without one only figures (.svg) are
// objects, and no file is opened.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Effect {

// What a reader tells of a media file. The video fields count only with `hasVideo`, the
// sampling rate only with `hasAudio`.
struct MediaFileInfo {
  bool hasVideo = false;
  int64_t videoFrames = 0;
  bool hasAudio = false;
  int32_t width = 0;
  int32_t height = 0;
  int32_t rate = 0;  // frames per `scale` seconds
  int32_t scale = 0;
  int32_t audioRate = 0;
};

class MediaFileProbe {
 public:
  virtual ~MediaFileProbe() = default;
  // Whether an input reader registers the lower-case extension (without the point) for
  // video or for audio (image readers register theirs as video).
  virtual bool isMediaExtension(std::string_view extension) const = 0;
  // Whether the file loads as an SVG document.
  virtual bool checkSvgFile(const std::string& path) const = 0;
  // Opens the file through the input readers (video first, then audio) and releases it
  // again; nothing when no reader opens it.
  virtual std::optional<MediaFileInfo> probeMediaFile(const std::string& path) const = 0;
};

// Installs the probe (nullptr removes it). UI thread.
void setMediaFileProbe(const MediaFileProbe* probe);
const MediaFileProbe* mediaFileProbe();

}  // namespace Effect
