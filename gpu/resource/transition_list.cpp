#include "gpu/resource/transition_list.h"

#include <algorithm>
#include <filesystem>

#include "gpu/direct3d_service.h"
#include "gpu/draw2d/resource_surface.h"
#include "gpu/resource/file_choices.h"
#include "gpu/resource/transition_filters.h"
#include "gpu/resource_buffer.h"

namespace Resource {
namespace {

struct BuiltinTransition {
  const char* name;
  BuiltinPath path;
  float scale;
  int32_t kind;
};

// The circle and the diamond just reach the corners at the end; the star and the heart
// need more to cover the whole image.
constexpr BuiltinTransition kBuiltinTransitions[] = {
    {"ワイプ(円)", kCircle, 1.41421354f, TransitionEntry::kShape},
    {"ワイプ(四角)", kDiamond, 2.0f, TransitionEntry::kShape},
    {"ワイプ(時計)", kSquare, 1.0f, TransitionEntry::kClock},
    {"ワイプ(横)", kSquare, 1.0f, TransitionEntry::kHorizontal},
    {"ワイプ(縦)", kSquare, 1.0f, TransitionEntry::kVertical},
    {"ワイプ(星型)", kStar, 3.0f, TransitionEntry::kShape},
    {"ワイプ(ハート)", kHeart, 2.2f, TransitionEntry::kShape},
};

}  // namespace

LuminanceKeyConstants TransitionEntry::luminanceKeyConstants(int blur, float progress,
                                                             bool keepAspect, int32_t width,
                                                             int32_t height, uint32_t pictureWidth,
                                                             uint32_t pictureHeight) {
  // The window of grey levels is 2f wide and moves from above every level (nothing opaque)
  // to below every level (everything opaque).
  const float f = static_cast<float>(blur + 16) / 384.0f;
  const float g = 1.0f - (2.0f * f + 1.0f) * progress + f;
  LuminanceKeyConstants constants{g - f, g + f, 1.0f, 1.0f};
  if (keepAspect && width > 0 && pictureHeight > 0) {
    const float r = static_cast<float>(height) * static_cast<float>(pictureWidth) /
                    (static_cast<float>(width) * static_cast<float>(pictureHeight));
    if (r >= 1.0f)
      constants.scaleX = 1.0f / r;
    else
      constants.scaleY = r;
  }
  return constants;
}

std::unique_ptr<Media::ResourceBuffer> TransitionEntry::createImage(
    int32_t width, int32_t height, float progress, int blur, bool keepAspect,
    const Environment& environment) const {
  if (width == 0 || height == 0) return nullptr;
  const float opaqueBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};

  if (!path) {
    const auto image = environment.loadImage ? environment.loadImage(filePath) : nullptr;
    auto picture = Media::ResourceBuffer::createFromImageBuffer(image.get());
    if (!picture || picture->empty()) return nullptr;
    auto target = std::make_unique<Media::ResourceBuffer>(width, height);
    target->createRenderTargetView();
    const auto constants = luminanceKeyConstants(blur, progress, keepAspect, width, height,
                                                 picture->width(), picture->height());
    environment.drawLuminanceKey(*target, *picture, constants);
    return target;
  }

  auto buffer = std::make_unique<Media::ResourceBuffer>(width, height);
  buffer->createRenderTargetView();
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  switch (kind) {
    case kClock:
      buffer->clearRenderTarget(opaqueBlack);
      // The fan still hidden shrinks from the whole turn to nothing, clockwise from the top.
      transitionFilters().fanClip(*buffer, 90.0f, (1.0f - progress) * 360.0f, 0.0f, 0.0f, blur,
                                  false);
      return buffer;
    case kHorizontal:
      buffer->clearRenderTarget(opaqueBlack);
      transitionFilters().lineClip(*buffer, -90.0f, 0.0f, (progress - 0.5f) * w, 0.0f, blur);
      return buffer;
    case kVertical:
      buffer->clearRenderTarget(opaqueBlack);
      transitionFilters().lineClip(*buffer, 0.0f, 0.0f, 0.0f, (progress - 0.5f) * h, blur);
      return buffer;
    default:
      break;
  }

  const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  buffer->clearRenderTarget(transparent);
  {
    Media::ResourceBuffer::Surface surface(*buffer);
    const Media::SolidColorBrush white({1.0f, 1.0f, 1.0f, 1.0f});
    const float a = keepAspect ? progress * std::max(w, h) * scale : w * scale * progress;
    const float b = keepAspect ? a : h * scale * progress;
    if (a > 0.0f && b > 0.0f) {
      const auto geometry = path->createPathGeometry((w - a) * 0.5f, (h - b) * 0.5f, a, b);
      surface.target().drawGeometry(*geometry, &white, 0.0f, 0.0f, nullptr, 0.0f, nullptr);
    }
    surface.endDraw();
  }
  if (blur > 0) return transitionFilters().blur(*buffer, blur, 0.0f, 2);
  return buffer;
}

TransitionList::TransitionList(const BuiltinPaths& paths, std::string_view folderPattern,
                               std::shared_ptr<Effect::EffectItemSelect::SharedList> choices,
                               TransitionEntry::Environment environment)
    : choices_(std::move(choices)), environment_(std::move(environment)) {
  for (const auto& builtin : kBuiltinTransitions)
    entries_.push_back({builtin.name, &paths[builtin.path], builtin.scale, {}, builtin.kind});
  for (const auto& file : listSortedFiles(folderPattern, "Resource::TransitionList::TransitionList"))
    entries_.push_back({std::filesystem::path(file).stem().string(), nullptr, 1.0f, file,
                        TransitionEntry::kShape});
  if (choices_) nameChoices(entries_, *choices_);
}

std::unique_ptr<Media::ResourceBuffer> TransitionList::createImage(int32_t index, int32_t width,
                                                                   int32_t height, float progress,
                                                                   int blur, bool keepAspect) const {
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return nullptr;
  return entries_[static_cast<std::size_t>(index)].createImage(width, height, progress, blur,
                                                               keepAspect, environment_);
}

}  // namespace Resource
