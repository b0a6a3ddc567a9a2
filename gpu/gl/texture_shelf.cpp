#include "gpu/gl/texture_shelf.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace Media {
namespace {

struct Kept {
  TextureShelf::Shape shape;
  Gl::Object texture;
};

// Oldest first.
thread_local std::deque<Kept> shelf;

}  // namespace

Gl::Object TextureShelf::take(const Shape& shape) {
  const auto found = std::find_if(shelf.rbegin(), shelf.rend(),
                                  [&](const Kept& kept) { return kept.shape == shape; });
  if (found == shelf.rend()) return {};
  Gl::Object texture = std::move(found->texture);
  shelf.erase(std::next(found).base());
  return texture;
}

void TextureShelf::keep(const Shape& shape, Gl::Object texture) noexcept {
  try {
    if (shelf.size() >= kCapacity) shelf.pop_front();
    // The fence guarded other contexts; none of them used the name.
    texture.setFence(nullptr);
    shelf.push_back(Kept{shape, std::move(texture)});
  } catch (...) {
    // Out of memory for the entry: the name is deleted as it unwinds.
  }
}

std::size_t TextureShelf::size() { return shelf.size(); }

void TextureShelf::clear() noexcept { shelf.clear(); }

}  // namespace Media
