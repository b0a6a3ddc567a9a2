#pragma once
// The laid-out text of an edit control: its UTF-16 text laid out with a text format, and the
// hit tests the edit needs for its caret and selection, all in UTF-16 indices (the layout
// itself counts UTF-8 bytes).
#include <cstdint>
#include <string>
#include <vector>

#include "gpu/text/text_format.h"

namespace Control {

class EditTextLayout {
 public:
  // A box in text coordinates (pixels from the text's top-left corner).
  struct Box {
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
  };
  // What a point falls on: the index of the character there, and whether it lies on the
  // character's trailing half (then the caret belongs after the character).
  struct PointHit {
    int32_t index = 0;
    bool trailing = false;
    int32_t trailingLength = 0;  // UTF-16 units of that character (two for a surrogate pair)
  };

  EditTextLayout() = default;
  // Lays the text out (no wrapping, at most 65536 pixels on each side).
  EditTextLayout(const Media::TextFormat& format, const std::u16string& text);

  bool empty() const { return !layout_; }
  PangoLayout* get() const { return layout_.get(); }
  // The logical size of the laid-out text in pixels.
  Resource::TextLayout::Metrics metrics() const;
  int32_t lineCount() const;

  // The box of the character at the index (zero wide at a line end and at the text end).
  Box hitTestTextPosition(int32_t index) const;
  // The character at a point; points beyond the text fall on its nearest line and edge.
  PointHit hitTestPoint(float x, float y) const;
  // The boxes that cover [from, to), one per line piece.
  std::vector<Box> hitTestTextRange(int32_t from, int32_t to) const;

 private:
  int32_t byteOf(int32_t index) const;
  int32_t indexOf(int32_t byte) const;

  Media::ComResourcePtr<PangoLayout> layout_;
  std::string utf8_;
  std::vector<int32_t> byteOfUnit_;  // per UTF-16 index (one past the end included)
};

}  // namespace Control
