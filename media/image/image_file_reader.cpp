#include "media/image/image_file_reader.h"

#include "gpu/image/image_buffer.h"
#include "media/image/image_service.h"

namespace Plugin {

ImageFileReader::ImageFileReader()
    : InputPlugin("WIC image file reader",
                  {{"PngFile (*.png)", "*.png"},
                   {"JpegFile (*.jpg)", "*.jpg"},
                   {"BmpFile (*.bmp)", "*.bmp"},
                   {"GifFile (*.gif)", "*.gif"}},
                  "", kReaderVideo | kReaderImage) {}

std::shared_ptr<InputFile> ImageFileReader::openFile(const std::string& path) {
  auto file = std::make_shared<InputImageFile>(path);
  const auto image = Media::ImageService::Get().loadFromFile(path);
  if (!image) return nullptr;
  MediaDescription& description = file->description_;
  description.kinds = kKindVideo;
  description.frameCount = 1;
  description.rate = 1;
  description.scale = 1;
  description.pixelFormat = image->format;
  description.width = static_cast<int32_t>(image->width);
  description.height = static_cast<int32_t>(image->height);
  return file;
}

std::shared_ptr<Media::ImageBuffer> ImageFileReader::InputImageFile::readVideo(int32_t) {
  return Media::ImageService::Get().loadFromFile(path_);
}

}  // namespace Plugin
