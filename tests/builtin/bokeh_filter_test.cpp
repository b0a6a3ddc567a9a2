// "レンズブラー" on small pictures against the same maths on the CPU, with the kernels the
// figure list draws: the direct kernel with a transparent or a repeated outside, the reduced
// picture sampled for kernels wider than 80, the highlights spread and gathered around it,
// and the plain cases (no range, a figure the list lacks).
#include "builtin/filter/bokeh_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader_run_support.h"
#include "bokeh_reference.h"
#include "highlight_reference.h"

namespace {

using Effect::BokehFilter;
using TestSupport::cpuBokeh;
using TestSupport::CpuImage;
using TestSupport::download;
using TestSupport::gatherHighlights;
using TestSupport::imagesNear;
using TestSupport::noisePicture;
using TestSupport::Rgba;
using TestSupport::spreadHighlights;
using TestSupport::upload;

constexpr int kCircle = 1;
constexpr int kSquare = 2;

class BokehFilterTest : public TestSupport::DrawingResourcesTest {
 protected:
  CpuImage filtered(const CpuImage& picture, double range, double light, int figure,
                     bool fixed) {
    BokehFilter filter;
    filter.range.setValue(range, 0);
    filter.lightStrength.setValue(light, 0);
    filter.shape.value = figure;
    filter.fixedSize.value = fixed;
    Effect::EffectContext context;
    Effect::OwnedImage output = filter.filterVideo(context, upload(picture));
    return output ? download(*output) : CpuImage();
  }
};

// The kernel's weights: the alpha of the figure as the list draws it.
CpuImage kernelOf(int figure, int side) {
  const Media::Color::Rgba white{1.0f, 1.0f, 1.0f, 1.0f};
  auto image = Resource::ResourceService::Get().figureList().createImage(
      figure, side, side, white, Resource::FigureList::kFilled, false, 0);
  return image ? download(*image) : CpuImage(side, side);
}

// Output pixel (x, y) weighs input texel (x - g - r + i, y - g + r - j) by kernel tap (i, j),
// g being the growth: transparent outside, or the edges repeated when the size is fixed.
CpuImage cpuDirect(const CpuImage& input, const CpuImage& kernel, int radius, bool fixed) {
  const int grow = fixed ? 0 : radius;
  return cpuBokeh(kernel, kernel.width, input.width + 2 * grow, input.height + 2 * grow,
                  [&](float px, float py, int i, int j) {
                    int x = static_cast<int>(px) - grow - radius + i;
                    int y = static_cast<int>(py) - grow + radius - j;
                    if (fixed) {
                      x = std::clamp(x, 0, input.width - 1);
                      y = std::clamp(y, 0, input.height - 1);
                    }
                    return input.get(x, y);
                  });
}

// The mean of t texels per axis, the last row and column repeated past the edge.
CpuImage cpuShrink(const CpuImage& input, int t) {
  const auto ceilDiv = [t](int side) { return (side + t - 1) / t; };
  CpuImage rows(input.width, ceilDiv(input.height));
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x)
      for (int k = 0; k < t; ++k)
        for (int c = 0; c < 4; ++c)
          rows.at(x, y)[c] += input.get(x, std::min(y * t + k, input.height - 1))[c] / static_cast<float>(t);
  CpuImage reduced(ceilDiv(rows.width), rows.height);
  for (int y = 0; y < reduced.height; ++y)
    for (int x = 0; x < reduced.width; ++x)
      for (int k = 0; k < t; ++k)
        for (int c = 0; c < 4; ++c)
          reduced.at(x, y)[c] += rows.get(std::min(x * t + k, rows.width - 1), y)[c] / static_cast<float>(t);
  return reduced;
}

// A kernel side e above 80: the picture reduced by t = e / 80 + 1 and sampled bilinearly at
// n = (t + e) / t taps per side, t original pixels apart, in texture coordinates of the
// original picture.
CpuImage cpuSampled(const CpuImage& input, int figure, int radius, bool fixed) {
  const int side = 2 * radius + 1;
  const int t = side / 80 + 1;
  const int n = (t + side) / t;
  const CpuImage reduced = cpuShrink(input, t);
  const CpuImage kernel = kernelOf(figure, n);
  const int grow = fixed ? 0 : radius;
  const auto w = static_cast<float>(input.width);
  const auto h = static_cast<float>(input.height);
  const auto ft = static_cast<float>(t);
  const auto fn = static_cast<float>(n);
  const float u0 = (static_cast<float>(-grow) - ft * (fn - 1) / 2) / w;
  const float v0 = (ft * (fn + 1) / 2 - static_cast<float>(grow)) / h;
  const auto sampler = fixed ? TestSupport::kLinearClamp : TestSupport::kLinearBorder;
  return cpuBokeh(kernel, n, input.width + 2 * grow, input.height + 2 * grow,
                  [&](float px, float py, int i, int j) {
                    const float u = px / w + u0 + static_cast<float>(i) * ft / w;
                    const float v = py / h + v0 - static_cast<float>(j + 1) * ft / h;
                    return TestSupport::sample(reduced, u, v, sampler);
                  });
}

TEST_F(BokehFilterTest, TheFigureKernelWeighsTheSpreadHighlights) {
  const CpuImage picture = noisePicture(9, 7, 51);
  struct Case {
    double range, light;
    int figure;
    bool fixed;
  };
  for (const Case& c : {Case{2, 0, kCircle, false}, Case{3, 32, kCircle, true},
                        Case{2.5, 10.5, kSquare, false}, Case{4, 60, kSquare, true}}) {
    const auto radius = static_cast<int>(std::lround(c.range));
    const float base = static_cast<float>(c.light) * 0.15f + 1.0f;
    const CpuImage kernel = kernelOf(c.figure, 2 * radius + 1);
    ASSERT_GT(kernel.get(radius, radius)[3], 0.9f) << "the figure covers the kernel's middle";
    EXPECT_EQ(kernel.get(0, 0)[3] < 0.5f, c.figure == kCircle) << "only the circle leaves corners";
    const CpuImage expected =
        gatherHighlights(cpuDirect(spreadHighlights(picture, base), kernel, radius, c.fixed), base);
    EXPECT_TRUE(imagesNear(filtered(picture, c.range, c.light, c.figure, c.fixed), expected, 1e-2f))
        << c.range << " " << c.light << " " << c.figure << " " << c.fixed;
  }
}

// The grown picture is 2 x range larger each way; the kernel side decides the path: 79
// (range 39) still texel by texel, 81 (range 40) on the picture reduced by 2 with 41 taps.
TEST_F(BokehFilterTest, KernelsWiderThan80SampleAReducedPicture) {
  BokehFilter filter;
  const CpuImage picture = noisePicture(10, 7, 52);
  for (const bool fixed : {false, true}) {
    const CpuImage direct = download(*filter.bokeh(upload(picture), kCircle, 39, fixed));
    EXPECT_TRUE(imagesNear(direct, cpuDirect(picture, kernelOf(kCircle, 79), 39, fixed)))
        << "range 39, fixed " << fixed;
    const CpuImage sampled = download(*filter.bokeh(upload(picture), kCircle, 40, fixed));
    EXPECT_TRUE(imagesNear(sampled, cpuSampled(picture, kCircle, 40, fixed), 8e-3f))
        << "range 40, fixed " << fixed;
  }
  const CpuImage wide = download(*filter.bokeh(upload(picture), kSquare, 130, true));
  EXPECT_TRUE(imagesNear(wide, cpuSampled(picture, kSquare, 130, true), 8e-3f)) << "t = 4";
}

TEST_F(BokehFilterTest, ShrinkAveragesBlocksRowsFirst) {
  const CpuImage picture = noisePicture(11, 7, 53);
  for (const int t : {2, 3})
    EXPECT_TRUE(imagesNear(download(*BokehFilter::shrink(upload(picture), t)), cpuShrink(picture, t)))
        << t;
  Effect::OwnedImage input = upload(picture);
  const Media::ResourceBuffer* before = input.get();
  EXPECT_EQ(BokehFilter::shrink(std::move(input), 1).get(), before);
}

// Without a range only the spreading and gathering remain: the colours clipped to 0 .. 1.
TEST_F(BokehFilterTest, NoRangeClipsTheColoursOnly) {
  CpuImage picture = noisePicture(5, 4, 54);
  picture.at(1, 1) = {3.0f, 0.5f, -0.25f, 1.0f};
  CpuImage clipped = picture;
  for (Rgba& pixel : clipped.pixels)
    for (int c = 0; c < 3; ++c) pixel[c] = std::clamp(pixel[c], 0.0f, 1.0f);
  EXPECT_TRUE(imagesNear(filtered(picture, 0, 32, kCircle, false), clipped, 1e-2f));
}

// A figure the list lacks weighs nothing: the picture stays sharp, moved into the grown image.
TEST_F(BokehFilterTest, AMissingFigureLeavesThePictureSharp) {
  const CpuImage picture = noisePicture(6, 5, 55);
  CpuImage expected(10, 9);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) expected.at(x + 2, y + 2) = picture.get(x, y);
  EXPECT_TRUE(imagesNear(filtered(picture, 2, 0, 999, false), expected, 1e-2f));
}

}  // namespace
