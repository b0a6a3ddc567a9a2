#pragma once
// The rules every anchor family shares about the points of an object and the values its
// position items keep there.
//
// An object with m midpoints has m + 2 points: 0 its start, k its k-th midpoint, m + 1
// its end. A position item that keeps one value is static; with two or more it moves. A
// moving item has a value of its own at a point only when it keeps one value per point
// (m + 2 values); the ends always map to its first and last value.
#include <optional>
#include <vector>

#include "effect/effect_context.h"
#include "effect/effect_item_number.h"

namespace Effect {

// The frame of point i: the start for i <= 0, start + midpoint[i - 1] inside, else the end.
int anchorPointFrame(const ObjectFrames& frames, int point);
// The point the frame lies on (the end frame is the last point), or
// Anchor::kCurrentPositionId when it lies between points.
int anchorPointAtFrame(const ObjectFrames& frames, int frame);
// The item's value index for point i, or -1 when the item has no value of its own there.
int anchorValueIndex(const EffectItemNumber& item, int midpointCount, int point);

bool isItemMoving(const EffectItemNumber& item);
bool anyItemMoves(const NumberItemList& items);

// Whether a point between the ends can show a handle: not when the items move with a value
// count other than one per point (values and sections disagree).
bool pointValuesAgree(const NumberItemList& items, int midpointCount, int point);
// Every item's value index at the point, or nothing when one of them has none.
std::optional<std::vector<int>> pointValueIndices(const NumberItemList& items,
                                                  int midpointCount, int point);
// Whether some item's movement has a value at the point the user can place.
bool anyEndValueAt(const NumberItemList& items, int point);
// Whether every item's movement offers handles at all points (midpoints too).
bool allHandlesAtPoints(const NumberItemList& items);

// Whether the position shown at the context's frame is a stored value the user may edit,
// the largest value count of the items counting as the track's.
bool isAnchorEditable(const NumberItemList& items, const EffectContext& context);

// Moves the context to an instant of its object: time, frame (the integer part), no frame
// offset, and the section position there.
void setContextTime(EffectContext& context, double time);

// Keeps the context's time and view position while anchors sample other instants, and
// puts them back (with the frame and section position of that time, no frame offset) when
// it goes, also when an effect throws.
class AnchorContextRestore {
 public:
  explicit AnchorContextRestore(EffectContext& context);
  AnchorContextRestore(const AnchorContextRestore&) = delete;
  AnchorContextRestore& operator=(const AnchorContextRestore&) = delete;
  ~AnchorContextRestore();

 private:
  EffectContext& context_;
  double time_;
  float x_, y_, z_;
};

}  // namespace Effect
