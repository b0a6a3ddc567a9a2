#include "builtin/input/input_file_filters.h"

#include <utility>

namespace Effect {

namespace {

System::Filter allFiles() { return {{"AllFile (*.*)", "*.*"}}; }

}  // namespace

namespace InputFileFilters {

System::Filter& video() {
  static System::Filter filter = allFiles();
  return filter;
}

System::Filter& audio() {
  static System::Filter filter = allFiles();
  return filter;
}

System::Filter& image() {
  static System::Filter filter = allFiles();
  return filter;
}

}  // namespace InputFileFilters

void setInputFileFilters(System::Filter video, System::Filter audio, System::Filter image) {
  InputFileFilters::video() = std::move(video);
  InputFileFilters::audio() = std::move(audio);
  InputFileFilters::image() = std::move(image);
}

}  // namespace Effect
