// The project file: every scene with its settings, the layers that differ from the
// defaults, and every object with its frames, flags, group and effect chain.
//
// The writer produces the text itself, section by section in a fixed order; the reader
// loads the whole file into an ini store and looks the numbered sections up by name (0, 1,
// 2 ... up to the first missing number), so the order of sections in the file does not
// matter to it. Everything read is checked before it reaches the model: layers and frames
// against their ranges, sizes and rates against zero, and every object against the objects
// already on its layer.
#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "edit/edit_limits.h"
#include "edit/group_table.h"
#include "edit/ini_section_writer.h"
#include "edit/layer.h"
#include "edit/layer_object_manager.h"
#include "edit/object.h"
#include "edit/project.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "effect/effect_define.h"
#include "effect/effect_service.h"
#include "system/dialog.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"

namespace Edit {

namespace {

using System::IniFile;

// Midpoints one object may bring from a file. Far more than any edit makes; it keeps a
// damaged frame list from growing an object (and every track on it) without bound.
constexpr std::size_t kMaxFileMidpoints = 65536;

// A text value is one line of the file: a line break would end it early and turn the rest
// into lines of their own, so the text is cut there.
std::string_view oneLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

void writeText(System::File& file, std::string_view key, std::string_view text) {
  IniFile::writeValueLine(file, key, oneLine(text));
}

// A required int that must be positive (sizes, rates); 0 or less would divide by zero
// where frames become times.
int32_t readPositive(const IniFile::SectionRef& section, std::string_view key, const char* place) {
  const IniFile::VALUE& value = section.getValue(key);
  const int32_t number = value.toInt();
  if (number <= 0)
    throw System::makeException(place, "ini file parameter out of range.", value.getPlaceText());
  return number;
}

// A scene id of a section: 0 or more.
int32_t readSceneId(const IniFile::SectionRef& section, const char* place) {
  const IniFile::VALUE& value = section.findValue("scene");
  const int32_t id = value.toInt(0);
  if (id < 0)
    throw System::makeException(place, "ini file parameter out of range.", value.getPlaceText());
  return id;
}

// The last layer the file must describe (0 when none): the last one that holds an object
// or whose settings differ from the defaults, from the slots themselves. A named, locked or
// hidden layer past the last object is part of the project as much as one among objects.
int32_t lastLayerToSave(const LayerObjectManager& table) {
  for (int32_t layer = table.layerCount() - 1; layer > 0; --layer) {
    const LayerObjects& slot = table.getLayerObjects(layer);
    if (slot.layer && slot.index() >= 0 && slot.layer->isModified()) return layer;
    for (const auto& object : slot.objects)
      if (object->layer == layer) return layer;
  }
  return 0;
}

}  // namespace

// ---- project -------------------------------------------------------------------------------

std::vector<std::shared_ptr<Scene>> Project::getSortedScenes() const {
  std::vector<std::shared_ptr<Scene>> sorted;
  sorted.reserve(scenes.size());
  for (const auto& entry : scenes) sorted.push_back(entry.second);
  // Scenes of equal display order (a file may say so) go by id, so that every save of the
  // same project writes the same file.
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
    return a->displayOrder != b->displayOrder ? a->displayOrder < b->displayOrder : a->id < b->id;
  });
  return sorted;
}

void Project::deleteScene(int32_t id) {
  if (id == 0 || id == currentSceneId) return;
  const auto found = scenes.find(id);
  if (found == scenes.end()) return;
  found->second->clear();
  scenes.erase(found);
}

void Project::reset() {
  for (const auto& entry : scenes) entry.second->clear();
  scenes.clear();
  currentSceneId = 0;
  path.clear();
}

void Project::saveFile(const std::string& filePath) const {
  System::Log::verbose("System::IniFile::Save::Save", "saveFile : %s", filePath.c_str());
  // Written beside the target and renamed over it when complete: a failure part-way never
  // leaves a truncated project behind.
  System::SafeFileWriter writer(filePath);
  System::File& file = writer.file();
  writeSection(file, "project");
  writeText(file, "file", path);
  writeInt(file, "display.scene", currentSceneId);

  GroupTable groups;
  int layerSection = 0;
  int objectSection = 0;
  const auto sorted = getSortedScenes();
  for (std::size_t n = 0; n < sorted.size(); ++n) {
    const Scene& scene = *sorted[n];
    writeSection(file, "scene." + std::to_string(n));
    scene.save(file);
    const int32_t lastLayer = lastLayerToSave(scene);
    for (int32_t layer = 0; layer <= lastLayer; ++layer) {
      const LayerObjects& slot = scene.getLayerObjects(layer);
      if (slot.layer && slot.index() >= 0 && slot.layer->isModified()) {
        writeSection(file, "layer." + std::to_string(layerSection++));
        slot.layer->save(file, scene.id, layer);
      }
      // The slot's own order is by start once the scope closed; sorted here as well so
      // that a save never depends on it.
      std::vector<const Object*> objects;
      for (const auto& object : slot.objects)
        if (object->layer == layer) objects.push_back(object.get());
      std::stable_sort(objects.begin(), objects.end(),
                       [](const Object* a, const Object* b) { return a->start < b->start; });
      for (const Object* object : objects)
        LayerObjectManager::saveObject(file, scene.id, std::to_string(objectSection++), *object,
                                       groups, scene.focusObject.get());
    }
  }
  writer.commit();
}

void Project::loadFile(const std::string& filePath) {
  constexpr const char* place = "Edit::Project::loadFile";
  // Only a regular file is opened: a folder is no project, and a pipe or a device could
  // block the reader or never end.
  std::error_code typeError;
  if (!std::filesystem::is_regular_file(filePath, typeError))
    throw System::makeException(place, "failed to open file.", filePath);
  IniFile ini;
  ini.loadFile(filePath);

  // The settings reader gives an empty file for one it cannot read; every project file
  // begins with its [project] section, so a file without one is no project.
  const IniFile::SectionRef project = ini.getSection("project");
  if (!project.exists())
    throw System::makeException(place, "project section not found.", filePath);
  path = System::FileName::expandVariable(project.findValue("file").toString(""));
  currentSceneId = project.findValue("display.scene").toInt(0);

  for (int n = 0;; ++n) {
    const IniFile::SectionRef section = ini.getSection("scene", n);
    if (!section.exists()) break;
    const IniFile::VALUE& idValue = section.getValue("scene");
    const int32_t id = idValue.toInt();
    if (id < 0)
      throw System::makeException(place, "ini file parameter out of range.",
                                  idValue.getPlaceText());
    getOrCreateScene(id)->load(section);
  }

  for (int k = 0;; ++k) {
    const IniFile::SectionRef section = ini.getSection("layer", k);
    if (!section.exists()) break;
    const int32_t sceneId = readSceneId(section, place);
    const int32_t index = section.getValue("layer").toInt();
    Scene& scene = *getOrCreateScene(sceneId);
    scene.ensureLayer(index).layer->load(section);
  }

  GroupTable groups;
  bool failed = false;
  for (int m = 0;; ++m) {
    const std::string name = std::to_string(m);
    const IniFile::SectionRef section = ini.getSection(name);
    if (!section.exists()) break;
    try {
      const int32_t sceneId = readSceneId(section, "Edit::LayerObjectManager::loadObjectIniFile");
      Scene& scene = *getOrCreateScene(sceneId);
      auto object = LayerObjectManager::loadObjectIniFile(scene, ini, name, groups);
      if (section.findValue("focus").toInt(0) != 0) scene.focusObject = object;
    } catch (const std::exception& exception) {
      // Only this object is lost; the rest of the project loads.
      System::Log::warn(place, "object load failed. [%s]\n%s", name.c_str(), exception.what());
      failed = true;
    }
  }

  // The root scene always exists, and the current scene is one that does.
  getOrCreateScene(0);
  if (!findScene(currentSceneId)) currentSceneId = 0;
  for (const auto& entry : scenes) entry.second->update();
  if (failed) Dialog::postError("%s", "一部のオブジェクトの読み込みに失敗しました");
}

// ---- scene and layer -------------------------------------------------------------------------

void Scene::save(System::File& file) const {
  writeInt(file, "scene", id);
  // A name cut to nothing at a line break is left out like an empty one.
  if (!oneLine(name).empty()) writeText(file, "name", name);
  writeInt(file, "video.width", width);
  writeInt(file, "video.height", height);
  writeInt(file, "video.rate", rate);
  writeInt(file, "video.scale", scale);
  writeInt(file, "audio.rate", audioRate);
  writeInt(file, "cursor.frame", cursorFrame);
  writeInt(file, "display.frame", displayFrame);
  writeInt(file, "display.layer", displayLayer);
  writeInt(file, "display.zoom", zoom.zoom);
  writeInt(file, "display.order", displayOrder);
  writeText(file, "display.camera", camera.toString());
}

void Scene::load(const System::IniFile::SectionRef& section) {
  constexpr const char* place = "Edit::Scene::load";
  // Everything is read and checked before the scene changes.
  // A name is one line: what a line break inside it cuts off is not part of it, as the
  // writer would not keep it either. A name cut to nothing is the scene's default name.
  std::string newName(oneLine(section.findValue("name").toString("")));
  if (newName.empty()) newName = getDefaultSceneName(id);
  const int32_t newWidth = readPositive(section, "video.width", place);
  const int32_t newHeight = readPositive(section, "video.height", place);
  const int32_t newRate = readPositive(section, "video.rate", place);
  const int32_t newScale = readPositive(section, "video.scale", place);
  const IniFile::VALUE& audioValue = section.findValue("audio.rate");
  const int32_t newAudioRate = audioValue.toInt(48000);
  if (newAudioRate <= 0)
    throw System::makeException(place, "ini file parameter out of range.",
                                audioValue.getPlaceText());
  const int32_t newCursor = clampFrame(section.findValue("cursor.frame").toInt(0));
  const int32_t newDisplayFrame = clampFrame(section.findValue("display.frame").toInt(0));
  const int32_t newDisplayLayer =
      std::clamp<int32_t>(section.findValue("display.layer").toInt(0), 0, kLayerLimit - 1);
  int32_t newZoom = section.findValue("display.zoom").toInt(zoom.zoom);
  const int32_t newOrder = section.findValue("display.order").toInt(id);

  name = std::move(newName);
  width = newWidth;
  height = newHeight;
  rate = newRate;
  scale = newScale;
  audioRate = newAudioRate;
  cursorFrame = newCursor;
  displayFrame = newDisplayFrame;
  displayLayer = newDisplayLayer;
  if (zoom.normalizer)
    zoom.normalizer(newZoom);
  else
    FrameZoom::defaultNormalizer(newZoom);
  zoom.zoom = newZoom;
  displayOrder = newOrder;
  if (section.hasKey("display.camera")) camera.fromString(section.findValue("display.camera").text);
}

void Layer::save(System::File& file, int32_t sceneId, int32_t layerIndex) const {
  writeInt(file, "layer", layerIndex);
  if (sceneId != 0) writeInt(file, "scene", sceneId);
  if (!oneLine(name).empty()) writeText(file, "name", name);
  if (locked) writeInt(file, "lock", 1);
  if (hidden) writeInt(file, "hide", 1);
}

void Layer::load(const System::IniFile::SectionRef& section) {
  std::string newName(oneLine(section.findValue("name").toString("")));
  const bool newLocked = section.findValue("lock").toInt(0) != 0;
  const bool newHidden = section.findValue("hide").toInt(0) != 0;
  name = std::move(newName);
  locked = newLocked;
  hidden = newHidden;
}

// ---- objects ---------------------------------------------------------------------------------

void LayerObjectManager::saveObject(System::File& file, int32_t sceneId,
                                    const std::string& sectionName, const Object& object,
                                    GroupTable& groups, const Object* focusObject) {
  writeSection(file, sectionName);
  writeInt(file, "layer", object.layer);
  if (sceneId != 0) writeInt(file, "scene", sceneId);
  if (&object == focusObject) writeInt(file, "focus", 1);
  object.saveFrame(file);
  object.saveCameraClipping(file);
  if (object.group) writeInt(file, "group", groups.numberOf(object.group.get()));
  object.saveEffectSections(file, sectionName);
}

std::shared_ptr<Object> LayerObjectManager::loadObjectIniFile(Scene& scene,
                                                              const System::IniFile& file,
                                                              const std::string& section,
                                                              GroupTable& groups) {
  constexpr const char* place = "Edit::LayerObjectManager::loadObjectIniFile";
  const IniFile::SectionRef keys = file.getSection(section);
  const int32_t layer = keys.getValue("layer").toInt();
  const std::vector<IniFile::VALUE> frames = keys.getValue("frame").split(",");
  if (frames.size() < 2) throw System::makeException(place, "not enough frame number list.");
  if (frames.size() - 2 > kMaxFileMidpoints)
    throw System::makeException(place, "invalid frame number list.");
  const int32_t start = frames.front().toInt();
  const int32_t end = frames.back().toInt();
  if (end < start) throw System::makeException(place, "invalid frame number list.");
  // Checks the layer, the frame range and the other objects of the layer: an object that
  // would overlap one already read is refused like any other bad object.
  std::shared_ptr<Object> object = scene.createEmptyObject(layer, start, end);
  try {
    object->loadCameraClipping(keys);
    for (std::size_t i = 1; i + 1 < frames.size(); ++i) {
      const int32_t frame = frames[i].toInt();
      if (!object->canAddSectionAt(frame))
        throw System::makeException(place, "invalid frame number list.");
      object->addSection(frame, nullptr);
    }
    const int32_t group = keys.findValue("group").toInt(0);
    if (group != 0) object->joinGroup(groups.groupOf(group));
    object->loadEffectIniFile(file, section);
  } catch (...) {
    object->removeFromGroup();
    scene.removeObject(*object);
    throw;
  }
  return object;
}

void Object::loadCameraClipping(const System::IniFile::SectionRef& section) {
  const bool newCamera = section.findValue("camera").toInt(1) != 0;
  const bool newClipping = section.findValue("clipping").toInt(0) != 0;
  camera = newCamera ? 1 : 0;
  clipping = newClipping ? 1 : 0;
}

void Object::loadEffectIniFile(const System::IniFile& file, const std::string& section) {
  Effect::EffectService* registry = Effect::EffectService::instance();
  int count = 0;
  for (;; ++count) {
    const IniFile::SectionRef keys = file.getSection(section, count);
    if (!keys.exists()) break;
    const std::string name = keys.getValue("effect.name").toString();
    if (!registry)
      throw System::makeException("Effect::EffectService::findEffect", "not found effect.", name);
    const Effect::EffectDefine& define = *registry->findEffect(name);
    std::shared_ptr<Effect::EffectBase>* entry = setEffectByDefine(define);
    (*entry)->loadIniSectionParameter(keys);
  }
  if (count == 0) throw System::makeException("Edit::Object::loadEffectIniFile", "no effect defined.");
  // A later section may have replaced the input by one of other media (the replacement is
  // checked against the input it replaces): the effects that no longer suit it go, and an
  // input gets the output that goes with it, as after the same edit on the timeline. Only a
  // consistent chain is ever saved again.
  fitEffectsToInput();
  // Every effect (also an output an input brought along) holds one value per point.
  for (const auto& effect : effects)
    if (effect) setSectionNum(*effect, sectionCount());
}

}  // namespace Edit
