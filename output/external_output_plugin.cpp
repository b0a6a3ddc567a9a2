#include "output/external_output_plugin.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "media/plugin/plugin_call.h"
#include "media/plugin/plugin_table.h"
#include "media/plugin/plugin_text.h"
#include "output/external_output_callbacks.h"
#include "system/exception.h"
#include "system/text.h"

namespace Plugin {
namespace {

constexpr const char* kLoadPlace = "Plugin::ExternalOutputPlugin::ExternalOutputPlugin";

}  // namespace

// What the writer's base needs, read from the table before the base is built.
struct ExternalOutputPlugin::Loaded {
  std::shared_ptr<Module> module;
  PluginTableTexts texts;
  int32_t kinds = 0;
};

ExternalOutputPlugin::Loaded ExternalOutputPlugin::load(const std::string& path) {
  auto module = std::make_shared<Module>();
  // A writer may leave threads or handlers of its own behind: its code stays mapped.
  module->library = std::make_unique<PluginLibrary>(path, kLoadPlace, true);
  module->table = copyPluginTable<VelumoOutputTable>(*module->library,
                                                           "VelumoOutputPluginTable", kLoadPlace);
  const VelumoOutputTable& table = module->table;
  if (!table.fnOutput) throw System::makeException(kLoadPlace, "invalid plugin table.", "fnOutput");
  Loaded loaded;
  loaded.texts = copyPluginTableTexts(table, kLoadPlace);
  loaded.kinds = (table.flags & kWriterVideo) | (table.flags & kWriterAudio) |
                 (table.fnConfigure ? kWriterSettings : 0);
  loaded.module = std::move(module);
  return loaded;
}

ExternalOutputPlugin::ExternalOutputPlugin(const std::string& path)
    : ExternalOutputPlugin(load(path)) {}

ExternalOutputPlugin::ExternalOutputPlugin(Loaded loaded)
    : OutputPlugin(std::move(loaded.texts.name), std::move(loaded.texts.filter),
                   std::move(loaded.texts.information), loaded.kinds),
      module_(std::move(loaded.module)) {}

ExternalOutputPlugin::~ExternalOutputPlugin() = default;

std::shared_ptr<OutputFile> ExternalOutputPlugin::openFile() {
  const std::string path = chooseSavePath();
  if (path.empty()) return nullptr;
  return std::make_shared<ExternalOutputFile>(path, module_);
}

void ExternalOutputPlugin::showSetting() {
  const auto configure = module_->table.fnConfigure;
  if (!configure) return;
  // The program's windows are not native handles a plug-in could use: it gets no owner.
  void* library = module_->library->handle();
  callPluginFunction("table.fnConfigure", "Plugin::ExternalOutputPlugin::showSetting",
                     [&] { return configure(nullptr, library); });
}

std::string ExternalOutputPlugin::getSettingText() {
  const auto configText = module_->table.fnGetConfigText;
  if (!configText) return {};
  constexpr const char* kPlace = "Plugin::ExternalOutputPlugin::getSettingText";
  const char16_t* text = callPluginFunction("table.fnGetConfigText", kPlace, configText);
  return copyPluginText(text, "table.fnGetConfigText", kPlace);
}

std::shared_ptr<OutputPlugin> makeExternalOutputPlugin(const std::string& path) {
  return std::make_shared<ExternalOutputPlugin>(path);
}

// ---- one export ------------------------------------------------------------------------

ExternalOutputFile::ExternalOutputFile(std::string path,
                                       std::shared_ptr<const ExternalOutputPlugin::Module> module)
    : OutputFile(std::move(path), true), module_(std::move(module)) {}

ExternalOutputFile::ExternalOutputFile(std::string path,
                                       std::shared_ptr<const ExternalOutputPlugin::Module> module,
                                       const ExportScene& scene,
                                       std::shared_ptr<ExportSource> source, ExportCaches& caches)
    : OutputFile(std::move(path), true, scene, std::move(source), caches),
      module_(std::move(module)) {}

bool ExternalOutputFile::save() {
  ExternalOutputCallbacks::CurrentOutput current(*this);
  setVideoBufferSize(4);
  setAudioBufferSize(4);

  const std::u16string savePath = System::utf8ToUtf16(path());
  VelumoOutputJobInfo info{};
  info.flag = VELUMO_OUTPUT_VIDEO | VELUMO_OUTPUT_AUDIO;
  info.width = scene().width;
  info.height = scene().height;
  info.rate = scene().rate;
  info.scale = scene().scale;
  info.frameCount = frameCount();
  info.audioRate = scene().audioRate;
  info.audioChannels = 2;
  // A count beyond the record's 32 bits (over 12 hours at 48 kHz) is cut to the largest it
  // holds rather than wrapped into a negative or small one.
  info.audioSampleCount = static_cast<int32_t>(std::min<int64_t>(sampleCount(), INT32_MAX));
  info.savePath = savePath.c_str();
  ExternalOutputCallbacks::setCallbacks(info);

  const auto output = module_->table.fnOutput;
  VelumoOutputJobInfo* job = &info;
  return callPluginFunction("table.fnOutput", "Plugin::ExternalOutputFile::save",
                            [&] { return output(job); });
}

}  // namespace Plugin
