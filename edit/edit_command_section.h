#pragma once
// The midpoint commands, adding and removing midpoints of one object or of the targets,
// and the cursor commands that jump to a typed time or between the focus object's points;
// beside them what the commands that change an object in place need from the keyboard and
// the windows.
//
// Every command that changes the model is one undoable step: it logs one INFO line under
// its qualified name, opens an edit-update scope, opens the undo step, records every undo
// item before the change it covers and closes the scope, also when a model operation
// throws. A command whose precondition fails (no targets, fewer than two selected objects,
// no control object, a cancelled dialog) changes nothing, opens no scope and logs nothing.
// The cursor commands record no undo and open no scope. UI thread only. The other commands
// that change an object in place live in edit_command_flag.h (flags), edit_command_group.h
// (groups and layer ranges) and edit_command_movement.h (effect chains and movements).
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Effect {
class EffectItemNumber;
}  // namespace Effect

namespace Edit {

class Object;

namespace EditCommand {

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

// --- cursor ------------------------------------------------------------------------------

// Asks for a time and moves the cursor there.
void jumpToTime();
// The cursor to the focus object's next / previous point.
void jumpNextSection();
void jumpPrevSection();

}  // namespace EditCommand

}  // namespace Edit
