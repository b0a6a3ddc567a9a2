#include "gpu/resource/pixel_shader_list.h"

#include "gpu/shader/builtin_shader_code.h"
#include "gpu/shader/vertex_list.h"

namespace Resource {
namespace {

constexpr const char* kEntryNames[PixelShaderList::kEntryCount] = {
    "input_transform_ps", "output_transform_ps", "copy_ps", "fill_ps", "white_ps",
    "copy_offset_ps", "copy_offset_clamp_ps", "copy_two_targets_ps", "coverage_color_ps",
    "opacity_ps", "opacity_offset_ps", "sampled_copy_ps", "premultiply_ps", "unpremultiply_ps",
    "opaque_copy_ps", "clamp_to_alpha_ps", "saturate_ps", "box_reduce_h_ps", "box_reduce_v_ps",
    "resample_ps", "bright_pass_ps", "exponential_ps", "logarithmic_ps", "luminance_key_ps",
    "blend_mode_ps", "blend_mode_offset_ps",
};

}  // namespace

const char* PixelShaderList::entryName(int index) {
  return index >= 0 && index < kEntryCount ? kEntryNames[index] : "";
}

PixelShaderList::PixelShaderList() {
  const float positions[4][3] = {{-1, -1, 0}, {1, -1, 0}, {-1, 1, 0}, {1, 1, 0}};
  Media::VertexBufferCommon::create(positionQuad_, positions, 4, sizeof(positions[0]));
  const Media::XYZ_UV textured[4] = {{-1, -1, 0, 0, 1, 1, 0},
                                     {1, -1, 0, 1, 1, 1, 0},
                                     {-1, 1, 0, 0, 0, 1, 0},
                                     {1, 1, 0, 1, 0, 1, 0}};
  Media::VertexBufferCommon::create(texturedQuad_, textured, 4, sizeof(Media::XYZ_UV));
  Media::ConstantBufferCommon::create(sharedBuffer_, sharedCopy_.data(), kSharedConstantBytes);

  // The 3-D set first, then the entries in order.
  set3d_ = std::make_unique<Shader3dSet>();
  for (int i = 0; i < kEntryCount; ++i) {
    const auto& code = Media::findBuiltinShaderCode(kEntryNames[i]);
    entries_[static_cast<std::size_t>(i)].loadFromMemory(code.code, code.size);
  }
}

PixelShaderList::~PixelShaderList() = default;

Media::ConstantBufferCommon& PixelShaderList::uploadSharedConstants() {
  sharedBuffer_.update(sharedCopy_.data());
  return sharedBuffer_;
}

}  // namespace Resource
