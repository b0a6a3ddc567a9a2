#include "media/input/input_file.h"

#include "system/exception.h"

namespace Plugin {

std::shared_ptr<Media::ImageBuffer> InputFile::readVideo(int32_t) {
  throw System::makeNotImplementedException("Plugin::InputFile::readVideo");
}

std::shared_ptr<Media::AudioBlockBuffer> InputFile::readAudio(int32_t) {
  throw System::makeNotImplementedException("Plugin::InputFile::readAudio");
}

double InputFile::videoSeconds() const {
  if (description_.rate <= 0 || description_.scale <= 0) return 0.0;
  return static_cast<double>(description_.frameCount) * description_.scale / description_.rate;
}

double InputFile::audioSeconds() const {
  if (description_.samplingRate <= 0) return 0.0;
  return static_cast<double>(description_.audioSampleCount) / description_.samplingRate;
}

}  // namespace Plugin
