#pragma once
// One registered writer of exports, built in or a plug-in: its name (the File menu's entry
// and the save dialog's title), the file filter of the save dialog, its description, its
// kind flags and its settings.
//
// Its settings live in the section "Output.<name>" of the parameter file: "order" (its
// default is the registration index) and whatever keys the writer binds in
// registerConfig. The section is saved when the writer is destroyed with the service.
//
// A writer with keys of its own keeps them in a System::Config::Section of its own under
// the same name (sections save only their own keys), bound and loaded in registerConfig:
// that way its keys are saved by its own destructor, before the base's go.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "system/config.h"
#include "system/file.h"

namespace Plugin {

class OutputFile;

// Kind flags of a writer.
inline constexpr int32_t kWriterVideo = 1;
inline constexpr int32_t kWriterAudio = 2;
inline constexpr int32_t kWriterSettings = 4;  // the save dialog gets the settings controls

class OutputPlugin {
 public:
  OutputPlugin(std::string name, System::Filter filter, std::string information, int32_t kinds);
  virtual ~OutputPlugin();
  OutputPlugin(const OutputPlugin&) = delete;
  OutputPlugin& operator=(const OutputPlugin&) = delete;

  // Asks where to save (the save dialog through the export UI) and makes the export for
  // the chosen path; empty when the user cancelled.
  virtual std::shared_ptr<OutputFile> openFile() = 0;
  // The writer's settings, from the save dialog's "設定" button. The base throws
  // "not implement.".
  virtual void showSetting();
  // The text beside the settings button. The base gives the writer's name.
  virtual std::string getSettingText();
  // Binds the writer's own keys to the section `sectionName` and loads them. The base binds
  // nothing.
  virtual void registerConfig(const std::string& sectionName);

  // Called once at registration: names the section "Output.<name>", gives "order" its
  // default, loads the section, then registerConfig.
  void loadConfig(int32_t index);

  const std::string& name() const { return name_; }
  const System::Filter& filter() const { return filter_; }
  const std::string& information() const { return information_; }
  int32_t kinds() const { return kinds_; }
  int32_t order() const { return order_; }
  // Empty until the writer is registered.
  const std::string& sectionName() const { return sectionName_; }

 protected:
  // The save dialog with this writer's filter and name: the chosen path, or empty when the
  // user cancelled. Stops the preview player first.
  std::string chooseSavePath();

 private:
  std::string name_;
  System::Filter filter_;
  std::string information_;
  int32_t kinds_ = 0;
  int32_t order_ = 0;
  std::string sectionName_;
  std::unique_ptr<System::Config::Section> section_;
  std::unique_ptr<System::Config::Int> orderParameter_;
  // Declared after the parameters and the section: destroyed first, it saves them.
  std::unique_ptr<System::Config::Binding> binding_;
};

}  // namespace Plugin
