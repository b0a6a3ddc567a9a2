#pragma once
// Where the preview player shows a frame when its time has come. The preview window installs
// one that draws the image; without it (a headless run, the tests) the frames go nowhere.
#include "gpu/readback_image.h"

namespace Render {

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // On the UI thread, with no lock of the player held: the sink may stop or start the
  // player. The image stays valid until the next frame is shown; read it under its own
  // mutex.
  virtual void showFrame(int frame, const Media::ReadbackImage& image) = 0;
};

// The default: shows nothing.
class HeadlessFrameSink : public FrameSink {
 public:
  void showFrame(int, const Media::ReadbackImage&) override {}
};

}  // namespace Render
