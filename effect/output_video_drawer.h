#pragma once
// What the output effects ask of the drawing layer, which lies above the effect framework:
// putting an object's finished image into the frame on the graphics processor. The drawing
// layer implements it (building the constants of output_draw_constants.h) and the program
// installs it at start-up. Without one nothing is drawn: a run without a graphics device
// renders no picture.
#include "effect/outer_types.h"

namespace Effect {

class EffectContext;

class OutputVideoDrawer {
 public:
  virtual ~OutputVideoDrawer() = default;
  // The standard path: the image's quad (or the context's vertex list) with the object's
  // transform, opacity and blend mode, through the governing camera or group view.
  virtual void drawObject(EffectContext& context, Media::RenderBuffer& target,
                          Media::ResourceBuffer& image) = 0;
  // The standard path with blending off: where the image lands it replaces the frame,
  // transparent pixels included. Without an own version, the standard path as it is.
  virtual void drawObjectReplacing(EffectContext& context, Media::RenderBuffer& target,
                                   Media::ResourceBuffer& image) {
    drawObject(context, target, image);
  }
  // The direct path for an image a filter already drew through the camera: no matrices, an
  // integer offset, the object's opacity and blend mode.
  virtual void drawObject2D(EffectContext& context, Media::RenderBuffer& target,
                            Media::ResourceBuffer& image) = 0;
  // The object drawn into an image of the frame's size as the standard path would place it
  // (through the camera or group view, its vertex list or its quad), but flat, opaque as it
  // is and with the plain blend: what the object looks like on the frame, for the filters
  // after it. Without an own version nothing is drawn.
  virtual void drawOffscreen(EffectContext&, Media::ResourceBuffer&, Media::ResourceBuffer&) {}
};

// Installs the drawer (nullptr removes it). While no render worker runs.
void setOutputVideoDrawer(OutputVideoDrawer* drawer);
OutputVideoDrawer* outputVideoDrawer();

}  // namespace Effect
