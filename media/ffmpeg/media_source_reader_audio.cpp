// One-second audio blocks. Decoded frames are resampled to float (and mixed down to stereo)
// as they arrive; the first frame after a seek is placed by its timestamp and every later one
// follows it without a gap, so that blocks read in order join sample-exactly.
#include <algorithm>
#include <cstring>

#include "media/audio/audio_buffer.h"
#include "media/ffmpeg/media_source_reader.h"
#include "media/ffmpeg/stream_decoder.h"
#include "media/input/input_file.h"
#include "system/exception.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace Media {

namespace {

constexpr const char* kSeekPlace = "Media::MediaSourceReader::seekAudioPosition";
constexpr const char* kReadPlace = "Media::MediaSourceReader::readAudio";
constexpr const char* kSamplePlace = "Media::MediaSourceReader::getAudioSample";
// A request this many seconds past the decoded audio seeks instead of decoding up to it.
constexpr int64_t kForwardSeekSeconds = 10;

}  // namespace

std::shared_ptr<AudioBlockBuffer> MediaSourceReader::readAudio(int32_t block) {
  std::lock_guard lock(mutex_);
  if (!decoder_ || !audioFrame_) return {};
  const int64_t rate = audio_.samplingRate;
  int64_t position = rate * std::max(block, 0);

  const bool behind = chunkCount_ == 0 || (position < chunkFirst_ && !chunkAtStreamStart_);
  const bool farAhead =
      chunkCount_ > 0 && !audioEnded_ && position > chunkFirst_ + chunkCount_ + kForwardSeekSeconds * rate;
  if (behind || farAhead) seekAudio(position);

  RawAudioBlockBuffer raw;
  raw.formatTag = Plugin::kAudioTagFloat;
  raw.samplingRate = audio_.samplingRate;
  raw.bitsPerSample = 32;
  raw.channels = audio_.channels;
  raw.allocateSecond();
  auto* samples = reinterpret_cast<float*>(raw.data.data());
  const int64_t channels = audio_.channels;
  int64_t filled = 0;
  while (filled < rate && getAudioChunk(position)) {
    if (chunkFirst_ > position) {
      // The stream starts later than the presentation: that stretch stays silent.
      const int64_t gap = std::min(chunkFirst_ - position, rate - filled);
      filled += gap;
      position += gap;
      continue;
    }
    const int64_t offset = position - chunkFirst_;
    if (offset >= chunkCount_) break;
    const int64_t count = std::min(rate - filled, chunkCount_ - offset);
    std::memcpy(samples + filled * channels, chunk_.data() + offset * channels,
                static_cast<size_t>(count * channels) * sizeof(float));
    filled += count;
    position += count;
  }
  return std::make_shared<AudioBlockBuffer>(raw);
}

void MediaSourceReader::seekAudio(int64_t position) {
  // As for video: when the demuxer lands after the position, seek again further back.
  const int64_t rate = audio_.samplingRate;
  int64_t time = std::min(av_rescale(position, Ffmpeg::kTimeUnits, rate), duration_);
  int64_t backOff = Ffmpeg::kTimeUnits;
  for (;;) {
    chunkCount_ = 0;
    audioEnded_ = false;
    chunkAtStreamStart_ = time == 0;
    if (resample_) swr_init(resample_.get());  // drops what it still holds
    decoder_->seek(time, kSeekPlace);
    const bool found = decodeAudioChunk();
    if (time == 0 || (found && chunkFirst_ <= position)) return;
    time = std::max<int64_t>(time - backOff, 0);
    backOff *= 2;
  }
}

bool MediaSourceReader::getAudioChunk(int64_t position) {
  while (chunkCount_ == 0 || position >= chunkFirst_ + chunkCount_) {
    if (audioEnded_) return chunkCount_ > 0;
    if (!decodeAudioChunk()) return chunkCount_ > 0;
    chunkAtStreamStart_ = false;
  }
  return true;
}

bool MediaSourceReader::decodeAudioChunk() {
  // Chunks that resample to nothing (the resampler keeps a few samples back) are passed over.
  for (;;) {
    const int64_t previousEnd = chunkFirst_ + chunkCount_;
    const bool follows = chunkCount_ > 0;
    if (!decoder_->receiveFrame(audioFrame_.get())) {
      audioEnded_ = true;
      return false;
    }
    const int64_t time = decoder_->frameTime(audioFrame_.get());
    resampleInto(audioFrame_.get());
    const int64_t count = static_cast<int64_t>(converted_.size()) / audio_.channels;
    if (count == 0) continue;
    chunk_.swap(converted_);
    if (follows) {
      chunkFirst_ = previousEnd;
    } else {
      chunkFirst_ = time == INT64_MIN ? 0 : av_rescale(time, audio_.samplingRate, Ffmpeg::kTimeUnits);
    }
    chunkCount_ = count;
    return true;
  }
}

void MediaSourceReader::resampleInto(const AVFrame* frame) {
  converted_.clear();
  if (frame->nb_samples <= 0 || frame->ch_layout.nb_channels <= 0 ||
      frame->ch_layout.nb_channels > kMaxChannels || frame->sample_rate <= 0)
    return;
  AVChannelLayout layout{};
  if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
    av_channel_layout_default(&layout, frame->ch_layout.nb_channels);
  else if (av_channel_layout_copy(&layout, &frame->ch_layout) < 0)
    throw Ffmpeg::makeError("av_channel_layout_copy", kSamplePlace, AVERROR(ENOMEM));
  // The resampler is set up again whenever the decoded format changes mid-stream.
  const auto format = static_cast<AVSampleFormat>(frame->format);
  if (!resample_ || format != resampleFormat_ || frame->sample_rate != resampleRate_ ||
      av_channel_layout_compare(&layout, &resampleLayout_) != 0) {
    AVChannelLayout output{};
    av_channel_layout_default(&output, audio_.channels);
    SwrContext* context = nullptr;
    int status = swr_alloc_set_opts2(&context, &output, AV_SAMPLE_FMT_FLT, audio_.samplingRate,
                                     &layout, format, frame->sample_rate, 0, nullptr);
    resample_.reset(context);
    if (status >= 0) status = swr_init(resample_.get());
    if (status < 0) {
      av_channel_layout_uninit(&layout);
      resample_.reset();
      throw Ffmpeg::makeError("swr_init", kSamplePlace, status);
    }
    av_channel_layout_uninit(&resampleLayout_);
    resampleLayout_ = layout;  // takes over what the layout owns
    layout = AVChannelLayout{};
    resampleFormat_ = format;
    resampleRate_ = frame->sample_rate;
  }
  av_channel_layout_uninit(&layout);
  const int capacity = swr_get_out_samples(resample_.get(), frame->nb_samples);
  if (capacity <= 0) return;
  converted_.resize(static_cast<size_t>(capacity) * audio_.channels);
  uint8_t* output = reinterpret_cast<uint8_t*>(converted_.data());
  const int produced = swr_convert(resample_.get(), &output, capacity,
                                   const_cast<const uint8_t**>(frame->extended_data),
                                   frame->nb_samples);
  if (produced < 0) throw Ffmpeg::makeError("swr_convert", kSamplePlace, produced);
  converted_.resize(static_cast<size_t>(produced) * audio_.channels);
}

}  // namespace Media
