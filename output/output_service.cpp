#include "output/output_service.h"

#include <typeinfo>

#include "output/avi_file_save.h"
#include "output/export_ui.h"
#include "output/external_output_plugin.h"
#include "output/output_pipe32.h"
#include "output/still_file_save.h"
#include "system/dialog.h"
#include "system/event_service.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/log.h"
#include "system/translate_service.h"
#include "system/ui_bridge.h"

namespace Plugin {
namespace {

constexpr uint32_t kProgressPeriodMs = 500;

std::string message(std::string_view text) {
  return Translate::translateText(Translate::TranslateService::TextKind::Message, text);
}

}  // namespace

OutputService::OutputService() {
  registerPlugin("Plugin::AviFileSave", [] { return std::make_shared<AviFileSave>(); });
  registerPlugin("Plugin::PngFileSave", [] { return std::make_shared<PngFileSave>(); });
  registerPlugin("Plugin::JpgFileSave", [] { return std::make_shared<JpgFileSave>(); });
  registerPluginFolder();
}

void OutputService::registerPluginFolder() {
  const std::string folder = System::FileName::expandVariable("%Plugin%");
  for (const auto& file : System::File::findFiles(folder + "/*.vlo2", folder))
    registerPlugin("Plugin::ExternalOutputPlugin",
                   [&file] { return makeExternalOutputPlugin(file.path); });
  // Bare names: the helper program loads them from the plug-in folder itself.
  for (const auto& file : System::File::findFiles(folder + "/*.vlo"))
    registerPlugin("Plugin::OutputPipe32", [&file] { return makeOutputPipe32(file.path); });
}

OutputService::OutputService(PluginList writers) {
  for (auto& writer : writers) registerPlugin(std::move(writer));
}

OutputService::~OutputService() {
  stop();
  if (timerWatched_)
    if (System::UiBridge* bridge = System::uiBridge())
      bridge->unregisterWaitHandle(progressTimer_.descriptor());
  current_.reset();
  plugins_.clear();  // each writer saves its section
}

void OutputService::stop() {
  // A running writer stops between two frames; a wait for a frame returns at once.
  if (current_) current_->setAbort();
  caches_.stop();
  worker_.stop();
}

void OutputService::registerPlugin(const std::string& typeName,
                                   const std::function<std::shared_ptr<OutputPlugin>()>& make) {
  try {
    std::shared_ptr<OutputPlugin> plugin = make();
    if (!plugin) return;
    System::Log::info("Plugin::OutputService::registerPlugin", "register output plugin [%s]",
                      plugin->name().c_str());
    plugin->loadConfig(counter_);
    plugins_.push_back(std::move(plugin));
    ++counter_;
  } catch (const std::exception& exception) {
    Dialog::showError("failed to register output plugin. [%s]\n\n%s", typeName.c_str(),
                      exception.what());
  }
}

void OutputService::registerPlugin(std::shared_ptr<OutputPlugin> plugin) {
  if (!plugin) return;
  const std::string typeName = typeid(*plugin).name();
  registerPlugin(typeName, [&plugin] { return std::move(plugin); });
}

void OutputService::outputFile(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= plugins_.size())
    throw System::makeException("Plugin::OutputService::outputFile", "not found output plugin.");
  if (current_) return;
  std::shared_ptr<OutputFile> file = plugins_[static_cast<std::size_t>(index)]->openFile();
  if (!file) return;
  startOutputFile(std::move(file));
}

void OutputService::startOutputFile(std::shared_ptr<OutputFile> file) {
  if (!file || current_) return;
  System::Log::info("Plugin::OutputService::outputFile", "export file start : %s",
                    file->path().c_str());
  file->progress().startTick = monotonicMilliseconds();
  current_ = file;
  worker_.addTask(0, [this, file] { saveTask(file); });
  exportUi().enableMenus(false);
  updateProgress();
  progressTimer_.setInterval(kProgressPeriodMs);
  if (System::UiBridge* bridge = System::uiBridge()) {
    bridge->registerWaitHandle(progressTimer_.descriptor(), [this] {
      progressTimer_.takeExpirations();
      updateProgress();
    });
    timerWatched_ = true;
  }
}

void OutputService::saveTask(std::shared_ptr<OutputFile> file) {
  try {
    // A writer that could not write its file says so with false: that is a failure too,
    // never "complete".
    if (!file->save()) {
      file->setFailed();
      if (!file->isAborted()) Dialog::postError("output file failed.");
    }
  } catch (const std::exception& exception) {
    file->setFailed();
    Dialog::postException(exception);
  }
  file.reset();
  if (!Event::EventService::postCommand(Event::EventCommandType::OutputFileEnd,
                                        Event::Callable([this] { outputFileEnd(); })))
    System::Log::warn("Plugin::OutputService::saveTask",
                      "the end of the export could not reach the UI thread.");
}

void OutputService::outputFileEnd() {
  if (!current_) return;
  // No render callback may store into a cache after it was emptied.
  worker_.waitAllTasks();
  current_->flushSource();
  caches_.clear();
  progressTimer_.clear();
  if (timerWatched_) {
    if (System::UiBridge* bridge = System::uiBridge())
      bridge->unregisterWaitHandle(progressTimer_.descriptor());
    timerWatched_ = false;
  }
  ExportUi& ui = exportUi();
  ui.setStatus({}, {}, 0.0f);
  ui.enableMenus(true);

  const char* text = "export file complete";
  bool completed = false;
  if (current_->isAborted()) {
    text = "export file cancel";
  } else if (current_->hasFailed()) {
    text = "export file failed";
  } else {
    completed = true;
    if (current_->notify()) ui.showNotice("Velumo Kivrun2", message("ファイル出力が完了しました"));
  }
  System::Log::info("Plugin::OutputService::outputFileEnd", "%s", text);
  current_.reset();
  if (endListener_) endListener_(completed);
}

void OutputService::confirmAbort() {
  if (!current_ || current_->isAborted()) return;
  System::stopPreviewPlayer();
  if (exportUi().confirm(message("ファイル出力を中断しますか？"), "Velumo Kivrun2") && current_)
    current_->setAbort();
}

void OutputService::updateProgress() {
  if (!current_) return;
  // The footer translates the text.
  exportUi().setStatus("ファイル出力中",
                       current_->progressText(monotonicMilliseconds()),
                       current_->progressFraction());
}

}  // namespace Plugin
