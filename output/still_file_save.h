#pragma once
// The still-picture writers: one PNG or JPEG file of the frame at the scene's cursor,
// encoded through the image service. No numbering, no sequence: one export, one file.
#include <cstdint>
#include <memory>
#include <string>

#include "output/output_file.h"
#include "output/output_plugin.h"
#include "system/config.h"

namespace Plugin {

// A writer with one integer key in its section, saved by its own binding.
class StillFileSave : public OutputPlugin {
 public:
  ~StillFileSave() override;
  void registerConfig(const std::string& sectionName) override;

 protected:
  StillFileSave(std::string name, System::Filter filter, const char* key, int32_t defaultValue);
  int32_t value_ = 0;

 private:
  const char* key_;
  int32_t default_;
  std::unique_ptr<System::Config::Section> section_;
  std::unique_ptr<System::Config::Int> parameter_;
  std::unique_ptr<System::Config::Binding> binding_;
};

class PngFileSave final : public StillFileSave {
 public:
  PngFileSave();
  std::shared_ptr<OutputFile> openFile() override;
  // The pop-up of the two kinds; the chosen one becomes "transparent".
  void showSetting() override;
  std::string getSettingText() override;
  bool transparent() const { return value_ != 0; }
  void setTransparent(bool on) { value_ = on ? 1 : 0; }
};

class JpgFileSave final : public StillFileSave {
 public:
  static constexpr int32_t kMinQuality = 1;
  static constexpr int32_t kMaxQuality = 100;

  JpgFileSave();
  std::shared_ptr<OutputFile> openFile() override;
  // The "JPEG品質" dialog (1 to 100); OK stores the value as "quality".
  void showSetting() override;
  std::string getSettingText() override;
  int32_t quality() const { return value_; }
  void setQuality(int32_t quality) { value_ = quality; }
};

class PngFileSaveFile final : public OutputFile {
 public:
  PngFileSaveFile(std::string path, const PngFileSave& plugin);
  PngFileSaveFile(std::string path, const PngFileSave& plugin, const ExportScene& scene,
                  std::shared_ptr<ExportSource> source, ExportCaches& caches);
  // The cursor frame as PNG; false when there was no frame.
  bool save() override;

 private:
  const PngFileSave& plugin_;
};

class JpgFileSaveFile final : public OutputFile {
 public:
  JpgFileSaveFile(std::string path, const JpgFileSave& plugin);
  JpgFileSaveFile(std::string path, const JpgFileSave& plugin, const ExportScene& scene,
                  std::shared_ptr<ExportSource> source, ExportCaches& caches);
  // The cursor frame as JPEG with "ImageQuality" = quality / 100; false when there was no
  // frame.
  bool save() override;

 private:
  const JpgFileSave& plugin_;
};

}  // namespace Plugin
