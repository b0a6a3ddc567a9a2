#pragma once
// The edit commands that change an object without creating or removing it: midpoints, the
// camera and clipping flags, the switched-off and locked flags of effects, groups, the
// effect chain by name or from an effect alias file, the movement of a number track with
// its options and settings, and the layer range of control objects; beside them the cursor
// commands that jump to a typed time or between the focus object's points.
//
// Every command that changes the model is one undoable step: it logs one INFO line under
// its qualified name, opens an edit-update scope, opens the undo step, records every undo
// item before the change it covers and closes the scope, also when a model operation
// throws. A command whose precondition fails (no targets, fewer than two selected objects,
// no control object, a cancelled dialog) changes nothing, opens no scope and logs nothing.
// The cursor commands record no undo and open no scope. UI thread only.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Effect {
class EffectBase;
class EffectItemNumber;
}  // namespace Effect

namespace Edit {

class Object;

namespace EditCommand {

using ObjectList = std::vector<std::shared_ptr<Object>>;

// --- midpoints ---------------------------------------------------------------------------

// A midpoint at the frame, or at the nearest place that can take one (one frame later on a
// section's first frame); each number track gets its value at the frame for the new point.
void createSection(const std::shared_ptr<Object>& object, int frame);
// A midpoint at the frame in every target whose section holding the frame has it strictly
// inside; the others are left alone.
void createSectionAtFrame(int frame);
// Removes the midpoint with that point index (1 .. midpoint count; others change nothing).
void deleteSection(const std::shared_ptr<Object>& object, int pointIndex);
// Removes the midpoints lying exactly on the frame from every target.
void deleteSectionAtFrame(int frame);

// --- flags -------------------------------------------------------------------------------

// Sets the camera (clipping) flag; setting one clears the other, so an object never has
// both.
void setEnableCameraObject(const std::shared_ptr<Object>& object, bool enable);
void setEnableClippingObject(const std::shared_ptr<Object>& object, bool enable);
// Switches one effect on or off.
void setEnableEffect(const std::shared_ptr<Object>& object,
                     const std::shared_ptr<Effect::EffectBase>& effect, bool enable);
// Switches objects on or off: the first effect of a media or control object (which switches
// the whole object), every effect of a filter object. An empty list does nothing.
void setEnableObject(const ObjectList& objects, bool enable);
// Locks one effect; locking an input locks its output with it.
void setLockEffect(const std::shared_ptr<Object>& object,
                   const std::shared_ptr<Effect::EffectBase>& effect, bool lock);
// Locks every effect of every listed object. An empty list does nothing.
void setLockObject(const ObjectList& objects, bool lock);
// The clicked object alone, or all targets when Ctrl is held and it is one of them.
void setEnableClickedObject(const std::shared_ptr<Object>& clicked, bool enable);
void setLockClickedObject(const std::shared_ptr<Object>& clicked, bool lock);

// --- groups ------------------------------------------------------------------------------

// Makes one new group of the selected objects (two or more), taking them out of the groups
// they were in; the members left behind stay grouped.
void setGroup();
// Takes every target out of its group.
void clearGroup();

// --- effects -----------------------------------------------------------------------------

// Puts the named effect into the object's chain where its kind belongs (a filter right
// behind `after` when given); with `replace` the new effect takes `after`'s place. Passes on
// the registry's and the chain's exceptions once the scope is closed.
void setEffect(const std::shared_ptr<Object>& object, std::string_view name,
               const Effect::EffectBase* after, bool replace);
// The same with the effects of an effect alias file. Every failure is caught and shown as
// "エイリアスの読み込みに失敗しました"; a file that reading brought up to date is written back.
void loadEffect(const std::shared_ptr<Object>& object, const std::string& path,
                const Effect::EffectBase* after, bool replace);

// --- movements ---------------------------------------------------------------------------

// Gives the track (and every track of its link group) the named movement, sized to the
// object's points and with the movement's options. Throws "not found movement." for an
// unknown name, before anything opens; the track's own movement again changes nothing.
void setMovement(const std::shared_ptr<Object>& object, Effect::EffectItemNumber& item,
                 std::string_view name);
// Toggles an option bit (1 accelerate, 2 decelerate, 4 ignore midpoints) of the track; in a
// link group every track whose bit was as the track's was gets it toggled, so the whole
// group ends alike.
void toggleMovementFlag(const std::shared_ptr<Object>& object, Effect::EffectItemNumber& item,
                        int flag);
// The movement parameters of the track (and its link group) become the given list.
void setMovementSettings(const std::shared_ptr<Object>& object, Effect::EffectItemNumber& item,
                         const std::vector<double>& parameters);
// Asks for the movement's first parameter ("設定値") and sets it on OK.
void showMovementSettingsDialog(const std::shared_ptr<Object>& object,
                                Effect::EffectItemNumber& item);

// --- control objects ---------------------------------------------------------------------

// With a control object and at least one other object selected: every selected control
// object above the lowest selected layer reaches down exactly to it.
void adjustLayerRange();

// --- cursor ------------------------------------------------------------------------------

// Asks for a time and moves the cursor there.
void jumpToTime();
// The cursor to the focus object's next / previous point.
void jumpNextSection();
void jumpPrevSection();

}  // namespace EditCommand

}  // namespace Edit
