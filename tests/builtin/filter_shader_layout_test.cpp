// The shader sets of the clipping, keying and colour effects on the device: every shader of
// a class loads with a quad draw, reads "constant0" at register 0 with the variables at the
// offsets of the class's Constants, and its inputs at the texture slots the effect binds; the
// class's constant buffer has the size of its Constants.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "builtin/filter/angle_clip_filter.h"
#include "builtin/filter/chroma_key_filter.h"
#include "builtin/filter/color_change_filter.h"
#include "builtin/filter/color_filter.h"
#include "builtin/filter/color_key_filter.h"
#include "builtin/filter/edge_filter.h"
#include "builtin/filter/gradation_filter.h"
#include "builtin/filter/line_clip_filter.h"
#include "builtin/filter/luminance_key_filter.h"
#include "builtin/filter/mask_filter.h"
#include "builtin/filter/monochrome_filter.h"
#include "gpu/shader/shader_reflection.h"
#include "gpu/shader_run_support.h"

namespace {

using namespace Effect;
using TestSupport::shadersOf;

struct Variable {
  const char* name;
  uint32_t offset;
};

struct ClassCase {
  const char* effect;
  std::function<std::shared_ptr<FilterShaderSet>()> make;
  uint32_t constantBytes;  // 0: the built-in list's shared 16 bytes
  std::vector<Variable> layout;
  std::vector<std::set<uint32_t>> textureSlots;  // per shader, in creation order
};

const std::vector<ClassCase>& classCases() {
  static const std::vector<ClassCase> cases = {
      {"斜めクリッピング", shadersOf<LineClipFilter>, sizeof(LineClipFilter::Constants),
       {{"offset", 0}, {"direction", 8}, {"length", 16}, {"range", 20}}, {{}, {}}},
      {"扇クリッピング", shadersOf<AngleClipFilter>, sizeof(AngleClipFilter::Constants),
       {{"offset", 0}, {"directionS", 8}, {"directionE", 16}, {"directionL", 24}, {"range", 32},
        {"limit", 36}},
       {{}, {}}},
      {"マスク", shadersOf<MaskFilter>, sizeof(MaskFilter::Constants),
       {{"offset", 0}, {"inverseMaskSize", 8}, {"angleS", 16}, {"angleC", 20}}, {{0}}},
      {"クロマキー", shadersOf<ChromaKeyFilter>, sizeof(ChromaKeyFilter::Constants),
       {{"keyH", 0}, {"keyS", 4}, {"lenH", 8}, {"lenS", 12}, {"keyU", 16}, {"keyV", 20},
        {"range", 24}, {"divie", 28}, {"correct", 32}, {"transparent", 36}},
       {{0}, {0, 1}, {0, 1}}},
      {"色調補正", shadersOf<ColorFilter>, sizeof(ColorFilter::Constants),
       {{"brightness", 0}, {"contrast", 4}, {"hue", 8}, {"luminance", 12}, {"chroma", 16},
        {"processSaturate", 20}, {"processYUV", 24}},
       {{0}}},
      {"特定色域変換", shadersOf<ColorChangeFilter>, sizeof(ColorChangeFilter::Constants),
       {{"afterY", 0}, {"afterU", 4}, {"afterV", 8}, {"beforeY", 12}, {"beforeU", 16},
        {"beforeV", 20}, {"range", 24}, {"divie", 28}, {"correct", 32}},
       {{0, 1}, {0, 1}}},
      {"グラデーション", shadersOf<GradationFilter>, sizeof(GradationFilter::Constants),
       {{"col0", 0}, {"col1", 16}, {"offset", 32}, {"direction", 40}, {"range", 48}, {"type", 52}},
       {{0}}},
      {"カラーキー", shadersOf<ColorKeyFilter>, sizeof(ColorKeyFilter::Constants),
       {{"key", 0}, {"range", 12}, {"len", 16}, {"divie", 28}}, {{0}, {0}}},
      {"ルミナンスキー", shadersOf<LuminanceKeyFilter>, 0,
       {{"type", 0}, {"offset", 4}, {"range", 8}}, {{0}}},
      {"エッジ抽出", shadersOf<EdgeFilter>, sizeof(EdgeFilter::Constants),
       {{"color", 0}, {"limit", 16}, {"ratio", 20}}, {{0}, {0}, {0}}},
      {"単色化", shadersOf<MonochromeFilter>, sizeof(MonochromeFilter::Constants),
       {{"level", 0}, {"yuv", 16}}, {{0}}},
  };
  return cases;
}

using FilterShadersTest = TestSupport::GpuTest;

TEST_F(FilterShadersTest, EveryShaderReadsItsClassesLayout) {
  for (const ClassCase& c : classCases()) {
    SCOPED_TRACE(c.effect);
    const auto shaders = c.make();
    ASSERT_EQ(shaders->pixelShaderCount(), c.textureSlots.size());
    for (std::size_t i = 0; i < shaders->pixelShaderCount(); ++i) {
      SCOPED_TRACE(i);
      Media::PixelShader& shader = shaders->pixelShader(i);
      ASSERT_TRUE(shader.loaded());
      EXPECT_TRUE(shader.hasDrawFunction());
      const Media::ShaderReflection& reflection = *shader.reflection();
      const Media::ConstantBufferDescription* buffer = reflection.findConstantBuffer("constant0");
      ASSERT_NE(buffer, nullptr);
      EXPECT_EQ(buffer->slot, 0u);
      EXPECT_LE(buffer->size, c.constantBytes == 0 ? 16u : c.constantBytes);
      for (const Media::ConstantBufferVariable& variable : buffer->variables) {
        const auto found = std::find_if(c.layout.begin(), c.layout.end(), [&](const Variable& v) {
          return variable.name == v.name;
        });
        ASSERT_NE(found, c.layout.end()) << variable.name;
        EXPECT_EQ(variable.startOffset, found->offset) << variable.name;
      }
      std::set<uint32_t> slots;
      for (const Media::TextureUnitBinding& unit : reflection.textureUnits())
        slots.insert(unit.textureSlot);
      EXPECT_EQ(slots, c.textureSlots[i]);
    }
  }
}

TEST_F(FilterShadersTest, AClassesBufferHasTheSizeOfItsConstants) {
  for (const ClassCase& c : classCases()) {
    SCOPED_TRACE(c.effect);
    const auto shaders = c.make();
    const std::vector<uint8_t> zeros(64);
    EXPECT_EQ(shaders->constantBytes(), c.constantBytes);
    if (c.constantBytes == 0) {
      EXPECT_THROW(shaders->writeConstants(zeros.data()), std::exception);
      continue;
    }
    Media::ConstantBufferCommon& buffer = shaders->writeConstants(zeros.data());
    EXPECT_EQ(buffer.size(), c.constantBytes);
    EXPECT_EQ(&shaders->writeConstants(zeros.data()), &buffer) << "made once";
  }
}

// The mask reads its picture through the sampler the effect binds at slot 0.
TEST_F(FilterShadersTest, TheMaskSamplesThroughSamplerZero) {
  const auto shaders = shadersOf<MaskFilter>();
  const auto& units = shaders->pixelShader(MaskFilter::kMaskShader).reflection()->textureUnits();
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0].samplerSlot, 0);
}

}  // namespace
