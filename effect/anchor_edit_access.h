#pragma once
// What the anchor effects ask of the edit model, which lies above the effect framework:
// which object has the focus, whether a layer is locked, where an effect stands in its
// object's chain, the object's clipping flag and first effect, the anchor display
// settings, and the edits a handle asks for (cursor frame, the setting window's frame,
// the clipping-view switch) or refuses (the mouse cursor). The edit model implements it
// (reaching the setting window and the cursor through its own window seam) and the program
// installs it at start-up.
//
// Without one (a run without an edit model) no effect is found in any chain, so no handle
// is added; nothing has the focus, no layer is locked, the settings keep their defaults,
// and the edits a handle asks for do nothing.
#include <memory>

#include "effect/outer_types.h"

namespace Effect {

class EffectBase;

// The edit settings the anchors read, with their defaults.
struct AnchorSettings {
  bool objectMoveSnap = true;         // AnchorObjectMoveSnap
  bool displayMovePoint = true;       // DisplayObjectMovePoint: dots along a trajectory
  bool displayCenterAnchor = false;   // DisplayObjectCenterAnchor: objects shown as circles
};

class AnchorEditAccess {
 public:
  virtual ~AnchorEditAccess() = default;
  // Whether the object is the scene's focus object.
  virtual bool isFocusObject(const Edit::Scene* scene, const Edit::Object& object) const;
  // Whether the layer is locked; a layer outside the scene's table is an unlocked empty one.
  virtual bool isLayerLocked(const Edit::Scene* scene, int layerIndex) const;
  // The shared entry of `effect` in the object's chain, or null when it is not there.
  virtual std::shared_ptr<EffectBase> findEffectEntry(const Edit::Object& object,
                                                      const EffectBase& effect) const;
  // The first effect of the object's chain, or null.
  virtual std::shared_ptr<EffectBase> getFirstEffect(const Edit::Object& object) const;
  // Whether the object clips the one below it.
  virtual bool isClippingObject(const Edit::Object& object) const;
  virtual AnchorSettings getSettings() const;
  // The index of the point the object setting window is editing.
  virtual int getSettingPointIndex() const;

  // UI thread, inside the preview's edit-update scope:
  // Moves the cursor to a frame.
  virtual void setCursorFrame(int frame);
  // Moves the object setting window to a frame.
  virtual void setSettingFrame(int frame);
  // Toggles the render setting that shows clipping objects (an edit command that logs
  // itself and asks for a redraw).
  virtual void toggleVisibleClippingObject();
  // Shows the "not allowed" mouse cursor over the preview: the drag was refused.
  virtual void showRefusedCursor();
};

// Installs the access (nullptr removes it). UI thread, while no frame renders.
void setAnchorEditAccess(AnchorEditAccess* access);
// The installed access, or the headless one.
AnchorEditAccess& anchorEditAccess();

}  // namespace Effect
