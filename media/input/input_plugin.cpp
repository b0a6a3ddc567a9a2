#include "media/input/input_plugin.h"

#include "system/exception.h"
#include "system/setting_service.h"

namespace Plugin {

InputPlugin::InputPlugin(std::string name, System::Filter filter, std::string information,
                         int32_t kinds)
    : name_(std::move(name)),
      filter_(std::move(filter)),
      information_(std::move(information)),
      kinds_(kinds) {}

InputPlugin::~InputPlugin() {
  binding_.reset();  // saves the section
  extParameter_.reset();
  priorityParameter_.reset();
}

void InputPlugin::showSetting(void*) {
  throw System::makeNotImplementedException("Plugin::InputPlugin::showSetting");
}

void InputPlugin::bindSection(int32_t defaultPriority) {
  binding_.reset();
  extParameter_.reset();
  priorityParameter_.reset();
  section_ = std::make_unique<System::Config::Section>("Input." + name_);
  priorityParameter_ =
      std::make_unique<System::Config::Int>(*section_, "priority", &priority_, defaultPriority);
  extParameter_ = std::make_unique<System::Config::String>(*section_, "ext", &ext_, "");
  binding_ = std::make_unique<System::Config::Binding>(*section_,
                                                       Setting::ParameterIni::instance());
  binding_->load();
}

std::vector<std::string> InputPlugin::defaultExtList() const {
  return System::FileFilter::getExtensionList(filter_);
}

std::vector<std::string> InputPlugin::getExtList() const {
  if (ext_.empty()) return defaultExtList();
  std::vector<std::string> list;
  std::string::size_type start = 0;
  for (;;) {
    const auto comma = ext_.find(',', start);
    list.push_back(ext_.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return list;
}

void InputPlugin::setExtText(const std::string& text) {
  std::string joined;
  for (const auto& extension : defaultExtList()) {
    if (!joined.empty()) joined += ',';
    joined += extension;
  }
  ext_ = text == joined ? std::string() : text;
}

}  // namespace Plugin
