// Exports a project's scene headless through the real export run (the export worker, the
// read-ahead caches, the render workers) into an AVI file, and reports the throughput:
//   velumo_export_bench PROJECT.vlp2 OUT.avi [--scene N] [--frames FIRST-LAST]
//                       [--video RGB24|RGBA32|YUY2|RU64|RF64] [--audio PCM16|FLOAT32]
// Defaults: the project's current scene, all of its frames, RGB24 and PCM16. The last line
// printed is
//   frames=N seconds=S fps=F
// An export that fails ends the program with its error text and exit code 1.
//
//   velumo_export_bench --make-sample DIR
// writes the measured sample into DIR: export_movie.mp4 (1920x1080, 300 frames at 30 fps,
// H.264), export_sound.wav (ten seconds of stereo PCM), both made with FFmpeg's libraries,
// and export_scene.vlp2 (the movie, its sound, and a 640x360 figure moving over them).
#include <poll.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "bench/support/bench_arguments.h"
#include "bench/support/headless_editor.h"
#include "output/avi_file_save.h"
#include "output/avi_file_save_file.h"
#include "output/output_service.h"
#include "system/log.h"
#include "tests/media/ffmpeg_test_media.h"

namespace {

constexpr int kSampleFrames = 300;

struct Options {
  std::string project;
  std::string output;
  Bench::SceneChoice choice;
  std::string videoType = "RGB24bit";
  std::string audioType = "PCM16bit";
};

// The benchmark's format names and the writer's settings texts.
std::optional<std::string> videoTypeOf(std::string_view name) {
  if (name == "RGB24") return "RGB24bit";
  if (name == "RGBA32") return "RGBA32bit";
  if (name == "YUY2") return "YUY2";
  if (name == "RU64") return "RGBA64bit(RU64)";
  if (name == "RF64") return "RGBA64bit(RF64)";
  return std::nullopt;
}

std::optional<std::string> audioTypeOf(std::string_view name) {
  if (name == "PCM16") return "PCM16bit";
  if (name == "FLOAT32") return "PCM(float)32bit";
  return std::nullopt;
}

std::optional<Options> parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const Bench::SceneChoice::Result taken = options.choice.take(argc, argv, i);
    if (taken == Bench::SceneChoice::Result::Bad) return std::nullopt;
    if (taken == Bench::SceneChoice::Result::Taken) continue;
    const std::string_view arg = argv[i];
    if (arg == "--video" && i + 1 < argc) {
      const auto type = videoTypeOf(argv[++i]);
      if (!type) return std::nullopt;
      options.videoType = *type;
    } else if (arg == "--audio" && i + 1 < argc) {
      const auto type = audioTypeOf(argv[++i]);
      if (!type) return std::nullopt;
      options.audioType = *type;
    } else if (!arg.empty() && arg.front() != '-' && options.project.empty()) {
      options.project = arg;
    } else if (!arg.empty() && arg.front() != '-' && options.output.empty()) {
      options.output = arg;
    } else {
      return std::nullopt;
    }
  }
  if (options.project.empty() || options.output.empty()) return std::nullopt;
  return options;
}

// --- The sample -----------------------------------------------------------------------

int makeSample(const std::filesystem::path& directory) {
  std::filesystem::create_directories(directory);
  const std::filesystem::path movie = directory / "export_movie.mp4";
  TestSupport::VideoSpec video;
  video.width = 1920;
  video.height = 1080;
  video.frames = kSampleFrames;
  video.gop = 60;
  video.bFrames = 3;
  video.x264Preset = "faster";
  video.quality = 4;
  video.paint = TestSupport::paintCameraLikeFrame;
  TestSupport::writeMedia(movie.string(), video, std::nullopt);
  const std::filesystem::path sound = directory / "export_sound.wav";
  TestSupport::AudioSpec audio;
  audio.layout = AV_CHANNEL_LAYOUT_STEREO;
  audio.samples = 48000LL * kSampleFrames / 30;
  TestSupport::writeMedia(sound.string(), std::nullopt, audio);

  const std::string last = std::to_string(kSampleFrames - 1);
  std::string project =
      "[project]\r\n[scene.0]\r\nscene=0\r\nname=Root\r\nvideo.width=1920\r\n"
      "video.height=1080\r\nvideo.rate=30\r\nvideo.scale=1\r\naudio.rate=48000\r\n"
      "cursor.frame=0\r\ndisplay.frame=0\r\ndisplay.layer=0\r\ndisplay.zoom=10000\r\n"
      "display.order=0\r\ndisplay.camera=\r\n";
  project += "[0]\r\nlayer=0\r\nframe=0," + last +
             "\r\n[0.0]\r\neffect.name=動画ファイル\r\nファイル=" + movie.string() +
             "\r\n[0.1]\r\neffect.name=標準描画\r\n";
  project += "[1]\r\nlayer=1\r\nframe=0," + last +
             "\r\n[1.0]\r\neffect.name=音声ファイル\r\nファイル=" + sound.string() +
             "\r\n[1.1]\r\neffect.name=音声再生\r\n";
  // 640 x 360: a square figure of 640 stretched to 56.25 % in height.
  project += "[2]\r\nlayer=2\r\nframe=0," + last +
             "\r\n[2.0]\r\neffect.name=図形\r\n図形の種類=四角形\r\nサイズ=640.00\r\n"
             "縦横比=-43.75\r\n色=40a0ff\r\n[2.1]\r\neffect.name=標準描画\r\n"
             "X=-640.00,640.00,直線移動,0\r\nY=-360.00,360.00,直線移動,0\r\n";
  std::ofstream file(directory / "export_scene.vlp2", std::ios::binary);
  file << project;
  if (!file) {
    std::fprintf(stderr, "could not write the project into %s\n", directory.c_str());
    return 1;
  }
  std::printf("wrote %s, %s and %s\n", movie.c_str(), sound.c_str(),
              (directory / "export_scene.vlp2").c_str());
  return 0;
}

// --- The export -----------------------------------------------------------------------

// Runs the UI thread's side of the export (its end notice, the errors the worker posts)
// until the export has ended.
void runUntilEnded(const bool& ended) {
  Event::EventService& events = *Event::EventService::instance();
  while (!ended) {
    pollfd watch{events.commandDescriptor(), POLLIN, 0};
    ::poll(&watch, 1, 100);
    events.processEventCommands();
  }
}

int run(const Options& options) {
  Bench::HeadlessEditor editor;
  if (!editor.loadProject(options.project, options.choice.scene)) return 1;
  Edit::Scene& scene = editor.scene();
  if (options.choice.frames) {
    if (options.choice.frames->second > scene.lastFrame()) {
      std::fprintf(stderr, "the scene ends at frame %d\n", scene.lastFrame());
      return 1;
    }
    scene.selectedFrameStart = options.choice.frames->first;
    scene.selectedFrameEnd = options.choice.frames->second;
  }

  auto writer = std::make_shared<Plugin::AviFileSave>();
  System::ServiceHolder<Plugin::OutputService> outputs(Plugin::OutputService::PluginList{writer});
  writer->setVideoType(options.videoType);
  writer->setAudioType(options.audioType);
  Plugin::OutputService& service = *Plugin::OutputService::instance();
  bool ended = false;
  bool completed = false;
  service.setEndListener([&](bool done) {
    ended = true;
    completed = done;
  });
  // The worker's failure reaches the UI thread as an exception box: print it.
  std::string failure;
  System::Log::setOutput([&](const System::Log::Type& type, std::string_view, std::string_view text) {
    if (type.name == std::string_view("ERROR") && failure.empty()) failure = text;
  });

  std::shared_ptr<Plugin::OutputFile> file =
      std::make_shared<Plugin::AviFileSaveFile>(options.output, *writer);
  const int frames = file->frameCount();
  const auto start = std::chrono::steady_clock::now();
  service.startOutputFile(file);
  file.reset();
  runUntilEnded(ended);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  System::Log::setOutput(System::Log::discardOutput);
  service.stop();
  if (!completed) {
    std::fprintf(stderr, "the export failed:\n%s\n", failure.c_str());
    return 1;
  }
  std::printf("frames=%d seconds=%.3f fps=%.2f\n", frames, seconds,
              seconds > 0.0 ? frames / seconds : 0.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::string_view(argv[1]) == "--make-sample") return makeSample(argv[2]);
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
      std::fprintf(stderr,
                   "usage: velumo_export_bench PROJECT.vlp2 OUT.avi [--scene N] "
                   "[--frames FIRST-LAST] [--video RGB24|RGBA32|YUY2|RU64|RF64] "
                   "[--audio PCM16|FLOAT32]\n"
                   "       velumo_export_bench --make-sample DIR\n");
      return 2;
    }
    return run(*options);
  } catch (const std::exception& exception) {
    std::fprintf(stderr, "%s\n", exception.what());
    return 1;
  }
}
