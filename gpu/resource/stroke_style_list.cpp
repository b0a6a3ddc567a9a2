#include "gpu/resource/stroke_style_list.h"

#include <vector>

#include "system/exception.h"

namespace Resource {
namespace {

using Media::CapStyle;
using Media::LineJoin;
using Media::StrokeStyle;

struct StyleRecipe {
  StrokeStyle::Properties properties;
  std::vector<float> dashes;  // in stroke widths; empty for a solid line
};

StyleRecipe recipe(std::size_t index) {
  switch (index) {
    case StrokeStyleList::kDot:
      return {{CapStyle::Flat, CapStyle::Flat, LineJoin::Miter, 10.0f, 0.0f}, {3.0f, 3.0f}};
    case StrokeStyleList::kDash:
      // The standard dash: two widths drawn, two left out.
      return {{CapStyle::Flat, CapStyle::Flat, LineJoin::Miter, 10.0f, 0.0f}, {2.0f, 2.0f}};
    case StrokeStyleList::kRound:
      return {{CapStyle::Round, CapStyle::Round, LineJoin::Round, 1.0f, 0.0f}, {}};
    default:
      return {{CapStyle::Flat, CapStyle::Flat, LineJoin::Bevel, 1.0f, 0.0f}, {}};
  }
}

}  // namespace

StrokeStyleList::StrokeStyleList() {
  for (std::size_t i = 0; i < kCount; ++i)
    styles_[i].setGenerator([i](Media::ComResourcePtr<StrokeStyle>* slot) {
      StyleRecipe made = recipe(i);
      *slot = std::make_unique<StrokeStyle>(made.properties, std::move(made.dashes));
    });
}

Media::StrokeStyle* StrokeStyleList::get(std::size_t index) {
  if (index >= kCount)
    throw System::makeFormattedException("Resource::StrokeStyleList::get",
                                         "stroke style index out of range.", "index=%zu", index);
  return styles_[index].get();
}

}  // namespace Resource
