// "縁取り" on small pictures against the outline computed here: drawn texel by texel up to a
// size of 40 and from a shrunk copy beyond, the blur that softens it, the picture placed over
// its middle, and a size of 0 that returns the picture itself.
#include "builtin/filter/border_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double size = 5, blur = 5;
  uint32_t rgb = 0xFFFFFF;
};

float weight(int i, int j, float inverseRange) {
  return 1.0f - std::min(std::sqrt(float(i * i + j * j)) * inverseRange, 1.0f);
}

Rgba eased(float sum, float limit, const Rgba& color) {
  const float t = std::clamp(sum / limit, 0.0f, 1.0f);
  const float k = t * t * (3.0f - 2.0f * t);
  return {color[0] * k, color[1] * k, color[2] * k, color[3] * k};
}

// The mean of `m` texels along each axis, the edge repeated (rows first, then columns).
CpuImage shrunkOnCpu(const CpuImage& input, int m) {
  const int w = (input.width + m - 1) / m, h = (input.height + m - 1) / m;
  CpuImage rows(input.width, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < input.width; ++x)
      for (int i = 0; i < m; ++i)
        for (int c = 0; c < 4; ++c)
          rows.at(x, y)[c] += input.get(x, std::min(y * m + i, input.height - 1))[c] / float(m);
  CpuImage out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int i = 0; i < m; ++i)
        for (int c = 0; c < 4; ++c)
          out.at(x, y)[c] += rows.get(std::min(x * m + i, input.width - 1), y)[c] / float(m);
  return out;
}

// The outline on the CPU with the picture over its middle.
CpuImage borderOnCpu(const CpuImage& input, const Settings& s) {
  const int r = static_cast<int>(std::lround(s.size));
  const int b = static_cast<int>(std::lround(s.blur));
  const Rgba color{float(s.rgb >> 16 & 0xFF) / 255.0f, float(s.rgb >> 8 & 0xFF) / 255.0f,
                   float(s.rgb & 0xFF) / 255.0f, 1.0f};
  CpuImage out(input.width + 2 * r, input.height + 2 * r);
  if (r <= 40) {
    const float reach = float(r * b) / 100.0f + 1.0f;
    for (int y = 0; y < out.height; ++y)
      for (int x = 0; x < out.width; ++x) {
        float sum = 0;
        for (int j = -r; j <= r; ++j)
          for (int i = -r; i <= r; ++i)
            sum += input.get(x - r + i, y - r + j)[3] * weight(i, j, 1.0f / float(r));
        out.at(x, y) = eased(sum, reach * reach, color);
      }
  } else {
    const int m = r / 40 + 1;
    const int o = (r + r / 40 + 1) / m;
    const CpuImage shrunk = shrunkOnCpu(input, m);
    const float u = 1.0f / float(input.width), v = 1.0f / float(input.height);
    const float reach = float(2 * (m - 1) + r);
    const float stepU = reach * u / float(o), stepV = reach * v / float(o);
    const float limit = float(o * b) / 100.0f + 1.0f;
    for (int y = 0; y < out.height; ++y)
      for (int x = 0; x < out.width; ++x) {
        const float cu = (float(x) + 0.5f - float(r)) * u, cv = (float(y) + 0.5f - float(r)) * v;
        float sum = 0;
        for (int j = -o; j <= o; ++j)
          for (int i = -o; i <= o; ++i) {
            const float w = weight(i, j, 1.0f / float(o));
            if (w > 0)
              sum += TestSupport::sample(shrunk, cu + float(i) * stepU, cv + float(j) * stepV,
                                         TestSupport::kLinearBorder)[3] * w;
          }
        out.at(x, y) = eased(sum, limit * limit, color);
      }
  }
  for (int y = 0; y < input.height; ++y)
    for (int x = 0; x < input.width; ++x) {
      const Rgba p = input.get(x, y);
      Rgba& q = out.at(x + r, y + r);
      for (int c = 0; c < 4; ++c) q[c] = p[c] + q[c] * (1.0f - p[3]);
    }
  return out;
}

class BorderFilterTest : public TestSupport::FilterRunTest {
 protected:
  static void set(Effect::BorderFilter& border, const Settings& s) {
    border.size.setValue(s.size, 0);
    border.blur.setValue(s.blur, 0);
    border.color.setRgb(s.rgb);
  }
  static CpuImage run(const CpuImage& source, const Settings& s) {
    Effect::BorderFilter border;
    set(border, s);
    return runOn(border, source);
  }
};

// A soft disc beside an opaque bar in a clear picture.
CpuImage shape(int width, int height) {
  return TestSupport::pictureOf(width, height, [](int x, int y) -> Rgba {
    const float dx = float(x) - 4.5f, dy = float(y) - 4.5f;
    const float a = std::clamp(1.5f - std::sqrt(dx * dx + dy * dy) / 3.0f, 0.0f, 1.0f);
    if (x >= 10 && x < 13 && y >= 2) return {0.2f, 0.6f, 0.2f, 1};
    return {0.8f * a, 0.1f * a, 0.3f * a, a};
  });
}

TEST_F(BorderFilterTest, OutlinesMatchTheReference) {
  const struct {
    const char* what;
    Settings settings;
    float tolerance;
  } cases[] = {
      {"the defaults", {}, 4e-3f},
      {"hard, coloured", {.size = 3, .blur = 0, .rgb = 0x3366FF}, 4e-3f},
      {"thin and fully soft", {.size = 1.4, .blur = 100, .rgb = 0xFF0000}, 4e-3f},
      {"40 is still drawn texel by texel", {.size = 40, .blur = 20, .rgb = 0x00FF80}, 4e-3f},
      {"41 is drawn from a copy shrunk by 2", {.size = 41, .blur = 10, .rgb = 0x808080}, 0.01f},
      {"90 from a copy shrunk by 3", {.size = 90, .blur = 50}, 0.01f},
  };
  const CpuImage source = shape(16, 12);
  for (const auto& c : cases)
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.settings), borderOnCpu(source, c.settings),
                                        c.tolerance))
        << c.what;
}

TEST_F(BorderFilterTest, AHardOutlineIsSolidAroundAnOpaqueSquare) {
  CpuImage square(20, 20);
  for (Rgba& p : square.pixels) p = {0, 0, 0.5f, 1};
  const CpuImage outlined = run(square, {.size = 5, .blur = 0, .rgb = 0xFF0000});
  ASSERT_EQ(outlined.width, 30);
  ASSERT_EQ(outlined.height, 30);
  EXPECT_TRUE(TestSupport::nearHalf(outlined.get(15, 15), {0, 0, 0.5f, 1})) << "the picture";
  // Three pixels out the weighted alpha still reaches 1; four out it does not.
  EXPECT_TRUE(TestSupport::nearHalf(outlined.get(2, 15), {1, 0, 0, 1})) << "beside it";
  EXPECT_TRUE(TestSupport::nearHalf(outlined.get(15, 27), {1, 0, 0, 1})) << "below it";
  EXPECT_GT(outlined.get(15, 28)[3], 0.5f);
  EXPECT_LT(outlined.get(15, 28)[3], 0.95f);
  EXPECT_TRUE(TestSupport::nearHalf(outlined.get(0, 0), {0, 0, 0, 0})) << "beyond the size";
}

TEST_F(BorderFilterTest, SizeZeroReturnsThePictureItself) {
  for (const double size : {0.0, 0.49}) {
    Effect::BorderFilter border;
    set(border, {.size = size});
    EXPECT_TRUE(returnsItsInput(border, shape(16, 12))) << size;
  }
}

TEST_F(BorderFilterTest, ShrinkAveragesBlocksWithTheEdgeRepeated) {
  const CpuImage source = TestSupport::randomPicture(11, 7, 3);
  const Effect::OwnedImage input = TestSupport::upload(source);
  for (const int factor : {2, 3, 4}) {
    Effect::OwnedImage shrunk = Effect::BorderFilter::shrink(*input, factor);
    EXPECT_TRUE(TestSupport::imagesNear(TestSupport::download(*shrunk),
                                        shrunkOnCpu(source, factor)))
        << factor;
  }
}

}  // namespace
