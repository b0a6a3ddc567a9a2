#pragma once
// How a plug-in's control section reaches its helper: it starts the helper, reads and writes
// its pipes, learns the number of the lock the two share, waits for the helper's settings
// dialog, and ends it. The program's helpers are programs (PipeHelperProcess); tests put a
// peer of their own in their place.
#include <cstdint>
#include <memory>
#include <string>

#include "system/pipe_process.h"

namespace Plugin {

class PipeHelperLink {
 public:
  virtual ~PipeHelperLink() = default;
  // Starts the helper; one still running is ended first.
  virtual void start() = 0;
  virtual bool isRunning() = 0;
  // Closes the pipes, waits for the helper to end and kills it when it does not.
  virtual void terminate() = 0;
  // This side's ends: the helper's output is read from one, its input written to the other.
  virtual int readDescriptor() const = 0;
  virtual int writeDescriptor() const = 0;
  // The number of the shared lock in the helper.
  virtual int32_t mutexHandle() const = 0;
  // Waits, keeping the UI's events running, until the helper gives the shared lock back.
  virtual void waitMutexProcessMessage() = 0;
};

// A helper program: `program` started with `pluginFolder` as its fourth argument, the folder
// from which it loads the plug-ins it is asked for.
class PipeHelperProcess final : public PipeHelperLink {
 public:
  PipeHelperProcess(std::string program, std::string pluginFolder);
  void start() override;
  bool isRunning() override { return process_.isRunning(); }
  void terminate() override { process_.terminate(); }
  int readDescriptor() const override { return process_.readDescriptor(); }
  int writeDescriptor() const override { return process_.writeDescriptor(); }
  int32_t mutexHandle() const override { return process_.mutexHandle(); }
  void waitMutexProcessMessage() override { process_.waitMutexProcessMessage(); }

 private:
  std::string program_;
  std::string pluginFolder_;
  System::PipeProcess process_;
};

// The reader or writer helper of the installation (%AppInstall%/pipe32vli or
// %AppInstall%/pipe32vlo) with the plug-in folder %Plugin%.
std::unique_ptr<PipeHelperLink> makeInstalledHelper(const char* programName);

}  // namespace Plugin
