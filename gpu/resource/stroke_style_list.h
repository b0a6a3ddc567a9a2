#pragma once
// The four stroke styles the program shares: dotted lines (0), dashed lines (1), rounded
// lines (2: text edges and rounded figure outlines) and bevelled lines (3). Each is made on
// its first use.
#include <array>
#include <cstddef>

#include "gpu/com_resource.h"
#include "gpu/draw2d/draw_resource.h"

namespace Resource {

class StrokeStyleList {
 public:
  static constexpr std::size_t kCount = 4;
  enum Index : std::size_t { kDot = 0, kDash = 1, kRound = 2, kBevel = 3 };

  StrokeStyleList();
  StrokeStyleList(const StrokeStyleList&) = delete;
  StrokeStyleList& operator=(const StrokeStyleList&) = delete;

  Media::StrokeStyle* get(std::size_t index);

 private:
  std::array<Media::ComResource<Media::StrokeStyle>, kCount> styles_;
};

}  // namespace Resource
