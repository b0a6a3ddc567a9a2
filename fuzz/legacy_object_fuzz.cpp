// Feeds arbitrary bytes to the legacy object file reader, as old timelines from outside may
// hold them. The read either throws the standard exception or fills the scene with objects
// on valid layers inside the frame range, midpoints strictly inside, no two objects of a
// layer sharing a frame.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <utility>
#include <vector>

#include "edit/edit_limits.h"
#include "edit/legacy_object_file.h"
#include "edit/scene.h"
#include "fuzz/edit_fuzz_world.h"

namespace {

using FuzzSupport::fail;

FuzzSupport::World& world() {
  static FuzzSupport::World instance("velumo-legacy-fuzz", "kvo");
  return instance;
}

void checkScene(Edit::Scene& scene) {
  for (int layer = 0; layer < scene.layerCount(); ++layer) {
    std::vector<std::pair<int32_t, int32_t>> frames;
    for (const auto& object : scene.getLayerObjects(layer).objects) {
      if (object->layer != layer) continue;
      FuzzSupport::checkObject(*object);
      frames.emplace_back(object->start, object->end);
    }
    std::sort(frames.begin(), frames.end());
    for (std::size_t i = 1; i < frames.size(); ++i)
      if (frames[i].first <= frames[i - 1].second) fail("objects overlap");
  }
  if (scene.width <= 0 || scene.height <= 0 || scene.rate <= 0 || scene.scale <= 0)
    fail("a scene setting is not positive");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSupport::World& w = world();
  w.writeInput(data, size);
  Edit::Scene scene(1, 1);
  try {
    Edit::ProjectConvert::loadSceneFromKvo(scene, w.input_);
    checkScene(scene);
  } catch (const std::exception&) {
  }
  scene.clear();
  return 0;
}
