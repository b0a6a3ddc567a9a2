#include "effect/effect_service.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

#include "effect/builtin_movements.h"
#include "effect/media_file_probe.h"
#include "effect/movement_registry.h"
#include "system/dialog.h"
#include "system/file.h"
#include "system/log.h"
#include "system/setting_service.h"

namespace Effect {

namespace {

EffectService::Catalogue& installedCatalogue() {
  static EffectService::Catalogue catalogue;
  return catalogue;
}

// Whether an entry of type byte `value` passes a media or target filter: any value passes
// 0 and its own value; video and audio entries pass "both"; entries for both pass every
// filter but camera. Camera and scene-change entries pass only 0 and themselves.
bool isCompatible(uint8_t filter, uint8_t value) {
  if (filter == 0 || filter == value) return true;
  if ((value == MediaType::Video || value == MediaType::Audio) && filter == MediaType::VideoAudio)
    return true;
  return value == MediaType::VideoAudio && filter != MediaType::Camera;
}

// Whether the prototype names an input effect it needs when it is placed alone (an output
// that draws particles of a figure).
bool namesDefaultInput(const EffectDefine& define) {
  try {
    return define.getPrototype()->getDefaultInputEffect() != nullptr;
  } catch (const std::exception&) {
    // Its input is not registered: it cannot start an object.
    return false;
  }
}

bool passesTypeFilter(const EffectMenuDefine& entry, const EffectDefine* effect, uint8_t filter) {
  const uint8_t type = entry.getEffectType();
  switch (filter) {
    case 0:
      return true;
    case EffectService::kObjectKinds:
      if (type == EffectType::Input || type == EffectType::Control ||
          type == EffectType::ObjectAlias)
        return true;
      return effect && namesDefaultInput(*effect);
    case EffectService::kFilterKinds:
      return type == EffectType::Filter || type == EffectType::EffectAlias;
    default:
      return type == filter;
  }
}

template <class Entry>
void sortByOrder(std::vector<Entry*>& entries) {
  std::sort(entries.begin(), entries.end(),
            [](const Entry* a, const Entry* b) { return a->order < b->order; });
}

// The extension of a listed file name as it is written on disk.
std::string_view extensionOnDisk(std::string_view path) {
  const auto dot = path.find_last_of('.');
  const auto separator = path.find_last_of('/');
  if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator))
    return {};
  return path.substr(dot + 1);
}

}  // namespace

// ---- construction ------------------------------------------------------------------------

void EffectService::setCatalogue(Catalogue catalogue) {
  installedCatalogue() = std::move(catalogue);
}

EffectService::MovementTakeover::MovementTakeover(EffectService* registry) : registry_(registry) {
  MovementRegistry::attachRegistry(registry_);
}

EffectService::MovementTakeover::~MovementTakeover() {
  MovementRegistry::detachRegistry(registry_);
}

EffectService::EffectService() {
  // A copy: a step may not change what the later steps run.
  const Catalogue catalogue = installedCatalogue();

  registerMovement<NoMove>();
  registerMovement<MovieRange>();
  registerMovement<LinearMove>();
  if (catalogue.movements) catalogue.movements(*this);

  // Every number item starts with the first and compares against both, so they are
  // published before any effect is made.
  MovementRegistry::publish(findMovement(NoMove::kName)->getPrototype().get(),
                            findMovement(MovieRange::kName)->getPrototype().get());

  if (catalogue.firstEffects) catalogue.firstEffects(*this);
  loadScripts();
  if (catalogue.lastEffects) catalogue.lastEffects(*this);

  deleteAliasRange(aliasDefines_.begin(), aliasDefines_.end());
  registerAlias("object", EffectType::ObjectAlias);
  registerAlias("effect", EffectType::EffectAlias);

  loadPresetsAndPalettes();
  initialized_ = true;
}

EffectService::~EffectService() = default;

void EffectService::loadPresetsAndPalettes() {
  movementParams.loadMovementParams();
  palettes.loadPalette();
}

void EffectService::loadScripts() {
  const Catalogue& catalogue = installedCatalogue();
  if (catalogue.scripts)
    catalogue.scripts(*this);
  else
    loadScriptFiles();
}

// ---- registration ------------------------------------------------------------------------

bool EffectService::registerEffectPrototype(std::shared_ptr<EffectBase> prototype) {
  if (!prototype) return false;
  const int32_t index = registerCount_++;
  const std::string key = prototype->name ? prototype->name : "";
  if (effectDefines_.find(key) != effectDefines_.end()) {
    Dialog::showError("Failed to register effect. [%s]\n\n%s", key.c_str(),
                      "Duplicate effects with the same key exist.");
    return false;
  }
  const auto entry = effectDefines_.try_emplace(key, prototype, index).first;
  try {
    prototype->createResource();
  } catch (...) {
    // A kind without its resources cannot make working instances: it stays out.
    effectDefines_.erase(entry);
    throw;
  }
  System::Log::info("Effect::EffectService::registerEffect", "register effect [%s]", key.c_str());
  return true;
}

bool EffectService::registerMovementPrototype(std::shared_ptr<MovementBase> prototype) {
  if (!prototype) return false;
  const int32_t index = registerCount_++;
  const std::string key = prototype->name;
  if (movementDefines_.find(key) != movementDefines_.end()) {
    Dialog::showError("Failed to register movement. [%s]\n\n%s", key.c_str(),
                      "Duplicate movements with the same key exist.");
    return false;
  }
  movementDefines_.try_emplace(key, std::move(prototype), index);
  System::Log::info("Effect::EffectService::registerMovement", "register movement [%s]",
                    key.c_str());
  return true;
}

void EffectService::reportFailure(bool effect, const std::type_info& type,
                                  const std::exception& exception) {
  const std::string typeName = typeDisplayName(type);
  Dialog::showError(
      effect ? "Failed to register effect. [%s]\n\n%s" : "Failed to register movement. [%s]\n\n%s",
      typeName.c_str(), exception.what());
}

void EffectService::registerAlias(std::string_view kind, uint8_t type) {
  std::string pattern = "%Alias%/*.";
  pattern += kind;
  try {
    pattern = System::FileName::expandVariable(pattern);
    const auto files = System::File::findFiles(pattern, System::FileName::getDirectory(pattern));
    for (const auto& file : files) {
      const std::string name = System::FileName::getTitle(file.path);
      const std::string_view extension = extensionOnDisk(file.path);
      const int32_t index = registerCount_++;
      aliasDefines_.push_back(std::make_unique<AliasDefine>(
          name, kind, type, index, extension == kind ? std::string_view() : extension));
      System::Log::info("Effect::EffectService::registerAlias", "register alias [%s]",
                        name.c_str());
    }
  } catch (const std::exception& exception) {
    // An alias folder that cannot be read leaves the menus without those aliases.
    System::Log::warn("Effect::EffectService::registerAlias", "alias list failed. [%s]\n%s",
                      pattern.c_str(), exception.what());
  }
}

std::string EffectService::typeDisplayName(const std::type_info& type) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
  return std::string("class ") + (status == 0 && demangled ? demangled.get() : type.name());
}

// ---- lookups -----------------------------------------------------------------------------

EffectDefine* EffectService::findEffectDefine(std::string_view name) const {
  const auto found = effectDefines_.find(name);
  // Definitions are handed out for their menu settings; the tables themselves stay fixed.
  return found == effectDefines_.end() ? nullptr : const_cast<EffectDefine*>(&found->second);
}

EffectDefine* EffectService::findEffect(std::string_view name) const {
  if (EffectDefine* define = findEffectDefine(name)) return define;
  const std::string text(name);
  throw System::makeFormattedException("Effect::EffectService::findEffect", "not found effect.",
                                       "%s", text.c_str());
}

std::shared_ptr<EffectBase> EffectService::createEffect(std::string_view name) const {
  const EffectDefine* define = findEffectDefine(name);
  return define ? define->createEffect() : nullptr;
}

EffectDefine* EffectService::findLegacyEffect(std::string_view name) const {
  if (EffectDefine* define = findEffectDefine(name)) return define;
  std::string newName(name);
  if (const auto* settings = Setting::SettingService::instance()) {
    const auto section = settings->effect.getSection("OldScript");
    if (section.hasKey(name)) newName = section.getValue(name).toString();
  }
  return findEffect(newName);
}

MovementDefine* EffectService::findMovement(std::string_view name) const {
  const auto found = movementDefines_.find(name);
  if (found == movementDefines_.end())
    throw System::makeException("Effect::EffectService::findMovement", "not found movement.");
  return const_cast<MovementDefine*>(&found->second);
}

EffectDefine* EffectService::getOutputEffect(const EffectDefine& input) const {
  const char* output = nullptr;
  switch (input.getMediaType()) {
    case MediaType::VideoAudio:
      output = "映像再生";
      break;
    case MediaType::Video:
      output = input.getName() == "フレームバッファ" ? "基本出力" : "標準描画";
      break;
    case MediaType::Audio:
      output = "音声再生";
      break;
    default:
      throw System::makeException("Effect::EffectService::getOutputEffect",
                                  "invalid input effect type.");
  }
  return findEffect(output);
}

// ---- menu lists --------------------------------------------------------------------------

std::vector<EffectMenuDefine*> EffectService::getEffectList(uint8_t effectType, uint8_t mediaType,
                                                            uint8_t targetType) const {
  std::vector<EffectMenuDefine*> list;
  for (const auto& [name, define] : effectDefines_) {
    if (!passesTypeFilter(define, &define, effectType)) continue;
    if (!isCompatible(mediaType, define.getMediaType())) continue;
    if (!isCompatible(targetType, define.getTargetType())) continue;
    list.push_back(const_cast<EffectDefine*>(&define));
  }
  // An alias may read its file for each question, so the cheap tests go first.
  for (const auto& alias : aliasDefines_) {
    if (!passesTypeFilter(*alias, nullptr, effectType)) continue;
    if (!isCompatible(mediaType, alias->getMediaType())) continue;
    if (!isCompatible(targetType, alias->getTargetType())) continue;
    list.push_back(alias.get());
  }
  sortByOrder(list);
  return list;
}

std::vector<const std::string*> EffectService::getEffectLabelList() const {
  std::vector<const EffectMenuDefine*> entries;
  entries.reserve(effectDefines_.size() + aliasDefines_.size());
  for (const auto& [name, define] : effectDefines_) entries.push_back(&define);
  for (const auto& alias : aliasDefines_) entries.push_back(alias.get());
  sortByOrder(entries);
  std::vector<const std::string*> labels;
  for (const EffectMenuDefine* entry : entries) {
    const std::string& label = entry->label;
    if (label.empty()) continue;
    const bool known = std::any_of(labels.begin(), labels.end(),
                                   [&](const std::string* seen) { return *seen == label; });
    if (!known) labels.push_back(&label);
  }
  return labels;
}

std::vector<const MovementDefine*> EffectService::getMovementList(
    const MovementListHook& hook) const {
  std::vector<const MovementDefine*> list;
  for (const auto& [name, define] : movementDefines_)
    if (define.getPrototype()->listed) list.push_back(&define);
  if (hook) hook(list);
  sortByOrder(list);
  return list;
}

// ---- dropped files -----------------------------------------------------------------------

bool EffectService::isObjectFile(std::string_view path) const {
  const std::string extension = System::FileName::getExtension(path);
  if (extension == "svg") return true;
  const MediaFileProbe* probe = mediaFileProbe();
  return probe && probe->isMediaExtension(extension);
}

const char* EffectService::getFileEffectName(std::string_view path) const {
  const MediaFileProbe* probe = mediaFileProbe();
  if (!probe) return nullptr;
  const std::string file(path);
  try {
    if (System::FileName::getExtension(file) == "svg" && probe->checkSvgFile(file)) return "図形";
    // A file named .svg that is no figure is offered to the readers like any other.
    const auto info = probe->probeMediaFile(file);
    if (!info) return nullptr;
    if (info->hasVideo) return info->videoFrames > 1 ? "動画ファイル" : "画像ファイル";
    if (info->hasAudio) return "音声ファイル";
  } catch (const std::exception& exception) {
    System::Log::warn("Effect::EffectService::getFileEffectName", "media file check failed.\n%s",
                      exception.what());
  }
  return nullptr;
}

// ---- aliases -----------------------------------------------------------------------------

void EffectService::setAliasLabel(std::string_view name, std::string_view label) {
  for (const auto& alias : aliasDefines_) {
    if (alias->getName() == name) {
      alias->label = label;
      return;
    }
  }
}

void EffectService::deleteAliasRange(AliasList::iterator first, AliasList::iterator last) {
  aliasDefines_.erase(first, last);
}

void EffectService::clearAlias() { AliasList().swap(aliasDefines_); }

void EffectService::reloadAlias(std::string_view name, std::string_view label) {
  // Copies first: the caller may pass the texts of an alias that is about to go.
  const std::string savedName(name);
  const std::string savedLabel(label);
  deleteAliasRange(aliasDefines_.begin(), aliasDefines_.end());
  registerAlias("object", EffectType::ObjectAlias);
  registerAlias("effect", EffectType::EffectAlias);
  setAliasLabel(savedName, savedLabel);
}

}  // namespace Effect
