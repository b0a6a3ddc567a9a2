// Feeds arbitrary bytes to the FFmpeg-backed media reader as a file from anywhere may hold
// them. The file either fails to open or opens with a sane description; its first frame and
// first audio block then read (or fail with an error) without crashing, hanging or growing
// without bound.
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/ffmpeg/media_file_reader.h"
#include "media/ffmpeg/media_source_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzSupport::ProgramFolder folder("velumo-fuzz-media");
  static Plugin::MediaFileReader reader;
  const std::string path = folder.path() + "/input.mp4";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const auto file = reader.openFile(path);
  if (!file) return 0;
  const auto& d = file->description();
  if (d.hasVideo()) {
    if (d.width <= 0 || d.height <= 0 ||
        d.width > Media::MediaSourceReader::kMaxDimension ||
        d.height > Media::MediaSourceReader::kMaxDimension || d.frameCount < 1 || d.rate <= 0 ||
        d.scale <= 0)
      FuzzSupport::fail("a video description out of range");
    try {
      if (const auto image = file->readVideo(0)) {
        if (static_cast<int32_t>(image->width) != d.width ||
            static_cast<int32_t>(image->height) != d.height || image->format != d.pixelFormat)
          FuzzSupport::fail("a frame that does not match the description");
      }
    } catch (const std::exception&) {
    }
  }
  if (d.hasAudio()) {
    if (d.samplingRate <= 0 || (d.channels != 1 && d.channels != 2))
      FuzzSupport::fail("an audio description out of range");
    try {
      const auto audio = file->readAudio(0);
      if (!audio || audio->sampleCount() != d.samplingRate || audio->channels() != d.channels)
        FuzzSupport::fail("an audio block that is not one second of the described format");
    } catch (const std::exception&) {
    }
  }
  return 0;
}
