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

}  // namespace Media
