#include "builtin/filter/noise_filter.h"

#include <cstddef>

#include "builtin/choice_lists.h"
#include "builtin/filter/object_seconds.h"
#include "builtin/movement/random_move.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {
namespace {

// Blend states of the shared list.
constexpr std::size_t kBlendScaleByAlpha = 7;         // colour and alpha times the source alpha
constexpr std::size_t kBlendInsideTarget = 14;        // the source at the target's alpha
constexpr std::size_t kBlendScaleColourByAlpha = 16;  // colour times the source alpha
// Sampler state of the shared list: linear with wrapping, the table repeating.
constexpr std::size_t kLinearWrapSampler = 2;

}  // namespace

NoiseShaders::NoiseShaders()
    : FilterShaderSet({"noise_ps"}, {}, sizeof(NoiseConstants)) {}

NoiseFilter::NoiseFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 200.0, 0.1),
      speedX(items, "速度X", 0.0, -800.0, 800.0, 0.1),
      speedY(items, "速度Y", 0.0, -800.0, 800.0, 0.1),
      changeSpeed(items, "変化速度", 0.0, 0.0, 800.0, 0.1),
      cycleX(items, "周期X", 1.0, 0.0, 100.0, 0.01),
      cycleY(items, "周期Y", 1.0, 0.0, 100.0, 0.01),
      threshold(items, "しきい値", 0.0, 0.0, 100.0, 0.1),
      seed(items, "シード", 0, 0, 100),
      composite(items, "合成モード", 0, NoiseCompositeList()),
      kind(items, "ノイズの種類", 0, NoiseTypeList()) {
  label = "加工";
}

std::shared_ptr<EffectBase> NoiseFilter::create() const { return std::make_shared<NoiseFilter>(); }

OwnedImage NoiseFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const auto level = static_cast<float>(strength.getValue(context) / 100.0);
  const auto limit = static_cast<float>(threshold.getValue(context) / 100.0);
  if (level <= 0.0f) return image;
  const bool brightness = composite.value == kMultiplyBrightness;
  Resource::ResourceService& service = Resource::ResourceService::Get();
  ::Shader::BlendStateList& blends = service.blendStates();

  if (level >= 2.0f || limit >= 1.0f) {
    // Nothing of the noise is left: the picture goes, or only its colour.
    if (!brightness) {
      image->clear(0.0f);
      return image;
    }
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const Resource::ResourceService::SharedConstantsScope shared(service, black, sizeof(black));
    service.pixelShaders()
        .entry(Resource::PixelShaderList::kFill)
        .drawWithConstants(*image, shared.buffer(), blends.get(kBlendInsideTarget));
    return image;
  }

  const double seconds = objectSeconds(context);
  // The seed moves the pattern by up to one table width each way.
  float shift[2] = {0.0f, 0.0f};
  RandomMove::randomFractions(0, seed.value, shift);
  const double width = image->width();
  const double height = image->height();
  const double cycle[2] = {cycleX.getValue(context), cycleY.getValue(context)};
  NoiseConstants constants;
  constants.step[0] = 7.0f / 256.0f;
  constants.step[1] = 17.0f / 256.0f;
  constants.step[2] = 31.0f / 256.0f;
  constants.type = kind.value;
  constants.offset[0] = static_cast<float>(speedX.getValue(context) * seconds * 30.0 +
                                           256.0 * shift[0] - width * cycle[0] / 2.0);
  constants.offset[1] = static_cast<float>(speedY.getValue(context) * seconds * 30.0 +
                                           256.0 * shift[1] - height * cycle[1] / 2.0);
  constants.cycle[0] = static_cast<float>(cycle[0]);
  constants.cycle[1] = static_cast<float>(cycle[1]);
  constants.accelerate = static_cast<float>(changeSpeed.getValue(context) * seconds * 3.0);
  constants.level = level;
  constants.limit = limit;
  constants.limitRatio = 1.0f / (1.0f - limit);

  const auto table = service.lookupTable(kind.value == kTableType
                                             ? Resource::ResourceService::kPermutationTable
                                             : Resource::ResourceService::kSmoothNoiseTable);
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  Media::ShaderBindings::setSampler(0, service.samplerStates().get(kLinearWrapSampler));
  shaders.pixelShader(0).drawInputWithConstants(
      *image, *table, shaders.writeConstants(&constants),
      blends.get(brightness ? kBlendScaleColourByAlpha : kBlendScaleByAlpha));
  return image;
}

}  // namespace Effect
