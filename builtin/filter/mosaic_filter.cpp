#include "builtin/filter/mosaic_filter.h"

#include <cmath>

#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

MosaicShaders::MosaicShaders()
    : FilterShaderSet({"mosaic_ps"}, {}, 0) {}

MosaicFilter::MosaicFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      size(items, "サイズ", 12.0, 1.0, 2000.0, 1.0) {
  label = "加工";
}

std::shared_ptr<EffectBase> MosaicFilter::create() const {
  return std::make_shared<MosaicFilter>();
}

}  // namespace Effect

namespace Effect {
namespace {

// The constants of the shared list's box-reduce shaders: output i averages the `step` rows
// or columns from i x step + offset, clamped into the source.
struct BoxReduceConstants {
  int32_t step = 1;
  int32_t offset = 0;
};

}  // namespace

OwnedImage MosaicFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const int32_t block = static_cast<int32_t>(std::lround(size.getValue(context)));
  if (block <= 1) return image;
  const auto width = static_cast<int32_t>(image->width());
  const auto height = static_cast<int32_t>(image->height());
  // Blocks start half the leftover of two blocks in, so that a border crosses the centre;
  // one block more on each side covers the partial blocks at the edges.
  const int32_t left = width % (2 * block) / 2;
  const int32_t top = height % (2 * block) / 2;
  const int32_t rows = height / block + 2;
  const int32_t columns = width / block + 2;

  Resource::ResourceService& service = Resource::ResourceService::Get();
  Resource::PixelShaderList& builtin = service.pixelShaders();
  Media::ResourceBuffer tall(width, rows);
  const BoxReduceConstants down{block, top - block};
  service.drawWithSharedConstants(builtin.entry(Resource::PixelShaderList::kBoxReduceVertical),
                                  tall, *image, &down, sizeof(down), nullptr);
  Media::ResourceBuffer means(columns, rows);
  const BoxReduceConstants across{block, left - block};
  service.drawWithSharedConstants(builtin.entry(Resource::PixelShaderList::kBoxReduceHorizontal),
                                  means, tall, &across, sizeof(across), nullptr);

  MosaicConstants constants;
  constants.offset[0] = static_cast<float>(block - left);
  constants.offset[1] = static_cast<float>(block - top);
  constants.length = static_cast<float>(block);
  auto output = std::make_unique<Media::ResourceBuffer>(width, height);
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  service.drawWithSharedConstants(shaders.pixelShader(0), *output, means, &constants,
                                  sizeof(constants), nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
