#include "output/avi_file_save.h"

#include "output/avi_file_save_file.h"
#include "output/output_file.h"
#include "system/setting_service.h"

namespace Plugin {

int32_t aviVideoFormat(std::string_view videoType) {
  if (videoType == "YUY2") return kFrameYuy2;
  if (videoType == "RGBA64bit(RU64)") return kFrameRgba64;
  if (videoType == "RGBA64bit(RF64)") return kFrameRgba64Float;
  if (videoType == "RGBA32bit") return kFrameBgra32;
  return kFrameBgr24;
}

AviAudioFormat aviAudioFormat(std::string_view audioType) {
  if (audioType == "PCM(float)32bit") return {kAudioFloat32, 32, 2, 8};
  return {kAudioPcm16, 16, 2, 4};
}

AviFileSave::AviFileSave()
    : OutputPlugin("AVIファイル出力", {{"AVI File (*.avi)", "*.avi"}}, {},
                   kWriterVideo | kWriterSettings) {}

AviFileSave::~AviFileSave() {
  binding_.reset();  // saves the keys
  audioParameter_.reset();
  videoParameter_.reset();
}

std::shared_ptr<OutputFile> AviFileSave::openFile() {
  const std::string path = chooseSavePath();
  if (path.empty()) return nullptr;
  return std::make_shared<AviFileSaveFile>(path, *this);
}

std::string AviFileSave::getSettingText() {
  return "Video: " + videoType_ + " / Audio: " + audioType_;
}

void AviFileSave::registerConfig(const std::string& sectionName) {
  binding_.reset();
  audioParameter_.reset();
  videoParameter_.reset();
  section_ = std::make_unique<System::Config::Section>(sectionName);
  videoParameter_ =
      std::make_unique<System::Config::String>(*section_, "VideoType", &videoType_, "RGB24bit");
  audioParameter_ =
      std::make_unique<System::Config::String>(*section_, "AudioType", &audioType_, "PCM16bit");
  binding_ = std::make_unique<System::Config::Binding>(*section_,
                                                       Setting::ParameterIni::instance());
  binding_->load();
}

}  // namespace Plugin
