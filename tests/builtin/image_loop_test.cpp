// "画像ループ": the picture repeated in one image, scrolled with wrap-around (against the
// wrapping sampler computed here, and cut at a texture's side); and repeated as individual
// objects, each run through the rest of the chain with its own index and position and
// drawn where the repeated image would be.
#include "builtin/filter/image_loop.h"

#include <gtest/gtest.h>

#include <optional>

#include "pieces_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::PieceRecorder;
using TestSupport::Rgba;

struct Loop {
  int columns = 1, rows = 1;
  double ox = 0, oy = 0;
  bool separate = false;
};

std::shared_ptr<Effect::ImageLoop> makeLoop(const Loop& l) {
  auto loop = std::make_shared<Effect::ImageLoop>();
  loop->columns.setValue(l.columns, 0);
  loop->rows.setValue(l.rows, 0);
  loop->offsetX.setValue(l.ox, 0);
  loop->offsetY.setValue(l.oy, 0);
  loop->separateObjects.value = l.separate;
  return loop;
}

class ImageLoopTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  static Effect::OwnedImage run(const CpuImage& source, const Loop& l) {
    Effect::EffectContext context;
    return makeLoop(l)->filterVideo(context, TestSupport::upload(source));
  }

  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(ImageLoopTest, OneImageRepeatsThePictureScrolled) {
  const CpuImage source = TestSupport::noisePicture(6, 4, 21);
  const Loop cases[] = {
      {1, 1, 0.5, 0},     // rolled by half its width, whole pixels
      {3, 2, 0, 0},       // three times as wide, twice as high
      {3, 2, 0.25, -0.5},
      {2, 1, 1.3, 0.1},   // past a whole turn, between pixels
  };
  for (const Loop& l : cases) {
    const Effect::OwnedImage image = run(source, l);
    ASSERT_TRUE(image);
    const CpuImage result = TestSupport::download(*image);
    ASSERT_EQ(result.width, 6 * l.columns);
    ASSERT_EQ(result.height, 4 * l.rows);
    EXPECT_TRUE(TestSupport::matchesEverywhere(result, [&](int x, int y) -> std::optional<Rgba> {
      const double u = l.ox + (x + 0.5) / 6.0, v = l.oy + (y + 0.5) / 4.0;
      return TestSupport::sample(source, float(u), float(v), TestSupport::kLinearWrap);
    })) << l.columns << " x " << l.rows << " by " << l.ox << ", " << l.oy;
  }
}

TEST_F(ImageLoopTest, HalfATurnRollsByHalfTheWidth) {
  const CpuImage source = TestSupport::noisePicture(6, 2, 4);
  const Effect::OwnedImage image = run(source, {1, 1, 0.5, 0});
  ASSERT_TRUE(image);
  const CpuImage result = TestSupport::download(*image);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_TRUE(TestSupport::nearHalf(result.get(x, y), source.get((x + 3) % 6, y), 2e-3f))
          << x << ", " << y;
}

// Repetitions beyond a texture's side are cut off there, at their own size.
TEST_F(ImageLoopTest, AGridWiderThanATextureIsCut) {
  const CpuImage source = TestSupport::pictureOf(
      6000, 1, [](int x, int) { return Rgba{float(x % 7) / 7, 0, 0, 1}; });
  const Effect::OwnedImage image = run(source, {3, 1, 0, 0});
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width(), 16384u);
  const CpuImage result = TestSupport::download(*image);
  for (const int x : {0, 5, 6000 + 3, 12000 + 4, 16383})
    EXPECT_TRUE(TestSupport::nearHalf(result.get(x, 0), source.get(x % 6000, 0), 2e-3f)) << x;
}

class ImageLoopRenderTest : public TestSupport::PiecesRenderTest {};

// Three individual objects side by side: indices 0 to 2 of 3, moved by -w, 0 and +w, each
// the scrolled picture; on the frame they show the same as the one repeated image.
TEST_F(ImageLoopRenderTest, IndividualObjectsAreDrawnWhereTheRepetitionsLie) {
  const CpuImage picture = TestSupport::noisePicture(6, 4, 9);
  auto recorder = std::make_shared<PieceRecorder>();
  const auto object = place(picture, {makeLoop({3, 1, 0.5, 0, false})});
  const CpuImage asOneImage = frame();

  object->effects.back() = makeLoop({3, 1, 0.5, 0, true});
  object->effects.push_back(recorder);
  const CpuImage asObjects = frame();

  ASSERT_EQ(recorder->pieces.size(), 3u);
  for (int j = 0; j < 3; ++j) {
    const PieceRecorder::Piece& piece = recorder->pieces[static_cast<std::size_t>(j)];
    EXPECT_EQ(piece.index, j);
    EXPECT_EQ(piece.count, 3);
    EXPECT_FLOAT_EQ(piece.x, float((j - 1) * 6));
    EXPECT_FLOAT_EQ(piece.y, 0.0f);
    EXPECT_EQ(piece.width, 6);
    EXPECT_EQ(piece.height, 4);
  }
  EXPECT_GT(TestSupport::coverage(asOneImage), 5.0f) << "the repeated picture is on the frame";
  EXPECT_TRUE(TestSupport::imagesNear(asObjects, asOneImage));
}

// An object that is already piece k of c gives its repetitions the indices n k to n k + n - 1
// of n c; the context it came with ends marked as drawn in pieces, with the last index, and
// learns that a later filter made a piece a frame image.
TEST_F(ImageLoopRenderTest, PiecesNumberOnFromTheObjectsIndex) {
  auto recorder = std::make_shared<PieceRecorder>();
  recorder->markFrameImage = true;
  auto loop = makeLoop({3, 1, 0, 0, true});
  const auto object = place(TestSupport::noisePicture(4, 2, 1), {loop, recorder});
  auto output = std::make_shared<TestSupport::AnchorRecordingOutput>();
  object->effects[1] = output;
  Media::RenderBuffer target(64, 48);
  Effect::EffectContext context = chainContext(object, target);
  context.partIndex = 2;
  context.partCount = 5;

  EXPECT_FALSE(loop->filterVideo(context, TestSupport::upload(TestSupport::noisePicture(4, 2, 1))));
  ASSERT_EQ(recorder->pieces.size(), 3u);
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(recorder->pieces[static_cast<std::size_t>(j)].index, 6 + j);
    EXPECT_EQ(recorder->pieces[static_cast<std::size_t>(j)].count, 15);
  }
  EXPECT_EQ(context.partIndex, 9);
  EXPECT_EQ(context.partCount, 15);
  EXPECT_TRUE(context.individualParts);
  EXPECT_TRUE(context.frameImage);
  // The object's handles, once, for the whole of what was drawn, as a point.
  ASSERT_EQ(output->requests.size(), 1u);
  EXPECT_EQ(output->requests[0].width, 12);
  EXPECT_EQ(output->requests[0].height, 2);
  EXPECT_TRUE(output->requests[0].individualParts);
}

}  // namespace
