#pragma once
// Where an export's frames and sound come from, and the scene facts an export needs.
//
// The render engine's source renders the frame on the render service's video worker (or
// its sound on the audio worker) and returns when it is done; tests and benchmarks give
// sources of their own.
#include <cstdint>
#include <memory>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"

namespace Plugin {

// The facts of the exported scene, taken once when the export is made.
struct ExportScene {
  int32_t width = 0;
  int32_t height = 0;
  int32_t rate = 30;
  int32_t scale = 1;
  int32_t audioRate = 48000;
  int32_t lastFrame = 0;            // the scene's length in frames minus one
  int32_t cursorFrame = 0;
  int32_t selectedFrameStart = -1;  // -1: no range selected
  int32_t selectedFrameEnd = -1;
};

class ExportSource {
 public:
  virtual ~ExportSource() = default;
  // The frame as a new image in `format` (straight or premultiplied alpha). Throws the
  // error that kept it from being made.
  virtual std::shared_ptr<Media::ImageBuffer> renderVideo(int frame, int format,
                                                          bool straightAlpha) = 0;
  // The frame's sound: exactly the samples of the frame, converted into `out`, whose format
  // (tag, bits, channels) is already set. Throws the error that kept it from being made.
  virtual void renderAudio(int frame, Media::RawAudioBuffer& out) = 0;
  // Waits until every render this source posted has finished (the end of an export).
  virtual void flush() {}
};

// The facts of the edit service's current scene (a scene of size 0 when there is none).
ExportScene currentExportScene();
// The render engine's source (render service's video and audio workers, request key 3).
std::shared_ptr<ExportSource> makeRenderExportSource();

}  // namespace Plugin
