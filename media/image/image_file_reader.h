#pragma once
// The built-in reader of still pictures: PNG, JPEG, BMP and GIF by default (the image
// service also knows TIFF and WebP when the user adds those extensions). A picture is a
// one-frame video; the file keeps only its path and decodes the picture anew on every read
// (the image cache keeps the result).
#include <memory>
#include <string>

#include "media/input/input_file.h"
#include "media/input/input_plugin.h"

namespace Plugin {

class ImageFileReader : public InputPlugin {
 public:
  class InputImageFile : public InputFile {
   public:
    explicit InputImageFile(std::string path) : path_(std::move(path)) {}
    // The picture, whatever the frame number. Throws the image service's error.
    std::shared_ptr<Media::ImageBuffer> readVideo(int32_t frame) override;
    const std::string& path() const { return path_; }

   private:
    friend class ImageFileReader;
    std::string path_;
  };

  ImageFileReader();

  // Decodes the picture once to learn its size. A file that does not decode throws the
  // image service's error.
  std::shared_ptr<InputFile> openFile(const std::string& path) override;
};

}  // namespace Plugin
