#include "media/ffmpeg/media_source_reader.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <exception>

#include "media/ffmpeg/stream_decoder.h"
#include "media/input/input_file.h"
#include "system/exception.h"

namespace Media {

namespace {

constexpr const char* kOpenPlace = "Media::MediaSourceReader::open";
constexpr const char* kVideoDecodePlace = "Media::MediaSourceReader::setVideoDecode";
constexpr const char* kAudioDecodePlace = "Media::MediaSourceReader::setAudioDecode";
constexpr const char* kVideoInfoPlace = "Media::MediaSourceReader::getVideoInfo";
constexpr const char* kAudioInfoPlace = "Media::MediaSourceReader::getAudioInfo";

// How much of a stream with a guessed duration is decoded at the open to find its end.
constexpr int64_t kEndScanLength = 3 * Ffmpeg::kTimeUnits;
constexpr int kEndScanFrames = 1000;

bool isFrameRate(AVRational rate) {
  if (rate.num <= 0 || rate.den <= 0) return false;
  const double perSecond = av_q2d(rate);
  return perSecond >= MediaSourceReader::kMinFrameRate &&
         perSecond <= MediaSourceReader::kMaxFrameRate;
}

// Decoders that deliver RGB (or a palette) keep it; everything else is handed out as YUY2,
// which the graphics side converts.
AVPixelFormat outputFormatFor(int decoderFormat) {
  const AVPixFmtDescriptor* descriptor =
      av_pix_fmt_desc_get(static_cast<AVPixelFormat>(decoderFormat));
  if (descriptor && (descriptor->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL)))
    return AV_PIX_FMT_BGR0;
  return AV_PIX_FMT_YUYV422;
}

}  // namespace

MediaSourceReader::MediaSourceReader() = default;

MediaSourceReader::~MediaSourceReader() { av_channel_layout_uninit(&resampleLayout_); }

bool MediaSourceReader::open(const std::string& path) {
  std::lock_guard lock(mutex_);
  decoder_.reset();
  hasVideo_ = hasAudio_ = false;
  path_ = path;
  try {
    decoder_ = std::make_unique<Ffmpeg::StreamDecoder>(path, kMaxPixels, kOpenPlace);
    hasVideo_ = decoder_->findStream(AVMEDIA_TYPE_VIDEO) >= 0;
    hasAudio_ = decoder_->findStream(AVMEDIA_TYPE_AUDIO) >= 0;
    return true;
  } catch (const std::exception&) {
    // The failure was logged when it was built; the file is simply not ours.
    decoder_.reset();
    return false;
  }
}

bool MediaSourceReader::selectVideoStream() {
  std::lock_guard lock(mutex_);
  if (!decoder_ || !hasVideo_) return false;
  try {
    decoder_->openDecoder(decoder_->findStream(AVMEDIA_TYPE_VIDEO), kMaxPixels, kVideoDecodePlace);
    describeVideo();
    current_ = Ffmpeg::makeFrame(kVideoDecodePlace);
    pending_ = Ffmpeg::makeFrame(kVideoDecodePlace);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool MediaSourceReader::selectAudioStream() {
  std::lock_guard lock(mutex_);
  if (!decoder_ || !hasAudio_) return false;
  try {
    decoder_->openDecoder(decoder_->findStream(AVMEDIA_TYPE_AUDIO), 0, kAudioDecodePlace);
    describeAudio();
    audioFrame_ = Ffmpeg::makeFrame(kAudioDecodePlace);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void MediaSourceReader::describeVideo() {
  const AVStream* stream = decoder_->stream();
  const AVCodecParameters* parameters = stream->codecpar;
  const int width = parameters->width;
  const int height = parameters->height;
  if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
      int64_t{width} * height > kMaxPixels)
    throw System::makeFormattedException(kVideoInfoPlace, "invalid video size.",
                                         "width=%d height=%d", width, height);
  AVRational rate = stream->avg_frame_rate;
  if (!isFrameRate(rate)) rate = stream->r_frame_rate;
  if (!isFrameRate(rate))
    throw System::makeFormattedException(kVideoInfoPlace, "invalid frame rate.", "rate=%d/%d",
                                         stream->avg_frame_rate.num, stream->avg_frame_rate.den);
  int64_t duration = decoder_->streamEnd();
  if (duration <= 0 && stream->nb_frames > 0 && stream->nb_frames < INT32_MAX)
    duration = av_rescale(stream->nb_frames, Ffmpeg::kTimeUnits * rate.den, rate.num);
  if (duration <= 0) throw System::makeException(kVideoInfoPlace, "no duration.");
  const int64_t frameLength = av_rescale(Ffmpeg::kTimeUnits, rate.den, rate.num);
  if (decoder_->durationIsEstimated()) {
    // A guessed duration can miss the last frames: decode the last seconds and let the
    // stream end one frame after the latest frame found.
    auto scratch = Ffmpeg::makeFrame(kVideoInfoPlace);
    const int64_t from = std::max<int64_t>(duration - kEndScanLength, 0);
    const int64_t latest = decoder_->latestFrameTime(from, frameLength, kEndScanFrames, scratch.get(),
                                                     kVideoInfoPlace);
    if (latest != INT64_MIN && latest >= 0) duration = std::max(duration, latest + frameLength);
  }
  // The frames that begin inside the duration. A tenth of a frame is allowed for container
  // clocks coarser than the frame rate (a millisecond clock rounds the end of a 29.97 stream
  // to just below its last frame's end); a stream shorter than one frame still has one.
  const double frames = std::ceil(static_cast<double>(duration) * rate.num /
                                      (static_cast<double>(rate.den) * Ffmpeg::kTimeUnits) -
                                  0.1);
  if (frames >= INT32_MAX)
    throw System::makeFormattedException(kVideoInfoPlace, "invalid frame count.", "frames=%.0f",
                                         frames);
  duration_ = duration;
  video_.width = width;
  video_.height = height;
  video_.rate = rate.num;
  video_.scale = rate.den;
  video_.frameCount = frames < 1 ? 1 : static_cast<int32_t>(frames);
  outputFormat_ = outputFormatFor(parameters->format);
  video_.pixelFormat = outputFormat_ == AV_PIX_FMT_BGR0 ? Plugin::PixelFormat::kBgrx
                                                        : Plugin::PixelFormat::kYuy2;
  halfFrame_ = Ffmpeg::kTimeUnits * rate.den / rate.num / 2;
}

void MediaSourceReader::describeAudio() {
  const AVCodecContext* codec = decoder_->codec();
  const int rate = codec->sample_rate;
  const int channels = codec->ch_layout.nb_channels;
  if (rate <= 0 || rate > kMaxSamplingRate || channels <= 0 || channels > kMaxChannels)
    throw System::makeFormattedException(kAudioInfoPlace, "invalid audio stream format.",
                                         "rate=%d channels=%d", rate, channels);
  const int64_t duration = decoder_->streamEnd();
  if (duration <= 0) throw System::makeException(kAudioInfoPlace, "no duration.");
  duration_ = duration;
  audio_.formatTag = Plugin::kAudioTagFloat;
  audio_.bitsPerSample = 32;
  audio_.channels = channels == 1 ? 1 : 2;
  audio_.samplingRate = rate;
  audio_.sampleCount = av_rescale(duration, rate, Ffmpeg::kTimeUnits);
}

}  // namespace Media
