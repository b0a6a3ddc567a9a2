#include "builtin/control/scene_change_turns.h"

#include <cmath>
#include <memory>
#include <utility>

#include "builtin/control/scene_change_transition.h"
#include "builtin/filter/blur_filter.h"
#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/default_filter.h"
#include "effect/effect_context.h"
#include "effect/output_video_drawer.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"

namespace Effect {
namespace {

constexpr float kDepth = 1024.0f;  // how far back the moves push a picture
// How a picture meets the frame: premultiplied "over", or replacing it (blending off).
enum class Blend { Over, Replace };

// The plain view of a picture centred in the frame: no turn, size 1, opaque.
OutputView plainView(Media::RenderBuffer& frame) {
  OutputView view;
  view.target = &frame;
  return view;
}

// Draws a picture into the frame as an object of the control step seen through `view`, the
// way an output effect draws its object. The step's own view comes back afterwards.
void drawPicture(SceneChangeParams& params, Media::ResourceBuffer& picture, OutputView view,
                 Blend blend) {
  OutputVideoDrawer* drawer = outputVideoDrawer();
  if (!drawer) return;
  EffectContext& context = *params.context;
  OutputView saved = std::exchange(context.outputView, std::move(view));
  struct Restore {
    EffectContext& context;
    OutputView& saved;
    ~Restore() { context.outputView = std::move(saved); }
  } restore{context, saved};
  if (blend == Blend::Replace)
    drawer->drawObjectReplacing(context, *params.frame, picture);
  else
    drawer->drawObject(context, *params.frame, picture);
}

// Two pictures, the farther first so that the nearer one covers it: up to the middle the
// picture before is the nearer one.
void drawFartherFirst(SceneChangeParams& params, Media::ResourceBuffer& current,
                      const OutputView& currentView, const OutputView& beforeView, Blend blend) {
  if (params.progress < 0.5f) {
    drawPicture(params, current, currentView, blend);
    drawPicture(params, *params.before, beforeView, blend);
  } else {
    drawPicture(params, *params.before, beforeView, blend);
    drawPicture(params, current, currentView, blend);
  }
}

// The current picture taken out of the frame, which is then cleared for the two pictures.
std::unique_ptr<Media::ResourceBuffer> takeCurrent(Media::RenderBuffer& frame) {
  std::unique_ptr<Media::ResourceBuffer> current = frame.createResourceBuffer(true);
  const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  frame.clear(transparent);
  return current;
}

}  // namespace

void sceneChangeSwap(SceneChangeParams& params, const SceneChangeDefine&) {
  Media::RenderBuffer& frame = *params.frame;
  const float t = params.progress;
  const float radians = t * 180.0f * kSceneChangeRadians;
  const float sine = params.inverse ? std::sin(radians) : -std::sin(radians);
  const float ax = params.vertical ? 0.0f : sine;
  const float ay = params.vertical ? -sine : 0.0f;
  const auto length = static_cast<float>(params.vertical ? frame.height() : frame.width());
  const float c = std::cos(radians);
  std::unique_ptr<Media::ResourceBuffer> current = takeCurrent(frame);

  OutputView currentView = plainView(frame);
  currentView.x = -ax * length * 0.33f;
  currentView.y = -ay * length * 0.33f;
  currentView.z = (c + 1.0f) * kDepth * 0.5f;
  OutputView beforeView = plainView(frame);
  beforeView.x = ax * length * 0.33f;
  beforeView.y = ay * length * 0.33f;
  beforeView.z = (1.0f - c) * kDepth * 0.5f;
  drawFartherFirst(params, *current, currentView, beforeView, Blend::Replace);
}

void sceneChangeShrinkTurn(SceneChangeParams& params, const SceneChangeDefine&) {
  const float p = sceneChangeDirected(params);
  OutputView view = plainView(*params.frame);
  view.z = p * p * kDepth * 8.0f;
  view.rotationZ = p * 360.0f;
  view.opacity = 1.0f - p * p;
  // Reversed, the current picture comes from afar, turning and fading in.
  sceneChangeDrawDirected(params, [&](Media::ResourceBuffer& picture) {
    drawPicture(params, picture, view, Blend::Over);
  });
}

void sceneChangeTurn(SceneChangeParams& params, const SceneChangeDefine&) {
  Media::RenderBuffer& frame = *params.frame;
  const float t = params.progress;
  std::unique_ptr<Media::ResourceBuffer> current = takeCurrent(frame);
  float angle = params.inverse ? -180.0f * t : 180.0f * t;
  // The picture before shows its front for the first half, the current one its front for
  // the second: half a turn further on, so it ends facing the viewer.
  const bool second = t >= 0.5f;
  if (second) angle += 180.0f;
  OutputView view = plainView(frame);
  (params.vertical ? view.rotationX : view.rotationY) = angle;
  drawPicture(params, second ? *current : *params.before, view, Blend::Over);
}

void sceneChangeCube(SceneChangeParams& params, const SceneChangeDefine&) {
  Media::RenderBuffer& frame = *params.frame;
  const float t = params.progress;
  std::unique_ptr<Media::ResourceBuffer> current = takeCurrent(frame);
  const auto length = static_cast<float>(params.vertical ? frame.height() : frame.width());
  const float quarter = params.inverse ? -90.0f : 90.0f;
  // Two faces of a cube of side `length` turning about its centre.
  const auto face = [&](float angle) {
    OutputView view = plainView(frame);
    view.z = length * 0.5f;
    view.centerZ = length * 0.5f;
    (params.vertical ? view.rotationX : view.rotationY) = angle;
    return view;
  };
  const OutputView currentFace = face((t - 1.0f) * quarter);
  const OutputView beforeFace = face(t * quarter);
  drawFartherFirst(params, *current, currentFace, beforeFace, Blend::Over);
}

void sceneChangeRadialBlur(SceneChangeParams& params, const SceneChangeDefine&) {
  Media::RenderBuffer& frame = *params.frame;
  const float t = params.progress;
  const float strength = (1.0f - std::fabs(2.0f * t - 1.0f)) * 80.0f;
  BlurFilter& radial = defaultEffect<BlurFilter>();
  // The picture before blurs up to the middle; from there the current one clears up.
  std::unique_ptr<Media::ResourceBuffer> current;
  Media::ResourceBuffer* source = params.before.get();
  if (t >= 0.5f) {
    current = frame.createResourceBuffer(true);
    source = current.get();
  }
  float cx = 0.0f;
  float cy = 0.0f;
  OwnedImage blurred =
      BlurFilter::radialBlur(radial, *source, cx, cy, strength, 0.0f, 0.0f, true);
  if (blurred) sceneChangeReplace(frame, *blurred);
}

void sceneChangeBlur(SceneChangeParams& params, const SceneChangeDefine&) {
  Media::RenderBuffer& frame = *params.frame;
  const float t = params.progress;
  const auto radius = static_cast<int>(std::lround((1.0f - std::fabs(2.0f * t - 1.0f)) * 400.0f));
  BokashiFilter& blur = defaultEffect<BokashiFilter>();
  std::unique_ptr<Media::ResourceBuffer> source =
      t < 0.5f ? params.before->clone() : frame.createResourceBuffer(true);
  OwnedImage blurred =
      blur.blur(adoptBuffer(std::move(source)), radius, 0.0f, BokashiFilter::kKeepEdge);
  if (blurred) sceneChangeReplace(frame, *blurred);
}

}  // namespace Effect
