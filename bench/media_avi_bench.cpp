// Reading an AVI file of uncompressed 1080p frames frame by frame, the way playback does:
// each read seeks to the indexed chunk, reads it and copies it into a new image. The file
// (30 frames of 24-bit RGB, about 190 MB) is written to the temporary folder at the start and
// removed at the end. Frames per second are the items per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "gpu/image/image_buffer.h"
#include "media/avi/avi_file_reader.h"
#include "media/avi_test_writer.h"
#include "media/input/input_file.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 30;

class BenchFile {
 public:
  BenchFile() {
    path_ = (std::filesystem::temp_directory_path() / "velumo_avi_bench.avi").string();
    AviTest::File file;
    file.video = AviTest::VideoStream{};
    file.video->width = kWidth;
    file.video->height = kHeight;
    file.video->bitCount = 24;
    const std::size_t frameBytes = static_cast<std::size_t>(kWidth) * 3 * kHeight;
    for (int f = 0; f < kFrames; ++f) file.video->frames.emplace_back(frameBytes, static_cast<char>(f * 8));
    std::ofstream(path_, std::ios::binary) << AviTest::writeAvi(file);
  }
  ~BenchFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void BM_AviReadUncompressed1080pFrames(benchmark::State& state) {
  static const BenchFile benchFile;
  Plugin::AviFileReader reader;
  const auto file = reader.openFile(benchFile.path());
  if (!file || file->description().frameCount != kFrames) {
    state.SkipWithError("the benchmark's AVI file did not open");
    return;
  }
  int frame = 0;
  for (auto _ : state) {
    auto image = file->readVideo(frame);
    benchmark::DoNotOptimize(image->data());
    frame = (frame + 1) % kFrames;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                             benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AviReadUncompressed1080pFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
