#pragma once
// Drawing the laid-out handles of an anchor control over the preview picture: each type
// its own figure over a contrasting outline, dashed for point handles, the whole-object
// handle of a selected object in the selection colour, the hovered handle highlighted on top.
#include "main_window/preview/anchor_canvas.h"
#include "main_window/preview/anchor_control.h"

namespace Anchor {

// The object setting window's section on show, which colours the point handles: the
// handle of that point in AnchorIn, and when the window shows the section's end too, the
// next point's handle in AnchorOut. A negative section colours nothing.
struct SectionHighlight {
  int currentSection = -1;
  bool showsSectionEnd = false;  // the window's SectionViewMode is 2
};

// The item's normal brush.
AnchorBrush anchorBrush(const PreviewAnchor& item, const SectionHighlight& section);

// Draws one item in the brush at the width, dashed or solid; `hovered` changes how icons
// and size handles look.
void drawAnchor(AnchorCanvas& canvas, const PreviewAnchor& item, AnchorBrush brush, float width,
                bool dashed, bool hovered);

// Draws all the control's handles, frames and circles first and icons last, then the hovered
// one again on top. Nothing is opened for an empty list.
void drawAnchors(const AnchorControl& control, AnchorCanvas& canvas,
                 const SectionHighlight& section);

}  // namespace Anchor
