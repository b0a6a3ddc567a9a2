#include "media/plugin/external_input_plugin.h"

#include <cstring>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/image/dib_convert.h"
#include "media/input/read_buffers.h"
#include "media/plugin/external_media_info.h"
#include "media/plugin/plugin_call.h"
#include "media/plugin/plugin_table.h"
#include "system/exception.h"
#include "system/log.h"
#include "system/text.h"

namespace Plugin {
namespace {

constexpr const char* kLoadPlace = "Plugin::ExternalInputPlugin::ExternalInputPlugin";
constexpr const char* kOpenPlace = "Plugin::ExternalInputPlugin::ExternalInputFile::open";
constexpr const char* kReadVideoPlace = "Plugin::ExternalInputPlugin::ExternalInputFile::readVideo";
constexpr const char* kReadAudioPlace = "Plugin::ExternalInputPlugin::ExternalInputFile::readAudio";
constexpr const char* kClosePlace =
    "Plugin::ExternalInputPlugin::ExternalInputFile::~ExternalInputFile";

}  // namespace

// What the reader's base needs, read from the table before the base is built.
struct ExternalInputPlugin::Loaded {
  std::shared_ptr<Module> module;
  PluginTableTexts texts;
  int32_t kinds = 0;
};

ExternalInputPlugin::Loaded ExternalInputPlugin::load(const std::string& path) {
  auto module = std::make_shared<Module>();
  module->library = std::make_unique<PluginLibrary>(path, kLoadPlace, false);
  module->table = copyPluginTable<VelumoInputTable>(*module->library,
                                                          "VelumoInputPluginTable", kLoadPlace);
  const VelumoInputTable& table = module->table;
  if (!table.fnOpen || !table.fnClose || !table.fnGetInfo)
    throw System::makeException(kLoadPlace, "invalid plugin table.", "fnOpen, fnClose, fnGetInfo");
  Loaded loaded;
  loaded.texts = copyPluginTableTexts(table, kLoadPlace);
  loaded.kinds = (table.flags & kReaderVideo) | (table.flags & kReaderAudio) |
                 (table.fnConfigure ? kReaderSettings : 0);
  loaded.module = std::move(module);
  return loaded;
}

ExternalInputPlugin::ExternalInputPlugin(const std::string& path)
    : ExternalInputPlugin(load(path)) {}

ExternalInputPlugin::ExternalInputPlugin(Loaded loaded)
    : InputPlugin(std::move(loaded.texts.name), std::move(loaded.texts.filter),
                  std::move(loaded.texts.information), loaded.kinds),
      module_(std::move(loaded.module)) {}

// The library is closed when its last open file is gone too.
ExternalInputPlugin::~ExternalInputPlugin() = default;

std::shared_ptr<InputFile> ExternalInputPlugin::openFile(const std::string& path) {
  auto file = std::make_shared<ExternalInputFile>(module_);
  if (!file->open(path)) return nullptr;
  return file;
}

void ExternalInputPlugin::showSetting(void* ownerWindow) {
  const auto configure = module_->table.fnConfigure;
  if (!configure) return;
  void* library = module_->library->handle();
  callPluginFunction("table.fnConfigure", "Plugin::ExternalInputPlugin::showSetting",
                     [&] { return configure(ownerWindow, library); });
}

// ---- one opened file -------------------------------------------------------------------

ExternalInputPlugin::ExternalInputFile::ExternalInputFile(std::shared_ptr<const Module> module)
    : module_(std::move(module)) {}

ExternalInputPlugin::ExternalInputFile::~ExternalInputFile() {
  if (!handle_) return;
  try {
    const auto close = module_->table.fnClose;
    void* handle = handle_;
    callPluginFunction("table.fnClose", kClosePlace, [&] { return close(handle); });
  } catch (const std::exception&) {
    // Already in the log; a destructor must not throw.
  }
}

bool ExternalInputPlugin::ExternalInputFile::open(const std::string& path) {
  const VelumoInputTable& table = module_->table;
  const std::u16string widePath = System::utf8ToUtf16(path);
  const char16_t* pathText = widePath.c_str();
  handle_ = callPluginFunction("table.fnOpen", kOpenPlace,
                               [&] { return table.fnOpen(pathText); });
  if (!handle_) return false;

  // The formats the report points to are copied inside the guarded call: they are the
  // plug-in's memory, and a wild pointer there is its crash.
  ReportedMedia report;
  void* handle = handle_;
  VelumoBitmapInfoHeader video{};
  VelumoWaveFormat audio{};
  struct Pointed {
    bool filled, video, audio;
  };
  const Pointed got = callPluginFunction("table.fnGetInfo", kOpenPlace, [&] {
    Pointed result{table.fnGetInfo(handle, &report.info), false, false};
    if (result.filled && report.info.videoFormat) {
      std::memcpy(&video, report.info.videoFormat, sizeof video);
      result.video = true;
    }
    if (result.filled && report.info.audioFormat) {
      std::memcpy(&audio, report.info.audioFormat, sizeof audio);
      result.audio = true;
    }
    return result;
  });
  if (!got.filled) return false;
  if (got.video) report.video = video;
  if (got.audio) report.audio = audio;
  std::string reason;
  const auto description = describeReportedMedia(report, reason);
  if (!description) {
    System::Log::info(kOpenPlace, "%s\n%s", reason.c_str(), path.c_str());
    return false;
  }
  description_ = *description;
  return true;
}

std::unique_lock<std::mutex> ExternalInputPlugin::ExternalInputFile::lockReads() {
  if (module_->table.flags & VELUMO_INPUT_CONCURRENT) return {};
  return std::unique_lock(mutex_);
}

std::shared_ptr<Media::ImageBuffer> ExternalInputPlugin::ExternalInputFile::readVideo(
    int32_t frame) {
  if (!description_.hasVideo()) return InputFile::readVideo(frame);
  const auto fileLock = lockReads();
  auto& shared = Media::inputReadBuffers().video;
  std::lock_guard bufferLock(shared.mutex);
  Media::getBitmapInfoHeader(shared.header, description_.pixelFormat, description_.width,
                             description_.height);
  shared.data.allocMemory(shared.header.sizeImage);
  std::memset(shared.data.data(), 0, shared.data.size());

  const auto readFrame = module_->table.fnReadVideo;
  if (readFrame) {
    void* handle = handle_;
    void* buffer = shared.data.data();
    callPluginFunction("table.fnReadVideo", kReadVideoPlace,
                       [&] { return readFrame(handle, frame, buffer); });
  }
  auto image = Media::ImageBuffer::makeShared(description_.pixelFormat,
                                              static_cast<uint32_t>(description_.width),
                                              static_cast<uint32_t>(description_.height));
  Media::copyFromDib(*image, shared.header, shared.data.data(), shared.data.size());
  return image;
}

std::shared_ptr<Media::AudioBlockBuffer> ExternalInputPlugin::ExternalInputFile::readAudio(
    int32_t block) {
  if (!description_.hasAudio()) return InputFile::readAudio(block);
  const auto fileLock = lockReads();
  auto& shared = Media::inputReadBuffers().audio;
  std::lock_guard bufferLock(shared.mutex);
  auto& raw = shared.startBlock(description_);

  const int64_t start = int64_t{block} * description_.samplingRate;
  const auto readSamples = module_->table.fnReadAudio;
  if (readSamples && start >= 0 && start <= INT32_MAX) {
    void* handle = handle_;
    void* buffer = raw.data.data();
    const auto first = static_cast<int32_t>(start);
    const int32_t length = description_.samplingRate;
    callPluginFunction("table.fnReadAudio", kReadAudioPlace,
                       [&] { return readSamples(handle, first, length, buffer); });
  }
  return std::make_shared<Media::AudioBlockBuffer>(raw);
}

}  // namespace Plugin
