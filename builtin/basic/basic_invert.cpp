#include "builtin/basic/basic_invert.h"

#include <cstdint>

#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

InvertShaders::InvertShaders()
    : FilterShaderSet({"invert_mirror_ps", "invert_color_ps", "invert_alpha_ps"}, {}, 0) {}

BasicInvert::BasicInvert()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      flipVertical(items, "上下反転", false),
      flipHorizontal(items, "左右反転", false),
      invertLuminance(items, "輝度反転", false),
      invertHue(items, "色相反転", false),
      invertAlpha(items, "透明度反転", false) {
  label = "基本効果";
}

std::shared_ptr<EffectBase> BasicInvert::create() const { return std::make_shared<BasicInvert>(); }

}  // namespace Effect

namespace Effect {
namespace {

enum Stage : std::size_t { kMirror, kColor, kAlpha };

// The constants of the mirror shader: a texel index is the pixel's times `step` plus
// `offset`.
struct MirrorConstants {
  int32_t offset[2] = {0, 0};
  int32_t step[2] = {1, 1};
};
static_assert(sizeof(MirrorConstants) == 16);

// The constants of the colour shader: luminance becomes step x Y + offset, colour difference
// is multiplied by invert.
struct ColorConstants {
  float offset = 0.0f;
  float step = 1.0f;
  float invert = 1.0f;
  float unused = 0.0f;
};
static_assert(sizeof(ColorConstants) == 16);

}  // namespace

OwnedImage BasicInvert::filterVideo(EffectContext&, OwnedImage image) {
  if (!image) return image;
  const bool mirror = flipVertical.value || flipHorizontal.value;
  const bool color = invertLuminance.value || invertHue.value;
  if (!mirror && !color && !invertAlpha.value) return image;
  Resource::ResourceService& service = Resource::ResourceService::Get();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  // Each stage draws the current picture into a new one of the same size, blending off.
  const auto pass = [&](Stage stage, const void* constants, std::size_t size) {
    auto next = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(image->width()),
                                                        static_cast<int32_t>(image->height()));
    service.drawWithSharedConstants(shaders.pixelShader(stage), *next, *image, constants, size,
                                    nullptr);
    image = adoptBuffer(std::move(next));
  };
  if (mirror) {
    MirrorConstants constants;
    if (flipHorizontal.value) {
      constants.offset[0] = static_cast<int32_t>(image->width()) - 1;
      constants.step[0] = -1;
    }
    if (flipVertical.value) {
      constants.offset[1] = static_cast<int32_t>(image->height()) - 1;
      constants.step[1] = -1;
    }
    pass(kMirror, &constants, sizeof(constants));
  }
  if (color) {
    ColorConstants constants;
    if (invertLuminance.value) {
      constants.offset = 1.0f;
      constants.step = -1.0f;
    }
    if (invertHue.value) constants.invert = -1.0f;
    pass(kColor, &constants, sizeof(constants));
  }
  if (invertAlpha.value) pass(kAlpha, nullptr, 0);
  return image;
}

}  // namespace Effect
