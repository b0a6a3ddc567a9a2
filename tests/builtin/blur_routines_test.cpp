// The shared blur routines on the device: each box pass of "ぼかし" through its pixel and its
// compute shader, the blur made of them with its radii, edge modes and sizes, and the radial
// blur of "放射ブラー", all against the same maths on the CPU.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "builtin/filter/blur_filter.h"
#include "builtin/filter/bokashi_filter.h"
#include "gpu/shader_run_support.h"
#include "highlight_reference.h"

namespace {

using Effect::BokashiFilter;
using Effect::BlurFilter;
using TestSupport::CpuImage;
using TestSupport::download;
using TestSupport::imagesNear;
using TestSupport::noisePicture;
using TestSupport::Rgba;
using TestSupport::upload;

class BlurRoutinesTest : public TestSupport::GpuTest {
 protected:
  void SetUp() override {
    GpuTest::SetUp();
    bokashi_.createResource();
    radial_.createResource();
  }

  BokashiFilter bokashi_;
  BlurFilter radial_;
};

// ---------------------------------------------------------------------------------------------
// The reference: box passes on the CPU.

bool horizontalPass(BokashiFilter::BoxPass pass) { return pass % 2 == 0; }

// The mean of the 2r + 1 texels of the pass's window along its axis.
CpuImage cpuBoxPass(const CpuImage& input, BokashiFilter::BoxPass pass, int r) {
  if (r == 0) return input;
  const bool horizontal = horizontalPass(pass);
  const bool grows = pass == BokashiFilter::kGrowHorizontal || pass == BokashiFilter::kGrowVertical;
  const bool clamps =
      pass == BokashiFilter::kClampedHorizontal || pass == BokashiFilter::kClampedVertical;
  CpuImage output(input.width + (grows && horizontal ? 2 * r : 0),
                  input.height + (grows && !horizontal ? 2 * r : 0));
  const int first = grows ? -2 * r : -r;
  const int last = grows ? 0 : r;
  for (int y = 0; y < output.height; ++y)
    for (int x = 0; x < output.width; ++x) {
      Rgba sum{0, 0, 0, 0};
      for (int i = first; i <= last; ++i) {
        int ix = horizontal ? x + i : x;
        int iy = horizontal ? y : y + i;
        if (clamps) {
          ix = std::clamp(ix, 0, input.width - 1);
          iy = std::clamp(iy, 0, input.height - 1);
        }
        const Rgba texel = input.get(ix, iy);
        for (int c = 0; c < 4; ++c) sum[c] += texel[c];
      }
      for (int c = 0; c < 4; ++c) output.at(x, y)[c] = sum[c] / static_cast<float>(2 * r + 1);
    }
  return output;
}

// Two boxes per axis, ceil(R/2) then floor(R/2), vertical before horizontal.
CpuImage cpuBlur(const CpuImage& input, int vertical, int horizontal,
                 BokashiFilter::BoxPass firstPass) {
  const auto along = firstPass;
  const auto down = static_cast<BokashiFilter::BoxPass>(firstPass + 1);
  CpuImage image = cpuBoxPass(input, down, vertical - vertical / 2);
  image = cpuBoxPass(image, along, horizontal - horizontal / 2);
  image = cpuBoxPass(image, down, vertical / 2);
  return cpuBoxPass(image, along, horizontal / 2);
}

// ---------------------------------------------------------------------------------------------
// Box passes.

// Every pass through both kinds of shader, with windows smaller than the picture and wider
// than it (where the edge handling decides nearly every texel).
TEST_F(BlurRoutinesTest, EachBoxPassMatchesTheCpuThroughBothShaders) {
  const CpuImage picture = noisePicture(11, 9, 3);
  for (int p = 0; p < BokashiFilter::kBoxPassCount; ++p)
    for (const int r : {1, 4, 13})
      for (const bool compute : {false, true}) {
        const auto pass = static_cast<BokashiFilter::BoxPass>(p);
        const CpuImage expected = cpuBoxPass(picture, pass, r);
        Effect::OwnedImage output =
            compute ? bokashi_.dispatchPass(upload(picture), pass, expected.width,
                                            expected.height, r,
                                            horizontalPass(pass) ? 1 : expected.width,
                                            horizontalPass(pass) ? expected.height : 1)
                    : bokashi_.drawPass(upload(picture), pass, expected.width, expected.height, r);
        EXPECT_TRUE(imagesNear(download(*output), expected))
            << "pass " << p << ", radius " << r << (compute ? ", compute" : ", pixel");
      }
}

TEST_F(BlurRoutinesTest, ZeroRadiusHandsBackTheInputItself) {
  const CpuImage picture = noisePicture(6, 5, 4);
  const auto check = [&](auto run, const char* what) {
    Effect::OwnedImage input = upload(picture);
    const Media::ResourceBuffer* before = input.get();
    Effect::OwnedImage output = run(std::move(input));
    EXPECT_EQ(output.get(), before) << what;
  };
  check([&](Effect::OwnedImage in) { return bokashi_.blur(std::move(in), 0, 0.0f, 0); }, "blur");
  check([&](Effect::OwnedImage in) { return bokashi_.boxBlur(std::move(in), 0); }, "boxBlur");
  check([&](Effect::OwnedImage in) {
    return bokashi_.drawPass(std::move(in), BokashiFilter::kGrowVertical, 6, 5, 0);
  }, "drawPass");
  check([&](Effect::OwnedImage in) {
    return bokashi_.dispatchPass(std::move(in), BokashiFilter::kGrowVertical, 6, 5, 0, 6, 1);
  }, "dispatchPass");
  Effect::OwnedImage empty = Effect::adoptBuffer(std::make_unique<Media::ResourceBuffer>());
  const Media::ResourceBuffer* before = empty.get();
  EXPECT_EQ(bokashi_.blur(std::move(empty), 10, 0.0f, 0).get(), before);
}

// ---------------------------------------------------------------------------------------------
// The blur.

TEST_F(BlurRoutinesTest, BlurRunsTwoBoxesPerAxisWithTheAspectsRadii) {
  struct Case {
    int radius;
    float aspect;
    int mode;
    int vertical;  // the radii the aspect leaves
    int horizontal;
  };
  const Case cases[] = {
      {10, 0.0f, 0, 10, 10},    // grows by the radius on every side
      {10, 0.0f, 1, 10, 10},    // keeps the size, transparent outside
      {10, 0.0f, 2, 10, 10},    // keeps the size, edges repeated
      {10, 0.5f, 0, 5, 10},     // a positive aspect shortens the vertical blur
      {7, -0.5f, 1, 7, 3},      // a negative one the horizontal blur, truncated
      {10, 1.0f, 0, 0, 10},     // only horizontal
      {10, -1.0f, 2, 10, 0},    // only vertical
      {1, 0.0f, 0, 1, 1},       // the second halves are 0 and skipped
      {9, 0.0f, 5, 9, 9},       // an unknown mode grows
      {120, 0.5f, 1, 60, 120},  // radii summing to 180: pixel shaders
      {100, 0.0f, 2, 100, 100}, // summing to 200: compute shaders
      {101, 0.0f, 0, 101, 101},
  };
  const CpuImage picture = noisePicture(19, 13, 5);
  for (const Case& c : cases) {
    BokashiFilter::BoxPass first = BokashiFilter::kGrowHorizontal;
    if (c.mode == 1) first = BokashiFilter::kCentredHorizontal;
    if (c.mode == 2) first = BokashiFilter::kClampedHorizontal;
    const CpuImage expected = cpuBlur(picture, c.vertical, c.horizontal, first);
    const bool grows = c.mode != 1 && c.mode != 2;
    EXPECT_EQ(expected.width, picture.width + (grows ? 2 * c.horizontal : 0));
    EXPECT_EQ(expected.height, picture.height + (grows ? 2 * c.vertical : 0));
    Effect::OwnedImage output = bokashi_.blur(upload(picture), c.radius, c.aspect, c.mode);
    EXPECT_TRUE(imagesNear(download(*output), expected))
        << "radius " << c.radius << ", aspect " << c.aspect << ", mode " << c.mode;
  }
}

// Keeping the size with repeated edges keeps the border's weight: a flat picture stays flat
// to its last pixel, where the transparent outside would have faded it.
TEST_F(BlurRoutinesTest, RepeatedEdgesKeepAFlatPictureFlat) {
  CpuImage flat(30, 20);
  for (Rgba& pixel : flat.pixels) pixel = {0.25f, 0.5f, 0.75f, 1.0f};
  for (const int radius : {10, 150}) {
    const CpuImage blurred = download(*bokashi_.blur(upload(flat), radius, 0.0f, 2));
    EXPECT_TRUE(imagesNear(blurred, flat)) << radius;
    const CpuImage faded = download(*bokashi_.blur(upload(flat), radius, 0.0f, 1));
    EXPECT_LT(faded.get(0, 0)[3], 0.9f) << radius;
  }
}

TEST_F(BlurRoutinesTest, BoxBlurGrowsByOneBoxOfTheRadiusPerAxis) {
  const CpuImage picture = noisePicture(8, 6, 6);
  const CpuImage expected = cpuBoxPass(cpuBoxPass(picture, BokashiFilter::kGrowVertical, 3),
                                       BokashiFilter::kGrowHorizontal, 3);
  EXPECT_TRUE(imagesNear(download(*bokashi_.boxBlur(upload(picture), 3)), expected));
}

// An instance made by the registry's road shares the prototype's shaders.
TEST_F(BlurRoutinesTest, InstancesShareThePrototypesResource) {
  const auto instance = std::dynamic_pointer_cast<BokashiFilter>(bokashi_.create());
  ASSERT_TRUE(instance);
  instance->shareResource(bokashi_);
  const CpuImage picture = noisePicture(7, 7, 8);
  EXPECT_TRUE(imagesNear(download(*instance->blur(upload(picture), 2, 0.0f, 2)),
                         download(*bokashi_.blur(upload(picture), 2, 0.0f, 2))));
  // A prototype of another class leaves the resource as it is.
  instance->shareResource(radial_);
  EXPECT_TRUE(imagesNear(download(*instance->blur(upload(picture), 2, 0.0f, 2)),
                         cpuBlur(picture, 2, 2, BokashiFilter::kClampedHorizontal)));
}

// The filter itself, with the shared drawing resources whose shaders spread and gather the
// highlights.
using BokashiBodyTest = TestSupport::DrawingResourcesTest;
using TestSupport::gatherHighlights;
using TestSupport::spreadHighlights;

TEST_F(BokashiBodyTest, TheFilterBlursWithItsItemsAndWeighsHighlights) {
  const CpuImage picture = noisePicture(14, 10, 12);
  struct Case {
    double range, light;
    bool fixed;
  };
  for (const Case& c : {Case{4, 0, false}, Case{4, 0.4, true}, Case{3, 20, true},
                        Case{2, 0.5, false}}) {
    BokashiFilter filter;
    filter.range.setValue(c.range, 0);
    filter.lightStrength.setValue(c.light, 0);
    filter.fixedSize.value = c.fixed;
    const auto r = static_cast<int>(c.range);
    const auto first = c.fixed ? BokashiFilter::kClampedHorizontal : BokashiFilter::kGrowHorizontal;
    CpuImage expected = cpuBlur(picture, r, r, first);
    const long light = std::lround(c.light);  // 0.4 is no light; 0.5 is 1 (base 1.15)
    if (light > 0) {
      const float base = static_cast<float>(light) * 0.15f + 1.0f;
      expected = gatherHighlights(cpuBlur(spreadHighlights(picture, base), r, r, first), base);
    }
    Effect::EffectContext context;
    Effect::OwnedImage output = filter.filterVideo(context, upload(picture));
    EXPECT_TRUE(imagesNear(download(*output), expected, 1e-2f)) << c.range << " " << c.light;
  }
}

// Without a range the picture is handed back untouched, light strength or not: the spread
// and the gathering alone would clip its colours to 0 .. 1.
TEST_F(BokashiBodyTest, NoRangeLeavesThePictureAsItIs) {
  BokashiFilter filter;
  filter.range.setValue(0, 0);
  filter.lightStrength.setValue(30, 0);
  CpuImage bright = noisePicture(5, 4, 13);
  bright.at(1, 1) = {3.0f, 2.0f, 1.5f, 1.0f};
  Effect::OwnedImage input = upload(bright);
  const Media::ResourceBuffer* before = input.get();
  Effect::EffectContext context;
  Effect::OwnedImage output = filter.filterVideo(context, std::move(input));
  EXPECT_EQ(output.get(), before);
  EXPECT_TRUE(imagesNear(download(*output), bright));
}

// ---------------------------------------------------------------------------------------------
// The radial blur.

// The plain mean of the texels on the way from each output pixel towards the centre, read
// at the texel each position falls in.
CpuImage cpuRadial(const CpuImage& input, const BlurFilter::RadialLayout& layout) {
  CpuImage output(layout.right - layout.left, layout.bottom - layout.top);
  for (int y = 0; y < output.height; ++y)
    for (int x = 0; x < output.width; ++x) {
      const float px = static_cast<float>(x) + 0.5f + static_cast<float>(layout.left);
      const float py = static_cast<float>(y) + 0.5f + static_cast<float>(layout.top);
      const float wx = (layout.center[0] - px) * layout.sampleStep;
      const float wy = (layout.center[1] - py) * layout.sampleStep;
      Rgba sum{0, 0, 0, 0};
      for (int i = 0; i < layout.sampleNum; ++i) {
        const Rgba texel = input.get(static_cast<int>(std::floor(px + wx * static_cast<float>(i))),
                                     static_cast<int>(std::floor(py + wy * static_cast<float>(i))));
        for (int c = 0; c < 4; ++c) sum[c] += texel[c];
      }
      for (int c = 0; c < 4; ++c)
        output.at(x, y)[c] = sum[c] / static_cast<float>(layout.sampleNum);
    }
  return output;
}

TEST(RadialLayoutTest, OutputGrowsToHoldTheSmearAndThePictureStaysInPlace) {
  struct Case {
    int width, height;
    float range, x, y;
    bool fixed;
    int left, top, right, bottom;
    int samples;
    float shiftX, shiftY;
  };
  const Case cases[] = {
      // k = 2 about the middle: twice the size, centred as before.
      {100, 100, 50, 0, 0, false, -50, -50, 150, 150, 70, 0, 0},
      // The centre moved right: the image grows to the left, and the picture moves with it.
      {100, 100, 50, 50, 0, false, -100, -50, 100, 150, 111, -50, 0},
      // Fixed size: the same rectangle, the sample count as without it.
      {100, 100, 50, 50, 0, true, 0, 0, 100, 100, 111, 0, 0},
      // A small range: at least 10 samples.
      {40, 30, 1, 0, 0, false, 0, 0, 40, 30, 10, 0, 0},
      // A range of 100 % would reach infinity; it is taken as 99 (k = 100).
      {10, 1, 150, 0, 0, false, -495, -50, 505, 51, 10, 0, 0},
      // Wider than a texture may be: cut to 16384 on the right, and the picture moves.
      {4000, 1, 80, 0, 0, false, -8000, -2, 8384, 3, 4000, -1808, 0},
  };
  for (const Case& c : cases) {
    const auto layout =
        BlurFilter::radialLayout(c.width, c.height, c.range, c.x, c.y, c.fixed);
    EXPECT_EQ(layout.left, c.left) << c.width << " " << c.range << " " << c.x;
    EXPECT_EQ(layout.top, c.top) << c.width << " " << c.range << " " << c.x;
    EXPECT_EQ(layout.right, c.right) << c.width << " " << c.range << " " << c.x;
    EXPECT_EQ(layout.bottom, c.bottom) << c.width << " " << c.range << " " << c.x;
    EXPECT_EQ(layout.sampleNum, c.samples) << c.width << " " << c.range << " " << c.x;
    EXPECT_FLOAT_EQ(layout.shift[0], c.shiftX) << c.width << " " << c.range << " " << c.x;
    EXPECT_FLOAT_EQ(layout.shift[1], c.shiftY) << c.width << " " << c.range << " " << c.x;
    EXPECT_FLOAT_EQ(layout.sampleStep, std::min(c.range, 99.0f) * 0.01f / c.samples);
  }
}

TEST_F(BlurRoutinesTest, RadialBlurMatchesTheCpuAndMovesTheCentreOffset) {
  const CpuImage picture = noisePicture(24, 16, 9);
  struct Case {
    float range, x, y;
    bool fixed;
  };
  for (const Case& c : {Case{30, 3, -2, false}, Case{30, 3, -2, true}, Case{60, -20, 9, false}}) {
    const auto layout = BlurFilter::radialLayout(24, 16, c.range, c.x, c.y, c.fixed);
    Effect::OwnedImage input = upload(picture);
    float cx = 1.0f, cy = 2.0f;
    Effect::OwnedImage output =
        BlurFilter::radialBlur(radial_, *input, cx, cy, c.range, c.x, c.y, c.fixed);
    EXPECT_TRUE(imagesNear(download(*output), cpuRadial(picture, layout)))
        << c.range << " " << c.x << " " << c.fixed;
    EXPECT_FLOAT_EQ(cx, 1.0f - layout.shift[0]);
    EXPECT_FLOAT_EQ(cy, 2.0f - layout.shift[1]);
    // The input is only borrowed.
    EXPECT_TRUE(imagesNear(download(*input), picture));
  }
}

TEST_F(BlurRoutinesTest, RadialBlurWithoutRangeGivesACopy) {
  const CpuImage picture = noisePicture(9, 7, 10);
  Effect::OwnedImage input = upload(picture);
  for (const float range : {0.0f, -5.0f}) {
    float cx = 0.0f, cy = 0.0f;
    Effect::OwnedImage output = BlurFilter::radialBlur(radial_, *input, cx, cy, range, 4, 4, false);
    EXPECT_NE(output.get(), input.get());
    EXPECT_TRUE(imagesNear(download(*output), picture));
    EXPECT_EQ(cx, 0.0f);
    EXPECT_EQ(cy, 0.0f);
  }
}

}  // namespace
