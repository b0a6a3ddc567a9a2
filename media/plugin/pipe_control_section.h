#pragma once
// What the reader and the writer bridges share about one helper: the helper itself, the
// pipe to it, and the mutex that keeps each whole exchange (a command and its reply, or an
// export from start to end) apart from every other. One control section per plug-in, so one
// helper process per plug-in.
//
// Every operation runs with mutex() held by its caller.
//
// The helper starts when its plug-in is loaded and is never started again. An exchange that
// leaves the stream out of step (a failed read or write, a refused size, a reply that cannot
// belong to the exchange) ends the helper at once: every later exchange then fails without
// touching a pipe, and the plug-in stays unusable until the program starts again.
#include <memory>
#include <mutex>
#include <string>

#include "media/plugin/pipe_helper_link.h"
#include "media/plugin/pipe_protocol.h"
#include "system/pipe.h"

namespace Plugin {

class PipeControlSection {
 public:
  // `placePrefix` names the section in failures ("Plugin::InputPipe32Process::ControlSection").
  PipeControlSection(std::unique_ptr<PipeHelperLink> link, std::string placePrefix);
  virtual ~PipeControlSection();
  PipeControlSection(const PipeControlSection&) = delete;
  PipeControlSection& operator=(const PipeControlSection&) = delete;

  std::mutex& mutex() { return mutex_; }

  // Starts the helper unless it runs, then loads the plug-in `fileName` (a bare name in the
  // plug-in folder). Any failure throws "load plugin failed." with the file name as note.
  PipePluginInfo loadPlugin(const std::string& fileName);
  // Tells a running helper to end; failures are ignored.
  void quit();
  // The plug-in's settings dialog: command 2, then a wait until the helper gives the shared
  // lock back, with the UI's events running. A failure logs "show config failed.". Always
  // false (the dialog's answer is not carried back).
  bool showConfig(void* ownerWindow);
  // quit, then the helper is terminated: the plug-in is going away. Later exchanges fail.
  void end();
  // True once end() ran.
  bool ended() const { return ended_; }

 protected:
  System::Pipe& pipe() { return pipe_; }
  // "<placePrefix>::<operation>".
  std::string place(const char* operation) const;
  // After a failed exchange: ends the helper when the pipe is out of step.
  void endIfBroken();
  // The text as it crosses the pipe. A text the helper would refuse (more than 4096 units)
  // throws: taken before the command is written, the exchange fails but the stream stays in
  // step.
  std::u16string pipeText(const std::string& text, const char* operation) const;

 private:
  std::unique_ptr<PipeHelperLink> link_;
  std::string placePrefix_;
  // Broken (every operation fails at once) until the helper starts and after it ended.
  System::Pipe pipe_;
  bool ended_ = false;
  std::mutex mutex_;
};

// A plug-in's control section with its helper started and the plug-in loaded: what the
// bridges' constructors build their plug-in fields from.
template <class Section>
struct LoadedPipePlugin {
  std::shared_ptr<Section> control;
  PipePluginInfo info;

  // Makes the section over `helper` and loads `fileName` under its mutex. Throws "load
  // plugin failed."; the section then ends its helper as it goes.
  static LoadedPipePlugin load(const std::string& fileName,
                               std::unique_ptr<PipeHelperLink> helper) {
    LoadedPipePlugin loaded;
    loaded.control = std::make_shared<Section>(std::move(helper));
    std::lock_guard lock(loaded.control->mutex());
    loaded.info = loaded.control->loadPlugin(fileName);
    return loaded;
  }
};

}  // namespace Plugin
