// Writing an AVI export of uncompressed 1080p frames with their sound: the DIB conversion,
// the chunk writes and the index, with frames made by a source that only fills memory (no
// rendering). Each iteration writes 30 frames into a file of the temporary folder, about
// 190 MB; bytes per second and frames per second are reported.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "output/avi_file_save.h"
#include "output/avi_file_save_file.h"
#include "output/fake_export_source.h"

namespace {

constexpr int kFrames = 30;

void BM_AviWrite1080pFrames(benchmark::State& state) {
  Plugin::ExportScene scene = OutputTest::smallScene(kFrames);
  scene.width = 1920;
  scene.height = 1080;
  const auto source = std::make_shared<OutputTest::FakeExportSource>(scene);
  Plugin::ExportCaches caches;
  Plugin::AviFileSave plugin;
  const std::string path =
      (std::filesystem::temp_directory_path() / "velumo_avi_write_bench.avi").string();
  for (auto _ : state) {
    Plugin::AviFileSaveFile file(path, plugin, scene, source, caches);
    if (!file.save()) {
      state.SkipWithError("the export failed");
      break;
    }
  }
  const auto bytes = std::filesystem::file_size(path);
  std::filesystem::remove(path);
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()) * kFrames,
                                             benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AviWrite1080pFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
