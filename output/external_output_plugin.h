#pragma once
// A writer plug-in library ("%Plugin%/*.vlo2"): a shared object exporting
// `VelumoOutputPluginTable`. Its fnOutput writes the whole export, drawing frames and sound
// from the program through the callbacks of the job record (external_output_callbacks.h).
//
// Every call into the library runs under the crash guard (media/plugin/plugin_call.h): a
// crash in fnOutput fails that export with an exception instead of ending the program.
#include <memory>
#include <string>

#include "media/plugin/plugin_abi.h"
#include "media/plugin/plugin_library.h"
#include "output/output_file.h"
#include "output/output_plugin.h"

namespace Plugin {

class ExternalOutputPlugin : public OutputPlugin {
 public:
  // The loaded library and its copied table, shared by the writer and its exports.
  struct Module {
    std::unique_ptr<PluginLibrary> library;
    VelumoOutputTable table{};
  };

  // Loads the library at `path` (it stays mapped until the process ends) and copies its
  // table. Throws "dlopen() failed.", "dlsym() failed.", "invalid plugin table." or a
  // structured exception of the table function.
  explicit ExternalOutputPlugin(const std::string& path);
  ~ExternalOutputPlugin() override;

  // The save dialog (with the settings button when the plug-in has a settings dialog), then
  // the export for the chosen path; empty when the user cancelled.
  std::shared_ptr<OutputFile> openFile() override;
  // The plug-in's settings dialog with the library handle; nothing when it has none.
  void showSetting() override;
  // The plug-in's text for the settings button's row; "" when it gives none.
  std::string getSettingText() override;

  const std::shared_ptr<const Module>& module() const { return module_; }

 private:
  struct Loaded;
  static Loaded load(const std::string& path);
  explicit ExternalOutputPlugin(Loaded loaded);

  std::shared_ptr<const Module> module_;
};

// The export of one writer plug-in. Completion shows the notice.
class ExternalOutputFile : public OutputFile {
 public:
  ExternalOutputFile(std::string path, std::shared_ptr<const ExternalOutputPlugin::Module> module);
  // An export of `scene` from `source` (tests, benchmarks).
  ExternalOutputFile(std::string path, std::shared_ptr<const ExternalOutputPlugin::Module> module,
                     const ExportScene& scene, std::shared_ptr<ExportSource> source,
                     ExportCaches& caches);

  // Serves the callbacks from this export, sets both read-ahead depths to 4, fills the job
  // record and returns what fnOutput returns. One export at a time: a save while another
  // runs throws "output plugin is busy.".
  bool save() override;

 private:
  std::shared_ptr<const ExternalOutputPlugin::Module> module_;
};

// The writer for the library at `path` (the output service registers the plug-in folder's
// libraries with it).
std::shared_ptr<OutputPlugin> makeExternalOutputPlugin(const std::string& path);

}  // namespace Plugin
