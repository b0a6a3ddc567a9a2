#pragma once
// Reads a written file back through FFmpeg's demuxer and decoders: a second, independent
// reader of what the AVI writer produces.
extern "C" {
#include <libavutil/imgutils.h>
}

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/ffmpeg/ffmpeg_handles.h"

namespace AviSaveTest {

struct FfmpegContents {
  AVCodecID videoCodec = AV_CODEC_ID_NONE;
  int pixelFormat = AV_PIX_FMT_NONE;
  int width = 0;
  int height = 0;
  std::vector<std::vector<uint8_t>> frames;  // each decoded frame, rows packed top-down
  AVCodecID audioCodec = AV_CODEC_ID_NONE;
  int sampleFormat = AV_SAMPLE_FMT_NONE;
  int channels = 0;
  int sampleRate = 0;
  std::vector<uint8_t> audio;  // every decoded sample, interleaved
  int64_t audioSamples = 0;
};

namespace FfmpegDetail {

inline void check(int status, const char* call) {
  if (status < 0)
    throw std::runtime_error(std::string(call) + " failed: " + std::to_string(status));
}

inline void takeFrames(AVCodecContext* codec, FfmpegContents& out, AVFrame* frame) {
  for (;;) {
    const int status = avcodec_receive_frame(codec, frame);
    if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) return;
    check(status, "avcodec_receive_frame");
    if (codec->codec_type == AVMEDIA_TYPE_VIDEO) {
      const auto format = static_cast<AVPixelFormat>(frame->format);
      const int size = av_image_get_buffer_size(format, frame->width, frame->height, 1);
      check(size, "av_image_get_buffer_size");
      std::vector<uint8_t> pixels(static_cast<size_t>(size));
      check(av_image_copy_to_buffer(pixels.data(), size, frame->data, frame->linesize, format,
                                    frame->width, frame->height, 1),
            "av_image_copy_to_buffer");
      out.frames.push_back(std::move(pixels));
    } else {
      const auto format = static_cast<AVSampleFormat>(frame->format);
      if (av_sample_fmt_is_planar(format)) throw std::runtime_error("planar audio");
      const size_t bytes = static_cast<size_t>(frame->nb_samples) *
                           static_cast<size_t>(frame->ch_layout.nb_channels) *
                           static_cast<size_t>(av_get_bytes_per_sample(format));
      out.audio.insert(out.audio.end(), frame->data[0], frame->data[0] + bytes);
      out.audioSamples += frame->nb_samples;
    }
    av_frame_unref(frame);
  }
}

}  // namespace FfmpegDetail

inline FfmpegContents readWithFfmpeg(const std::string& path) {
  using namespace FfmpegDetail;
  AVFormatContext* raw = nullptr;
  check(avformat_open_input(&raw, path.c_str(), nullptr, nullptr), "avformat_open_input");
  Media::Ffmpeg::FormatContext input(raw);
  check(avformat_find_stream_info(input.get(), nullptr), "avformat_find_stream_info");

  FfmpegContents out;
  std::vector<Media::Ffmpeg::CodecContext> codecs(input->nb_streams);
  for (unsigned i = 0; i < input->nb_streams; ++i) {
    const AVCodecParameters* parameters = input->streams[i]->codecpar;
    const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
    if (!decoder) throw std::runtime_error("no decoder");
    codecs[i].reset(avcodec_alloc_context3(decoder));
    check(avcodec_parameters_to_context(codecs[i].get(), parameters), "parameters_to_context");
    check(avcodec_open2(codecs[i].get(), decoder, nullptr), "avcodec_open2");
    if (parameters->codec_type == AVMEDIA_TYPE_VIDEO) {
      out.videoCodec = parameters->codec_id;
      out.width = parameters->width;
      out.height = parameters->height;
      out.pixelFormat = codecs[i]->pix_fmt;
    } else if (parameters->codec_type == AVMEDIA_TYPE_AUDIO) {
      out.audioCodec = parameters->codec_id;
      out.channels = parameters->ch_layout.nb_channels;
      out.sampleRate = parameters->sample_rate;
      out.sampleFormat = codecs[i]->sample_fmt;
    }
  }

  Media::Ffmpeg::Packet packet(av_packet_alloc());
  Media::Ffmpeg::Frame frame(av_frame_alloc());
  while (av_read_frame(input.get(), packet.get()) >= 0) {
    AVCodecContext* codec = codecs.at(static_cast<size_t>(packet->stream_index)).get();
    check(avcodec_send_packet(codec, packet.get()), "avcodec_send_packet");
    av_packet_unref(packet.get());
    takeFrames(codec, out, frame.get());
  }
  for (auto& codec : codecs) {
    check(avcodec_send_packet(codec.get(), nullptr), "avcodec_send_packet");
    takeFrames(codec.get(), out, frame.get());
  }
  return out;
}

}  // namespace AviSaveTest
