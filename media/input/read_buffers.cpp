#include "media/input/read_buffers.h"

namespace Media {

ReadBuffers& inputReadBuffers() {
  static ReadBuffers buffers;
  return buffers;
}

ReadBuffers& exportReadBuffers() {
  static ReadBuffers buffers;
  return buffers;
}

AudioWriteBuffer& exportAudioWriteBuffer() {
  static AudioWriteBuffer buffer;
  return buffer;
}

}  // namespace Media
