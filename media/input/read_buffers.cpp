#include "media/input/read_buffers.h"

namespace Media {

RawAudioBlockBuffer& AudioReadBuffer::startBlock(const Plugin::MediaDescription& description) {
  block.formatTag = description.audioFormatTag;
  block.samplingRate = description.samplingRate;
  block.bitsPerSample = description.bitsPerSample;
  block.channels = description.channels;
  block.allocateSecond();
  return block;
}

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
