#pragma once
// The built-in reader of the common containers (MP4, MPEG, WAV, MP3 and whatever else the
// user assigns to it), decoded through FFmpeg. An opened file keeps one stream reader for
// video and a second one for audio, so that the image cache and the audio cache can read the
// same file at the same time.
#include <memory>
#include <string>

#include "media/input/input_file.h"
#include "media/input/input_plugin.h"

namespace Media {
class MediaSourceReader;
}

namespace Plugin {

class MediaFileReader : public InputPlugin {
 public:
  class InputMediaFile : public InputFile {
   public:
    InputMediaFile();
    ~InputMediaFile() override;

    // Opens the path: the first video stream through one reader, the first audio stream
    // through a second one. False when the path cannot be opened at all.
    bool open(const std::string& path);

    std::shared_ptr<Media::ImageBuffer> readVideo(int32_t frame) override;
    std::shared_ptr<Media::AudioBlockBuffer> readAudio(int32_t block) override;

   private:
    std::unique_ptr<Media::MediaSourceReader> video_;
    std::unique_ptr<Media::MediaSourceReader> audio_;
  };

  MediaFileReader();

  // The opened file, or empty when FFmpeg cannot open the path (the reason is logged). A
  // file with neither stream is returned as it is; the input service refuses it.
  std::shared_ptr<InputFile> openFile(const std::string& path) override;
};

}  // namespace Plugin
