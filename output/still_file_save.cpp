#include "output/still_file_save.h"

#include <algorithm>

#include "media/image/format_guid.h"
#include "media/image/image_service.h"
#include "output/export_ui.h"
#include "system/exception.h"
#include "system/setting_service.h"
#include "system/translate_service.h"

namespace Plugin {
namespace {

constexpr const char* kPngWithAlpha = "PNGファイル(透過付き)";
constexpr const char* kPngWithoutAlpha = "PNGファイル(透過無し)";
constexpr const char* kJpegQuality = "JPEG品質";

std::string translated(std::string_view text) {
  return Translate::translateText(Translate::TranslateService::TextKind::Dialog, text);
}

Media::ImageService& imageService() {
  Media::ImageService* service = Media::ImageService::instance();
  if (!service)
    throw System::makeException("Plugin::OutputFile::save", "ImageService not created.");
  return *service;
}

// The file's pixels straight from the rendered image: rows at its pitch, top-down.
void encode(const std::string& path, const Media::ImageBuffer& image,
            const Media::FormatGuid& sourceFormat, Media::FormatGuid container,
            const std::optional<Media::EncoderOption>& option) {
  imageService().saveToFile(path, image.data(), image.width, image.height, image.pitch,
                            sourceFormat, container, option);
}

}  // namespace

StillFileSave::StillFileSave(std::string name, System::Filter filter, const char* key,
                             int32_t defaultValue)
    : OutputPlugin(std::move(name), std::move(filter), {}, kWriterVideo | kWriterSettings),
      value_(defaultValue),
      key_(key),
      default_(defaultValue) {}

StillFileSave::~StillFileSave() {
  binding_.reset();  // saves the key
  parameter_.reset();
}

void StillFileSave::registerConfig(const std::string& sectionName) {
  binding_.reset();
  parameter_.reset();
  section_ = std::make_unique<System::Config::Section>(sectionName);
  parameter_ = std::make_unique<System::Config::Int>(*section_, key_, &value_, default_);
  binding_ = std::make_unique<System::Config::Binding>(*section_,
                                                       Setting::ParameterIni::instance());
  binding_->load();
}

// --- PNG ----------------------------------------------------------------------------------

PngFileSave::PngFileSave()
    : StillFileSave("PNGファイル出力", {{"PNG File (*.png)", "*.png"}}, "transparent", 1) {}

std::shared_ptr<OutputFile> PngFileSave::openFile() {
  const std::string path = chooseSavePath();
  if (path.empty()) return nullptr;
  return std::make_shared<PngFileSaveFile>(path, *this);
}

void PngFileSave::showSetting() {
  const int chosen = exportUi().choosePopupItem(
      {translated(kPngWithAlpha), translated(kPngWithoutAlpha)}, transparent() ? 0 : 1);
  if (chosen == 0 || chosen == 1) setTransparent(chosen == 0);
}

std::string PngFileSave::getSettingText() {
  return translated(transparent() ? kPngWithAlpha : kPngWithoutAlpha);
}

PngFileSaveFile::PngFileSaveFile(std::string path, const PngFileSave& plugin)
    : OutputFile(std::move(path), false), plugin_(plugin) {}

PngFileSaveFile::PngFileSaveFile(std::string path, const PngFileSave& plugin,
                                 const ExportScene& scene, std::shared_ptr<ExportSource> source,
                                 ExportCaches& caches)
    : OutputFile(std::move(path), false, scene, std::move(source), caches), plugin_(plugin) {}

bool PngFileSaveFile::save() {
  const bool transparent = plugin_.transparent();
  const auto image =
      getVideoFrame(scene().cursorFrame, transparent ? kFrameBgra32 : kFrameBgr24, false);
  if (!image) return false;
  encode(path(), *image,
         transparent ? Media::ImageFormat::kPixel32bppPbgra : Media::ImageFormat::kPixel32bppBgr,
         Media::ImageFormat::kContainerPng, std::nullopt);
  return true;
}

// --- JPEG ---------------------------------------------------------------------------------

JpgFileSave::JpgFileSave()
    : StillFileSave("JPEGファイル出力", {{"JPEG File (*.jpg;*.jpeg)", "*.jpg;*.jpeg"}},
                    "quality", 90) {}

std::shared_ptr<OutputFile> JpgFileSave::openFile() {
  const std::string path = chooseSavePath();
  if (path.empty()) return nullptr;
  return std::make_shared<JpgFileSaveFile>(path, *this);
}

void JpgFileSave::showSetting() {
  const std::optional<int> chosen = exportUi().askInteger(
      name(), translated(kJpegQuality), quality(), kMinQuality, kMaxQuality);
  if (chosen && *chosen >= kMinQuality && *chosen <= kMaxQuality) setQuality(*chosen);
}

std::string JpgFileSave::getSettingText() {
  return translated(kJpegQuality) + ":" + std::to_string(quality());
}

JpgFileSaveFile::JpgFileSaveFile(std::string path, const JpgFileSave& plugin)
    : OutputFile(std::move(path), false), plugin_(plugin) {}

JpgFileSaveFile::JpgFileSaveFile(std::string path, const JpgFileSave& plugin,
                                 const ExportScene& scene, std::shared_ptr<ExportSource> source,
                                 ExportCaches& caches)
    : OutputFile(std::move(path), false, scene, std::move(source), caches), plugin_(plugin) {}

bool JpgFileSaveFile::save() {
  const auto image = getVideoFrame(scene().cursorFrame, kFrameBgr24, false);
  if (!image) return false;
  // A stored quality outside 1 to 100 (an edited settings file) is brought into range.
  const int32_t quality =
      std::clamp(plugin_.quality(), JpgFileSave::kMinQuality, JpgFileSave::kMaxQuality);
  encode(path(), *image, Media::ImageFormat::kPixel32bppBgr, Media::ImageFormat::kContainerJpeg,
         Media::EncoderOption{"ImageQuality", static_cast<float>(quality) / 100.0f});
  return true;
}

}  // namespace Plugin
