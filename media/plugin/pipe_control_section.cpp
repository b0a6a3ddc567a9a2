#include "media/plugin/pipe_control_section.h"

#include <cstdint>

#include "system/exception.h"
#include "system/log.h"
#include "system/text.h"

namespace Plugin {

PipeControlSection::PipeControlSection(std::unique_ptr<PipeHelperLink> link,
                                       std::string placePrefix)
    : link_(std::move(link)), placePrefix_(std::move(placePrefix)) {}

PipeControlSection::~PipeControlSection() { end(); }

std::string PipeControlSection::place(const char* operation) const {
  return placePrefix_ + "::" + operation;
}

PipePluginInfo PipeControlSection::loadPlugin(const std::string& fileName) {
  try {
    if (ended_) throw System::makeWin32ErrorException(place("loadPlugin"),
                                                      System::kWin32ErrorBrokenPipe);
    if (!link_->isRunning()) {
      link_->start();
      pipe_ = System::Pipe(link_->readDescriptor(), link_->writeDescriptor());
    }
    const std::u16string name = pipeText(fileName, "loadPlugin");
    pipe_.writeInt(static_cast<int32_t>(PipeCommand::LoadPlugin));
    pipe_.writeString(name);
    return readLoadReply(pipe_);
  } catch (const std::exception&) {
    endIfBroken();
    throw System::makeException(place("loadPlugin"), "load plugin failed.", fileName);
  }
}

void PipeControlSection::quit() {
  if (pipe_.broken() || !link_->isRunning()) return;
  try {
    pipe_.writeInt(static_cast<int32_t>(PipeCommand::Quit));
  } catch (const std::exception&) {
  }
}

bool PipeControlSection::showConfig(void* ownerWindow) {
  try {
    pipe_.writeInt(static_cast<int32_t>(PipeCommand::ShowConfig));
    // Window handles cross as their low 32 bits.
    pipe_.writeInt(static_cast<int32_t>(reinterpret_cast<uintptr_t>(ownerWindow)));
    pipe_.writeInt(link_->mutexHandle());
    pipe_.readInt();
    link_->waitMutexProcessMessage();
  } catch (const std::exception&) {
    System::Log::error("Exception", "show config failed.");
    endIfBroken();
  }
  return false;
}

void PipeControlSection::end() {
  if (ended_) return;
  quit();
  link_->terminate();
  pipe_ = System::Pipe();
  ended_ = true;
}

void PipeControlSection::endIfBroken() {
  if (!pipe_.broken()) return;
  // Not "ended": the plug-in is still there, its helper is not.
  link_->terminate();
  pipe_ = System::Pipe();
}

std::u16string PipeControlSection::pipeText(const std::string& text,
                                            const char* operation) const {
  std::u16string units = System::utf8ToUtf16(text);
  if (units.size() > kPipeMaxStringUnits)
    throw System::makeFormattedException(place(operation), "string too long.", "%zu units",
                                         units.size());
  return units;
}

}  // namespace Plugin
