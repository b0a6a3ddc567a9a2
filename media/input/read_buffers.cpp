#include "media/input/read_buffers.h"

#include "media/image/dib_convert.h"

namespace Media {

uint32_t VideoReadBuffer::storeImage(const ImageBuffer& image) {
  getBitmapInfoHeader(header, image.format, static_cast<int32_t>(image.width),
                      static_cast<int32_t>(image.height));
  data.allocMemory(header.sizeImage);
  copyToDib(image, header, data.data(), header.sizeImage);
  return header.sizeImage;
}

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
