#include "output/output_plugin.h"

#include "output/export_ui.h"
#include "system/exception.h"
#include "system/setting_service.h"
#include "system/ui_bridge.h"

namespace Plugin {

OutputPlugin::OutputPlugin(std::string name, System::Filter filter, std::string information,
                           int32_t kinds)
    : name_(std::move(name)),
      filter_(std::move(filter)),
      information_(std::move(information)),
      kinds_(kinds) {}

OutputPlugin::~OutputPlugin() {
  binding_.reset();  // saves the section
  orderParameter_.reset();
}

void OutputPlugin::showSetting() {
  throw System::makeNotImplementedException("Plugin::OutputPlugin::showSetting");
}

std::string OutputPlugin::getSettingText() { return name_; }

void OutputPlugin::registerConfig(const std::string&) {}

void OutputPlugin::loadConfig(int32_t index) {
  binding_.reset();
  orderParameter_.reset();
  sectionName_ = "Output." + name_;
  section_ = std::make_unique<System::Config::Section>(sectionName_);
  orderParameter_ = std::make_unique<System::Config::Int>(*section_, "order", &order_, index);
  binding_ = std::make_unique<System::Config::Binding>(*section_,
                                                       Setting::ParameterIni::instance());
  binding_->load();
  registerConfig(sectionName_);
}

std::string OutputPlugin::chooseSavePath() {
  System::stopPreviewPlayer();
  return exportUi().chooseSavePath(name_, filter_,
                                   (kinds_ & kWriterSettings) != 0 ? this : nullptr);
}

}  // namespace Plugin
