#pragma once
// What the anchor control asks of the program around it: the edit settings and the scene's
// focus and selection, the changes a press makes to them, the undo step of a drag, the
// edit-update scope of each drag step, and the window's drag. AnchorServiceHost answers from
// the program's services; tests give their own.
#include <functional>
#include <memory>
#include <string>

namespace Edit {
class Object;
}
namespace Effect {
class EffectBase;
}

namespace Anchor {

class AnchorControlHost {
 public:
  virtual ~AnchorControlHost() = default;

  // Edit options: a single click (not a double click) focuses the anchor's object; a click
  // on an object anchor selects the object's whole group; hovering one effect's anchor hides
  // the other effects' anchors.
  virtual bool singleClickFocusesObject() const = 0;
  virtual bool clickSelectsGroup() const = 0;
  virtual bool hoverHidesOtherAnchors() const = 0;

  virtual const Edit::Object* focusObject() const = 0;
  virtual bool isSelected(const Edit::Object& object) const = 0;
  virtual bool selectionEmpty() const = 0;
  virtual void setFocusObject(const std::shared_ptr<Edit::Object>& object) = 0;
  virtual void clickSelectObject(const std::shared_ptr<Edit::Object>& object, bool withGroup) = 0;
  // A press or a key release outside any object anchor.
  virtual void clickOutsideSelection() = 0;

  // The scene's video size, for the events' snapping arithmetic.
  virtual int sceneWidth() const = 0;
  virtual int sceneHeight() const = 0;
  // The object's first effect (the one an output effect's size handle may change).
  virtual std::shared_ptr<Effect::EffectBase> firstEffect(const Edit::Object& object) const = 0;
  // The layer name shown in the anchor's tooltip.
  virtual std::string layerName(const Edit::Object& object) const = 0;

  // The window's drag from the press point; `dragCursor` asks for the move cursor.
  virtual void beginDrag(bool dragCursor) = 0;

  // The drag's undo step: opened at the press, effects recorded before they change,
  // committed at the end (only the effects whose values changed are kept).
  virtual void beginUndoStep() = 0;
  virtual void recordEffect(const std::shared_ptr<Effect::EffectBase>& effect) = 0;
  virtual void commitUndoStep() = 0;

  // Runs one drag step in an edit-update scope whose close refreshes the object setting
  // rows and the colour window and reports changed edit data (the preview then renders
  // the frame again). The undo step stays open.
  virtual void runDragStep(const std::function<void()>& step) = 0;
};

}  // namespace Anchor
