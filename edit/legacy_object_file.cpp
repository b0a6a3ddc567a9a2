// Legacy object files: reading the old timeline into a new scene.
//
// The files come from outside (old projects, shared, edited by hand), so every number is
// checked before it reaches the model the way the project reader checks its own: layers and
// frames against the edit model's limits (computed in 64 bits, so that the 1-based numbers
// of the file cannot wrap), sizes and rates against zero, and every object against the
// objects already on its layer. A failure inside one object drops that object only.
#include "edit/legacy_object_file.h"

#include <exception>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <system_error>

#include "edit/edit_limits.h"
#include "edit/edit_service.h"
#include "edit/group_table.h"
#include "edit/layer_object_manager.h"
#include "edit/object.h"
#include "edit/project.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "effect/effect_define.h"
#include "effect/effect_item_number.h"
#include "effect/effect_service.h"
#include "effect/legacy_text.h"
#include "system/dialog.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"
#include "system/setting_service.h"
#include "system/text.h"

namespace Edit {

namespace {

using System::IniFile;

// Midpoints a run of chained objects may give one object, as many as a project file's
// object may bring: a file of thousands of tiny chained objects stays one bounded object
// with the rest kept as objects of their own.
constexpr std::size_t kMaxFileMidpoints = 65536;

// A required positive int of the header (sizes, rates): 0 or less would divide by zero
// where frames become times.
int32_t readPositive(const IniFile::VALUE& value, const char* place) {
  const int32_t number = value.toInt();
  if (number <= 0)
    throw System::makeException(place, "ini file parameter out of range.", value.getPlaceText());
  return number;
}

// The three old script kinds, whose effect is named by a script name or a built-in number.
bool isOldScriptKind(std::string_view name) {
  return name == "アニメーション効果" || name == "カスタムオブジェクト" || name == "カメラ効果";
}

}  // namespace

// ---- the file and the scene ------------------------------------------------------------------

namespace ProjectConvert {

void readKvoFile(IniFile& file, const std::string& path) {
  constexpr const char* place = "Edit::ProjectConvert::loadSceneFromKvo";
  // Only a regular file: a folder is no timeline, and a pipe or device may never end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    throw System::makeException(place, "failed to open file.", path);
  System::File input;
  input.open(path, System::File::Read);
  const uint64_t size = input.size();
  if (size > IniFile::kMaxFileSize) throw System::makeException(place, "file too large.", path);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!bytes.empty()) input.readBlock(bytes.data(), bytes.size());
  // Old files are in the legacy code page; files saved again by newer tools are UTF-8. A
  // text that is valid UTF-8 throughout is taken as such: legacy Japanese text hardly ever
  // forms valid UTF-8 sequences.
  if (!System::isValidUtf8(bytes)) bytes = Effect::convertLegacyText(bytes);
  file.loadText(bytes, path, true);
}

std::string sceneNameOfPath(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/");
  std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
  if (const std::size_t dot = name.find_last_of('.'); dot != std::string_view::npos)
    name = name.substr(0, dot);
  return std::string(name);
}

void loadSceneHeader(Scene& scene, const IniFile::SectionRef& header, const std::string& name) {
  constexpr const char* place = "Edit::ProjectConvert::loadSceneHeader";
  const int32_t width = readPositive(header.getValue("width"), place);
  const int32_t height = readPositive(header.getValue("height"), place);
  const int32_t rate = readPositive(header.getValue("rate"), place);
  const int32_t scale = readPositive(header.getValue("scale"), place);
  const IniFile::VALUE& audioValue = header.findValue("audio_rate");
  const int32_t audioRate = audioValue.toInt(48000);
  if (audioRate <= 0)
    throw System::makeException(place, "ini file parameter out of range.",
                                audioValue.getPlaceText());
  // A name is one line of the project file: what a line break would cut off is dropped.
  std::string newName = name.substr(0, name.find_first_of("\r\n"));
  scene.name = newName.empty() ? getDefaultSceneName(scene.id) : std::move(newName);
  scene.width = width;
  scene.height = height;
  scene.rate = rate;
  scene.scale = scale;
  scene.audioRate = audioRate;
}

std::string convertScriptName(const IniFile::SectionRef& section) {
  std::string name = section.getValue("_name").toString();
  if (!isOldScriptKind(name)) return name;
  std::string scriptName = section.findValue("name").toString("");
  if (!scriptName.empty()) return scriptName;
  const std::string& number = section.getValue("type").text;
  const auto* settings = Setting::SettingService::instance();
  const IniFile::SectionRef table =
      settings ? settings->effect.getSection("OldScript." + name) : IniFile::SectionRef();
  // A missing entry throws "ini file parameter undefined." like a missing key of the file.
  return table.getValue(number).toString();
}

void loadSceneFromKvo(Scene& scene, const std::string& path) {
  constexpr const char* place = "Edit::ProjectConvert::loadSceneFromKvo";
  IniFile file;
  readKvoFile(file, path);
  const IniFile::SectionRef header = file.getSection("kivrun");
  if (!header.exists()) throw System::makeException(place, "kivrun section not found", path);
  loadSceneHeader(scene, header, sceneNameOfPath(path));

  GroupTable groups;
  std::shared_ptr<Object> previous;
  bool failed = false;
  for (int m = 0;; ++m) {
    const std::string name = std::to_string(m);
    const IniFile::SectionRef keys = file.getSection(name);
    if (!keys.exists()) break;
    try {
      const bool chained = keys.findValue("chain").toInt(0) != 0;
      std::shared_ptr<Object> object =
          LayerObjectManager::loadObjectKvoFile(scene, file, name, groups);
      // A chained object without an object before it stays an object of its own.
      if (chained && previous && object->mergeInto(*previous)) {
        // Absorbed: its values live on in the previous object, which the next chained
        // object joins as well.
        object->removeFromGroup();
        if (object->controlFlag) scene.markRange(*object);
        scene.removeObject(*object);
        scene.markSort(*previous);
        if (previous->controlFlag) scene.markRange(*previous);
      } else {
        previous = std::move(object);
      }
    } catch (const std::exception& exception) {
      // Only this object is lost; the rest of the timeline loads.
      System::Log::warn(place, "object load failed. [%s]\n%s", name.c_str(), exception.what());
      failed = true;
    }
  }
  scene.update();
  if (failed) Dialog::postError("%s", "一部のオブジェクトの読み込みに失敗しました");
}

}  // namespace ProjectConvert

// ---- objects ---------------------------------------------------------------------------------

std::shared_ptr<Object> LayerObjectManager::loadObjectKvoFile(Scene& scene, const IniFile& file,
                                                              const std::string& section,
                                                              GroupTable& groups) {
  constexpr const char* place = "Edit::LayerObjectManager::loadObjectKvoFile";
  const IniFile::SectionRef keys = file.getSection(section);
  // Counted from 1 in the file; in 64 bits so that the smallest int stays a number.
  const int64_t layer = int64_t{keys.getValue("layer").toInt()} - 1;
  const int64_t start = int64_t{keys.getValue("start").toInt()} - 1;
  const int64_t end = int64_t{keys.getValue("end").toInt()} - 1;
  if (!isValidLayer(layer))
    throw System::makeFormattedException(place, "layer index out of range.", "layer=%lld",
                                         static_cast<long long>(layer + 1));
  if (end < start || !isValidFrame(start) || !isValidFrame(end))
    throw System::makeException(place, "invalid frame number list.");
  std::shared_ptr<Object> object = scene.createEmptyObject(
      static_cast<int>(layer), static_cast<int>(start), static_cast<int>(end));
  try {
    const int32_t group = keys.findValue("group").toInt(0);
    if (group != 0) object->joinGroup(groups.groupOf(group));
    object->loadEffectKvoFile(file, section);
  } catch (...) {
    object->removeFromGroup();
    scene.removeObject(*object);
    throw;
  }
  return object;
}

void Object::loadEffectKvoFile(const IniFile& file, const std::string& section) {
  constexpr const char* place = "Edit::Object::loadEffectKvoFile";
  const IniFile::SectionRef keys = file.getSection(section);
  const bool newCamera = keys.findValue("camera").toInt(1) != 0;
  const bool overlay = keys.findValue("overlay").toInt(0) != 0;
  camera = newCamera ? 1 : 0;
  clipping = 0;
  Effect::EffectService* registry = Effect::EffectService::instance();
  int count = 0;
  for (;; ++count) {
    const IniFile::SectionRef effectKeys = file.getSection(section, count);
    if (!effectKeys.exists()) break;
    const std::string name = ProjectConvert::convertScriptName(effectKeys);
    if (!registry)
      throw System::makeException("Effect::EffectService::findEffect", "not found effect.", name);
    const Effect::EffectDefine& define = *registry->findLegacyEffect(name);
    const Effect::EffectBase& prototype = *define.getPrototype();
    // A filter as an object's own first effect was a filter object of the old editor, which
    // has no counterpart here; the camera lights are the exception.
    if (count == 0 && !overlay && prototype.effectType == 3 && prototype.mediaType != 4)
      throw System::makeException(place, "filter object not support", name);
    std::shared_ptr<Effect::EffectBase>* entry = setEffectByDefine(define);
    (*entry)->loadKvoSectionParameter(effectKeys);
    setSectionNum(**entry, sectionCount());
  }
  if (count == 0) throw System::makeException(place, "no effect defined.");
  // A later effect may have replaced the input by one of other media: the chain is settled
  // as after a project file's effects, so that only a consistent chain is ever saved.
  fitEffectsToInput();
  for (const auto& effect : effects)
    if (effect) setSectionNum(*effect, sectionCount());
}

bool Object::mergeInto(Object& previous) {
  if (previous.layer != layer || int64_t{previous.end} + 1 != start) return false;
  if (previous.boundaries.size() >= kMaxFileMidpoints) return false;
  const int32_t oldEnd = previous.end;
  // The new midpoint must lie strictly inside the joined object: a single-frame object
  // would put it on the end.
  previous.end = end;
  if (!previous.canAddSectionAt(start)) {
    previous.end = oldEnd;
    return false;
  }
  const int lastPoint = std::numeric_limits<int>::max();
  // The previous object's own end values, for the new midpoint ...
  SectionValueMap midpoint;
  previous.copyPointValues(midpoint, previous, lastPoint, nullptr);
  // ... and the end values of the joined object under the matching items, for the new end;
  // an item without a match keeps its own end value.
  SectionValueMap newEnd = midpoint;
  copyPointValues(newEnd, *this, lastPoint, &previous);
  previous.addSection(start, &midpoint);
  const int endPoint = static_cast<int>(previous.boundaries.size()) + 1;
  for (const auto& effect : previous.effects) {
    if (!effect) continue;
    for (Effect::EffectItem* item : effect->items) {
      if (item->typeCode != Effect::ItemType::Number) continue;
      if (auto* number = dynamic_cast<Effect::EffectItemNumber*>(item))
        number->setSectionValue(endPoint, &newEnd);
    }
  }
  return true;
}

// ---- the import ------------------------------------------------------------------------------

bool EditService::importSceneFromKvo(const std::string& path) {
  const int32_t id = project.findFreeSceneId();
  auto scope = beginUpdate();
  const std::shared_ptr<Scene> scene = project.getOrCreateScene(id);
  try {
    ProjectConvert::loadSceneFromKvo(*scene, path);
  } catch (const std::exception& exception) {
    System::Log::warn("Edit::EditService::importSceneFromKvo", "import failed. [%s]\n%s",
                      path.c_str(), exception.what());
    project.deleteScene(id);
    scope.close();
    Dialog::postError("%s", "シーンの読み込みに失敗しました");
    return false;
  }
  scope.notifyScene = true;
  scope.sceneId = id;
  setCurrentScene(id);
  System::Log::info("Edit::EditService::updateScene", "set current scnene [%s](%d)",
                    scene->name.c_str(), id);
  scope.close();
  return true;
}

}  // namespace Edit
