#include "builtin/filter/object_divide.h"

#include <cmath>
#include <cstdint>

#include "gpu/resource_buffer.h"
#include "render/effect_chain.h"

namespace Effect {

ObjectDivide::ObjectDivide()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      columns(items, "横分割数", 10.0, 1.0, 100.0, 1.0),
      rows(items, "縦分割数", 10.0, 1.0, 100.0, 1.0) {
  label = "配置";
}

std::shared_ptr<EffectBase> ObjectDivide::create() const {
  return std::make_shared<ObjectDivide>();
}

namespace {

// Where tile `i` of `count` begins along a side: the bounds are spread by integer division,
// so the tiles cover the side exactly.
int64_t tileEdge(int64_t i, int64_t side, int64_t count) { return i * side / count; }

}  // namespace

OwnedImage ObjectDivide::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const int nx = static_cast<int>(std::lround(columns.getValue(context)));
  const int ny = static_cast<int>(std::lround(rows.getValue(context)));
  if (nx < 1 || ny < 1) return image;
  const int64_t w = image->width();
  const int64_t h = image->height();

  const int pieces = nx * ny;
  context.partCount *= pieces;
  context.partIndex *= pieces;
  for (int row = 0; row < ny; ++row) {
    const int64_t y0 = tileEdge(row, h, ny);
    const int64_t y1 = tileEdge(row + 1, h, ny);
    for (int column = 0; column < nx; ++column) {
      const int64_t x0 = tileEdge(column, w, nx);
      const int64_t x1 = tileEdge(column + 1, w, nx);
      // More tiles than pixels leave some tiles empty: they keep their index, but there is
      // no picture to draw.
      if (x1 > x0 && y1 > y0) {
        auto tile = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(x1 - x0),
                                                            static_cast<int32_t>(y1 - y0));
        tile->copyRect(*image, static_cast<int32_t>(x0), static_cast<int32_t>(y0),
                       static_cast<uint32_t>(x1 - x0), static_cast<uint32_t>(y1 - y0));
        EffectContext piece = context;
        // The tile's centre where it lay in the picture, from the picture's centre.
        piece.outputView.x += static_cast<float>(x0) + static_cast<float>(x1 - x0 - w) / 2.0f;
        piece.outputView.y += static_cast<float>(y0) + static_cast<float>(y1 - y0 - h) / 2.0f;
        OwnedImage picture = Render::Chain::filterVideo(piece, adoptBuffer(std::move(tile)), this);
        if (piece.frameImage) context.frameImage = true;
        Render::Chain::outputVideo(piece, picture);
      }
      ++context.partIndex;
    }
  }
  context.individualParts = true;
  Render::Chain::updateAnchor(context, static_cast<int>(w), static_cast<int>(h));
  return {};
}

}  // namespace Effect
