// Renders frames of a project's scene headless through the render workers and reports the
// time per frame:
//   velumo_render_bench PROJECT.vlp2 [--scene N] [--frames FIRST-LAST] [--image FRAME FILE]
// Defaults: the project's current scene, all of its frames. The last line printed is
//   frames=N ms_per_frame=M fps=F
// --image writes that frame as a PNG picture when FILE ends in ".png", else as a binary PPM. A project that does not load or a frame
// that fails ends the program with its error text and exit code 1.
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/support/bench_arguments.h"
#include "bench/support/headless_editor.h"
#include "edit/scene.h"
#include "gpu/image/image_buffer.h"
#include "gpu/pixel_format.h"
#include "gpu/render_buffer.h"
#include "media/image/format_guid.h"
#include "media/image/image_service.h"
#include "render/render_service.h"

namespace {

struct Options {
  std::string project;
  Bench::SceneChoice choice;
  std::optional<int> imageFrame;
  std::string imageFile;
};

std::optional<Options> parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const Bench::SceneChoice::Result taken = options.choice.take(argc, argv, i);
    if (taken == Bench::SceneChoice::Result::Bad) return std::nullopt;
    if (taken == Bench::SceneChoice::Result::Taken) continue;
    const std::string_view arg = argv[i];
    if (arg == "--image" && i + 2 < argc) {
      int frame = 0;
      if (!Bench::parseInt(argv[++i], frame)) return std::nullopt;
      options.imageFrame = frame;
      options.imageFile = argv[++i];
    } else if (!arg.empty() && arg.front() != '-' && options.project.empty()) {
      options.project = arg;
    } else {
      return std::nullopt;
    }
  }
  if (options.project.empty()) return std::nullopt;
  return options;
}

// The frame over black as 8-bit RGB.
bool writePpm(const std::string& path, const Media::ImageBuffer& image) {
  std::ofstream file(path, std::ios::binary);
  file << "P6\n" << image.width << ' ' << image.height << "\n255\n";
  for (uint32_t y = 0; y < image.height; ++y) {
    const uint8_t* row = image.row(y);
    for (uint32_t x = 0; x < image.width; ++x) file.write(reinterpret_cast<const char*>(row + x * 4), 3);
  }
  return static_cast<bool>(file);
}

// The frame's 8-bit RGBA pixels as a PNG file through the image service.
bool writePng(const std::string& path, const Media::ImageBuffer& image) {
  try {
    Media::FormatGuid layout = Media::ImageFormat::kContainerPng;
    Media::ImageService::Get().saveToFile(path, image.data(), image.width, image.height,
                                          image.pitch, Media::ImageFormat::kPixel32bppRgba, layout);
    return true;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return false;
  }
}

bool writeImage(const std::string& path, const Media::ImageBuffer& image) {
  return path.ends_with(".png") ? writePng(path, image) : writePpm(path, image);
}

int run(const Options& options) {
  Bench::HeadlessEditor editor;
  if (!editor.loadProject(options.project, options.choice.scene)) return 1;
  const Edit::Scene& scene = editor.scene();
  const auto [first, last] =
      options.choice.frames.value_or(std::pair(0, std::max(scene.lastFrame(), 0)));

  Render::RenderVideoWorker& video = Render::RenderService::Get().video();
  std::mutex mutex;
  std::string failure;
  bool imageWritten = false;
  const auto start = std::chrono::steady_clock::now();
  for (int frame = first; frame <= last; ++frame) {
    video.requestRenderingFrame(
        3, frame,
        [&](int done, Media::RenderBuffer& buffer, Anchor::AnchorList*) {
          if (!options.imageFrame || done != *options.imageFrame) return;
          const auto image = buffer.createImageBuffer(Media::DxgiFormat::R8G8B8A8_UNORM, false);
          std::lock_guard lock(mutex);
          imageWritten = image && writeImage(options.imageFile, *image);
        },
        [&](int done, std::exception_ptr error) {
          std::lock_guard lock(mutex);
          if (!failure.empty()) return;
          try {
            std::rethrow_exception(error);
          } catch (const std::exception& exception) {
            failure = "frame " + std::to_string(done) + " failed:\n" + exception.what();
          }
        });
  }
  video.requestThread().waitAllTasks();
  const double milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (!failure.empty()) {
    std::fprintf(stderr, "%s\n", failure.c_str());
    return 1;
  }
  if (options.imageFrame && !imageWritten) {
    std::fprintf(stderr, "frame %d was not written to %s\n", *options.imageFrame,
                 options.imageFile.c_str());
    return 1;
  }
  const int count = last - first + 1;
  const double perFrame = milliseconds / count;
  std::printf("frames=%d ms_per_frame=%.3f fps=%.2f\n", count, perFrame,
              perFrame > 0.0 ? 1000.0 / perFrame : 0.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = parse(argc, argv);
  if (!options) {
    std::fprintf(stderr,
                 "usage: velumo_render_bench PROJECT.vlp2 [--scene N] [--frames FIRST-LAST] "
                 "[--image FRAME FILE]\n");
    return 2;
  }
  try {
    return run(*options);
  } catch (const std::exception& exception) {
    std::fprintf(stderr, "%s\n", exception.what());
    return 1;
  }
}
