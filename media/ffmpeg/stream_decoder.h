#pragma once
// One opened container and one decoder for one of its streams: the frames of that stream in
// presentation order, seeks, and the stream's times in 100-nanosecond units counted from the
// start of the whole presentation (so that video and audio of one file share one clock).
//
// Every other stream is discarded at the demuxer, so a video decoder and an audio decoder on
// the same path read independently of each other. Not thread-safe: one user at a time.
#include <cstdint>
#include <string>
#include <string_view>

#include "media/ffmpeg/ffmpeg_handles.h"

namespace Media::Ffmpeg {

// 100-nanosecond units per second, the unit of every time below.
inline constexpr int64_t kTimeUnits = 10'000'000;

class StreamDecoder {
 public:
  // Opens the file (only as a local file, whatever its name looks like) and reads its
  // stream information, decoding no frame larger than `maxPixels`. Failures throw.
  StreamDecoder(const std::string& path, int64_t maxPixels, std::string_view place);

  // The first stream of the type, or -1. Cover pictures of audio files are no video.
  int findStream(AVMediaType type) const;
  // Opens the decoder of the stream and discards all other streams. `maxPixels` bounds the
  // frames the decoder accepts (0: no bound of our own). Failures throw.
  void openDecoder(int streamIndex, int64_t maxPixels, std::string_view place);

  AVStream* stream() const { return stream_; }
  AVCodecContext* codec() const { return codec_.get(); }
  // The presentation's duration, or -1 when the container knows none.
  int64_t containerDuration() const;
  // Where the open stream ends on the presentation clock, or -1 when unknown.
  int64_t streamEnd() const;
  // Whether the container guessed its duration (from the bit rate or from the timestamps it
  // found near the end) instead of storing it. Containers without an index (MPEG program
  // and transport streams) guess short when their last packets carry no timestamp.
  bool durationIsEstimated() const;
  // Decodes from `time` to the end of the stream (at most `maxFrames` frames) and returns
  // the time of the latest frame (one without a timestamp lies `frameLength` after the one
  // before it), or INT64_MIN when none decodes. Leaves the decoder at the end: seek before
  // reading again.
  int64_t latestFrameTime(int64_t time, int64_t frameLength, int maxFrames, AVFrame* scratch,
                          std::string_view place);

  // Decodes the next frame into `frame`. False at the end of the stream; packets the decoder
  // refuses are skipped, as a player would.
  bool receiveFrame(AVFrame* frame);
  // The frame's time on the presentation clock, or INT64_MIN when it carries none.
  int64_t frameTime(const AVFrame* frame) const;

  // Positions the demuxer at a key frame at or before `time` (at the first one when there is
  // none before) and empties the decoder. Failures throw with `place`.
  void seek(int64_t time, std::string_view place);
  // Whether the container's index has a key frame at or before `time` that the demuxer has
  // not reached yet: seeking there skips decoding everything up to it.
  bool keyFrameAhead(int64_t time) const;

 private:
  int64_t toStreamTime(int64_t time) const;

  FormatContext format_;
  CodecContext codec_;
  Packet packet_;
  AVStream* stream_ = nullptr;
  int64_t origin_ = 0;              // the presentation's start, in the container's units
  int64_t lastDts_ = AV_NOPTS_VALUE;  // of the last packet given to the decoder
  bool draining_ = false;
};

}  // namespace Media::Ffmpeg
