// Feeds arbitrary bytes to the project file reader, as project files that users share or
// that a crash left half-written may hold them. Whatever the file says, a load either throws
// the standard exception or gives a model in which every object lies on a valid layer inside
// the frame range, its midpoints strictly inside it, no two objects of a layer share a
// frame, and the root scene and the current scene exist. Such a model saves, and the saved
// file reads back into a model that saves to the same text.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "edit/edit_limits.h"
#include "fuzz/edit_fuzz_world.h"
#include "edit/object.h"
#include "edit/project.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_text.h"
#include "effect/effect_service.h"
#include "effect/movement_registry.h"
#include "system/file.h"
#include "system/log.h"
#include "system/service_holder.h"
#include "system/setting_service.h"

namespace {

using FuzzSupport::fail;
using FuzzSupport::readAll;

FuzzSupport::World& world() {
  static FuzzSupport::World instance("velumo-project-fuzz", "vlp2");
  return instance;
}

void checkModel(const Edit::Project& project) {
  if (!project.findScene(0)) fail("no root scene");
  if (!project.findScene(project.currentSceneId)) fail("current scene missing");
  for (const auto& entry : project.scenes) {
    const Edit::Scene& scene = *entry.second;
    if (scene.width <= 0 || scene.height <= 0 || scene.rate <= 0 || scene.scale <= 0)
      fail("scene size or rate not positive");
    for (int layer = 0; layer < scene.layerCount(); ++layer) {
      std::vector<const Edit::Object*> objects;
      for (const auto& object : scene.getLayerObjects(layer).objects) {
        if (object->layer != layer) continue;
        if (!Edit::isValidLayer(object->layer)) fail("layer out of range");
        if (!Edit::isValidFrame(object->start) || !Edit::isValidFrame(object->end) ||
            object->end < object->start)
          fail("frames out of range");
        int64_t previous = 0;
        for (int32_t boundary : object->boundaries) {
          if (boundary <= previous || boundary >= int64_t{object->end} - object->start)
            fail("midpoint outside its object");
          previous = boundary;
        }
        if (object->effects.empty()) fail("object without effects");
        objects.push_back(object.get());
      }
      std::sort(objects.begin(), objects.end(),
                [](const Edit::Object* a, const Edit::Object* b) { return a->start < b->start; });
      for (std::size_t i = 1; i < objects.size(); ++i)
        if (objects[i]->start <= objects[i - 1]->end) fail("objects overlap");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSupport::World& w = world();
  w.writeInput(data, size);
  Edit::Project project;
  try {
    project.loadFile(w.input_);
  } catch (const std::exception&) {
    project.reset();
    return 0;
  }
  checkModel(project);
  project.saveFile(w.saved_);
  Edit::Project reloaded;
  try {
    reloaded.loadFile(w.saved_);
  } catch (const std::exception& exception) {
    std::fprintf(stderr, "%s\n", exception.what());
    fail("a saved project does not load");
  }
  checkModel(reloaded);
  reloaded.saveFile(w.again_);
  const std::string first = readAll(w.saved_);
  const std::string second = readAll(w.again_);
  if (first != second) {
    std::fprintf(stderr, "--- saved\n%s\n--- saved again\n%s\n", first.c_str(), second.c_str());
    fail("a saved project does not read back the same");
  }
  project.reset();
  reloaded.reset();
  return 0;
}
