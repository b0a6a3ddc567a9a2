#pragma once
// The small icons every window and control draws with: 22 pictures of the program's own,
// each drawn from its built-in SVG (icon_resources.h) at 32 x 32 with alpha into a bitmap the
// first time something asks for it, then kept.
//
// The bitmaps are made for the window's render target, which the window installs before
// anything draws. A picture that cannot be made (no such resource, an SVG that does not
// parse or draw, no render target yet) throws an error naming its resource id; the entry
// stays empty and the next request tries again.
#include <functional>
#include <string_view>

#include "gpu/com_resource.h"
#include "gpu/draw2d/draw_resource.h"
#include "gpu/draw2d/render_target.h"

namespace Window {

// X(member, resource id); the order is the list's member order.
#define VELUMO_STYLE_BITMAPS(X)                                                             \
  X(CameraActive, 136) X(Camera, 138) X(CameraDisabled, 137) X(ArrowUp, 133)                \
  X(ArrowDown, 134) X(Loop, 141) X(Speaker, 142) X(ZoomIn, 149) X(Lock, 144)                \
  X(Unlock, 145) X(Clipping, 147) X(ClippingDisabled, 148) X(Link, 152)                     \
  X(LinkDisabled, 153) X(Movie, 150) X(Picture, 151) X(Gear, 154) X(Sparkle, 155)           \
  X(TextT, 156) X(Eyedropper, 157) X(Clock, 159) X(ColorCircles, 160)

struct StyleBitmapList {
  static constexpr int kSize = 32;
  static constexpr const char* kPlace = "Window::StyleBitmapList";

  // Where the pictures come from: the SVG text of a resource id, empty when there is none.
  using ResourceReader = std::function<std::string_view(int id)>;

  // Installs the generators; no bitmap is made yet. The pictures are the program's own
  // unless another reader is given.
  explicit StyleBitmapList(ResourceReader reader = nullptr);
  StyleBitmapList(const StyleBitmapList&) = delete;
  StyleBitmapList& operator=(const StyleBitmapList&) = delete;

#define VELUMO_BITMAP_MEMBER(member, id) Media::ComResource<Media::Bitmap> member;
  VELUMO_STYLE_BITMAPS(VELUMO_BITMAP_MEMBER)
#undef VELUMO_BITMAP_MEMBER

  // The target every bitmap is made for (the window's root target, not owned).
  Media::RenderTarget* renderTarget = nullptr;

 private:
  ResourceReader reader_;
};

// The SVG drawn at 32 x 32 into a new bitmap, transparent where it draws nothing. An empty
// text or one that does not parse or draw throws, naming the resource id.
Media::ComResourcePtr<Media::Bitmap> drawIconBitmap(int id, std::string_view svg);

}  // namespace Window
