#pragma once
// A reader plug-in library ("%Plugin%/*.vli2"): a shared object exporting
// `VelumoInputPluginTable`, whose table of texts and functions is copied at load time.
//
// Every call into the library runs under the crash guard (plugin_call.h), so a plug-in that
// crashes makes the one read fail with an exception, not the program. Reads of all plug-in
// files share the process's read buffers (media/input/read_buffers.h), and each file's reads
// are serialised by its own mutex unless the table's flags say the plug-in can take
// concurrent reads.
#include <memory>
#include <mutex>
#include <string>

#include "media/input/input_file.h"
#include "media/input/input_plugin.h"
#include "media/plugin/plugin_abi.h"
#include "media/plugin/plugin_library.h"

namespace Plugin {

class ExternalInputPlugin : public InputPlugin {
 public:
  // The loaded library and its copied table, shared by the reader and its open files.
  struct Module {
    std::unique_ptr<PluginLibrary> library;
    VelumoInputTable table{};
  };

  // Loads the library at `path` and copies its table. Throws "dlopen() failed.", "dlsym()
  // failed.", "invalid plugin table." or a structured exception of the table function.
  explicit ExternalInputPlugin(const std::string& path);
  ~ExternalInputPlugin() override;

  // The opened file, or empty when the plug-in refuses it or reports media the program
  // cannot take (the reason is logged). A crash in the plug-in throws.
  std::shared_ptr<InputFile> openFile(const std::string& path) override;
  // The plug-in's settings dialog with the owner window and the library handle; nothing
  // when it has none.
  void showSetting(void* ownerWindow) override;

  class ExternalInputFile;

 private:
  struct Loaded;
  static Loaded load(const std::string& path);
  explicit ExternalInputPlugin(Loaded loaded);

  std::shared_ptr<const Module> module_;
};

class ExternalInputPlugin::ExternalInputFile : public InputFile {
 public:
  explicit ExternalInputFile(std::shared_ptr<const Module> module);
  // Closes the plug-in's handle; a crash in the plug-in's close is logged, never thrown.
  ~ExternalInputFile() override;

  // Asks the plug-in to open `path` and describe it. False when it refuses, or its report
  // cannot be taken (logged with the reason); a crash throws.
  bool open(const std::string& path);

  // The plug-in's frame, converted from a DIB of the description's format and size. The
  // frame buffer is zeroed first: bytes the plug-in does not write read as black, never as
  // another file's frame.
  std::shared_ptr<Media::ImageBuffer> readVideo(int32_t frame) override;
  // One second from block x sampling rate, zero-filled before the plug-in writes: samples it
  // leaves out are silence. A block whose first sample lies outside what the plug-in's
  // 32-bit positions reach is silence without asking it.
  std::shared_ptr<Media::AudioBlockBuffer> readAudio(int32_t block) override;

 private:
  // Locks this file's reads unless the plug-in takes concurrent reads.
  std::unique_lock<std::mutex> lockReads();

  std::shared_ptr<const Module> module_;
  void* handle_ = nullptr;
  std::mutex mutex_;
};

}  // namespace Plugin
