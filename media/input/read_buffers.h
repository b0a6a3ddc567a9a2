#pragma once
// The process-wide buffers that serialised readers (the AVI reader, the plug-ins) borrow for
// one read: raw frame bytes with their bitmap header, and one raw audio block. A reader locks
// the buffer's mutex for the whole read, decode and copy, and unlocks it before returning,
// so all such reads in the program run one at a time. The export side has a pair of its own.
#include <cstdint>
#include <mutex>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/image/bitmap_info_header.h"
#include "media/input/input_file.h"
#include "system/text.h"

namespace Media {

struct VideoReadBuffer {
  System::AlignedBuffer data;
  BitmapInfoHeader header;  // describes the raw frame bytes; the plug-ins fill it
  std::mutex mutex;

  // Describes `image` as a DIB of its own format and size and copies it in; the caller holds
  // the mutex. Returns the DIB's size in bytes.
  uint32_t storeImage(const ImageBuffer& image);
};

struct AudioReadBuffer {
  RawAudioBlockBuffer block;
  std::mutex mutex;

  // Sets the block to the file's audio format and one second of silence, ready for a read.
  RawAudioBlockBuffer& startBlock(const Plugin::MediaDescription& description);
};

struct ReadBuffers {
  VideoReadBuffer video;
  AudioReadBuffer audio;
};

// Sound a writer's bridge hands on for one request: any length, in the asked format.
struct AudioWriteBuffer {
  RawAudioBuffer buffer;
  std::mutex mutex;
};

// The input side's pair and the export side's pair. They live for the whole process.
ReadBuffers& inputReadBuffers();
ReadBuffers& exportReadBuffers();
// The export side's sound for the plug-in bridges. It lives for the whole process.
AudioWriteBuffer& exportAudioWriteBuffer();

}  // namespace Media
