#pragma once
// Compressed streams for the AVI reader's tests, encoded with libavcodec: the packets of a
// video encoder for frames filled by the caller, and the bytes of an audio encoder for
// interleaved 16-bit samples. Returns nothing when the encoder is missing.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
}

#include "media/avi/codec_handles.h"

namespace AviTest {

struct EncodedVideo {
  std::vector<std::string> packets;
  std::vector<bool> keyFrames;
  std::string extradata;
};

// Encodes `count` frames of width x height in `format`; `fill` paints frame f into the
// picture. `gop` is the distance of key frames (1: every frame).
inline EncodedVideo encodeVideo(const char* encoder, AVPixelFormat format, int width, int height,
                                int count, int gop,
                                const std::function<void(AVFrame&, int)>& fill) {
  EncodedVideo result;
  const AVCodec* codec = avcodec_find_encoder_by_name(encoder);
  if (!codec) return result;
  Media::CodecHandles::CodecContext context(avcodec_alloc_context3(codec));
  context->width = width;
  context->height = height;
  context->pix_fmt = format;
  context->time_base = {1, 25};
  context->gop_size = gop;
  context->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_GLOBAL_HEADER;
  context->global_quality = FF_QP2LAMBDA * 2;
  context->thread_count = 1;
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return result;
  if (context->extradata_size > 0)
    result.extradata.assign(reinterpret_cast<const char*>(context->extradata),
                            static_cast<std::size_t>(context->extradata_size));
  Media::CodecHandles::Frame picture(av_frame_alloc());
  Media::CodecHandles::Packet packet(av_packet_alloc());
  const auto drain = [&] {
    while (avcodec_receive_packet(context.get(), packet.get()) >= 0) {
      result.packets.emplace_back(reinterpret_cast<const char*>(packet->data),
                                  static_cast<std::size_t>(packet->size));
      result.keyFrames.push_back((packet->flags & AV_PKT_FLAG_KEY) != 0);
      av_packet_unref(packet.get());
    }
  };
  for (int f = 0; f < count; ++f) {
    picture->format = format;
    picture->width = width;
    picture->height = height;
    if (av_frame_get_buffer(picture.get(), 0) < 0) return {};
    fill(*picture, f);
    picture->pts = f;
    avcodec_send_frame(context.get(), picture.get());
    av_frame_unref(picture.get());
    drain();
  }
  avcodec_send_frame(context.get(), nullptr);
  drain();
  return result;
}

// The bytes of `samples` (interleaved 16-bit) through an encoder that takes any frame size.
inline std::string encodeAudio(const char* encoder, int channels, int rate,
                               const std::vector<int16_t>& samples) {
  const AVCodec* codec = avcodec_find_encoder_by_name(encoder);
  if (!codec) return {};
  Media::CodecHandles::CodecContext context(avcodec_alloc_context3(codec));
  context->sample_fmt = AV_SAMPLE_FMT_S16;
  context->sample_rate = rate;
  av_channel_layout_default(&context->ch_layout, channels);
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return {};
  Media::CodecHandles::Frame frame(av_frame_alloc());
  Media::CodecHandles::Packet packet(av_packet_alloc());
  const std::size_t total = samples.size() / channels;
  // Encoders with a fixed frame size take exactly that many samples a frame (the last one
  // padded with silence); the others take everything at once.
  const std::size_t step = context->frame_size > 0 ? context->frame_size : total;
  std::string bytes;
  const auto drain = [&] {
    while (avcodec_receive_packet(context.get(), packet.get()) >= 0) {
      bytes.append(reinterpret_cast<const char*>(packet->data), static_cast<std::size_t>(packet->size));
      av_packet_unref(packet.get());
    }
  };
  for (std::size_t first = 0; first < total; first += step) {
    frame->format = AV_SAMPLE_FMT_S16;
    frame->sample_rate = rate;
    frame->nb_samples = static_cast<int>(step);
    av_channel_layout_copy(&frame->ch_layout, &context->ch_layout);
    if (av_frame_get_buffer(frame.get(), 0) < 0) return {};
    std::memset(frame->data[0], 0, step * channels * 2);
    std::memcpy(frame->data[0], samples.data() + first * channels,
                std::min(step, total - first) * channels * 2);
    avcodec_send_frame(context.get(), frame.get());
    av_frame_unref(frame.get());
    drain();
  }
  avcodec_send_frame(context.get(), nullptr);
  drain();
  return bytes;
}

}  // namespace AviTest
