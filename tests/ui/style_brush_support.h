#pragma once
// Which of the style brushes exist, to see what a paint made and what it left alone.
#include <string>
#include <vector>

#include "ui/style_brush_list.h"

namespace WindowTest {

// The member names of the entries made so far, in list order.
inline std::vector<std::string> madeStyleBrushes(const Window::StyleBrushList& list) {
  std::vector<std::string> made;
#define VELUMO_NOTE_MADE(member, key) \
  if (list.member.peek()) made.push_back(#member);
  VELUMO_STYLE_BRUSHES(VELUMO_NOTE_MADE, VELUMO_NOTE_MADE, VELUMO_NOTE_MADE, VELUMO_NOTE_MADE,
                       VELUMO_NOTE_MADE)
#undef VELUMO_NOTE_MADE
  return made;
}

// Drops every made entry; the next use makes it again.
inline void releaseStyleBrushes(Window::StyleBrushList& list) {
#define VELUMO_RELEASE(member, key) list.member.release();
  VELUMO_STYLE_BRUSHES(VELUMO_RELEASE, VELUMO_RELEASE, VELUMO_RELEASE, VELUMO_RELEASE,
                       VELUMO_RELEASE)
#undef VELUMO_RELEASE
}

}  // namespace WindowTest
