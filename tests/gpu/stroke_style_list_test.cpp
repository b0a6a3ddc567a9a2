// The four shared stroke styles: their caps, joins, miter limits and dashes, the dash
// lengths they give a line of a width, and the error of an index past them.
#include <cairo.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gpu/resource/stroke_style_list.h"

namespace {

using Media::CapStyle;
using Media::LineJoin;
using Resource::StrokeStyleList;

struct ContextDeleter {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};
struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};

TEST(StrokeStyleList, EachStyleHasItsCapsJoinLimitAndDashes) {
  struct Case {
    std::size_t index;
    CapStyle cap;
    LineJoin join;
    float miterLimit;
    std::vector<float> dashes;  // in stroke widths
    cairo_line_cap_t cairoCap;
    cairo_line_join_t cairoJoin;
  };
  const Case cases[] = {
      {StrokeStyleList::kDot, CapStyle::Flat, LineJoin::Miter, 10.0f, {3.0f, 3.0f},
       CAIRO_LINE_CAP_BUTT, CAIRO_LINE_JOIN_MITER},
      {StrokeStyleList::kDash, CapStyle::Flat, LineJoin::Miter, 10.0f, {2.0f, 2.0f},
       CAIRO_LINE_CAP_BUTT, CAIRO_LINE_JOIN_MITER},
      {StrokeStyleList::kRound, CapStyle::Round, LineJoin::Round, 1.0f, {}, CAIRO_LINE_CAP_ROUND,
       CAIRO_LINE_JOIN_ROUND},
      {StrokeStyleList::kBevel, CapStyle::Flat, LineJoin::Bevel, 1.0f, {}, CAIRO_LINE_CAP_BUTT,
       CAIRO_LINE_JOIN_BEVEL},
  };
  StrokeStyleList list;
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const Media::StrokeStyle* style = list.get(c.index);
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(list.get(c.index), style) << "made once";
    const auto& properties = style->properties();
    EXPECT_EQ(properties.startCap, c.cap);
    EXPECT_EQ(properties.endCap, c.cap);
    EXPECT_EQ(properties.lineJoin, c.join);
    EXPECT_EQ(properties.miterLimit, c.miterLimit);
    EXPECT_EQ(properties.dashOffset, 0.0f);
    EXPECT_EQ(style->dashes(), c.dashes);

    // Applied to a line 2.5 pixels wide, the dashes scale with the width.
    std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
    style->apply(context.get(), 2.5f);
    EXPECT_EQ(cairo_get_line_width(context.get()), 2.5);
    EXPECT_EQ(cairo_get_line_cap(context.get()), c.cairoCap);
    EXPECT_EQ(cairo_get_line_join(context.get()), c.cairoJoin);
    EXPECT_EQ(cairo_get_miter_limit(context.get()), c.miterLimit);
    ASSERT_EQ(cairo_get_dash_count(context.get()), static_cast<int>(c.dashes.size()));
    std::vector<double> lengths(c.dashes.size());
    double offset = -1.0;
    cairo_get_dash(context.get(), lengths.data(), &offset);
    for (std::size_t i = 0; i < c.dashes.size(); ++i)
      EXPECT_DOUBLE_EQ(lengths[i], c.dashes[i] * 2.5) << i;
    if (!c.dashes.empty()) {
      EXPECT_EQ(offset, 0.0);
    }
  }
}

TEST(StrokeStyleList, AnIndexPastTheStylesThrows) {
  StrokeStyleList list;
  try {
    list.get(StrokeStyleList::kCount);
    FAIL() << "no error";
  } catch (const std::exception& failure) {
    const std::string text = failure.what();
    EXPECT_NE(text.find("stroke style index out of range."), std::string::npos) << text;
  }
}

}  // namespace
