#include "builtin/control/scene_change_transition.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "builtin/control/scene_change_resource.h"
#include "builtin/control/scene_change_turns.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "system/log.h"

namespace Effect {
namespace {

using Resource::PixelShaderList;

constexpr std::size_t kMaskMix = 4;      // B x (1 - M.alpha) + F x M.alpha
constexpr std::size_t kMaskMixBack = 5;  // B x M.alpha + F x (1 - M.alpha)
constexpr std::size_t kCrossFade = 20;   // source x (1 - factor) + target x factor

Resource::ResourceService& resources() { return Resource::ResourceService::Get(); }

// F = picture x (1 - factor) + F x factor.
void crossFade(Media::RenderBuffer& frame, Media::ResourceBuffer& picture, float factor) {
  const float blendFactor[4] = {factor, factor, factor, factor};
  Resource::ResourceService& shared = resources();
  shared.pixelShaders().entry(PixelShaderList::kCopy)
      .drawInputToRender(frame, picture, blendFactor, shared.blendStates().get(kCrossFade));
}

void clearFrame(Media::RenderBuffer& frame) {
  const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  frame.clear(transparent);
}

int32_t roundedOffset(float value) { return static_cast<int32_t>(std::lround(value)); }

OffsetConstants offsetBy(float x, float y) {
  OffsetConstants constants;
  constants.offset[0] = roundedOffset(x);
  constants.offset[1] = roundedOffset(y);
  return constants;
}

void crossFadeTransition(SceneChangeParams& params, const SceneChangeDefine&) {
  crossFade(*params.frame, *params.before, params.progress);
}

// Through a plain colour: the first half fades the picture before into the colour, the
// second half the colour into the current picture.
void fadeThrough(SceneChangeParams& params, const float colour[4]) {
  const float s = 2.0f * params.progress;
  if (s < 1.0f) {
    params.frame->clear(colour);
    crossFade(*params.frame, *params.before, s);
  } else {
    params.before->createRenderTargetView();
    params.before->clearRenderTarget(colour);
    crossFade(*params.frame, *params.before, s - 1.0f);
  }
}

void blackOutTransition(SceneChangeParams& params, const SceneChangeDefine&) {
  const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  fadeThrough(params, black);
}

void whiteOutTransition(SceneChangeParams& params, const SceneChangeDefine&) {
  const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  fadeThrough(params, white);
}

void sliceTransition(SceneChangeParams& params, const SceneChangeDefine&) {
  Media::RenderBuffer& frame = *params.frame;
  const float p = sceneChangeDirected(params);
  // Each band moves by the picture's extent along its own direction, so at the end every
  // band has left the frame: the width for bands of rows, the height for bands of columns.
  const int32_t extent = params.vertical ? frame.height() : frame.width();
  const auto offset = static_cast<int32_t>(std::trunc(static_cast<float>(extent) * p));
  SliceConstants constants;
  constants.offsetX = params.vertical ? 0 : offset;
  constants.offsetY = params.vertical ? offset : 0;
  constants.divide = sceneChangeBands(frame.height(), params.divide);
  sceneChangeDrawDirected(params, [&](Media::ResourceBuffer& picture) {
    params.resource->drawSlice(frame, picture, constants);
  });
}

void randomLineTransition(SceneChangeParams& params, const SceneChangeDefine&) {
  Media::RenderBuffer& frame = *params.frame;
  const int32_t lines = sceneChangeBands(frame.height(), params.divide);
  RandomLineConstants constants;
  // The lines vanish in the table's order whatever "反転" says: t, not the directed progress.
  constants.ratio = params.progress;
  constants.divideX = params.vertical ? lines : 0;
  constants.divideY = params.vertical ? 0 : lines;
  std::shared_ptr<Media::ResourceBuffer> random =
      resources().lookupTable(Resource::ResourceService::kPermutationTable);
  params.resource->drawRandomLine(frame, *params.before, *random, constants);
}

void slideTransition(SceneChangeParams& params, const SceneChangeDefine&) {
  Media::RenderBuffer& frame = *params.frame;
  const float p = sceneChangeDirected(params);
  const SlideVector exit = sceneChangeSlideExit(params.angle, frame.width(), frame.height());
  const OffsetConstants constants = offsetBy(exit.x * p, exit.y * p);
  // Reversed, the current picture arrives from the side opposite to the exit and stops in
  // place.
  sceneChangeDrawDirected(params, [&](Media::ResourceBuffer& picture) {
    params.resource->drawOffset(frame, picture, constants);
  });
}

void pushTransition(SceneChangeParams& params, const SceneChangeDefine&) {
  Media::RenderBuffer& frame = *params.frame;
  const float t = params.progress;
  float vx = params.vertical ? 0.0f : static_cast<float>(frame.width());
  float vy = params.vertical ? -static_cast<float>(frame.height()) : 0.0f;
  if (params.inverse) {
    vx = -vx;
    vy = -vy;
  }
  std::unique_ptr<Media::ResourceBuffer> current = frame.createResourceBuffer(true);
  clearFrame(frame);
  params.resource->drawOffset(frame, *params.before, offsetBy(vx * t, vy * t));
  params.resource->drawOffset(frame, *current, offsetBy((t - 1.0f) * vx, (t - 1.0f) * vy));
}

using SceneChangeItem::kAngle;
using SceneChangeItem::kDivide;
using SceneChangeItem::kReverse;
using SceneChangeItem::kVertical;

const std::vector<SceneChangeDefine>& buildTable() {
  static const std::vector<SceneChangeDefine> table = {
      {"クロスフェード", crossFadeTransition, 0},
      {"暗転", blackOutTransition, 0},
      {"ホワイトアウト", whiteOutTransition, 0},
      {"スライス", sliceTransition, kReverse | kDivide | kVertical},
      {"ランダムライン", randomLineTransition, kDivide | kVertical},
      {"スライド", slideTransition, kReverse | kAngle},
      {"押し出し", pushTransition, kReverse | kVertical},
      {"スワップ", sceneChangeSwap, kReverse | kVertical},
      {"縮小回転", sceneChangeShrinkTurn, kReverse},
      {"回転", sceneChangeTurn, kReverse | kVertical},
      {"キューブ回転", sceneChangeCube, kReverse | kVertical},
      {"放射ブラー", sceneChangeRadialBlur, 0},
      {"ぼかし", sceneChangeBlur, 0},
  };
  return table;
}

// Filled while the program starts, before its main code runs.
[[maybe_unused]] const std::vector<SceneChangeDefine>& builtAtStart = buildTable();

}  // namespace

const std::vector<SceneChangeDefine>& sceneChangeTable() { return buildTable(); }

float sceneChangeDirected(const SceneChangeParams& params) {
  return params.inverse ? 1.0f - params.progress : params.progress;
}

void sceneChangeReplace(Media::RenderBuffer& frame, Media::ResourceBuffer& picture) {
  resources().pixelShaders().entry(PixelShaderList::kCopy).copyToRender(frame, picture);
}

void sceneChangeDrawDirected(SceneChangeParams& params,
                             const std::function<void(Media::ResourceBuffer&)>& draw) {
  if (!params.inverse) {
    draw(*params.before);
    return;
  }
  std::unique_ptr<Media::ResourceBuffer> current = params.frame->createResourceBuffer(true);
  sceneChangeReplace(*params.frame, *params.before);
  draw(*current);
}

void sceneChangeWipe(SceneChangeParams& params, int index) {
  Media::RenderBuffer& frame = *params.frame;
  const float p = sceneChangeDirected(params);
  Resource::ResourceService& shared = resources();
  std::unique_ptr<Media::ResourceBuffer> mask;
  if (index >= 0)
    mask = shared.transitionList().createImage(index, frame.width(), frame.height(), p,
                                               params.blur, params.keepAspect);
  if (!mask) {
    System::Log::warn("Effect::SceneChange::wipe", "no scene change mask");
    return;
  }
  shared.pixelShaders().entry(PixelShaderList::kCopyTwoTargets)
      .drawTwoInputsToRender(frame, *params.before, *mask,
                             shared.blendStates().get(params.inverse ? kMaskMixBack : kMaskMix));
}

float sceneChangeProgress(int frame, int start, int end) {
  const float length = static_cast<float>(end - start + 1);
  if (length <= 0.0f) return 1.0f;
  return std::clamp(static_cast<float>(frame - start + 1) / length, 0.0f, 1.0f);
}

int32_t sceneChangeBands(int32_t height, int32_t divide) {
  const int32_t half = height / 2;
  return half < divide ? std::max(half, 1) : std::max(divide, 1);
}

SlideVector sceneChangeSlideExit(int32_t angle, int32_t width, int32_t height) {
  const float a = static_cast<float>(angle) * kSceneChangeRadians;
  const float c = std::cos(a);
  const float s = std::sin(a);
  const auto w = static_cast<float>(width);
  const auto h = static_cast<float>(height);
  if (std::fabs(h * c) > std::fabs(w * s)) return {c > 0.0f ? w : -w, w * s / std::fabs(c)};
  return {h * c / std::fabs(s), s > 0.0f ? h : -h};
}

}  // namespace Effect
