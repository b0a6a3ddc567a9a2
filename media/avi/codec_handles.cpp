#include "media/avi/codec_handles.h"

#include <climits>
#include <cstring>

namespace Media::CodecHandles {

bool setExtradata(AVCodecContext& context, const uint8_t* data, std::size_t size) {
  if (size == 0) return true;
  if (size > INT_MAX - AV_INPUT_BUFFER_PADDING_SIZE) return false;
  auto* copy = static_cast<uint8_t*>(av_mallocz(size + AV_INPUT_BUFFER_PADDING_SIZE));
  if (!copy) return false;
  std::memcpy(copy, data, size);
  av_freep(&context.extradata);
  context.extradata = copy;  // the context frees it
  context.extradata_size = static_cast<int>(size);
  return true;
}

}  // namespace Media::CodecHandles
