#pragma once
// The look that the rows of the scene and object lists share: a body one list item high, a
// kind icon in its left square, the name beside it cut with an ellipsis, and a 2-pixel strip
// that parts the row from the next.
#include <cstdint>
#include <string>

#include "gpu/draw2d/render_target.h"
#include "ui/controls/control_paint.h"

namespace Component {

// The style's list item height (the body of a row; the row is 2 pixels higher).
int32_t listItemHeight();

// Paints body, icon (when there is one), name and strip inside the open scope of the row.
// The name starts one item height from the left and is at most `nameWidth` wide.
void paintListRow(Control::ControlDrawScope& scope, const Window::WindowMouse& row,
                  const Media::Brush& body, const Media::Bitmap* icon, const std::string& name,
                  int32_t nameWidth);

}  // namespace Component
