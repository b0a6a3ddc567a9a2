#pragma once
// The built-in AVI reader: RIFF AVI files, OpenDML files larger than one RIFF part included,
// walked and indexed by the program itself (avi_file_input.h).
#include <memory>
#include <string>

#include "media/input/input_plugin.h"

namespace Plugin {

class AviFileReader : public InputPlugin {
 public:
  AviFileReader();

  // The opened file, or empty when the path is not an AVI file this reader can walk. Never
  // throws: what went wrong is in the log.
  std::shared_ptr<InputFile> openFile(const std::string& path) override;
};

}  // namespace Plugin
