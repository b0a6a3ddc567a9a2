#include "media/avi/audio_decompressor.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "media/avi/avi_riff.h"
#include "system/exception.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

namespace Media {

namespace {

constexpr const char* kDecodePlace = "Media::AudioDecompressor::decode";
// Largest packet handed to a decoder without a parser: whole blocks up to this many bytes.
constexpr std::size_t kPacketBytes = 64 * 1024;
// Decoded bytes kept waiting at most: this many seconds of output. A stream whose packets
// claim to decode to more is cut there instead of growing the buffer without bound.
constexpr int64_t kDecodedSeconds = 16;

}  // namespace

AudioDecompressor::AudioDecompressor() = default;
AudioDecompressor::~AudioDecompressor() = default;

bool AudioDecompressor::open(std::span<const uint8_t> sourceFormat, const PcmFormat& output) {
  close();
  using Plugin::AviRiff::WaveFormat;
  if (sourceFormat.size() < WaveFormat::kMinimumSize) return false;
  if (output.channels <= 0 || output.samplingRate <= 0) return false;
  const auto format = WaveFormat::parse(sourceFormat.data());
  const AVCodecTag* const tables[] = {avformat_get_riff_audio_tags(), nullptr};
  const AVCodecID id = av_codec_get_id(tables, format.formatTag);
  if (id == AV_CODEC_ID_NONE) return false;
  const AVCodec* codec = avcodec_find_decoder(id);
  if (!codec) return false;
  CodecHandles::CodecContext context(avcodec_alloc_context3(codec));
  packet_.reset(av_packet_alloc());
  frame_.reset(av_frame_alloc());
  if (!context || !packet_ || !frame_) return false;
  context->codec_tag = format.formatTag;
  context->sample_rate = static_cast<int>(format.samplesPerSec);
  av_channel_layout_default(&context->ch_layout, format.channels);
  context->block_align = format.blockAlign;
  context->bit_rate = int64_t{format.avgBytesPerSec} * 8;
  context->bits_per_coded_sample = format.bitsPerSample;
  context->thread_count = 1;
  if (sourceFormat.size() > WaveFormat::kExtendedSize) {
    const std::size_t declared = Plugin::AviRiff::readU16(sourceFormat.data() + 16);
    const std::size_t extra =
        std::min(declared, sourceFormat.size() - WaveFormat::kExtendedSize);
    if (!CodecHandles::setExtradata(*context, sourceFormat.data() + WaveFormat::kExtendedSize,
                                    extra))
      return false;
  }
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return false;
  context_ = std::move(context);
  parser_.reset(av_parser_init(id));
  output_ = output;
  blockAlign_ = format.blockAlign;
  sourceCapacity_ = static_cast<std::size_t>(2 * output.averageBytesPerSecond());
  source_.assign(sourceCapacity_ + AV_INPUT_BUFFER_PADDING_SIZE, 0);
  sourceFill_ = 0;
  decodedLimit_ = static_cast<std::size_t>(kDecodedSeconds * output.averageBytesPerSecond());
  decoded_.clear();
  decodedStart_ = 0;
  return true;
}

void AudioDecompressor::insertSourceData(const uint8_t* data, std::size_t count) {
  std::memcpy(reserveSourceData(count), data, count);
  commitSourceData(count);
}

uint8_t* AudioDecompressor::reserveSourceData(std::size_t count) {
  if (count > sourceCapacity_ - sourceFill_)
    throw System::makeException("Media::AudioDecompressor::insertSourceData",
                                "not enough source buffer.");
  return source_.data() + sourceFill_;
}

void AudioDecompressor::decode() {
  if (!context_) return;
  // The parser and the decoders read a little past the end of what they are given.
  std::memset(source_.data() + sourceFill_, 0, AV_INPUT_BUFFER_PADDING_SIZE);
  std::size_t consumed = 0;
  if (parser_) {
    while (consumed < sourceFill_) {
      uint8_t* packet = nullptr;
      int packetSize = 0;
      const int available = static_cast<int>(std::min<std::size_t>(sourceFill_ - consumed, INT_MAX));
      const int used = av_parser_parse2(parser_.get(), context_.get(), &packet, &packetSize,
                                        source_.data() + consumed, available, AV_NOPTS_VALUE,
                                        AV_NOPTS_VALUE, 0);
      if (used < 0) break;
      consumed += static_cast<std::size_t>(used);
      if (packetSize > 0) sendPacket(packet, packetSize);
      if (used == 0 && packetSize == 0) break;
    }
  } else {
    // Only whole blocks: a block cut at the end of a chunk waits for the rest.
    const std::size_t usable =
        blockAlign_ > 0 ? sourceFill_ / blockAlign_ * blockAlign_ : sourceFill_;
    const std::size_t step =
        blockAlign_ > 0 ? std::max<std::size_t>(kPacketBytes / blockAlign_, 1) * blockAlign_
                        : kPacketBytes;
    while (consumed < usable) {
      const std::size_t size = std::min(usable - consumed, step);
      sendPacket(source_.data() + consumed, static_cast<int>(size));
      consumed += size;
    }
  }
  std::memmove(source_.data(), source_.data() + consumed, sourceFill_ - consumed);
  sourceFill_ -= consumed;
}

void AudioDecompressor::sendPacket(const uint8_t* data, int size) {
  packet_->data = const_cast<uint8_t*>(data);  // libavcodec copies a packet it does not own
  packet_->size = size;
  const int sent = avcodec_send_packet(context_.get(), packet_.get());
  packet_->data = nullptr;
  packet_->size = 0;
  // A damaged frame, or a false start found by the parser after a jump into the middle of
  // the stream, is left out: the decoder picks up again at the next good frame.
  if (sent == AVERROR_INVALIDDATA) return;
  if (sent < 0)
    throw System::makeFormattedException(kDecodePlace, "avcodec_send_packet failed.",
                                         "AVERROR = %d", sent);
  for (;;) {
    const int received = avcodec_receive_frame(context_.get(), frame_.get());
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) break;
    if (received == AVERROR_INVALIDDATA) continue;
    if (received < 0)
      throw System::makeFormattedException(kDecodePlace, "avcodec_receive_frame failed.",
                                           "AVERROR = %d", received);
    appendSamples(*frame_);
    av_frame_unref(frame_.get());
  }
}

void AudioDecompressor::appendSamples(const AVFrame& frame) {
  const int channels = frame.ch_layout.nb_channels;
  if (frame.nb_samples <= 0 || channels <= 0 || frame.sample_rate <= 0) return;
  if (!resample_ || frame.format != resampleFormat_ || frame.sample_rate != resampleRate_ ||
      channels != resampleChannels_) {
    resample_.reset();
    AVChannelLayout inputLayout{};
    AVChannelLayout outputLayout{};
    av_channel_layout_default(&inputLayout, channels);
    av_channel_layout_default(&outputLayout, output_.channels);
    SwrContext* created = nullptr;
    const int made = swr_alloc_set_opts2(
        &created, &outputLayout, AV_SAMPLE_FMT_S16, output_.samplingRate, &inputLayout,
        static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
    resample_.reset(created);
    av_channel_layout_uninit(&inputLayout);
    av_channel_layout_uninit(&outputLayout);
    if (made < 0 || !resample_ || swr_init(resample_.get()) < 0) {
      resample_.reset();
      throw System::makeFormattedException(kDecodePlace, "swr_init failed.",
                                           "format = %d, rate = %d, ch = %d", frame.format,
                                           frame.sample_rate, channels);
    }
    resampleFormat_ = frame.format;
    resampleRate_ = frame.sample_rate;
    resampleChannels_ = channels;
  }
  const int capacity = swr_get_out_samples(resample_.get(), frame.nb_samples);
  if (capacity <= 0) return;
  const std::size_t frameBytes = static_cast<std::size_t>(output_.blockAlign());
  // Taken bytes are dropped before more are added, so the buffer holds only what waits.
  if (decodedStart_ > 0) {
    decoded_.erase(decoded_.begin(), decoded_.begin() + static_cast<std::ptrdiff_t>(decodedStart_));
    decodedStart_ = 0;
  }
  const std::size_t wanted = static_cast<std::size_t>(capacity) * frameBytes;
  if (decoded_.size() + wanted > decodedLimit_) return;
  const std::size_t before = decoded_.size();
  decoded_.resize(before + wanted);
  uint8_t* target = decoded_.data() + before;
  const int converted = swr_convert(resample_.get(), &target, capacity,
                                    const_cast<const uint8_t**>(frame.extended_data),
                                    frame.nb_samples);
  decoded_.resize(before + static_cast<std::size_t>(std::max(converted, 0)) * frameBytes);
}

std::size_t AudioDecompressor::takeDecoded(uint8_t* target, std::size_t count) {
  const std::size_t taken = std::min(count, pendingBytes());
  if (taken > 0) std::memcpy(target, decoded_.data() + decodedStart_, taken);
  decodedStart_ += taken;
  if (decodedStart_ == decoded_.size()) {
    decoded_.clear();
    decodedStart_ = 0;
  }
  return taken;
}

void AudioDecompressor::reset() {
  sourceFill_ = 0;
  decoded_.clear();
  decodedStart_ = 0;
  if (context_) avcodec_flush_buffers(context_.get());
  if (parser_) parser_.reset(av_parser_init(context_->codec_id));
  if (resample_) swr_init(resample_.get());  // drops the samples it still holds
}

void AudioDecompressor::close() {
  resample_.reset();
  parser_.reset();
  context_.reset();
  frame_.reset();
  packet_.reset();
  source_.clear();
  source_.shrink_to_fit();
  sourceFill_ = 0;
  sourceCapacity_ = 0;
  decoded_.clear();
  decodedStart_ = 0;
  resampleFormat_ = -1;
  resampleRate_ = 0;
  resampleChannels_ = 0;
}

}  // namespace Media
