#pragma once
// One stream of a media file decoded through FFmpeg: the first video or the first audio
// stream, described once at the open and read as whole frames by number or one-second audio
// blocks by number, with as few seeks as possible.
//
// Video frames come out as B8G8R8X8 when the decoder delivers RGB and as YUY2 otherwise;
// audio as 32-bit float, mono for a mono source and stereo for everything else (more
// channels are mixed down). Frame n is the frame shown at n x scale / rate seconds from the
// start of the presentation.
//
// Reads in increasing order decode each frame once and never seek; a read behind the
// decoder's position seeks back, and one far enough ahead that the index has a key frame in
// between seeks forward. Each read locks the reader, so a reader may be shared, but one video
// and one audio reader of the same file work at the same time.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/ffmpeg/ffmpeg_handles.h"
#include "gpu/image/image_buffer_pool.h"
#include "media/ffmpeg/frame_converter.h"

namespace Media {

class ImageBuffer;
class AudioBlockBuffer;

namespace Ffmpeg {
class StreamDecoder;
}

class MediaSourceReader {
 public:
  struct VideoInfo {
    int32_t pixelFormat = 0;  // B8G8R8X8 or YUY2
    int32_t width = 0;
    int32_t height = 0;
    int32_t rate = 0;
    int32_t scale = 0;
    int32_t frameCount = 0;
  };
  struct AudioInfo {
    int32_t formatTag = 0;  // always float
    int32_t bitsPerSample = 0;
    int32_t channels = 0;   // 1 or 2
    int32_t samplingRate = 0;
    int64_t sampleCount = 0;
  };

  // Frames larger than this are refused at the open (and by the decoder later on).
  static constexpr int32_t kMaxDimension = 16384;
  static constexpr int64_t kMaxPixels = int64_t{1} << 26;
  // Frame rates outside this range (frames per second) come from damaged files.
  static constexpr double kMinFrameRate = 0.001;
  static constexpr double kMaxFrameRate = 1000.0;
  static constexpr int32_t kMaxSamplingRate = 768000;
  // More channels than the resampler can mix.
  static constexpr int kMaxChannels = 64;

  MediaSourceReader();
  ~MediaSourceReader();
  MediaSourceReader(const MediaSourceReader&) = delete;
  MediaSourceReader& operator=(const MediaSourceReader&) = delete;

  // Opens the path, replacing what was open, and notes whether it has a video and an audio
  // stream. Failures are logged and give false.
  bool open(const std::string& path);
  // Makes the first video (audio) stream this reader's stream and describes it. Failures
  // (no decoder, a size or rate out of range) are logged and give false.
  bool selectVideoStream();
  bool selectAudioStream();

  bool hasVideo() const { return hasVideo_; }
  bool hasAudio() const { return hasAudio_; }
  const VideoInfo& videoInfo() const { return video_; }
  const AudioInfo& audioInfo() const { return audio_; }

  // The frame shown at the frame's time (numbers outside the stream give the first or the
  // last frame), or empty when the stream yields no frame at all. Failures throw.
  std::shared_ptr<ImageBuffer> readVideo(int32_t frame);
  // One second of audio from block x sampling rate; what the stream does not cover is
  // silence. Failures throw.
  std::shared_ptr<AudioBlockBuffer> readAudio(int32_t block);

 private:
  // Video.
  void describeVideo();
  bool fetchPendingFrame();
  void seekVideo(int64_t target);
  void advanceVideo(int64_t target);
  std::shared_ptr<ImageBuffer> convertCurrentFrame();

  // Audio.
  void describeAudio();
  void seekAudio(int64_t position);
  bool getAudioChunk(int64_t position);
  bool decodeAudioChunk();
  void resampleInto(const AVFrame* frame);

  std::mutex mutex_;
  std::string path_;
  std::unique_ptr<Ffmpeg::StreamDecoder> decoder_;
  bool hasVideo_ = false;
  bool hasAudio_ = false;
  int64_t duration_ = 0;  // of the selected stream, 100-ns units

  VideoInfo video_;
  AVPixelFormat outputFormat_ = AV_PIX_FMT_NONE;
  int64_t halfFrame_ = 0;          // 100-ns units: requests snap to the nearest frame
  Ffmpeg::Frame current_;          // the frame last handed out (or to hand out)
  Ffmpeg::Frame pending_;          // the frame decoded after it
  int64_t currentTime_ = 0;
  int64_t pendingTime_ = 0;
  bool hasCurrent_ = false;
  bool hasPending_ = false;
  bool videoEnded_ = false;
  int64_t firstFrameTime_ = INT64_MIN;  // known once the stream was read from its start
  Ffmpeg::FrameConverter converter_;
  // The frames handed out come back here once the picture cache lets them go.
  ImageBufferPool framePool_{uint64_t{32} << 20};

  AudioInfo audio_;
  Ffmpeg::Frame audioFrame_;
  Ffmpeg::ResampleContext resample_;
  AVSampleFormat resampleFormat_ = AV_SAMPLE_FMT_NONE;
  int resampleRate_ = 0;
  AVChannelLayout resampleLayout_{};
  std::vector<float> chunk_;       // the current decoded samples, interleaved
  int64_t chunkFirst_ = 0;         // sample frame index of its first sample
  int64_t chunkCount_ = 0;         // sample frames in it; 0: no current chunk
  bool chunkAtStreamStart_ = false;  // nothing of the stream lies before it
  bool audioEnded_ = false;
  std::vector<float> converted_;   // scratch for one resampled frame
};

}  // namespace Media
