// Frame-accurate video reads: the frame on screen at a time is the last one whose timestamp
// is not after it. Requests snap to the nearest frame (half a frame of tolerance), so that a
// container clock coarser than the frame rate (milliseconds at 29.97 frames per second) still
// gives every frame its own number.
#include <algorithm>
#include <cmath>
#include <utility>

#include "gpu/image/image_buffer.h"
#include "media/ffmpeg/media_source_reader.h"
#include "media/ffmpeg/stream_decoder.h"
#include "system/exception.h"

namespace Media {

namespace {

constexpr const char* kSeekPlace = "Media::MediaSourceReader::seekVideoPosition";
constexpr const char* kReadPlace = "Media::MediaSourceReader::readVideo";
// How far ahead of the decoder a request must lie before an index look-up may seek forward.
constexpr int64_t kForwardSeekDistance = Ffmpeg::kTimeUnits;

}  // namespace

std::shared_ptr<ImageBuffer> MediaSourceReader::readVideo(int32_t frame) {
  std::lock_guard lock(mutex_);
  if (!decoder_ || !current_) return {};
  const double exact = static_cast<double>(frame) * Ffmpeg::kTimeUnits * video_.scale / video_.rate;
  const int64_t time = std::clamp<int64_t>(std::llround(exact), 0, duration_);
  int64_t target = time + halfFrame_;
  if (firstFrameTime_ != INT64_MIN) target = std::max(target, firstFrameTime_);

  bool seek = !hasCurrent_ || target < currentTime_;
  if (!seek && target - currentTime_ > kForwardSeekDistance && !videoEnded_)
    seek = decoder_->keyFrameAhead(target);
  if (seek) seekVideo(target);
  advanceVideo(target);
  if (!hasCurrent_) return {};
  return convertCurrentFrame();
}

bool MediaSourceReader::fetchPendingFrame() {
  if (hasPending_) return true;
  if (videoEnded_) return false;
  if (!decoder_->receiveFrame(pending_.get())) {
    videoEnded_ = true;
    return false;
  }
  const int64_t time = decoder_->frameTime(pending_.get());
  if (time != INT64_MIN) {
    pendingTime_ = time;
  } else {
    // No timestamp: one frame after the previous frame.
    pendingTime_ = hasCurrent_ ? currentTime_ + 2 * halfFrame_ : 0;
  }
  hasPending_ = true;
  return true;
}

void MediaSourceReader::advanceVideo(int64_t target) {
  while (fetchPendingFrame() && pendingTime_ <= target) {
    std::swap(current_, pending_);
    currentTime_ = pendingTime_;
    hasCurrent_ = true;
    hasPending_ = false;
  }
}

void MediaSourceReader::seekVideo(int64_t target) {
  // A seek lands on a key frame at or before the target, but some containers only know
  // their key frames approximately: when the first frame lies after the target, seek again
  // further back, doubling the distance, until the stream's start.
  int64_t position = std::max<int64_t>(target - halfFrame_, 0);
  int64_t backOff = Ffmpeg::kTimeUnits;
  for (;;) {
    hasCurrent_ = hasPending_ = videoEnded_ = false;
    decoder_->seek(position, kSeekPlace);
    const bool found = fetchPendingFrame();
    if (position == 0) {
      if (found) firstFrameTime_ = pendingTime_;
      break;
    }
    if (found && pendingTime_ <= target) break;
    position = std::max<int64_t>(position - backOff, 0);
    backOff *= 2;
  }
  if (!hasPending_) return;
  std::swap(current_, pending_);
  currentTime_ = pendingTime_;
  hasCurrent_ = true;
  hasPending_ = false;
}

std::shared_ptr<ImageBuffer> MediaSourceReader::convertCurrentFrame() {
  const AVFrame* frame = current_.get();
  auto image = framePool_.take(video_.pixelFormat, static_cast<uint32_t>(video_.width),
                               static_cast<uint32_t>(video_.height));
  // The decoder may change the frame size in the middle of the stream; frames are scaled to
  // the size the file was described with, which its users rely on.
  converter_.convert(frame, image->data(), static_cast<int>(image->pitch), video_.width,
                     video_.height, outputFormat_, kReadPlace);
  // The converter sets the padding byte of B8G8R8X8 to 255; the format's padding is 0.
  if (outputFormat_ == AV_PIX_FMT_BGR0)
    for (uint32_t y = 0; y < image->height; ++y) {
      uint8_t* pixel = image->row(y) + 3;
      for (uint32_t x = 0; x < image->width; ++x, pixel += 4) *pixel = 0;
    }
  return image;
}

}  // namespace Media
