// Feeds arbitrary bytes to the alias file readers, as alias files that users share or edit
// by hand may hold them. The bytes are read three ways: as an object alias placed among the
// objects of a layer, as an effect alias made into a new object, and as an effect alias
// added to an existing chain behind one of its filters. Each read either throws the standard
// exception and leaves the layer as it was, or gives objects on valid layers inside the frame
// range, midpoints strictly inside, no two objects of a layer sharing a frame. A new object
// saves as an object alias that reads back into an object saving to the same text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "edit/alias_file.h"
#include "edit/layer_object_manager.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "fuzz/edit_fuzz_world.h"
#include "system/ini_file.h"

namespace {

using FuzzSupport::fail;

FuzzSupport::World& world() {
  static FuzzSupport::World instance("velumo-alias-fuzz", "object");
  return instance;
}

using Frames = std::vector<std::pair<int32_t, int32_t>>;

// The objects of the layer as (start, end), checked: valid frames, midpoints inside, an
// effect chain, no overlap.
Frames checkLayer(Edit::Scene& scene, int layer) {
  scene.update();
  Frames frames;
  for (const auto& object : scene.getLayerObjects(layer).objects) {
    if (object->layer != layer) continue;
    FuzzSupport::checkObject(*object);
    frames.emplace_back(object->start, object->end);
  }
  std::sort(frames.begin(), frames.end());
  for (std::size_t i = 1; i < frames.size(); ++i)
    if (frames[i].first <= frames[i - 1].second) fail("objects overlap");
  return frames;
}

// A scene with two objects on layer 1 for the new ones to find their place among.
std::unique_ptr<Edit::Scene> makeScene() {
  auto scene = std::make_unique<Edit::Scene>(0, 0);
  for (const auto& range : {std::pair<int, int>{10, 19}, {30, 40}}) {
    auto object = scene->createEmptyObject(1, range.first, range.second);
    object->setEffectByName("画像ファイル", nullptr);
  }
  scene->update();
  return scene;
}

void checkRoundTrip(const Edit::Object& object) {
  FuzzSupport::World& w = world();
  Edit::saveObjectAliasFile(w.saved_, object, true);
  System::IniFile saved;
  saved.loadFile(w.saved_);
  auto scene = makeScene();
  std::shared_ptr<Edit::Object> again;
  try {
    again = Edit::LayerObjectManager::loadObjectAliasFile(*scene, saved, 2, object.start, 0);
  } catch (const std::exception& exception) {
    std::fprintf(stderr, "%s\n", exception.what());
    fail("a saved object alias does not load");
  }
  checkLayer(*scene, 2);
  Edit::saveObjectAliasFile(w.again_, *again, true);
  w.checkSavedAgainAlike("a saved object alias does not read back the same");
  scene->clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSupport::World& w = world();
  w.writeInput(data, size);
  System::IniFile ini;
  try {
    ini.loadFile(w.input_);
  } catch (const std::exception&) {
    return 0;
  }

  auto scene = makeScene();
  const Frames before = checkLayer(*scene, 1);
  // As an object alias wanted inside the second object: it lands at 41.
  try {
    auto object = Edit::LayerObjectManager::loadObjectAliasFile(*scene, ini, 1, 35, 100);
    checkLayer(*scene, 1);
    checkRoundTrip(*object);
  } catch (const std::exception&) {
    if (checkLayer(*scene, 1) != before) fail("a failed object alias left an object behind");
  }
  // As an effect alias made into a new object.
  const Frames withAlias = checkLayer(*scene, 1);
  try {
    auto object = Edit::LayerObjectManager::loadObjectAliasFileEffect(*scene, ini, 1, 12, 60);
    checkLayer(*scene, 1);
    checkRoundTrip(*object);
  } catch (const std::exception&) {
    if (checkLayer(*scene, 1) != withAlias) fail("a failed effect alias left an object behind");
  }
  // Added to a chain behind its filter: whatever happens, the chain stays one that saves.
  auto target = scene->createEmptyObject(3, 0, 99);
  target->setEffectByName("画像ファイル", nullptr);
  target->setEffectByName("色調補正", nullptr);
  target->addSection(50, nullptr);
  try {
    target->loadEffectAliasFile(ini, target->effects.back().get());
  } catch (const std::exception&) {
  }
  checkLayer(*scene, 3);
  if (target->effects.empty()) fail("the chain lost every effect");
  checkRoundTrip(*target);
  scene->clear();
  return 0;
}
