// The style icons: each drawn from its built-in picture on first request, 32 x 32 with
// alpha, the right picture under each member, and a picture that cannot be made failing
// with its resource id and retried on the next request.
#include "ui/style_bitmap_list.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "system/service_holder.h"
#include "tests/system/log_capture.h"
#include "ui/icon_resources.h"
#include "ui/window_drawing.h"
#include "ui/window_service.h"

namespace {

using Window::StyleBitmapList;
using Slot = Media::ComResource<Media::Bitmap>;

struct Entry {
  const char* member;
  Slot* slot;
};

std::vector<Entry> entriesOf(StyleBitmapList& list) {
  std::vector<Entry> entries;
#define VELUMO_ENTRY(member, id) entries.push_back({#member, &list.member});
  VELUMO_STYLE_BITMAPS(VELUMO_ENTRY)
#undef VELUMO_ENTRY
  return entries;
}

// A pixel with straight (not premultiplied) colour, 0..255.
struct Pixel {
  int r = 0, g = 0, b = 0, a = 0;
};

Pixel pixelAt(const Media::Bitmap& bitmap, int x, int y) {
  cairo_surface_t* surface = bitmap.surface();
  cairo_surface_flush(surface);
  const unsigned char* row =
      cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
  uint32_t argb;
  std::memcpy(&argb, row + x * 4, sizeof argb);
  Pixel p;
  p.a = static_cast<int>(argb >> 24);
  if (p.a == 0) return p;
  const auto straight = [&](int shift) {
    return static_cast<int>(((argb >> shift) & 0xff) * 255 / static_cast<uint32_t>(p.a));
  };
  p.r = straight(16);
  p.g = straight(8);
  p.b = straight(0);
  return p;
}

template <class Test>
int countPixels(const Media::Bitmap& bitmap, Test test) {
  int count = 0;
  for (int y = 0; y < StyleBitmapList::kSize; ++y)
    for (int x = 0; x < StyleBitmapList::kSize; ++x)
      if (test(pixelAt(bitmap, x, y))) ++count;
  return count;
}

bool isWhite(const Pixel& p) { return p.a == 255 && p.r > 200 && p.g > 200 && p.b > 200; }

// The row in which the most opaque white pixels lie: the base of an arrow's head.
int widestWhiteRow(const Media::Bitmap& bitmap) {
  int widest = -1, widestCount = 0;
  for (int y = 0; y < StyleBitmapList::kSize; ++y) {
    int count = 0;
    for (int x = 0; x < StyleBitmapList::kSize; ++x) count += isWhite(pixelAt(bitmap, x, y));
    if (count > widestCount) {
      widest = y;
      widestCount = count;
    }
  }
  return widest;
}

std::string pixelBytes(const Media::Bitmap& bitmap) {
  cairo_surface_flush(bitmap.surface());
  const auto* data = reinterpret_cast<const char*>(cairo_image_surface_get_data(bitmap.surface()));
  return std::string(data, static_cast<std::size_t>(cairo_image_surface_get_stride(bitmap.surface())) *
                               bitmap.height());
}

class StyleBitmapListTest : public ::testing::Test {
 protected:
  System::ServiceHolder<Media::Direct2DService> direct2d_;
  Media::RenderTarget target_{nullptr, 0, 0};
};

TEST_F(StyleBitmapListTest, NothingIsMadeBeforeTheFirstRequestAndARequestMakesOnlyItsEntry) {
  StyleBitmapList list;
  list.renderTarget = &target_;
  for (const Entry& entry : entriesOf(list))
    EXPECT_EQ(entry.slot->peek(), nullptr) << entry.member;

  Media::Bitmap* loop = list.Loop.get();
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(list.Loop.get(), loop) << "the first bitmap is kept";
  for (const Entry& entry : entriesOf(list)) {
    if (entry.slot != &list.Loop) {
      EXPECT_EQ(entry.slot->peek(), nullptr) << entry.member;
    }
  }
}

TEST_F(StyleBitmapListTest, EveryEntryIs32By32WithItsOwnPicture) {
  StyleBitmapList list;
  list.renderTarget = &target_;
  const std::set<std::string> fullyOpaque = {"ArrowUp", "ArrowDown", "Movie"};
  std::map<std::string, std::string> pictures;
  for (const Entry& entry : entriesOf(list)) {
    SCOPED_TRACE(entry.member);
    const Media::Bitmap& bitmap = *entry.slot->get();
    ASSERT_EQ(bitmap.width(), 32u);
    ASSERT_EQ(bitmap.height(), 32u);
    const int transparent = countPixels(bitmap, [](const Pixel& p) { return p.a == 0; });
    const int opaque = countPixels(bitmap, [](const Pixel& p) { return p.a == 255; });
    if (fullyOpaque.count(entry.member)) {
      EXPECT_EQ(opaque, 32 * 32);
    } else {
      EXPECT_GT(transparent, 0);
      EXPECT_GT(opaque, 0);
    }
    for (const auto& [other, picture] : pictures)
      EXPECT_NE(picture, pixelBytes(bitmap)) << "the same picture as " << other;
    pictures[entry.member] = pixelBytes(bitmap);
  }
}

TEST_F(StyleBitmapListTest, EachMemberShowsItsOwnPicture) {
  StyleBitmapList list;
  list.renderTarget = &target_;
  const auto green = [](const Pixel& p) {
    return p.a == 255 && p.g > 150 && p.r < p.g - 80 && p.b < p.g - 80;
  };
  const auto pure = [](int channel) {
    return [channel](const Pixel& p) {
      const int values[3] = {p.r, p.g, p.b};
      for (int i = 0; i < 3; ++i)
        if ((i == channel) != (values[i] > 200)) return false;
      return p.a == 255;
    };
  };
  // A grey that is not white: the disabled pictures are dimmed.
  const auto coloured = [](const Pixel& p) {
    return p.a > 0 && (std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) > 2);
  };
  // Edge pixels of little coverage cannot give their colour back exactly.
  const auto light = [](const Pixel& p) { return p.a >= 128 && p.r > 200; };

  EXPECT_GT(countPixels(*list.CameraActive.get(), green), 20);
  EXPECT_EQ(countPixels(*list.Camera.get(), coloured), 0);
  EXPECT_GT(countPixels(*list.Camera.get(), isWhite), 20);
  for (Slot* disabled : {&list.CameraDisabled, &list.Unlock, &list.ClippingDisabled,
                         &list.LinkDisabled}) {
    EXPECT_EQ(countPixels(*disabled->get(), coloured), 0);
    EXPECT_EQ(countPixels(*disabled->get(), light), 0);
    EXPECT_GT(countPixels(*disabled->get(), [](const Pixel& p) { return p.a > 0; }), 20);
  }
  for (int channel = 0; channel < 3; ++channel)
    EXPECT_GT(countPixels(*list.ColorCircles.get(), pure(channel)), 20) << "channel " << channel;

  EXPECT_LT(widestWhiteRow(*list.ArrowUp.get()), 16);
  EXPECT_GT(widestWhiteRow(*list.ArrowDown.get()), 16);
}

// A picture that cannot be made: the entry stays empty and the next request tries again.
TEST_F(StyleBitmapListTest, APictureThatCannotBeMadeFailsWithItsIdAndIsRetried) {
  TestSupport::LogCapture log;
  struct Case {
    const char* what;
    std::string_view svg;
    bool withTarget;
    const char* error;
  };
  const Case cases[] = {
      {"not an SVG document", "<html>not a picture</html>", true, "icon resource can not be drawn."},
      {"not XML at all", "\x89PNG garbage", true, "icon resource can not be drawn."},
      {"no such resource", "", true, "icon resource not found."},
      {"no render target yet", Window::findIconResource(141), false, "render target not set."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string_view served = c.svg;
    StyleBitmapList list([&served](int id) {
      return id == 141 ? served : Window::findIconResource(id);
    });
    if (c.withTarget) list.renderTarget = &target_;

    try {
      list.Loop.get();
      ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
      const std::string text = e.what();
      EXPECT_NE(text.find(c.error), std::string::npos) << text;
      EXPECT_NE(text.find("resource id 141"), std::string::npos) << text;
      EXPECT_NE(text.find(StyleBitmapList::kPlace), std::string::npos) << text;
    }
    EXPECT_EQ(list.Loop.peek(), nullptr);

    served = Window::findIconResource(141);
    list.renderTarget = &target_;
    EXPECT_NE(list.Speaker.get(), nullptr);
    EXPECT_NE(list.Loop.get(), nullptr) << "the next request tries again";
  }
}

TEST(StyleBitmapListInWindow, TheWindowHoldsTheIconsForItsRenderTarget) {
  System::ServiceHolder<Window::WindowService> holder;
  Window::WindowService* service = Window::WindowService::instance();
  const Window::WindowDrawing drawing = Window::currentWindowDrawing();
  ASSERT_EQ(drawing.bitmaps, &service->bitmaps());
  EXPECT_EQ(drawing.bitmaps->renderTarget, &service->renderTarget());
  EXPECT_EQ(drawing.bitmaps->Gear.peek(), nullptr);
  EXPECT_NE(drawing.bitmaps->Gear.get(), nullptr);
}

}  // namespace
