#pragma once
// Writes small media files with FFmpeg's encoders for the reader tests and benchmarks: video
// whose frames carry their number as a colour, audio whose samples follow a given function.
// H.264 comes from libx264 when the library has it and MPEG-4 part 2 otherwise. Failures
// throw std::runtime_error with the failing call.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace TestSupport {

// The luma of frame `index` in the generated videos: far enough apart that lossy coding
// cannot turn one frame's colour into another's.
inline int frameLuma(int index) { return 16 + (index * 7) % 220; }

// A moving gradient with a little noise: about what a camera clip costs the decoder. The
// benchmarks' movies are painted with it.
inline void paintCameraLikeFrame(AVFrame* frame, int index) {
  uint32_t noise = 12345u + static_cast<uint32_t>(index);
  for (int y = 0; y < frame->height; ++y) {
    uint8_t* row = frame->data[0] + y * frame->linesize[0];
    for (int x = 0; x < frame->width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      row[x] = static_cast<uint8_t>(((x + y) / 4 + 3 * index) + ((noise >> 24) & 7));
    }
  }
  for (int plane = 1; plane < 3; ++plane)
    for (int y = 0; y < frame->height / 2; ++y) {
      uint8_t* row = frame->data[plane] + y * frame->linesize[plane];
      for (int x = 0; x < frame->width / 2; ++x)
        row[x] = static_cast<uint8_t>(plane == 1 ? x / 4 + index : y / 3 + 2 * index);
    }
}

struct VideoSpec {
  int width = 64;
  int height = 48;
  int frames = 30;
  AVRational rate{30, 1};
  int gop = 10;
  int bFrames = 2;
  // AV_CODEC_ID_H264 (libx264, or MPEG-4 part 2 without it), or any encoder's codec.
  AVCodecID codec = AV_CODEC_ID_H264;
  AVPixelFormat pixelFormat = AV_PIX_FMT_YUV420P;
  int64_t firstPts = 0;  // in frames
  const char* x264Preset = "veryfast";
  int quality = 2;  // a quantiser for the MPEG coders; x264 gets a matching CRF
  // Paints frame `index`; the default fills it with frameLuma(index) (grey for RGB formats,
  // luma with neutral chroma for YUV).
  std::function<void(AVFrame*, int)> paint;
};

struct AudioSpec {
  int rate = 48000;
  AVChannelLayout layout = AV_CHANNEL_LAYOUT_MONO;
  int64_t samples = 96000;
  AVCodecID codec = AV_CODEC_ID_PCM_S16LE;
  // Sample value (-1 .. 1) of channel `channel` at sample frame `index`.
  std::function<double(int channel, int64_t index)> sample = [](int, int64_t index) {
    return 0.5 * std::sin(2.0 * M_PI * 440.0 * static_cast<double>(index) / 48000.0);
  };
};

namespace MediaWriterDetail {

inline void check(int status, const char* call) {
  if (status < 0) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(status, text, sizeof text);
    throw std::runtime_error(std::string(call) + ": " + text);
  }
}

struct CodecFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct OutputFree {
  void operator()(AVFormatContext* f) const {
    if (f->pb) avio_closep(&f->pb);
    avformat_free_context(f);
  }
};

inline void paintDefault(AVFrame* frame, int index) {
  const int value = frameLuma(index);
  const AVPixelFormat format = static_cast<AVPixelFormat>(frame->format);
  if (format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P) {
    for (int y = 0; y < frame->height; ++y)
      std::memset(frame->data[0] + y * frame->linesize[0], value, frame->width);
    for (int plane = 1; plane < 3; ++plane)
      for (int y = 0; y < (frame->height + 1) / 2; ++y)
        std::memset(frame->data[plane] + y * frame->linesize[plane], 128, (frame->width + 1) / 2);
  } else {  // packed 8-bit RGB of 3 or 4 bytes
    const int bytes = format == AV_PIX_FMT_RGB24 || format == AV_PIX_FMT_BGR24 ? 3 : 4;
    for (int y = 0; y < frame->height; ++y)
      std::memset(frame->data[0] + y * frame->linesize[0], value, frame->width * bytes);
  }
}

// One encoder and its output stream.
struct Track {
  std::unique_ptr<AVCodecContext, CodecFree> codec;
  AVStream* stream = nullptr;
};

inline void drain(AVFormatContext* output, Track& track, const AVFrame* frame) {
  check(avcodec_send_frame(track.codec.get(), frame), "avcodec_send_frame");
  std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
  for (;;) {
    const int status = avcodec_receive_packet(track.codec.get(), packet.get());
    if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) return;
    check(status, "avcodec_receive_packet");
    av_packet_rescale_ts(packet.get(), track.codec->time_base, track.stream->time_base);
    packet->stream_index = track.stream->index;
    check(av_interleaved_write_frame(output, packet.get()), "av_interleaved_write_frame");
  }
}

inline const AVCodec* videoEncoder(AVCodecID id) {
  if (id == AV_CODEC_ID_H264) {
    if (const AVCodec* x264 = avcodec_find_encoder_by_name("libx264")) return x264;
    id = AV_CODEC_ID_MPEG4;
  }
  const AVCodec* encoder = avcodec_find_encoder(id);
  if (!encoder) throw std::runtime_error("no encoder");
  return encoder;
}

}  // namespace MediaWriterDetail

// Writes a file of the container its extension names with the given streams.
inline void writeMedia(const std::string& path, const std::optional<VideoSpec>& video,
                       const std::optional<AudioSpec>& audio) {
  using namespace MediaWriterDetail;
  av_log_set_level(AV_LOG_ERROR);  // the encoders' statistics are of no interest here
  AVFormatContext* raw = nullptr;
  check(avformat_alloc_output_context2(&raw, nullptr, nullptr, path.c_str()), "alloc_output");
  std::unique_ptr<AVFormatContext, OutputFree> output(raw);
  const bool globalHeader = output->oformat->flags & AVFMT_GLOBALHEADER;

  Track videoTrack, audioTrack;
  if (video) {
    const AVCodec* encoder = videoEncoder(video->codec);
    videoTrack.codec.reset(avcodec_alloc_context3(encoder));
    AVCodecContext* c = videoTrack.codec.get();
    c->width = video->width;
    c->height = video->height;
    c->pix_fmt = video->pixelFormat;
    c->time_base = av_inv_q(video->rate);
    c->framerate = video->rate;
    c->gop_size = video->gop;
    c->max_b_frames = video->bFrames;
    c->thread_count = 0;
    if (std::strcmp(encoder->name, "libx264") == 0) {
      av_opt_set(c->priv_data, "preset", video->x264Preset, 0);
      av_opt_set_int(c->priv_data, "crf", video->quality * 5, 0);
    } else {
      c->flags |= AV_CODEC_FLAG_QSCALE;
      c->global_quality = FF_QP2LAMBDA * video->quality;
    }
    if (globalHeader) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    check(avcodec_open2(c, encoder, nullptr), "avcodec_open2 video");
    videoTrack.stream = avformat_new_stream(output.get(), nullptr);
    check(avcodec_parameters_from_context(videoTrack.stream->codecpar, c), "parameters video");
    videoTrack.stream->time_base = c->time_base;
    videoTrack.stream->avg_frame_rate = video->rate;
  }
  if (audio) {
    const AVCodec* encoder = avcodec_find_encoder(audio->codec);
    if (!encoder) throw std::runtime_error("no audio encoder");
    audioTrack.codec.reset(avcodec_alloc_context3(encoder));
    AVCodecContext* c = audioTrack.codec.get();
    c->sample_rate = audio->rate;
    check(av_channel_layout_copy(&c->ch_layout, &audio->layout), "layout");
    c->sample_fmt = encoder->sample_fmts ? encoder->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c->time_base = AVRational{1, audio->rate};
    if (globalHeader) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    check(avcodec_open2(c, encoder, nullptr), "avcodec_open2 audio");
    audioTrack.stream = avformat_new_stream(output.get(), nullptr);
    check(avcodec_parameters_from_context(audioTrack.stream->codecpar, c), "parameters audio");
    audioTrack.stream->time_base = c->time_base;
  }
  check(avio_open(&output->pb, path.c_str(), AVIO_FLAG_WRITE), "avio_open");
  check(avformat_write_header(output.get(), nullptr), "avformat_write_header");

  std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
  int nextFrame = 0;
  int64_t nextSample = 0;
  const int64_t audioSamples = audio ? audio->samples : 0;
  const int videoFrames = video ? video->frames : 0;
  while (nextFrame < videoFrames || nextSample < audioSamples) {
    // Whichever stream is behind in time writes next, so the file interleaves as players
    // expect.
    const bool videoNext =
        nextFrame < videoFrames &&
        (nextSample >= audioSamples ||
         av_compare_ts(nextFrame, videoTrack.codec->time_base, nextSample,
                       audioTrack.codec->time_base) <= 0);
    av_frame_unref(frame.get());
    if (videoNext) {
      AVCodecContext* c = videoTrack.codec.get();
      frame->format = c->pix_fmt;
      frame->width = c->width;
      frame->height = c->height;
      check(av_frame_get_buffer(frame.get(), 0), "av_frame_get_buffer video");
      (video->paint ? video->paint : paintDefault)(frame.get(), nextFrame);
      frame->pts = video->firstPts + nextFrame;
      drain(output.get(), videoTrack, frame.get());
      ++nextFrame;
    } else {
      AVCodecContext* c = audioTrack.codec.get();
      const int size = c->frame_size > 0 ? c->frame_size : 1024;
      frame->nb_samples = static_cast<int>(std::min<int64_t>(size, audioSamples - nextSample));
      frame->format = c->sample_fmt;
      frame->sample_rate = c->sample_rate;
      check(av_channel_layout_copy(&frame->ch_layout, &c->ch_layout), "frame layout");
      check(av_frame_get_buffer(frame.get(), 0), "av_frame_get_buffer audio");
      const int channels = c->ch_layout.nb_channels;
      for (int i = 0; i < frame->nb_samples; ++i)
        for (int ch = 0; ch < channels; ++ch) {
          const double value = audio->sample(ch, nextSample + i);
          switch (c->sample_fmt) {
            case AV_SAMPLE_FMT_S16:
              reinterpret_cast<int16_t*>(frame->data[0])[i * channels + ch] =
                  static_cast<int16_t>(std::lrint(std::clamp(value, -1.0, 32767.0 / 32768) * 32768));
              break;
            case AV_SAMPLE_FMT_FLTP:
              reinterpret_cast<float*>(frame->extended_data[ch])[i] = static_cast<float>(value);
              break;
            case AV_SAMPLE_FMT_S16P:
              reinterpret_cast<int16_t*>(frame->extended_data[ch])[i] =
                  static_cast<int16_t>(std::lrint(std::clamp(value, -1.0, 32767.0 / 32768) * 32768));
              break;
            default:
              throw std::runtime_error("sample format of the test writer");
          }
        }
      frame->pts = nextSample;
      drain(output.get(), audioTrack, frame.get());
      nextSample += frame->nb_samples;
    }
  }
  if (video) drain(output.get(), videoTrack, nullptr);
  if (audio) drain(output.get(), audioTrack, nullptr);
  check(av_write_trailer(output.get()), "av_write_trailer");
}

}  // namespace TestSupport
