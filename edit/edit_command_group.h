#pragma once
// The group commands and the layer range of control objects. Each change is one undoable
// step like the other commands that change an object in place (edit_command_section.h).
// UI thread only.

namespace Edit::EditCommand {

// Makes one new group of the selected objects (two or more), taking them out of the groups
// they were in; the members left behind stay grouped.
void setGroup();
// Takes every target out of its group.
void clearGroup();

// With a control object and at least one other object selected: every selected control
// object above the lowest selected layer reaches down exactly to it.
void adjustLayerRange();

}  // namespace Edit::EditCommand
