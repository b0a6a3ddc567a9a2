// Feeds arbitrary bytes to the project file reader, as project files that users share or
// that a crash left half-written may hold them. Whatever the file says, a load either throws
// the standard exception or gives a model in which every object lies on a valid layer inside
// the frame range, its midpoints strictly inside it, no two objects of a layer share a
// frame, and the root scene and the current scene exist. Such a model saves, and the saved
// file reads back into a model that saves to the same text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "edit/edit_limits.h"
#include "edit/object.h"
#include "edit/project.h"
#include "edit/scene.h"
#include "fuzz/edit_fuzz_world.h"

namespace {

using FuzzSupport::fail;

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
        FuzzSupport::checkObject(*object);
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
  w.checkSavedAgainAlike("a saved project does not read back the same");
  project.reset();
  reloaded.reset();
  return 0;
}
