// "モザイク" on small pictures against the block means computed here: blocks smaller and
// larger than the picture, a block border through the centre, edge rows and columns repeated
// into the partial blocks; a size of 1 hands the picture back.
#include "builtin/filter/mosaic_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "colour_reference.h"
#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

CpuImage mosaicOnCpu(const CpuImage& source, int a) {
  const int ox = source.width % (2 * a) / 2;
  const int oy = source.height % (2 * a) / 2;
  CpuImage result(source.width, source.height);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      const int column = (x + a - ox) / a * a + ox - a;
      const int row = (y + a - oy) / a * a + oy - a;
      Rgba sum{};
      for (int j = row; j < row + a; ++j)
        for (int i = column; i < column + a; ++i) {
          const Rgba p = source.get(std::clamp(i, 0, source.width - 1),
                                    std::clamp(j, 0, source.height - 1));
          for (int k = 0; k < 4; ++k) sum[k] += p[k];
        }
      result.at(x, y) = TestSupport::scaled(sum, 1.0f / static_cast<float>(a * a));
    }
  return result;
}

class MosaicFilterTest : public TestSupport::FilterWorldTest {
 protected:
  static CpuImage run(const CpuImage& source, double size) {
    Effect::MosaicFilter mosaic;
    mosaic.size.setValue(size, 0);
    return TestSupport::filtered(mosaic, source);
  }
};

TEST_F(MosaicFilterTest, BlocksTakeTheMeanOfWhatTheyCover) {
  const struct {
    int width, height;
    double size;
  } cases[] = {{10, 7, 4}, {9, 9, 3}, {13, 6, 2}, {10, 7, 20}, {12, 8, 5}};
  for (const auto& c : cases) {
    const CpuImage source = TestSupport::randomPicture(c.width, c.height, 89);
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.size),
                                        mosaicOnCpu(source, static_cast<int>(std::lround(c.size)))))
        << c.width << " x " << c.height << ", size " << c.size;
  }
}

TEST_F(MosaicFilterTest, ABlockBorderPassesThroughTheCentre) {
  // Ten columns of their own shades in blocks of 4: -3..0, 1..4, 5..8, 9..12.
  const CpuImage source = TestSupport::pictureOf(10, 1, [](int x, int) {
    const float v = 0.05f + 0.09f * static_cast<float>(x);
    return Rgba{v, v, v, 1};
  });
  const CpuImage blocks = run(source, 4);
  const auto shade = [&](int x) { return blocks.get(x, 0)[0]; };
  EXPECT_NEAR(shade(1), shade(4), 1e-3f);
  EXPECT_NEAR(shade(5), shade(8), 1e-3f);
  EXPECT_GT(shade(1) - shade(0), 0.05f);
  EXPECT_GT(shade(5) - shade(4), 0.05f);
  EXPECT_GT(shade(9) - shade(8), 0.05f);
  // The first block repeats column 0 three times: (3 x 0.05 + 0.05) / 4.
  EXPECT_NEAR(shade(0), 0.05f, 2e-3f);
}

TEST_F(MosaicFilterTest, BlocksOfOnePixelHandThePictureBack) {
  Effect::MosaicFilter mosaic;
  mosaic.size.setValue(1, 0);
  EXPECT_TRUE(TestSupport::handsBack(mosaic, TestSupport::randomPicture(5, 4, 97)));
}

}  // namespace
