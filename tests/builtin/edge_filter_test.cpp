// "エッジ抽出" on small pictures against the edges computed here: the luma, coverage and
// whole-colour gradients with their threshold and strength, both checks set at once, a
// threshold low enough to colour the whole shape; and the two checks kept exclusive.
#include "builtin/filter/edge_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

#include "colour_reference.h"
#include "edit/edit_service.h"
#include "edit/update_section.h"
#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double strength = 100, threshold = 0;
  uint32_t rgb = 0xFFFFFF;
  bool luminance = true, alpha = false;
};

// The edges on the CPU: 3 x 3 sums of the right minus the left column and the bottom minus
// the top row, the neighbours beyond the edge taken from the edge.
CpuImage edgesOnCpu(const CpuImage& source, const Settings& s) {
  const float limit = static_cast<float>(s.threshold) / 100.0f;
  const float ratio = static_cast<float>(s.strength) / 100.0f;
  const Rgba color{static_cast<float>(s.rgb >> 16 & 0xFF) / 255.0f,
                   static_cast<float>(s.rgb >> 8 & 0xFF) / 255.0f,
                   static_cast<float>(s.rgb & 0xFF) / 255.0f, 1.0f};
  CpuImage result(source.width, source.height);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      std::array<float, 4> gx{}, gy{};
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const Rgba c = source.get(std::clamp(x + dx, 0, source.width - 1),
                                    std::clamp(y + dy, 0, source.height - 1));
          const TestSupport::Ycc ycc = TestSupport::lumaChroma(c);
          const std::array<float, 4> v{ycc[0], ycc[1], ycc[2], c[3]};
          for (int k = 0; k < 4; ++k) {
            gx[k] += static_cast<float>(dx) * v[k];
            gy[k] += static_cast<float>(dy) * v[k];
          }
        }
      const auto length = [&](int k) { return std::hypot(gx[k], gy[k]); };
      const float m = s.luminance ? length(0)
                      : s.alpha   ? length(3)
                                  : length(0) + length(1) + length(2);
      const float e = std::clamp((m - limit) * ratio, 0.0f, 1.0f) * source.get(x, y)[3];
      result.at(x, y) = TestSupport::scaled(color, e);
    }
  return result;
}

class EdgeFilterTest : public TestSupport::FilterWorldTest {
 protected:
  static void apply(Effect::EdgeFilter& edge, const Settings& s) {
    edge.strength.setValue(s.strength, 0);
    edge.threshold.setValue(s.threshold, 0);
    edge.color.setRgb(s.rgb);
    edge.luminanceEdges.value = s.luminance;
    edge.alphaEdges.value = s.alpha;
  }

  CpuImage run(const CpuImage& source, const Settings& s) {
    Effect::EdgeFilter edge;
    apply(edge, s);
    return TestSupport::filtered(edge, source);
  }
};

TEST_F(EdgeFilterTest, EachKindOfEdgeMatchesTheReference) {
  const struct {
    const char* what;
    Settings settings;
  } cases[] = {
      {"luma", {}},
      {"luma, threshold and strength, coloured",
       {.strength = 250, .threshold = 20, .rgb = 0xFF8020}},
      {"coverage", {.strength = 80, .luminance = false, .alpha = true}},
      {"whole colour", {.strength = 120, .threshold = 5, .rgb = 0x40C0FF, .luminance = false}},
      {"both checks draw the luma", {.strength = 150, .luminance = true, .alpha = true}},
  };
  const CpuImage source = TestSupport::randomPicture(9, 7, 61);
  for (const auto& c : cases)
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.settings), edgesOnCpu(source, c.settings)))
        << c.what;
}

TEST_F(EdgeFilterTest, BothChecksGiveTheLumaEdgesNotTheCoverage) {
  // A flat grey square on nothing: the coverage has edges where the luma has others.
  const CpuImage source = TestSupport::pictureOf(6, 6, [](int x, int y) {
    return x >= 1 && x <= 4 && y >= 1 && y <= 4 ? Rgba{0.3f, 0.3f, 0.3f, 1} : Rgba{};
  });
  const Settings both{.luminance = true, .alpha = true};
  const CpuImage drawn = run(source, both);
  EXPECT_TRUE(TestSupport::imagesNear(drawn, edgesOnCpu(source, {})));
  EXPECT_FALSE(
      TestSupport::imagesNear(drawn, edgesOnCpu(source, {.luminance = false, .alpha = true})));
}

TEST_F(EdgeFilterTest, LowestThresholdColoursTheWholeShape) {
  // Every magnitude exceeds -1: the colour covers each pixel by its own alpha.
  const CpuImage source = TestSupport::randomPicture(7, 5, 67);
  const CpuImage drawn = run(source, {.strength = 100, .threshold = -100, .rgb = 0x00FF00});
  EXPECT_TRUE(TestSupport::matchesEverywhere(drawn, [&](int x, int y) -> std::optional<Rgba> {
    const float a = source.get(x, y)[3];
    return Rgba{0, a, 0, a};
  }));
}

TEST_F(EdgeFilterTest, TheCheckJustSwitchedOnSwitchesTheOtherOff) {
  Effect::EdgeFilter edge;
  Edit::UpdateSection scope = Edit::EditService::instance()->beginUpdate();
  const auto change = [&](Effect::EffectItem& item) {
    Effect::EffectEventParam event;
    event.kind = Effect::EffectEventParam::ItemChanged;
    event.scope = &scope;
    event.datum = &item;
    EXPECT_TRUE(edge.editEvent(event));
  };
  // A check switched off, or another item changed, leaves the pair and the window alone.
  edge.luminanceEdges.value = false;
  change(edge.luminanceEdges);
  EXPECT_FALSE(edge.luminanceEdges.value);
  EXPECT_FALSE(edge.alphaEdges.value);
  edge.luminanceEdges.value = edge.alphaEdges.value = true;
  change(edge.strength);
  EXPECT_TRUE(edge.luminanceEdges.value);
  EXPECT_TRUE(edge.alphaEdges.value);
  EXPECT_FALSE(scope.updateEffectSetting);

  change(edge.alphaEdges);
  EXPECT_FALSE(edge.luminanceEdges.value);
  EXPECT_TRUE(edge.alphaEdges.value);
  EXPECT_TRUE(scope.updateEffectSetting) << "the window shows the other check anew";

  edge.luminanceEdges.value = true;
  change(edge.luminanceEdges);
  EXPECT_TRUE(edge.luminanceEdges.value);
  EXPECT_FALSE(edge.alphaEdges.value);
  scope.close();
}

}  // namespace
