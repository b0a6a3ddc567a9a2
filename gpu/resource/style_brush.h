#pragma once
// Brushes in the colours of style.conf's [Color] section: solid colours, the footer's
// progress colours, and gradients from a key's list of colours. Windows and controls make
// them once and keep them.
#include <memory>
#include <string_view>

#include "gpu/draw2d/draw_resource.h"

namespace Resource {

namespace ColorBrush {
std::unique_ptr<Media::SolidColorBrush> create(const Media::ColorF& colour);
// The colour of [Color] `key`; a missing or malformed value throws the settings reader's
// colour error.
std::unique_ptr<Media::SolidColorBrush> create(std::string_view key);
// Entry min(index, count - 1) of the comma-separated [Color] FooterProgress.
std::unique_ptr<Media::SolidColorBrush> createFooterProgress(std::size_t index);
}  // namespace ColorBrush

namespace GradientBrush {
// From the start colour (at 0) to the end colour (at 1); the points are set before a fill.
std::unique_ptr<Media::LinearGradientBrush> create(const Media::ColorF& start,
                                                   const Media::ColorF& end);
// From the first to the last colour listed in [Color] `key` (one colour: a flat gradient).
std::unique_ptr<Media::LinearGradientBrush> create(std::string_view key);
// From the last listed colour with `alpha` to the same colour with its own alpha (fades).
std::unique_ptr<Media::LinearGradientBrush> createAt(std::string_view key, float alpha);
}  // namespace GradientBrush

}  // namespace Resource
