#pragma once
// How far dragged objects may go: a move, an edge or a midpoint is shortened so that no
// object overlaps another, leaves frame 0, or loses its sections. Selected objects move
// together and never block each other. These only compute; the object area applies.
#include <cstdint>

#include "edit/layer_objects.h"
#include "edit/object.h"
#include "edit/object_range.h"
#include "edit/scene.h"

namespace Component::Timeline {

// A span [spanStart, spanEnd] moving right by delta > 0 over [movedStart, movedEnd] on a
// layer: the first unselected object in the way (other than `self`) shortens delta to touch
// it (never below 0). True when something was in the way.
bool limitRightMove(const Edit::LayerObjects& slot, int64_t movedStart, int64_t movedEnd,
                    int64_t spanEnd, int32_t& delta, const Edit::Object* self = nullptr);
// The same moving left (delta < 0): the nearest unselected object in the way shortens it.
bool limitLeftMove(const Edit::LayerObjects& slot, int64_t movedStart, int64_t movedEnd,
                   int64_t spanStart, int32_t& delta, const Edit::Object* self = nullptr);

// Where the selection stands relative to the press: its extent at the press, and the
// layers and frames it has moved since.
struct SelectionDrag {
  const Edit::ObjectRange* extent = nullptr;
  int32_t layerOffset = 0;
  int32_t frameOffset = 0;
  int32_t layerRange = 1;  // layers the view reaches: the selection stays below it
};

// Shortens a move of the selection by (layers, frames) until every moved span fits: the
// frames stop at the first object in the way or at frame 0, and a layer change that still
// collides steps back toward the selection's layer with the requested frames. True when a
// non-empty move remains.
bool limitSelectionMove(const Edit::Scene& scene, const SelectionDrag& drag, int32_t& layers,
                        int32_t& frames);

// The largest change of one object's start (negative: earlier) that keeps it clear of its
// neighbours, at or after frame 0 and before its first midpoint (its end without one).
int32_t limitStartChange(const Edit::Scene& scene, const Edit::Object& object, int32_t delta);
// The same for its end: it keeps one frame (two in its last section when it has midpoints)
// and stops before the next object.
int32_t limitEndChange(const Edit::Scene& scene, const Edit::Object& object, int32_t delta);
// The same for midpoint `index` (1-based): it stays between its neighbouring boundaries,
// the last one at least two frames before the end.
int32_t limitMidpointChange(const Edit::Object& object, int32_t index, int32_t delta);

}  // namespace Component::Timeline
