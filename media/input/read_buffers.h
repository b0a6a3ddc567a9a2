#pragma once
// The process-wide buffers that serialised readers (the AVI reader, the plug-ins) borrow for
// one read: raw frame bytes with their bitmap header, and one raw audio block. A reader locks
// the buffer's mutex for the whole read, decode and copy, and unlocks it before returning,
// so all such reads in the program run one at a time. The export side has a pair of its own.
#include <cstdint>
#include <mutex>

#include "media/audio/audio_buffer.h"
#include "system/text.h"

namespace Media {

// The bitmap header of the raw frame bytes (the layout plug-ins fill).
struct BitmapInfoHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

struct VideoReadBuffer {
  System::AlignedBuffer data;
  BitmapInfoHeader header;
  std::mutex mutex;
};

struct AudioReadBuffer {
  RawAudioBlockBuffer block;
  std::mutex mutex;
};

struct ReadBuffers {
  VideoReadBuffer video;
  AudioReadBuffer audio;
};

// The input side's pair and the export side's pair. They live for the whole process.
ReadBuffers& inputReadBuffers();
ReadBuffers& exportReadBuffers();

}  // namespace Media
