// The shader sets of the decoration, deformation and processing filters: each kind's shaders
// load with the inputs and constant layout that the filter's body binds and fills; an
// effect of another kind leaves a set as it is.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "builtin/filter/bevel_filter.h"
#include "builtin/filter/border_filter.h"
#include "builtin/filter/color_shift_filter.h"
#include "builtin/filter/deinterlace_filter.h"
#include "builtin/filter/displacement_filter.h"
#include "builtin/filter/mosaic_filter.h"
#include "builtin/filter/noise_filter.h"
#include "builtin/filter/noise_reduction_filter.h"
#include "builtin/filter/polar_filter.h"
#include "builtin/filter/raster_filter.h"
#include "builtin/filter/ripple_filter.h"
#include "builtin/filter/shape_filter.h"
#include "gpu/gpu_test_support.h"
#include "gpu/shader/shader_reflection.h"

namespace {

using namespace Effect;

// An effect of another kind has no set of this kind: the one held stays.
TEST(FilterShaderSetTest, AnEffectOfAnotherKindLeavesTheSetAsItIs) {
  RippleFilter ripple;
  ripple.createResource();
  MosaicFilter mosaic;
  mosaic.createResource();
  const auto own = ripple.sharedResource();
  ripple.shareResource(mosaic);
  EXPECT_EQ(ripple.sharedResource(), own);
}

// What one shader declares: the texture and sampler registers it reads, and the members of
// "constant0" with their byte offsets.
struct ShaderRow {
  std::set<uint32_t> textures;
  std::set<int32_t> samplers;
  std::vector<std::pair<std::string, uint32_t>> constants;
};

struct KindRow {
  const char* name;
  std::function<std::shared_ptr<FilterShaderSet>()> make;
  uint32_t constantBytes;
  std::vector<ShaderRow> shaders;
};

template <class Filter>
std::function<std::shared_ptr<FilterShaderSet>()> maker() {
  return [] {
    Filter filter;
    filter.createResource();
    return std::shared_ptr<FilterShaderSet>(filter.sharedResource());
  };
}

class FilterShaderLoadTest : public TestSupport::GpuTest {};

TEST_F(FilterShaderLoadTest, EveryKindsShadersDeclareTheInputsAndConstantsItsBodyUses) {
  const std::vector<std::pair<std::string, uint32_t>> displacement = {
      {"offset", 0},  {"len", 8},     {"inverseMaskSize", 16},
      {"angleS", 24}, {"angleC", 28}, {"type", 32}};
  const std::vector<std::pair<std::string, uint32_t>> border = {
      {"color", 0},  {"offset", 16},       {"step", 24}, {"ratio", 32},
      {"range", 40}, {"inverseRange", 44}, {"limit", 48}};
  const std::vector<std::pair<std::string, uint32_t>> raster = {
      {"type", 0}, {"length", 4}, {"cycle", 8}, {"PI2divideRange", 12}, {"divideRange", 16}};
  const KindRow kinds[] = {
      {"ripple",
       maker<RippleFilter>(),
       32,
       {{{0},
         {0},
         {{"center", 0},
          {"multiply", 8},
          {"offset", 16},
          {"rippleNum", 20},
          {"interval", 24},
          {"amplifier", 28}}}}},
      {"displacement",
       maker<DisplacementFilter>(),
       48,
       {{{0, 1}, {0}, displacement}, {{0, 1}, {0}, displacement}}},
      {"noise",
       maker<NoiseFilter>(),
       48,
       {{{0},
         {0},
         {{"step", 0},
          {"type", 12},
          {"offset", 16},
          {"cycle", 24},
          {"accelerate", 32},
          {"level", 36},
          {"limit", 40},
          {"limitRatio", 44}}}}},
      {"border", maker<BorderFilter>(), 64, {{{0}, {}, border}, {{0}, {0}, border}}},
      {"bevel",
       maker<BevelFilter>(),
       16,
       {{{0}, {}, {{"step", 0}, {"depth", 8}, {"sampleNum", 12}}}}},
      {"raster",
       maker<RasterFilter>(),
       32,
       {{{0}, {}, raster}, {{0}, {}, raster}, {{0, 1}, {}, raster}, {{0, 1}, {}, raster}}},
      {"polar",
       maker<PolarFilter>(),
       32,
       {{{0},
         {0},
         {{"rsize", 0},
          {"offset", 4},
          {"pix", 8},
          {"pia", 12},
          {"pio", 16},
          {"kx", 20},
          {"ky", 24}}}}},
      {"colour shift",
       maker<ColorShiftFilter>(),
       48,
       {{{0},
         {0},
         {{"inverseSize", 0},
          {"offset", 8},
          {"offsetR", 16},
          {"offsetG", 24},
          {"offsetB", 32},
          {"alpha", 40},
          {"mode", 44}}}}},
      {"noise reduction",
       maker<NoiseReductionFilter>(),
       0,
       {{{0}, {}, {{"range", 0}, {"level", 4}, {"limit", 8}}}}},
      {"mosaic", maker<MosaicFilter>(), 0, {{{0}, {}, {{"offset", 0}, {"length", 8}}}}},
      {"sharpen", maker<ShapeFilter>(), 0, {{{0, 1}, {}, {{"level", 0}}}}},
      {"deinterlace", maker<DeinterlaceFilter>(), 0, {{{0}, {}, {{"type", 0}}}}},
  };
  for (const KindRow& kind : kinds) {
    const std::shared_ptr<FilterShaderSet> shaders = kind.make();
    FilterShaderSet& set = *shaders;
    EXPECT_EQ(set.constantBytes(), kind.constantBytes) << kind.name;
    ASSERT_EQ(set.pixelShaderCount(), kind.shaders.size()) << kind.name;
    for (std::size_t i = 0; i < kind.shaders.size(); ++i) {
      SCOPED_TRACE(std::string(kind.name) + " shader " + std::to_string(i));
      const ShaderRow& row = kind.shaders[i];
      Media::PixelShader& shader = set.pixelShader(i);
      ASSERT_TRUE(shader.loaded());
      EXPECT_TRUE(shader.hasDrawFunction());
      const Media::ShaderReflection& reflection = *shader.reflection();
      std::set<uint32_t> textures;
      std::set<int32_t> samplers;
      for (const auto& unit : reflection.textureUnits()) {
        textures.insert(unit.textureSlot);
        if (unit.samplerSlot >= 0) samplers.insert(unit.samplerSlot);
      }
      EXPECT_EQ(textures, row.textures);
      EXPECT_EQ(samplers, row.samplers);
      const auto* constants = reflection.findConstantBuffer("constant0");
      ASSERT_NE(constants, nullptr);
      EXPECT_EQ(constants->slot, 0u);
      // A kind's own buffer is as large as its shaders' block; the others fit the shared one.
      EXPECT_EQ(constants->size, kind.constantBytes > 0 ? kind.constantBytes : 16u);
      std::vector<std::pair<std::string, uint32_t>> members;
      for (const auto& variable : constants->variables)
        members.emplace_back(variable.name, variable.startOffset);
      EXPECT_EQ(members, row.constants);
    }
  }
}

}  // namespace
