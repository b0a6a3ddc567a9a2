#pragma once
// Opens AVI bytes through the reader for a test: written to a file of a temporary folder.
#include <memory>
#include <string>

#include "media/avi/avi_file_input.h"
#include "media/avi/avi_file_reader.h"
#include "system/temp_folder.h"

namespace AviTest {

class OpenedAvi {
 public:
  explicit OpenedAvi(const std::string& bytes, const std::string& name = "test.avi") {
    path_ = folder_.writeFile(name, bytes);
    file_ = reader_.openFile(path_);
  }
  Plugin::InputFile* operator->() const { return file_.get(); }
  Plugin::InputFile& operator*() const { return *file_; }
  explicit operator bool() const { return file_ != nullptr; }
  const std::string& path() const { return path_; }
  Plugin::AviFileReader& reader() { return reader_; }

 private:
  TestSupport::TempFolder folder_{"velumo-avi-test"};
  Plugin::AviFileReader reader_;
  std::string path_;
  std::shared_ptr<Plugin::InputFile> file_;
};

}  // namespace AviTest
