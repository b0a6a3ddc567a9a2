#pragma once
// The object edit commands that cut objects apart: split at a frame, and cut whole objects
// or a frame range out of them. Each is one undoable step like the other object commands
// (edit_command_object.h). UI thread only.

namespace Edit::EditCommand {

// Splits every target that holds the frame after its start into two pieces; grouped
// targets give one new group of left pieces and one of right pieces per source group.
void splitObject(int frame);
// Without a selected frame range: copy, then delete. With one: a ripple cut of the range.
void cutObject();

}  // namespace Edit::EditCommand
