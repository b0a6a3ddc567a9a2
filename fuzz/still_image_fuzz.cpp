// Feeds arbitrary bytes to the still-image reader as a picture file from anywhere: the file
// either opens as one frame or is refused with an error, and a frame that opens reads back
// with the size and format its description gives.
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

#include "fuzz/fuzz_support.h"
#include "gpu/image/image_buffer.h"
#include "media/image/image_file_reader.h"
#include "media/image/image_service.h"

namespace {

struct World {
  FuzzSupport::ProgramFolder folder{"still-image-fuzz"};
  // The program's side limit, but at most 1024 x 1024 pixels: a mutated size field then
  // costs milliseconds rather than a second per input, and the decoders' buffers stay far
  // inside the fuzzer's memory limit. Larger pictures take the same paths.
  System::ServiceHolder<Media::ImageService> service{
      Media::ImageLimits{.maxSide = 16384, .maxPixels = uint64_t{1024} * 1024}};
  Plugin::ImageFileReader reader;
  std::string path = folder.path() + "/input.img";

  World() { av_log_set_level(AV_LOG_QUIET); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  std::ofstream(world.path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  std::shared_ptr<Plugin::InputFile> file;
  try {
    file = world.reader.openFile(world.path);
  } catch (const std::exception&) {
    return 0;
  }
  if (!file) return 0;
  const auto& description = file->description();
  if (description.frameCount != 1 || description.width <= 0 || description.height <= 0)
    FuzzSupport::fail("an opened picture is not one frame of a size");
  std::shared_ptr<Media::ImageBuffer> image;
  try {
    image = file->readVideo(0);
  } catch (const std::exception&) {
    FuzzSupport::fail("a picture that opened does not read");
  }
  if (!image || image->format != description.pixelFormat ||
      static_cast<int32_t>(image->width) != description.width ||
      static_cast<int32_t>(image->height) != description.height ||
      image->usedSize() < uint64_t{image->pitch} * image->height)
    FuzzSupport::fail("the picture read differs from its description");
  return 0;
}
