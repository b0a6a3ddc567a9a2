#include "media/input/builtin_readers.h"

#include "media/avi/avi_file_reader.h"
#include "media/ffmpeg/media_file_reader.h"
#include "media/image/image_file_reader.h"
#include "media/input/input_plugin.h"

namespace Plugin {

std::vector<std::shared_ptr<InputPlugin>> makeBuiltinReaders() {
  return {std::make_shared<ImageFileReader>(), std::make_shared<AviFileReader>(),
          std::make_shared<MediaFileReader>()};
}

}  // namespace Plugin
