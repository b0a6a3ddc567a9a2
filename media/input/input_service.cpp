#include "media/input/input_service.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <typeinfo>

#include "media/input/builtin_readers.h"
#include "media/input/input_file.h"
#include "media/input/input_plugin.h"
#include "media/plugin/external_input_plugin.h"
#include "media/plugin/input_pipe32.h"
#include "system/dialog.h"
#include "system/exception.h"
#include "system/log.h"
#include "system/setting_service.h"

namespace Plugin {
namespace {

// A dialog filter entry listing every extension of the map: "VideoFile (*.avi;*.mp4)".
System::Filter makeFilter(const InputService::ExtensionMap& map, const char* label) {
  std::string patterns;
  for (const auto& [extension, readers] : map) {
    if (!patterns.empty()) patterns += ';';
    patterns += "*." + extension;
  }
  return {{std::string(label) + " (" + patterns + ")", patterns}};
}

}  // namespace

InputService::InputService() : InputService(makeBuiltinReaders()) {}

InputService::InputService(PluginList readers) {
  loadSettings();
  for (auto& reader : readers) registerPlugin(std::move(reader));
  registerFolderReaders();
  updateExtTypeList();
}

InputService::~InputService() {
  cache_.clear();
  plugins_.clear();  // each reader saves its section
  binding_.reset();  // saves [Input]
}

void InputService::loadSettings() {
  binding_ = std::make_unique<System::Config::Binding>(config_, Setting::ParameterIni::instance());
  binding_->load();
  cache_.setLimit(fileHandleMax_);
}

void InputService::setFileHandleMax(int32_t count) {
  fileHandleMax_ = count;
  cache_.setLimit(count);
}

void InputService::registerPlugin(std::shared_ptr<InputPlugin> plugin) {
  if (!plugin) return;
  InputPlugin& reader = *plugin;
  try {
    System::Log::info("Plugin::InputService::registerPlugin", "register input plugin [%s]",
                      reader.name().c_str());
    plugins_.push_back(std::move(plugin));
    reader.bindSection(registered_++);
  } catch (const std::exception& error) {
    Dialog::showError("failed to register input plugin. [%s]\n\n%s",
                              typeid(reader).name(), error.what());
  }
}

void InputService::registerPlugin(const char* typeName,
                                  const std::function<std::shared_ptr<InputPlugin>()>& make) {
  std::shared_ptr<InputPlugin> plugin;
  try {
    plugin = make();
  } catch (const std::exception& error) {
    Dialog::showError("failed to register input plugin. [%s]\n\n%s", typeName, error.what());
    return;
  }
  registerPlugin(std::move(plugin));
}

void InputService::registerFolderReaders() {
  const std::string folder = System::FileName::expandVariable("%Plugin%");
  for (const auto& file : System::File::findFiles(folder + "/*.vli2", folder))
    registerPlugin("Plugin::ExternalInputPlugin",
                   [&file] { return std::make_shared<ExternalInputPlugin>(file.path); });
  // Bare names: the helper program loads them from the plug-in folder itself.
  for (const auto& file : System::File::findFiles(folder + "/*.vli"))
    registerPlugin("Plugin::InputPipe32",
                   [&file] { return std::make_shared<InputPipe32>(file.path); });
}

void InputService::updateExtTypeList() {
  std::unique_lock lock(mapsMutex_);
  videoMap_.clear();
  audioMap_.clear();
  imageMap_.clear();
  std::stable_sort(plugins_.begin(), plugins_.end(),
                   [](const auto& a, const auto& b) { return a->priority() < b->priority(); });
  for (const auto& plugin : plugins_) {
    const char* name = plugin->name().c_str();
    for (const auto& extension : plugin->getExtList()) {
      if (plugin->kinds() & kReaderVideo) {
        videoMap_[extension].push_back(plugin);
        System::Log::info("Plugin::InputService::updateExtTypeList", "[Video] %s -> [%s]",
                          extension.c_str(), name);
      }
      if (plugin->kinds() & kReaderAudio) {
        audioMap_[extension].push_back(plugin);
        System::Log::info("Plugin::InputService::updateExtTypeList", "[Audio] %s -> [%s]",
                          extension.c_str(), name);
      }
      if (plugin->kinds() & kReaderImage) {
        imageMap_[extension].push_back(plugin);
        System::Log::info("Plugin::InputService::updateExtTypeList", "[Image] %s -> [%s]",
                          extension.c_str(), name);
      }
    }
  }
  videoFilter_ = makeFilter(videoMap_, "VideoFile");
  audioFilter_ = makeFilter(audioMap_, "AudioFile");
  imageFilter_ = makeFilter(imageMap_, "ImageFile");
}

bool InputService::isVideoExtension(const std::string& extension) const {
  std::shared_lock lock(mapsMutex_);
  return videoMap_.count(extension) != 0;
}

bool InputService::isAudioExtension(const std::string& extension) const {
  std::shared_lock lock(mapsMutex_);
  return audioMap_.count(extension) != 0;
}

InputService::PluginList InputService::readersFor(const std::string& extension, int kind) const {
  std::shared_lock lock(mapsMutex_);
  const ExtensionMap& map = kind == 1 ? videoMap_ : audioMap_;
  const auto found = map.find(extension);
  return found == map.end() ? PluginList{} : found->second;
}

std::shared_ptr<InputFile> InputService::openFile(const std::string& path, int kind) {
  constexpr const char* kPlace = "Plugin::InputService::openFile";
  System::Log::info(kPlace, "open media file [%s]", path.c_str());
  const PluginList readers = readersFor(System::FileName::getExtension(path), kind);
  if (readers.empty())
    throw System::makeFormattedException(kPlace, "not supported file.", "%s", path.c_str());
  std::shared_ptr<InputFile> file;
  for (const auto& reader : readers) {
    file = reader->openFile(path);
    if (file) {
      file->setOwner(reader.get());
      break;
    }
  }
  if (!file) throw System::makeFormattedException(kPlace, "can not open file.", "%s", path.c_str());
  const bool hasKind = kind == 1 ? file->description().hasVideo() : file->description().hasAudio();
  if (!hasKind)
    throw System::makeFormattedException(kPlace, kind == 1 ? "file is no video." : "file is no audio.",
                                         "%s", path.c_str());
  return file;
}

std::shared_ptr<InputFile> InputService::getInputFile(const std::string& path, int kind) {
  if (path.empty() || (kind != 1 && kind != 2)) return {};
  try {
    auto file = cache_.findCachedFile(path, [&] { return openFile(path, kind); });
    if (!file) return {};
    const bool hasKind = kind == 1 ? file->description().hasVideo() : file->description().hasAudio();
    return hasKind ? file : nullptr;
  } catch (const std::exception&) {
    return {};  // already in the log
  }
}

std::shared_ptr<InputFile> InputService::getMediaFile(const std::string& path) {
  if (auto file = getInputFile(path, 1)) return file;
  return getInputFile(path, 2);
}

void InputService::clearFileCache() { cache_.clear(); }

}  // namespace Plugin
