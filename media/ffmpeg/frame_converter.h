#pragma once
// Converts decoded frames into the reader's output format and size with libswscale.
#include <cstdint>
#include <string_view>

#include "media/ffmpeg/ffmpeg_handles.h"

namespace Media::Ffmpeg {

class FrameConverter {
 public:
  // Writes `frame` into `pixels` (rows `pitch` bytes apart) as `width` x `height` of
  // `format`, scaling when the frame's size differs. Failures throw with `place`.
  void convert(const AVFrame* frame, uint8_t* pixels, int pitch, int width, int height,
               AVPixelFormat format, std::string_view place);

 private:
  ScaleContext context_;
};

}  // namespace Media::Ffmpeg
