#pragma once
// The passages of "シーンチェンジ": what one transition is given (the picture before, the
// frame and the settings at the frame), the thirteen built-in transitions in the order of
// the "種類" values, and the wipes that follow them.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Media {
class RenderBuffer;
class ResourceBuffer;
}  // namespace Media

namespace Effect {

class EffectContext;
class SceneChange;
class SceneChangeResource;

// Everything a transition draws with, built anew by every control step.
struct SceneChangeParams {
  SceneChange* effect = nullptr;
  SceneChangeResource* resource = nullptr;
  // The control step's context: the turning transitions draw through its output view.
  EffectContext* context = nullptr;
  // B: a copy of the picture before the object, owned by the step; transitions may
  // overwrite it.
  std::unique_ptr<Media::ResourceBuffer> before;
  // F: the frame being drawn, holding the current picture; the result goes here.
  Media::RenderBuffer* frame = nullptr;
  float progress = 0.0f;  // t, 0 to 1
  int32_t angle = 0;
  int32_t divide = 0;
  int32_t blur = 0;
  bool vertical = false;
  bool inverse = false;
  bool keepAspect = false;
};

// Which items a transition shows, as bits of its flags.
namespace SceneChangeItem {
inline constexpr int32_t kReverse = 1 << 0;
inline constexpr int32_t kAngle = 1 << 1;
inline constexpr int32_t kDivide = 1 << 2;
inline constexpr int32_t kBlur = 1 << 3;
inline constexpr int32_t kKeepAspect = 1 << 4;
inline constexpr int32_t kVertical = 1 << 5;
// What every wipe shows.
inline constexpr int32_t kWipe = kReverse | kBlur | kKeepAspect;
}  // namespace SceneChangeItem

// One built-in transition.
struct SceneChangeDefine {
  const char* name;
  std::function<void(SceneChangeParams&, const SceneChangeDefine&)> func;
  int32_t flags;
};

// The built-in transitions, by "種類" value; filled before the program's main code runs and
// never changed.
const std::vector<SceneChangeDefine>& sceneChangeTable();

// The wipe of the transition list at `index` from B to F: the mask's opaque part shows the
// current picture. Without such a wipe or its mask, warns and leaves F as it is.
void sceneChangeWipe(SceneChangeParams& params, int index);

// The progress on `frame` of an object from `start` to `end` (both drawn): 1 / length on
// its first frame, 1 on its last, clamped to 0 .. 1.
float sceneChangeProgress(int frame, int start, int end);

// The bands of the slices and the lines of the random lines for a picture `height` high:
// the division asked for, but no more than height / 2 (a band keeps two rows) and at
// least 1.
int32_t sceneChangeBands(int32_t height, int32_t divide);

// The shortest move along `angle` degrees (0: right, 90: down) that takes a width x height
// picture completely out of its place.
struct SlideVector {
  float x = 0.0f;
  float y = 0.0f;
};
SlideVector sceneChangeSlideExit(int32_t angle, int32_t width, int32_t height);

}  // namespace Effect
