#pragma once
// What every "カメラ制御" shares for its editing guides: the guide line shaders and their
// constants, and the batches of lines and filled triangles drawn with them into a frame
// after the camera's 3-D objects (hidden behind them, merged into the transparent layer).
#include <memory>
#include <mutex>
#include <vector>

#include "builtin/control/camera_geometry.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "gpu/shader/vertex_shader.h"
#include "system/xmath.h"

namespace Media {
class RenderBuffer;
}

namespace Effect {

// The guide shader's "Constant".
struct GuideConstants {
  float color[4] = {};     // straight colour and opacity
  float nearDepth = 0.0f;  // the projection's near value, focal distance / 20
  float unused[3] = {};
};
static_assert(sizeof(GuideConstants) == 32);

class CameraGuideResource {
 public:
  CameraGuideResource();
  ~CameraGuideResource();
  CameraGuideResource(const CameraGuideResource&) = delete;
  CameraGuideResource& operator=(const CameraGuideResource&) = delete;

  // Draws guides into one frame through one camera. While it lives the frame is bound with
  // its depth and transparent-layer buffers; the shaders are loaded on first use.
  class Drawing {
   public:
    // `matrix` is the camera's view-projection; `focalDistance` its d.
    Drawing(CameraGuideResource& resource, Media::RenderBuffer& frame, const XMath::Matrix& matrix,
            float focalDistance);
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;
    ~Drawing();

    // Adds the line from p0 to p1, `halfWidth` pixels to each side of it, cut at the near
    // plane (nothing when it lies wholly behind it).
    void drawGuideLine(const XMath::Vector& p0, const XMath::Vector& p1, float halfWidth);
    // Draws the lines added since the last call in the colour (straight, with opacity).
    void flushLines(const float (&colour)[4]);
    // Draws a filled triangle with one colour per corner, through the camera, as the 3-D
    // objects are drawn (hidden behind them, translucent ones in the transparent layer).
    void fillTriangle(const XMath::Vector (&corners)[3], const float (&colour)[4]);

   private:
    CameraGuideResource& resource_;
    XMath::Matrix matrix_;
    float focalDistance_;
    float halfWidth_;
    float halfHeight_;
    std::vector<CameraGeometry::GuideVertex> lines_;  // a triangle list, six per line
    struct Bound;
    std::unique_ptr<Bound> bound_;
  };

 private:
  void load();

  // One drawing at a time: the constants are written just before the draws that read them.
  std::mutex mutex_;
  std::unique_ptr<Media::VertexShader> vertexShader_;
  std::unique_ptr<Media::PixelShader> pixelShader_;
  Media::ConstantBufferCommon constants_;
};

}  // namespace Effect
