#pragma once
// The built-in AVI writer: uncompressed video and PCM or float sound in one AVI file, the
// formats chosen by two keys of its section.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "output/avi_header_images.h"
#include "output/output_plugin.h"
#include "system/config.h"

namespace Plugin {

// The texts of "VideoType" the settings offer; "RGBA64bit(RU64)" and "RGBA64bit(RF64)" are
// accepted as well.
inline constexpr const char* kAviVideoTypes[] = {"RGB24bit", "RGBA32bit", "YUY2"};
inline constexpr const char* kAviAudioTypes[] = {"PCM16bit", "PCM(float)32bit"};

// The frame format of a "VideoType" text: any text not known gives 24-bit RGB.
int32_t aviVideoFormat(std::string_view videoType);
// The sample format of an "AudioType" text: any text not known gives 16-bit PCM.
AviAudioFormat aviAudioFormat(std::string_view audioType);

class AviFileSave final : public OutputPlugin {
 public:
  AviFileSave();
  ~AviFileSave() override;

  // Asks where to save and makes the export for that path; empty when the user cancelled.
  std::shared_ptr<OutputFile> openFile() override;
  // No showSetting of its own yet: the dialog that picks the two types comes with the window
  // framework. Until then the button answers with the base's "not implement." and the keys
  // are edited in the parameter file.

  // "Video: <VideoType> / Audio: <AudioType>".
  std::string getSettingText() override;
  // Binds "VideoType" and "AudioType" to the section and loads them.
  void registerConfig(const std::string& sectionName) override;

  const std::string& videoType() const { return videoType_; }
  const std::string& audioType() const { return audioType_; }
  void setVideoType(std::string type) { videoType_ = std::move(type); }
  void setAudioType(std::string type) { audioType_ = std::move(type); }

 private:
  std::string videoType_ = "RGB24bit";
  std::string audioType_ = "PCM16bit";
  std::unique_ptr<System::Config::Section> section_;
  std::unique_ptr<System::Config::String> videoParameter_;
  std::unique_ptr<System::Config::String> audioParameter_;
  // Declared last: destroyed first, it saves the keys.
  std::unique_ptr<System::Config::Binding> binding_;
};

}  // namespace Plugin
