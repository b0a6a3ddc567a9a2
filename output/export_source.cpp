#include "output/export_source.h"

#include "edit/edit_service.h"
#include "edit/scene.h"
#include "gpu/render_buffer.h"
#include "render/render_service.h"
#include "system/exception.h"

namespace Plugin {
namespace {

// The request key of an export's frames: never withdrawn like the preview's.
constexpr int kExportKey = 3;

Render::RenderService& renderService(const char* place) {
  Render::RenderService* service = Render::RenderService::instance();
  if (!service) throw System::makeException(place, "RenderService not created.");
  return *service;
}

// Renders one frame or one frame's sound on a render worker and waits for it: the worker's
// callback or its failure fills the result, then the wait for the worker's queue returns.
class RenderExportSource final : public ExportSource {
 public:
  std::shared_ptr<Media::ImageBuffer> renderVideo(int frame, int format,
                                                  bool straightAlpha) override {
    constexpr const char* kPlace = "Plugin::OutputFile::getVideoFrame";
    Render::RenderVideoWorker& worker = renderService(kPlace).video();
    auto result = std::make_shared<Result<Media::ImageBuffer>>();
    worker.requestRenderingFrame(
        kExportKey, frame,
        [result, format, straightAlpha](int, Media::RenderBuffer& buffer, Anchor::AnchorList*) {
          try {
            result->value = buffer.createImageBuffer(format, straightAlpha);
          } catch (...) {
            result->failure = std::current_exception();
          }
        },
        [result](int, std::exception_ptr failure) { result->failure = std::move(failure); });
    worker.requestThread().waitAllTasks();
    return result->take(kPlace, frame);
  }

  void renderAudio(int frame, Media::RawAudioBuffer& out) override {
    constexpr const char* kPlace = "Plugin::OutputFile::getAudioFrame";
    Render::RenderAudioWorker& worker = renderService(kPlace).audio();
    auto result = std::make_shared<Result<bool>>();
    worker.requestRenderingAudio(
        kExportKey, frame,
        [result, &out](int, Media::AudioBuffer& audio) {
          try {
            audio.convertTo(out);
            result->value = std::make_shared<bool>(true);
          } catch (...) {
            result->failure = std::current_exception();
          }
        },
        [result](int, std::exception_ptr failure) { result->failure = std::move(failure); });
    worker.requestThread().waitAllTasks();
    result->take(kPlace, frame);
  }

  void flush() override {
    Render::RenderService* service = Render::RenderService::instance();
    if (!service) return;
    service->video().requestThread().waitAllTasks();
    service->audio().requestThread().waitAllTasks();
  }

 private:
  // Filled on the worker; read after the wait for the worker, which orders the two.
  template <class Value>
  struct Result {
    std::shared_ptr<Value> value;
    std::exception_ptr failure;

    std::shared_ptr<Value> take(const char* place, int frame) {
      if (failure) std::rethrow_exception(failure);
      // Nothing at all: the worker dropped the request (it was stopped).
      if (!value)
        throw System::makeFormattedException(place, "failed to render frame.", "frame = %d",
                                             frame);
      return value;
    }
  };
};

}  // namespace

ExportScene currentExportScene() {
  ExportScene facts;
  Edit::EditService* edit = Edit::EditService::instance();
  if (!edit) return facts;
  const std::shared_ptr<Edit::Scene>& scene = edit->currentScene();
  if (!scene) return facts;
  facts.width = scene->width;
  facts.height = scene->height;
  facts.rate = scene->rate;
  facts.scale = scene->scale;
  facts.audioRate = scene->audioRate;
  facts.lastFrame = scene->lastFrame();
  facts.cursorFrame = scene->cursorFrame;
  facts.selectedFrameStart = scene->selectedFrameStart;
  facts.selectedFrameEnd = scene->selectedFrameEnd;
  return facts;
}

std::shared_ptr<ExportSource> makeRenderExportSource() {
  return std::make_shared<RenderExportSource>();
}

}  // namespace Plugin
