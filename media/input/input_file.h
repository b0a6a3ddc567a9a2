#pragma once
// One opened media file: a fixed description that effects, caches and the export read
// directly, and two reads, one video frame by number and one second of audio by block.
//
// The description is written by the reader before the file is handed out and never changes
// afterwards, so it is read without a lock. Reads may come from several threads at once;
// each reader protects itself in its own way.
#include <cstdint>
#include <memory>

namespace Media {
class ImageBuffer;
class AudioBlockBuffer;
}  // namespace Media

namespace Plugin {

class InputPlugin;

// Pixel formats a reader hands out (graphics format codes).
namespace PixelFormat {
inline constexpr int32_t kBgra = 87;         // "RGB32bit"
inline constexpr int32_t kBgrx = 88;         // "RGB24bit" (the padding byte is 0)
inline constexpr int32_t kYuy2 = 107;        // "YUY2"
inline constexpr int32_t kRgba64Unorm = 11;  // "RGBA64bit(RU64)"
inline constexpr int32_t kRgba64Float = 10;  // "RGBA64bit(RF64)"
inline constexpr int32_t kYcc6 = 13;         // "YCC6"
inline constexpr int32_t kRgba = 28;         // straight alpha, the still-image reader
}  // namespace PixelFormat

// Audio format tags.
inline constexpr int32_t kAudioTagPcm = 1;
inline constexpr int32_t kAudioTagFloat = 3;

// Kind flags of a file (and of a reader).
inline constexpr int32_t kKindVideo = 1;
inline constexpr int32_t kKindAudio = 2;

struct MediaDescription {
  int32_t kinds = 0;  // kKindVideo | kKindAudio
  // Video (set only with kKindVideo).
  int32_t frameCount = 0;  // frames are numbered from 0
  int32_t pixelFormat = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t rate = 0;  // frames per `scale` seconds
  int32_t scale = 0;
  // Audio (set only with kKindAudio).
  int64_t audioSampleCount = 0;  // sample frames (one sample per channel)
  int32_t audioFormatTag = 0;    // kAudioTagPcm or kAudioTagFloat
  int32_t bitsPerSample = 0;
  int32_t channels = 0;
  int32_t samplingRate = 0;

  bool hasVideo() const { return (kinds & kKindVideo) != 0; }
  bool hasAudio() const { return (kinds & kKindAudio) != 0; }
};

class InputFile {
 public:
  virtual ~InputFile() = default;
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The frame with that number as an image of the description's size and pixel format, or
  // empty. Each reader says how it treats numbers outside 0 .. frame count - 1. The base
  // throws "not implement." (the reader has no video).
  virtual std::shared_ptr<Media::ImageBuffer> readVideo(int32_t frame);
  // One second of audio: samplingRate sample frames from block x samplingRate, as float
  // audio; what lies past the end of the stream or could not be read is silence. The base
  // throws "not implement." (the reader has no audio).
  virtual std::shared_ptr<Media::AudioBlockBuffer> readAudio(int32_t block);

  const MediaDescription& description() const { return description_; }
  // The reader that opened the file (set by the input service; not owned).
  InputPlugin* owner() const { return owner_; }
  void setOwner(InputPlugin* owner) { owner_ = owner; }

  // Video length in seconds (frame count x scale / rate); 0 without a rate.
  double videoSeconds() const;
  // Audio length in seconds (sample count / sampling rate); 0 without a rate.
  double audioSeconds() const;

 protected:
  // Filled by the reader while it opens the file, before the file is published.
  MediaDescription description_;

 private:
  InputPlugin* owner_ = nullptr;
};

}  // namespace Plugin
