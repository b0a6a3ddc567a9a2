#pragma once
// The base of effects whose numeric items place something in space (an object's
// position, a gradient's centre, a clipping line): while the preview frame renders they
// add draggable handles for the object being edited, and they turn presses, double clicks
// and drags of those handles into changes of their position items.
//
// The position items are the effect's own number items, X then Y (then Z), listed in
// `positionItems`; the derived constructor fills the list and points the items' link
// group at it, so that movement commands change them together. The three families below
// (MoveXYAnchorEffect, MoveEffect, MoveXYZAnchorEffect) supply the placing of the handles
// and the drag arithmetic.
//
// updateAnchor and the sampling run on the render worker that renders the preview frame;
// anchorEvent and moveAnchor on the UI thread inside the preview's edit-update scope.
#include <memory>

#include "effect/anchor_event.h"
#include "effect/anchor_list.h"
#include "effect/effect_base.h"
#include "effect/effect_item_number.h"
#include "system/xmath.h"

namespace Effect {

class AnchorEffectBase : public EffectBase {
 public:
  using EffectEntry = Anchor::EffectEntry;

  // Adds the handles unless the effect or the object's layer is locked, the effect is not
  // in its object's chain, or it is a filter on an object without the focus. The context's
  // time and view position come back as they were.
  void updateAnchor(EffectContext& context, int width, int height) override;
  // A drag step moves the handle; a press on the clipping icon toggles the clipping view,
  // on a point moves the setting window to the point's frame; a double click on a point
  // anchor moves the cursor there. Other kinds are not handled.
  bool anchorEvent(Anchor::AnchorEvent& event) override;

  // Adds the family's handles for an object image of width x height.
  virtual void setAnchor(EffectContext& context, const EffectEntry& entry, int width,
                         int height) = 0;
  // Turns one drag step into item changes.
  virtual void moveAnchor(Anchor::AnchorEvent& event) = 0;
  // A circle at `point` under `matrix`: medium for a filter, large otherwise.
  virtual Anchor::AnchorItem& addAnchorCircle(Anchor::AnchorList& list,
                                              const Anchor::ObjectRef& object,
                                              const EffectEntry& entry, int id,
                                              const XMath::Vector& point,
                                              const XMath::Matrix& matrix, int flags);
  // The handle of the current position; the base refuses with "not implement.".
  virtual void setCurrentAnchor(EffectContext& context, const EffectEntry& entry, int id,
                                int flags);
  // The handle of point `index`; the base refuses with "not implement.".
  virtual void setSectionAnchor(EffectContext& context, const EffectEntry& entry, int index,
                                int flags);
  // The projected position at another instant of the object (homogeneous, w kept). Moves
  // the context's time there.
  virtual XMath::Vector getAnchorPosition(EffectContext& context, double frame) = 0;
  // A marker at `point` under `matrix`: a point in the style colour "Anchor" for a
  // filter, an uncoloured cross otherwise.
  virtual void addAnchorPoint(Anchor::AnchorList& list, const EffectEntry& entry,
                              const XMath::Vector& point, const XMath::Matrix& matrix);

  // The path the position takes over the object, sampled 32 times per section (64 times
  // over the whole object when every item ignores midpoints) plus once at every midpoint,
  // with a dot every fourth sample when the setting asks for them.
  void setTrajectoryAnchor(EffectContext& context, const EffectEntry& entry);
  // Whether the position at the context's frame is a stored value the user may edit.
  bool isAnchorEditable(const EffectContext& context) const;

  NumberItemList positionItems;

 protected:
  AnchorEffectBase(const char* name, uint8_t effectType, uint8_t mediaType, uint8_t targetType,
                   const char* label = "");

  bool isFilter() const { return effectType == EffectType::Filter; }
  // Whether the context's object is the scene's focus object.
  static bool isFocus(const EffectContext& context);
  // The hidden bit for a current-position handle: shown only on the focus object while
  // every position item is static.
  int hiddenUnlessStaticFocus(const EffectContext& context) const;
};

// A colour of style.conf's [Color] section, or `fallback` when the settings are not read
// or the value is not a colour.
Anchor::Color getStyleColor(const char* key, const Anchor::Color& fallback);

}  // namespace Effect
