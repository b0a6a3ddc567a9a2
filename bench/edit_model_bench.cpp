// The edit model at the size of a long project: 10 000 objects on 100 layers. One object
// moved inside an edit-update scope (open, change, close with its undo step), one undo and
// one redo, finding the object at a frame of a layer, and the memory one undo step keeps.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <vector>

#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "system/event_service.h"
#include "system/service_holder.h"

namespace {

constexpr int kLayers = 100;
constexpr int kObjectsPerLayer = 100;
constexpr int kSpacing = 20;  // each object covers 10 frames and leaves 10 free behind it

class BenchFilter : public Effect::EffectBase {
 public:
  BenchFilter() : EffectBase("ベンチ", Effect::EffectType::Filter, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<BenchFilter>(); }
};

// The services and a filled root scene.
class Project {
 public:
  Project() {
    auto effect = std::make_shared<BenchFilter>();
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    for (int layer = 0; layer < kLayers; ++layer)
      for (int i = 0; i < kObjectsPerLayer; ++i) {
        auto object = scope.scene->createEmptyObject(layer, i * kSpacing, i * kSpacing + 9);
        object->effects.push_back(effect);
      }
    scope.close();
  }

  Edit::EditService& edit() { return *Edit::EditService::instance(); }
  Undo::UndoService& undo() { return *Undo::UndoService::instance(); }
  Edit::Scene& scene() { return *edit().currentScene(); }
  std::shared_ptr<Edit::Object> object(int layer, int index) {
    return scene().getLayerObjects(layer).objects.at(static_cast<std::size_t>(index));
  }

  // Moves the object by `offset` frames inside a scope that records it for undo.
  void move(const std::shared_ptr<Edit::Object>& object, int offset) {
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    scope.notifyObject = true;
    scope.object = object;
    scope.beginUndo();
    undo().pushObjectUpdate(object);
    object->start += offset;
    object->end += offset;
    scope.scene->markSort(*object);
    scope.close();
  }

 private:
  System::ServiceHolder<Event::EventService> events_;
  System::ServiceHolder<Undo::UndoService> undo_;
  System::ServiceHolder<Edit::EditService> edit_;
};

void BM_MoveObjectInUpdateScope(benchmark::State& state) {
  Project project;
  const auto object = project.object(kLayers / 2, kObjectsPerLayer / 2);
  int offset = 5;
  for (auto _ : state) {
    project.move(object, offset);
    offset = -offset;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MoveObjectInUpdateScope)->Unit(benchmark::kMicrosecond);

void BM_UndoAndRedo(benchmark::State& state) {
  Project project;
  project.move(project.object(kLayers / 2, kObjectsPerLayer / 2), 5);
  for (auto _ : state) {
    project.undo().undo();
    project.undo().redo();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_UndoAndRedo)->Unit(benchmark::kMicrosecond);

void BM_FindObjectAtFrame(benchmark::State& state) {
  Project project;
  const Edit::Scene& scene = project.scene();
  int frame = 0;
  int64_t found = 0;
  for (auto _ : state) {
    found += scene.findObject(kLayers / 2, frame, 0) != nullptr;
    frame = (frame + 7919) % (kObjectsPerLayer * kSpacing);
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindObjectAtFrame);

// The heap one committed step keeps: many moves of different objects, measured together.
void BM_UndoStepMemory(benchmark::State& state) {
  constexpr int kSteps = 1000;
  for (auto _ : state) {
    state.PauseTiming();
    Project project;
    project.undo().undoMax = kSteps;
    std::vector<std::shared_ptr<Edit::Object>> objects;
    for (int i = 0; i < kSteps; ++i) objects.push_back(project.object(i % kLayers, i / kLayers));
    const auto before = mallinfo2().uordblks;
    state.ResumeTiming();
    for (const auto& object : objects) project.move(object, 5);
    state.PauseTiming();
    const auto after = mallinfo2().uordblks;
    state.counters["bytes_per_step"] = static_cast<double>(after - before) / kSteps;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoStepMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
