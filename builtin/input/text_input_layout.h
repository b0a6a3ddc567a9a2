#pragma once
// The text engine of one text object's pass, with the texts it reads through pointers kept
// alive beside it. Shared by the text input's drawing and editing halves.
#include <string>

#include "builtin/input/text_input.h"
#include "gpu/text/text_draw.h"

namespace Effect {

struct TextInput::Layout {
  std::u16string text;    // with the script blocks run
  std::u16string family;  // empty: the default family
  Alignment alignment{};
  Media::TextDraw draw;
};

}  // namespace Effect
