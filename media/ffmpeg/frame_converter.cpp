#include "media/ffmpeg/frame_converter.h"

#include <cerrno>

namespace Media::Ffmpeg {

void FrameConverter::convert(const AVFrame* frame, uint8_t* pixels, int pitch, int width,
                             int height, AVPixelFormat format, std::string_view place) {
  // Without scaling, point sampling lets the converter take its direct format-to-format
  // routines (planar 4:2:0 to YUY2 costs a twentieth of the filtered path at 1080p); a frame
  // whose size changed mid-stream is scaled with a proper filter.
  const bool sameSize = frame->width == width && frame->height == height;
  context_.reset(sws_getCachedContext(context_.release(), frame->width, frame->height,
                                      static_cast<AVPixelFormat>(frame->format), width, height,
                                      format, sameSize ? SWS_POINT : SWS_BICUBIC, nullptr,
                                      nullptr, nullptr));
  if (!context_) throw makeError("sws_getCachedContext", place, AVERROR(EINVAL));
  uint8_t* const planes[4] = {pixels, nullptr, nullptr, nullptr};
  const int pitches[4] = {pitch, 0, 0, 0};
  const int rows =
      sws_scale(context_.get(), frame->data, frame->linesize, 0, frame->height, planes, pitches);
  if (rows <= 0) throw makeError("sws_scale", place, rows < 0 ? rows : AVERROR(EINVAL));
}

}  // namespace Media::Ffmpeg
