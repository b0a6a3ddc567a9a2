#pragma once
// One registered media reader, built in or a plug-in: its name, the extensions it claims,
// its priority and how it opens a path.
//
// Its settings live in the section "Input.<name>": "priority" (smaller is asked first; its
// default is the registration index) and "ext" (the user's comma-separated extension list;
// empty means the list of the reader's file filter). The section is saved when the reader is
// destroyed with the input service.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "system/config.h"
#include "system/file.h"

namespace Plugin {

class InputFile;

// Kind flags of a reader.
inline constexpr int32_t kReaderVideo = 1;
inline constexpr int32_t kReaderAudio = 2;
inline constexpr int32_t kReaderSettings = 4;  // has its own settings dialog
inline constexpr int32_t kReaderImage = 8;

class InputPlugin {
 public:
  InputPlugin(std::string name, System::Filter filter, std::string information, int32_t kinds);
  virtual ~InputPlugin();
  InputPlugin(const InputPlugin&) = delete;
  InputPlugin& operator=(const InputPlugin&) = delete;

  // Opens the path, or returns empty when this reader cannot; may also throw, which ends the
  // whole open. The description of the returned file is complete.
  virtual std::shared_ptr<InputFile> openFile(const std::string& path) = 0;
  // The reader's own settings dialog. The base throws "not implement.".
  virtual void showSetting(void* ownerWindow);

  // Called once at registration: names the section "Input.<name>", gives "priority" its
  // default and loads the section from the parameter store (when there is one).
  void bindSection(int32_t defaultPriority);

  // The extensions this reader claims: the "ext" value split at every ',' (pieces kept as
  // written, empty pieces too), or the lower-case extensions of the file filter.
  std::vector<std::string> getExtList() const;
  // Stores the user's extension list; an empty text, or one equal to the default list joined
  // with ',', stores the empty value (the reader then follows its own list).
  void setExtText(const std::string& text);
  const std::string& extText() const { return ext_; }

  int32_t priority() const { return priority_; }
  void setPriority(int32_t priority) { priority_ = priority; }

  const std::string& name() const { return name_; }
  const System::Filter& filter() const { return filter_; }
  const std::string& information() const { return information_; }
  int32_t kinds() const { return kinds_; }
  // Empty until the reader is registered.
  std::string sectionName() const { return section_ ? section_->name() : std::string(); }

 private:
  std::vector<std::string> defaultExtList() const;

  std::string name_;
  System::Filter filter_;
  std::string information_;
  int32_t kinds_ = 0;
  int32_t priority_ = 0;
  std::string ext_;
  std::unique_ptr<System::Config::Section> section_;
  std::unique_ptr<System::Config::Int> priorityParameter_;
  std::unique_ptr<System::Config::String> extParameter_;
  std::unique_ptr<System::Config::Binding> binding_;
};

}  // namespace Plugin
