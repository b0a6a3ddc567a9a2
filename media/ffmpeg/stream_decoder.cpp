#include "media/ffmpeg/stream_decoder.h"

extern "C" {
#include <libavutil/dict.h>
}

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace Media::Ffmpeg {

namespace {

constexpr AVRational kTimeBase{1, static_cast<int>(kTimeUnits)};
// Times further than this from zero (a thousand days) come only from damaged files; they are
// treated as unknown so that no sum of two times can overflow.
constexpr int64_t kLargestTime = 1000LL * 24 * 3600 * kTimeUnits;
// A decoder that refuses this many packets in a row is given up: the rest of the stream is
// treated as its end.
constexpr int kMaxRefusedPackets = 10'000;
// Frames from this size up are decoded by several threads.
constexpr int64_t kThreadedPixels = 320 * 240;

bool isKnown(int64_t time) {
  return time != AV_NOPTS_VALUE && time > -kLargestTime && time < kLargestTime;
}

// A time of the stream's units in 100-ns units, or AV_NOPTS_VALUE when it is out of range.
int64_t toUnits(int64_t value, AVRational base) {
  if (value == AV_NOPTS_VALUE || base.num <= 0 || base.den <= 0) return AV_NOPTS_VALUE;
  const int64_t units = av_rescale_q(value, base, kTimeBase);
  return isKnown(units) ? units : AV_NOPTS_VALUE;
}

}  // namespace

StreamDecoder::StreamDecoder(const std::string& path, int64_t maxPixels, std::string_view place) {
  routeLibraryLog();
  packet_ = makePacket(place);
  AVDictionary* options = nullptr;
  // Only local files: a name such as "http://..." or "concat:..." is a file name here.
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  AVFormatContext* opened = nullptr;
  const std::string url = "file:" + path;
  const int status = avformat_open_input(&opened, url.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (status < 0) throw makeError("avformat_open_input", place, status);
  format_.reset(opened);
  // Reading the stream information decodes a few frames with decoders of its own: they get
  // the same bound on the frame size as ours, so a forged header cannot make them allocate
  // frames of gigabytes.
  const unsigned streams = format_->nb_streams;
  std::vector<AVDictionary*> streamOptions(streams, nullptr);
  for (AVDictionary*& entry : streamOptions) av_dict_set_int(&entry, "max_pixels", maxPixels, 0);
  const int found = avformat_find_stream_info(format_.get(), streamOptions.data());
  for (AVDictionary*& entry : streamOptions) av_dict_free(&entry);
  if (found < 0) throw makeError("avformat_find_stream_info", place, found);
  const int64_t start = toUnits(format_->start_time, AVRational{1, AV_TIME_BASE});
  origin_ = start == AV_NOPTS_VALUE ? 0 : start;
}

int StreamDecoder::findStream(AVMediaType type) const {
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    const AVStream* candidate = format_->streams[i];
    if (candidate->codecpar->codec_type != type) continue;
    if (candidate->disposition & AV_DISPOSITION_ATTACHED_PIC) continue;
    return static_cast<int>(i);
  }
  return -1;
}

void StreamDecoder::openDecoder(int streamIndex, int64_t maxPixels, std::string_view place) {
  if (streamIndex < 0 || static_cast<unsigned>(streamIndex) >= format_->nb_streams)
    throw makeError("av_find_best_stream", place, AVERROR_STREAM_NOT_FOUND);
  stream_ = format_->streams[streamIndex];
  const AVCodec* decoder = avcodec_find_decoder(stream_->codecpar->codec_id);
  if (!decoder) throw makeError("avcodec_find_decoder", place, AVERROR_DECODER_NOT_FOUND);
  codec_.reset(avcodec_alloc_context3(decoder));
  if (!codec_) throw makeError("avcodec_alloc_context3", place, AVERROR(ENOMEM));
  const int copied = avcodec_parameters_to_context(codec_.get(), stream_->codecpar);
  if (copied < 0) throw makeError("avcodec_parameters_to_context", place, copied);
  codec_->pkt_timebase = stream_->time_base;
  // Every core for frames large enough to gain from it (frame threads first, as they scale
  // best for long GOPs); small frames decode faster on the calling thread alone.
  const int64_t pixels = int64_t{codec_->width} * codec_->height;
  codec_->thread_count = pixels >= kThreadedPixels ? 0 : 1;
  codec_->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  if (maxPixels > 0) codec_->max_pixels = maxPixels;
  const int opened = avcodec_open2(codec_.get(), decoder, nullptr);
  if (opened < 0) throw makeError("avcodec_open2", place, opened);
  for (unsigned i = 0; i < format_->nb_streams; ++i)
    format_->streams[i]->discard =
        static_cast<int>(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
}

int64_t StreamDecoder::containerDuration() const {
  const int64_t duration = toUnits(format_->duration, AVRational{1, AV_TIME_BASE});
  return duration != AV_NOPTS_VALUE && duration > 0 ? duration : -1;
}

int64_t StreamDecoder::streamEnd() const {
  if (stream_) {
    const int64_t length = toUnits(stream_->duration, stream_->time_base);
    if (length != AV_NOPTS_VALUE && length > 0) {
      const int64_t start = toUnits(stream_->start_time, stream_->time_base);
      const int64_t end = (start == AV_NOPTS_VALUE ? origin_ : start) + length - origin_;
      if (end > 0 && isKnown(end)) return end;
    }
  }
  return containerDuration();
}

bool StreamDecoder::durationIsEstimated() const {
  return format_->duration_estimation_method != AVFMT_DURATION_FROM_STREAM;
}

int64_t StreamDecoder::latestFrameTime(int64_t time, int64_t frameLength, int maxFrames,
                                       AVFrame* scratch, std::string_view place) {
  seek(time, place);
  int64_t latest = INT64_MIN;
  for (int i = 0; i < maxFrames && receiveFrame(scratch); ++i) {
    const int64_t stamped = frameTime(scratch);
    // A frame without a timestamp follows the one before it.
    latest = stamped != INT64_MIN        ? std::max(latest, stamped)
             : latest != INT64_MIN ? latest + frameLength
                                   : latest;
  }
  av_frame_unref(scratch);
  return latest;
}

bool StreamDecoder::receiveFrame(AVFrame* frame) {
  int refused = 0;
  for (;;) {
    const int received = avcodec_receive_frame(codec_.get(), frame);
    if (received == 0) return true;
    if (received == AVERROR_EOF) return false;
    if (received != AVERROR(EAGAIN)) {
      // A damaged frame: the decoder goes on with the next one.
      if (++refused > kMaxRefusedPackets) return false;
      continue;
    }
    if (draining_) return false;
    const int read = av_read_frame(format_.get(), packet_.get());
    if (read < 0) {
      // The end of the file (or an unreadable rest): let the decoder hand out what it holds.
      draining_ = true;
      avcodec_send_packet(codec_.get(), nullptr);
      continue;
    }
    if (packet_->stream_index != stream_->index) {
      av_packet_unref(packet_.get());
      continue;
    }
    if (packet_->dts != AV_NOPTS_VALUE) lastDts_ = packet_->dts;
    const int sent = avcodec_send_packet(codec_.get(), packet_.get());
    av_packet_unref(packet_.get());
    if (sent < 0 && sent != AVERROR(EAGAIN)) {
      if (++refused > kMaxRefusedPackets) return false;
    } else {
      refused = 0;
    }
  }
}

int64_t StreamDecoder::frameTime(const AVFrame* frame) const {
  const int64_t time = toUnits(frame->best_effort_timestamp, stream_->time_base);
  return time == AV_NOPTS_VALUE ? INT64_MIN : time - origin_;
}

int64_t StreamDecoder::toStreamTime(int64_t time) const {
  return av_rescale_q(time + origin_, kTimeBase, stream_->time_base);
}

void StreamDecoder::seek(int64_t time, std::string_view place) {
  if (!isKnown(time) || time < 0) time = 0;
  // The start is asked for as a time well before it: containers that search their key frames
  // by timestamp (MPEG program streams) can miss the very first one when asked for exactly
  // its time, and nothing lies before the start anyway.
  const int64_t target = toStreamTime(time == 0 ? -kTimeUnits : time);
  int status = av_seek_frame(format_.get(), stream_->index, target, AVSEEK_FLAG_BACKWARD);
  // No key frame before the target (a stream that starts after the presentation does):
  // the first one after it.
  if (status < 0) status = av_seek_frame(format_.get(), stream_->index, target, 0);
  if (status < 0) throw makeError("av_seek_frame", place, status);
  avcodec_flush_buffers(codec_.get());
  draining_ = false;
  lastDts_ = AV_NOPTS_VALUE;
}

bool StreamDecoder::keyFrameAhead(int64_t time) const {
  if (lastDts_ == AV_NOPTS_VALUE || !isKnown(time)) return false;
  const int entry = av_index_search_timestamp(stream_, toStreamTime(time), AVSEEK_FLAG_BACKWARD);
  if (entry < 0) return false;
  const AVIndexEntry* key = avformat_index_get_entry(stream_, entry);
  return key && key->timestamp > lastDts_;
}

}  // namespace Media::Ffmpeg
