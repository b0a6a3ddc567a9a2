// Reading a 1080p H.264 file through the FFmpeg-backed reader: 300 frames in order (each
// decoded once, no seek) and 300 frames at random positions (seeks both ways). The file is
// written once to the temporary folder and kept there for later runs and for comparing with
// other decoders.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "gpu/image/image_buffer.h"
#include "media/ffmpeg/media_file_reader.h"
#include "system/log.h"
#include "tests/media/ffmpeg_test_media.h"

namespace {

constexpr int kFrames = 320;
constexpr int kReads = 300;

const std::string& benchFile() {
  static const std::string path = [] {
    const std::string file =
        (std::filesystem::temp_directory_path() / "velumo-bench-1080p-h264.mp4").string();
    if (!std::filesystem::exists(file)) {
      TestSupport::VideoSpec spec;
      spec.width = 1920;
      spec.height = 1080;
      spec.frames = kFrames;
      spec.gop = 60;
      spec.bFrames = 3;
      spec.x264Preset = "faster";
      spec.quality = 4;  // CRF 20
      spec.paint = TestSupport::paintCameraLikeFrame;
      const std::string partial = file + ".part.mp4";
      TestSupport::writeMedia(partial, spec, std::nullopt);
      std::filesystem::rename(partial, file);
    }
    System::Log::setOutput(System::Log::discardOutput);
    return file;
  }();
  return path;
}

void BM_MediaReaderSequential(benchmark::State& state) {
  const std::string& path = benchFile();
  Plugin::MediaFileReader reader;
  for (auto _ : state) {
    const auto file = reader.openFile(path);
    if (!file) {
      state.SkipWithError("the benchmark file does not open");
      return;
    }
    for (int frame = 0; frame < kReads; ++frame) benchmark::DoNotOptimize(file->readVideo(frame));
  }
  state.SetItemsProcessed(state.iterations() * kReads);
}
BENCHMARK(BM_MediaReaderSequential)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MediaReaderRandomSeeks(benchmark::State& state) {
  const std::string& path = benchFile();
  Plugin::MediaFileReader reader;
  const auto file = reader.openFile(path);
  if (!file) {
    state.SkipWithError("the benchmark file does not open");
    return;
  }
  std::mt19937 random(11);
  std::uniform_int_distribution<int> pick(0, kFrames - 1);
  for (auto _ : state)
    for (int i = 0; i < kReads; ++i) benchmark::DoNotOptimize(file->readVideo(pick(random)));
  state.SetItemsProcessed(state.iterations() * kReads);
}
BENCHMARK(BM_MediaReaderRandomSeeks)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
