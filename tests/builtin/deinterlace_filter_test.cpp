// "インターレース解除" on small pictures against the rows rebuilt here: odd rows from their
// neighbours, even rows from theirs, every row blended 1:2:1, the picture's first and last
// rows repeated beyond it.
#include "builtin/filter/deinterlace_filter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

CpuImage deinterlaceOnCpu(const CpuImage& in, int type) {
  CpuImage out(in.width, in.height);
  for (int y = 0; y < in.height; ++y)
    for (int x = 0; x < in.width; ++x) {
      const Rgba p = in.get(x, y);
      const Rgba above = in.get(x, std::max(y - 1, 0));
      const Rgba below = in.get(x, std::min(y + 1, in.height - 1));
      for (int c = 0; c < 4; ++c) {
        if (type == 2)
          out.at(x, y)[c] = (2 * p[c] + above[c] + below[c]) / 4;
        else
          out.at(x, y)[c] = y % 2 != type ? (above[c] + below[c]) / 2 : p[c];
      }
    }
  return out;
}

class DeinterlaceFilterTest : public TestSupport::FilterRunTest {
 protected:
  static CpuImage run(const CpuImage& source, int type) {
    Effect::DeinterlaceFilter filter;
    filter.method.value = type;
    return runOn(filter, source);
  }
};

TEST_F(DeinterlaceFilterTest, RowsMatchTheReference) {
  const struct {
    const char* what;
    int width, height;
  } pictures[] = {{"several rows", 5, 7}, {"one row", 4, 1}, {"two rows", 3, 2}};
  for (const auto& picture : pictures) {
    const CpuImage source = TestSupport::randomPicture(picture.width, picture.height, 11);
    for (int type = 0; type <= 2; ++type)
      EXPECT_TRUE(TestSupport::imagesNear(run(source, type), deinterlaceOnCpu(source, type)))
          << picture.what << ", method " << type;
  }
}

TEST_F(DeinterlaceFilterTest, OddKeepsEvenRowsAndEvenKeepsOddRows) {
  // Rows alternate white and black.
  const CpuImage stripes = TestSupport::pictureOf(2, 4, [](int, int y) -> Rgba {
    return y % 2 == 0 ? Rgba{1, 1, 1, 1} : Rgba{0, 0, 0, 1};
  });
  const CpuImage odd = run(stripes, 0);
  EXPECT_TRUE(TestSupport::nearHalf(odd.get(0, 0), {1, 1, 1, 1}));
  EXPECT_TRUE(TestSupport::nearHalf(odd.get(0, 1), {1, 1, 1, 1})) << "rebuilt from white rows";
  EXPECT_TRUE(TestSupport::nearHalf(odd.get(0, 3), {0.5f, 0.5f, 0.5f, 1}))
      << "the last row from row 2 and itself";
  const CpuImage even = run(stripes, 1);
  EXPECT_TRUE(TestSupport::nearHalf(even.get(1, 1), {0, 0, 0, 1}));
  EXPECT_TRUE(TestSupport::nearHalf(even.get(1, 2), {0, 0, 0, 1})) << "rebuilt from black rows";
  EXPECT_TRUE(TestSupport::nearHalf(even.get(1, 0), {0.5f, 0.5f, 0.5f, 1}))
      << "the first row from itself and row 1";
}

}  // namespace
