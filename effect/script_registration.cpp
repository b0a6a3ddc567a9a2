// The effect registry's script files: which files are read in which order, how each of
// their scripts becomes a registered kind with its menu label, what a reload refreshes,
// and the script information list.
#include <typeinfo>
#include <utility>

#include "effect/effect_service.h"
#include "effect/script_effect.h"
#include "effect/script_file_parser.h"
#include "effect/script_movement.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/log.h"
#include "system/setting_service.h"
#include "system/translate_service.h"

namespace Effect {

namespace {

using RegisterFile = void (EffectService::*)(const std::string& path, std::string_view folder,
                                             bool isBundle, bool isLegacy, const char* engine);

// The file patterns of a script folder in the order they are read: every current
// extension before the legacy ones, so x.obj2 takes the name before x.obj. Legacy scripts
// run on the plain Lua engine.
struct FolderPattern {
  const char* pattern;
  RegisterFile registerFile;
  bool isLegacy;
};
const FolderPattern kFolderPatterns[] = {
    {"*.obj2", &EffectService::registerScriptEffect<ScriptInput>, false},
    {"*.anm2", &EffectService::registerScriptEffect<ScriptFilter>, false},
    {"*.cam2", &EffectService::registerScriptEffect<CameraScript>, false},
    {"*.scn2", &EffectService::registerScriptEffect<SceneChangeScript>, false},
    {"*.tra2", &EffectService::registerScriptMovement, false},
    {"*.obj", &EffectService::registerScriptEffect<ScriptInput>, true},
    {"*.anm", &EffectService::registerScriptEffect<ScriptFilter>, true},
    {"*.cam", &EffectService::registerScriptEffect<CameraScript>, true},
    {"*.scn", &EffectService::registerScriptEffect<SceneChangeScript>, true},
    {"*.tra", &EffectService::registerScriptMovement, true},
};
constexpr const char* kLegacyEngine = "lua";

// The label a new script kind's header may set. A user who saved menu values for the kind
// keeps the saved label (none is passed); otherwise the sub-folder's name groups the
// folder's scripts, and the script's own label directive goes over it.
std::string* scriptLabel(Menu::MenuDefineBase& define, std::string_view folder) {
  const auto* parameters = Setting::ParameterIni::instance();
  if (parameters && parameters->hasSection(define.getSectionName())) return nullptr;
  if (!folder.empty()) define.label = std::string(folder);
  return &define.label;
}

// A reload may change a script's text, never its kind: the header the kind was built from
// stays, so a text written for another kind (an animation script under a custom object's
// name, a user script named like a built-in script effect) would run against the wrong
// items and the wrong slot.
void reloadScriptEffect(const EffectService& registry, ScriptEntry& entry,
                        const std::type_info& kind) {
  const EffectDefine* define = registry.findEffectDefine(entry.name);
  if (!define) return;  // new since the start: registered at the next start
  auto* script = dynamic_cast<ScriptEffect*>(define->getPrototype().get());
  if (!script) return;  // a built-in effect's name: nothing to refresh
  if (typeid(*script) != kind) {
    System::Log::warn("Effect::EffectService::registerScriptEffect",
                      "script not reloaded [%s]\nthe name is registered as another kind.",
                      entry.name.c_str());
    return;
  }
  script->replaceScriptText(entry);
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (lower(text[i]) != lower(prefix[i])) return false;
  return true;
}

// One row per script record that lies under the script folder.
void addInfoRow(std::vector<EffectService::ScriptInfo>& rows, const ScriptRecord& record,
                std::string_view prefix, const char* kind) {
  if (!startsWithIgnoringCase(record.directory, prefix)) return;
  rows.push_back({record.information.empty() ? record.name : record.information,
                  Translate::translateText(Translate::TranslateService::TextKind::Dialog, kind)});
}

template <class K>
void addEffectRows(std::vector<EffectService::ScriptInfo>& rows,
                   const EffectService::EffectDefineMap& defines, std::string_view prefix,
                   const char* kind) {
  for (const auto& entry : defines) {
    const auto* script = dynamic_cast<const K*>(entry.second.getPrototype().get());
    if (script && script->record()) addInfoRow(rows, *script->record(), prefix, kind);
  }
}

}  // namespace

void EffectService::loadScriptFiles() {
  registerScriptEffect<ScriptInput>(System::FileName::expandVariable("%AppInstall%/script.obj2"),
                                    {}, true, false, nullptr);
  registerScriptEffect<ScriptFilter>(System::FileName::expandVariable("%AppInstall%/script.anm2"),
                                     {}, true, false, nullptr);
  registerScriptEffect<CameraScript>(System::FileName::expandVariable("%AppInstall%/script.cam2"),
                                     {}, true, false, nullptr);
  registerScriptEffect<SceneChangeScript>(
      System::FileName::expandVariable("%AppInstall%/script.scn2"), {}, true, false, nullptr);
  registerScriptMovement(System::FileName::expandVariable("%AppInstall%/script.tra2"), {}, true,
                         false, nullptr);
  loadScriptFolder({});
  // One level of sub-folders only: deeper folders are not read.
  for (const std::string& subFolder :
       System::File::findDirectories(System::FileName::expandVariable("%Script%/*")))
    loadScriptFolder(subFolder);
}

void EffectService::loadScriptFolder(std::string_view subFolder) {
  std::string directory = System::FileName::expandVariable("%Script%");
  if (!subFolder.empty()) {
    directory += '/';
    directory += subFolder;
  }
  for (const FolderPattern& pattern : kFolderPatterns) {
    const auto files = System::File::findFiles(directory + "/" + pattern.pattern, directory);
    for (const auto& file : files)
      (this->*pattern.registerFile)(file.path, subFolder, false, pattern.isLegacy,
                                    pattern.isLegacy ? kLegacyEngine : nullptr);
  }
}

template <class K>
void EffectService::registerScriptEffect(const std::string& path, std::string_view folder,
                                         bool isBundle, bool isLegacy, const char* engine) {
  ScriptEntryList entries = ScriptFileParser::loadScriptFile(path, isLegacy, isBundle);
  const std::string directory = System::FileName::getDirectory(path);
  for (ScriptEntry& entry : entries) {
    if (initialized_) {
      reloadScriptEffect(*this, entry, typeid(K));
      continue;
    }
    const std::shared_ptr<K> prototype = registerEffect<K>(entry.name);
    if (!prototype) continue;  // the name is taken, or the kind failed: reported
    EffectDefine* define = findEffectDefine(entry.name);
    if (!define)
      throw System::makeException("Effect::EffectService::registerScriptEffect",
                                  "not found script effect.");
    prototype->loadScript(entry, directory, scriptLabel(*define, folder), engine);
  }
}

template void EffectService::registerScriptEffect<ScriptInput>(const std::string&,
                                                               std::string_view, bool, bool,
                                                               const char*);
template void EffectService::registerScriptEffect<ScriptFilter>(const std::string&,
                                                                std::string_view, bool, bool,
                                                                const char*);
template void EffectService::registerScriptEffect<CameraScript>(const std::string&,
                                                                std::string_view, bool, bool,
                                                                const char*);
template void EffectService::registerScriptEffect<SceneChangeScript>(const std::string&,
                                                                     std::string_view, bool,
                                                                     bool, const char*);

void EffectService::registerScriptMovement(const std::string& path, std::string_view folder,
                                           bool isBundle, bool isLegacy, const char* engine) {
  ScriptEntryList entries = ScriptFileParser::loadScriptFile(path, isLegacy, isBundle);
  const std::string directory = System::FileName::getDirectory(path);
  for (ScriptEntry& entry : entries) {
    if (initialized_) {
      const auto found = movementDefines_.find(entry.name);
      if (found == movementDefines_.end()) continue;
      if (auto* script = dynamic_cast<ScriptMovement*>(found->second.getPrototype().get()))
        script->replaceScriptText(entry);
      continue;
    }
    const std::shared_ptr<ScriptMovement> prototype = registerMovement<ScriptMovement>(entry.name);
    if (!prototype) continue;
    const auto found = movementDefines_.find(entry.name);
    if (found == movementDefines_.end())
      throw System::makeException("Effect::EffectService::registerScriptMovement",
                                  "not found script movement.");
    prototype->loadScript(entry, directory, scriptLabel(found->second, folder), engine);
  }
}

std::vector<EffectService::ScriptInfo> EffectService::getScriptInfoList() const {
  // The script folder without its separator, so that its sub-folders match too.
  const std::string prefix = System::FileName::expandVariable("%Script%");
  std::vector<ScriptInfo> rows;
  addEffectRows<ScriptFilter>(rows, effectDefines_, prefix, "フィルタ効果");
  addEffectRows<ScriptInput>(rows, effectDefines_, prefix, "オブジェクト");
  addEffectRows<CameraScript>(rows, effectDefines_, prefix, "カメラ効果");
  for (const auto& entry : movementDefines_) {
    const auto* script = dynamic_cast<const ScriptMovement*>(entry.second.getPrototype().get());
    if (script) addInfoRow(rows, script->record, prefix, "トラックバー");
  }
  return rows;
}

}  // namespace Effect
