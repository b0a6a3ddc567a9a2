// Alias files: writing them, and making objects and effects from them.
//
// The files come from users (saved here, shared, edited by hand), so everything read is
// checked before it reaches the model the way the project reader checks its objects: the
// layer and frames against their ranges, the frame list's length and midpoints, and every
// new object against the objects already on its layer, so that none ever overlaps another.
#include "edit/alias_file.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "edit/edit_limits.h"
#include "edit/ini_section_writer.h"
#include "edit/layer_object_manager.h"
#include "edit/layer_objects.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"

namespace Edit {

namespace {

using System::IniFile;

// Midpoints one object may bring from a file, as for the project file: far more than any
// edit makes, and it keeps a damaged frame list from growing an object without bound.
constexpr std::size_t kMaxFileMidpoints = 65536;

// The length of the timeline the default end reaches: this many frames at a zoom of 1.
constexpr int64_t kDefaultLengthAtZoomOne = 800000;

// Puts a new object without effects on the layer for the wanted range [start, end]: behind
// every object that covers its start (keeping its length), and cut short before the next
// object that begins inside it. Throws "invalid frame number list." (with `place`) when
// nothing of the range is left, and what the layer table refuses (layer or frame range).
std::shared_ptr<Object> placeNewObject(Scene& scene, int layer, int64_t start, int64_t end,
                                       const char* place) {
  const LayerObjects& slot = scene.ensureLayer(layer);
  // The slot is sorted only once the update scope closes: the objects an earlier step of
  // the same scope added may stand anywhere in it, so the walk sorts its own list.
  std::vector<const Object*> objects;
  objects.reserve(slot.objects.size());
  for (const auto& object : slot.objects)
    if (object->layer == layer) objects.push_back(object.get());
  std::sort(objects.begin(), objects.end(),
            [](const Object* a, const Object* b) { return a->start < b->start; });
  for (const Object* object : objects) {
    if (object->end < start) continue;
    if (object->start > start) {
      if (end >= object->start) end = int64_t{object->start} - 1;
      break;
    }
    const int64_t shift = int64_t{object->end} - start + 1;
    start += shift;
    end += shift;
  }
  // The timeline ends at the last frame like at a neighbour.
  end = std::min<int64_t>(end, kMaxFrame);
  if (end < start) throw System::makeException(place, "invalid frame number list.");
  return scene.createEmptyObject(layer, static_cast<int>(start), static_cast<int>(end));
}

}  // namespace

std::string makeAliasFilePath(std::string_view name, std::string_view kind) {
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of("/\\\r\n") != std::string_view::npos)
    throw System::makeException("Edit::makeAliasFilePath", "invalid alias name.",
                                std::string(name));
  std::string path = "%Alias%/";
  path += name;
  path += '.';
  path += kind;
  return System::FileName::expandVariable(path);
}

void saveObjectAliasFile(const std::string& path, const Object& object, bool withFrame) {
  System::Log::verbose("System::IniFile::Save::Save", "saveFile : %s", path.c_str());
  System::SafeFileWriter writer(path);
  System::File& file = writer.file();
  writeSection(file, "Object");
  if (withFrame) object.saveFrame(file);
  object.saveCameraClipping(file);
  object.saveEffectSections(file, "Object");
  writer.commit();
}

void saveEffectAliasFile(const std::string& path, const Effect::EffectBase& effect) {
  System::Log::verbose("System::IniFile::Save::Save", "saveFile : %s", path.c_str());
  System::SafeFileWriter writer(path);
  writeEffectSection(writer.file(), "Effect.0", effect);
  writer.commit();
}

std::shared_ptr<Object> loadObjectFile(Scene& scene, const std::string& path, int layer,
                                       int frame) {
  if (!System::File::exists(path))
    throw System::makeException("Edit::loadObjectFile", "failed to open file.", path);
  IniFile file;
  file.loadFile(path);
  const int64_t zoom = std::max<int32_t>(scene.zoom.zoom, 1);
  const int defaultEnd = clampFrame(int64_t{frame} + kDefaultLengthAtZoomOne / zoom);
  if (System::FileName::getExtension(path) == "effect")
    return LayerObjectManager::loadObjectAliasFileEffect(scene, file, layer, frame, defaultEnd);
  return LayerObjectManager::loadObjectAliasFile(scene, file, layer, frame, defaultEnd);
}

std::shared_ptr<Object> LayerObjectManager::loadObjectAliasFile(Scene& scene,
                                                                const System::IniFile& file,
                                                                int layer, int frame,
                                                                int defaultEnd) {
  constexpr const char* place = "Edit::LayerObjectManager::loadObjectAliasFile";
  const IniFile::SectionRef keys = file.getSection("Object");
  if (!keys.exists()) throw System::makeException(place, "no object section.");
  const std::vector<IniFile::VALUE> frames = keys.findValue("frame").split(",");
  int64_t end = defaultEnd;
  int64_t first = 0;
  if (frames.size() >= 2) {
    if (frames.size() - 2 > kMaxFileMidpoints)
      throw System::makeException(place, "invalid frame number list.");
    first = frames.front().toInt();
    const int64_t last = frames.back().toInt();
    // The object keeps its own length: one frame (first = last) stays one frame.
    if (last < first) throw System::makeException(place, "invalid frame number list.");
    end = int64_t{frame} + (last - first);
  }
  std::shared_ptr<Object> object = placeNewObject(scene, layer, frame, end, place);
  try {
    object->loadCameraClipping(keys);
    for (std::size_t i = 1; i + 1 < frames.size(); ++i) {
      // The midpoints keep their distance from the start wherever the object landed.
      const int64_t at = int64_t{object->start} + (int64_t{frames[i].toInt()} - first);
      if (!isValidFrame(at) || !object->canAddSectionAt(static_cast<int>(at)))
        throw System::makeException(place, "invalid frame number list.");
      object->addSection(static_cast<int>(at), nullptr);
    }
    object->loadEffectIniFile(file, "Object");
  } catch (...) {
    scene.removeObject(*object);
    throw;
  }
  return object;
}

std::shared_ptr<Object> LayerObjectManager::loadObjectAliasFileEffect(Scene& scene,
                                                                      const System::IniFile& file,
                                                                      int layer, int frame,
                                                                      int defaultEnd) {
  std::shared_ptr<Object> object = placeNewObject(
      scene, layer, frame, defaultEnd, "Edit::LayerObjectManager::loadObjectAliasFileEffect");
  try {
    object->loadEffectAliasFile(file, nullptr);
  } catch (...) {
    scene.removeObject(*object);
    throw;
  }
  return object;
}

void Object::loadEffectAliasFile(const System::IniFile& file,
                                 const Effect::EffectBase* afterEffect) {
  if (!file.getSection("Effect", 0).exists())
    throw System::makeException("Edit::Object::loadEffectAliasFile", "no effect defined.");
  // Each added filter goes behind the one added before it, so that a set of several filters
  // keeps its order in the chain.
  const Effect::EffectBase* after = afterEffect;
  try {
    for (int e = 0;; ++e) {
      const IniFile::SectionRef keys = file.getSection("Effect", e);
      if (!keys.exists()) break;
      // Required and not empty: toString refuses an empty text.
      const std::string name = keys.getValue("effect.name").toString();
      std::shared_ptr<Effect::EffectBase>* entry = loadEffectByName(name, keys, *this, after);
      if (afterEffect && entry && *entry && (*entry)->effectType == Effect::EffectType::Filter)
        after = entry->get();
    }
  } catch (...) {
    // An input from the file may have replaced the chain's input: the effects that no longer
    // suit it go, as after a complete load.
    try {
      fitEffectsToInput();
    } catch (...) {
    }
    throw;
  }
  fitEffectsToInput();
}

}  // namespace Edit
