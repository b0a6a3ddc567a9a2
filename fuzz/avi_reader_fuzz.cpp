// Feeds arbitrary bytes to the AVI reader as an .avi file. The open either fails (and says
// why in the log) or gives a file whose description is sound, and whose first and last
// frames and first second of audio read as images and blocks of that description, or fail
// with an exception. No input may crash, hang or make the reader allocate without bound.
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/avi/avi_file_reader.h"
#include "media/input/input_file.h"

namespace {

using FuzzSupport::fail;

const std::string& inputPath() {
  static const FuzzSupport::ProgramFolder folder("velumo-avi-fuzz");
  static const std::string path = folder.path() + "/input.avi";
  return path;
}

void checkDescription(const Plugin::MediaDescription& d) {
  if (d.hasVideo()) {
    if (d.frameCount <= 0) fail("video without frames");
    if (d.width <= 0 || d.height <= 0) fail("video without a size");
    if (d.rate <= 0 || d.scale <= 0) fail("video without a rate");
  }
  if (d.hasAudio()) {
    if (d.samplingRate <= 0 || d.channels <= 0) fail("audio without a rate or channels");
    if (!((d.audioFormatTag == 1 && d.bitsPerSample == 16) ||
          (d.audioFormatTag == 3 && d.bitsPerSample == 32)))
      fail("audio in a format the reader does not hand out");
    if (d.audioSampleCount <= 0) fail("audio without samples");
  }
}

void checkImage(const Media::ImageBuffer& image, const Plugin::MediaDescription& d) {
  if (image.format != d.pixelFormat || image.width != static_cast<uint32_t>(d.width) ||
      image.height != static_cast<uint32_t>(d.height))
    fail("a frame unlike the description");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = inputPath();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  Plugin::AviFileReader reader;
  const auto file = reader.openFile(path);
  if (!file) return 0;
  const auto& d = file->description();
  checkDescription(d);
  if (d.hasVideo()) {
    for (const int32_t frame : {0, d.frameCount - 1}) {
      try {
        const auto image = file->readVideo(frame);
        if (!image) fail("no frame from a file with video");
        checkImage(*image, d);
      } catch (const std::exception&) {
        // A chunk that does not decode or a file changed under the reader: a failed read.
      }
    }
  } else if (file->readVideo(0)) {
    fail("a frame from a file without video");
  }
  if (d.hasAudio()) {
    try {
      const auto block = file->readAudio(0);
      if (!block) fail("no block from a file with audio");
      if (block->sampleCount() != d.samplingRate) fail("a block that is not one second");
    } catch (const std::exception&) {
    }
  }
  return 0;
}
