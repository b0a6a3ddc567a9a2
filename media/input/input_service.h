#pragma once
// The registry of media readers and the one place where the program turns a file path into
// an opened media file.
//
// At start it registers the built-in readers (still images, AVI, every other container) in
// that order, which gives them the default priorities 0, 1 and 2, then the reader libraries
// of the plug-in folder and its readers run by the helper program, and maps each claimed
// extension to the readers that claim it, in priority order. Effects, the pre-load caches
// and the edit commands ask for a file by path and kind; the answer comes from the open-file
// cache or from the first reader that opens the path.
#include <cstdint>
#include <functional>
#include <memory>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "media/input/input_file_cache.h"
#include "system/config.h"
#include "system/file.h"
#include "system/service_holder.h"

namespace Plugin {

class InputFile;
class InputPlugin;

class InputService : public System::Service<InputService> {
 public:
  using PluginList = std::vector<std::shared_ptr<InputPlugin>>;
  using ExtensionMap = std::unordered_map<std::string, PluginList>;

  // Loads [Input] and registers the built-in readers.
  InputService();
  // Registers the given readers instead of the built-in ones (tests and tools), then the
  // plug-in folder's.
  explicit InputService(PluginList readers);
  ~InputService();
  InputService(const InputService&) = delete;
  InputService& operator=(const InputService&) = delete;

  // The file opened for `kind` (1 video, 2 audio), or empty: an empty path, a file no reader
  // opens, a file without that kind. Never throws (the failure is logged where it was
  // raised). Any thread.
  std::shared_ptr<InputFile> getInputFile(const std::string& path, int kind);
  // getInputFile for video, else for audio (dropped files, a new scene from a file).
  std::shared_ptr<InputFile> getMediaFile(const std::string& path);
  // Opens the path through the readers of its extension, bypassing the cache. Throws "not
  // supported file.", "can not open file.", "file is no video." or "file is no audio.".
  std::shared_ptr<InputFile> openFile(const std::string& path, int kind);
  // Empties the open-file cache; files still held elsewhere stay open.
  void clearFileCache();
  // Re-sorts the readers by priority and rebuilds the extension maps and dialog filters.
  // UI thread.
  void updateExtTypeList();
  // The "FileHandleMax" setting (5 to 200 through the cache-size dialog); applied at once.
  int32_t fileHandleMax() const { return fileHandleMax_; }
  void setFileHandleMax(int32_t count);

  // Read access for the plug-in dialog, the information tooltip and the file dialogs. The
  // list and maps change only on the UI thread.
  const PluginList& plugins() const { return plugins_; }
  bool isVideoExtension(const std::string& extension) const;
  bool isAudioExtension(const std::string& extension) const;
  const System::Filter& videoFilter() const { return videoFilter_; }
  const System::Filter& audioFilter() const { return audioFilter_; }
  const System::Filter& imageFilter() const { return imageFilter_; }

  InputFileCache& fileCache() { return cache_; }

 private:
  void loadSettings();
  void registerPlugin(std::shared_ptr<InputPlugin> plugin);
  // Makes the reader and registers it; a reader that cannot be made is left out with an
  // error box naming `typeName`.
  void registerPlugin(const char* typeName,
                      const std::function<std::shared_ptr<InputPlugin>()>& make);
  // The plug-in folder's readers in listing order: its reader libraries ("*.vli2"), then the
  // readers the helper program runs ("*.vli").
  void registerFolderReaders();
  // The readers of the extension for `kind`, copied under the maps' lock.
  PluginList readersFor(const std::string& extension, int kind) const;

  int32_t fileHandleMax_ = 20;
  System::Config::Section config_{"Input"};
  System::Config::Int fileHandleMaxParameter_{config_, "FileHandleMax", &fileHandleMax_, 20};
  std::unique_ptr<System::Config::Binding> binding_;

  PluginList plugins_;
  int32_t registered_ = 0;
  // Guards the maps against a rebuild on the UI thread while a worker opens a file.
  mutable std::shared_mutex mapsMutex_;
  ExtensionMap videoMap_;
  ExtensionMap audioMap_;
  ExtensionMap imageMap_;
  System::Filter videoFilter_;
  System::Filter audioFilter_;
  System::Filter imageFilter_;
  InputFileCache cache_;
};

}  // namespace Plugin
