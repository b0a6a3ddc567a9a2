// "オブジェクト分割": the picture cut into tiles that cover it exactly (bounds by integer
// division), each run through the rest of the chain as an object of its own, placed where it
// lay, numbered on from the object's own index; more tiles than pixels leave empty tiles out.
#include "builtin/filter/object_divide.h"

#include <gtest/gtest.h>

#include "pieces_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::PieceRecorder;
using TestSupport::Rgba;

std::shared_ptr<Effect::ObjectDivide> makeDivide(int columns, int rows) {
  auto divide = std::make_shared<Effect::ObjectDivide>();
  divide->columns.setValue(columns, 0);
  divide->rows.setValue(rows, 0);
  return divide;
}

class ObjectDivideTest : public TestSupport::PiecesRenderTest {
 protected:
  // The frame of the object as it is, then with its last effect replaced by `divide` and a
  // recorder after it.
  void renderBothWays(const CpuImage& picture, std::shared_ptr<Effect::ObjectDivide> divide) {
    const auto object = place(picture, {});
    whole_ = frame();
    object->effects.push_back(std::move(divide));
    object->effects.push_back(recorder_);
    divided_ = frame();
  }

  std::shared_ptr<PieceRecorder> recorder_ = std::make_shared<PieceRecorder>();
  CpuImage whole_;
  CpuImage divided_;
};

TEST_F(ObjectDivideTest, TilesCoverThePictureAndSitWhereTheyLay) {
  // Whole pixels on the frame, so that the frame drawn whole and in tiles is the same.
  renderBothWays(TestSupport::noisePicture(10, 6, 2), makeDivide(3, 2));
  // Columns 0-3, 3-6, 6-10; rows 0-3, 3-6. Offsets from the picture's centre (5, 3).
  const struct {
    int width, height;
    float x, y;
  } tiles[] = {{3, 3, -3.5f, -1.5f}, {3, 3, -0.5f, -1.5f}, {4, 3, 3, -1.5f},
               {3, 3, -3.5f, 1.5f},  {3, 3, -0.5f, 1.5f},  {4, 3, 3, 1.5f}};
  ASSERT_EQ(recorder_->pieces.size(), std::size(tiles));
  for (std::size_t i = 0; i < std::size(tiles); ++i) {
    const PieceRecorder::Piece& piece = recorder_->pieces[i];
    EXPECT_EQ(piece.width, tiles[i].width) << i;
    EXPECT_EQ(piece.height, tiles[i].height) << i;
    EXPECT_FLOAT_EQ(piece.x, tiles[i].x) << i;
    EXPECT_FLOAT_EQ(piece.y, tiles[i].y) << i;
    EXPECT_EQ(piece.index, int(i));
    EXPECT_EQ(piece.count, 6);
  }
  EXPECT_GT(TestSupport::coverage(whole_), 10.0f) << "the picture is on the frame";
  EXPECT_TRUE(TestSupport::imagesNear(divided_, whole_));
}

TEST_F(ObjectDivideTest, MoreTilesThanPixelsLeaveTheEmptyOnesOut) {
  renderBothWays(TestSupport::noisePicture(4, 3, 8), makeDivide(6, 1));
  // Bounds 0, 0, 1, 2, 2, 3, 4: tiles 0 and 3 are empty but keep their numbers.
  std::vector<int> indices;
  for (const PieceRecorder::Piece& piece : recorder_->pieces) {
    indices.push_back(piece.index);
    EXPECT_EQ(piece.width, 1);
    EXPECT_EQ(piece.height, 3);
  }
  EXPECT_EQ(indices, (std::vector<int>{1, 2, 4, 5}));
  EXPECT_TRUE(TestSupport::imagesNear(divided_, whole_));
}

// Piece k of c gives its tiles the indices n k to n k + n - 1 of n c; the context it came with
// ends marked as drawn in pieces and learns that a later filter made a tile a frame image.
TEST_F(ObjectDivideTest, TilesNumberOnFromTheObjectsIndex) {
  recorder_->markFrameImage = true;
  auto divide = makeDivide(2, 2);
  const auto object = place(TestSupport::noisePicture(4, 4, 1), {divide, recorder_});
  auto output = std::make_shared<TestSupport::AnchorRecordingOutput>();
  object->effects[1] = output;
  Media::RenderBuffer target(64, 48);
  Effect::EffectContext context = chainContext(object, target);
  context.partIndex = 1;
  context.partCount = 2;

  EXPECT_FALSE(
      divide->filterVideo(context, TestSupport::upload(TestSupport::noisePicture(4, 4, 1))));
  ASSERT_EQ(recorder_->pieces.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(recorder_->pieces[static_cast<std::size_t>(i)].index, 4 + i);
    EXPECT_EQ(recorder_->pieces[static_cast<std::size_t>(i)].count, 8);
  }
  EXPECT_EQ(context.partIndex, 8);
  EXPECT_TRUE(context.individualParts);
  EXPECT_TRUE(context.frameImage);
  // The object's handles, once, for the whole of what was drawn, as a point.
  ASSERT_EQ(output->requests.size(), 1u);
  EXPECT_EQ(output->requests[0].width, 4);
  EXPECT_EQ(output->requests[0].height, 4);
  EXPECT_TRUE(output->requests[0].individualParts);
}

}  // namespace
