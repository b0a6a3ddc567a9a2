#include "ui/controls/edit_text_layout.h"

#include <algorithm>

namespace Control {
namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xd800 && unit <= 0xdbff; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xdc00 && unit <= 0xdfff; }

void appendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xc0 | code >> 6));
    out.push_back(static_cast<char>(0x80 | (code & 0x3f)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xe0 | code >> 12));
    out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3f)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3f)));
  } else {
    out.push_back(static_cast<char>(0xf0 | code >> 18));
    out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3f)));
    out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3f)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3f)));
  }
}

float pixels(int units) { return static_cast<float>(units) / PANGO_SCALE; }

EditTextLayout::Box boxOf(const PangoRectangle& rect) {
  // A right-to-left character's box has a negative width.
  const int left = std::min(rect.x, rect.x + rect.width);
  return {pixels(left), pixels(rect.y), pixels(std::abs(rect.width)), pixels(rect.height)};
}

}  // namespace

EditTextLayout::EditTextLayout(const Media::TextFormat& format, const std::u16string& text) {
  // The layout counts UTF-8 bytes: every UTF-16 index keeps the byte it starts at. Both
  // units of a surrogate pair map to the pair's first byte; a lone surrogate is shown as the
  // replacement character.
  byteOfUnit_.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    byteOfUnit_.push_back(static_cast<int32_t>(utf8_.size()));
    const char16_t unit = text[i];
    if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      byteOfUnit_.push_back(static_cast<int32_t>(utf8_.size()));
      appendUtf8(utf8_, 0x10000 + ((unit - 0xd800) << 10) + (text[i + 1] - 0xdc00));
      ++i;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      appendUtf8(utf8_, 0xfffd);
    } else {
      appendUtf8(utf8_, unit);
    }
  }
  byteOfUnit_.push_back(static_cast<int32_t>(utf8_.size()));
  layout_ = Resource::TextLayout::create(format, utf8_);
}

Resource::TextLayout::Metrics EditTextLayout::metrics() const {
  return Resource::TextLayout::getMetrics(layout_.get());
}

int32_t EditTextLayout::lineCount() const { return pango_layout_get_line_count(layout_.get()); }

int32_t EditTextLayout::byteOf(int32_t index) const {
  const int32_t last = static_cast<int32_t>(byteOfUnit_.size()) - 1;
  return byteOfUnit_[std::clamp(index, 0, last)];
}

int32_t EditTextLayout::indexOf(int32_t byte) const {
  const auto found = std::lower_bound(byteOfUnit_.begin(), byteOfUnit_.end(), byte);
  if (found == byteOfUnit_.end()) return static_cast<int32_t>(byteOfUnit_.size()) - 1;
  return static_cast<int32_t>(found - byteOfUnit_.begin());
}

EditTextLayout::Box EditTextLayout::hitTestTextPosition(int32_t index) const {
  PangoRectangle rect{};
  pango_layout_index_to_pos(layout_.get(), byteOf(index), &rect);
  return boxOf(rect);
}

EditTextLayout::PointHit EditTextLayout::hitTestPoint(float x, float y) const {
  int byte = 0, trailing = 0;
  pango_layout_xy_to_index(layout_.get(), static_cast<int>(x * PANGO_SCALE),
                           static_cast<int>(y * PANGO_SCALE), &byte, &trailing);
  PointHit hit;
  hit.index = indexOf(byte);
  if (trailing > 0 && static_cast<std::size_t>(byte) < utf8_.size()) {
    const char* start = utf8_.c_str() + byte;
    const char* next = start;
    for (int i = 0; i < trailing && static_cast<std::size_t>(next - utf8_.c_str()) < utf8_.size();
         ++i)
      next = g_utf8_next_char(next);
    hit.trailing = true;
    hit.trailingLength = indexOf(static_cast<int32_t>(next - utf8_.c_str())) - hit.index;
  }
  return hit;
}

std::vector<EditTextLayout::Box> EditTextLayout::hitTestTextRange(int32_t from, int32_t to) const {
  std::vector<Box> boxes;
  const int fromByte = byteOf(from), toByte = byteOf(to);
  if (fromByte >= toByte) return boxes;
  PangoLayoutIter* iter = pango_layout_get_iter(layout_.get());
  do {
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
    const int lineStart = line->start_index;
    const int lineEnd = lineStart + line->length;
    const int start = std::max(fromByte, lineStart);
    const int end = std::min(toByte, lineEnd);
    if (start >= end) continue;
    PangoRectangle logical{};
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    int* ranges = nullptr;
    int count = 0;
    pango_layout_line_get_x_ranges(line, start, end, &ranges, &count);
    for (int i = 0; i < count; ++i) {
      const int left = ranges[2 * i], right = ranges[2 * i + 1];
      if (right > left)
        boxes.push_back({pixels(left), pixels(logical.y), pixels(right - left),
                         pixels(logical.height)});
    }
    g_free(ranges);
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  return boxes;
}

}  // namespace Control
