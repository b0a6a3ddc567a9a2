#include "media/avi/avi_file_reader.h"

#include "media/avi/avi_file_input.h"
#include "system/exception.h"
#include "system/log.h"

namespace Plugin {

AviFileReader::AviFileReader()
    : InputPlugin("AVI/AVI2 File Reader", {{"AviFile (*.avi)", "*.avi"}}, "",
                  kReaderVideo | kReaderAudio) {}

std::shared_ptr<InputFile> AviFileReader::openFile(const std::string& path) {
  try {
    auto file = std::make_shared<AviFileInput>();
    file->open(path);
    return file;
  } catch (const System::Exception&) {
    // Already logged when it was built; the input service asks the next reader.
  } catch (const std::exception& failure) {
    System::Log::error("Plugin::AviFileReader::openFile", "%s", failure.what());
  }
  return {};
}

}  // namespace Plugin
