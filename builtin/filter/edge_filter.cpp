#include "builtin/filter/edge_filter.h"

#include "edit/update_section.h"
#include "gpu/resource_buffer.h"

namespace Effect {

EdgeShaders::EdgeShaders()
    : FilterShaderSet({"edge_color_ps", "edge_luma_ps", "edge_alpha_ps"}, {},
                      sizeof(EdgeFilter::Constants)) {}

EdgeFilter::EdgeFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 1000.0, 0.1),
      threshold(items, "しきい値", 0.0, -100.0, 100.0, 0.01),
      color(items, "色", 0xFFFFFF),
      luminanceEdges(items, "輝度エッジを抽出", true),
      alphaEdges(items, "透明度エッジを抽出", false) {
  luminanceEdges.notify = alphaEdges.notify = true;
  label = "抽出";
}

std::shared_ptr<EffectBase> EdgeFilter::create() const { return std::make_shared<EdgeFilter>(); }

}  // namespace Effect

namespace Effect {

OwnedImage EdgeFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  Constants constants;
  constants.color[0] = static_cast<float>(color.red) / 255.0f;
  constants.color[1] = static_cast<float>(color.green) / 255.0f;
  constants.color[2] = static_cast<float>(color.blue) / 255.0f;
  constants.color[3] = 1.0f;
  constants.limit = static_cast<float>(threshold.getValue(context)) / 100.0f;
  constants.ratio = static_cast<float>(strength.getValue(context)) / 100.0f;
  // Both checks set (a script or an old file can do that) count as the luma alone.
  const Shader shader =
      luminanceEdges.value ? kLumaShader : (alphaEdges.value ? kAlphaShader : kColorShader);

  auto output = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(image->width()),
                                                        static_cast<int32_t>(image->height()));
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  shaders.pixelShader(shader).drawInputWithConstants(*output, *image,
                                                     shaders.writeConstants(&constants), nullptr);
  return adoptBuffer(std::move(output));
}

bool EdgeFilter::editEvent(EffectEventParam& event) {
  if (event.kind != EffectEventParam::ItemChanged) return true;
  if (!luminanceEdges.value || !alphaEdges.value) return true;
  const EffectItem* changed = event.item();
  if (changed == &luminanceEdges)
    alphaEdges.value = false;
  else if (changed == &alphaEdges)
    luminanceEdges.value = false;
  else
    return true;
  // The other check changed too: its control shows the old state until it reloads.
  if (event.scope) {
    event.scope->updateEffectSetting = true;
    event.scope->notifyObject = true;
  }
  return true;
}

}  // namespace Effect
