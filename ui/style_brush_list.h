#pragma once
// The brushes every window and control draws with, in the colours of style.conf [Color], so
// that the style file restyles the whole interface. Each brush is made on its first use and
// kept. A colour the style lacks (or writes wrongly) is logged when its brush is made and
// replaced by a neutral grey, so a damaged style file never stops the program.
//
// The entries, by kind:
//   SOLID: the key's colour.         HALF: the key's colour at opacity 0.5.
//   GRADIENT: the key's first to last colour.
//   FADE: the key's last colour, from transparent to as written.
//   PROGRESS: entry 0 or 1 of the key's list (the last one when the list is shorter).
#include "gpu/com_resource.h"
#include "gpu/draw2d/draw_resource.h"
#include "gpu/draw2d/render_target.h"

namespace Window {

// X(member, key) per kind; the order is the list's member order.
#define VELUMO_STYLE_BRUSHES(SOLID, HALF, GRADIENT, FADE, PROGRESS)                          \
  SOLID(Background, "Background") SOLID(WindowBorder, "WindowBorder")                        \
  SOLID(WindowSeparator, "WindowSeparator") SOLID(Grouping, "Grouping")                      \
  SOLID(GroupingHover, "GroupingHover") SOLID(GroupingSelect, "GroupingSelect")              \
  SOLID(Border, "Border") SOLID(BorderFocus, "BorderFocus")                                  \
  SOLID(BorderSelect, "BorderSelect") HALF(BorderHalf, "Border") SOLID(Footer, "Footer")     \
  PROGRESS(FooterProgress0, 0) PROGRESS(FooterProgress1, 1)                                  \
  SOLID(TitleHeader, "TitleHeader") SOLID(Text, "Text") SOLID(TextDisable, "TextDisable")    \
  SOLID(TextSelect, "TextSelect") SOLID(ButtonBody, "ButtonBody")                            \
  SOLID(ButtonBodyHover, "ButtonBodyHover") SOLID(ButtonBodyPress, "ButtonBodyPress")        \
  SOLID(ButtonBodyDisable, "ButtonBodyDisable") SOLID(ButtonBodySelect, "ButtonBodySelect")  \
  SOLID(SliderCursor, "SliderCursor") SOLID(TrackBarRange, "TrackBarRange")                  \
  SOLID(ZoomGauge, "ZoomGauge") SOLID(ZoomGaugeHover, "ZoomGaugeHover")                      \
  SOLID(ZoomGaugeOff, "ZoomGaugeOff") SOLID(ZoomGaugeOffHover, "ZoomGaugeOffHover")          \
  SOLID(Layer, "Layer") SOLID(LayerHeader, "LayerHeader") SOLID(LayerHover, "LayerHover")    \
  SOLID(LayerDisable, "LayerDisable") SOLID(LayerRange, "LayerRange")                        \
  SOLID(LayerRangeFrame, "LayerRangeFrame") GRADIENT(ObjectVideo, "ObjectVideo")             \
  SOLID(ObjectVideoSelect, "ObjectVideoSelect") GRADIENT(ObjectVideoFilter, "ObjectVideoFilter") \
  SOLID(ObjectVideoFilterSelect, "ObjectVideoFilterSelect")                                  \
  GRADIENT(ObjectAudio, "ObjectAudio") SOLID(ObjectAudioSelect, "ObjectAudioSelect")         \
  GRADIENT(ObjectAudioFilter, "ObjectAudioFilter")                                           \
  SOLID(ObjectAudioFilterSelect, "ObjectAudioFilterSelect")                                  \
  GRADIENT(ObjectControl, "ObjectControl") SOLID(ObjectControlSelect, "ObjectControlSelect") \
  FADE(ObjectAudioFade, "ObjectAudio") FADE(ClippingObject, "ClippingObject")                \
  SOLID(ClippingObjectMask, "ClippingObjectMask") SOLID(ObjectHover, "ObjectHover")          \
  SOLID(ObjectSection, "ObjectSection") SOLID(FrameRangeSelect, "FrameRangeSelect")          \
  SOLID(FrameRangeOutside, "FrameRangeOutside") SOLID(FrameCursor, "FrameCursor")            \
  SOLID(FrameCursorWide, "FrameCursorWide") SOLID(PlayerCursor, "PlayerCursor")              \
  SOLID(GuideLine, "GuideLine") SOLID(Anchor, "Anchor") SOLID(AnchorLine, "AnchorLine")      \
  SOLID(AnchorIn, "AnchorIn") SOLID(AnchorOut, "AnchorOut")                                  \
  SOLID(AnchorSelect, "AnchorSelect") SOLID(AnchorHover, "AnchorHover")                      \
  SOLID(AnchorEdge, "AnchorEdge") SOLID(HandleX, "HandleX") SOLID(HandleY, "HandleY")        \
  SOLID(HandleZ, "HandleZ") SOLID(HandleXHover, "HandleXHover")                              \
  SOLID(HandleYHover, "HandleYHover") SOLID(HandleZHover, "HandleZHover")                    \
  SOLID(OutsideDisplay, "OutsideDisplay")

struct StyleBrushList {
  // Installs the generators; no brush is made yet.
  StyleBrushList();
  StyleBrushList(const StyleBrushList&) = delete;
  StyleBrushList& operator=(const StyleBrushList&) = delete;

  // The colour of a brush whose style colour is missing or malformed.
  static constexpr Media::ColorF kFallback{0.5f, 0.5f, 0.5f, 1.0f};

#define VELUMO_SOLID_MEMBER(member, key) Media::ComResource<Media::SolidColorBrush> member;
#define VELUMO_GRADIENT_MEMBER(member, key) \
  Media::ComResource<Media::LinearGradientBrush> member;
  VELUMO_STYLE_BRUSHES(VELUMO_SOLID_MEMBER, VELUMO_SOLID_MEMBER, VELUMO_GRADIENT_MEMBER,
                       VELUMO_GRADIENT_MEMBER, VELUMO_SOLID_MEMBER)
#undef VELUMO_SOLID_MEMBER
#undef VELUMO_GRADIENT_MEMBER

  // The target the brushes are drawn on (the window's root target, not owned). A brush holds
  // only its colours, so it is made without the target and serves any draw scope on it.
  Media::RenderTarget* renderTarget = nullptr;
};

}  // namespace Window
