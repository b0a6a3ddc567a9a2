#pragma once
// The fill of an SVG element: where it is written and which colour it names.
//
// A fill is written either in the element's "style" attribute ("fill: #ff0000") or as its
// own "fill" attribute; the style wins, as in CSS. Only plain colours count as colours: a
// reference to a gradient, "none", "currentColor" and "inherit" are paints of another kind.
#include <libxml/tree.h>

#include <optional>
#include <string>
#include <string_view>

#include "gpu/image/color.h"

namespace Media::SvgPaint {

// The colour that a paint text names: "#rgb", "#rgba", "#rrggbb", "#rrggbbaa", "rgb(r, g, b)"
// and "rgba(r, g, b, a)" with numbers or percentages, or a colour name. Nothing for any other
// text.
std::optional<Color::Rgba> parseColor(std::string_view text);
// "#rrggbb" for an opaque colour, "rgba(r,g,b,a)" otherwise.
std::string formatColor(const Color::Rgba& colour);

// The element's fill text, from its style first, then its attribute; nothing when the element
// does not set its own fill.
std::optional<std::string> fillOf(xmlNode* element);
// Writes the fill where the element has it (its style declaration or its attribute), or as
// the attribute when it has none.
void setFill(xmlNode* element, const std::string& value);

}  // namespace Media::SvgPaint
