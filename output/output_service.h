#pragma once
// The registry of export writers and the driver of one export at a time: the built-in AVI,
// PNG and JPEG writers, the writer libraries of the plug-in folder ("*.vlo2") and the
// legacy writers run by the helper program ("*.vlo"). An export runs from the menu's choice
// to the announced file: the save dialog, the save on the "OutputFileWorker" thread, the
// progress in the footer every 500 ms, the abort question and the completion notice.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "output/export_caches.h"
#include "output/output_file.h"
#include "output/output_plugin.h"
#include "system/service_holder.h"
#include "system/sync_timer.h"
#include "system/worker_thread.h"

namespace Plugin {

class OutputService : public System::Service<OutputService> {
 public:
  using PluginList = std::vector<std::shared_ptr<OutputPlugin>>;

  // Registers the built-in writers, then the plug-in folder's.
  OutputService();
  // Registers exactly these writers (tests, benchmarks).
  explicit OutputService(PluginList writers);
  ~OutputService();
  OutputService(const OutputService&) = delete;
  OutputService& operator=(const OutputService&) = delete;

  // Makes and adds a writer: logs "register output plugin [%s]", loads its section. A
  // writer that fails here (construction or settings) is dropped with an error box naming
  // `typeName`; the others go on.
  void registerPlugin(const std::string& typeName,
                      const std::function<std::shared_ptr<OutputPlugin>()>& make);
  void registerPlugin(std::shared_ptr<OutputPlugin> plugin);

  // Starts an export with the writer at `index` (the File menu's order). An index outside
  // the list throws "not found output plugin."; nothing happens while an export runs or when
  // the user cancels the save dialog. UI thread.
  void outputFile(int index);
  // Starts an export of an output file made elsewhere (benchmarks, scripts). UI thread.
  void startOutputFile(std::shared_ptr<OutputFile> file);
  // Ends the current export on the UI thread; the worker's end notice calls it.
  void outputFileEnd();
  // The abort question (close or Esc while the menus are grey): asks once; OK sets the
  // export's abort flag. UI thread.
  void confirmAbort();
  // Refreshes the footer's progress of the current export. UI thread.
  void updateProgress();

  const PluginList& plugins() const { return plugins_; }
  // The running export, or empty.
  std::shared_ptr<OutputFile> currentOutputFile() const { return current_; }
  bool isRunning() const { return current_ != nullptr; }
  ExportCaches& caches() { return caches_; }
  // Called when an export ends, after the log line, with true when it completed (not
  // aborted). Benchmarks and tests wait on it.
  void setEndListener(std::function<void(bool)> listener) { endListener_ = std::move(listener); }

  // Ends the caches' and the worker's threads (shut-down); a running export is aborted
  // first, so its writer ends between two frames.
  void stop();

 private:
  void saveTask(std::shared_ptr<OutputFile> file);
  // The writer libraries of the plug-in folder ("*.vlo2"), then the legacy writers run by
  // the helper program ("*.vlo").
  void registerPluginFolder();

  int32_t counter_ = 0;
  PluginList plugins_;
  std::shared_ptr<OutputFile> current_;
  ExportCaches caches_;
  Sync::Timer progressTimer_;
  bool timerWatched_ = false;
  std::function<void(bool)> endListener_;
  // Last: it stops before the members its task uses go.
  Worker::WorkerThread worker_{"OutputFileWorker"};
};

}  // namespace Plugin
